// Which row of the privacy detail dialog's list shows which file or hit.

#include "privacydetailrows.h"

#include <algorithm>
#include <limits>

void PrivacyDetailRows::reset(const PrivacyDetail *detail)
{
    m_detail = detail;
    m_expanded.assign(detail ? detail->files.size() : 0, false);
    recount();
}

bool PrivacyDetailRows::isExpanded(int file) const
{
    return file >= 0 && size_t(file) < m_expanded.size() && m_expanded[size_t(file)];
}

void PrivacyDetailRows::setExpanded(int file, bool expanded)
{
    if (file < 0 || size_t(file) >= m_expanded.size() || m_expanded[size_t(file)] == expanded)
        return;
    m_expanded[size_t(file)] = expanded;
    recount();
}

int PrivacyDetailRows::headerRow(int file) const
{
    return file >= 0 && size_t(file) < m_firstRow.size() ? m_firstRow[size_t(file)] : -1;
}

void PrivacyDetailRows::locate(int row, int *file, int *hit) const
{
    *file = -1;
    *hit = -1;
    if (row < 0 || row >= m_rowCount)
        return;
    // The last file whose header is at or above the row.
    const auto after = std::upper_bound(m_firstRow.begin(), m_firstRow.end(), row);
    const int index = int(after - m_firstRow.begin()) - 1;
    *file = index;
    *hit = row - m_firstRow[size_t(index)] - 1;
}

void PrivacyDetailRows::recount()
{
    m_firstRow.resize(m_expanded.size());
    qint64 row = 0;
    for (size_t file = 0; file < m_expanded.size(); ++file) {
        m_firstRow[file] = int(row);
        row += 1 + (m_expanded[file] ? qint64(m_detail->files[file].hits.size()) : 0);
        // A list cannot hold more rows than an int counts; the rest stay out.
        row = qMin<qint64>(row, std::numeric_limits<int>::max() / 2);
    }
    m_rowCount = int(row);
}
