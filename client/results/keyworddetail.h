// The keyword detail document as the keyword detail dialog keeps it.
#ifndef KEYWORDDETAIL_H
#define KEYWORDDETAIL_H

#include "sensitiveitem.h"

#include <QJsonObject>
#include <QString>

#include <vector>

// One file's keyword hits, read from its detail document: every passage cut
// to the piece the dialog can show (PassageCut::kept), so a document of huge
// passages costs the dialog a bounded amount of memory per hit.
struct KeywordDetail
{
    bool read = false; // false: no document (a failed call, not a JSON object)
    QString filepath;
    std::vector<SensitiveItem> hits;
    // The file's hits in all: the document's "total" where it has one at
    // least as large as the passages kept, else the number of passages.
    qint64 total = 0;

    // Whether the service kept fewer passages than the file had hits.
    bool isPartial() const { return total > qint64(hits.size()); }

    static KeywordDetail fromDocument(const QJsonObject &root);
};

#endif // KEYWORDDETAIL_H
