// Printing is not built yet: the call fails cleanly.

#include "engine/PdfApi.h"

int PdfPrint(PDFHANDLE, const char *, int, int, int, PrintProgressProc) {
    return -1;
}
