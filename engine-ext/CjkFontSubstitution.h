#pragma once

// Private to engine-ext: Poppler types appear here.

#include <optional>
#include <string>

class GfxFont;

namespace engine_ext {

// Chooses the file that draws a font the document does not embed. Poppler looks a font's file
// up by the font's name in one table that every document of the process shares, so a choice
// made by name would hold for every font of that name, in every document: a font "F" of a
// Japanese document would draw "F" of a Chinese one with the Japanese font. The choice is
// therefore handed over as a substitute name for the font, one per choice, which the
// configuration registers with its file; the table then holds only those, whatever names
// documents use.
//  - a name that stands for a standard font ("Arial", "TimesNewRoman,Bold") keeps it: Poppler
//    draws it with that font's file, or finds one through fontconfig;
//  - any other named simple font, Latin or Chinese, takes the Adobe-GB1 collection font;
//  - a CID font of a known collection takes that collection's font;
//  - except that a name of the named Chinese fonts ("SimHei", 黑体) takes that font's file
//    where the system has it;
//  - a font without a name, or of another collection, is left to Poppler's choice.
class CCjkFontSubstitution {
public:
    // The name to give the font's dictionary, or nullopt to leave the font as it is.
    static std::optional<std::string> SubstituteName(const GfxFont &font);

    // The substitute name of a choice: the collection's font, or the named font's file
    // (namedFile, empty for none) with the collection's font where that file is missing.
    static std::string ChoiceName(const std::string &collection, const std::string &namedFile);
};

} // namespace engine_ext
