#include "transcontrolprotocol.h"

#include <QDBusMetaType>

bool ScanTaskDetailInfo::operator==(const ScanTaskDetailInfo &other) const
{
    return TotalCount == other.TotalCount && TotalSize == other.TotalSize
        && Status == other.Status && Progress == other.Progress;
}

void ScanTaskDetailInfo::registerMetaType()
{
    qRegisterMetaType<ScanTaskDetailInfo>("ScanTaskDetailInfo");
    qDBusRegisterMetaType<ScanTaskDetailInfo>();
}

QDBusArgument &operator<<(QDBusArgument &argument, const ScanTaskDetailInfo &info)
{
    argument.beginStructure();
    argument << info.TotalCount << info.TotalSize << info.Status << info.Progress;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, ScanTaskDetailInfo &info)
{
    argument.beginStructure();
    argument >> info.TotalCount >> info.TotalSize >> info.Status >> info.Progress;
    argument.endStructure();
    return argument;
}
