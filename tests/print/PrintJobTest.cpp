// PdfPrint against a recording printer: the page list from the dialog's choice, the turn of each
// page to the paper, the resolution, the scale and placement, JPEG or bands, the callback, and
// what a failing printer gets.

#include "platform/JpegFile.h"
#include "tests/support/EngineHandle.h"
#include "tests/support/RecordingPrinter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <tuple>

using platform::PageRange;
using platform::PrintRange;
using testsupport::CEngineHandle;
using testsupport::CScriptedPrintDialog;
using testsupport::Fixture;
using testsupport::PrintedBand;
using testsupport::PrintedSheet;
using testsupport::PrinterScript;
using testsupport::PrintLog;

namespace {

// Pages of print.pdf (see tests/fixtures/pdfgen.py).
enum { kPortrait = 1, kLandscape = 2, kRotated90 = 3, kSquare = 4, kSevenRows = 5, kPoster = 6 };

// The progress callback has no data pointer of its own: it reports here.
struct ProgressCall {
    int count, page;
    std::string name;
};
std::vector<ProgressCall> g_Progress;
int g_nStopOnCall = 0; // the 1-based call that answers 0

int RecordProgress(int count, int page, const char *name) {
    g_Progress.push_back({count, page, name});
    return static_cast<int>(g_Progress.size()) == g_nStopOnCall ? 0 : 1;
}

struct PrintRun {
    int result = 0;
    PrintLog log;
};

PrintRun Print(PDFHANDLE h, CScriptedPrintDialog::Answer answer, PrinterScript script = {},
               int factor = 1, int fit = 0) {
    g_Progress.clear();
    CScriptedPrintDialog dialog(answer, script);
    const int result = PdfPrint(h, "", 0, factor, fit, RecordProgress);
    return {result, std::move(dialog.m_Log)};
}

// US Letter at 600 dpi, lying as asked.
PrinterScript Paper(bool landscape) {
    PrinterScript paper;
    if (landscape)
        std::swap(paper.nPhysWidth, paper.nPhysHeight);
    return paper;
}

CScriptedPrintDialog::Answer Pages(std::vector<PageRange> ranges, bool landscape = false) {
    return {PrintRange::PageNums, std::move(ranges), landscape};
}

std::vector<int> ProgressPages() {
    std::vector<int> pages;
    for (const ProgressCall &c : g_Progress)
        pages.push_back(c.page);
    return pages;
}

bool IsRed(platform::Rgb c) {
    return c.r > 200 && c.g < 60 && c.b < 60;
}

// Which corner of the picture the red marker lies in: 0 top-left, 1 top-right, 2 bottom-right,
// 3 bottom-left; -1 when not exactly one corner is red.
int RedCorner(const platform::Bitmap &picture, int w, int h) {
    const int inset = 3;
    const int xs[] = {inset, w - 1 - inset, w - 1 - inset, inset};
    const int ys[] = {inset, inset, h - 1 - inset, h - 1 - inset};
    int found = -1;
    for (int corner = 0; corner < 4; ++corner) {
        if (IsRed(picture.GetPixel(xs[corner], ys[corner]))) {
            if (found >= 0)
                return -1;
            found = corner;
        }
    }
    return found;
}

const std::vector<std::string> kWholeJob = {"StartDoc", "StartPage", "EndPage", "EndDoc"};

} // namespace

TEST(PdfPrint, WithoutDocumentOrPrintChoiceNothingIsPrinted) {
    EXPECT_EQ(PdfPrint(nullptr, "", 0, 3, 0, nullptr), -1);

    CEngineHandle empty;
    PrintRun run = Print(empty, {});
    EXPECT_EQ(run.result, -1);
    EXPECT_FALSE(run.log.setup) << "no dialog without a document";

    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("print.pdf")), 0);
    {
        CScriptedPrintDialog cancelled(std::nullopt);
        EXPECT_EQ(PdfPrint(h, "", 0, 3, 0, nullptr), -1);
        ASSERT_TRUE(cancelled.m_Log.setup);
        EXPECT_EQ(cancelled.m_Log.setup->nMinPage, 1);
        EXPECT_EQ(cancelled.m_Log.setup->nMaxPage, 6);
        EXPECT_TRUE(cancelled.m_Log.calls.empty());
    }
    EXPECT_EQ(PdfPrint(h, "", 0, 3, 0, nullptr), -1) << "no dialog installed";
}

