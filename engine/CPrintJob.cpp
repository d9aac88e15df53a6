#include "engine/CPrintJob.h"

#include "engine/DeviceBitmap.h"
#include "engine/GlyphCachingDevice.h"
#include "engine/PageDisplay.h"
#include "platform/JpegFile.h"

#include <PDFDoc.h>
#include <Page.h>
#include <SplashOutputDev.h>
#include <goo/GooString.h>
#include <splash/SplashBitmap.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>
#include <new>
#include <utility>

// The print device: a Splash device like the screen's that also tells whether the page it was
// asked for really started. A page of a broken page tree can be "displayed" without starting,
// and the device would still hold the picture of the page before.
class CPrintDevice : public CGlyphCachingDevice {
public:
    using CGlyphCachingDevice::CGlyphCachingDevice;
    void startPage(int pageNum, GfxState *state, XRef *xref) override {
        m_bStarted = true;
        CGlyphCachingDevice::startPage(pageNum, state, xref);
    }
    bool m_bStarted = false;
};

namespace {

constexpr int kMinFactor = 1, kMaxFactor = 5;
constexpr int kDpiPerFactor = 50;
constexpr double kPointsPerInch = 72.0;
constexpr int kBands = 8;
constexpr char kUnnamedDocument[] = "Print File...";
// A page whose picture would be larger is drawn at a lower resolution: a poster-sized page
// at 250 dpi would need gigabytes, and the printer scales the picture to the sheet anyway.
constexpr double kMaxPicturePixels = 32.0 * 1024 * 1024;

// The sheet as the printer describes it, in printer pixels.
struct SheetMetrics {
    int dpiX = 0;
    int physW = 0, physH = 0;
    int offX = 0, offY = 0;

    // A printer that reports no resolution or no room on its sheet cannot place a picture.
    bool IsUsable() const {
        return dpiX > 0 && offX >= 0 && offY >= 0 && physW > offX && physH > offY;
    }
};

SheetMetrics ReadMetrics(const platform::Printer &printer) {
    using platform::DeviceCap;
    return {printer.GetDeviceCaps(DeviceCap::LogPixelsX),
            printer.GetDeviceCaps(DeviceCap::PhysicalWidth),
            printer.GetDeviceCaps(DeviceCap::PhysicalHeight),
            printer.GetDeviceCaps(DeviceCap::PhysicalOffsetX),
            printer.GetDeviceCaps(DeviceCap::PhysicalOffsetY)};
}

// A page turns by 90 degrees when it lies otherwise than the paper: landscape (after its own
// /Rotate) on portrait paper, or portrait on landscape paper. A square page never turns.
int PrintRotation(Page &page, bool landscapePaper) {
    double mw = page.getMediaWidth(), mh = page.getMediaHeight();
    const int own = ((page.getRotate() % 360) + 360) % 360;
    if (own == 90 || own == 270)
        std::swap(mw, mh);
    const bool turn = landscapePaper ? mh > mw : mh < mw;
    return turn ? 90 : 0;
}

int PictureDpi(Page &page, int dpi) {
    const double squareInches =
        page.getMediaWidth() / kPointsPerInch * (page.getMediaHeight() / kPointsPerInch);
    if (!(squareInches * dpi * dpi > kMaxPicturePixels))
        return dpi;
    return std::max(1, static_cast<int>(std::sqrt(kMaxPicturePixels / squareInches)));
}

// At actual size a picture pixel covers a whole number of printer pixels, which keeps the
// raster even. A printer coarser than the picture gets the exact quotient instead: the whole
// number there would be 0 and the sheet blank.
float ActualSizeScale(int printerDpi, int dpi) {
    if (printerDpi >= dpi)
        return static_cast<float>(printerDpi / dpi);
    return static_cast<float>(printerDpi) / static_cast<float>(dpi);
}

// The picture starts at the sheet's physical corner. Fitted, it fills the box from that corner
// to the far edges less the offsets, centred across the direction in which it is smaller than
// the box. The widened width W decides the direction, as the picture sent can be W wide.
Placement PlacePicture(const SheetMetrics &m, int w, int W, int h, int dpi, bool fit) {
    const float aw = static_cast<float>(m.physW - m.offX);
    const float ah = static_cast<float>(m.physH - m.offY);
    int offX = m.offX, offY = m.offY;
    float s = 0;
    if (!fit) {
        s = ActualSizeScale(m.dpiX, dpi);
    } else if (static_cast<float>(W) / static_cast<float>(h) >= aw / ah) {
        s = aw / static_cast<float>(W);
        offY = static_cast<int>(static_cast<float>(offY) - (ah - static_cast<float>(h) * s) / 2);
    } else {
        s = ah / static_cast<float>(h);
        offX = static_cast<int>(static_cast<float>(offX) - (aw - static_cast<float>(w) * s) / 2);
    }
    return {s, -offX, -offY, static_cast<int>(static_cast<float>(w) * s),
            static_cast<int>(static_cast<float>(h) * s)};
}

// The printer row where picture row `row` begins.
int BandEdge(const Placement &at, int row) {
    return static_cast<int>(static_cast<float>(row) * at.s + static_cast<float>(at.y));
}

} // namespace

