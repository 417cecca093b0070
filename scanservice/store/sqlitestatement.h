// A prepared SQLite statement that finalizes itself, with Qt types in and
// out. (The findings store's writer keeps a private one of its own.)
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
    // SQLITE_ROW, SQLITE_DONE, or an error (also for a statement that did not prepare).
    int step() { return m_stmt ? sqlite3_step(m_stmt) : SQLITE_ERROR; }
    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QByteArray bytes(int column) const
    {
        return QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)),
                          sqlite3_column_bytes(m_stmt, column));
    }
    QString text(int column) const { return QString::fromUtf8(bytes(column)); }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

#endif // SQLITESTATEMENT_H