TEST(PdfPrint, PageListFollowsTheDialogsChoice) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("no-outline.pdf")), 0);
    ASSERT_EQ(PdfGoToPage(h, 3), 0);
    const struct {
        const char *name;
        CScriptedPrintDialog::Answer answer;
        std::vector<int> pages;
        int count;
    } cases[] = {
        {"all", {}, {1, 2, 3, 4, 5}, 5},
        {"current", {PrintRange::CurrentPage, {}, false}, {3}, 1},
        {"duplicates and overlaps stay", Pages({{3, 5}, {4, 4}}), {3, 4, 5, 4}, 4},
        {"first after last gives nothing", Pages({{5, 3}, {2, 2}}), {2}, 1},
        {"beyond the document", Pages({{0, 1}, {4, 99}}), {1, 4, 5}, 3},
        {"longer than 2N + 1",
         Pages({{1, 5}, {1, 5}, {2, 5}}),
         {1, 2, 3, 4, 5, 1, 2, 3, 4, 5, 2, 3, 4, 5},
         14},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const PrintRun run = Print(h, c.answer);
        EXPECT_EQ(run.result, 0);
        std::vector<int> pages = ProgressPages();
        ASSERT_EQ(pages.size(), c.pages.size() + 1);
        pages.pop_back();
        EXPECT_EQ(pages, c.pages);
        EXPECT_EQ(g_Progress.front().count, c.count);
        EXPECT_EQ(std::make_tuple(g_Progress.back().count, g_Progress.back().page,
                                  g_Progress.back().name),
                  std::make_tuple(-1, -1, std::string()));
        EXPECT_EQ(run.log.sheets.size(), c.pages.size());
        EXPECT_EQ(run.log.calls.back(), "EndDoc");
    }
}

TEST(PdfPrint, PagesTurnToLieLikeThePaper) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("print.pdf")), 0);
    // At 50 dpi a letter page is 425 x 550 pixels, the square page 278 x 278.
    const struct {
        int page;
        bool landscapePaper;
        int w, h;
        int redCorner;
    } cases[] = {
        {kPortrait, false, 425, 550, 0},  {kPortrait, true, 550, 425, 1},
        {kLandscape, false, 425, 550, 1}, {kLandscape, true, 550, 425, 0},
        {kRotated90, false, 425, 550, 2}, {kRotated90, true, 550, 425, 1},
        {kSquare, false, 278, 278, 0},    {kSquare, true, 278, 278, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "page " << c.page << " landscape " << c.landscapePaper);
        const PrintRun run =
            Print(h, Pages({{c.page, c.page}}, c.landscapePaper), Paper(c.landscapePaper));
        ASSERT_EQ(run.log.sheets.size(), 1u);
        const std::unique_ptr<platform::Bitmap> picture = run.log.sheets[0].Picture();
        ASSERT_TRUE(picture);
        EXPECT_EQ(run.log.sheets[0].bands[0].srcW, c.w);
        EXPECT_EQ(picture->GetHeight(), c.h);
        EXPECT_EQ(RedCorner(*picture, c.w, c.h), c.redCorner);
    }
}

TEST(PdfPrint, ResolutionAndActualSize) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("print.pdf")), 0);
    const struct {
        int factor, printerDpi;
        int w, h;       // the picture: 612 x 792 points at 50 x factor dpi
        int dstW, dstH; // on the sheet
    } cases[] = {
        {3, 600, 1275, 1650, 5100, 6600}, // 4 printer pixels per picture pixel: 8.5 inches
        {3, 300, 1275, 1650, 2550, 3300},
        {3, 360, 1275, 1650, 2550, 3300}, // whole printer pixels: 2, not 2.4
        {3, 100, 1275, 1650, 850, 1100},  // a coarser printer: the exact quotient, not 0
        {0, 600, 425, 550, 5100, 6600},   // factor 0 is 1: 50 dpi
        {9, 600, 2125, 2750, 4250, 5500}, // factor 9 is 5: 250 dpi
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "factor " << c.factor << " at " << c.printerDpi);
        PrinterScript printer;
        printer.nDpi = c.printerDpi;
        printer.nOffsetX = 30;
        printer.nOffsetY = 20;
        const PrintRun run = Print(h, Pages({{kPortrait, kPortrait}}), printer, c.factor);
        ASSERT_EQ(run.log.sheets.size(), 1u);
        const std::vector<PrintedBand> &bands = run.log.sheets[0].bands;
        ASSERT_FALSE(bands.empty());
        EXPECT_EQ(bands.front().srcW, c.w);
        EXPECT_EQ(bands.back().srcY + bands.back().srcH, c.h);
        // From the sheet's physical corner, every band as wide as the whole picture.
        EXPECT_EQ(bands.front().x, -30);
        EXPECT_EQ(bands.front().y, -20);
        EXPECT_EQ(bands.front().dstW, c.dstW);
        EXPECT_EQ(bands.back().y + bands.back().dstH - bands.front().y, c.dstH);
    }
}

