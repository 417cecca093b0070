#ifndef SCANTASKDETAILINFO_H
#define SCANTASKDETAILINFO_H

#include <QDBusArgument>
#include <QMetaType>
#include <QString>

// The reply of the task query, the bus structure (iisd): file total, total
// size in KiB, status text and completion ratio.
struct ScanTaskDetailInfo
{
    int TotalCount = 0;
    int TotalSize = 0;
    QString Status;
    double Progress = 0;

    static void registerMetaType();
};

Q_DECLARE_METATYPE(ScanTaskDetailInfo)

QDBusArgument &operator<<(QDBusArgument &argument, const ScanTaskDetailInfo &info);
const QDBusArgument &operator>>(const QDBusArgument &argument, ScanTaskDetailInfo &info);

#endif // SCANTASKDETAILINFO_H
