#ifndef COMPOUNDFILE_H
#define COMPOUNDFILE_H

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

// A reader of OLE compound files (the container of .doc, .xls and .ppt):
// the header, the sector allocation tables, the directory and the streams,
// regular and mini. Every chain is checked against the file's size and for
// loops, so a damaged or hostile file fails cleanly.
class CompoundFile
{
public:
    // Reads the container's tables from an open file of the given size.
    bool open(int fd, qint64 size);
    bool contains(const QString &name) const { return m_streams.contains(name); }
    // The stream of that name (top-level streams; storages are flattened),
    // at most maxBytes long; false when it is missing or damaged.
    bool stream(const QString &name, QByteArray *data, qint64 maxBytes) const;
    QString error() const { return m_error; }

private:
    struct Entry
    {
        quint32 start = 0;
        quint64 size = 0;
    };

    bool readSector(quint32 sector, char *into) const;
    bool chain(const QVector<quint32> &table, quint32 start, qint64 limit, QVector<quint32> *sectors) const;
    bool fail(const QString &why)
    {
        m_error = why;
        return false;
    }

    int m_fd = -1;
    qint64 m_size = 0;
    int m_sectorSize = 512;
    int m_miniSectorSize = 64;
    quint32 m_miniCutoff = 4096;
    QVector<quint32> m_fat;
    QVector<quint32> m_miniFat;
    QByteArray m_miniStream;
    QHash<QString, Entry> m_streams;
    QString m_error;
};

#endif // COMPOUNDFILE_H
