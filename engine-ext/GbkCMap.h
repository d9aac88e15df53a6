#pragma once

#include <string>
#include <vector>

namespace engine_ext {

// The printable ASCII bytes of a GBK string are ASCII characters, but GBK-EUC-H sends them to
// the CIDs of Adobe-GB1's half-width forms, which the collection's CID-to-Unicode table gives
// as full-width characters (a digit would read as "１" and draw a full-width glyph in a
// half-width advance, over its neighbour). The composite font therefore decodes them to the
// collection's Latin CIDs instead, which read and draw as ASCII.
inline constexpr unsigned kAsciiFirstByte = 0x20;
inline constexpr unsigned kAsciiLastByte = 0x7E;
inline constexpr unsigned kAsciiFirstCid = 1;

// The CMap of the composite form of a GBK-coded font (GBK-EUC-H with its ASCII bytes as
// above), read for what that font needs: which byte begins the code that reaches each CID,
// because such a font advances by the width its simple-font table gives that byte. Where
// codes of one and two bytes reach the same CID, the one-byte code counts.
class CGbkCMap {
public:
    // Empty when the GBK-EUC-H file cannot be read.
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
