// Page sizes read from the page tree must be exactly what Poppler's own pages report, on
// every file we have; where the reader declines, the engine falls back to Poppler.

#include "engine/PageBoxes.h"
#include "engine-ext/EngineConfiguration.h"
#include "tests/support/CorpusCases.h"
#include "tests/support/TestPaths.h"

#include <PDFDoc.h>
#include <Page.h>
#include <goo/GooString.h>

#include <gtest/gtest.h>

using testsupport::Fixture;

namespace {

struct Case {
    std::string path;
    std::optional<std::string> password;
};

std::vector<Case> AllFiles() {
    std::vector<Case> files;
    for (const char *f : {"sizes", "two-100pt", "outline", "big", "cjk", "no-outline"})
        files.push_back({Fixture(std::string(f) + ".pdf"), std::nullopt});
    for (const testsupport::CorpusCase &c : testsupport::PasswordCorpusCases())
        files.push_back({c.path, c.password});
    return files;
}

} // namespace

TEST(PageBoxes, AgreeWithPopplersPagesOnEveryFile) {
    engine_ext::RetainEngineConfiguration();
    engine_ext::BuildEngineConfiguration();
    {
        engine_ext::CConfigurationUse use;
        int read = 0, declined = 0;
        for (const Case &c : AllFiles()) {
            std::optional<GooString> pw;
            if (c.password)
                pw.emplace(*c.password);
            PDFDoc doc(std::make_unique<GooString>(c.path), pw, pw);
            if (!doc.isOk() || doc.getNumPages() < 1)
                continue;
            const auto boxes = ReadPageBoxes(doc);
            if (!boxes) {
                ++declined;
                continue;
            }
            ++read;
            ASSERT_EQ(static_cast<int>(boxes->size()), doc.getNumPages()) << c.path;
            for (int p = 1; p <= doc.getNumPages(); ++p) {
                Page *page = doc.getPage(p);
                ASSERT_NE(page, nullptr) << c.path << " page " << p;
                const PDFRectangle *crop = page->getCropBox();
                const PageBox &box = (*boxes)[p - 1];
                EXPECT_EQ(box.w, crop->x2 - crop->x1) << c.path << " page " << p;
                EXPECT_EQ(box.h, crop->y2 - crop->y1) << c.path << " page " << p;
                EXPECT_EQ(box.rotate, page->getRotate()) << c.path << " page " << p;
            }
        }
        EXPECT_GT(read, 60);
        RecordProperty("declined", declined);
        std::printf("page trees read: %d, left to Poppler: %d\n", read, declined);
    }
    engine_ext::ReleaseEngineConfiguration();
}
