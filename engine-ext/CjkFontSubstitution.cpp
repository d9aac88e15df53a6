#include "engine-ext/CjkFontSubstitution.h"

#include "engine-ext/CjkBase14Names.h"
#include "engine-ext/ConfigurationTables.h"

#include <GfxFont.h>
#include <goo/GooString.h>

#include <algorithm>
#include <map>

namespace engine_ext {

namespace {

constexpr const char *kSimpleFontCollection = "Adobe-GB1";
// Not a name a producer gives a font.
constexpr const char *kChoicePrefix = "VKP-Substitute/";

// Poppler reads a dingbats encoding from such a name.
bool NamesItsEncoding(const std::string &name) {
    constexpr std::string_view kDingbats = "ZapfDingbats";
    return name.size() >= kDingbats.size() &&
           name.compare(name.size() - kDingbats.size(), kDingbats.size(), kDingbats) == 0;
}

bool IsKnownCollection(const std::string &collection) {
    return collection == kUnidocsKoreaCollection ||
           std::any_of(kCollections.begin(), kCollections.end(),
                       [&](const CollectionResources &c) { return collection == c.collection; });
}

// The file of a named CID font, by the name as documents write it; empty for other names.
std::string NamedFontFile(const std::string &name) {
    static const std::map<std::string, std::string> files = [] {
        std::map<std::string, std::string> byName;
        for (const NamedCidFont &f : kNamedCidFonts) {
            const std::string documentName = DocumentFontName(f);
            if (!documentName.empty())
                byName.emplace(documentName, f.file);
        }
        return byName;
    }();
    const auto it = files.find(name);
    return it == files.end() ? std::string() : it->second;
}

} // namespace

std::optional<std::string> CCjkFontSubstitution::SubstituteName(const GfxFont &font) {
    const std::optional<std::string> &name = font.getName();
    if (!name || name->empty() || font.getType() == fontType3)
        return std::nullopt;
    std::string collection = kSimpleFontCollection;
    if (font.isCIDFont()) {
        const GooString *c = static_cast<const GfxCIDFont &>(font).getCollection();
        if (!c || !IsKnownCollection(c->toStr()))
            return std::nullopt;
        collection = c->toStr();
    } else if (Base14NameOf(*name) || NamesItsEncoding(*name)) {
        return std::nullopt;
    }
    return ChoiceName(collection, NamedFontFile(*name));
}

std::string CCjkFontSubstitution::ChoiceName(const std::string &collection,
                                             const std::string &namedFile) {
    return kChoicePrefix + collection + (namedFile.empty() ? "" : "/" + namedFile);
}

} // namespace engine_ext
