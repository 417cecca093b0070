#include "idlemonitor.h"

#include "scanlimits.h"
#include "workerprocess.h"

#include <QFile>

#include <unistd.h>

namespace {
// User and system time of a process, with those of its waited-for children, in clock ticks.
qint64 processTicks(const QByteArray &statPath, bool withChildren)
{
    QFile file(QString::fromLatin1(statPath));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = file.readAll();
    // The fields after the command name, which is in parentheses and may hold anything.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    // state(0) ppid … utime(11) stime(12) cutime(13) cstime(14)
    if (fields.size() < 15)
        return 0;
    qint64 ticks = fields.at(11).toLongLong() + fields.at(12).toLongLong();
    if (withChildren)
        ticks += fields.at(13).toLongLong() + fields.at(14).toLongLong();
    return ticks;
}
} // namespace

IdleMonitor::IdleMonitor(const QString &fakeIdleFile, QObject *parent)
    : QObject(parent)
    , m_fakeFile(fakeIdleFile)
{
    m_timer.setInterval(Limits::IdleSampleMs);
    connect(&m_timer, &QTimer::timeout, this, &IdleMonitor::sample);
    m_timer.start();
    sample();
}

qint64 IdleMonitor::ownTicks()
{
    qint64 ticks = processTicks("/proc/self/stat", true);
    for (pid_t pid : WorkerProcess::livePids())
        ticks += processTicks("/proc/" + QByteArray::number(pid) + "/stat", false);
    return ticks;
}

void IdleMonitor::sample()
{
    if (!m_fakeFile.isEmpty()) {
        QFile file(m_fakeFile);
        bool ok = false;
        const int percent = file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt(&ok) : -1;
        m_percent = ok ? percent : -1;
        m_idle = ok && percent >= Limits::IdleSharePercent;
        return;
    }
    QFile stat(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> cpu = stat.readLine().simplified().split(' ');
    // cpu user nice system idle iowait irq softirq steal …
    if (cpu.size() < 6 || cpu.first() != "cpu")
        return;
    Sample now{0, cpu.at(4).toLongLong() + cpu.at(5).toLongLong(), ownTicks()};
    for (int i = 1; i < cpu.size() && i <= 8; ++i)
        now.total += cpu.at(i).toLongLong();
    m_samples.push_back(now);
    const std::size_t keep = static_cast<std::size_t>(Limits::IdleWindowMs / Limits::IdleSampleMs) + 1;
    while (m_samples.size() > keep)
        m_samples.pop_front();
    if (m_samples.size() < keep) {
        m_idle = false; // not enough seen yet
        return;
    }
    const Sample &first = m_samples.front();
    const qint64 total = now.total - first.total;
    if (total <= 0)
        return;
    const qint64 idle = qBound<qint64>(0, (now.idle - first.idle) + (now.own - first.own), total);
    const int percent = static_cast<int>(idle * 100 / total);
    m_percent = percent;
    m_idle = percent >= Limits::IdleSharePercent;
}
