// The longest stall of the GUI thread's event loop, for the window benchmarks.
#ifndef STALLMETER_H
#define STALLMETER_H

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

// Measures the longest gap between two timeouts of a 1 ms timer on the
// thread that owns it: whatever blocks that thread's event loop shows as a gap.
class StallMeter : public QObject
{
public:
    StallMeter();
    // Starts afresh; tick, when given, runs at every timeout.
    void start(std::function<void()> tick = {});
    void stop();
    double longestMs() const { return m_longestNs / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
    qint64 m_longestNs = 0;
    std::function<void()> m_tick;
};

#endif // STALLMETER_H
