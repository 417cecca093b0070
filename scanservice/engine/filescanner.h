#ifndef FILESCANNER_H
#define FILESCANNER_H

#include "findingsstore.h"
#include "guardedsink.h"

#include <QVariantMap>

// What a task looks for in the text of a file, by task type: a sink that
// matches the text as the reader hands it on, and the findings made of its
// hits. One per scanning thread (it holds the thread's matcher scratch
// space); each file gets a fresh sink, which the task sets its limits on.
class FileScanner
{
public:
    virtual ~FileScanner() = default;

    // False when the thread's scratch space could not be had: nothing can be matched.
    virtual bool isValid() const = 0;
    // The sink of the next file; valid until the next call.
    virtual GuardedSink &startFile() = 0;
    // After the reader is done: settles the last hits; true when the file had any.
    virtual bool finishFile() = 0;
    // The file's findings for the store (all but the path) and the counts its
    // detection signal carries (keyword or privacy category -> hits).
    virtual void findings(FindingsStore::FileFindings *findings, QVariantMap *counts) const = 0;
};

#endif // FILESCANNER_H
