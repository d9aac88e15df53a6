#pragma once

#include <string>
#include <vector>

namespace engine_ext {

// The GBK-EUC-H CMap, read for what the composite form of a GBK-coded font needs: which byte
// begins the code that reaches each CID, because such a font advances by the width its
// simple-font table gives that byte. Where codes of one and two bytes reach the same CID, the
// one-byte code counts: the two-byte ones lie in GBK's rarely used user-defined area.
class CGbkCMap {
public:
    // Empty when the file cannot be read.
    static CGbkCMap Read(const std::string &path);

    bool IsEmpty() const { return m_FirstBytes.empty(); }
    // One past the highest CID a code reaches.
    unsigned CidCount() const { return static_cast<unsigned>(m_FirstBytes.size()); }
    // The first byte of the code that reaches the CID, or -1 when no code does.
    int FirstByteOf(unsigned cid) const;

private:
    std::vector<short> m_FirstBytes; // by CID
};

} // namespace engine_ext
