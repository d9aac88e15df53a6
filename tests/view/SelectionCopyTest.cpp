// The copy commands against independent tools: the text of a selection must be what
// pdftotext reads from the same rectangle of the same page, and its picture what pdftoppm
// draws of it at the same zoom, wherever the page sits in the layout and however the view
// is turned.

#include "tests/support/ShellCommand.h"
#include "tests/support/TestPaths.h"
#include "tests/view/ViewTestSupport.h"
#include "view/CPagePainter.h"
#include "view/CSelectionCopy.h"

#include <QString>

#include <gtest/gtest.h>

#include <sstream>

using namespace view;
using testsupport::Fixture;
using viewtest::OpenCore;

namespace {

// Pages of text-pages.pdf are 300 x 200 points; at zoom 2 they are 600 x 400 pixels, left
// offset 50 in a window 700 wide, tops at 10, 420 and 830 in continuous mode.
constexpr int kWidth = 700, kHeight = 700;
constexpr float kZoom = 2.0f;

// A rectangle in points, top-down, on the page as the reader shows it unturned (its own
// /Rotate applied), as pdftotext's -x -y -W -H take it at 72 dots per inch.
struct PointRect {
    int x, y, w, h;
};

// Where the view stands: display mode, view rotation, the page made current first and the
// scroll position after that (-1: where going to the page left it).
struct ViewPlace {
    int nMode;
    int nRotation;
    int nGoTo;
    int nVert;
};

std::unique_ptr<CViewCore> ViewAt(const ViewPlace &place) {
    auto core = OpenCore(Fixture("text-pages.pdf"), kWidth, kHeight);
    if (!core)
        return nullptr;
    core->SetDisplayMode(place.nMode);
    for (int turned = 0; turned < place.nRotation; turned += 90)
        core->Rotate(90);
    core->ZoomTo(kZoom);
    core->GoToPage(place.nGoTo);
    if (place.nVert >= 0)
        core->Scroll().SetVertPos(place.nVert);
    // A paint makes the last page it shows the current one, as the window's paints do.
    platform::DeviceContext buffer(kWidth + 1, kHeight + 1);
    CPagePainter(*core).Paint(buffer);
    return core;
}

// A point of the unturned page in client coordinates, through the view's turn and the
// page's place in the layout.
CClientPoint ToClient(const CViewCore &core, int page, int x, int y) {
    const PDFHANDLE h = core.Handle();
    const int turnedWidth = PdfGetPageWidth(h, page), turnedHeight = PdfGetPageHeight(h, page);
    int tx = x, ty = y;
    switch (PdfGetRotation(h)) {
    case 90:
        tx = turnedWidth - y, ty = x;
        break;
    case 180:
        tx = turnedWidth - x, ty = turnedHeight - y;
        break;
    case 270:
        tx = y, ty = turnedHeight - x;
        break;
    }
    const int left = PdfGetPageLeft(h, page, kWidth + 1);
    const int top = core.DisplayMode() == kSinglePage ? 10 : PdfGetPageTop(h, page);
    return {left - core.Scroll().HorzPos() + static_cast<int>(tx * kZoom),
            top - core.Scroll().VertPos() + static_cast<int>(ty * kZoom)};
}

CSelectRect Selection(const CViewCore &core, int page, const PointRect &r, bool bReversed) {
    const CClientPoint a = ToClient(core, page, r.x, r.y);
    const CClientPoint b = ToClient(core, page, r.x + r.w, r.y + r.h);
    return bReversed ? CSelectRect{b, a} : CSelectRect{a, b};
}

// Lines without the spaces that only align columns, without empty lines and page breaks.
std::string Normalised(const std::string &text) {
    std::istringstream in(text);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        std::erase_if(line, [](char c) { return c == ' ' || c == '\r' || c == '\f'; });
        if (!line.empty())
            out += line + "\n";
    }
    return out;
}

std::optional<std::string> Pdftotext(int page, const PointRect &r) {
    const auto n = [](int v) { return std::to_string(v); };
    return testsupport::ToolOutput({"pdftotext", "-layout", "-f", n(page), "-l", n(page), "-x",
                                    n(r.x), "-y", n(r.y), "-W", n(r.w), "-H", n(r.h),
                                    Fixture("text-pages.pdf"), "-"});
}

struct TextCase {
    const char *name;
    ViewPlace place;
    int nPage;
    PointRect rect;
    bool bReversed;
};

} // namespace

