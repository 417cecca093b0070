// Retention of the history of runs (see runretention.h).
#include "runretention.h"

#include "findingsstore.h"
#include "scanlimits.h"

#include <QDateTime>
#include <QtDebug>

RunRetention::RunRetention(FindingsStore *store, int keepDays, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_keepDays(keepDays)
{
    m_timer.setInterval(Limits::RetentionIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &RunRetention::expire);
}

void RunRetention::start()
{
    if (m_keepDays <= 0)
        return;
    expire();
    m_timer.start();
}

int RunRetention::expire()
{
    QString error;
    const int expired = m_store->expireRuns(QDateTime::currentDateTime().addDays(-m_keepDays), &error);
    if (expired < 0)
        qWarning().noquote() << QStringLiteral("Runs older than %1 days could not be deleted: %2").arg(m_keepDays).arg(error);
    else if (expired > 0)
        qInfo().noquote() << QStringLiteral("%1 runs older than %2 days deleted").arg(expired).arg(m_keepDays);
    return expired;
}