TEST(PdfPrint, EightBandsTheLastTakingTheRest) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("print.pdf")), 0);
    // 550 rows: seven bands of 68, the last of 74. A page of 7 rows (on landscape paper, so
    // that it is not turned) has one band, the last.
    const struct {
        int page;
        bool landscapePaper;
        std::vector<std::pair<int, int>> rows; // first row and count of every band
    } cases[] = {
        {kPortrait,
         false,
         {{0, 68}, {68, 68}, {136, 68}, {204, 68}, {272, 68}, {340, 68}, {408, 68}, {476, 74}}},
        {kSevenRows, true, {{0, 7}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.page);
        const PrintRun run =
            Print(h, Pages({{c.page, c.page}}, c.landscapePaper), Paper(c.landscapePaper));
        ASSERT_EQ(run.log.sheets.size(), 1u);
        std::vector<std::pair<int, int>> rows;
        for (const PrintedBand &b : run.log.sheets[0].bands) {
            rows.emplace_back(b.srcY, b.srcH);
            EXPECT_EQ(b.srcX, 0);
            EXPECT_EQ(b.dstH, b.srcH * 12) << "600 dpi over 50 dpi";
        }
        EXPECT_EQ(rows, c.rows);
    }
}

TEST(PdfPrint, FittedPagesFillTheBoxCentredAndWhole) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("print.pdf")), 0);
    // Page 1 at 50 dpi: 425 (widened 428) x 550 pixels.
    const struct {
        const char *name;
        int physW, physH, offX, offY;
        bool fillsWidth;
    } cases[] = {
        {"tall sheet: fills the width", 1000, 2000, 0, 0, true},
        {"wide sheet: fills the height", 4000, 1000, 0, 0, false},
        {"margins", 5100, 6600, 75, 60, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const PrinterScript sheet{600, c.physW, c.physH, c.offX, c.offY};
        const PrintRun run = Print(h, Pages({{kPortrait, kPortrait}}), sheet, 1, 1);
        ASSERT_EQ(run.log.sheets.size(), 1u);
        const std::vector<PrintedBand> &bands = run.log.sheets[0].bands;
        ASSERT_EQ(bands.size(), 8u);
        const int aw = c.physW - c.offX, ah = c.physH - c.offY;
        // In sheet coordinates, the physical corner at (0, 0).
        const int left = bands[0].x + c.offX, top = bands[0].y + c.offY;
        const int width = bands[0].dstW;
        const int height = bands.back().y + bands.back().dstH - bands[0].y;
        if (c.fillsWidth) {
            EXPECT_EQ(left, 0);
            EXPECT_EQ(width, static_cast<int>(425 * (static_cast<float>(aw) / 428)));
            EXPECT_NEAR(top, ah - (top + height), 1) << "centred down the box";
        } else {
            EXPECT_EQ(top, 0);
            EXPECT_NEAR(height, ah, 1);
            // Both the offset and the width are truncated: the right side may get 2 more.
            EXPECT_NEAR(left, aw - (left + width), 2) << "centred across the box";
        }
        // The scale is fractional here: each band begins where the one before ended.
        for (std::size_t i = 1; i < bands.size(); ++i)
            EXPECT_EQ(bands[i].y, bands[i - 1].y + bands[i - 1].dstH) << "band " << i;
    }
}

TEST(PdfPrint, CallbackAnsweringZeroEndsTheJobAfterThePagesPrinted) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("no-outline.pdf")), 0);
    g_nStopOnCall = 2;
    const PrintRun run = Print(h, {});
    g_nStopOnCall = 0;
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(ProgressPages(), (std::vector<int>{1, 2, -1}));
    EXPECT_EQ(run.log.calls, kWholeJob);
    EXPECT_EQ(run.log.docName, Fixture("no-outline.pdf"));
    EXPECT_EQ(g_Progress.front().name, Fixture("no-outline.pdf"));
}

