#include "fakescanservice.h"
#include "privatebus.h"
#include "transcontrolprotocol.h"
#include "sensitivescaninterface.h"
#include "servicecall.h"

#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QFile>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QTest>
#include <QXmlStreamReader>

#include <memory>

namespace {
const QString Service = QStringLiteral("com.vorel.dlp.TransControl");
const QString Path = QStringLiteral("/com/vorel/dlp/TransControl");
const QString Interface = QStringLiteral("com.vorel.dlp.TransControlInterface");
} // namespace

class TestScanServiceLink : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeScanService> m_fake;
    std::unique_ptr<SensitiveScanInterface> m_proxy;

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->errorString()));
        m_fake = std::make_unique<FakeScanService>();
        QVERIFY2(m_fake->isRunning(), qPrintable(m_fake->errorString()));
        m_proxy = std::make_unique<SensitiveScanInterface>(Service, Path, Interface, QDBusConnection::systemBus());
        QVERIFY(m_proxy->isValid());
    }
    void init()
    {
        m_fake->reset();
    }
    void cleanupTestCase()
    {
        m_proxy.reset();
        m_fake.reset();
        m_bus.reset();
    }

    void methodsReachServiceWithExactSignature_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QVariantList>("expected");
        const QString many = QStringLiteral("/home/a|/home/b c|/srv/数据");
        QTest::newRow("set") << "SensitiveDiscoverySetScanTask" << "siissds"
                             << QVariantList{many, 1, 4, QString(), QString(), 0.75, QStringLiteral("eyJhIjoxfQ==")};
        QTest::newRow("detail") << "SensitiveDiscoveryGetScanTaskDetail" << "si" << QVariantList{QStringLiteral("/"), 3};
        QTest::newRow("terminate") << "SensitiveDiscoveryTerminateScanTask" << "si" << QVariantList{many, 1};
        QTest::newRow("pause") << "SensitiveDiscoveryPauseScanTask" << "si" << QVariantList{many, 3};
        QTest::newRow("continue") << "SensitiveDiscoveryContinueScanTask" << "si" << QVariantList{many, 1};
        QTest::newRow("keyword detail") << "SensitiveDiscoveryGetKeywordDetectedDetail" << "sis"
                                        << QVariantList{many, 1, QStringLiteral("/home/a/报告.docx")};
        QTest::newRow("dataid detail") << "SensitiveDiscoveryGetDataIdDetectedDetail" << "sis"
                                       << QVariantList{many, 3, QStringLiteral("身份标识")};
        QTest::newRow("failure") << "SensitiveDiscoveryGetScanTaskFailure" << "si" << QVariantList{many, 1};
    }
    void methodsReachServiceWithExactSignature()
    {
        QFETCH(QString, member);
        QFETCH(QString, signature);
        QFETCH(QVariantList, expected);
        const QString p = expected.at(0).toString();
        const int t = expected.at(1).toInt();
        QDBusPendingCall call = [&]() -> QDBusPendingCall {
            if (member == QLatin1String("SensitiveDiscoverySetScanTask"))
                return m_proxy->SensitiveDiscoverySetScanTask(p, t, expected.at(2).toInt(), QString(), QString(), 0.75,
                                                              expected.at(6).toString());
            if (member == QLatin1String("SensitiveDiscoveryGetScanTaskDetail"))
                return m_proxy->SensitiveDiscoveryGetScanTaskDetail(p, t);
            if (member == QLatin1String("SensitiveDiscoveryTerminateScanTask"))
                return m_proxy->SensitiveDiscoveryTerminateScanTask(p, t);
            if (member == QLatin1String("SensitiveDiscoveryPauseScanTask"))
                return m_proxy->SensitiveDiscoveryPauseScanTask(p, t);
            if (member == QLatin1String("SensitiveDiscoveryContinueScanTask"))
                return m_proxy->SensitiveDiscoveryContinueScanTask(p, t);
            if (member == QLatin1String("SensitiveDiscoveryGetKeywordDetectedDetail"))
                return m_proxy->SensitiveDiscoveryGetKeywordDetectedDetail(p, t, expected.at(2).toString());
            if (member == QLatin1String("SensitiveDiscoveryGetScanTaskFailure"))
                return m_proxy->SensitiveDiscoveryGetScanTaskFailure(p, t);
            return m_proxy->SensitiveDiscoveryGetDataIdDetectedDetail(p, t, expected.at(2).toString());
        }();
        call.waitForFinished();
        QVERIFY2(!call.isError(), qPrintable(call.error().message()));

        const auto calls = m_fake->calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().member, member);
        QCOMPARE(calls.first().signature, signature);
        QCOMPARE(calls.first().arguments.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(calls.first().arguments.at(i).userType(), expected.at(i).userType());
            QCOMPARE(calls.first().arguments.at(i), expected.at(i));
        }
    }

    void scanTaskDetailInfoRoundTrips_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("status");
        QTest::addColumn<double>("progress");
        QTest::newRow("unknown total") << 0 << 0 << "" << 0.0;
        QTest::newRow("running") << 1200 << 65536 << "scanning" << 0.999;
        QTest::newRow("finished") << 7 << 12 << "已完成" << 1.0;
        QTest::newRow("negative") << -1 << std::numeric_limits<int>::max() << "counting" << 0.25;
    }
    void scanTaskDetailInfoRoundTrips()
    {
        QFETCH(int, count);
        QFETCH(int, size);
        QFETCH(QString, status);
        QFETCH(double, progress);
        // In-process marshalling, as the bus type system sees it.
        ScanTaskDetailInfo in;
        in.TotalCount = count;
        in.TotalSize = size;
        in.Status = status;
        in.Progress = progress;
        QCOMPARE(QString::fromLatin1(QDBusMetaType::typeToSignature(qMetaTypeId<ScanTaskDetailInfo>())),
                 QStringLiteral("(iisd)"));
        QCOMPARE(QMetaType::type("ScanTaskDetailInfo"), qMetaTypeId<ScanTaskDetailInfo>());

        // Over the bus: the fake replies with the structure, the proxy reads it back.
        m_fake->setReply(QStringLiteral("SensitiveDiscoveryGetScanTaskDetail"), {count, size, status, progress});
        ScanTaskDetailInfo out;
        QVERIFY(ServiceCall::waitForTaskDetail(m_proxy->SensitiveDiscoveryGetScanTaskDetail(QStringLiteral("/"), 1),
                                               QString(), &out));
        QCOMPARE(out, in);
    }

    void returnCodes_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("success");
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("one") << "1" << false;
        QTest::newRow("negative") << "-5" << false;
        QTest::newRow("bus error") << "error" << false;
        QTest::newRow("wrong type") << "string" << false;
    }
    void returnCodes()
    {
        QFETCH(QString, kind);
        QFETCH(bool, success);
        const QString method = QStringLiteral("SensitiveDiscoveryPauseScanTask");
        if (kind == QLatin1String("error"))
            m_fake->setError(method, QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"), QStringLiteral("no"));
        else if (kind == QLatin1String("string"))
            m_fake->setRawReply(method, {QStringLiteral("0")});
        else
            m_fake->setReply(method, {kind.toInt()});
        QCOMPARE(ServiceCall::waitForSuccess(m_proxy->SensitiveDiscoveryPauseScanTask(QStringLiteral("/x"), 1), method,
                                             QStringLiteral("/x")),
                 success);
    }

    void wrongTypedTaskDetailReadsAsZero()
    {
        m_fake->setRawReply(QStringLiteral("SensitiveDiscoveryGetScanTaskDetail"), {12, 34, QStringLiteral("s"), 0.5});
        ScanTaskDetailInfo out;
        out.TotalCount = 99;
        out.Status = QStringLiteral("stale");
        QVERIFY(!ServiceCall::waitForTaskDetail(m_proxy->SensitiveDiscoveryGetScanTaskDetail(QStringLiteral("/"), 1),
                                                QStringLiteral("/"), &out));
        QCOMPARE(out, ScanTaskDetailInfo());
    }

    void delayedReplyIsWaitedFor()
    {
        m_fake->setReply(QStringLiteral("SensitiveDiscoverySetScanTask"), {0}, 300, 1);
        QVERIFY(ServiceCall::waitForSuccess(
            m_proxy->SensitiveDiscoverySetScanTask(QStringLiteral("/a"), 1, 1, QString(), QString(), 0.75, QString()),
            QStringLiteral("SensitiveDiscoverySetScanTask"), QStringLiteral("/a")));
        // The count is used up: the next call gets the default again, and a script of 1 then 1.
        m_fake->setReply(QStringLiteral("SensitiveDiscoverySetScanTask"), {1}, 0, 1);
        QVERIFY(!ServiceCall::waitForSuccess(
            m_proxy->SensitiveDiscoverySetScanTask(QStringLiteral("/a"), 1, 1, QString(), QString(), 0.75, QString()),
            QStringLiteral("SensitiveDiscoverySetScanTask"), QStringLiteral("/a")));
        QVERIFY(ServiceCall::waitForSuccess(
            m_proxy->SensitiveDiscoverySetScanTask(QStringLiteral("/a"), 1, 1, QString(), QString(), 0.75, QString()),
            QStringLiteral("SensitiveDiscoverySetScanTask"), QStringLiteral("/a")));
    }

    // Counted answers are used up first, whatever the standing answer is.
    void countedScriptsComeBeforeTheStandingOne()
    {
        const QString method = QStringLiteral("SensitiveDiscoveryContinueScanTask");
        m_fake->setReply(method, {0});
        m_fake->setReply(method, {7}, 0, 2);
        m_fake->setReply(method, {8}, 0, 1);
        QList<int> codes;
        for (int i = 0; i < 5; ++i) {
            QDBusPendingReply<int> reply = m_proxy->SensitiveDiscoveryContinueScanTask(QStringLiteral("/c"), 1);
            reply.waitForFinished();
            codes << reply.value();
        }
        QCOMPARE(codes, (QList<int>{7, 7, 8, 0, 0}));
        // A new standing answer replaces the old one.
        m_fake->setReply(method, {3});
        QDBusPendingReply<int> reply = m_proxy->SensitiveDiscoveryContinueScanTask(QStringLiteral("/c"), 1);
        reply.waitForFinished();
        QCOMPARE(reply.value(), 3);
    }

    void detailRepliesAreWatched()
    {
        const QString doc = QStringLiteral("{\"filepath\":\"/a/b.txt\",\"sensitives\":[]}");
        m_fake->setReply(QStringLiteral("SensitiveDiscoveryGetKeywordDetectedDetail"), {0, doc}, 100);
        QDBusPendingReply<int, QString> reply =
            m_proxy->SensitiveDiscoveryGetKeywordDetectedDetail(QStringLiteral("/a"), 1, QStringLiteral("/a/b.txt"));
        QDBusPendingCallWatcher watcher(reply);
        QSignalSpy finished(&watcher, &QDBusPendingCallWatcher::finished);
        QVERIFY(finished.wait(10000));
        QVERIFY(!reply.isError());
        QCOMPARE(reply.argumentAt<0>(), 0);
        QCOMPARE(reply.argumentAt<1>(), doc);
    }

    // The proxy's proxySlots, in meta-object order, are the XML's methods in
    // document order, with the same argument and reply signatures.
    void proxyMatchesInterfaceXml()
    {
        QFile file(qEnvironmentVariable("DISCOVERY_DBUS_XML"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        struct Method { QString name, in, out; };
        QList<Method> methods;
        QStringList signalNames;
        QXmlStreamReader xml(&file);
        bool inInterface = false;
        Method *current = nullptr;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("interface"))
                inInterface = xml.attributes().value(QLatin1String("name")) == Interface;
            if (!inInterface || !xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("method")) {
                methods.append({xml.attributes().value(QLatin1String("name")).toString(), QString(), QString()});
                current = &methods.last();
            } else if (xml.name() == QLatin1String("signal")) {
                signalNames << xml.attributes().value(QLatin1String("name")).toString();
                current = nullptr;
            } else if (xml.name() == QLatin1String("arg") && current) {
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                if (xml.attributes().value(QLatin1String("direction")) == QLatin1String("out"))
                    current->out += type;
                else
                    current->in += type;
            }
        }
        QVERIFY(!xml.hasError());
        QCOMPARE(methods.size(), 8);
        QCOMPARE(signalNames, (QStringList{QStringLiteral("SensitiveDiscoveryKeywordScanningFile"),
                                            QStringLiteral("SensitiveDiscoveryKeywordDetected"),
                                            QStringLiteral("SensitiveDiscoveryDataIdScanningFile"),
                                            QStringLiteral("SensitiveDiscoveryDataIdDetected")}));

        const QMetaObject &meta = SensitiveScanInterface::staticMetaObject;
        QList<QMetaMethod> proxySlots;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
            if (meta.method(i).methodType() == QMetaMethod::Slot)
                proxySlots << meta.method(i);
        QCOMPARE(proxySlots.size(), methods.size());
        auto signatureOf = [](const QByteArray &typeName) {
            const int id = QMetaType::type(typeName.constData());
            return QString::fromLatin1(QDBusMetaType::typeToSignature(id));
        };
        for (int i = 0; i < methods.size(); ++i) {
            QCOMPARE(QString::fromLatin1(proxySlots.at(i).name()), methods.at(i).name);
            QString in;
            for (const QByteArray &type : proxySlots.at(i).parameterTypes())
                in += signatureOf(type);
            QCOMPARE(in, methods.at(i).in);
            // QDBusPendingReply<A, B> → the signatures of A and B.
            QByteArray ret = proxySlots.at(i).typeName();
            QVERIFY(ret.startsWith("QDBusPendingReply<") && ret.endsWith('>'));
            ret = ret.mid(18, ret.size() - 19);
            QString out;
            for (const QByteArray &type : ret.split(','))
                out += signatureOf(type.trimmed());
            QCOMPARE(out, methods.at(i).out);
        }
    }

    void introspectionOfServiceMatchesProxy()
    {
        // The fake serves the shared XML; the proxy finds every method there.
        QDBusMessage msg = QDBusMessage::createMethodCall(Service, Path, QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                                          QStringLiteral("Introspect"));
        const QDBusMessage reply = QDBusConnection::systemBus().call(msg);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        const QString xml = reply.arguments().value(0).toString();
        const QMetaObject &meta = SensitiveScanInterface::staticMetaObject;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
            QVERIFY2(xml.contains(QStringLiteral("<method name=\"%1\"").arg(QString::fromLatin1(meta.method(i).name()))),
                     meta.method(i).name().constData());
    }

    // Must run last: it stops the fake.
    void zzMissingServiceIsBusErrorNotHang()
    {
        m_fake->stop();
        QDBusPendingReply<int> reply =
            m_proxy->SensitiveDiscoveryTerminateScanTask(QStringLiteral("/a"), 1);
        reply.waitForFinished();
        QVERIFY(reply.isError());
        // An answer from the bus itself, not the reply timeout.
        QCOMPARE(reply.error().type(), QDBusError::ServiceUnknown);
        QVERIFY(!ServiceCall::waitForSuccess(m_proxy->SensitiveDiscoveryTerminateScanTask(QStringLiteral("/a"), 1),
                                             QStringLiteral("SensitiveDiscoveryTerminateScanTask"), QStringLiteral("/a")));
    }
};

QTEST_GUILESS_MAIN(TestScanServiceLink)
#include "tst_scanservicelink.moc"
