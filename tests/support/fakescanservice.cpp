#include "fakescanservice.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QThread>

namespace {
const char *const ServiceName = "com.vorel.dlp.TransControl";
}

FakeScanService::FakeScanService()
{
    const QString program = qEnvironmentVariable("FAKE_SCAN_SERVICE");
    if (program.isEmpty()) {
        m_error = QStringLiteral("FAKE_SCAN_SERVICE is not set");
        return;
    }
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, {qEnvironmentVariable("DISCOVERY_DBUS_XML")});
    if (!m_process.waitForStarted(10000)) {
        m_error = m_process.errorString();
        return;
    }
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(10000)) {
            m_error = QStringLiteral("the fake scan service did not start");
            return;
        }
    }
    if (m_process.readLine().trimmed() != "ready") {
        m_error = QStringLiteral("the fake scan service did not report ready");
        return;
    }
    m_control = new QDBusInterface(QLatin1String(ServiceName), QStringLiteral("/com/vorel/dlp/FakeControl"),
                                   QStringLiteral("com.vorel.dlp.FakeControl"), QDBusConnection::systemBus());
}

FakeScanService::~FakeScanService()
{
    stop();
}

bool FakeScanService::isRunning() const
{
    return m_control && m_process.state() == QProcess::Running;
}

void FakeScanService::setReply(const QString &member, const QVariantList &values, int delayMs, int times)
{
    if (m_control)
        m_control->call(QStringLiteral("SetReply"), member, values, delayMs, times);
}

void FakeScanService::setRawReply(const QString &member, const QVariantList &values, int delayMs, int times)
{
    if (m_control)
        m_control->call(QStringLiteral("SetRawReply"), member, values, delayMs, times);
}

void FakeScanService::setError(const QString &member, const QString &name, const QString &message, int delayMs,
                               int times)
{
    if (m_control)
        m_control->call(QStringLiteral("SetError"), member, name, message, delayMs, times);
}

void FakeScanService::setDetailDocument(const QString &member, int files, int passages, int passageChars)
{
    if (m_control)
        m_control->call(QStringLiteral("SetDetailDocument"), member, files, passages, passageChars);
}

bool FakeScanService::setRuns(const QString &json)
{
    if (!m_control)
        return false;
    const QDBusReply<bool> reply = m_control->call(QStringLiteral("SetRuns"), json);
    return reply.isValid() && reply.value();
}

void FakeScanService::setNoReply(const QString &member, int times)
{
    if (m_control)
        m_control->call(QStringLiteral("SetNoReply"), member, times);
}

QList<FakeScanService::Call> FakeScanService::calls(const QString &member) const
{
    QList<Call> result;
    if (!m_control)
        return result;
    const QDBusReply<int> count = m_control->call(QStringLiteral("CallCount"));
    for (int i = 0; i < count.value(); ++i) {
        const QDBusMessage reply = m_control->call(QStringLiteral("Call"), i);
        const QVariantList out = reply.arguments();
        if (out.size() != 3)
            continue;
        Call call{out.at(0).toString(), out.at(1).toString(), qdbus_cast<QVariantList>(out.at(2))};
        if (member.isEmpty() || call.member == member)
            result << call;
    }
    return result;
}

void FakeScanService::clearCalls()
{
    if (m_control)
        m_control->call(QStringLiteral("ClearCalls"));
}

void FakeScanService::reset()
{
    if (m_control)
        m_control->call(QStringLiteral("Reset"));
}

bool FakeScanService::emitSignal(const QString &name, const QVariantList &arguments)
{
    if (!m_control)
        return false;
    const QDBusReply<bool> sent = m_control->call(QStringLiteral("Emit"), name, arguments);
    return sent.isValid() && sent.value();
}

void FakeScanService::stop()
{
    delete m_control;
    m_control = nullptr;
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished();
    }
    // Wait until the bus has noticed, so that the next call sees the name gone.
    QDBusConnectionInterface *bus = QDBusConnection::systemBus().interface();
    QElapsedTimer timer;
    timer.start();
    while (bus && bus->isServiceRegistered(QLatin1String(ServiceName)) && timer.elapsed() < 5000)
        QThread::msleep(10);
}
