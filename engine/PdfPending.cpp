// Drawing, extraction, printing and saving are not built yet: each call fails cleanly.

#include "engine/PdfApi.h"

int PdfDrawPage(PDFHANDLE, platform::DeviceContext *, int, int, int) {
    return -1;
}

int PdfGetRectText(PDFHANDLE, int, double, double, double, double, char16_t *, int *, int) {
    return 0;
}

platform::Bitmap *PdfGetRectBitmap(PDFHANDLE, platform::DeviceContext *, int, int, int, int, int) {
    return nullptr;
}

int PdfPrint(PDFHANDLE, const char *, int, int, int, PrintProgressProc) {
    return -1;
}

int PdfSaveAs(PDFHANDLE, const char *, int) {
    return -1;
}
