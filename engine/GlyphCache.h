#pragma once

// Private to engine/: glyph pictures kept across pages, least recently used first to go.
//
// Poppler keeps a few glyphs per font and size, fewer the larger the font's bounding box: with
// the large boxes of TeX fonts most lookups miss and FreeType rasterises the outline again and
// again. Here a font at one device matrix keeps every glyph it has drawn, within one budget for
// all fonts of a document.

#include <Object.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>

// One glyph as Splash fills it: its picture's offset from the glyph origin and its size, and
// 8-bit coverage (aa) or 1-bit rows. No data: the font gives this glyph no picture.
struct CachedGlyph {
    int x = 0, y = 0, w = 0, h = 0;
    bool aa = false;
    std::unique_ptr<unsigned char[]> data;

    std::size_t DataBytes() const { return data ? PictureBytes(w, h, aa) : 0; }
    static std::size_t PictureBytes(int w, int h, bool aa);
};

class CGlyphCache {
public:
    static constexpr std::size_t kDefaultBudget = 4 * 1024 * 1024;
    // What a kept glyph costs beyond its picture: its list node, map entry and record.
    static constexpr std::size_t kEntryOverhead = 96;
    // Documents that show text under ever new matrices would grow the font table without end.
    static constexpr std::size_t kMaxFonts = 1 << 16;

    explicit CGlyphCache(std::size_t budget = kDefaultBudget) : m_nBudget(budget) {}

    // The number standing for a font object drawn through one device matrix (text space to
    // device pixels): Splash's glyph pictures depend on nothing else of the font.
    std::uint32_t FontNumber(const Ref &font, const double *matrix);

    // frac: the glyph's horizontal sub-pixel position, as Splash chose its picture.
    const CachedGlyph *Find(std::uint32_t font, std::uint32_t code, int frac);
    const CachedGlyph &Keep(std::uint32_t font, std::uint32_t code, int frac, CachedGlyph glyph);
    // A glyph so large that keeping it would push out many others is drawn and let go.
    bool IsWorthKeeping(const CachedGlyph &glyph) const { return Cost(glyph) <= m_nBudget / 16; }

    std::size_t Bytes() const { return m_nBytes; }
    std::size_t Count() const { return m_Index.size(); }
    // Forgets every glyph and font number.
    void Clear();

private:
    struct FontKey {
        Ref ref;
        std::array<double, 4> matrix;
        bool operator==(const FontKey &) const = default;
    };
    struct FontKeyHash {
        std::size_t operator()(const FontKey &key) const;
    };
    struct Entry {
        std::uint64_t key;
        CachedGlyph glyph;
    };

    static std::uint64_t GlyphKey(std::uint32_t font, std::uint32_t code, int frac);
    static std::size_t Cost(const CachedGlyph &glyph);

    std::size_t m_nBudget;
    std::size_t m_nBytes = 0;
    std::unordered_map<FontKey, std::uint32_t, FontKeyHash> m_Fonts;
    std::list<Entry> m_Recent; // most recently used first
    std::unordered_map<std::uint64_t, std::list<Entry>::iterator> m_Index;
};