TEST(PdfPrint, PrinterFailuresAbortTheJob) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("no-outline.pdf")), 0);
    PrinterScript startDoc, secondStartPage, firstEndPage, noResolution;
    startDoc.bStartDocFails = true;
    secondStartPage.nFailStartPage = 2;
    firstEndPage.nFailEndPage = 1;
    noResolution.nDpi = 0;
    const struct {
        const char *name;
        PrinterScript printer;
        std::vector<std::string> calls;
        std::vector<int> progress;
        int drawnSheets;
    } cases[] = {
        {"StartDoc", startDoc, {"StartDoc"}, {}, 0},
        {"StartPage of sheet 2",
         secondStartPage,
         {"StartDoc", "StartPage", "EndPage", "StartPage", "AbortDoc"},
         {1, 2, -1},
         1},
        {"EndPage of sheet 1",
         firstEndPage,
         {"StartDoc", "StartPage", "EndPage", "AbortDoc"},
         {1, -1},
         1},
        {"no resolution",
         noResolution,
         {"StartDoc", "StartPage", "EndPage", "AbortDoc"},
         {1, -1},
         0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const PrintRun run = Print(h, {}, c.printer);
        EXPECT_EQ(run.result, 0);
        EXPECT_EQ(run.log.calls, c.calls);
        EXPECT_EQ(ProgressPages(), c.progress);
        int drawn = 0;
        for (const PrintedSheet &sheet : run.log.sheets)
            drawn += sheet.bands.empty() ? 0 : 1;
        EXPECT_EQ(drawn, c.drawnSheets);
    }
}

TEST(PdfPrint, JpegGoesWholeWhenThePrinterTakesIt) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("print.pdf")), 0);
    testsupport::CTempDir dir;
    PrinterScript jpegPrinter;
    jpegPrinter.bJpeg = true;
    PrintRun run = Print(h, Pages({{kPortrait, kPortrait}}), jpegPrinter);
    ASSERT_EQ(run.log.sheets.size(), 1u);
    ASSERT_EQ(run.log.sheets[0].jpegs.size(), 1u);
    EXPECT_TRUE(run.log.sheets[0].bands.empty());
    const testsupport::PrintedJpeg &jpeg = run.log.sheets[0].jpegs[0];
    EXPECT_EQ(std::make_tuple(jpeg.x, jpeg.y, jpeg.dstW, jpeg.dstH, jpeg.srcW, jpeg.srcH),
              std::make_tuple(0, 0, 5100, 6600, 425, 550));
    // The JPEG holds the widened rows; the printer is told to take the page's 425 columns.
    std::ofstream(dir / "sheet.jpg", std::ios::binary)
        .write(reinterpret_cast<const char *>(jpeg.data.data()),
               static_cast<std::streamsize>(jpeg.data.size()));
    const std::unique_ptr<platform::Bitmap> decoded = platform::ReadJpeg(dir / "sheet.jpg");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->GetWidth(), 428);
    EXPECT_EQ(decoded->GetHeight(), 550);
    EXPECT_EQ(RedCorner(*decoded, 425, 550), 0);

    jpegPrinter.bJpegAccepted = false;
    run = Print(h, Pages({{kPortrait, kPortrait}}), jpegPrinter);
    ASSERT_EQ(run.log.sheets.size(), 1u);
    EXPECT_TRUE(run.log.sheets[0].jpegs.empty());
    EXPECT_EQ(run.log.sheets[0].bands.size(), 8u) << "a refused JPEG goes in bands";
}

TEST(PdfPrint, PosterPageIsDrawnWithinTheMemoryBound) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("print.pdf")), 0);
    // 200 x 200 inches: 100 million pixels at 50 dpi, held to 32 Mi at a lower resolution.
    const PrintRun run = Print(h, Pages({{kPoster, kPoster}}));
    ASSERT_EQ(run.log.sheets.size(), 1u);
    const std::unique_ptr<platform::Bitmap> picture = run.log.sheets[0].Picture();
    ASSERT_TRUE(picture);
    const long long w = run.log.sheets[0].bands[0].srcW, rows = picture->GetHeight();
    EXPECT_EQ(w, rows);
    EXPECT_LE(w * rows, 32LL << 20);
    EXPECT_GT(w, 5000) << "still a useful resolution";
    EXPECT_EQ(RedCorner(*picture, static_cast<int>(w), static_cast<int>(rows)), 0);
}
