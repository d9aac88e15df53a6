#include "engine-ext/CjkBase14Names.h"

#include <algorithm>
#include <array>

namespace engine_ext {

namespace {

struct Base14Alias {
    std::string_view alias;
    const char *base14;
};

// Sorted by alias for the binary search.
constexpr std::array<Base14Alias, 69> kBase14Aliases = {{
    {"Arial", "Helvetica"},
    {"Arial,Bold", "Helvetica-Bold"},
    {"Arial,BoldItalic", "Helvetica-BoldOblique"},
    {"Arial,Italic", "Helvetica-Oblique"},
    {"Arial-Bold", "Helvetica-Bold"},
    {"Arial-BoldItalic", "Helvetica-BoldOblique"},
    {"Arial-BoldItalicMT", "Helvetica-BoldOblique"},
    {"Arial-BoldMT", "Helvetica-Bold"},
    {"Arial-Italic", "Helvetica-Oblique"},
    {"Arial-ItalicMT", "Helvetica-Oblique"},
    {"ArialMT", "Helvetica"},
    {"Courier", "Courier"},
    {"Courier,Bold", "Courier-Bold"},
    {"Courier,BoldItalic", "Courier-BoldOblique"},
    {"Courier,Italic", "Courier-Oblique"},
    {"Courier-Bold", "Courier-Bold"},
    {"Courier-BoldOblique", "Courier-BoldOblique"},
    {"Courier-Oblique", "Courier-Oblique"},
    {"CourierNew", "Courier"},
    {"CourierNew,Bold", "Courier-Bold"},
    {"CourierNew,BoldItalic", "Courier-BoldOblique"},
    {"CourierNew,Italic", "Courier-Oblique"},
    {"CourierNew-Bold", "Courier-Bold"},
    {"CourierNew-BoldItalic", "Courier-BoldOblique"},
    {"CourierNew-Italic", "Courier-Oblique"},
    {"CourierNewPS-BoldItalicMT", "Courier-BoldOblique"},
    {"CourierNewPS-BoldMT", "Courier-Bold"},
    {"CourierNewPS-ItalicMT", "Courier-Oblique"},
    {"CourierNewPSMT", "Courier"},
    {"Helvetica", "Helvetica"},
    {"Helvetica,Bold", "Helvetica-Bold"},
    {"Helvetica,BoldItalic", "Helvetica-BoldOblique"},
    {"Helvetica,Italic", "Helvetica-Oblique"},
    {"Helvetica-Bold", "Helvetica-Bold"},
    {"Helvetica-BoldItalic", "Helvetica-BoldOblique"},
    {"Helvetica-BoldOblique", "Helvetica-BoldOblique"},
    {"Helvetica-Italic", "Helvetica-Oblique"},
    {"Helvetica-Oblique", "Helvetica-Oblique"},
    {"Symbol", "Symbol"},
    {"Symbol,Bold", "Symbol"},
    {"Symbol,BoldItalic", "Symbol"},
    {"Symbol,Italic", "Symbol"},
    {"SymbolMT", "Symbol"},
    {"SymbolMT,Bold", "Symbol"},
    {"SymbolMT,BoldItalic", "Symbol"},
    {"SymbolMT,Italic", "Symbol"},
    {"Times-Bold", "Times-Bold"},
    {"Times-BoldItalic", "Times-BoldItalic"},
    {"Times-Italic", "Times-Italic"},
    {"Times-Roman", "Times-Roman"},
    {"TimesNewRoman", "Times-Roman"},
    {"TimesNewRoman,Bold", "Times-Bold"},
    {"TimesNewRoman,BoldItalic", "Times-BoldItalic"},
    {"TimesNewRoman,Italic", "Times-Italic"},
    {"TimesNewRoman-Bold", "Times-Bold"},
    {"TimesNewRoman-BoldItalic", "Times-BoldItalic"},
    {"TimesNewRoman-Italic", "Times-Italic"},
    {"TimesNewRomanPS", "Times-Roman"},
    {"TimesNewRomanPS-Bold", "Times-Bold"},
    {"TimesNewRomanPS-BoldItalic", "Times-BoldItalic"},
    {"TimesNewRomanPS-BoldItalicMT", "Times-BoldItalic"},
    {"TimesNewRomanPS-BoldMT", "Times-Bold"},
    {"TimesNewRomanPS-Italic", "Times-Italic"},
    {"TimesNewRomanPS-ItalicMT", "Times-Italic"},
    {"TimesNewRomanPSMT", "Times-Roman"},
    {"TimesNewRomanPSMT,Bold", "Times-Bold"},
    {"TimesNewRomanPSMT,BoldItalic", "Times-BoldItalic"},
    {"TimesNewRomanPSMT,Italic", "Times-Italic"},
    {"ZapfDingbats", "ZapfDingbats"},
}};

} // namespace

std::optional<std::string> Base14NameOf(std::string_view fontName) {
    std::string name(fontName);
    name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
    const auto it = std::lower_bound(
        kBase14Aliases.begin(), kBase14Aliases.end(), name,
        [](const Base14Alias &entry, const std::string &key) { return entry.alias < key; });
    if (it == kBase14Aliases.end() || it->alias != name)
        return std::nullopt;
    return std::string(it->base14);
}

} // namespace engine_ext
