#pragma once

#include <vector>

namespace engine_ext {

class CCidToUnicode;

// The glyph for each CID below `cidCount` in one TrueType font: the CID's Unicode value in
// the collection's table through the font's first Unicode character map (platform 3
// encoding 1, or platform 0). A CID without a Unicode value, or one the font lacks, gets
// glyph 0, and so does every CID when the font cannot be read or has no such map: Poppler
// would take a CID beyond the map, or any CID without one, for a glyph index, which says
// nothing about the character.
std::vector<unsigned short> CidToGidMapOfData(const std::vector<unsigned char> &fontData,
                                              const CCidToUnicode &table, unsigned cidCount);

} // namespace engine_ext
