#ifndef SCANTASKDETAILINFO_H
#define SCANTASKDETAILINFO_H

#include <QDBusArgument>
#include <QMetaType>
#include <QString>

// Reply of the service's task query, marshalled as the bus structure (iisd).
struct ScanTaskDetailInfo
{
    int TotalCount = 0;   // files the task will scan; 0 or less while unknown
    int TotalSize = 0;    // total size of those files
    QString Status;       // the service's status text
    double Progress = 0;  // completion ratio; below 1 means unfinished

    bool operator==(const ScanTaskDetailInfo &other) const;

    // Registers the type with the meta-type system and its bus streaming
    // operators with the D-Bus type system. Safe to call more than once.
    static void registerMetaType();
};

Q_DECLARE_METATYPE(ScanTaskDetailInfo)

QDBusArgument &operator<<(QDBusArgument &argument, const ScanTaskDetailInfo &info);
const QDBusArgument &operator>>(const QDBusArgument &argument, ScanTaskDetailInfo &info);

#endif // SCANTASKDETAILINFO_H
