#pragma once

// A printer as engine code sees it: the device a print dialog hands back, with the few operations
// a raster print job needs. Coordinates are printer pixels; the origin is the top-left corner of
// the printable area, so the sheet's physical corner lies at (-PhysicalOffsetX, -PhysicalOffsetY).

#include "platform/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class DeviceCap {
    LogPixelsX,    // printer pixels per inch across the sheet
    PhysicalWidth, // the whole sheet, in printer pixels
    PhysicalHeight,
    PhysicalOffsetX, // from the sheet's edge to the printable area
    PhysicalOffsetY,
};

class Printer {
public:
    virtual ~Printer() = default;

    // A job holds the sheets between StartDoc and EndDoc; AbortDoc withdraws it instead, as far
    // as the printer can. Each returns false when the printer reports an error.
    virtual bool StartDoc(const std::string &docName) = 0;
    virtual bool StartPage() = 0;
    virtual bool EndPage() = 0;
    virtual bool EndDoc() = 0;
    virtual void AbortDoc() = 0;

    virtual int GetDeviceCaps(DeviceCap cap) const = 0;

    // Whether the printer takes JPEG data as it is; then CheckJpeg says whether it takes this one.
    virtual bool QueryJpegSupport() const = 0;
    virtual bool CheckJpeg(const std::vector<std::uint8_t> &jpeg) = 0;
    // Draws a JPEG picture of srcW x srcH pixels (from its top-left corner) stretched into the
    // rectangle (x, y, dstW, dstH). False when the printer refused it.
    virtual bool StretchJpeg(int x, int y, int dstW, int dstH,
                             const std::vector<std::uint8_t> &jpeg, int srcW, int srcH) = 0;
    // Draws srcW x srcH pixels of a device bitmap, starting at (srcX, srcY), stretched into the
    // rectangle (x, y, dstW, dstH).
    virtual void StretchBitmap(int x, int y, int dstW, int dstH, const Bitmap &bitmap, int srcX,
                               int srcY, int srcW, int srcH) = 0;
};

struct PageRange {
    int nFrom = 0, nTo = 0; // 1-based, inclusive
};

enum class PrintRange { AllPages, CurrentPage, PageNums };

// What the print dialog offers.
struct PrintDialogSetup {
    int nMinPage = 1;
    int nMaxPage = 1;
};

// What the user chose: the pages, the paper's orientation and the printer the job goes to.
// Copies are the printer's business: the job prints its pages once.
struct PrintChoice {
    PrintRange range = PrintRange::AllPages;
    std::vector<PageRange> pageRanges; // for PageNums, in the dialog's order
    bool bLandscape = false;
    std::unique_ptr<Printer> pPrinter;
};

} // namespace platform
