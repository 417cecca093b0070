#include "compoundfile.h"

#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {
constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr quint32 MaxRegular = 0xFFFFFFFA;

quint32 u32(const char *p) { return qFromLittleEndian<quint32>(p); }
quint16 u16(const char *p) { return qFromLittleEndian<quint16>(p); }
} // namespace

bool CompoundFile::readSector(quint32 sector, char *into) const
{
    const qint64 offset = (qint64(sector) + 1) * m_sectorSize;
    if (sector >= MaxRegular || offset + m_sectorSize > m_size + m_sectorSize)
        return false;
    qint64 done = 0;
    while (done < m_sectorSize) {
        const ssize_t got = ::pread(m_fd, into + done, static_cast<std::size_t>(m_sectorSize - done), offset + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            // The last sector of a file may be cut short.
            std::memset(into + done, 0, static_cast<std::size_t>(m_sectorSize - done));
            return done > 0 || offset < m_size;
        }
        done += got;
    }
    return true;
}

bool CompoundFile::chain(const QVector<quint32> &table, quint32 start, qint64 limit, QVector<quint32> *sectors) const
{
    sectors->clear();
    quint32 at = start;
    while (at != EndOfChain) {
        if (at >= static_cast<quint32>(table.size()) || sectors->size() > limit)
            return false; // out of the table, or a loop
        sectors->append(at);
        at = table.at(static_cast<int>(at));
    }
    return true;
}

bool CompoundFile::open(int fd, qint64 size)
{
    m_fd = fd;
    m_size = size;
    char header[512];
    if (size < 512 || ::pread(fd, header, sizeof header, 0) != sizeof header)
        return fail(QStringLiteral("too short"));
    static const unsigned char signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (std::memcmp(header, signature, 8) != 0 || u16(header + 0x1C) != 0xFFFE)
        return fail(QStringLiteral("not a compound file"));
    const int shift = u16(header + 0x1E);
    const int miniShift = u16(header + 0x20);
    if ((shift != 9 && shift != 12) || miniShift != 6)
        return fail(QStringLiteral("unknown sector size"));
    m_sectorSize = 1 << shift;
    m_miniSectorSize = 1 << miniShift;
    m_miniCutoff = u32(header + 0x38);
    const quint32 fatSectors = u32(header + 0x2C);
    const quint32 firstDirectory = u32(header + 0x30);
    const quint32 firstMiniFat = u32(header + 0x3C);
    const quint32 miniFatSectors = u32(header + 0x40);
    quint32 difatSector = u32(header + 0x44);
    const quint32 difatSectors = u32(header + 0x48);
    const qint64 sectorsInFile = size / m_sectorSize + 1;
    if (fatSectors > sectorsInFile || difatSectors > sectorsInFile || miniFatSectors > sectorsInFile)
        return fail(QStringLiteral("tables larger than the file"));

    // The sectors of the allocation table: 109 in the header, the rest in the DIFAT chain.
    QVector<quint32> fatList;
    for (int i = 0; i < 109 && fatList.size() < static_cast<int>(fatSectors); ++i)
        fatList.append(u32(header + 0x4C + 4 * i));
    QByteArray sector(m_sectorSize, Qt::Uninitialized);
    const int perSector = m_sectorSize / 4;
    for (quint32 n = 0; n < difatSectors && fatList.size() < static_cast<int>(fatSectors); ++n) {
        if (!readSector(difatSector, sector.data()))
            return fail(QStringLiteral("damaged sector table"));
        for (int i = 0; i < perSector - 1 && fatList.size() < static_cast<int>(fatSectors); ++i)
            fatList.append(u32(sector.constData() + 4 * i));
        difatSector = u32(sector.constData() + 4 * (perSector - 1));
    }
    m_fat.reserve(fatList.size() * perSector);
    for (quint32 s : fatList) {
        if (!readSector(s, sector.data()))
            return fail(QStringLiteral("damaged sector table"));
        for (int i = 0; i < perSector; ++i)
            m_fat.append(u32(sector.constData() + 4 * i));
    }

    // The directory.
    QVector<quint32> sectors;
    if (!chain(m_fat, firstDirectory, sectorsInFile, &sectors))
        return fail(QStringLiteral("damaged directory"));
    QByteArray directory;
    for (quint32 s : sectors) {
        if (!readSector(s, sector.data()))
            return fail(QStringLiteral("damaged directory"));
        directory.append(sector);
    }
    Entry root;
    bool haveRoot = false;
    for (int at = 0; at + 128 <= directory.size(); at += 128) {
        const char *e = directory.constData() + at;
        const int nameBytes = qMin<int>(u16(e + 0x40), 64);
        const int type = static_cast<unsigned char>(e[0x42]);
        if (type != 2 && type != 5)
            continue;
        Entry entry;
        entry.start = u32(e + 0x74);
        entry.size = m_sectorSize == 512 ? u32(e + 0x78) : qFromLittleEndian<quint64>(e + 0x78);
        if (type == 5 && !haveRoot) {
            root = entry;
            haveRoot = true;
            continue;
        }
        const QString name = QString::fromUtf16(reinterpret_cast<const char16_t *>(e), qMax(0, nameBytes / 2 - 1));
        if (!m_streams.contains(name))
            m_streams.insert(name, entry);
    }
    if (!haveRoot)
        return fail(QStringLiteral("no root entry"));

    // The mini stream and its allocation table.
    if (miniFatSectors > 0 && root.size > 0) {
        if (!chain(m_fat, firstMiniFat, sectorsInFile, &sectors))
            return fail(QStringLiteral("damaged mini sector table"));
        for (quint32 s : sectors) {
            if (!readSector(s, sector.data()))
                return fail(QStringLiteral("damaged mini sector table"));
            for (int i = 0; i < perSector; ++i)
                m_miniFat.append(u32(sector.constData() + 4 * i));
        }
        if (root.size > quint64(size))
            return fail(QStringLiteral("mini stream larger than the file"));
        if (!chain(m_fat, root.start, sectorsInFile, &sectors))
            return fail(QStringLiteral("damaged mini stream"));
        m_miniStream.reserve(sectors.size() * m_sectorSize);
        for (quint32 s : sectors) {
            if (!readSector(s, sector.data()))
                return fail(QStringLiteral("damaged mini stream"));
            m_miniStream.append(sector);
        }
        m_miniStream.truncate(static_cast<int>(qMin<quint64>(root.size, quint64(m_miniStream.size()))));
    }
    return true;
}

