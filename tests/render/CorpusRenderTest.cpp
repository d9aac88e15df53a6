// Every real-world file renders, gives its text and a picture slice without a crash or a hang,
// the decompression bomb included; content streams that carry image-only filters are left out
// while the rest of their page is drawn.

#include "platform/DeviceContext.h"
#include "tests/support/CorpusCases.h"
#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::CEngineHandle;
using testsupport::CorpusDir;

namespace {

constexpr float kLowZoom = 0.5f; // enough to run every drawing operator, cheap under ASan
constexpr int kTextCapacity = 8192;

std::string PageText(PDFHANDLE h) {
    std::vector<char16_t> buffer(kTextCapacity, 0);
    int length = 0;
    EXPECT_EQ(PdfGetRectText(h, 1, -1e4, -1e4, 1e4, 1e4, buffer.data(), &length, kTextCapacity), 1);
    EXPECT_TRUE(length >= 0 && length < kTextCapacity && buffer[length] == 0);
    std::string ascii; // enough to look for a Latin phrase
    for (int i = 0; i < length; ++i)
        ascii += buffer[i] < 0x80 ? static_cast<char>(buffer[i]) : '?';
    return ascii;
}

// Draws page 1 and checks the frame's top-left corner is where the page starts.
void DrawFirstPage(PDFHANDLE h) {
    const int w = static_cast<int>(PdfGetPageWidth(h, 1) * kLowZoom) + 8;
    const int ht = static_cast<int>(PdfGetPageHeight(h, 1) * kLowZoom) + 8;
    platform::DeviceContext dc(w, ht);
    PdfSetRedraw(h, 1);
    ASSERT_EQ(PdfDrawPage(h, &dc, 1, 0, 0), 0);
    EXPECT_EQ(dc.GetPixel(0, 0), platform::kBlack);
}

} // namespace

TEST(CorpusRender, EveryFileDrawsAndGivesItsText) {
    if (CorpusDir().empty())
        GTEST_SKIP() << "no corpus";
    int drawn = 0;
    for (const testsupport::CorpusCase &c : testsupport::PasswordCorpusCases()) {
        SCOPED_TRACE(c.name);
        CEngineHandle h;
        if (h.Open(c.path, c.password ? c.password->c_str() : nullptr) != 0)
            continue;
        ASSERT_EQ(PdfSetZoom(h, kLowZoom), 0);
        DrawFirstPage(h);
        PageText(h);
        platform::DeviceContext dc(1, 1);
        delete PdfGetRectBitmap(h, &dc, 1, 10, 10, 30, 20);
        ++drawn;
    }
    EXPECT_GT(drawn, 70);
}

TEST(CorpusRender, BombPageDrawsItsTextAndLeavesTheBombOut) {
    if (CorpusDir().empty())
        GTEST_SKIP() << "no corpus";
    CEngineHandle h;
    ASSERT_EQ(h.Open(CorpusDir() + "/pdfjs-bomb_giant.pdf"), 0);
    DrawFirstPage(h);
    EXPECT_NE(PageText(h).find("GIANT JBIG2 BOMB"), std::string::npos);
}

TEST(CorpusRender, PageThatCannotBeBuiltShowsNoOtherPage) {
    if (CorpusDir().empty())
        GTEST_SKIP() << "no corpus";
    CEngineHandle h;
    ASSERT_EQ(h.Open(CorpusDir() + "/pdfjs-Pages-tree-refs.pdf"), 0);
    ASSERT_EQ(PdfGetPageCount(h), 2);
    DrawFirstPage(h);
    // Page 2 is a loop in the page tree. Once page 1 is built, Poppler "displays" page 2 without
    // starting it; it must not come out as page 1's picture. Its size is 0 x 0.
    platform::DeviceContext dc(40, 40);
    PdfSetRedraw(h, 1);
    ASSERT_EQ(PdfDrawPage(h, &dc, 2, 0, 0), 0);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (x >= 4 || y >= 4) {
                ASSERT_EQ(dc.GetPixel(x, y), platform::kWhite) << x << "," << y;
            }
        }
    }
    platform::DeviceContext slice(1, 1);
    EXPECT_EQ(PdfGetRectBitmap(h, &slice, 2, 0, 0, 10, 10), nullptr);
}
