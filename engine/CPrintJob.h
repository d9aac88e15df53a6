#pragma once

// Private to engine/: one print job. Every page becomes a raster picture at 50 dpi per
// resolution step, turned to lie like the paper, watermarked, and handed to the printer as one
// JPEG picture where the printer takes JPEG data, otherwise in eight bands.

#include "engine/CWaterMark.h"
#include "engine/PageBudget.h"
#include "engine/PdfApi.h"
#include "platform/DeviceContext.h"
#include "platform/Printer.h"

#include <array>
#include <future>
#include <memory>
#include <string>
#include <vector>

class PDFDoc;
class SplashBitmap;
class CPrintDevice;

struct PrintSettings {
    bool bLandscape = false; // the paper's orientation
    int nFactor = 3;         // resolution steps of 50 dpi, held to 1..5
    bool bFit = false;       // scale each page to the paper, or print it at its own size
};

// Where a page's picture lies on the sheet, in printer pixels: s printer pixels per picture
// pixel, the picture's top-left corner at (x, y), its size width x height.
struct Placement {
    float s = 1;
    int x = 0, y = 0;
    int width = 0, height = 0;
};

// A page drawn for its sheet; the picture lies in the sheet's device context.
struct SheetPicture {
    enum State { kWhite, kDrawn, kFailed }; // white: the page cannot be built, as on screen
    State state = kWhite;
    int w = 0, h = 0; // the page's own pixels, without the widening
    int dpi = 0, rotation = 0;
};

class CPrintJob {
public:
    CPrintJob(PDFDoc &doc, int pageCount, platform::Printer &printer, const WaterMarkArray &marks,
              const PrintSettings &settings, CPageBudget &budget);
    ~CPrintJob();
    CPrintJob(const CPrintJob &) = delete;
    CPrintJob &operator=(const CPrintJob &) = delete;

    // Prints the listed pages in order, one sheet each; numbers outside the document are
    // skipped. The callback, if any, is asked before every page (0 ends the job after the pages
    // printed so far) and told (-1, -1, "") at the end. A page the printer or the job fails on
    // aborts the job instead of ending it.
    void PrintPages(const std::vector<int> &pages, PrintProgressProc cb);

private:
    std::string DocumentName() const;
    std::future<SheetPicture> StartDrawing(int page, platform::DeviceContext &dc);
    SheetPicture DrawSheet(int page, platform::DeviceContext &dc);
    // False when the sheet could not be made: the job is then aborted.
    bool SendSheet(const SheetPicture &sheet, const platform::DeviceContext &dc);
    static bool MakeSheetBitmap(SplashBitmap &rows, platform::DeviceContext &dc);
    bool SendJpeg(const platform::Bitmap &picture, int w, int h, const Placement &at);
    void SendBands(const platform::Bitmap &picture, int w, int h, const Placement &at);

    PDFDoc &m_Doc;
    int m_nPageCount;
    platform::Printer &m_Printer;
    const WaterMarkArray &m_WaterMarks;
    PrintSettings m_Settings;
    int m_nDpi;
    CPageBudget &m_Budget; // each page's time, looked at on the thread that draws it
    std::unique_ptr<CPrintDevice> m_pDevice;
    // One sheet is handed to the printer while the next page is drawn into the other.
    std::array<platform::DeviceContext, 2> m_SheetDCs;
};
