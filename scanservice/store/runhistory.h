// Reading the history of scan runs from the findings database: the runs,
// one run's summary and files not read, and everything an export of a run
// needs. A read-only connection of its own; writes (deleting runs) go
// through the findings store's writer.
#ifndef RUNHISTORY_H
#define RUNHISTORY_H

#include "runreport.h"

#include <QString>
#include <QVector>

#include <mutex>

struct sqlite3;

class RunHistory
{
public:
    enum class Lookup { Found, UnknownRun, Failed };

    explicit RunHistory(const QString &databasePath);
    ~RunHistory();
    RunHistory(const RunHistory &) = delete;
    RunHistory &operator=(const RunHistory &) = delete;

    // Opens the database the findings store has made; false with a reason.
    bool open(QString *error);

    // Every run, newest first; false when the database cannot be read.
    bool runs(QVector<RunReport::Run> *runs);
    Lookup run(qint64 id, RunReport::Run *run);
    Lookup notRead(qint64 id, QVector<RunReport::NotRead> *files);
    // The run, its findings and its files not read, read in one transaction;
    // the passages only when asked for (a summary needs the counts alone).
    Lookup report(qint64 id, RunReport *report, bool withPassages = true);

private:
    Lookup readRun(qint64 id, RunReport::Run *run);
    Lookup readNotRead(qint64 id, QVector<RunReport::NotRead> *files);

    QString m_path;
    sqlite3 *m_db = nullptr;
    std::mutex m_mutex;
};

#endif // RUNHISTORY_H
