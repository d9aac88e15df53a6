// Renders (or reads the text of) the first pages of a document the way the reading view does,
// one page after another in one engine:
//   vesk-bench-render FILE PASSWORD|- ZOOM PAGES [--text]
// Prints the milliseconds of every page on one line, then the peak resident kilobytes.

#include "bench/common/NullTree.h"
#include "engine/PdfApi.h"
#include "platform/DeviceContext.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kTextCapacity = 1 << 20;

double DrawPage(PDFHANDLE h, platform::DeviceContext &dc, int page) {
    const auto start = std::chrono::steady_clock::now();
    PdfSetRedraw(h, 1);
    PdfDrawPage(h, &dc, page, 0, 0);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double ReadText(PDFHANDLE h, std::vector<char16_t> &buffer, int page) {
    const auto start = std::chrono::steady_clock::now();
    int length = 0;
    buffer[0] = 0;
    PdfGetRectText(h, page, -1e5, -1e5, 1e5, 1e5, buffer.data(), &length, kTextCapacity);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 5)
        return 2;
    const bool text = argc > 5 && std::strcmp(argv[5], "--text") == 0;
    const float zoom = std::strtof(argv[3], nullptr);
    PDFHANDLE h = PdfCreate();
    PdfSetResourceDir(h,
                      (std::filesystem::canonical("/proc/self/exe").parent_path() / "rc").c_str());
    CNullTree tree;
    if (PdfOpen(h, argv[1], std::strcmp(argv[2], "-") ? argv[2] : nullptr, &tree) != 0 ||
        PdfSetZoom(h, zoom) != 0)
        return 1;
    const int pages = std::min(std::atoi(argv[4]), PdfGetPageCount(h));
    int widest = 0, tallest = 0;
    for (int p = 1; p <= pages; ++p) {
        widest = std::max(widest, PdfGetPageWidth(h, p));
        tallest = std::max(tallest, PdfGetPageHeight(h, p));
    }
    // One context for every page, as a cache slot of the reading view is.
    platform::DeviceContext dc(static_cast<int>(widest * zoom) + 16,
                               static_cast<int>(tallest * zoom) + 16);
    std::vector<char16_t> buffer(kTextCapacity);
    for (int p = 1; p <= pages; ++p)
        std::printf("%.3f ", text ? ReadText(h, buffer, p) : DrawPage(h, dc, p));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("\n%ld\n", usage.ru_maxrss);
    PdfDestroy(h);
    return 0;
}
