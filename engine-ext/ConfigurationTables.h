#pragma once

#include <array>
#include <string>

namespace engine_ext {

// One character collection: where its tables lie below the resource base path, and which
// font stands in when a document does not embed its CID font.
struct CollectionResources {
    const char *collection;
    const char *cidToUnicodeFile; // relative to the resource base path
    const char *cMapDir;          // relative to the resource base path
    const char *fontTtc;          // first choice among the system's font files
    const char *fontTtf;          // otherwise
    const char *language;         // fontconfig language when neither file is present
};
extern const std::array<CollectionResources, 4> kCollections;

// Unidocs-Korea1 documents are drawn with the font chosen for this collection.
inline constexpr const char *kUnidocsKoreaCollection = "Unidocs-Korea1";
inline constexpr const char *kUnidocsKoreaFontsFrom = "Adobe-Korea1";

// Text encodings with a Unicode output map, each UnicodeMap/<name>.unicodeMap.
extern const std::array<const char *, 9> kUnicodeMapEncodings;

// Named CID fonts: a font name (UTF-8 here; documents write the Chinese names in GBK) and its
// file. The table has 32 slots; empty slots are skipped.
struct NamedCidFont {
    const char *name;
    const char *file;
};
inline constexpr std::size_t kNamedCidFontSlots = 32;
extern const std::array<NamedCidFont, kNamedCidFontSlots> kNamedCidFonts;

// A named CID font's name as documents write it, and as it is matched, byte for byte: the
// Latin names as they are, the Chinese ones in GBK. Empty for an empty slot.
std::string DocumentFontName(const NamedCidFont &font);

// The standard 14 fonts and the Windows TrueType files that draw them, where present.
struct BaseFontFile {
    const char *font;
    const char *file; // null: no Windows file
};
extern const std::array<BaseFontFile, 14> kBaseFontFiles;

} // namespace engine_ext
