// Retention of the history: runs started longer ago than the kept age are
// deleted with their findings (and wiped from the database file) when the
// service starts and once a day after.
#ifndef RUNRETENTION_H
#define RUNRETENTION_H

#include <QObject>
#include <QTimer>

class FindingsStore;

class RunRetention : public QObject
{
    Q_OBJECT

public:
    // keepDays 0 keeps every run.
    RunRetention(FindingsStore *store, int keepDays, QObject *parent = nullptr);

    // Deletes what is too old now, then again every Limits::RetentionIntervalMs.
    void start();
    // Deletes the runs started more than the kept age ago; returns how many, -1 on failure.
    int expire();

private:
    FindingsStore *m_store;
    int m_keepDays;
    QTimer m_timer;
};

#endif // RUNRETENTION_H
