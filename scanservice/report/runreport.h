// One run of a scan task as the reports show it: the run, its findings per
// file and rule (or keyword) with their passages, and the files not read.
#ifndef RUNREPORT_H
#define RUNREPORT_H

#include <QString>
#include <QVector>

struct RunReport
{
    struct Run
    {
        qint64 id = 0;
        QString pathlist;
        int tasktype = 0;   // 1 keyword, 3 privacy
        int scanmode = 0;   // 1 normal, 4 idle time
        int keywords = 0;   // keyword runs: keywords sought
        QString ruleTable;  // privacy runs: the rule table's version
        QString started;    // ISO 8601, local time
        QString ended;      // empty while the run goes on
        QString outcome;    // "running", "completed", "cancelled" or "failed"
        QString failure;    // why a failed run failed
        qint64 filesTotal = 0;   // files the counting walk selected
        qint64 filesWalked = 0;  // files the scan walk handed over
        qint64 filesRead = 0;    // files read in full
        qint64 filesWithHits = 0;
        qint64 filesNotRead = 0; // not read, or only in part
    };
    struct Passage
    {
        QString value;   // the matched word or value
        QString context; // the text around it
    };
    // The hits of one rule (privacy) or keyword in one file.
    struct Finding
    {
        QString path;
        QString category; // privacy: the category; keyword runs: empty
        QString name;     // privacy: the rule; keyword runs: the keyword
        qint64 count = 0; // hits, exact
        QVector<Passage> passages; // those kept, in the order of the hits
    };
    struct NotRead
    {
        QString path;
        QString kind;   // the short reason: "unreadable", "damaged or not of its type", ...
        QString reason; // the detailed one
    };

    Run run;
    QVector<Finding> findings; // by file in scan order, then rule order (privacy) or keyword
    QVector<NotRead> notRead;

    static QString taskTypeName(int tasktype) { return tasktype == 3 ? QStringLiteral("privacy") : QStringLiteral("keyword"); }
};

#endif // RUNREPORT_H
