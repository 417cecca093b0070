// detection_quality: runs the real scan service over the labelled privacy
// corpus through a private bus and prints, per category and overall, true
// and false positives, misses, precision, recall and F1, and the worst
// misses. See ../README.md.
#include "corpusgenerator.h"
#include "labelscorer.h"
#include "secondcorpus.h"

#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

QTextStream out(stdout);

const char *const BusName = "com.vorel.dlp.TransControl";
const char *const ObjectPath = "/com/vorel/dlp/TransControl";
const char *const Interface = "com.vorel.dlp.TransControlInterface";
const int PrivacyTask = 3;
const int ScanTimeoutSeconds = 1800;

const QStringList Categories = {"身份标识", "宗教信仰", "医疗健康", "账户信息", "行踪轨迹", "未成年人信息", "法规隐私",
                                "地理位置", "社会关系", "设备信息", "健康生理", "职业教育", "特殊群体", "金融消费"};

QString privacyPolicy()
{
    const QJsonArray types{"txt", "csv", "pdf", "doc", "docx", "xls", "xlsx", "ppt", "pptx", "zip", "rar", "7z", "tar", "gz"};
    const QJsonObject detect{{"dataidentifier_detect_ruleset", true},
                             {"filetype_detect_ruleset", QJsonArray{QJsonObject{{"name", "n"}, {"description", "d"}, {"filetypes", types}, {"matchcondition", "ONEOF"}, {"exception", false}}}},
                             {"keyword_detect_ruleset", QJsonArray{}}};
    const QJsonObject root{{"version", "1.0.0"},
                           {"policies", QJsonArray{QJsonObject{{"name", "p"}, {"description", "d"},
                                                               {"ruleset", QJsonObject{{"detect_ruleset", detect}, {"response_ruleset", QJsonArray{QJsonObject{{"name", "n"}, {"description", "d"}, {"action", "WriteDatabase"}}}}}}}}}};
    return QString::fromLatin1(QJsonDocument(root).toJson().toBase64());
}

// Waits for the end marker of one path list.
class EndWatcher : public QObject
{
    Q_OBJECT
public:
    QString pathlist;
    QEventLoop loop;
    bool ended = false;
public Q_SLOTS:
    void onScanning(const QString &list, const QString &path, int id)
    {
        if (list == pathlist && id == 0 && path.isEmpty()) {
            ended = true;
            loop.quit();
        }
    }
};

QString ratio(double value)
{
    return QString::number(value, 'f', 3);
}

void printTally(const QString &name, const LabelScorer::Tally &t)
{
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
               .arg(name, -14)
               .arg(t.items, 6)
               .arg(t.found, 6)
               .arg(t.falsePositives, 5)
               .arg(t.items - t.found, 7)
               .arg(ratio(t.precision()), 9)
               .arg(ratio(t.recall()), 7)
               .arg(ratio(t.f1()), 6);
}

