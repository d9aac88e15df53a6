// The outline as it reaches the bookmark tree, and where its items lead.

#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

using testsupport::CEngineHandle;
using testsupport::Fixture;

namespace {

// 60 Chinese characters of three UTF-8 bytes: 42 fit in 127 bytes.
std::string LongTitleCut() {
    const std::string digits[] = {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    std::string s;
    for (int i = 0; i < 42; ++i)
        s += digits[i % 10];
    return s;
}

} // namespace

TEST(Bookmarks, OutlineKeepsGoToItemsOnlyWithTheirPages) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("outline.pdf")), 0);
    const std::vector<std::string> expected = {
        "Chapter 1",       "  Section 1.1", "  Section 1.2",   "Chapter 2",          "Via Dest key",
        "Dests dict name", "Both styles",   "第二章 中文标题", "  " + LongTitleCut()};
    EXPECT_EQ(h.Tree().Outline(), expected);
    // Explicit by reference, by number, the item's own /Dest, the /Dests dictionary, and
    // names kept only in the /Names tree beside a /Dests dictionary.
    const int pages[] = {1, 2, 3, 5, 6, 6, 4, 3, 4};
    for (std::size_t i = 0; i < std::size(pages); ++i)
        EXPECT_EQ(PdfGetLinkTarget(h, i + 1), pages[i]) << expected[i];
    EXPECT_EQ(PdfGetLinkTarget(h, 0), 0);
    EXPECT_EQ(PdfGetLinkTarget(h, 99), 0);
    EXPECT_EQ(h.Tree().m_nScrolledTo, 1u);
    EXPECT_TRUE(h.Tree().m_bFocused);
}

TEST(Bookmarks, TitlesAreCutAt127BytesWithoutSplittingACharacter) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("outline.pdf")), 0);
    const std::string &title = h.Tree().Nodes().back().text;
    EXPECT_EQ(title.size(), 126u);
    EXPECT_EQ(title, LongTitleCut());
}

TEST(Bookmarks, DocumentWithoutOutlineGetsOneItemPerPage) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("no-outline.pdf")), 0);
    const std::vector<std::string> expected = {"Page 1", "Page 2", "Page 3", "Page 4", "Page 5"};
    EXPECT_EQ(h.Tree().Outline(), expected);
    EXPECT_EQ(PdfGetLinkTarget(h, 3), 3);
}

TEST(Bookmarks, OutlineOfOnlyUriItemsGivesAnEmptyTree) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("outline-all-uri.pdf")), 0);
    EXPECT_TRUE(h.Tree().Nodes().empty());
    EXPECT_EQ(PdfGetLinkTarget(h, 1), 0);
}

TEST(Bookmarks, ReopeningReplacesTheTableAndAFailedOpenEmptiesIt) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("outline.pdf")), 0);
    ASSERT_EQ(h.Open(Fixture("no-outline.pdf")), 0);
    EXPECT_EQ(PdfGetLinkTarget(h, 4), 4); // the item of the new tree, not the old outline
    EXPECT_EQ(h.Open(Fixture("missing.pdf")), -1);
    EXPECT_EQ(PdfGetLinkTarget(h, 4), 0);
}

TEST(Bookmarks, WithoutATreeTheDocumentStillOpens) {
    CEngineHandle h;
    ASSERT_EQ(PdfOpen(h, Fixture("outline.pdf").c_str(), nullptr, nullptr), 0);
    EXPECT_EQ(PdfGetPageCount(h), 6);
    EXPECT_EQ(PdfGetLinkTarget(h, 1), 0);
}
