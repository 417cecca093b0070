#ifndef LOGCAPTURE_H
#define LOGCAPTURE_H

#include <QMutex>
#include <QStringList>
#include <QtGlobal>

// Collects every message while it lives (from any thread), and passes all but
// debug messages on to the handler that was installed before it.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();

    // The messages so far, which are then forgotten.
    static QStringList take();
    static bool contains(const QString &piece);

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message);

    static QMutex s_mutex;
    static QStringList s_lines;
    static QtMessageHandler s_previous;
};

#endif // LOGCAPTURE_H
