// The history of runs and the reports interface of the real service on a
// private bus: runs that complete, are cancelled or fail, exports written
// into a descriptor the test passes and read back, masking, deletion and
// retention wiping passages from the database file, an older database
// brought forward, and callers of another user refused.
#include "privatebus.h"
#include "sampledocuments.h"
#include "servicerun.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDeadlineTimer>
#include <QDBusUnixFileDescriptor>
#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QUrl>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {
const QString Service = QStringLiteral("com.vorel.dlp.TransControl");
const QString Path = QStringLiteral("/com/vorel/dlp/TransControl");
const QString Tasks = QStringLiteral("com.vorel.dlp.TransControlInterface");
const QString Reports = QStringLiteral("com.vorel.dlp.TransControlReports");
// Planted in the files: a mobile number, and a name and passage holding markup.
const QString Mobile = QStringLiteral("13912345678");
const QString MaskedMobile = QStringLiteral("139****5678");
const QString OddName = QStringLiteral("x,\"q\"\n<script>alert(1).txt");

QString policy(const QStringList &keywords, bool privacy = false, const QStringList &fileTypes = {"txt", "docx", "abc"})
{
    QJsonArray rules;
    for (const QString &keyword : keywords)
        rules.append(QJsonObject{{"name", "r"}, {"description", "d"}, {"exception", false},
                                 {"keywords", QJsonArray{QJsonObject{{"pattern", keyword}}}}});
    const QJsonObject detect{{"dataidentifier_detect_ruleset", privacy},
                             {"filetype_detect_ruleset", QJsonArray{QJsonObject{{"filetypes", QJsonArray::fromStringList(fileTypes)}}}},
                             {"keyword_detect_ruleset", rules}};
    const QJsonObject root{{"version", "1.0.0"},
                           {"policies", QJsonArray{QJsonObject{
                                            {"ruleset", QJsonObject{{"detect_ruleset", detect},
                                                                    {"response_ruleset", QJsonArray{QJsonObject{{"action", "WriteDatabase"}}}}}}}}}};
    return QString::fromLatin1(QJsonDocument(root).toJson().toBase64());
}

