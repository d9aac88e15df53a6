#include "engine-ext/CjkFontSubstitution.h"

#include "engine-ext/CjkBase14Names.h"
#include "engine-ext/EngineConfiguration.h"

#include <GfxFont.h>
#include <GlobalParams.h>
#include <goo/GooString.h>

#include <memory>
#include <optional>

namespace engine_ext {

namespace {

constexpr const char *kSimpleFontCollection = "Adobe-GB1";

std::string RegisteredFile(const std::string &fontName) {
    if (!globalParams)
        return {};
    const std::unique_ptr<GooString> path(globalParams->findFontFile(fontName));
    return path ? path->toStr() : std::string();
}

// Needs the configuration's fonts registered: the name may have a file among them.
std::string Register(const CConfigurationUse &use, const std::string &fontName,
                     const std::string &collection, const std::optional<std::string> &base14) {
    const std::string registered = RegisteredFile(fontName);
    if (!registered.empty() || !globalParams)
        return registered;
    const std::string file = base14 ? RegisteredFile(*base14) : use.CollectionFontFile(collection);
    if (file.empty())
        return file;
    const GooString name(fontName);
    const GooString path(file);
    globalParams->addFontFile(&name, &path);
    return file;
}

} // namespace

void CCjkFontSubstitution::Choose(const GfxFont &font, const CConfigurationUse &use) {
    const std::optional<std::string> &name = font.getName();
    if (!name || name->empty() || font.getType() == fontType3)
        return;
    std::string collection = kSimpleFontCollection;
    std::optional<std::string> base14;
    if (font.isCIDFont()) {
        const GooString *c = static_cast<const GfxCIDFont &>(font).getCollection();
        if (!c)
            return;
        collection = c->toStr();
    } else {
        base14 = Base14NameOf(*name);
    }
    use.AfterFontsRegistered([fontName = *name, collection, base14] {
        if (const CConfigurationUse *current = CConfigurationUse::Current())
            Register(*current, fontName, collection, base14);
    });
}

} // namespace engine_ext
