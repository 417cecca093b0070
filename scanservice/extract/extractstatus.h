#ifndef EXTRACTSTATUS_H
#define EXTRACTSTATUS_H

// How reading the text of one file ended.
enum class ExtractStatus {
    Ok,           // all text was read
    Stopped,      // the text sink stopped the reader (cancel, time or text limit)
    Unsupported,  // a file type the service does not read
    TooLarge,     // the file is above its size limit
    Unreadable,   // the file could not be opened or read
    Corrupt,      // the file is not what its type says, or is damaged
    Encrypted,    // the document is protected by a password
    LimitExceeded, // a container limit (part size, ratio, entries) was hit
    Failed,        // the reader crashed, was stopped at a time or memory limit, or could not be started
    NoDescriptors  // the service has too many open files (EMFILE, ENFILE): worth another try
};

#endif // EXTRACTSTATUS_H
