#include "logfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <atomic>

const char *const LogFile::DefaultPath = "/opt/tavex-control-discovery-client/log/tavex-control-discovery-client.log";

namespace {
std::atomic<LogFile *> g_current{nullptr};

// Until the entry point chooses a file, lines go nowhere: a test that logs
// never writes the product's log by accident.
LogFile &unchosenLogFile()
{
    static LogFile file{QString()};
    return file;
}
} // namespace

LogFile::LogFile(const QString &path, qint64 threshold, int retention)
    : m_path(path), m_threshold(threshold), m_retention(retention)
{
}

QString LogFile::levelWord(QtMsgType type)
{
    switch (type) {
    case QtWarningMsg:
        return QStringLiteral("WARN");
    case QtCriticalMsg:
        return QStringLiteral("ERROR");
    case QtFatalMsg:
        return QStringLiteral("FATAL");
    case QtInfoMsg:
        return QStringLiteral("INFO");
    default:
        return QStringLiteral("UNKNOWN");
    }
}

QString LogFile::formatLine(QtMsgType type, const QMessageLogContext &context, const QString &message,
                            const QDateTime &time)
{
    // One substitution for all five fields: a message that itself holds "%2"
    // or "%4" must reach the file as it stands.
    return QStringLiteral("[%1] [%2] %3 (%4:%5)")
        .arg(time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), levelWord(type), message,
             context.file ? QString::fromUtf8(context.file) : QStringLiteral("unknown"), QString::number(context.line));
}

void LogFile::write(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || int(type) < 0)
        return;

    if (m_path.isEmpty())
        return;
    QMutexLocker locker(&m_mutex);
    rotateLocked();
    const QString line = formatLine(type, context, message, QDateTime::currentDateTime());

    const QString dir = QFileInfo(m_path).absolutePath();
    if (!QFileInfo::exists(dir))
        QDir().mkpath(dir);

    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    stream << line << '\n';
    stream.flush();
    file.close();
}

void LogFile::rotate()
{
    QMutexLocker locker(&m_mutex);
    rotateLocked();
}

void LogFile::rotateLocked()
{
    if (m_path.isEmpty())
        return;
    QFileInfo info(m_path);
    if (!info.exists())
        return;

    if (info.size() > m_threshold) {
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_hh:mm:ss"));
        QFile::rename(m_path, m_path + QLatin1Char('.') + stamp);
    }

    QDir dir = info.absoluteDir();
    QFileInfoList files = dir.entryInfoList(QStringList{info.fileName() + QLatin1Char('*')}, QDir::Files, QDir::Time);
    while (files.size() > m_retention) {
        QFile::remove(files.takeLast().absoluteFilePath());
    }
}

LogFile *LogFile::current()
{
    LogFile *file = g_current.load();
    return file ? file : &unchosenLogFile();
}

LogFile *LogFile::product()
{
    static LogFile file(QString::fromLatin1(LogFile::DefaultPath));
    return &file;
}

void LogFile::setCurrent(LogFile *file)
{
    g_current.store(file);
}

void logMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || int(type) < 0)
        return;
    LogFile::current()->write(type, context, message);
}

void rotateLogFile()
{
    LogFile::current()->rotate();
}
