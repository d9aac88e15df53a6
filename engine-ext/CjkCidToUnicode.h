#pragma once

#include <string>
#include <vector>

namespace engine_ext {

// A collection's CID-to-Unicode table (one hexadecimal value per line, the line number being
// the CID), read where Poppler keeps its own copy to itself.
class CCidToUnicode {
public:
    // Empty when the file cannot be read.
    static CCidToUnicode Read(const std::string &path);

    bool IsEmpty() const { return m_Unicode.empty(); }
    unsigned Size() const { return static_cast<unsigned>(m_Unicode.size()); }
    // The Unicode value of the CID, or 0 when it has none.
    unsigned UnicodeOf(unsigned cid) const { return cid < m_Unicode.size() ? m_Unicode[cid] : 0; }

private:
    std::vector<unsigned> m_Unicode; // by CID
};

} // namespace engine_ext
