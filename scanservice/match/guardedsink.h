#ifndef GUARDEDSINK_H
#define GUARDEDSINK_H

#include "textsink.h"

#include <QDeadlineTimer>
#include <QtGlobal>

#include <atomic>
#include <cstddef>

// The text sink of one file with the checks every collector needs before it
// takes a piece: the task cancelled, the file's time used up, the file's
// text limit reached. A piece that crosses the text limit is cut there and
// taken; after any stop the reader is told to stop and nothing more is taken.
class GuardedSink : public TextSink
{
public:
    enum class Stop { None, Cancelled, TextLimit, TimeLimit };

    // Text beyond this many bytes is not taken (negative: no limit).
    void setTextLimit(qint64 bytes) { m_textLimit = bytes; }
    // Stops the reader as soon as *flag is true.
    void setCancelFlag(const std::atomic<bool> *flag) { m_cancel = flag; }
    void setDeadline(QDeadlineTimer deadline) { m_deadline = deadline; }

    bool write(const char *utf8, std::size_t length) final;

    Stop stopReason() const { return m_stop; }
    // Bytes taken so far, the piece being taken included.
    qint64 textBytes() const { return static_cast<qint64>(m_total); }

protected:
    // A piece within the limits, never empty; textBytes() already counts it.
    virtual void take(const char *utf8, std::size_t length) = 0;
    unsigned long long taken() const { return m_total; }

private:
    const std::atomic<bool> *m_cancel = nullptr;
    QDeadlineTimer m_deadline = QDeadlineTimer(QDeadlineTimer::Forever);
    qint64 m_textLimit = -1;
    Stop m_stop = Stop::None;
    unsigned long long m_total = 0;
};

#endif // GUARDEDSINK_H