TEST(SelectionCopy, TextIsWhatPdftotextReadsFromTheRectangle) {
    constexpr PointRect kPage1Lines{10, 25, 200, 45}, kGammaDelta{10, 105, 280, 20},
        kPage2Lines{10, 30, 200, 60}, kChinese{140, 120, 150, 30}, kTurnedPage{5, 5, 190, 90};
    const TextCase cases[] = {
        {"page 1, the current page", {kContinuous, 0, 1, 0}, 1, kPage1Lines, false},
        {"dragged from lower right to upper left", {kContinuous, 0, 1, 0}, 1, kPage1Lines, true},
        {"page 1 while page 2 is current", {kContinuous, 0, 1, 150}, 1, kGammaDelta, false},
        {"page 2 below page 1, Chinese", {kContinuous, 0, 1, 300}, 2, kPage2Lines, false},
        {"a page with its own /Rotate", {kContinuous, 0, 1, 560}, 3, kTurnedPage, false},
        {"single page mode, Chinese", {kSinglePage, 0, 2, -1}, 2, kChinese, true},
        {"view turned 90 degrees", {kContinuous, 90, 1, 0}, 1, kGammaDelta, false},
        {"view turned 180 degrees", {kContinuous, 180, 2, -1}, 2, kChinese, false},
        {"view turned 270 degrees", {kSinglePage, 270, 1, -1}, 1, kPage1Lines, false},
    };
    for (const TextCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto core = ViewAt(c.place);
        ASSERT_TRUE(core);
        const std::optional<std::string> theirs = Pdftotext(c.nPage, c.rect);
        ASSERT_TRUE(theirs);
        ASSERT_FALSE(Normalised(*theirs).empty());
        const std::optional<std::u16string> ours =
            CSelectionCopy(*core).Text(Selection(*core, c.nPage, c.rect, c.bReversed));
        ASSERT_TRUE(ours);
        EXPECT_EQ(Normalised(QString::fromStdU16String(*ours).toStdString()), Normalised(*theirs));
    }
}

TEST(SelectionCopy, TextLongerThanTheFirstBufferComesWhole) {
    testsupport::CTempDir dir;
    // One page of 150 lines of 60 characters: 9,000 characters and 300 line-end units.
    constexpr int kLines = 150, kChars = 60;
    std::ostringstream content;
    for (int line = 0; line < kLines; ++line)
        content << "BT /F1 6 Tf 10 " << 1190 - 7 * line << " Td ("
                << std::string(kChars, static_cast<char>('0' + line % 10)) << ") Tj ET\n";
    const std::string path = dir / "long.pdf";
    viewtest::WritePdfWithText(path, 300, 1200, content.str());
    auto core = OpenCore(path, 400, 300);
    ASSERT_TRUE(core);
    const CSelectRect whole{{0, 0}, {399, 299}};
    // The window shows only the top; the page under it reaches far below.
    const CSelectRect page{{0, 0}, {399, 1300}};
    const std::optional<std::u16string> text = CSelectionCopy(*core).Text(page);
    ASSERT_TRUE(text);
    EXPECT_GT(static_cast<int>(text->size()), CSelectionCopy::kTextBufferUnits);
    EXPECT_EQ(text->size(), static_cast<std::size_t>(kLines * (kChars + 2)));
    EXPECT_LT(CSelectionCopy(*core).Text(whole)->size(), text->size());
}

namespace {

struct PictureCase {
    const char *name;
    ViewPlace place;
    int nPage;
    PointRect rect; // an empty one: a selection that ends where it started
    bool bReversed;
};

} // namespace

// The picture covers the page pixels from the smaller corner up to one before the larger
// one, less one more: a selection that ends where it started asks for -1 and gets the page.
TEST(SelectionCopy, PictureIsWhatPdftoppmDrawsOfTheRectangle) {
    const PictureCase cases[] = {
        {"page 2 below page 1, Chinese", {kContinuous, 0, 1, 300}, 2, {10, 25, 150, 50}, false},
        {"page 1 while page 2 is current, reversed",
         {kContinuous, 0, 1, 150},
         1,
         {10, 100, 280, 30},
         true},
        {"single page mode", {kSinglePage, 0, 2, -1}, 2, {140, 120, 150, 30}, false},
        {"no drag: the whole page", {kContinuous, 0, 1, 560}, 3, {100, 40, 0, 0}, false},
    };
    for (const PictureCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto core = ViewAt(c.place);
        ASSERT_TRUE(core);
        const CSelectRect sel = Selection(*core, c.nPage, c.rect, c.bReversed);
        const CPagePicture ours = CSelectionCopy(*core).Picture(sel);
        ASSERT_TRUE(ours.bitmap);
        const auto n = [](int v) { return std::to_string(v); };
        std::vector<std::string> command = {"pdftoppm", "-r",       n(72 * 2), "-cropbox",
                                            "-f",       n(c.nPage), "-l",      n(c.nPage)};
        if (c.rect.w > 0)
            for (const std::string &arg :
                 {std::string("-x"), n(c.rect.x * 2), std::string("-y"), n(c.rect.y * 2),
                  std::string("-W"), n(c.rect.w * 2 - 1), std::string("-H"), n(c.rect.h * 2 - 1)})
                command.push_back(arg);
        command.push_back(Fixture("text-pages.pdf"));
        const std::optional<std::string> out = testsupport::ToolOutput(command);
        ASSERT_TRUE(out);
        const std::optional<viewtest::CPpm> theirs = viewtest::ParsePpm(*out);
        ASSERT_TRUE(theirs);
        ASSERT_EQ(ours.width, theirs->width);
        ASSERT_EQ(ours.height, theirs->height);
        int inked = 0;
        for (int y = 0; y < ours.height; ++y)
            for (int x = 0; x < ours.width; ++x) {
                ASSERT_EQ(ours.bitmap->GetPixel(x, y), theirs->At(x, y)) << x << "," << y;
                inked += theirs->At(x, y) != platform::kWhite;
            }
        EXPECT_GT(inked, 0);
    }
}

TEST(SelectionCopy, NothingWithoutADocument) {
    CViewCore none(testsupport::ResourceDir());
    const CSelectRect sel{{10, 10}, {100, 100}};
    EXPECT_FALSE(CSelectionCopy(none).Text(sel));
    EXPECT_FALSE(CSelectionCopy(none).Picture(sel).bitmap);
}
