// The privacy detail document as the privacy detail dialog keeps it.
#ifndef PRIVACYDETAIL_H
#define PRIVACYDETAIL_H

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

struct SensitiveGroupDetail;

// A category's hits regrouped by file: the files in code-unit order of their
// paths; within a file, the hits of its rules in code-unit order of the rule
// names, each rule's in document order. Every passage is cut to the piece
// the dialog can show (PassageCut::kept).
struct PrivacyDetail
{
    struct Hit
    {
        int rule = 0; // index into ruleNames
        QString word;
        QString context;
    };
    struct File
    {
        QString path;
        std::vector<Hit> hits;
    };

    bool read = false; // false: no document (a failed call, not a JSON object)
    QStringList ruleNames;
    std::vector<File> files;
    // Hits over all rules and their files: a file listed under two rules
    // counts under both (files without hits get no entry but still count 0).
    qint64 total = 0;

    static PrivacyDetail fromGroup(const SensitiveGroupDetail &group);
    static PrivacyDetail fromDocument(const QJsonObject &root);
};

#endif // PRIVACYDETAIL_H
