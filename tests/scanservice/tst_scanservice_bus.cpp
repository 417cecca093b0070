// The real scan service process on a private bus, driven through the
// client's proxy, over files the test makes.
#include "privacysamples.h"
#include "sampledocuments.h"
#include "servicerun.h"
#include "privatebus.h"
#include "scanlimits.h"
#include "transcontrolprotocol.h"
#include "sensitivescaninterface.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>
#include <QThread>
#include <QXmlStreamReader>

#include <algorithm>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString Service = QStringLiteral("com.vorel.dlp.TransControl");
const QString Path = QStringLiteral("/com/vorel/dlp/TransControl");
const QString Interface = QStringLiteral("com.vorel.dlp.TransControlInterface");

QString policyFor(const QStringList &keywords, const QStringList &fileTypes = {"txt", "pdf", "doc", "docx", "xls", "xlsx", "ppt", "pptx", "zip", "rar", "7z", "tar", "gz"},
                  bool privacy = false)
{
    QJsonArray rules;
    for (int i = 0; i < keywords.size(); ++i) {
        rules.append(QJsonObject{{"name", QStringLiteral("关键字检测规则%1").arg(i + 1)},
                                 {"description", "可配置一个或者多个关键字"},
                                 {"exception", false},
                                 {"keywords", QJsonArray{QJsonObject{{"pattern", keywords.at(i)}, {"maxmatches", -1},
                                                                     {"distinct", false}, {"matchcondition", 1}}}}});
    }
    const QJsonObject detect{{"dataidentifier_detect_ruleset", privacy},
                             {"filetype_detect_ruleset", QJsonArray{QJsonObject{{"name", "文件类型检测规则"}, {"description", "d"},
                                                                                {"filetypes", QJsonArray::fromStringList(fileTypes)},
                                                                                {"matchcondition", "ONEOF"}, {"exception", false}}}},
                             {"keyword_detect_ruleset", rules}};
    const QJsonObject root{{"version", "1.0.0"},
                           {"policies", QJsonArray{QJsonObject{{"name", "敏感信息扫描策略"}, {"description", "d"},
                                                               {"ruleset", QJsonObject{{"detect_ruleset", detect},
                                                                                       {"response_ruleset", QJsonArray{QJsonObject{{"name", "事件写入数据库"}, {"description", "d"}, {"action", "WriteDatabase"}}}}}}}}}};
    return QString::fromLatin1(QJsonDocument(root).toJson(QJsonDocument::Indented).toBase64());
}

// A privacy task's policy, as the client builds it.
QString privacyPolicy()
{
    return policyFor({}, {"txt", "pdf", "doc", "docx", "xls", "xlsx", "ppt", "pptx", "zip", "rar", "7z", "tar", "gz"}, true);
}

// The members of the interface as "method Name(in)->(out)" and "signal Name(args)".
QSet<QString> interfaceMembers(const QString &xml)
{
    QSet<QString> members;
    QXmlStreamReader reader(xml);
    bool inside = false;
    QString kind, name, in, out;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            if (reader.name() == QLatin1String("interface"))
                inside = reader.attributes().value("name") == Interface;
            else if (inside && (reader.name() == QLatin1String("method") || reader.name() == QLatin1String("signal"))) {
                kind = reader.name().toString();
                name = reader.attributes().value("name").toString();
                in.clear();
                out.clear();
            } else if (inside && reader.name() == QLatin1String("arg")) {
                (reader.attributes().value("direction") == QLatin1String("out") ? out : in)
                    += reader.attributes().value("type").toString();
            }
        } else if (reader.isEndElement()) {
            if (reader.name() == QLatin1String("interface"))
                inside = false;
            else if (inside && (reader.name() == QLatin1String("method") || reader.name() == QLatin1String("signal")))
                members.insert(QStringLiteral("%1 %2(%3)->(%4)").arg(kind, name, in, out));
        }
    }
    return members;
}
} // namespace

// Records the service's signals of one path list.
class SignalLog : public QObject
{
    Q_OBJECT

public:
    struct Scanning
    {
        QString path;
        int id;
    };
    QString pathlist;
    QList<Scanning> scanning;
    QMap<QString, QVariantMap> detections;
    int detectionSignals = 0; // every keyword detection, a file's repeated one too
    QList<QVariantMap> privacy; // the maps of the privacy detections, in arrival order
    int signalsAfterEnd = 0;
    bool ended = false;

    explicit SignalLog(const QString &list)
        : pathlist(list)
    {
        QDBusConnection bus = QDBusConnection::systemBus();
        bus.connect(Service, Path, Interface, "SensitiveDiscoveryKeywordScanningFile", this,
                    SLOT(onScanning(QString, QString, int)));
        bus.connect(Service, Path, Interface, "SensitiveDiscoveryKeywordDetected", this,
                    SLOT(onDetected(QString, QString, QVariantMap)));
        bus.connect(Service, Path, Interface, "SensitiveDiscoveryDataIdScanningFile", this,
                    SLOT(onScanning(QString, QString, int)));
        bus.connect(Service, Path, Interface, "SensitiveDiscoveryDataIdDetected", this,
                    SLOT(onPrivacy(QString, QVariantMap)));
    }
    // Hits per category over all privacy detections.
    QMap<QString, int> privacyTotals() const
    {
        QMap<QString, int> totals;
        for (const QVariantMap &map : privacy)
            for (auto it = map.constBegin(); it != map.constEnd(); ++it)
                totals[it.key()] += it.value().toInt();
        return totals;
    }
    int total() const { return scanning.size() + detections.size(); }

public Q_SLOTS:
    void onScanning(const QString &list, const QString &path, int id)
    {
        if (list != pathlist)
            return;
        if (ended)
            ++signalsAfterEnd;
        if (id == 0 && path.isEmpty())
            ended = true;
        else
            scanning.append({path, id});
    }
    void onDetected(const QString &list, const QString &path, const QVariantMap &map)
    {
        if (list != pathlist)
            return;
        if (ended)
            ++signalsAfterEnd;
        ++detectionSignals;
        detections.insert(path, map);
    }
    void onPrivacy(const QString &list, const QVariantMap &map)
    {
        if (list != pathlist)
            return;
        if (ended)
            ++signalsAfterEnd;
        privacy.append(map);
    }
};

