// The longest stall of the GUI thread's event loop, for the window benchmarks.
#include "stallmeter.h"

StallMeter::StallMeter()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const qint64 now = m_clock.nsecsElapsed();
        m_longestNs = qMax(m_longestNs, now - m_lastNs);
        m_lastNs = now;
        if (m_tick)
            m_tick();
    });
}

void StallMeter::start(std::function<void()> tick)
{
    m_tick = std::move(tick);
    m_longestNs = 0;
    m_clock.start();
    m_lastNs = 0;
    m_timer.start();
}

void StallMeter::stop()
{
    m_timer.stop();
}
