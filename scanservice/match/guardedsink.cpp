#include "guardedsink.h"

bool GuardedSink::write(const char *utf8, std::size_t length)
{
    if (m_stop != Stop::None)
        return false;
    if (m_cancel && m_cancel->load(std::memory_order_relaxed)) {
        m_stop = Stop::Cancelled;
        return false;
    }
    if (m_deadline.hasExpired()) {
        m_stop = Stop::TimeLimit;
        return false;
    }
    if (m_textLimit >= 0 && static_cast<qint64>(m_total + length) > m_textLimit) {
        length = static_cast<std::size_t>(m_textLimit - static_cast<qint64>(m_total));
        m_stop = Stop::TextLimit;
    }
    if (length > 0) {
        m_total += length;
        take(utf8, length);
    }
    return m_stop == Stop::None;
}
