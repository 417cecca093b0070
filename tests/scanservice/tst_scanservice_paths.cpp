// The paths the real service walks, opens and reports, on a private bus: a
// directory of the tree swapped for a link while the task runs, a tree
// deeper than PATH_MAX, and file names that are not UTF-8 (reported in the
// escaped form: a byte that is not UTF-8 as "\xHH").
#include "privatebus.h"
#include "sampledocuments.h"
#include "servicerun.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString Service = QStringLiteral("com.vorel.dlp.TransControl");
const QString Path = QStringLiteral("/com/vorel/dlp/TransControl");
const QString Interface = QStringLiteral("com.vorel.dlp.TransControlInterface");

QString policy(const QStringList &keywords)
{
    QJsonArray rules;
    for (const QString &keyword : keywords)
        rules.append(QJsonObject{{"name", "r"}, {"description", "d"}, {"exception", false},
                                 {"keywords", QJsonArray{QJsonObject{{"pattern", keyword}}}}});
    const QJsonObject detect{{"dataidentifier_detect_ruleset", false},
                             {"filetype_detect_ruleset", QJsonArray{QJsonObject{{"filetypes", QJsonArray{"txt"}}}}},
                             {"keyword_detect_ruleset", rules}};
    const QJsonObject root{{"version", "1.0.0"},
                           {"policies", QJsonArray{QJsonObject{
                                            {"ruleset", QJsonObject{{"detect_ruleset", detect},
                                                                    {"response_ruleset", QJsonArray{QJsonObject{{"action", "WriteDatabase"}}}}}}}}}};
    return QString::fromLatin1(QJsonDocument(root).toJson().toBase64());
}

// Writes a file below a directory descriptor's tree by a relative byte path.
bool writeAt(int dir, const QByteArray &relative, const QByteArray &content)
{
    const int fd = ::openat(dir, relative.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    ::close(fd);
    return written;
}
} // namespace

// The keyword signals of one path list.
class Signals : public QObject
{
    Q_OBJECT

public:
    explicit Signals(const QString &list)
        : pathlist(list)
    {
        QDBusConnection::systemBus().connect(Service, Path, Interface, "SensitiveDiscoveryKeywordScanningFile", this,
                                             SLOT(onScanning(QString, QString, int)));
        QDBusConnection::systemBus().connect(Service, Path, Interface, "SensitiveDiscoveryKeywordDetected", this,
                                             SLOT(onDetected(QString, QString, QVariantMap)));
    }
    QString pathlist;
    int latestId = 0;
    bool ended = false;
    QStringList scanned;
    QMap<QString, QVariantMap> detections;

public Q_SLOTS:
    void onScanning(const QString &list, const QString &path, int id)
    {
        if (list != pathlist)
            return;
        if (id == 0)
            ended = true;
        latestId = std::max(latestId, id);
        scanned.append(path);
    }
    void onDetected(const QString &list, const QString &path, const QVariantMap &counts)
    {
        if (list == pathlist)
            detections.insert(path, counts);
    }
};

