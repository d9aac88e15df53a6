#pragma once

// Private to engine/: drawing one page into any Poppler output device, the way every render
// and text extraction of the engine does it.

class OutputDev;
class PDFDoc;

// A rectangle of the rendered page in pixels; a negative width or height means the whole page.
struct PageSlice {
    int x = -1, y = -1, w = -1, h = -1;
};

// Called between drawing operators; true stops the page there.
using AbortCheck = bool (*)(void *data);

// What of the page is drawn: the crop box, clipped to it, as on screen; or the whole media box
// without clipping, as printed pages are.
enum class PageArea { CropBox, MediaBox };

// Draws the page at dpi, turned by rotate, not for printing. False when the page cannot be
// built (a broken page tree): the device then holds nothing of it.
//
// Content streams that carry an image-only filter (JBIG2, DCT, JPX, CCITT) are left out: no
// sound page has them, and a crafted one decodes into gigabytes of "operators" that Poppler
// would lex for minutes with no way to stop it. The rest of the page is drawn as usual.
bool DisplayPage(PDFDoc &doc, OutputDev &out, int page, double dpi, int rotate,
                 const PageSlice &slice = {}, AbortCheck abort = nullptr, void *abortData = nullptr,
                 PageArea area = PageArea::CropBox);
