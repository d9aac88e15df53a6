#pragma once

// Private to engine-ext: Poppler types appear here.

class GfxFont;

namespace engine_ext {

class CConfigurationUse;

// Chooses the file that draws a font the document does not embed, and hands the choice to
// Poppler by the font's name (a name Poppler finds among its font files wins over every
// other search of its own):
//  - a name that already has a file (the Chinese names, the standard names) keeps it;
//  - a name that stands for a standard font ("Arial", "TimesNewRoman,Bold") takes that
//    font's file where one is known; otherwise Poppler finds one through fontconfig;
//  - any other named simple font, Latin or Chinese, takes the Adobe-GB1 collection font;
//  - a CID font takes its collection's font;
//  - a font without a name is left to Poppler's choice by its flags.
class CCjkFontSubstitution {
public:
    // The system's font files are looked at only when something is first drawn, so the
    // choice waits until then.
    static void Choose(const GfxFont &font, const CConfigurationUse &use);
};

} // namespace engine_ext