class TestScanServicePaths : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    QTemporaryDir m_work;
    QProcess m_service;
    int m_tree = 0;

    QString databasePath() const { return m_work.path() + "/db/findings.db"; }
    bool startService(const QStringList &extra = {})
    {
        return ServiceRun::start(m_service, SCAN_SERVICE_BINARY, databasePath(), extra);
    }
    void stopService() { ServiceRun::stop(m_service); }
    QString newTree()
    {
        const QString dir = m_work.path() + QStringLiteral("/tree%1").arg(++m_tree);
        QDir().mkpath(dir);
        return dir;
    }
    int setTask(const QString &pathlist, const QStringList &keywords, double batch = 0.5)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, "SensitiveDiscoverySetScanTask");
        call << pathlist << 1 << 1 << QString() << QString() << batch << policy(keywords);
        const QDBusMessage reply = QDBusConnection::systemBus().call(call, QDBus::Block, 20000);
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toInt() : -1;
    }
    // The reply code and the words of the hits of a keyword detail query.
    QPair<int, QStringList> detail(const QString &pathlist, const QString &file)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, "SensitiveDiscoveryGetKeywordDetectedDetail");
        call << pathlist << 1 << file;
        const QDBusMessage reply = QDBusConnection::systemBus().call(call, QDBus::Block, 20000);
        if (reply.type() != QDBusMessage::ReplyMessage)
            return {-1, {}};
        const QJsonObject document = QJsonDocument::fromJson(reply.arguments().value(1).toString().toUtf8()).object();
        QStringList words;
        for (const QJsonValue &hit : document.value("sensitives").toArray())
            words.append(hit["sensitive"].toString());
        if (document.value("filepath").toString() != file)
            words.append("filepath differs: " + document.value("filepath").toString());
        return {reply.arguments().value(0).toInt(), words};
    }
    // file -> reason of the files the task recorded as not read.
    QMap<QString, QString> failures(const QString &pathlist) { return ServiceRun::failures(databasePath(), pathlist, 1); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        QVERIFY(startService());
    }
    void cleanupTestCase()
    {
        stopService();
        m_bus.reset();
        QProcess::execute("rm", {"-rf", m_work.path()}); // QDir cannot remove below PATH_MAX
    }

    // A user's directory inside the tree, walked already, is swapped for a
    // link to a directory the user cannot read while its files wait to be
    // scanned: the service reads nothing through the link and records the
    // files it could not open.
    void directorySwappedMidScan()
    {
        stopService();
        QVERIFY(startService({"--file-delay", "20"}));
        auto restore = qScopeGuard([this] {
            stopService();
            startService();
        });
        const QString tree = newTree();
        const QString secret = m_work.path() + "/root-only";
        QVERIFY(QDir().mkpath(tree + "/a"));
        QVERIFY(QDir().mkpath(tree + "/b/d/e"));
        QVERIFY(QDir().mkpath(tree + "/c"));
        QVERIFY(QDir().mkpath(secret + "/e"));
        QCOMPARE(::chmod(QFile::encodeName(secret).constData(), 0700), 0);
        // Walk order: a's 300 files, then b/d/x.txt (301) and b/d/e/y.txt (302), then c.
        for (int i = 0; i < 300; ++i)
            QVERIFY(SampleDocuments::writeFile(tree + QStringLiteral("/a/f%1.txt").arg(i, 3, 10, QLatin1Char('0')), "filler"));
        for (int i = 0; i < 50; ++i)
            QVERIFY(SampleDocuments::writeFile(tree + QStringLiteral("/c/g%1.txt").arg(i, 2, 10, QLatin1Char('0')), "filler"));
        QVERIFY(SampleDocuments::writeFile(tree + "/b/d/x.txt", "用户的机密"));
        QVERIFY(SampleDocuments::writeFile(tree + "/b/d/e/y.txt", "用户的机密"));
        QVERIFY(SampleDocuments::writeFile(secret + "/x.txt", "只有root能读的绝密"));
        QVERIFY(SampleDocuments::writeFile(secret + "/e/y.txt", "只有root能读的绝密"));

        Signals log(tree);
        QCOMPARE(setTask(tree, {"机密", "绝密"}, 0.01), 0);
        // One scanning thread: when it is at file 100 the walk, at most 256
        // files ahead, has queued x.txt and y.txt; they are opened near 301.
        QTRY_VERIFY_WITH_TIMEOUT(log.latestId >= 100, 60000);
        QVERIFY2(log.latestId < 280, "the scan went on too far before the swap");
        QVERIFY(QDir(tree + "/b").rename("d", "d.old"));
        QVERIFY(QFile::link(secret, tree + "/b/d"));
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 120000);

        for (auto it = log.detections.constBegin(); it != log.detections.constEnd(); ++it)
            QVERIFY2(!it.value().contains("绝密"), qPrintable("read through the link: " + it.key()));
        QVERIFY(log.detections.isEmpty());
        const QMap<QString, QString> failed = failures(tree);
        QCOMPARE(failed.value(tree + "/b/d/x.txt"), QStringLiteral("symbolic link not followed"));
        QCOMPARE(failed.value(tree + "/b/d/e/y.txt"), QStringLiteral("symbolic link not followed"));
    }

    // A file deeper than PATH_MAX is scanned, reported under its full path,
    // and its detail is there.
    void deeperThanPathMax()
    {
        const QString tree = newTree();
        int dir = ::open(QFile::encodeName(tree).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QVERIFY(dir >= 0);
        QString deep = tree;
        for (int level = 0; level < 200; ++level) {
            const QByteArray name = "directory-with-a-long-name-" + QByteArray::number(level);
            QCOMPARE(::mkdirat(dir, name.constData(), 0755), 0);
            const int next = ::openat(dir, name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(dir);
            dir = next;
            QVERIFY(dir >= 0);
            deep += '/' + QString::fromLatin1(name);
        }
        const bool written = writeAt(dir, "deep.txt", "深处的机密");
        ::close(dir);
        QVERIFY(written);
        deep += "/deep.txt";
        QVERIFY(deep.size() > PATH_MAX);

        Signals log(tree);
        QCOMPARE(setTask(tree, {"机密"}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 60000);
        QCOMPARE(log.detections.keys(), QStringList{deep});
        QCOMPARE(log.detections.value(deep), (QVariantMap{{"机密", 1}}));
        QCOMPARE(detail(tree, deep), qMakePair(0, QStringList{"机密"}));
    }

    // Names that differ only in bytes that are not UTF-8 (and a name that
    // spells such a byte's escape) are all reported, each under its own
    // path, and the detail of each path is that file's.
    void namesNotUtf8KeepTheirBytes()
    {
        const QString tree = newTree();
        const int dir = ::open(QFile::encodeName(tree).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QVERIFY(dir >= 0);
        const QList<QPair<QByteArray, QString>> files{
            {"caf\xE9.txt", "机密"},       // Latin-1 é
            {"caf\xE8.txt", "绝密"},       // Latin-1 è
            {"caf\xC3\xA9.txt", "文件"},   // é in UTF-8
            {"caf\\xE9.txt", "秘密"},     // a backslash, "xE9"
        };
        bool written = true;
        for (const auto &file : files)
            written = written && writeAt(dir, file.first, "这是" + file.second.toUtf8());
        ::close(dir);
        QVERIFY(written);

        Signals log(tree);
        QCOMPARE(setTask(tree, {"机密", "绝密", "文件", "秘密"}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 60000);
        const QMap<QString, QString> expected{{tree + "/caf\\xE9.txt", "机密"},
                                              {tree + "/caf\\xE8.txt", "绝密"},
                                              {tree + QStringLiteral("/café.txt"), "文件"},
                                              {tree + "/caf\\x5CxE9.txt", "秘密"}};
        QCOMPARE(log.detections.keys(), expected.keys());
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
            QCOMPARE(log.detections.value(it.key()), (QVariantMap{{it.value(), 1}}));
            QCOMPARE(detail(tree, it.key()), qMakePair(0, QStringList{it.value()}));
        }
    }

    // An entry of the path list given in the escaped form is the directory
    // of those bytes.
    void entryNotUtf8()
    {
        const QString tree = newTree();
        const QByteArray directory = QFile::encodeName(tree) + "/d\xFF";
        QCOMPARE(::mkdir(directory.constData(), 0755), 0);
        const int dir = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QVERIFY(dir >= 0);
        const bool written = writeAt(dir, "f.txt", "机密");
        ::close(dir);
        QVERIFY(written);
        const QString entry = tree + "/d\\xFF";
        Signals log(entry);
        QCOMPARE(setTask(entry, {"机密"}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(log.ended, 60000);
        QCOMPARE(log.detections.keys(), QStringList{entry + "/f.txt"});
        QCOMPARE(detail(entry, entry + "/f.txt"), qMakePair(0, QStringList{"机密"}));
    }
};

QTEST_MAIN(TestScanServicePaths)
#include "tst_scanservice_paths.moc"