// The members of one interface as "Name(in)->(out)".
QSet<QString> members(const QString &xml, const QString &interface)
{
    QSet<QString> found;
    QXmlStreamReader reader(xml);
    bool inside = false;
    QString name, in, out;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("interface")) {
            inside = reader.attributes().value("name") == interface;
        } else if (inside && reader.isStartElement() && reader.name() == QLatin1String("method")) {
            name = reader.attributes().value("name").toString();
            in.clear();
            out.clear();
        } else if (inside && reader.isStartElement() && reader.name() == QLatin1String("arg")) {
            (reader.attributes().value("direction") == QLatin1String("out") ? out : in) += reader.attributes().value("type").toString();
        } else if (inside && reader.isEndElement() && reader.name() == QLatin1String("method")) {
            found.insert(QStringLiteral("%1(%2)->(%3)").arg(name, in, out));
        } else if (reader.isEndElement() && reader.name() == QLatin1String("interface")) {
            inside = false;
        }
    }
    return found;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestScanServiceReports : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    QTemporaryDir m_work;
    QProcess m_service;
    QString m_database;
    int m_tree = 0;
    QHash<QString, qint64> m_runBefore; // tree and task type -> the newest run before the task was last created

    bool startService(const QString &database, const QStringList &extra = {})
    {
        m_database = database;
        // Keyword tasks spend 1.5 s compiling, so that one can be cancelled before it has read anything.
        return ServiceRun::start(m_service, SCAN_SERVICE_BINARY, database, QStringList{"--compile-delay", "1500"} + extra);
    }
    QString newTree()
    {
        const QString tree = m_work.path() + QStringLiteral("/tree%1").arg(++m_tree);
        return QDir().mkpath(tree) ? tree : QString();
    }
    QDBusMessage call(const QString &interface, const QString &method, const QVariantList &arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, interface, method);
        message.setArguments(arguments);
        return QDBusConnection::systemBus().call(message, QDBus::Block, 60000);
    }
    // The newest run of a task in the history; 0 when there is none.
    qint64 newestRun(const QString &tree, const QString &tasktype)
    {
        for (const QJsonValue &value : listRuns()) {
            const QJsonObject run = value.toObject();
            if (run.value("path_list").toString() == tree && run.value("task_type").toString() == tasktype)
                return run.value("run").toInt();
        }
        return 0;
    }
    static QString typeName(int tasktype) { return tasktype == 3 ? QStringLiteral("privacy") : QStringLiteral("keyword"); }
    // Creates a task; the run it makes is the first newer than the task's newest run now.
    int setTask(const QString &tree, int tasktype, const QString &policyText)
    {
        m_runBefore.insert(tree + typeName(tasktype), newestRun(tree, typeName(tasktype)));
        const QDBusMessage reply = call(Tasks, "SensitiveDiscoverySetScanTask",
                                        {tree, tasktype, 1, QString(), QString(), 0.5, policyText});
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toInt() : -1;
    }
    QJsonArray listRuns()
    {
        const QDBusMessage reply = call(Reports, "ListRuns");
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().value(0).toInt() != 0)
            return {};
        return QJsonDocument::fromJson(reply.arguments().value(1).toString().toUtf8()).array();
    }
    // Whether the task interface reports the task ended (so that it can be created again).
    bool taskEnded(const QString &tree, int tasktype)
    {
        const QDBusMessage reply = call(Tasks, "SensitiveDiscoveryGetScanTaskDetail", {tree, tasktype});
        if (reply.type() != QDBusMessage::ReplyMessage)
            return false;
        const QDBusArgument detail = reply.arguments().value(0).value<QDBusArgument>();
        int count = 0, size = 0;
        QString status;
        double progress = 0;
        detail.beginStructure();
        detail >> count >> size >> status >> progress;
        detail.endStructure();
        return status == "completed" || status == "terminated" || status == "failed";
    }
    // The run the task's last creation made, once it has ended; an empty object when it does not end in time.
    QJsonObject endedRun(const QString &tree, const QString &tasktype = QStringLiteral("keyword"))
    {
        const qint64 before = m_runBefore.value(tree + tasktype);
        for (int i = 0; i < 1200; ++i) {
            for (const QJsonValue &value : listRuns()) {
                const QJsonObject run = value.toObject();
                if (run.value("path_list").toString() == tree && run.value("task_type").toString() == tasktype
                    && run.value("run").toInt() > before) {
                    if (run.value("outcome").toString() != QLatin1String("running") && taskEnded(tree, tasktype == "privacy" ? 3 : 1))
                        return run;
                    break;
                }
            }
            QTest::qWait(50);
        }
        return {};
    }
    QPair<int, QJsonValue> reportCall(const QString &method, qint64 run)
    {
        const QDBusMessage reply = call(Reports, method, {QVariant::fromValue(qlonglong(run))});
        if (reply.type() != QDBusMessage::ReplyMessage)
            return {-1, QJsonValue()};
        const QJsonDocument document = QJsonDocument::fromJson(reply.arguments().value(1).toString().toUtf8());
        return {reply.arguments().value(0).toInt(), document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object())};
    }
    // Exports into a file the test opens itself, as a caller would; the code, and the file's bytes.
    QPair<int, QByteArray> exportRun(qint64 run, const QString &format, bool unmasked, int openFlags = O_WRONLY)
    {
        const QString path = m_work.path() + "/export." + format;
        QFile::remove(path);
        const int fd = ::open(QFile::encodeName(path).constData(), openFlags | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0)
            return {-1, QByteArray()};
        const QDBusMessage reply = call(Reports, "ExportRun",
                                        {QVariant::fromValue(qlonglong(run)), format, unmasked,
                                         QVariant::fromValue(QDBusUnixFileDescriptor(fd))});
        ::close(fd);
        return {reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toInt() : -1, fileBytes(path)};
    }
    // A tree with a file of hits (its name holding markup), a file without,
    // a damaged document and a file of a type the service does not read.
    QString findingsTree()
    {
        const QString tree = newTree();
        const QString text = QStringLiteral("机密 手机%1 <script>alert(1)</script>\n").arg(Mobile);
        if (!SampleDocuments::writeFile(tree + "/" + OddName, text.toUtf8())
            || !SampleDocuments::writeFile(tree + "/plain.txt", "nothing to see\n")
            || !SampleDocuments::writeFile(tree + "/broken.docx", "this is no zip container")
            || !SampleDocuments::writeFile(tree + "/notes.abc", "机密\n"))
            return QString();
        return tree;
    }
    // Runs SQL on the service's database from the test's own connection.
    bool execSql(const QString &sql)
    {
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "direct");
            db.setDatabaseName(m_database);
            if (db.open()) {
                QSqlQuery query(db);
                ok = query.exec(sql);
                if (!ok)
                    qWarning() << query.lastError().text();
            }
        }
        QSqlDatabase::removeDatabase("direct");
        return ok;
    }
    // Everything of the database on disk: the file and its write-ahead log.
    QByteArray databaseBytes() { return fileBytes(m_database) + fileBytes(m_database + "-wal"); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        QVERIFY(startService(m_work.path() + "/db/findings.db"));
    }
    void cleanupTestCase()
    {
        ServiceRun::stop(m_service);
        m_bus.reset();
    }

    void adaptorMatchesDescription()
    {
        const QSet<QString> described = members(QString::fromUtf8(fileBytes(REPORTS_DBUS_XML)), Reports);
        QCOMPARE(described.size(), 5);
        const QDBusMessage reply = call("org.freedesktop.DBus.Introspectable", "Introspect");
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(members(reply.arguments().value(0).toString(), Reports), described);
    }

    // A completed, a cancelled and a failed run, each with its outcome and
    // counts; files not read with their kinds.
    void historyOfRuns()
    {
        const QString tree = findingsTree();
        QVERIFY(!tree.isEmpty());
        QCOMPARE(setTask(tree, 1, policy({"机密"})), 0);
        const QJsonObject completed = endedRun(tree);
        QCOMPARE(completed.value("outcome").toString(), QStringLiteral("completed"));
        QCOMPARE(completed.value("keywords").toInt(), 1);
        QCOMPARE(completed.value("scan_mode").toInt(), 1);
        const QJsonObject files = completed.value("files").toObject();
        QCOMPARE(files.value("walked").toInt(), 4);
        QCOMPARE(files.value("read").toInt(), 2);
        QCOMPARE(files.value("with_hits").toInt(), 1);
        QCOMPARE(files.value("not_read").toInt(), 2);
        QVERIFY(!completed.value("ended").toString().isEmpty());
        const auto notRead = reportCall("GetRunFilesNotRead", completed.value("run").toInt());
        QCOMPARE(notRead.first, 0);
        QMap<QString, QString> kinds;
        for (const QJsonValue &file : notRead.second.toArray())
            kinds.insert(file.toObject().value("file").toString(), file.toObject().value("kind").toString());
        QCOMPARE(kinds.value(tree + "/broken.docx"), QStringLiteral("damaged or not of its type"));
        QCOMPARE(kinds.value(tree + "/notes.abc"), QStringLiteral("file type not read"));
        QCOMPARE(kinds.size(), 2);

        // Cancelled while still compiling its keywords: nothing read.
        QCOMPARE(setTask(tree, 1, policy({"机密", "别的"})), 0);
        QCOMPARE(call(Tasks, "SensitiveDiscoveryTerminateScanTask", {tree, 1}).arguments().value(0).toInt(), 0);
        const QJsonObject cancelled = endedRun(tree);
        QCOMPARE(cancelled.value("outcome").toString(), QStringLiteral("cancelled"));
        QCOMPARE(cancelled.value("keywords").toInt(), 2);
        QCOMPARE(cancelled.value("files").toObject().value("read").toInt(), 0);

        // A write of its findings refused: the run fails, with the reason.
        QVERIFY(execSql("CREATE TRIGGER refuse_findings BEFORE INSERT ON files BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));
        QCOMPARE(setTask(tree, 1, policy({"机密"})), 0);
        const QJsonObject failed = endedRun(tree);
        QVERIFY(execSql("DROP TRIGGER refuse_findings"));
        QCOMPARE(failed.value("outcome").toString(), QStringLiteral("failed"));
        QVERIFY2(failed.value("failure").toString().contains("refused by the test"), qPrintable(failed.value("failure").toString()));

        // Every run stays, and the first keeps its findings though the task has been run again since.
        QVERIFY(completed.value("run").toInt() < cancelled.value("run").toInt());
        QVERIFY(cancelled.value("run").toInt() < failed.value("run").toInt());
        const auto summary = reportCall("GetRunSummary", completed.value("run").toInt());
        QCOMPARE(summary.first, 0);
        QCOMPARE(summary.second.toObject().value("hits").toObject().value("机密").toInt(), 1);
        QCOMPARE(reportCall("GetRunSummary", 999999).first, 19);
        QCOMPARE(reportCall("GetRunFilesNotRead", 999999).first, 19);
    }

    void exports_data()
    {
        QTest::addColumn<int>("tasktype");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("unmasked");
        QTest::newRow("keyword csv") << 1 << "csv" << false;
        QTest::newRow("privacy csv") << 3 << "csv" << false;
        QTest::newRow("keyword jsonl masked") << 1 << "jsonl" << false;
        QTest::newRow("privacy jsonl masked") << 3 << "jsonl" << false;
        QTest::newRow("privacy jsonl unmasked") << 3 << "jsonl" << true;
        QTest::newRow("keyword html masked") << 1 << "html" << false;
        QTest::newRow("privacy html masked") << 3 << "html" << false;
        QTest::newRow("privacy html unmasked") << 3 << "html" << true;
    }
    // Each format written into the test's descriptor and read back with a
    // real reader; the odd name survives; values masked unless asked for.
    void exports()
    {
        QFETCH(int, tasktype);
        QFETCH(QString, format);
        QFETCH(bool, unmasked);
        const QString tree = findingsTree();
        QVERIFY(!tree.isEmpty());
        QCOMPARE(setTask(tree, tasktype, policy({"机密"}, tasktype == 3)), 0);
        const QJsonObject run = endedRun(tree, tasktype == 3 ? "privacy" : "keyword");
        QCOMPARE(run.value("outcome").toString(), QStringLiteral("completed"));
        const auto exported = exportRun(run.value("run").toInt(), format, unmasked);
        QCOMPARE(exported.first, 0);
        const QByteArray bytes = exported.second;
        const QString oddPath = tree + "/" + OddName;

        if (format == "csv") {
            QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
            const QString python = QStandardPaths::findExecutable("python3", {"/usr/bin"});
            QVERIFY2(!python.isEmpty(), "python3 (Debian's) reads the CSV");
            QProcess reader;
            reader.start(python, {"-c", "import csv, json, sys\n"
                                        "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                                        "    print(json.dumps(list(csv.reader(f, strict=True))))\n",
                                  m_work.path() + "/export.csv"});
            QVERIFY(reader.waitForFinished(30000));
            QCOMPARE(reader.exitCode(), 0);
            const QJsonArray rows = QJsonDocument::fromJson(reader.readAllStandardOutput()).array();
            QVERIFY(rows.size() >= 2);
            const QJsonArray header = rows.at(0).toArray();
            QCOMPARE(header.at(7).toString(), QStringLiteral("file"));
            QCOMPARE(header.at(10).toString(), QStringLiteral("count"));
            bool found = false;
            for (int i = 1; i < rows.size(); ++i) {
                const QJsonArray row = rows.at(i).toArray();
                QCOMPARE(row.size(), header.size());
                QCOMPARE(row.at(0).toString(), QString::number(run.value("run").toInt()));
                QCOMPARE(row.at(3).toString(), tree);
                QCOMPARE(row.at(7).toString(), oddPath); // comma, quotes and line break round-tripped
                if (tasktype == 1 ? row.at(9).toString() == "机密" : row.at(8).toString() == "身份标识") {
                    found = true;
                    QCOMPARE(row.at(10).toString(), QStringLiteral("1"));
                }
            }
            QVERIFY(found);
        } else if (format == "jsonl") {
            const QList<QByteArray> lines = bytes.split('\n');
            QVERIFY(lines.size() >= 2);
            QVERIFY(lines.last().isEmpty());
            bool found = false;
            for (int i = 0; i < lines.size() - 1; ++i) {
                QJsonParseError error;
                const QJsonObject line = QJsonDocument::fromJson(lines.at(i), &error).object();
                QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
                QCOMPARE(line.value("file").toString(), oddPath);
                QVERIFY(!line.value("passages").toArray().isEmpty());
                if (tasktype == 1 ? line.value("keyword").toString() == "机密" : line.value("rule").toString() == "手机号码")
                    found = true;
            }
            QVERIFY(found);
        } else {
            const QString html = QString::fromUtf8(bytes);
            QVERIFY(html.startsWith("<!DOCTYPE html>"));
            QVERIFY2(!html.contains("<script"), "markup of a name or passage reached the page unescaped");
            QVERIFY(html.contains(QStringLiteral("x,&quot;q&quot;\n&lt;script&gt;alert(1).txt")));
            QVERIFY(html.contains(QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;")));
            QVERIFY(html.contains("<svg"));
            // Nothing fetched from elsewhere, no script.
            QVERIFY(!html.contains("src=") && !html.contains("<link") && !html.contains("url(") && !html.contains("@import"));
        }
        if (format != "csv") {
            QCOMPARE(bytes.contains(Mobile.toUtf8()), unmasked);
            QCOMPARE(bytes.contains(MaskedMobile.toUtf8()), !unmasked);
        } else {
            QVERIFY(!bytes.contains(Mobile.toUtf8()));
        }
    }

    // An export into a pipe no one reads yet holds up neither the service's
    // other calls nor the export itself once the reader comes.
    void exportIntoAStalledPipe()
    {
        const QString tree = newTree();
        for (int i = 0; i < 400; ++i)
            QVERIFY(SampleDocuments::writeFile(tree + QStringLiteral("/f%1.txt").arg(i), QStringLiteral("第%1份 机密 文件\n").arg(i).toUtf8()));
        QCOMPARE(setTask(tree, 1, policy({"机密"})), 0);
        const QJsonObject run = endedRun(tree);
        QCOMPARE(run.value("files").toObject().value("with_hits").toInt(), 400);
        int pipe[2];
        QCOMPARE(::pipe2(pipe, O_CLOEXEC | O_NONBLOCK), 0);
        QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, Reports, "ExportRun");
        message.setArguments({QVariant::fromValue(qlonglong(run.value("run").toInt())), QStringLiteral("html"), false,
                              QVariant::fromValue(QDBusUnixFileDescriptor(pipe[1]))});
        QDBusPendingCall pending = QDBusConnection::systemBus().asyncCall(message, 120000);
        ::close(pipe[1]);
        // The page (above 64 KiB) does not fit the pipe: the export waits for the reader, the service does not.
        QVERIFY(!listRuns().isEmpty());
        QVERIFY(!pending.isFinished());
        QByteArray page;
        char buffer[65536];
        QDeadlineTimer deadline(120000);
        while (!pending.isFinished() && !deadline.hasExpired()) {
            const ssize_t got = ::read(pipe[0], buffer, sizeof buffer);
            if (got > 0)
                page.append(buffer, int(got));
            QTest::qWait(10);
        }
        for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
            page.append(buffer, int(got));
        ::close(pipe[0]);
        QVERIFY(pending.isFinished());
        QCOMPARE(pending.reply().arguments().value(0).toInt(), 0);
        QVERIFY(page.size() > 65536);
        QVERIFY(page.endsWith("</html>\n"));
        QCOMPARE(page.count("<section class=\"file\">"), 400);
    }

    void exportRefused_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("openFlags");
        QTest::addColumn<bool>("knownRun");
        QTest::addColumn<int>("code");
        QTest::newRow("unknown format") << "pdf" << int(O_WRONLY) << true << 21;
        QTest::newRow("descriptor read-only") << "csv" << int(O_RDONLY) << true << 22;
        QTest::newRow("unknown run") << "csv" << int(O_WRONLY) << false << 19;
    }
    void exportRefused()
    {
        QFETCH(QString, format);
        QFETCH(int, openFlags);
        QFETCH(bool, knownRun);
        QFETCH(int, code);
        const QJsonArray runs = listRuns();
        QVERIFY(!runs.isEmpty());
        const qint64 run = knownRun ? runs.at(0).toObject().value("run").toInt() : 999999;
        QCOMPARE(exportRun(run, format, false, openFlags).first, code);
    }

    // A deleted run is gone from the history, and its passages from the database file.
    void deleteRunWipesItsPassages()
    {
        const QString tree = newTree();
        const QByteArray planted = "DELETEME-PASSAGE-4711";
        QVERIFY(SampleDocuments::writeFile(tree + "/a.txt", "机密 " + planted + "\n"));
        QCOMPARE(setTask(tree, 1, policy({"机密"})), 0);
        const qint64 run = endedRun(tree).value("run").toInt();
        QVERIFY(run > 0);
        QVERIFY(exportRun(run, "jsonl", true).second.contains(planted));
        QVERIFY(databaseBytes().contains(planted)); // else the check below could not fail

        // A run still going (paused while it compiles) cannot be deleted.
        QCOMPARE(setTask(tree, 1, policy({"机密", "另一个"})), 0);
        QCOMPARE(call(Tasks, "SensitiveDiscoveryPauseScanTask", {tree, 1}).arguments().value(0).toInt(), 0);
        qint64 running = 0;
        QTRY_VERIFY_WITH_TIMEOUT((running = listRuns().at(0).toObject().value("run").toInt()) > run, 10000);
        QCOMPARE(call(Reports, "DeleteRun", {QVariant::fromValue(qlonglong(running))}).arguments().value(0).toInt(), 20);
        QCOMPARE(call(Tasks, "SensitiveDiscoveryTerminateScanTask", {tree, 1}).arguments().value(0).toInt(), 0);
        QCOMPARE(endedRun(tree).value("outcome").toString(), QStringLiteral("cancelled"));

        QCOMPARE(call(Reports, "DeleteRun", {QVariant::fromValue(qlonglong(run))}).arguments().value(0).toInt(), 0);
        QCOMPARE(call(Reports, "DeleteRun", {QVariant::fromValue(qlonglong(run))}).arguments().value(0).toInt(), 19);
        for (const QJsonValue &value : listRuns())
            QVERIFY(value.toObject().value("run").toInt() != run);
        QCOMPARE(exportRun(run, "csv", false).first, 19);
        QVERIFY2(!databaseBytes().contains(planted), "the deleted passage is still in the database file");
    }

    // Runs older than the kept age go when the service starts.
    void retentionRemovesOldRuns()
    {
        const QString tree = newTree();
        const QByteArray planted = "OLDRUN-PASSAGE-0815";
        QVERIFY(SampleDocuments::writeFile(tree + "/a.txt", "机密 " + planted + "\n"));
        QCOMPARE(setTask(tree, 1, policy({"机密"})), 0);
        const qint64 old = endedRun(tree).value("run").toInt();
        QVERIFY(old > 0);
        const qint64 kept = listRuns().last().toObject().value("run").toInt();
        ServiceRun::stop(m_service);
        QVERIFY(execSql(QStringLiteral("UPDATE tasks SET started = '2020-01-01T00:00:00' WHERE id = %1").arg(old)));
        QVERIFY(databaseBytes().contains(planted)); // else the check below could not fail
        QVERIFY(startService(m_database, {"--keep-runs-days", "30"}));
        QSet<qint64> left;
        for (const QJsonValue &value : listRuns())
            left.insert(value.toObject().value("run").toInt());
        QVERIFY(!left.contains(old));
        QVERIFY(left.contains(kept));
        QVERIFY2(!databaseBytes().contains(planted), "the expired passage is still in the database file");
    }

    // A database of the layout before runs were kept: its task becomes a run
    // and still answers the task interface.
    void earlierLayoutBroughtForward()
    {
        ServiceRun::stop(m_service);
        const QString database = m_work.path() + "/old/findings.db";
        QVERIFY(QDir().mkpath(m_work.path() + "/old"));
        m_database = database;
        const QString tree = newTree();
        QVERIFY(execSql("CREATE TABLE tasks(id INTEGER PRIMARY KEY, pathlist TEXT NOT NULL, tasktype INTEGER NOT NULL, "
                        "status TEXT NOT NULL, total_count INTEGER NOT NULL DEFAULT 0, total_kib INTEGER NOT NULL DEFAULT 0, "
                        "started TEXT NOT NULL, ended TEXT, failure TEXT NOT NULL DEFAULT '', UNIQUE(pathlist, tasktype))"));
        QVERIFY(execSql("CREATE TABLE files(id INTEGER PRIMARY KEY, task_id INTEGER NOT NULL REFERENCES tasks(id) ON DELETE CASCADE, "
                        "path TEXT NOT NULL, counts TEXT NOT NULL, hits TEXT NOT NULL, UNIQUE(task_id, path))"));
        QVERIFY(execSql("CREATE TABLE rule_hits(file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE, category TEXT NOT NULL, "
                        "rulename TEXT NOT NULL, position INTEGER NOT NULL, kept INTEGER NOT NULL, hits TEXT NOT NULL)"));
        QVERIFY(execSql("CREATE TABLE file_failures(task_id INTEGER NOT NULL REFERENCES tasks(id) ON DELETE CASCADE, "
                        "path TEXT NOT NULL, reason TEXT NOT NULL)"));
        const QString yesterday = QDateTime::currentDateTime().addDays(-1).toString(Qt::ISODate);
        QVERIFY(execSql(QStringLiteral("INSERT INTO tasks VALUES(7, '%1', 1, 'completed', 1, 1, '%2', '%2', '')").arg(tree, yesterday)));
        QVERIFY(execSql(QStringLiteral("INSERT INTO files VALUES(1, 7, '%1/a.txt', '{\"机密\":2}', "
                                       "'[{\"sensitive\":\"机密\",\"sensitive_ctx\":\"旧的机密\"}]')").arg(tree)));
        QVERIFY(execSql(QStringLiteral("INSERT INTO file_failures VALUES(7, '%1/b.docx', 'damaged or not of its type')").arg(tree)));
        QVERIFY(execSql("PRAGMA user_version = 4"));
        QVERIFY(startService(database));

        const QDBusMessage detail = call(Tasks, "SensitiveDiscoveryGetKeywordDetectedDetail", {tree, 1, tree + "/a.txt"});
        QCOMPARE(detail.arguments().value(0).toInt(), 0);
        QVERIFY(detail.arguments().value(1).toString().contains("旧的机密"));
        const auto summary = reportCall("GetRunSummary", 7);
        QCOMPARE(summary.first, 0);
        QCOMPARE(summary.second.toObject().value("outcome").toString(), QStringLiteral("completed"));
        QCOMPARE(summary.second.toObject().value("hits").toObject().value("机密").toInt(), 2);
        QCOMPARE(summary.second.toObject().value("files").toObject().value("not_read").toInt(), 1);
        // A new run of the same task keeps the old one.
        QVERIFY(SampleDocuments::writeFile(tree + "/c.txt", "机密\n"));
        QCOMPARE(setTask(tree, 1, policy({"机密"})), 0);
        QVERIFY(endedRun(tree).value("run").toInt() > 7);
        QCOMPARE(reportCall("GetRunSummary", 7).first, 0);
    }

    // A database of the layout that kept a keyword file's passages only as
    // JSON: its rows answer as before, next to rows of a later run kept in
    // the compact form.
    void jsonPassagesLayoutBroughtForward()
    {
        ServiceRun::stop(m_service);
        const QString database = m_work.path() + "/json/findings.db";
        QVERIFY(QDir().mkpath(m_work.path() + "/json"));
        m_database = database;
        const QString tree = newTree();
        QVERIFY(execSql("CREATE TABLE tasks(id INTEGER PRIMARY KEY, pathlist TEXT NOT NULL, tasktype INTEGER NOT NULL, "
                        "status TEXT NOT NULL, total_count INTEGER NOT NULL DEFAULT 0, total_kib INTEGER NOT NULL DEFAULT 0, "
                        "started TEXT NOT NULL, ended TEXT, failure TEXT NOT NULL DEFAULT '', scanmode INTEGER NOT NULL DEFAULT 0, "
                        "keywords INTEGER NOT NULL DEFAULT 0, rule_table TEXT NOT NULL DEFAULT '', "
                        "files_walked INTEGER NOT NULL DEFAULT 0, files_read INTEGER NOT NULL DEFAULT 0)"));
        QVERIFY(execSql("CREATE INDEX tasks_key ON tasks(pathlist, tasktype, id)"));
        QVERIFY(execSql("CREATE INDEX tasks_started ON tasks(started)"));
        QVERIFY(execSql("CREATE TABLE files(id INTEGER PRIMARY KEY, task_id INTEGER NOT NULL REFERENCES tasks(id) ON DELETE CASCADE, "
                        "path TEXT NOT NULL, counts TEXT NOT NULL, hits TEXT NOT NULL, UNIQUE(task_id, path))"));
        QVERIFY(execSql("CREATE TABLE rule_hits(file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE, category TEXT NOT NULL, "
                        "rulename TEXT NOT NULL, position INTEGER NOT NULL, kept INTEGER NOT NULL, hits TEXT NOT NULL, "
                        "count INTEGER NOT NULL DEFAULT 0)"));
        QVERIFY(execSql("CREATE INDEX rule_hits_category ON rule_hits(category, file_id)"));
        QVERIFY(execSql("CREATE TABLE file_failures(task_id INTEGER NOT NULL REFERENCES tasks(id) ON DELETE CASCADE, "
                        "path TEXT NOT NULL, reason TEXT NOT NULL, kind TEXT NOT NULL DEFAULT '')"));
        QVERIFY(execSql("CREATE INDEX file_failures_task ON file_failures(task_id)"));
        QVERIFY(execSql("CREATE INDEX files_task ON files(task_id)"));
        const QString yesterday = QDateTime::currentDateTime().addDays(-1).toString(Qt::ISODate);
        QVERIFY(execSql(QStringLiteral("INSERT INTO tasks(id, pathlist, tasktype, status, total_count, total_kib, started, ended, "
                                       "scanmode, keywords, files_walked, files_read) "
                                       "VALUES(7, '%1', 1, 'completed', 1, 1, '%2', '%2', 1, 1, 1, 1)").arg(tree, yesterday)));
        const QString oldHits = QStringLiteral("[{\"sensitive\":\"机密\",\"sensitive_ctx\":\"旧的\\\"机密\\\"\\n\"}]");
        QVERIFY(execSql(QStringLiteral("INSERT INTO files VALUES(1, 7, '%1/a.txt', '{\"机密\":3}', '%2')").arg(tree, oldHits)));
        QVERIFY(execSql("PRAGMA user_version = 5"));
        QVERIFY(startService(database));

        const QDBusMessage detail = call(Tasks, "SensitiveDiscoveryGetKeywordDetectedDetail", {tree, 1, tree + "/a.txt"});
        QCOMPARE(detail.arguments().value(0).toInt(), 0);
        QCOMPARE(detail.arguments().value(1).toString(),
                 QStringLiteral("{\"filepath\":\"%1/a.txt\",\"total\":3,\"sensitives\":%2}").arg(tree, oldHits));
        const auto oldLines = exportRun(7, "jsonl", true);
        QCOMPARE(oldLines.first, 0);
        QCOMPARE(QJsonDocument::fromJson(oldLines.second.trimmed()).object().value("passages").toArray(),
                 QJsonArray({QJsonObject{{"value", "机密"}, {"context", "旧的\"机密\"\n"}}}));

        // A new run of the task keeps its passages compactly; both runs answer.
        QVERIFY(SampleDocuments::writeFile(tree + "/a.txt", "新的\"机密\"\n"));
        QCOMPARE(setTask(tree, 1, policy({"机密"})), 0);
        const qint64 run = endedRun(tree).value("run").toInt();
        QVERIFY(run > 7);
        const QDBusMessage again = call(Tasks, "SensitiveDiscoveryGetKeywordDetectedDetail", {tree, 1, tree + "/a.txt"});
        QCOMPARE(again.arguments().value(1).toString(),
                 QStringLiteral("{\"filepath\":\"%1/a.txt\",\"total\":1,\"sensitives\":[{\"sensitive\":\"机密\",\"sensitive_ctx\":\"新的\\\"机密\\\"\\n\"}]}")
                     .arg(tree));
        QCOMPARE(exportRun(7, "jsonl", true), oldLines);
    }

    // Records of findings reach a real rsyslogd on a private socket: one per
    // file with hits and one per run end, with counts and no value or passage;
    // none when turned off.
    void logRecordsHoldNoValues()
    {
        const QString rsyslogd = QStandardPaths::findExecutable("rsyslogd", {"/usr/sbin", "/sbin"});
        QVERIFY2(!rsyslogd.isEmpty(), "rsyslogd (Debian's rsyslog) receives the records");
        const QString dir = m_work.path() + "/syslog";
        QVERIFY(QDir().mkpath(dir));
        const QString socket = dir + "/log.sock";
        const QString records = dir + "/records.log";
        QFile config(dir + "/rsyslog.conf");
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("global(workDirectory=\"%1\")\n"
                                    "module(load=\"imuxsock\" SysSock.Use=\"off\")\n"
                                    "input(type=\"imuxsock\" Socket=\"%2\" UseSpecialParser=\"off\" ParseHostname=\"on\")\n"
                                    "template(name=\"records\" type=\"string\" string=\"%msgid% %structured-data% %msg%\\n\")\n"
                                    "action(type=\"omfile\" file=\"%3\" template=\"records\")\n")
                         .arg(dir, socket, records)
                         .toUtf8());
        config.close();
        QProcess daemon;
        daemon.setProcessChannelMode(QProcess::ForwardedChannels);
        daemon.start(rsyslogd, {"-n", "-f", config.fileName(), "-i", dir + "/rsyslogd.pid"});
        QVERIFY(daemon.waitForStarted(10000));
        const auto stopDaemon = qScopeGuard([&daemon] {
            daemon.terminate();
            daemon.waitForFinished(10000);
        });
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);

        ServiceRun::stop(m_service);
        QVERIFY(startService(m_database, {"--findings-log", "syslog", "--syslog-socket", socket}));
        const QString tree = findingsTree();
        QVERIFY(!tree.isEmpty());
        QCOMPARE(setTask(tree, 3, policy({}, true)), 0);
        const qint64 privacyRun = endedRun(tree, "privacy").value("run").toInt();
        QCOMPARE(setTask(tree, 1, policy({"机密"})), 0);
        const qint64 keywordRun = endedRun(tree).value("run").toInt();
        QVERIFY(privacyRun > 0 && keywordRun > 0);
        const QString run = QStringLiteral("run=\"%1\"");
        QTRY_VERIFY_WITH_TIMEOUT(QString::fromUtf8(fileBytes(records)).contains("RUN [discovery@32473 event=\"run\" " + run.arg(keywordRun)),
                                 20000);
        QStringList ours;
        for (const QString &line : QString::fromUtf8(fileBytes(records)).split('\n', Qt::SkipEmptyParts)) {
            if (line.contains(tree))
                ours.append(line);
        }
        // One file with hits per run, and each run's end.
        QCOMPARE(ours.size(), 4);
        auto has = [&ours](const QString &part) {
            return std::any_of(ours.cbegin(), ours.cend(), [&part](const QString &line) { return line.contains(part); });
        };
        QVERIFY(has("FILE [discovery@32473 event=\"file\" " + run.arg(privacyRun) + " task_type=\"privacy\""));
        QVERIFY(has("hit=\"身份标识=1\""));
        QVERIFY(has("FILE [discovery@32473 event=\"file\" " + run.arg(keywordRun) + " task_type=\"keyword\""));
        QVERIFY(has("hit=\"机密=1\""));
        QVERIFY(has("RUN [discovery@32473 event=\"run\" " + run.arg(privacyRun)));
        QVERIFY(has("outcome=\"completed\" files_walked=\"4\" files_read=\"2\" files_with_hits=\"1\" files_not_read=\"2\""));
        for (const QString &line : ours) {
            QVERIFY2(!line.contains(Mobile) && !line.contains(MaskedMobile) && !line.contains("alert(1)</script>"),
                     qPrintable("a value or passage in the log: " + line));
        }
        // A run that fails says so; its findings, not kept, give no file record.
        QVERIFY(execSql("CREATE TRIGGER refuse_findings BEFORE INSERT ON files BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));
        QCOMPARE(setTask(tree, 1, policy({"机密"})), 0);
        const qint64 failedRun = endedRun(tree).value("run").toInt();
        QVERIFY(execSql("DROP TRIGGER refuse_findings"));
        QTRY_VERIFY_WITH_TIMEOUT(QString::fromUtf8(fileBytes(records)).contains("RUN [discovery@32473 event=\"run\" " + run.arg(failedRun)), 20000);
        QVERIFY(QString::fromUtf8(fileBytes(records)).contains(QRegularExpression(run.arg(failedRun) + ".*outcome=\"failed\"")));
        QVERIFY(!QString::fromUtf8(fileBytes(records)).contains("FILE [discovery@32473 event=\"file\" " + run.arg(failedRun)));
        ours.append(QString::fromUtf8(fileBytes(records)).split('\n').filter(run.arg(failedRun)));

        // Turned off: nothing more.
        ServiceRun::stop(m_service);
        QVERIFY(startService(m_database, {"--findings-log", "off", "--syslog-socket", socket}));
        QCOMPARE(setTask(tree, 1, policy({"机密"})), 0);
        QVERIFY(!endedRun(tree).isEmpty());
        QTest::qWait(500);
        // (rsyslogd's own messages go to the same file: only the tree's count.)
        QCOMPARE(QString::fromUtf8(fileBytes(records)).count(tree), ours.join('\n').count(tree));
        ServiceRun::stop(m_service);
        QVERIFY(startService(m_database));
    }

    // The HTML report of the demo samples, opened in headless Chromium: the
    // page and its chart are drawn. REPORT_SCREENSHOT, when set, names where
    // the screenshot is kept (tools/screenshots sets it).
    void htmlReportRendersInChromium()
    {
        const QString chromium = QStandardPaths::findExecutable("chromium");
        QVERIFY2(!chromium.isEmpty(), "chromium (Debian's) draws the report");
        const QString tree = newTree();
        QProcess samples;
        samples.start(SAMPLE_FILES_BINARY, {tree});
        QVERIFY(samples.waitForFinished(60000));
        QCOMPARE(samples.exitCode(), 0);
        QCOMPARE(setTask(tree, 3, policy({}, true, {"txt", "docx", "xlsx", "pptx", "pdf", "doc", "xls", "ppt", "zip"})), 0);
        const QJsonObject run = endedRun(tree, "privacy");
        QCOMPARE(run.value("outcome").toString(), QStringLiteral("completed"));
        const auto exported = exportRun(run.value("run").toInt(), "html", false);
        QCOMPARE(exported.first, 0);
        const QString page = m_work.path() + "/report.html";
        QFile::remove(page);
        QVERIFY(QFile::rename(m_work.path() + "/export.html", page));

        const QString shot = m_work.path() + "/report.png";
        QProcess browser;
        browser.setProcessChannelMode(QProcess::ForwardedChannels);
        browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                                 "--user-data-dir=" + m_work.path() + "/chromium", "--window-size=1100,1500",
                                 "--screenshot=" + shot, QUrl::fromLocalFile(page).toString()});
        QVERIFY(browser.waitForFinished(120000));
        const QImage image(shot);
        QVERIFY2(!image.isNull(), "Chromium made no screenshot");
        QCOMPARE(image.size(), QSize(1100, 1500));
        int drawn = 0, bars = 0;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2) {
                const QRgb pixel = image.pixel(x, y);
                drawn += pixel != qRgb(255, 255, 255);
                bars += pixel == qRgb(0x3b, 0x78, 0xc2);
            }
        }
        const int sampled = (image.width() / 2) * (image.height() / 2);
        QVERIFY2(drawn > sampled / 50, qPrintable(QStringLiteral("%1 of %2 pixels drawn").arg(drawn).arg(sampled)));
        QVERIFY2(bars > 100, "the chart's bars are not drawn");
        const QString keep = qEnvironmentVariable("REPORT_SCREENSHOT");
        if (!keep.isEmpty()) {
            QFile::remove(keep);
            QVERIFY(QFile::copy(shot, keep));
        }
    }

    void commandLineTool_data()
    {
        QTest::addColumn<QStringList>("arguments"); // RUN: a run of the history, FILE: a path in the test's directory
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");        // expected in standard output (0) or standard error
        QTest::addColumn<bool>("fileLeft");
        QTest::newRow("list") << QStringList{"list"} << 0 << "OUTCOME" << false;
        QTest::newRow("show") << QStringList{"show", "RUN"} << 0 << "Outcome:      completed" << false;
        QTest::newRow("export") << QStringList{"export", "RUN", "--format", "csv", "-o", "FILE"} << 0 << "" << true;
        QTest::newRow("unknown run") << QStringList{"show", "999999"} << 1 << "no run 999999" << false;
        QTest::newRow("export of unknown run leaves no file")
            << QStringList{"export", "999999", "--format", "jsonl", "-o", "FILE"} << 1 << "no run 999999" << false;
        QTest::newRow("bad format") << QStringList{"export", "RUN", "--format", "pdf", "-o", "FILE"} << 64 << "csv, jsonl or html" << false;
        QTest::newRow("no output") << QStringList{"export", "RUN", "--format", "csv"} << 64 << "-o FILE" << false;
        QTest::newRow("no run") << QStringList{"delete"} << 64 << "usage:" << false;
        QTest::newRow("not a number") << QStringList{"delete", "x1"} << 64 << "not a run number" << false;
        QTest::newRow("unwritable output") << QStringList{"export", "RUN", "--format", "csv", "-o", "/nonexistent/dir/r.csv"} << 73
                                           << "cannot create" << false;
    }
    // The tool over the same interface: exit statuses and messages.
    void commandLineTool()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(bool, fileLeft);
        const QJsonArray runs = listRuns();
        QVERIFY(!runs.isEmpty());
        const QString file = m_work.path() + "/cli-report";
        QFile::remove(file);
        for (QString &argument : arguments) {
            if (argument == "RUN")
                argument = QString::number(runs.at(0).toObject().value("run").toInt());
            else if (argument == "FILE")
                argument = file;
        }
        QProcess tool;
        tool.start(REPORT_TOOL_BINARY, arguments);
        QVERIFY(tool.waitForFinished(60000));
        const QString out = QString::fromUtf8(tool.readAllStandardOutput());
        const QString err = QString::fromUtf8(tool.readAllStandardError());
        QVERIFY2(tool.exitCode() == exitCode, qPrintable(QStringLiteral("exit %1: ").arg(tool.exitCode()) + out + err));
        QVERIFY2((exitCode == 0 ? out : err).contains(output), qPrintable(out + err));
        QCOMPARE(QFile::exists(file), fileLeft);
        if (fileLeft)
            QVERIFY(fileBytes(file).startsWith("\xEF\xBB\xBFrun,"));
    }

    // The service itself refuses another user (the private bus lets anyone call).
    void otherUsersRefused()
    {
        const QString setpriv = QStandardPaths::findExecutable("setpriv");
        const QString gdbus = QStandardPaths::findExecutable("gdbus");
        if (::geteuid() != 0 || setpriv.isEmpty() || gdbus.isEmpty())
            QSKIP("needs root, setpriv and gdbus to call as another user");
        QProcess other;
        other.start(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups", gdbus, "call", "--system", "--dest", Service,
                              "--object-path", Path, "--method", Reports + ".ListRuns"});
        QVERIFY(other.waitForFinished(20000));
        QVERIFY(other.exitCode() != 0);
        QVERIFY2(other.readAllStandardError().contains("AccessDenied"), "expected an access-denied error");
        // The tool says so with its own status; it is copied where nobody may run it.
        const QString tool = m_work.path() + "/tavex-discovery-report";
        QVERIFY(QFile::copy(REPORT_TOOL_BINARY, tool));
        QVERIFY(QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        QVERIFY(QFile::setPermissions(m_work.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther));
        QProcess cli;
        cli.start(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups", tool, "list"});
        QVERIFY(cli.waitForFinished(20000));
        QCOMPARE(cli.exitCode(), 77);
        QVERIFY(cli.readAllStandardError().contains("permission denied"));
        QVERIFY(!listRuns().isEmpty());
    }
};

QTEST_MAIN(TestScanServiceReports)
#include "tst_scanservice_reports.moc"
