#pragma once

#include <string>
#include <vector>

namespace engine_ext {

class CCidToUnicode;

// The glyph for every CID of a collection in one TrueType font: the CID's Unicode value
// through the font's first Unicode character map (platform 3 encoding 1, or platform 0).
// A CID without a Unicode value, or one the font lacks, gets glyph 0. A font that cannot be
// read or has no such map gives glyph 0 throughout: its glyph indices say nothing about CIDs.
std::vector<unsigned short> CidToGidMapOfData(const std::vector<unsigned char> &fontData,
                                              const CCidToUnicode &table);
// The same for the first font of a font file (a collection's first face, as Poppler loads it).
std::vector<unsigned short> CidToGidMapOfFile(const std::string &path, const CCidToUnicode &table);

} // namespace engine_ext
