#ifndef RETURNCODES_H
#define RETURNCODES_H

// Return codes of the service's integer replies. 0 is success; every other
// value names one reason (documented in README.md).
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
    TooManyTasks = 18,        // Limits::MaxConcurrentTasks tasks are running, paused or stopping
    // The reports interface
    UnknownRun = 19,          // no run with this number
    RunInProgress = 20,       // the run has not ended: it cannot be deleted
    InvalidFormat = 21,       // an export format other than csv, jsonl and html
    ExportFailed = 22,        // the descriptor is not open for writing, or writing into it failed
};
}

#endif // RETURNCODES_H
