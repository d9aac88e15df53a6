#include "engine-ext/CjkCidToGidMap.h"

#include "engine-ext/CjkCidToUnicode.h"

// FoFi headers expect the export macro to be defined already.
#include <poppler_private_export.h>

#include <fofi/FoFiTrueType.h>

#include <climits>
#include <memory>

namespace engine_ext {

namespace {

int UnicodeCmap(const FoFiTrueType &font) {
    for (int i = 0; i < font.getNumCmaps(); ++i) {
        const int platform = font.getCmapPlatform(i);
        if ((platform == 3 && font.getCmapEncoding(i) == 1) || platform == 0)
            return i;
    }
    return -1;
}

std::vector<unsigned short> CidToGidMap(const FoFiTrueType *font, const CCidToUnicode &table,
                                        unsigned cidCount) {
    std::vector<unsigned short> map(cidCount, 0);
    const int cmap = font ? UnicodeCmap(*font) : -1;
    if (cmap < 0)
        return map;
    for (unsigned cid = 0; cid < cidCount; ++cid) {
        const unsigned u = table.UnicodeOf(cid);
        const int gid = u ? font->mapCodeToGID(cmap, u) : 0;
        map[cid] = gid > 0 && gid <= USHRT_MAX ? static_cast<unsigned short>(gid) : 0;
    }
    return map;
}

} // namespace

std::vector<unsigned short> CidToGidMapOfData(const std::vector<unsigned char> &fontData,
                                              const CCidToUnicode &table, unsigned cidCount) {
    std::unique_ptr<FoFiTrueType> font;
    if (!fontData.empty() && fontData.size() <= INT_MAX)
        font = FoFiTrueType::make(fontData.data(), static_cast<int>(fontData.size()));
    return CidToGidMap(font.get(), table, cidCount);
}

} // namespace engine_ext
