// A prepared SQLite statement that finalizes itself, with Qt types in and
// out; the findings store's writer and the readers of its history use it.
#ifndef SQLITESTATEMENT_H
#define SQLITESTATEMENT_H

#include <QByteArray>
#include <QString>

#include <sqlite3.h>

class SqliteStatement
{
public:
    SqliteStatement(sqlite3 *db, const char *sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            m_stmt = nullptr;
    }
    ~SqliteStatement() { sqlite3_finalize(m_stmt); }
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    bool ok() const { return m_stmt != nullptr; }
    SqliteStatement &bind(int index, qint64 value)
    {
        sqlite3_bind_int64(m_stmt, index, value);
        return *this;
    }
    SqliteStatement &bind(int index, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_stmt, index, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
        return *this;
    }
    // Text already in UTF-8, which must outlive the step.
    SqliteStatement &bindUtf8(int index, const QByteArray &utf8)
    {
        sqlite3_bind_text(m_stmt, index, utf8.constData(), utf8.size(), SQLITE_STATIC);
        return *this;
    }
    // Bytes of any kind, which must outlive the step; none binds NULL.
    SqliteStatement &bindBlob(int index, const QByteArray &bytes)
    {
        if (bytes.isEmpty())
            sqlite3_bind_null(m_stmt, index);
        else
            sqlite3_bind_blob(m_stmt, index, bytes.constData(), bytes.size(), SQLITE_STATIC);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE, or an error (also for a statement that did not
    // prepare); an error's message is kept in lastStepError().
    int step()
    {
        const int result = m_stmt ? sqlite3_step(m_stmt) : SQLITE_ERROR;
        if (result != SQLITE_ROW && result != SQLITE_DONE && m_stmt)
            lastStepError() = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_stmt)));
        return result;
    }
    // Ready for the next use, without its bindings.
    void reset()
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    // This thread's last failed step: finalizing or resetting a statement
    // clears its connection's message, so the reason is kept here.
    static QString &lastStepError()
    {
        static thread_local QString error;
        return error;
    }
    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QByteArray bytes(int column) const
    {
        return QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)),
                          sqlite3_column_bytes(m_stmt, column));
    }
    QByteArray blob(int column) const
    {
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, column)), sqlite3_column_bytes(m_stmt, column));
    }
    QString text(int column) const { return QString::fromUtf8(bytes(column)); }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

#endif // SQLITESTATEMENT_H
