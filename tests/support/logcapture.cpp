#include "logcapture.h"

QMutex LogCapture::s_mutex;
QStringList LogCapture::s_lines;
QtMessageHandler LogCapture::s_previous = nullptr;

LogCapture::LogCapture()
{
    s_previous = qInstallMessageHandler(&LogCapture::handle);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(s_previous);
}

QStringList LogCapture::take()
{
    QMutexLocker locker(&s_mutex);
    const QStringList lines = s_lines;
    s_lines.clear();
    return lines;
}

bool LogCapture::contains(const QString &piece)
{
    QMutexLocker locker(&s_mutex);
    for (const QString &line : qAsConst(s_lines)) {
        if (line.contains(piece))
            return true;
    }
    return false;
}

void LogCapture::handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        QMutexLocker locker(&s_mutex);
        s_lines << message;
    }
    if (type != QtDebugMsg && s_previous)
        s_previous(type, context, message);
}
