#include "engine/GlyphCache.h"

#include <functional>

std::size_t CachedGlyph::PictureBytes(int w, int h, bool aa) {
    if (w <= 0 || h <= 0)
        return 0;
    const std::size_t row =
        aa ? static_cast<std::size_t>(w) : (static_cast<std::size_t>(w) + 7) / 8;
    return row * static_cast<std::size_t>(h);
}

std::size_t CGlyphCache::FontKeyHash::operator()(const FontKey &key) const {
    std::size_t h = std::hash<int>()(key.ref.num) * 31 + std::hash<int>()(key.ref.gen);
    for (double m : key.matrix)
        h = h * 31 + std::hash<double>()(m);
    return h;
}

std::uint32_t CGlyphCache::FontNumber(const Ref &font, const double *matrix) {
    const FontKey key{font, {matrix[0], matrix[1], matrix[2], matrix[3]}};
    if (const auto found = m_Fonts.find(key); found != m_Fonts.end())
        return found->second;
    if (m_Fonts.size() >= kMaxFonts)
        Clear();
    const auto number = static_cast<std::uint32_t>(m_Fonts.size());
    m_Fonts.emplace(key, number);
    return number;
}

std::uint64_t CGlyphCache::GlyphKey(std::uint32_t font, std::uint32_t code, int frac) {
    return (static_cast<std::uint64_t>(font) << 34) | (static_cast<std::uint64_t>(frac & 3) << 32) |
           code;
}

std::size_t CGlyphCache::Cost(const CachedGlyph &glyph) {
    return glyph.DataBytes() + kEntryOverhead;
}

const CachedGlyph *CGlyphCache::Find(std::uint32_t font, std::uint32_t code, int frac) {
    const auto found = m_Index.find(GlyphKey(font, code, frac));
    if (found == m_Index.end())
        return nullptr;
    m_Recent.splice(m_Recent.begin(), m_Recent, found->second);
    return &found->second->glyph;
}

const CachedGlyph &CGlyphCache::Keep(std::uint32_t font, std::uint32_t code, int frac,
                                     CachedGlyph glyph) {
    const std::uint64_t key = GlyphKey(font, code, frac);
    if (const auto found = m_Index.find(key); found != m_Index.end()) {
        m_nBytes -= Cost(found->second->glyph);
        m_Recent.erase(found->second);
        m_Index.erase(found);
    }
    m_nBytes += Cost(glyph);
    m_Recent.push_front({key, std::move(glyph)});
    m_Index.emplace(key, m_Recent.begin());
    // The newest glyph stays even alone over the budget: it is about to be drawn.
    while (m_nBytes > m_nBudget && m_Recent.size() > 1) {
        m_nBytes -= Cost(m_Recent.back().glyph);
        m_Index.erase(m_Recent.back().key);
        m_Recent.pop_back();
    }
    return m_Recent.front().glyph;
}

void CGlyphCache::Clear() {
    m_Fonts.clear();
    m_Recent.clear();
    m_Index.clear();
    m_nBytes = 0;
}
