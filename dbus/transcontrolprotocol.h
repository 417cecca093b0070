#ifndef TRANSCONTROLPROTOCOL_H
#define TRANSCONTROLPROTOCOL_H

#include <QDBusArgument>
#include <QMetaType>
#include <QString>

// The values the client and the scan service agree on beyond the signatures
// of com.vorel.dlp.TransControlInterface.xml, which stays the one
// description of the interface: the task types, the return codes of the
// integer replies and the record of the task query. Both sides include this
// header; the service's README documents the codes.

// Where the service is found on the system bus.
namespace TransControl {
constexpr char ServiceName[] = "com.vorel.dlp.TransControl";
constexpr char ObjectPath[] = "/com/vorel/dlp/TransControl";
constexpr char ReportsInterface[] = "com.vorel.dlp.TransControlReports";
} // namespace TransControl

// The task types. Together with the path list a task type names a task in
// every call.
enum ScanTaskType {
    KeywordScanTask = 1, // keyword scan ("敏感词扫描")
    PrivacyScanTask = 3, // privacy scan ("隐私信息扫描")
};

// Return codes of the service's integer replies. 0 is success; every other
// value names one reason.
namespace ReturnCode {
enum : int {
    Ok = 0,
    InvalidTaskType = 1,      // task type is neither 1 (keyword) nor 3 (privacy)
    InvalidScanMode = 2,      // scan mode is neither 1 (normal) nor 4 (idle time)
    InvalidBatchSize = 3,     // batch size outside (0, 1]
    InvalidTimeWindow = 4,    // begin or end time neither empty nor a date and time
    PolicyNotBase64 = 5,      // the policy is not standard Base64
    PolicyNotJson = 6,        // the decoded policy is not a JSON object
    PolicyInvalid = 7,        // members missing or of the wrong type
    PolicyNoKeywords = 8,     // a keyword task whose policy holds no non-empty keyword
    PolicyTooLarge = 9,       // too many keywords, too long a keyword or too large a policy
    InvalidPathList = 10,     // empty, relative, missing or unsuitable entry, or too many entries
    TaskBusy = 11,            // a task with the same path list and type is running or paused
    UnknownTask = 12,         // no task with this path list and type
    TaskEnded = 13,           // pause or continue of a task that has completed or was terminated
    FileNotFound = 14,        // the task holds no findings for that file
    InternalError = 15,       // the findings store or the matcher failed
    InvalidArgument = 16,     // a detail query with the wrong task type or an empty name
    NotAvailable = 17,        // no longer used (earlier versions had no privacy details)
    TooManyTasks = 18,        // the service's limit of running, paused or stopping tasks is reached
    // The reports interface
    UnknownRun = 19,          // no run with this number
    RunInProgress = 20,       // the run has not ended: it cannot be deleted
    InvalidFormat = 21,       // an export format other than csv, jsonl and html
    ExportFailed = 22,        // the descriptor is not open for writing, or writing into it failed
};
}

// The reply of the task query, the bus structure (iisd).
struct ScanTaskDetailInfo
{
    int TotalCount = 0;   // files the task will scan; 0 or less while unknown
    int TotalSize = 0;    // total size of those files in KiB
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

#endif // TRANSCONTROLPROTOCOL_H
