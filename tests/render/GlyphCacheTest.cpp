// The glyph cache of the page devices: every page of every file we have comes out pixel for
// pixel as Poppler draws it alone, and the cache keeps to its budget.

#include "engine/GlyphCache.h"
#include "engine/CPdfEngine.h"
#include "engine/GlyphCachingDevice.h"
#include "engine/PageDisplay.h"
#include "tests/support/CorpusCases.h"
#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>
#include <splash/SplashBitmap.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using testsupport::CEngineHandle;

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kPageStride = 3; // a third of the pages keeps the sanitizer runs short
#else
constexpr int kPageStride = 1;
#endif
constexpr int kMaxPages = 100; // the long generated documents repeat one kind of page

struct Document {
    std::string name, path;
    const char *password = nullptr;
};

std::vector<Document> EveryDocument() {
    std::vector<Document> documents;
    for (const char *folder : {"", "cjk"}) {
        for (const auto &entry :
             std::filesystem::directory_iterator(testsupport::Fixture(folder))) {
            if (entry.path().extension() == ".pdf")
                documents.push_back({entry.path().filename(), entry.path()});
        }
    }
    static const std::vector<testsupport::CorpusCase> corpus = testsupport::PasswordCorpusCases();
    for (const testsupport::CorpusCase &c : corpus)
        documents.push_back({c.name, c.path, c.password ? c.password->c_str() : nullptr});
    std::sort(documents.begin(), documents.end(),
              [](const Document &a, const Document &b) { return a.name < b.name; });
    return documents;
}

class CPageDevice {
public:
    CPageDevice(PDFDoc &doc, bool useCache)
        : m_Budget(m_bNever, m_bNever), m_Device(m_Budget, doc) {
        m_Device.m_bUseGlyphCache = useCache;
    }
    // The page's pixels, empty when it cannot be built.
    std::vector<unsigned char> Draw(PDFDoc &doc, int page, double zoom) {
        m_Budget.Start();
        if (!DisplayPage(doc, m_Device, page, 72.0 * zoom, 0, {}, CPageBudget::Exceeded, &m_Budget))
            return {};
        SplashBitmap *bitmap = m_Device.getBitmap();
        const auto *bits = bitmap->getDataPtr();
        return {bits, bits + static_cast<std::size_t>(bitmap->getRowSize()) * bitmap->getHeight()};
    }
    const CGlyphCache &Glyphs() const { return m_Device.Glyphs(); }

private:
    std::atomic<bool> m_bNever = false;
    CPageBudget m_Budget;
    CGlyphCachingDevice m_Device;
};

} // namespace

TEST(GlyphCache, EveryPageComesOutAsPopplerDrawsIt) {
    int pages = 0, documents = 0;
    for (const Document &d : EveryDocument()) {
        CEngineHandle h;
        if (h.Open(d.path, d.password) != 0)
            continue;
        ++documents;
        PDFDoc &doc = *h.Get()->m_pDoc;
        for (double zoom : {1.0, 2.0}) {
            CPageDevice cached(doc, true), reference(doc, false);
            const int last = std::min(doc.getNumPages(), kMaxPages);
            for (int page = 1; page <= last; page += kPageStride) {
                SCOPED_TRACE(d.name + " page " + std::to_string(page) + " zoom " +
                             std::to_string(zoom));
                const std::vector<unsigned char> expected = reference.Draw(doc, page, zoom);
                ASSERT_TRUE(cached.Draw(doc, page, zoom) == expected);
                ++pages;
            }
            EXPECT_LE(cached.Glyphs().Bytes(), CGlyphCache::kDefaultBudget);
        }
    }
    EXPECT_GT(documents, 80);
    EXPECT_GT(pages, 300 / kPageStride);
}

namespace {

CachedGlyph Picture(int w, int h) {
    return {0, 0, w, h, true, std::make_unique<unsigned char[]>(static_cast<std::size_t>(w) * h)};
}

} // namespace

TEST(GlyphCache, KeepsTheRecentlyUsedWithinItsBudget) {
    constexpr std::size_t kGlyphCost = 10 * 10 + CGlyphCache::kEntryOverhead;
    CGlyphCache cache(3 * kGlyphCost);
    const double matrix[4] = {10, 0, 0, -10};
    const std::uint32_t font = cache.FontNumber({7, 0}, matrix);
    for (std::uint32_t code : {1u, 2u, 3u})
        cache.Keep(font, code, 0, Picture(10, 10));
    ASSERT_NE(cache.Find(font, 1, 0), nullptr); // 1 is now the most recent, 2 the least
    cache.Keep(font, 4, 0, Picture(10, 10));
    EXPECT_EQ(cache.Find(font, 2, 0), nullptr);
    for (std::uint32_t code : {1u, 3u, 4u})
        EXPECT_NE(cache.Find(font, code, 0), nullptr) << code;
    EXPECT_EQ(cache.Bytes(), 3 * kGlyphCost);
    // A glyph without a picture is kept too, so a broken glyph is not asked for again.
    cache.Keep(font, 5, 0, CachedGlyph{});
    ASSERT_NE(cache.Find(font, 5, 0), nullptr);
    EXPECT_EQ(cache.Find(font, 5, 0)->data, nullptr);
    EXPECT_FALSE(cache.IsWorthKeeping(Picture(100, 100)));
}

TEST(GlyphCache, TellsFontsMatricesAndPositionsApart) {
    CGlyphCache cache;
    const double small[4] = {10, 0, 0, -10}, large[4] = {20, 0, 0, -20};
    const std::uint32_t a = cache.FontNumber({7, 0}, small);
    EXPECT_EQ(cache.FontNumber({7, 0}, small), a);
    EXPECT_NE(cache.FontNumber({7, 0}, large), a);
    EXPECT_NE(cache.FontNumber({8, 0}, small), a);
    cache.Keep(a, 65, 1, Picture(4, 4));
    EXPECT_EQ(cache.Find(a, 65, 0), nullptr);
    EXPECT_EQ(cache.Find(a, 65 + (1u << 31), 1), nullptr);
    EXPECT_NE(cache.Find(a, 65, 1), nullptr);
}
