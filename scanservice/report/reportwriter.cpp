// Export of a run into a caller's descriptor (see reportwriter.h).
#include "reportwriter.h"

#include "csvreport.h"
#include "htmlreport.h"
#include "jsonlinesreport.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

bool ReportWriter::parseFormat(const QString &name, Format *format)
{
    if (name == QLatin1String("csv"))
        *format = Format::Csv;
    else if (name == QLatin1String("jsonl"))
        *format = Format::JsonLines;
    else if (name == QLatin1String("html"))
        *format = Format::Html;
    else
        return false;
    return true;
}

QByteArray ReportWriter::render(const RunReport &report, Format format, bool masked)
{
    switch (format) {
    case Format::Csv:
        return CsvReport::render(report);
    case Format::JsonLines:
        return JsonLinesReport::render(report, masked);
    case Format::Html:
        return HtmlReport::render(report, masked);
    }
    return QByteArray();
}

bool ReportWriter::writeAll(int fd, const QByteArray &data, QString *error)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ((flags & O_ACCMODE) != O_WRONLY && (flags & O_ACCMODE) != O_RDWR)) {
        *error = QStringLiteral("the descriptor is not open for writing");
        return false;
    }
    // A pipe or socket is written as far as it takes without blocking, so
    // that a reader that stops cannot hold the service: poll, then write at
    // most what poll promised room for. A regular file takes large writes.
    struct stat st;
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const qint64 chunkLimit = regular ? qint64(1) << 20 : PIPE_BUF;
    qint64 done = 0;
    while (done < data.size()) {
        struct pollfd ready = {fd, POLLOUT, 0};
        const int polled = ::poll(&ready, 1, StallMs);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0) {
            *error = polled == 0 ? QStringLiteral("the descriptor took nothing for %1 s").arg(StallMs / 1000)
                                 : QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        const std::size_t chunk = static_cast<std::size_t>(std::min<qint64>(data.size() - done, chunkLimit));
        const ssize_t written = ::write(fd, data.constData() + done, chunk);
        if (written < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            *error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        done += written;
    }
    return true;
}
