// Which row of the privacy detail dialog's list shows which file or hit.
#ifndef PRIVACYDETAILROWS_H
#define PRIVACYDETAILROWS_H

#include "privacydetail.h"

#include <vector>

// The rows of the dialog's list: one per file, followed by one per hit of
// each expanded file. Expanding or collapsing a file costs the number of
// files; finding the file and hit of a row costs its logarithm.
class PrivacyDetailRows
{
public:
    void reset(const PrivacyDetail *detail);
    int rowCount() const { return m_rowCount; }
    bool isExpanded(int file) const;
    void setExpanded(int file, bool expanded);
    // The row of a file's header.
    int headerRow(int file) const;
    // The file of `row`, and the hit within it (-1 for the file's header).
    void locate(int row, int *file, int *hit) const;

private:
    void recount();

    const PrivacyDetail *m_detail = nullptr;
    std::vector<bool> m_expanded;
    std::vector<int> m_firstRow; // per file, the row of its header
    int m_rowCount = 0;
};

#endif // PRIVACYDETAILROWS_H
