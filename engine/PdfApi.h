#pragma once

// The only door to PDF documents: flat calls over an opaque engine handle. Results are the
// integer codes below; nothing here throws. Calls are serialised per engine by locks taken
// inside the engine, so a render worker and the user-interface thread may share a handle; the
// layout queries (page count and sizes, zoom, rotation, current page, extent, page places,
// visible range) never wait for a page being drawn.
//   0 success (1 for PdfRotate and PdfGetRectText), -1 failure or null handle,
//   -2 password missing or wrong (PdfOpen), -3 zoom factor out of range (PdfSetZoom).
// Strings passed in and out (file names, passwords, outline titles) are UTF-8.

#include "platform/TreeControl.h"

#include <cstdint>
#include <string>

class CPdfEngine;
typedef CPdfEngine *PDFHANDLE;

namespace platform {
class DeviceContext;
class Bitmap;
} // namespace platform

typedef int (*PrintProgressProc)(int count, int page, const char *docName);

PDFHANDLE PdfCreate();
int PdfSetResourceDir(PDFHANDLE, const char *path);
int PdfOpen(PDFHANDLE, const char *fileName, const char *password, platform::TreeControl *tree);
int PdfIsOpen(PDFHANDLE);
int PdfGetPageCount(PDFHANDLE);
int PdfGetPageWidth(PDFHANDLE, int page);
int PdfGetPageHeight(PDFHANDLE, int page);
float PdfGetZoom(PDFHANDLE);
int PdfSetZoom(PDFHANDLE, float zoom);
int PdfRotate(PDFHANDLE, int delta);
int PdfGetRotation(PDFHANDLE); // the view rotation: 0, 90, 180 or 270
int PdfGoToPage(PDFHANDLE, int page);
int PdfGetCurrentPage(PDFHANDLE);
int PdfGetDocExtent(PDFHANDLE, int *width, int *height);
int PdfGetPageLeft(PDFHANDLE, int page, int width);
int PdfGetPageTop(PDFHANDLE, int page);
int PdfGetVisibleRange(PDFHANDLE, int top, int bottom, int *first, int *last);
int PdfGetLinkTarget(PDFHANDLE, platform::TreeItem item);
int PdfCanCopy(PDFHANDLE);
int PdfSetRedraw(PDFHANDLE, int flag);
// Device pixels per layout pixel for the pages PdfDrawPage draws (1 until set; 0.25 to 8, else
// -1 and nothing changes): a page is rasterised at zoom x scale and its frame and shadow are
// PdfFrameThickness(scale) pixels per layout pixel, so it fills
// (trunc(width x zoom x scale) + 4 t) by (trunc(height x zoom x scale) + 4 t) pixels, t the
// thickness. Every layout query stays in layout pixels.
int PdfSetDeviceScale(PDFHANDLE, float scale);
constexpr int PdfFrameThickness(float scale) {
    return scale >= 2.0f ? static_cast<int>(scale <= 8.0f ? scale : 8.0f) : 1;
}
int PdfDrawPage(PDFHANDLE, platform::DeviceContext *dc, int page, int x, int y);
// Frees the page pictures the engine holds (the last page drawn, the rasteriser's bitmap and its
// row buffer) for a window that is not shown; the next PdfDrawPage draws its page anew. -1 for a
// null handle, else 0.
int PdfReleasePageMemory(PDFHANDLE);
// While cancel is nonzero, a page PdfDrawPage or PdfGetRectBitmap draws (one under way on another
// thread too) stops at its next drawing operator and the call fails without changing the held
// picture; text reads and printing go on. Cleared with cancel 0. -1 for a null handle, else 0.
int PdfCancelDraw(PDFHANDLE, int cancel);
int PdfGetRectText(PDFHANDLE, int page, double xMin, double yMin, double xMax, double yMax,
                   char16_t *buffer, int *length, int capacity = 8192);
platform::Bitmap *PdfGetRectBitmap(PDFHANDLE, platform::DeviceContext *dc, int page, int x, int y,
                                   int width, int height); // caller owns
// Shows the print dialog through the installed hook (platform/UiHooks.h) and prints the chosen
// pages as pictures at 50 x factor dpi (factor held to 1..5), fitted to the paper when fit is
// nonzero, else at the size the printer's resolution gives. The callback, if any, is asked before
// every page (0 stops the job) and told (-1, -1, "") at the end; it must not call this engine.
// -1 without a document or when the dialog is left without printing; otherwise 0.
int PdfPrint(PDFHANDLE, const char *reserved, int reserved2, int factor, int fit,
             PrintProgressProc cb);
int PdfSaveAs(PDFHANDLE, const char *fileName, int overwrite);
void PdfDestroy(PDFHANDLE);