// The path list scanned, the service's findings database and its bus.
bool scan(const QString &corpus, const QString &work, const QString &servicePath, const QStringList &serviceArguments,
          QList<LabelScorer::Hit> *hits, QMap<QString, QString> *failures, double *seconds)
{
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=" PRIVATE_BUS_CONF), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!daemon.waitForReadyRead(10000)) {
        out << "dbus-daemon did not start\n";
        return false;
    }
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", daemon.readLine().trimmed());
    const QString database = work + QStringLiteral("/findings.db");
    QProcess service;
    service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    service.start(servicePath, QStringList{QStringLiteral("--findings-db"), database} + serviceArguments);
    QDBusConnection bus = QDBusConnection::systemBus();
    for (int i = 0; i < 400 && !bus.interface()->isServiceRegistered(QString::fromLatin1(BusName)); ++i)
        QThread::msleep(25);
    bool ok = bus.interface()->isServiceRegistered(QString::fromLatin1(BusName));
    if (!ok)
        out << "the service did not come onto the bus\n";
    EndWatcher watcher;
    watcher.pathlist = corpus;
    bus.connect(BusName, ObjectPath, Interface, "SensitiveDiscoveryDataIdScanningFile", &watcher, SLOT(onScanning(QString, QString, int)));
    QElapsedTimer timer;
    timer.start();
    if (ok) {
        QDBusMessage call = QDBusMessage::createMethodCall(BusName, ObjectPath, Interface, "SensitiveDiscoverySetScanTask");
        call << corpus << PrivacyTask << 1 << QString() << QString() << 1.0 << privacyPolicy();
        const QDBusMessage reply = bus.call(call);
        ok = reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toInt() == 0;
        if (!ok)
            out << "SensitiveDiscoverySetScanTask failed: " << reply.errorMessage() << reply.arguments().value(0).toInt() << "\n";
    }
    if (ok) {
        QTimer::singleShot(ScanTimeoutSeconds * 1000, &watcher.loop, &QEventLoop::quit);
        watcher.loop.exec();
        *seconds = timer.elapsed() / 1000.0;
        ok = watcher.ended;
        if (!ok)
            out << "the scan did not end within " << ScanTimeoutSeconds << " s\n";
    }
    const QDir root(corpus);
    for (const QString &category : Categories) {
        if (!ok)
            break;
        QDBusMessage call = QDBusMessage::createMethodCall(BusName, ObjectPath, Interface, "SensitiveDiscoveryGetDataIdDetectedDetail");
        call << corpus << PrivacyTask << category;
        const QDBusMessage reply = bus.call(call, QDBus::Block, 120000);
        const int code = reply.arguments().value(0).toInt();
        if (reply.type() != QDBusMessage::ReplyMessage || (code != 0 && code != 14)) {
            out << "detail of " << category << " failed: " << reply.errorMessage() << code << "\n";
            ok = false;
            break;
        }
        const QJsonObject detail = QJsonDocument::fromJson(reply.arguments().value(1).toString().toUtf8()).object();
        for (const QJsonValue &group : detail.value("groupsensitives").toArray()) {
            const QString rule = group.toObject().value("rulename").toString();
            for (const QJsonValue &file : group.toObject().value("rulesensitives").toArray()) {
                const QString path = root.relativeFilePath(file.toObject().value("filepath").toString());
                for (const QJsonValue &s : file.toObject().value("sensitives").toArray())
                    hits->append({path, category, rule, s.toObject().value("sensitive").toString(), s.toObject().value("sensitive_ctx").toString()});
            }
        }
    }
    service.terminate();
    service.waitForFinished(10000);
    daemon.terminate();
    daemon.waitForFinished();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("failures"));
        db.setDatabaseName(database);
        if (db.open()) {
            QSqlQuery query(db);
            query.exec(QStringLiteral("SELECT path, reason FROM file_failures"));
            while (query.next())
                failures->insert(root.relativeFilePath(query.value(0).toString()), query.value(1).toString());
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("failures"));
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Privacy detection quality of the scan service on the labelled corpus.");
    parser.addHelpOption();
    parser.addOption({"corpus", "Directory of the corpus (written there unless --reuse).", "DIR", "/var/tmp/tavex-detection-corpus"});
    parser.addOption({"seed", "Seed of the corpus generator.", "N", "2026"});
    parser.addOption({"generator", "Which corpus to write: first (the default) or second (other document kinds, written apart).", "NAME", "first"});
    parser.addOption({"reuse", "Scan the corpus in DIR as it is (any corpus with a labels.tsv of the same columns)."});
    parser.addOption({"privacy-rules", "The service's rule table (default: the service's own).", "PATH"});
    parser.addOption({"worst", "How many classes of misses and of false positives to list.", "N", "25"});
    parser.addOption({"misses", "Write every missed item and every false positive to PATH (tab-separated), to read them one by one.", "PATH"});
    parser.process(app);
    const QString corpus = QDir(parser.value("corpus")).absolutePath();
    if (!parser.isSet("reuse")) {
        const QString which = parser.value("generator");
        if (which != QLatin1String("first") && which != QLatin1String("second")) {
            out << "unknown generator " << which << " (first or second)\n";
            return 64;
        }
        const quint64 seed = parser.value("seed").toULongLong();
        QString error;
        const bool written = which == QLatin1String("second") ? SecondCorpus(seed).write(corpus, &error) : CorpusGenerator(seed).write(corpus, &error);
        if (!written) {
            out << error << "\n";
            return 1;
        }
    }
    LabelScorer scorer;
    QString error;
    if (!scorer.load(corpus + QStringLiteral("/labels.tsv"), &error)) {
        out << error << "\n";
        return 1;
    }
    QTemporaryDir work;
    QStringList serviceArguments;
    if (parser.isSet("privacy-rules"))
        serviceArguments << QStringLiteral("--privacy-rules") << parser.value("privacy-rules");
    QList<LabelScorer::Hit> hits;
    QMap<QString, QString> failures;
    double seconds = 0;
    if (!scan(corpus, work.path(), QStringLiteral(SCAN_SERVICE_BINARY), serviceArguments, &hits, &failures, &seconds))
        return 1;
    for (const LabelScorer::Hit &hit : hits)
        scorer.score(hit);

    int files = 0, lookAlikes = 0;
    QSet<QString> names;
    for (const LabelScorer::Label &label : scorer.labels()) {
        names.insert(label.file);
        lookAlikes += !label.item;
    }
    files = names.size();
    out << QStringLiteral("Corpus %1: %2 labelled files, %3 items, %4 look-alikes; scanned in %5 s, %6 hits reported.\n")
               .arg(corpus).arg(files).arg(scorer.labels().size() - lookAlikes).arg(lookAlikes).arg(seconds, 0, 'f', 1).arg(hits.size());
    for (auto it = failures.constBegin(); it != failures.constEnd(); ++it)
        out << "  not read (in full): " << it.key() << ": " << it.value() << "\n";
    out << "\ncategory        items  found    FP  misses precision recall    F1\n";
    const QMap<QString, LabelScorer::Tally> tallies = scorer.tallies();
    for (const QString &category : Categories)
        printTally(category, tallies.value(category));
    printTally(QStringLiteral("overall"), tallies.value(QString()));
    out << "(FP: hits that are no labelled item of their file and category, " << tallies.value(QString()).lookAlikesReported
        << " of them on labelled look-alikes; one rule reporting one item twice counts once as found and once as FP)\n";

    out << QStringLiteral("\nrecall by format\n");
    const QMap<QString, LabelScorer::Tally> formats = scorer.talliesByFormat();
    for (auto it = formats.constBegin(); it != formats.constEnd(); ++it)
        out << QStringLiteral("  %1 %2 of %3  %4\n").arg(it.key(), -16).arg(it.value().found, 5).arg(it.value().items, 5).arg(ratio(it.value().recall()));
    out << "recall by place\n";
    const QMap<QString, LabelScorer::Tally> places = scorer.talliesByPlace();
    for (auto it = places.constBegin(); it != places.constEnd(); ++it)
        out << QStringLiteral("  %1 %2 of %3  %4\n").arg(it.key(), -24).arg(it.value().found, 5).arg(it.value().items, 5).arg(ratio(it.value().recall()));

    // The worst misses: classes of missed items (category and shape of the
    // value), the largest first, each with an example.
    const int worst = parser.value("worst").toInt();
    QMap<QString, QPair<int, QString>> missed;
    for (const LabelScorer::Label &label : scorer.labels()) {
        if (!label.item || label.found)
            continue;
        const QString key = label.category + QStringLiteral("  ") + LabelScorer::shape(label.value);
        auto &entry = missed[key];
        if (entry.first++ == 0)
            entry.second = label.file + QStringLiteral(" ") + label.where + QStringLiteral(": ") + QString(label.value).replace(QLatin1Char('\n'), QStringLiteral("⏎"));
    }
    QList<QPair<int, QString>> ranked;
    for (auto it = missed.constBegin(); it != missed.constEnd(); ++it)
        ranked.append({it.value().first, it.key() + QStringLiteral("\n      e.g. ") + it.value().second});
    std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    out << QStringLiteral("\nworst misses (category, shape of the value: 9 digit, A letter, 字 Chinese)\n");
    for (int i = 0; i < qMin(worst, ranked.size()); ++i)
        out << QStringLiteral("  %1  %2\n").arg(ranked.at(i).first, 4).arg(ranked.at(i).second);

    QMap<QString, QPair<int, QString>> wrong;
    for (const auto &f : scorer.falseHits()) {
        static const char *const verdicts[] = {"", "reported twice", "", "look-alike", "unlabelled"};
        const QString key = f.first.category + QStringLiteral(" / ") + f.first.rule + QStringLiteral(" / ") + QString::fromLatin1(verdicts[int(f.second)]);
        auto &entry = wrong[key];
        if (entry.first++ == 0)
            entry.second = f.first.file + QStringLiteral(": ") + f.first.value + QStringLiteral("  «") + QString(f.first.passage).replace(QLatin1Char('\n'), QStringLiteral("⏎")) + QStringLiteral("»");
    }
    ranked.clear();
    for (auto it = wrong.constBegin(); it != wrong.constEnd(); ++it)
        ranked.append({it.value().first, it.key() + QStringLiteral("\n      e.g. ") + it.value().second});
    std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    out << "\nfalse positives (category / rule / what)\n";
    for (int i = 0; i < qMin(worst, ranked.size()); ++i)
        out << QStringLiteral("  %1  %2\n").arg(ranked.at(i).first, 4).arg(ranked.at(i).second);
    if (parser.isSet("misses")) {
        QFile file(parser.value("misses"));
        if (!file.open(QIODevice::WriteOnly)) {
            out << "cannot write " << file.fileName() << "\n";
            return 1;
        }
        QTextStream list(&file);
        list.setCodec("UTF-8");
        auto flat = [](QString text) { return text.replace(QLatin1Char('\n'), QStringLiteral("⏎")).replace(QLatin1Char('\t'), QLatin1Char(' ')); };
        for (const LabelScorer::Label &label : scorer.labels()) {
            if (label.item && !label.found)
                list << "miss\t" << label.category << '\t' << label.file << '\t' << label.where << '\t' << flat(label.value) << '\n';
        }
        for (const auto &f : scorer.falseHits())
            list << "false\t" << f.first.category << '\t' << f.first.file << '\t' << f.first.rule << '\t' << flat(f.first.value) << '\t'
                 << flat(f.first.passage) << '\n';
    }
    out.flush();
    return 0;
}

#include "detection_quality.moc"
