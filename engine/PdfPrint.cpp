// Printing: the page list from the user's choice in the print dialog, and the job that prints it.

#include "engine/CPdfEngine.h"
#include "engine/CPrintJob.h"

#include <algorithm>

namespace {

// The pages in the dialog's order: duplicates and overlaps stay, a range whose first page lies
// after its last gives nothing. Ranges are cut to the document's pages, so the list is never
// longer than the pages it can print, whatever the ranges.
std::vector<int> PrintPageList(const platform::PrintChoice &choice, int currentPage,
                               int pageCount) {
    std::vector<int> pages;
    switch (choice.range) {
    case platform::PrintRange::CurrentPage:
        pages.push_back(currentPage);
        break;
    case platform::PrintRange::PageNums:
        for (const platform::PageRange &r : choice.pageRanges) {
            for (int p = std::max(r.nFrom, 1); p <= std::min(r.nTo, pageCount); ++p)
                pages.push_back(p);
        }
        break;
    case platform::PrintRange::AllPages:
        for (int p = 1; p <= pageCount; ++p)
            pages.push_back(p);
        break;
    }
    return pages;
}

} // namespace

std::optional<platform::PrintDialogSetup> CPdfEngine::GetPrintSetup() const {
    if (!m_pDoc)
        return std::nullopt;
    return platform::PrintDialogSetup{1, GetPageCount()};
}

int CPdfEngine::Print(platform::PrintChoice &choice, int factor, int fit, PrintProgressProc cb) {
    if (!m_pDoc || !choice.pPrinter)
        return -1;
    const int pageCount = GetPageCount();
    const std::vector<int> pages = PrintPageList(choice, m_nCurPage, pageCount);
    const PrintSettings settings{choice.bLandscape, factor, fit != 0};
    CPrintJob job(*m_pDoc, pageCount, *choice.pPrinter, m_WaterMarkArr, settings, m_PageBudget);
    job.PrintPages(pages, cb);
    return 0;
}