bool CompoundFile::stream(const QString &name, QByteArray *data, qint64 maxBytes) const
{
    const auto it = m_streams.constFind(name);
    if (it == m_streams.constEnd())
        return false;
    const Entry entry = *it;
    if (entry.size > quint64(maxBytes) || entry.size > quint64(m_size) + quint64(m_miniStream.size()))
        return false;
    data->clear();
    QVector<quint32> sectors;
    if (entry.size < m_miniCutoff) {
        if (!chain(m_miniFat, entry.start, m_miniStream.size() / m_miniSectorSize + 1, &sectors))
            return entry.size == 0;
        for (quint32 s : sectors) {
            const qint64 offset = qint64(s) * m_miniSectorSize;
            if (offset + m_miniSectorSize > m_miniStream.size())
                return false;
            data->append(m_miniStream.constData() + offset, m_miniSectorSize);
        }
    } else {
        if (!chain(m_fat, entry.start, m_size / m_sectorSize + 1, &sectors))
            return false;
        QByteArray sector(m_sectorSize, Qt::Uninitialized);
        data->reserve(static_cast<int>(entry.size));
        for (quint32 s : sectors) {
            if (!readSector(s, sector.data()))
                return false;
            data->append(sector);
            if (quint64(data->size()) >= entry.size)
                break;
        }
    }
    if (quint64(data->size()) < entry.size)
        return false;
    data->truncate(static_cast<int>(entry.size));
    return true;
}
