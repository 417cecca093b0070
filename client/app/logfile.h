#ifndef LOGFILE_H
#define LOGFILE_H

#include <QMutex>
#include <QString>
#include <QtGlobal>

class QDateTime;

// The client's rotating log file. Every written message opens the file,
// appends one line "[time] [LEVEL] text (file:line)" and closes it again;
// debug messages are dropped before anything else happens. Before each line
// the file is rotated when it is larger than the threshold, and at most
// `retention` files named like it are kept in its directory. Writing and
// rotation are serialised, so lines from several threads never interleave.
// Any failure (directory, open, rename, delete) loses silently; a file
// without a path writes nothing.
class LogFile
{
public:
    static constexpr qint64 DefaultThreshold = 10485760;
    static constexpr int DefaultRetention = 30;
    static const char *const DefaultPath;

    explicit LogFile(const QString &path, qint64 threshold = DefaultThreshold, int retention = DefaultRetention);

    QString path() const { return m_path; }
    qint64 threshold() const { return m_threshold; }
    int retention() const { return m_retention; }

    void write(QtMsgType type, const QMessageLogContext &context, const QString &message);
    void rotate();

    static QString levelWord(QtMsgType type);
    static QString formatLine(QtMsgType type, const QMessageLogContext &context, const QString &message,
                              const QDateTime &time);

    // The product's log file, at its fixed path (DefaultPath).
    static LogFile *product();
    // The file that logMessageHandler writes to: the one set last, which the
    // program's entry point sets to product(); until then (and after
    // setCurrent(nullptr)) a file without a path, which writes nothing.
    static LogFile *current();
    static void setCurrent(LogFile *file);

private:
    void rotateLocked();

    const QString m_path;
    const qint64 m_threshold;
    const int m_retention;
    QRecursiveMutex m_mutex;
};

// Installed with qInstallMessageHandler: writes through LogFile::current().
void logMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message);
// Rotates LogFile::current(); logMessageHandler calls it before each line.
void rotateLogFile();

#endif // LOGFILE_H