class TestScanServiceBus : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    QTemporaryDir m_work;
    QProcess m_service;
    std::unique_ptr<SensitiveScanInterface> m_proxy;
    int m_tree = 0;
    QString m_database; // when set, the findings database instead of the usual one

    QString databasePath() const { return m_database.isEmpty() ? m_work.path() + "/db/findings.db" : m_database; }

    bool startService(const QStringList &extra = {})
    {
        return ServiceRun::start(m_service, SCAN_SERVICE_BINARY, databasePath(), extra);
    }
    void stopService() { ServiceRun::stop(m_service); }

    // Restarts the service so that each file takes it a moment: a task then
    // lasts long enough to pause or terminate it, however fast the machine.
    // The returned guard restarts it as before.
    QScopeGuard<std::function<void()>> slowService()
    {
        stopService();
        if (!startService({"--file-delay", "2"}))
            qWarning("the service did not start with --file-delay");
        return qScopeGuard(std::function<void()>([this] {
            stopService();
            startService();
        }));
    }

    // A fresh directory for one test's files.
    QString newTree()
    {
        const QString dir = m_work.path() + QStringLiteral("/tree%1").arg(++m_tree);
        QDir().mkpath(dir);
        return dir;
    }
    // Many small files, so that a scan lasts long enough to act on it.
    QString bigTree(int files = 4000)
    {
        const QString dir = newTree();
        const QByteArray filler = QByteArray(16 * 1024, 'x') + "机密";
        for (int i = 0; i < files; ++i) {
            const QString sub = dir + QStringLiteral("/d%1").arg(i / 200);
            if (i % 200 == 0)
                QDir().mkpath(sub);
            SampleDocuments::writeFile(sub + QStringLiteral("/f%1.txt").arg(i, 5, 10, QLatin1Char('0')), filler);
        }
        return dir;
    }

    int setTask(const QString &pathlist, const QString &policy, int tasktype = 1, int scanmode = 1, double batch = 0.75)
    {
        QDBusPendingReply<int> reply = m_proxy->SensitiveDiscoverySetScanTask(pathlist, tasktype, scanmode, QString(), QString(), batch, policy);
        reply.waitForFinished();
        return reply.isError() ? -1 : reply.value();
    }
    int call(const char *method, const QString &pathlist, int tasktype = 1)
    {
        QDBusPendingReply<int> reply;
        if (qstrcmp(method, "pause") == 0)
            reply = m_proxy->SensitiveDiscoveryPauseScanTask(pathlist, tasktype);
        else if (qstrcmp(method, "continue") == 0)
            reply = m_proxy->SensitiveDiscoveryContinueScanTask(pathlist, tasktype);
        else
            reply = m_proxy->SensitiveDiscoveryTerminateScanTask(pathlist, tasktype);
        reply.waitForFinished();
        return reply.isError() ? -1 : reply.value();
    }
    ScanTaskDetailInfo detail(const QString &pathlist, int tasktype = 1, QString *error = nullptr)
    {
        QDBusPendingReply<ScanTaskDetailInfo> reply = m_proxy->SensitiveDiscoveryGetScanTaskDetail(pathlist, tasktype);
        reply.waitForFinished();
        if (error)
            *error = reply.isError() ? reply.error().name() : QString();
        return reply.isError() ? ScanTaskDetailInfo{} : reply.value();
    }
    QPair<int, QJsonObject> keywordDetail(const QString &pathlist, const QString &file)
    {
        QDBusPendingReply<int, QString> reply = m_proxy->SensitiveDiscoveryGetKeywordDetectedDetail(pathlist, 1, file);
        reply.waitForFinished();
        if (reply.isError())
            return {-1, {}};
        return {reply.argumentAt<0>(), QJsonDocument::fromJson(reply.argumentAt<1>().toUtf8()).object()};
    }
    // The reason a task failed for, as the service tells it; a null string when the call failed.
    QString failureOf(const QString &pathlist, int tasktype = 1)
    {
        QDBusPendingReply<int, QString> reply = m_proxy->SensitiveDiscoveryGetScanTaskFailure(pathlist, tasktype);
        reply.waitForFinished();
        if (reply.isError() || reply.argumentAt<0>() != 0)
            return QString();
        return reply.argumentAt<1>().isNull() ? QStringLiteral("") : reply.argumentAt<1>();
    }
    QPair<int, QJsonObject> privacyDetail(const QString &pathlist, const QString &category)
    {
        QDBusPendingReply<int, QString> reply = m_proxy->SensitiveDiscoveryGetDataIdDetectedDetail(pathlist, 3, category);
        reply.waitForFinished();
        if (reply.isError())
            return {-1, {}};
        return {reply.argumentAt<0>(), QJsonDocument::fromJson(reply.argumentAt<1>().toUtf8()).object()};
    }
    // rule name -> file -> the values of its hits, from a privacy detail document.
    static QMap<QString, QMap<QString, QStringList>> grouped(const QJsonObject &document)
    {
        QMap<QString, QMap<QString, QStringList>> rules;
        for (const QJsonValue &rule : document.value("groupsensitives").toArray()) {
            for (const QJsonValue &file : rule["rulesensitives"].toArray()) {
                QStringList &values = rules[rule["rulename"].toString()][file["filepath"].toString()];
                for (const QJsonValue &hit : file["sensitives"].toArray()) {
                    values.append(hit["sensitive"].toString());
                    if (!hit["sensitive_ctx"].toString().contains(values.last()))
                        values.append("passage without its hit: " + hit["sensitive_ctx"].toString());
                }
            }
        }
        return rules;
    }
    // file -> reason of the files the task recorded as not read in full (from the findings database).
    QMap<QString, QString> failures(const QString &pathlist, int tasktype = 3)
    {
        return ServiceRun::failures(databasePath(), pathlist, tasktype);
    }
    // The file total of a task as stored in the findings database; -1 when there is none.
    int storedTotal(const QString &pathlist, int tasktype = 1)
    {
        int total = -1;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "totals");
            db.setDatabaseName(databasePath());
            db.setConnectOptions("QSQLITE_OPEN_READONLY");
            if (db.open()) {
                QSqlQuery query(db);
                query.prepare("SELECT total_count FROM tasks WHERE pathlist = ? AND tasktype = ? ORDER BY id DESC LIMIT 1");
                query.addBindValue(pathlist);
                query.addBindValue(tasktype);
                if (query.exec() && query.next())
                    total = query.value(0).toInt();
            }
        }
        QSqlDatabase::removeDatabase("totals");
        return total;
    }
    // The extraction workers the service has now (children started with
    // --extraction-worker that have not ended).
    int liveWorkers()
    {
        int count = 0;
        const QString parent = QString::number(m_service.processId());
        for (const QString &pid : QDir("/proc").entryList(QDir::Dirs)) {
            QFile stat("/proc/" + pid + "/stat");
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray line = stat.readAll();
            // pid (comm) state ppid …: the fields after the last ")".
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            if (fields.size() < 7 || fields.at(0) == "Z" || fields.at(1) != parent.toLatin1())
                continue;
            // A worker given up for another is killed and then dies: once
            // SIGKILL is pending or the process is exiting, it no longer counts.
            constexpr quint64 Exiting = 0x4; // PF_EXITING
            if (fields.at(6).toULongLong() & Exiting)
                continue;
            QFile status("/proc/" + pid + "/status");
            bool killed = false;
            if (status.open(QIODevice::ReadOnly)) {
                for (const QByteArray &field : status.readAll().split('\n')) {
                    if (field.startsWith("SigPnd:") || field.startsWith("ShdPnd:"))
                        killed |= field.mid(7).trimmed().toULongLong(nullptr, 16) & (1ull << (SIGKILL - 1));
                }
            }
            if (killed)
                continue;
            QFile cmdline("/proc/" + pid + "/cmdline");
            if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains("--extraction-worker"))
                ++count;
        }
        return count;
    }
    // The lowest descriptor number the service has free.
    int lowestFreeDescriptor()
    {
        QSet<int> used;
        for (const QString &fd : QDir(QStringLiteral("/proc/%1/fd").arg(m_service.processId())).entryList(QDir::Files | QDir::System))
            used.insert(fd.toInt());
        int lowest = 0;
        while (used.contains(lowest))
            ++lowest;
        return lowest;
    }
    bool serving()
    {
        QDBusMessage ping = QDBusMessage::createMethodCall(Service, Path, "org.freedesktop.DBus.Peer", "Ping");
        return QDBusConnection::systemBus().call(ping, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        QVERIFY(startService());
        m_proxy = std::make_unique<SensitiveScanInterface>(Service, Path, Interface, QDBusConnection::systemBus());
        QVERIFY(m_proxy->isValid());
    }
    void cleanupTestCase()
    {
        m_proxy.reset();
        stopService();
        m_bus.reset();
    }

    void adaptorMatchesInterfaceDescription()
    {
        QFile file(qEnvironmentVariable("DISCOVERY_DBUS_XML"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QSet<QString> described = interfaceMembers(QString::fromUtf8(file.readAll()));
        QCOMPARE(described.size(), 12);
        QDBusMessage introspect = QDBusMessage::createMethodCall(Service, Path, "org.freedesktop.DBus.Introspectable", "Introspect");
        const QDBusReply<QString> reply = QDBusConnection::systemBus().call(introspect);
        QVERIFY(reply.isValid());
        QCOMPARE(interfaceMembers(reply.value()), described);
    }

    void serviceNameTakenIsRefused()
    {
        QProcess second;
        second.start(SCAN_SERVICE_BINARY, {"--findings-db", m_work.path() + "/other.db"});
        QVERIFY(second.waitForFinished(10000));
        QVERIFY(second.exitCode() != 0);
        QVERIFY(second.readAllStandardError().contains("taken"));
        QVERIFY(serving());
    }

    void eachMethodThroughClientProxy()
    {
        const auto restore = slowService();
        QVERIFY(serving());
        const QString tree = bigTree(1500);
        SignalLog log(tree);
        QCOMPARE(setTask(tree, policyFor({"机密"})), 0);
        const ScanTaskDetailInfo info = detail(tree);
        QCOMPARE(info.TotalCount, 1500);
        QVERIFY(info.TotalSize >= 1500 * 16);
        QCOMPARE(call("pause", tree), 0);
        QCOMPARE(detail(tree).Status, QStringLiteral("paused"));
        QCOMPARE(call("continue", tree), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 60000);
        const auto keyword = keywordDetail(tree, log.detections.firstKey());
        QCOMPARE(keyword.first, 0);
        QCOMPARE(keyword.second.value("sensitives").toArray().size(), 1);
        QDBusPendingReply<int, QString> privacy = m_proxy->SensitiveDiscoveryGetDataIdDetectedDetail(tree, 3, "身份标识");
        privacy.waitForFinished();
        QVERIFY(!privacy.isError());
        QVERIFY(privacy.argumentAt<0>() != 0);
        QCOMPARE(QJsonDocument::fromJson(privacy.argumentAt<1>().toUtf8()).object().value("groupname").toString(), QStringLiteral("身份标识"));
        QCOMPARE(call("terminate", tree), 0); // an ended task: nothing to do
        const ScanTaskDetailInfo done = detail(tree);
        QCOMPARE(done.Status, QStringLiteral("completed"));
        QCOMPARE(done.Progress, 1.0);
        QCOMPARE(log.detections.size(), 1500);
    }

    void keywordsFoundInEveryFormat_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QVariantMap>("counts");
        QTest::addColumn<QStringList>("words");  // the word of each hit, in file order
        QTest::addColumn<QString>("context");    // the passage of every hit (short files: all their text)
        const QString text = "甲机密乙\n绝密机密丙";
        const QStringList textWords{"机密", "绝密", "机密"};
        QTest::newRow("utf-8 text") << "utf8.txt" << QVariantMap{{"机密", 2}, {"绝密", 1}} << textWords << text;
        QTest::newRow("gb18030 text") << "gbk.txt" << QVariantMap{{"机密", 2}, {"绝密", 1}} << textWords << text;
        QTest::newRow("utf-16 text, upper-case extension") << "utf16.TXT" << QVariantMap{{"机密", 2}, {"绝密", 1}} << textWords << text;
        const QString longText = QString(50, QChar(0x524D)) + "机密" + QString(50, QChar(0x540E));
        QTest::newRow("passage of forty characters") << "long.txt" << QVariantMap{{"机密", 1}} << QStringList{"机密"}
                                                     << longText.mid(10, 82);
        QTest::newRow("docx table, header and footer")
            << "report.docx" << QVariantMap{{"机密", 1}, {"绝密", 1}, {"文件", 1}} << QStringList{"机密", "绝密", "文件"}
            << "正文没有\n表格机密内容\n第二格\n页眉绝密\n页脚文件\n";
        QTest::newRow("xlsx shared strings, number cell and inline string")
            << "book.xlsx" << QVariantMap{{"机密", 2}, {"绝密", 2}} << QStringList{"机密", "绝密", "绝密", "机密"}
            << "机密\n绝密绝密\n12345\n机密\n";
        QTest::newRow("pptx slides with their notes")
            << "deck.pptx" << QVariantMap{{"机密", 1}, {"绝密", 1}} << QStringList{"绝密", "机密"}
            << "幻灯片绝密\n备注机密\n第二张\n";
        QTest::newRow("pdf in a cjk font") << "scan.pdf" << QVariantMap{{"机密", 2}, {"文件", 1}}
                                           << QStringList{"机密", "文件", "机密"} << QString();
        QTest::newRow("extension not chosen") << "notes.md" << QVariantMap{} << QStringList{} << QString();
        QTest::newRow("symbolic link to a text file") << "link.txt" << QVariantMap{} << QStringList{} << QString();
    }
    void keywordsFoundInEveryFormat()
    {
        QFETCH(QString, file);
        QFETCH(QVariantMap, counts);
        QFETCH(QStringList, words);
        QFETCH(QString, context);
        static QString tree;
        static std::unique_ptr<SignalLog> log;
        if (!log) {
            tree = newTree();
            const QString text = "甲机密乙\n绝密机密丙";
            QVERIFY(SampleDocuments::writeFile(tree + "/utf8.txt", text.toUtf8()));
            QVERIFY(SampleDocuments::writeFile(tree + "/gbk.txt", QTextCodec::codecForName("GB18030")->fromUnicode(text)));
            QByteArray utf16("\xFF\xFE");
            utf16 += QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
            QVERIFY(SampleDocuments::writeFile(tree + "/utf16.TXT", utf16));
            QVERIFY(SampleDocuments::writeFile(tree + "/long.txt", (QString(50, QChar(0x524D)) + "机密" + QString(50, QChar(0x540E))).toUtf8()));
            QVERIFY(SampleDocuments::writeDocx(tree + "/report.docx", "正文没有", {"表格机密内容", "第二格"}, "页眉绝密", "页脚文件"));
            QVERIFY(SampleDocuments::writeXlsx(tree + "/book.xlsx", {"机|密", "绝密绝密"}, "机密"));
            QVERIFY(SampleDocuments::writePptx(tree + "/deck.pptx", {"幻灯片绝密", "第二张"}, {"备注机密"}));
            QVERIFY(SampleDocuments::writePdf(tree + "/scan.pdf", {"第1页 机密资料", "文件 机密"}));
            QVERIFY(SampleDocuments::writeFile(tree + "/notes.md", text.toUtf8()));
            QVERIFY(QFile::link(tree + "/utf8.txt", tree + "/link.txt"));
            QVERIFY(QDir().mkpath(tree + "/sub"));
            QVERIFY(QFile::link(tree, tree + "/sub/loop"));
            QCOMPARE(::mkfifo(QFile::encodeName(tree + "/sub/pipe.txt").constData(), 0600), 0);
            log = std::make_unique<SignalLog>(tree);
            QCOMPARE(setTask(tree, policyFor({"机密", "绝密", "文件"})), 0);
            QTRY_VERIFY_WITH_TIMEOUT(log->ended, 30000);
            // The eight documents are selected; notes.md, the link, the loop and the FIFO are not.
            QCOMPARE(detail(tree).TotalCount, 8);
            QCOMPARE(log->scanning.last().id, 8);
        }
        const QString path = tree + "/" + file;
        QCOMPARE(log->detections.value(path), counts);
        const auto document = keywordDetail(tree, path);
        if (counts.isEmpty()) {
            QVERIFY(document.first != 0);
            QCOMPARE(document.second.value("filepath").toString(), path);
            QVERIFY(document.second.value("sensitives").isArray());
            QCOMPARE(document.second.value("sensitives").toArray().size(), 0);
            return;
        }
        QCOMPARE(document.first, 0);
        QCOMPARE(document.second.value("filepath").toString(), path);
        // The document's total is the sum of the counts the detection signal carried.
        qint64 counted = 0;
        for (const QVariant &count : counts)
            counted += count.toLongLong();
        QCOMPARE(qint64(document.second.value("total").toDouble(-1)), counted);
        QStringList gotWords;
        for (const QJsonValue &hit : document.second.value("sensitives").toArray()) {
            gotWords.append(hit["sensitive"].toString());
            const QString passage = hit["sensitive_ctx"].toString();
            QVERIFY2(passage.contains(gotWords.last()), qPrintable(passage));
            if (!context.isEmpty())
                QCOMPARE(passage, context);
        }
        QCOMPARE(gotWords, words);
    }

    void fileIdsIncreaseAndEndMarkerComesLast()
    {
        const QString tree = bigTree(2000);
        SignalLog log(tree);
        QCOMPARE(setTask(tree, policyFor({"机密"})), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 60000);
        QTest::qWait(300);
        QVERIFY(!log.scanning.isEmpty());
        for (int i = 1; i < log.scanning.size(); ++i)
            QVERIFY2(log.scanning.at(i).id > log.scanning.at(i - 1).id, qPrintable(QString::number(i)));
        QCOMPARE(log.scanning.first().id >= 1, true);
        QCOMPARE(log.scanning.last().id, 2000);
        QCOMPARE(log.signalsAfterEnd, 0);
        QCOMPARE(log.detections.size(), 2000);
        QCOMPARE(log.detectionSignals, 2000);
    }

    void pauseHoldsSignalsContinueResumes()
    {
        const auto restore = slowService();
        QVERIFY(serving());
        const QString tree = bigTree();
        SignalLog log(tree);
        QCOMPARE(setTask(tree, policyFor({"机密"})), 0);
        QCOMPARE(call("pause", tree), 0);
        QCOMPARE(call("pause", tree), 0); // pausing a paused task is fine
        QTest::qWait(500);                // files in flight finish quietly
        const int seen = log.total();
        QTest::qWait(1000);
        QCOMPARE(log.total(), seen);
        QVERIFY(!log.ended);
        const ScanTaskDetailInfo paused = detail(tree);
        QCOMPARE(paused.Status, QStringLiteral("paused"));
        QVERIFY(paused.Progress < 1.0);
        QCOMPARE(setTask(tree, policyFor({"机密"})), 11); // still paused: refused
        QCOMPARE(call("continue", tree), 0);
        QCOMPARE(call("continue", tree), 0); // continuing a running task is fine
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 60000);
        QCOMPARE(log.detections.size(), 4000);
        QCOMPARE(log.detectionSignals, 4000); // the ones held while paused sent once, not again
        QCOMPARE(log.scanning.last().id, 4000);
        for (int i = 1; i < log.scanning.size(); ++i)
            QVERIFY(log.scanning.at(i).id > log.scanning.at(i - 1).id);
        QCOMPARE(call("pause", tree), 13); // ended
    }

    void terminateStopsTheTask()
    {
        const auto restore = slowService();
        QVERIFY(serving());
        const QString tree = bigTree();
        SignalLog log(tree);
        QCOMPARE(setTask(tree, policyFor({"机密"})), 0);
        QCOMPARE(setTask(tree, policyFor({"机密"})), 11); // running: refused
        QCOMPARE(call("terminate", tree), 0);
        QCoreApplication::processEvents(); // signals sent before the reply
        const int seen = log.total();
        QTest::qWait(1500);
        QCOMPARE(log.total(), seen);
        QVERIFY(!log.ended);
        const ScanTaskDetailInfo info = detail(tree);
        QCOMPARE(info.Status, QStringLiteral("terminated"));
        QCOMPARE(info.Progress, 1.0);
        QCOMPARE(call("terminate", tree), 0);
        QCOMPARE(call("continue", tree), 13);
        // An ended task is replaced by a new one with the same key.
        QCOMPARE(setTask(tree, policyFor({"机密"})), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 60000);
        QCOMPARE(log.scanning.last().id, 4000);
    }

    void privacyTaskSignalsAndDetail()
    {
        const QString tree = newTree();
        PrivacySamples samples(77);
        const QString adult = samples.idNumber(QDate(1985, 4, 12));
        const QString child = samples.idNumber(QDate::currentDate().addYears(-8));
        QVERIFY(SampleDocuments::writeFile(tree + "/a.txt", ("身份证号：" + adult + "\n手机13812345678\n宗教信仰：佛教\n").toUtf8()));
        QVERIFY(SampleDocuments::writeDocx(tree + "/b.docx", "学生身份证 " + child, {"门诊诊断：高血压"}, "页眉", "页脚"));
        QVERIFY(SampleDocuments::writeFile(tree + "/c.txt", "公开资料，没有个人信息。"));
        SignalLog log(tree);
        QCOMPARE(setTask(tree, privacyPolicy(), 3), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 30000);
        QCOMPARE(log.scanning.last().id, 3);
        QVERIFY(log.detections.isEmpty()); // no keyword signals for a privacy task

        // One detection per file with hits, each with that file's new hits per category.
        QList<QVariantMap> maps = log.privacy;
        std::sort(maps.begin(), maps.end(), [](const QVariantMap &a, const QVariantMap &b) { return a.size() < b.size(); });
        QCOMPARE(maps, (QList<QVariantMap>{{{"身份标识", 2}, {"宗教信仰", 1}},
                                           {{"身份标识", 1}, {"未成年人信息", 1}, {"医疗健康", 1}}}));

        // The detail groups the hits by rule, then by file.
        auto identity = privacyDetail(tree, "身份标识");
        QCOMPARE(identity.first, 0);
        QCOMPARE(identity.second.value("groupname").toString(), QStringLiteral("身份标识"));
        const QJsonArray rules = identity.second.value("groupsensitives").toArray();
        QCOMPARE(rules.size(), 2);
        QCOMPARE(rules.at(0)["rulename"].toString(), QStringLiteral("居民身份证号")); // table order
        QCOMPARE(rules.at(1)["rulename"].toString(), QStringLiteral("手机号码"));
        const QMap<QString, QMap<QString, QStringList>> expected{
            {"居民身份证号", {{tree + "/a.txt", {adult}}, {tree + "/b.docx", {child}}}},
            {"手机号码", {{tree + "/a.txt", {"13812345678"}}}}};
        QCOMPARE(grouped(identity.second), expected);
        QCOMPARE(grouped(privacyDetail(tree, "未成年人信息").second),
                 (QMap<QString, QMap<QString, QStringList>>{{"未满十四周岁者身份证号", {{tree + "/b.docx", {child}}}}}));
        QCOMPARE(grouped(privacyDetail(tree, "医疗健康").second),
                 (QMap<QString, QMap<QString, QStringList>>{{"疾病诊断", {{tree + "/b.docx", {"高血压"}}}}}));

        // A category without hits, and a name that is no category.
        const auto none = privacyDetail(tree, "金融消费");
        QVERIFY(none.first != 0);
        QCOMPARE(none.second.value("groupname").toString(), QStringLiteral("金融消费"));
        QCOMPARE(none.second.value("groupsensitives").toArray().size(), 0);
        QVERIFY(privacyDetail(tree, "不是类别").first != 0);
    }

    // A PDF table's cells are read under their column headers: a staff
    // number counts only beside its label, and poppler alone lays the table
    // out column by column, header cells first, far from the values.
    void privacyPdfTableCellsUnderHeaders()
    {
        const QString tree = newTree();
        const QStringList staff{"20417", "20533", "20619", "20702"};
        QList<QStringList> rows{{"序号", "姓名", "部门", "入职日期", "工号"}};
        const QStringList names{"刘洁", "蔡超", "欧阳娜娜", "曾立新"};
        for (int i = 0; i < staff.size(); ++i)
            rows.append({QString::number(i + 1), names.at(i), "采购部", QStringLiteral("2016-0%1-18").arg(i + 1), staff.at(i)});
        QVERIFY(SampleDocuments::writePdfBlocks(tree + "/roster.pdf", {{"采购部员工花名册", {}}, {QString(), rows}}));
        SignalLog log(tree);
        QCOMPARE(setTask(tree, privacyPolicy(), 3), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 30000);

        QStringList found;
        for (const auto &files : grouped(privacyDetail(tree, "职业教育").second))
            found += files.value(tree + "/roster.pdf");
        for (const QString &number : staff) {
            QVERIFY2(std::any_of(found.begin(), found.end(), [&](const QString &v) { return v.contains(number); }),
                     qPrintable(number + " not among: " + found.join(", ")));
        }
    }

    void archivesReadWithinLimits()
    {
        const QString tree = newTree();
        PrivacySamples samples(31);
        const QString inZip = samples.idNumber(QDate(1979, 11, 3));
        const QString inGz = samples.idNumber(QDate(1991, 2, 14));
        const QString tooDeep = samples.idNumber(QDate(1966, 8, 8));
        const QString beside = samples.idNumber(QDate(1988, 1, 20));
        // A DOCX inside a zip inside a tar.gz.
        const QString work = m_work.path() + "/archive-work";
        QDir().mkpath(work);
        QVERIFY(SampleDocuments::writeDocx(work + "/报告.docx", "身份证号 " + inZip, {"无"}, "页眉", "页脚"));
        QVERIFY(SampleDocuments::writeArchive(work + "/inner.zip", "zip",
                                              {{"报告.docx", SampleDocuments::readFile(work + "/报告.docx")},
                                               {"说明.md", ("身份证号 " + beside).toUtf8()}})); // a type not chosen
        QVERIFY(SampleDocuments::writeArchive(tree + "/nested.tar.gz", "tar.gz",
                                              {{"docs/inner.zip", SampleDocuments::readFile(work + "/inner.zip")}}));
        // One compressed text file.
        QVERIFY(SampleDocuments::writeArchive(tree + "/notes.txt.gz", "gz", {{"notes.txt", ("手机13912345678 证件 " + inGz).toUtf8()}}));
        // A zip bomb: 64 MiB of zeros in one member, then a member that would have a hit.
        QVERIFY(SampleDocuments::writeArchive(tree + "/bomb.zip", "zip",
                                              {{"zeros.txt", QByteArray(64 << 20, '\0')}, {"after.txt", ("证件 " + beside).toUtf8()}}));
        // Five archives, one inside the other; the identity number lies in the innermost.
        QByteArray deep;
        QVERIFY(SampleDocuments::writeArchive(work + "/level5.zip", "zip", {{"secret.txt", ("身份证号 " + tooDeep).toUtf8()}}));
        for (int level = 4; level >= 1; --level) {
            QVERIFY(SampleDocuments::writeArchive(work + QStringLiteral("/level%1.zip").arg(level), "zip",
                                                  {{QStringLiteral("level%1.zip").arg(level + 1),
                                                    SampleDocuments::readFile(work + QStringLiteral("/level%1.zip").arg(level + 1))}}));
        }
        QVERIFY(QFile::copy(work + "/level1.zip", tree + "/deep.zip"));
        QVERIFY(SampleDocuments::writeFile(tree + "/plain.txt", ("证件 " + beside).toUtf8()));
        QVERIFY(SampleDocuments::writeArchive(tree + "/other.7z", "7z", {{"a.txt", ("邮箱 li.si@example.org 联系")}}));

        SignalLog log(tree);
        QCOMPARE(setTask(tree, privacyPolicy(), 3), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 60000);
        QCOMPARE(log.scanning.last().id, 6);

        const QMap<QString, QMap<QString, QStringList>> identity = grouped(privacyDetail(tree, "身份标识").second);
        // Hits inside archives are reported under the archive's path; the member's path starts the passage.
        QCOMPARE(identity.value("居民身份证号").value(tree + "/nested.tar.gz"), QStringList{inZip});
        QCOMPARE(identity.value("居民身份证号").value(tree + "/notes.txt.gz"), QStringList{inGz});
        QCOMPARE(identity.value("手机号码").value(tree + "/notes.txt.gz"), QStringList{"13912345678"});
        QCOMPARE(identity.value("居民身份证号").value(tree + "/plain.txt"), QStringList{beside});
        QCOMPARE(identity.value("电子邮箱地址").value(tree + "/other.7z"), QStringList{"li.si@example.org"});
        QVERIFY(!identity.value("居民身份证号").contains(tree + "/deep.zip"));
        QVERIFY(!identity.value("居民身份证号").contains(tree + "/bomb.zip"));
        const QJsonArray rules = privacyDetail(tree, "身份标识").second.value("groupsensitives").toArray();
        for (const QJsonValue &file : rules.at(0)["rulesensitives"].toArray()) {
            if (file["filepath"].toString() == tree + "/nested.tar.gz")
                QVERIFY2(file["sensitives"][0]["sensitive_ctx"].toString().startsWith("docs/inner.zip/报告.docx："),
                         qPrintable(file["sensitives"][0]["sensitive_ctx"].toString()));
        }

        // The bomb and the nesting were stopped and recorded with their reasons.
        const QMap<QString, QString> failed = failures(tree);
        QVERIFY2(failed.value(tree + "/bomb.zip").contains("compression ratio"), qPrintable(failed.value(tree + "/bomb.zip")));
        QVERIFY2(failed.value(tree + "/deep.zip").contains("nested deeper"), qPrintable(failed.value(tree + "/deep.zip")));
        QCOMPARE(failed.size(), 2);
        QVERIFY(serving());
    }

    void hostileFilesCostOnlyThemselves()
    {
        // Reading one file may take 8 seconds here; the busy PDF needs many times that.
        stopService();
        QVERIFY(startService({"--file-time-limit", "8"}));
        const QString tree = newTree();
        PrivacySamples samples(41);
        QStringList ids;
        for (int i = 0; i < 6; ++i)
            ids.append(samples.idNumber(QDate(1970 + i, 5, 5)));
        // A truncated PDF, a PDF that keeps the parser busy, a DOCX with an entity bomb.
        QVERIFY(SampleDocuments::writePdf(tree + "/truncated.pdf", {"身份证号 " + ids.at(0)}));
        QByteArray pdf = SampleDocuments::readFile(tree + "/truncated.pdf");
        QVERIFY(SampleDocuments::writeFile(tree + "/truncated.pdf", pdf.left(pdf.size() / 2)));
        QVERIFY(SampleDocuments::writeBusyPdf(tree + "/busy.pdf", 60000000));
        QByteArray bomb = "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"身份证号身份证号\">";
        for (char e = 'b', previous = 'a'; e <= 'j'; ++e, ++previous)
            bomb += QByteArray("<!ENTITY ") + e + " \"" + QByteArray("&") .append(previous).append(';').repeated(10) + "\">";
        bomb += "]><w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body><w:p><w:r><w:t>&j;</w:t></w:r></w:p></w:body></w:document>";
        QVERIFY(SampleDocuments::writeZip(tree + "/bomb.docx", {{"word/document.xml", bomb}}));
        // A 2 GB sparse file whose only data, at its end, holds an identity number.
        {
            QFile sparse(tree + "/sparse.txt");
            QVERIFY(sparse.open(QIODevice::WriteOnly));
            QVERIFY(sparse.seek((qint64(2) << 30) - 100));
            sparse.write(("\n身份证号 " + ids.at(1) + "\n").toUtf8());
        }
        // Invalid UTF-8 around an identity number.
        QVERIFY(SampleDocuments::writeFile(tree + "/invalid.txt", "\xc0\x80\xff 证件 " + ids.at(2).toLatin1() + " \xed\xa0\x80\n"));
        // File names holding a line break, "|" and markup.
        const QStringList names{"line\nbreak.txt", "pipe|name.txt", "<b>bold.txt"};
        for (int i = 0; i < names.size(); ++i)
            QVERIFY(SampleDocuments::writeFile(tree + "/" + names.at(i), ("证件 " + ids.at(3 + i)).toUtf8()));
        // A symbolic link loop and a FIFO.
        QVERIFY(QDir().mkpath(tree + "/sub"));
        QVERIFY(QFile::link(tree, tree + "/sub/loop"));
        QCOMPARE(::mkfifo(QFile::encodeName(tree + "/sub/pipe.txt").constData(), 0600), 0);
        const QString good = samples.idNumber(QDate(1999, 9, 9));
        QVERIFY(SampleDocuments::writeFile(tree + "/sub/good.txt", ("证件 " + good).toUtf8()));

        SignalLog log(tree);
        QCOMPARE(setTask(tree, privacyPolicy(), 3), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 120000);
        QCOMPARE(detail(tree, 3).TotalCount, 9);
        QCOMPARE(log.scanning.last().id, 9);

        // Every other file's hits are reported, under the file's exact name.
        const QMap<QString, QStringList> found = grouped(privacyDetail(tree, "身份标识").second).value("居民身份证号");
        QCOMPARE(found.value(tree + "/sparse.txt"), QStringList{ids.at(1)});
        QCOMPARE(found.value(tree + "/invalid.txt"), QStringList{ids.at(2)});
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(found.value(tree + "/" + names.at(i)), QStringList{ids.at(3 + i)});
        QCOMPARE(found.value(tree + "/sub/good.txt"), QStringList{good});
        QVERIFY(!found.contains(tree + "/busy.pdf"));
        QVERIFY(!found.contains(tree + "/bomb.docx"));

        // The parser that kept busy was stopped at its time limit; the entity bomb was refused.
        const QMap<QString, QString> failed = failures(tree);
        QVERIFY2(failed.value(tree + "/busy.pdf").contains("time limit"), qPrintable(failed.value(tree + "/busy.pdf")));
        QVERIFY2(failed.value(tree + "/bomb.docx").contains("damaged"), qPrintable(failed.value(tree + "/bomb.docx")));
        // And the service answers the next call.
        QVERIFY(serving());
        QCOMPARE(detail(tree, 3).Status, QStringLiteral("completed"));
        stopService();
        QVERIFY(startService());
    }

    void crashedReaderCostsOnlyItsFile()
    {
        const QString tree = newTree();
        QVERIFY(SampleDocuments::writeBusyPdf(tree + "/busy.pdf", 60000000));
        PrivacySamples samples(43);
        const QString id = samples.idNumber(QDate(1981, 3, 3));
        QVERIFY(SampleDocuments::writeFile(tree + "/z.txt", ("证件 " + id).toUtf8()));
        SignalLog log(tree);
        QCOMPARE(setTask(tree, privacyPolicy(), 3), 0);
        // The only document is the busy PDF: the worker that uses CPU time is reading it. Crash it.
        const qint64 service = m_service.processId();
        bool crashed = false;
        for (int attempt = 0; attempt < 600 && !crashed && !log.ended; ++attempt) {
            QTest::qWait(50);
            for (const QString &entry : QDir("/proc").entryList(QDir::Dirs)) {
                QFile stat("/proc/" + entry + "/stat");
                QFile cmdline("/proc/" + entry + "/cmdline");
                if (!entry.at(0).isDigit() || !stat.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly))
                    continue;
                const QList<QByteArray> fields = stat.readAll().split(')').value(1).trimmed().split(' ');
                // Fields after the name: state, parent, …; user time is the 12th of them.
                if (fields.size() > 12 && fields.at(1).toLongLong() == service && cmdline.readAll().contains("--extraction-worker")
                    && fields.at(11).toLongLong() > 20) {
                    crashed = ::kill(entry.toInt(), SIGSEGV) == 0;
                }
            }
        }
        QVERIFY(crashed);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 120000);
        const QMap<QString, QString> failed = failures(tree);
        QVERIFY2(failed.value(tree + "/busy.pdf").contains("crashed (signal 11"), qPrintable(failed.value(tree + "/busy.pdf")));
        QCOMPARE(grouped(privacyDetail(tree, "身份标识").second).value("居民身份证号").value(tree + "/z.txt"), QStringList{id});
        QVERIFY(serving());
    }

    void demoSamplesFillEveryCategory()
    {
        // The sample directory of scripts/run --demo: a privacy scan finds every one of the fourteen categories.
        const QString dir = m_work.path() + "/demo-sample";
        QProcess samples;
        samples.start(SAMPLE_FILES_BINARY, {dir});
        QVERIFY(samples.waitForFinished(60000));
        QCOMPARE(samples.exitCode(), 0);
        SignalLog log(dir);
        QCOMPARE(setTask(dir, privacyPolicy(), 3), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 60000);
        const QMap<QString, int> totals = log.privacyTotals();
        const QStringList categories{"身份标识", "宗教信仰", "医疗健康", "账户信息", "行踪轨迹", "未成年人信息", "法规隐私",
                                     "地理位置", "社会关系", "设备信息", "健康生理", "职业教育", "特殊群体", "金融消费"};
        for (const QString &category : categories) {
            QVERIFY2(totals.value(category) > 0, qPrintable(category));
            // The detail of each category holds as many hits as the signals counted.
            const QMap<QString, QMap<QString, QStringList>> rules = grouped(privacyDetail(dir, category).second);
            int hits = 0;
            for (const auto &files : rules)
                for (const QStringList &values : files)
                    hits += values.size();
            QCOMPARE(hits, totals.value(category));
        }
        QCOMPARE(totals.size(), 14); // and nothing but the fourteen
    }

    void unknownTasks()
    {
        QString error;
        detail("/no/such/task", 1, &error);
        QCOMPARE(error, QStringLiteral("com.vorel.dlp.TransControl.Error.UnknownTask"));
        QVERIFY(call("pause", "/no/such/task") != 0);
        QVERIFY(call("continue", "/no/such/task") != 0);
        QVERIFY(call("terminate", "/no/such/task") != 0);
        const auto document = keywordDetail("/no/such/task", "/no/such/task/a.txt");
        QVERIFY(document.first != 0);
        QCOMPARE(document.second.value("sensitives").toArray().size(), 0);
    }

    void badInputRefused_data()
    {
        QTest::addColumn<QString>("pathlist");
        QTest::addColumn<int>("tasktype");
        QTest::addColumn<int>("scanmode");
        QTest::addColumn<double>("batch");
        QTest::addColumn<QString>("policy");
        QTest::addColumn<int>("code");
        const QString top = newTree();
        const QString tree = top + "/kw";
        QDir().mkpath(tree);
        SampleDocuments::writeFile(tree + "/a.txt", "机密");
        const QString good = policyFor({"机密"});
        auto raw = [](const QByteArray &json) { return QString::fromLatin1(json.toBase64()); };
        QTest::newRow("policy not base64") << tree << 1 << 1 << 0.75 << "这不是Base64!" << 5;
        QTest::newRow("policy not json") << tree << 1 << 1 << 0.75 << raw("{\"version\": ") << 6;
        QTest::newRow("json without policies") << tree << 1 << 1 << 0.75 << raw("{\"version\":\"1.0.0\"}") << 7;
        QTest::newRow("policies of wrong type") << tree << 1 << 1 << 0.75 << raw("{\"version\":\"1.0.0\",\"policies\":\"x\"}") << 7;
        QTest::newRow("version of wrong type") << tree << 1 << 1 << 0.75
                                               << raw(QByteArray::fromBase64(good.toLatin1()).replace("\"1.0.0\"", "1")) << 7;
        QTest::newRow("pattern of wrong type") << tree << 1 << 1 << 0.75
                                               << raw(QByteArray::fromBase64(good.toLatin1()).replace("\"机密\"", "42")) << 7;
        QTest::newRow("relative path") << "relative/dir" << 1 << 1 << 0.75 << good << 10;
        QTest::newRow("missing path") << tree + "/missing" << 1 << 1 << 0.75 << good << 10;
        QTest::newRow("one bad entry of two") << tree + "|" + tree + "/missing" << 1 << 1 << 0.75 << good << 10;
        QTest::newRow("task type 2") << tree << 2 << 1 << 0.75 << good << 1;
        QTest::newRow("scan mode 3") << tree << 1 << 3 << 0.75 << good << 2;
        QTest::newRow("batch size 0") << tree << 1 << 1 << 0.0 << good << 3;
        QTest::newRow("batch size above 1") << tree << 1 << 1 << 1.5 << good << 3;
        QTest::newRow("no keyword") << tree << 1 << 1 << 0.75 << policyFor({}) << 8;
        // Beyond the caps that keep compiling the keywords to seconds.
        QStringList tooMany;
        for (int i = 0; i <= 20000; ++i)
            tooMany.append(QStringLiteral("词%1").arg(i));
        QTest::newRow("20001 keywords") << tree << 1 << 1 << 0.75 << policyFor(tooMany) << 9;
        QTest::newRow("keyword of 258 bytes") << tree << 1 << 1 << 0.75 << policyFor({QString(86, QChar(0x673A))}) << 9;
        QStringList heavy;
        for (int i = 0; i < 2100; ++i)
            heavy.append(QStringLiteral("%1").arg(i, 250, 10, QLatin1Char('k')));
        QTest::newRow("525000 bytes of keywords") << tree << 1 << 1 << 0.75 << policyFor(heavy) << 9;
        QStringList many;
        for (int i = 0; i < 10000; ++i)
            many.append(QStringLiteral("关键词%1").arg(i));
        many.append("机密");
        QTest::newRow("10000 keywords accepted") << tree << 1 << 1 << 0.75 << policyFor(many) << 0;
        QStringList entries;
        for (int i = 0; i < 1000; ++i) {
            entries.append(top + QStringLiteral("/many/p%1").arg(i));
            QDir().mkpath(entries.last());
        }
        SampleDocuments::writeFile(entries.last() + "/b.txt", "机密");
        QTest::newRow("1000 path entries accepted") << entries.join('|') << 1 << 1 << 0.75 << good << 0;
    }
    void badInputRefused()
    {
        QFETCH(QString, pathlist);
        QFETCH(int, tasktype);
        QFETCH(int, scanmode);
        QFETCH(double, batch);
        QFETCH(QString, policy);
        QFETCH(int, code);
        SignalLog log(pathlist);
        QCOMPARE(setTask(pathlist, policy, tasktype, scanmode, batch), code);
        QVERIFY(serving());
        if (code == 0) {
            QTRY_VERIFY_WITH_TIMEOUT(log.ended, 30000);
            QCOMPARE(log.detections.size(), 1);
            QCOMPARE(log.detections.first().value("机密").toInt(), 1);
        } else {
            QString error;
            detail(pathlist, tasktype, &error);
            QVERIFY(!error.isEmpty()); // nothing was started
        }
    }

    void replacedTaskDropsItsFindings()
    {
        const QString tree = newTree();
        QVERIFY(SampleDocuments::writeFile(tree + "/old.txt", "机密"));
        SignalLog first(tree);
        QCOMPARE(setTask(tree, policyFor({"机密"})), 0);
        QTRY_VERIFY(first.ended);
        QCOMPARE(keywordDetail(tree, tree + "/old.txt").first, 0);
        QVERIFY(QFile::remove(tree + "/old.txt"));
        QVERIFY(SampleDocuments::writeFile(tree + "/new.txt", "机密"));
        SignalLog second(tree);
        QCOMPARE(setTask(tree, policyFor({"机密"})), 0);
        QTRY_VERIFY(second.ended);
        QVERIFY(keywordDetail(tree, tree + "/old.txt").first != 0);
        QCOMPARE(keywordDetail(tree, tree + "/new.txt").first, 0);
    }

    void detailReplyHeldUntilCounted()
    {
        stopService();
        QVERIFY(startService({"--count-delay", "1500"}));
        const QString tree = newTree();
        for (int i = 0; i < 30; ++i)
            QVERIFY(SampleDocuments::writeFile(tree + QStringLiteral("/f%1.txt").arg(i), "x"));
        SignalLog log(tree);
        QCOMPARE(setTask(tree, policyFor({"机密"})), 0);
        // Asked at once, the reply waits for the total instead of giving 0.
        const ScanTaskDetailInfo info = detail(tree);
        QCOMPARE(info.TotalCount, 30);
        QTRY_VERIFY(log.ended);
        stopService();
        QVERIFY(startService());
    }

    void findingsSurviveRestart()
    {
        const QString tree = newTree();
        QVERIFY(SampleDocuments::writeFile(tree + "/kept.txt", "第一行\n机密在此\n"));
        SignalLog log(tree);
        QCOMPARE(setTask(tree, policyFor({"机密"})), 0);
        QTRY_VERIFY(log.ended);
        const auto before = keywordDetail(tree, tree + "/kept.txt");
        QCOMPARE(before.first, 0);
        stopService();
        QVERIFY(startService());
        const auto after = keywordDetail(tree, tree + "/kept.txt");
        QCOMPARE(after.first, 0);
        QCOMPARE(after.second, before.second);
        QCOMPARE(after.second.value("sensitives").toArray().first()["sensitive_ctx"].toString(), QStringLiteral("第一行\n机密在此\n"));
        const ScanTaskDetailInfo info = detail(tree);
        QCOMPARE(info.Status, QStringLiteral("completed"));
        QCOMPARE(info.TotalCount, 1);
        QCOMPARE(info.Progress, 1.0);
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(databasePath()).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
    }

    void otherUsersDenied()
    {
        const QString setpriv = QStandardPaths::findExecutable("setpriv");
        const QString gdbus = QStandardPaths::findExecutable("gdbus");
        if (::geteuid() != 0 || setpriv.isEmpty() || gdbus.isEmpty())
            QSKIP("needs root, setpriv and gdbus to call as another user");
        QProcess other;
        other.start(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups", gdbus, "call", "--system", "--dest", Service,
                              "--object-path", Path, "--method", Interface + ".SensitiveDiscoveryPauseScanTask", "/tmp", "1"});
        QVERIFY(other.waitForFinished(20000));
        QVERIFY(other.exitCode() != 0);
        QVERIFY2(other.readAllStandardError().contains("AccessDenied"), "expected an access-denied error");
        QVERIFY(serving());
    }

    // The findings database on a file system that fills up during the scan:
    // no detection of findings that were not committed, and the task fails
    // with a reason instead of completing.
    void fullDiskFailsTheTask()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to mount a small file system for the findings database");
        const QString small = m_work.path() + "/small";
        QVERIFY(QDir().mkpath(small));
        QProcess mount;
        mount.start("mount", {"-t", "tmpfs", "-o", "size=1m,mode=0700", "tmpfs", small});
        QVERIFY(mount.waitForFinished(10000));
        if (mount.exitCode() != 0)
            QSKIP(qPrintable("cannot mount a tmpfs here: " + QString::fromLocal8Bit(mount.readAllStandardError())));
        stopService();
        m_database = small + "/findings.db";
        const auto restore = qScopeGuard([this, small] {
            stopService();
            QProcess::execute("umount", {"-l", small});
            m_database.clear();
            startService();
        });
        QVERIFY(startService());
        // All but 128 KiB of the file system taken.
        QFile filler(small + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(64 * 1024, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        QVERIFY(filler.resize(qMax<qint64>(0, filler.size() - 128 * 1024)));

        const QString tree = newTree();
        const int files = 3000;
        for (int i = 0; i < files; ++i)
            QVERIFY(SampleDocuments::writeFile(tree + QStringLiteral("/f%1.txt").arg(i, 4, 10, QLatin1Char('0')),
                                               QStringLiteral("第%1份报告：这是机密，编号%1。\n").arg(i).toUtf8()));
        SignalLog log(tree);
        QCOMPARE(setTask(tree, policyFor({"机密"})), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 120000);
        QCOMPARE(detail(tree).Status, QStringLiteral("failed"));
        const QString reason = failureOf(tree);
        QVERIFY2(reason.contains("full"), qPrintable(reason));
        QVERIFY(log.detections.size() < files);
        for (auto it = log.detections.constBegin(); it != log.detections.constEnd(); ++it)
            QVERIFY2(keywordDetail(tree, it.key()).first == 0, qPrintable("detection without findings: " + it.key()));
        QCOMPARE(failureOf(newTree() + "/none"), QString()); // unknown task: code 12
        QVERIFY(serving());
    }

    // A service killed in the middle of a task: restarted, it still knows the
    // task's file total from the store.
    void totalsSurviveKill()
    {
        stopService();
        QVERIFY(startService({"--file-delay", "50"}));
        const auto restore = qScopeGuard([this] {
            stopService();
            startService();
        });
        const QString tree = newTree();
        for (int i = 0; i < 300; ++i)
            QVERIFY(SampleDocuments::writeFile(tree + QStringLiteral("/f%1.txt").arg(i), QByteArray(3000, 'x')));
        QCOMPARE(setTask(tree, policyFor({"机密"})), 0);
        const ScanTaskDetailInfo before = detail(tree);
        QCOMPARE(before.TotalCount, 300);
        QCOMPARE(before.Status, QStringLiteral("scanning"));
        QTRY_COMPARE(storedTotal(tree), 300); // committed, not merely counted
        QCOMPARE(::kill(m_service.processId(), SIGKILL), 0);
        QVERIFY(m_service.waitForFinished(10000));
        QVERIFY(startService());
        const ScanTaskDetailInfo after = detail(tree);
        QCOMPARE(after.Status, QStringLiteral("terminated"));
        QCOMPARE(after.TotalCount, 300);
        QCOMPARE(after.TotalSize, before.TotalSize);
    }

    // Keywords are compiled in the task's thread: a compilation that takes
    // longer than a bus call may wait (here 30 s) neither holds up the call
    // that made the task nor other callers, nor the service's shutdown.
    void keywordsCompiledOffTheBusThread()
    {
        stopService();
        QVERIFY(startService({"--compile-delay", "30000"}));
        const auto restore = qScopeGuard([this] {
            stopService();
            startService();
        });
        const QString tree = newTree();
        QVERIFY(SampleDocuments::writeFile(tree + "/a.txt", "机密"));
        QCOMPARE(setTask(tree, policyFor({"机密"})), 0);
        const QString other = newTree();
        QVERIFY(SampleDocuments::writeFile(other + "/b.txt", "手机号码：13812345678"));
        SignalLog log(other);
        QCOMPARE(setTask(other, privacyPolicy(), 3), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 20000);
        QCOMPARE(log.privacy.size(), 1);
        m_service.terminate();
        QVERIFY2(m_service.waitForFinished(10000), "SIGTERM waited for the compilation");
        QCOMPARE(m_service.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_service.exitCode(), 0);
    }

    // Tasks beyond the cap are refused with a code of their own, until one ends.
    void tooManyTasksRefused()
    {
        stopService();
        QVERIFY(startService({"--file-delay", "1000"}));
        QStringList trees;
        const auto restore = qScopeGuard([this, &trees] {
            for (const QString &tree : trees)
                call("terminate", tree);
            stopService();
            startService();
        });
        for (int i = 0; i <= Limits::MaxConcurrentTasks; ++i) {
            trees.append(newTree());
            for (int f = 0; f < 4; ++f)
                QVERIFY(SampleDocuments::writeFile(trees.last() + QStringLiteral("/f%1.txt").arg(f), "机密"));
        }
        for (int i = 0; i < Limits::MaxConcurrentTasks; ++i) {
            QCOMPARE(setTask(trees.at(i), policyFor({"机密"})), 0);
            QCOMPARE(call("pause", trees.at(i)), 0);
        }
        QCOMPARE(setTask(trees.last(), policyFor({"机密"})), 18);
        QCOMPARE(call("terminate", trees.first()), 0);
        // Accepted once the terminated task's threads have returned.
        int code = -1;
        QTRY_VERIFY_WITH_TIMEOUT(code == 0 || (code = setTask(trees.last(), policyFor({"机密"}))) == 0, 10000);
    }

    // Tasks that together have more threads than places for extraction
    // workers: the workers stay within the cap, and every document is read.
    void workerProcessesCapped()
    {
        stopService();
        QVERIFY(startService({"--file-delay", "20"}));
        const auto restore = qScopeGuard([this] {
            stopService();
            startService();
        });
        const int cap = Limits::WorkerProcessesPerCore * QThread::idealThreadCount();
        const int tasks = 3; // each with a thread per core
        QList<std::shared_ptr<SignalLog>> logs;
        for (int t = 0; t < tasks; ++t) {
            const QString tree = newTree();
            for (int f = 0; f < 30; ++f)
                QVERIFY(SampleDocuments::writeDocx(tree + QStringLiteral("/r%1.docx").arg(f), QStringLiteral("第%1段机密").arg(f), {}, QString(), QString()));
            logs.append(std::make_shared<SignalLog>(tree));
            QCOMPARE(setTask(tree, policyFor({"机密"}), 1, 1, 1.0), 0);
        }
        int most = 0;
        auto allEnded = [&] {
            return std::all_of(logs.begin(), logs.end(), [](const std::shared_ptr<SignalLog> &log) { return log->ended; });
        };
        QDeadlineTimer deadline(120000);
        while (!allEnded() && !deadline.hasExpired()) {
            most = std::max(most, liveWorkers());
            QTest::qWait(10);
        }
        QVERIFY(allEnded());
        qInfo("at most %d workers at once, cap %d", most, cap);
        QVERIFY2(most <= cap, qPrintable(QStringLiteral("%1 workers at once, cap %2").arg(most).arg(cap)));
        QVERIFY(most > 0);
        for (const auto &log : logs)
            QCOMPARE(log->detections.size(), 30);
    }

    // The service out of descriptors: files are tried again after a pause and
    // read once a descriptor is free; a file that never gets one is recorded
    // as such, never as unreadable.
    void tooManyOpenFilesRetried_data()
    {
        QTest::addColumn<int>("free");
        QTest::addColumn<int>("files");
        QTest::newRow("none free") << 0 << 3;
        QTest::newRow("one free for two threads") << 1 << 12;
    }
    void tooManyOpenFilesRetried()
    {
        QFETCH(int, free);
        QFETCH(int, files);
#ifdef __SANITIZE_ADDRESS__
        // The sanitizers' runtime in the service opens files of its own (its
        // type checks read the process's maps): without a free descriptor it
        // reports faults that are not there.
        QSKIP("the sanitizer runtime needs descriptors of its own");
#endif
        const auto restore = qScopeGuard([this] {
            stopService();
            startService();
        });
        // Entries that name files: the walk itself needs no descriptor. Files
        // of some megabytes, so that a thread holds its descriptor a while.
        const QString tree = newTree();
        QStringList entries;
        for (int i = 0; i < files; ++i) {
            entries.append(tree + QStringLiteral("/f%1.txt").arg(i));
            QVERIFY(SampleDocuments::writeFile(entries.last(), QByteArray(4 << 20, 'x') + "机密"));
        }
        const QString pathlist = entries.join('|');
        SignalLog log(pathlist);
        const rlimit limit{rlim_t(lowestFreeDescriptor() + free), rlim_t(lowestFreeDescriptor() + free)};
        QCOMPARE(::prlimit(m_service.processId(), RLIMIT_NOFILE, &limit, nullptr), 0);
        QCOMPARE(setTask(pathlist, policyFor({"机密"}), 1, 1, 1.0), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 60000);
        const QMap<QString, QString> failed = failures(pathlist, 1);
        if (free == 0) {
            QCOMPARE(log.detections.size(), 0);
            QCOMPARE(failed.size(), files);
            for (const QString &reason : failed)
                QCOMPARE(reason, QStringLiteral("too many open files"));
        } else {
            QCOMPARE(failed, (QMap<QString, QString>()));
            QCOMPARE(log.detections.size(), files);
        }
    }
};

QTEST_MAIN(TestScanServiceBus)
#include "tst_scanservice_bus.moc"
