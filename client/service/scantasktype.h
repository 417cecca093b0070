#ifndef SCANTASKTYPE_H
#define SCANTASKTYPE_H

// The task types the client creates. Together with the path list a task type
// names a task in every call to the scan service.
enum ScanTaskType {
    KeywordScanTask = 1, // keyword scan ("敏感词扫描")
    PrivacyScanTask = 3, // privacy scan ("隐私信息扫描")
};

#endif // SCANTASKTYPE_H
