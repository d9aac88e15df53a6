#include "platform/FontFiles.h"

#include <algorithm>
#include <cctype>
#include <fontconfig/fontconfig.h>
#include <memory>

namespace platform {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string BaseName(const std::string &path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct FcDeleter {
    void operator()(FcPattern *p) const { FcPatternDestroy(p); }
    void operator()(FcObjectSet *s) const { FcObjectSetDestroy(s); }
    void operator()(FcFontSet *s) const { FcFontSetDestroy(s); }
};

std::string FileOf(const FcPattern *pattern) {
    FcChar8 *file = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch || !file)
        return {};
    return reinterpret_cast<const char *>(file);
}

} // namespace

CFontFiles::CFontFiles() {
    if (!FcInit())
        return;
    std::unique_ptr<FcPattern, FcDeleter> all(FcPatternCreate());
    std::unique_ptr<FcObjectSet, FcDeleter> fileOnly(FcObjectSetBuild(FC_FILE, nullptr));
    std::unique_ptr<FcFontSet, FcDeleter> set(FcFontList(nullptr, all.get(), fileOnly.get()));
    if (!set)
        return;
    for (int i = 0; i < set->nfont; ++i) {
        const std::string path = FileOf(set->fonts[i]);
        if (!path.empty())
            m_FilesByLowerName.emplace(Lower(BaseName(path)), path);
    }
}

std::string CFontFiles::Find(const std::string &fileName) const {
    const auto it = m_FilesByLowerName.find(Lower(fileName));
    return it == m_FilesByLowerName.end() ? std::string() : it->second;
}

std::string CFontFiles::BestForLanguage(const std::string &lang) {
    if (!FcInit())
        return {};
    std::unique_ptr<FcPattern, FcDeleter> pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8 *>(lang.c_str()));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, FcDeleter> match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match)
        return {};
    // fontconfig always answers with some font; only one that covers the language will do.
    FcLangSet *langs = nullptr;
    if (FcPatternGetLangSet(match.get(), FC_LANG, 0, &langs) != FcResultMatch ||
        FcLangSetHasLang(langs, reinterpret_cast<const FcChar8 *>(lang.c_str())) ==
            FcLangDifferentLang)
        return {};
    return FileOf(match.get());
}

} // namespace platform