CPrintJob::CPrintJob(PDFDoc &doc, int pageCount, platform::Printer &printer,
                     const WaterMarkArray &marks, const PrintSettings &settings,
                     CPageBudget &budget)
    : m_Doc(doc), m_nPageCount(pageCount), m_Printer(printer), m_WaterMarks(marks),
      m_Settings(settings),
      m_nDpi(kDpiPerFactor * std::clamp(settings.nFactor, kMinFactor, kMaxFactor)),
      m_Budget(budget) {
    m_pDevice = std::make_unique<CPrintDevice>(m_Budget, m_Doc);
}

CPrintJob::~CPrintJob() = default;

std::string CPrintJob::DocumentName() const {
    const GooString *name = m_Doc.getFileName();
    return name && !name->toStr().empty() ? name->toStr() : kUnnamedDocument;
}

// While the printer takes one sheet (Qt's print engine compresses every band it is handed),
// the next page is drawn on a thread of its own into the other sheet bitmap. The document and
// the print device serve one drawing at a time: a page is drawn only after the one before it
// was handed over to this thread.
void CPrintJob::PrintPages(const std::vector<int> &pages, PrintProgressProc cb) {
    const std::string name = DocumentName();
    if (!m_Printer.StartDoc(name))
        return;
    const int count = static_cast<int>(std::min<std::size_t>(pages.size(), INT_MAX));
    std::vector<int> printable;
    std::copy_if(pages.begin(), pages.end(), std::back_inserter(printable),
                 [this](int page) { return page >= 1 && page <= m_nPageCount; });
    std::future<SheetPicture> next;
    if (!printable.empty())
        next = StartDrawing(printable[0], m_SheetDCs[0]);
    bool failed = false;
    for (std::size_t i = 0; i < printable.size(); ++i) {
        if (cb && cb(count, printable[i], name.c_str()) == 0)
            break;
        if (!m_Printer.StartPage()) {
            failed = true;
            break;
        }
        const SheetPicture sheet = next.get();
        if (i + 1 < printable.size())
            next = StartDrawing(printable[i + 1], m_SheetDCs[(i + 1) % m_SheetDCs.size()]);
        const bool printed = SendSheet(sheet, m_SheetDCs[i % m_SheetDCs.size()]);
        if (!m_Printer.EndPage() || !printed) {
            failed = true;
            break;
        }
    }
    if (next.valid())
        next.wait(); // a page drawn ahead for a sheet that will not be printed
    if (cb)
        cb(-1, -1, "");
    m_pDevice.reset();
    if (failed)
        m_Printer.AbortDoc();
    else
        m_Printer.EndDoc();
}

std::future<SheetPicture> CPrintJob::StartDrawing(int page, platform::DeviceContext &dc) {
    // Where no thread can be had, the page is drawn when the sheet asks for it.
    return std::async(std::launch::async | std::launch::deferred,
                      [this, page, &dc] { return DrawSheet(page, dc); });
}

SheetPicture CPrintJob::DrawSheet(int page, platform::DeviceContext &dc) {
    Page *p = m_Doc.getPage(page);
    if (!p)
        return {}; // a page that cannot be built leaves its sheet white, as on screen
    SheetPicture sheet;
    sheet.rotation = PrintRotation(*p, m_Settings.bLandscape);
    sheet.dpi = PictureDpi(*p, m_nDpi);
    m_pDevice->m_bStarted = false;
    m_Budget.Start();
    if (!DisplayPage(m_Doc, *m_pDevice, page, sheet.dpi, sheet.rotation, {}, CPageBudget::Exceeded,
                     &m_Budget, PageArea::MediaBox) ||
        !m_pDevice->m_bStarted)
        return {};
    SplashBitmap *rows = m_pDevice->getBitmap();
    if (!rows || !MakeSheetBitmap(*rows, dc)) {
        sheet.state = SheetPicture::kFailed;
        return sheet;
    }
    sheet.state = SheetPicture::kDrawn;
    sheet.w = rows->getWidth();
    sheet.h = rows->getHeight();
    if (m_Budget.WasCutShort())
        MarkIncomplete(dc, sheet.w, sheet.h);
    DrawWaterMarks(m_WaterMarks, dc, static_cast<float>(sheet.dpi / kPointsPerInch), sheet.rotation,
                   sheet.w, sheet.h, CWaterMark::kOnPaper);
    return sheet;
}

bool CPrintJob::SendSheet(const SheetPicture &sheet, const platform::DeviceContext &dc) {
    const SheetMetrics metrics = ReadMetrics(m_Printer);
    if (!metrics.IsUsable() || sheet.state == SheetPicture::kFailed)
        return false;
    if (sheet.state == SheetPicture::kWhite)
        return true;
    const platform::Bitmap &picture = *dc.GetBitmap();
    const Placement at =
        PlacePicture(metrics, sheet.w, picture.GetWidth(), sheet.h, sheet.dpi, m_Settings.bFit);
    if (!(m_Printer.QueryJpegSupport() && SendJpeg(picture, sheet.w, sheet.h, at)))
        SendBands(picture, sheet.w, sheet.h, at);
    return true;
}

// The page bitmap: the rows widened to whole 32-bit words, as every device bitmap is. It lives
// from sheet to sheet and is made anew only for a page of another size: every page of memory of
// a fresh bitmap of several megabytes would have to be faulted in again.
bool CPrintJob::MakeSheetBitmap(SplashBitmap &rows, platform::DeviceContext &dc) {
    const int w = rows.getWidth(), h = rows.getHeight();
    const platform::Bitmap *held = dc.GetBitmap();
    if (!held || held->GetWidth() != platform::Bitmap::WidenedWidth(w) || held->GetHeight() != h) {
        dc.SelectBitmap(nullptr); // the old one goes first
        try {
            // Every byte is written below: black, untouched memory costs nothing to make.
            dc.SelectBitmap(
                std::make_unique<platform::Bitmap>(w, h, platform::Bitmap::Fill::Black));
        } catch (const std::bad_alloc &) {
            return false;
        }
    }
    if (dc.GetBitmap()->IsEmpty())
        return false;
    WidenRows(rows, dc.GetBitmap()->GetBits());
    return true;
}

// The JPEG holds the widened rows; only the page's own w columns of it are printed.
bool CPrintJob::SendJpeg(const platform::Bitmap &picture, int w, int h, const Placement &at) {
    std::vector<std::uint8_t> jpeg;
    return platform::EncodeJpeg(picture, picture.GetWidth(), h, jpeg) &&
           m_Printer.CheckJpeg(jpeg) &&
           m_Printer.StretchJpeg(at.x, at.y, at.width, at.height, jpeg, w, h);
}

// Eight bands bound each transfer to an eighth of the page; the last band takes the rows the
// division leaves over, and a band without rows is left out. Each band ends on the printer row
// where the next begins, so a fractional scale leaves no unprinted line between two bands.
void CPrintJob::SendBands(const platform::Bitmap &picture, int w, int h, const Placement &at) {
    const int b = h / kBands;
    for (int i = 0; i < kBands; ++i) {
        const int top = i * b;
        const int rows = i == kBands - 1 ? h - top : b;
        if (rows == 0)
            continue;
        const int y0 = BandEdge(at, top), y1 = BandEdge(at, top + rows);
        m_Printer.StretchBitmap(at.x, y0, at.width, y1 - y0, picture, 0, top, w, rows);
    }
}
