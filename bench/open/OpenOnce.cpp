// Opens one document once, the way a reading view does, and reports the time PdfOpen took
// and the resident memory afterwards:  vesk-bench-open-once FILE [PASSWORD]
// Prints: <open milliseconds> <resident kilobytes after open> <pages>

#include "bench/common/NullTree.h"
#include "bench/common/ResidentMemory.h"
#include "engine/PdfApi.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char **argv) {
    if (argc < 2)
        return 2;
    const auto exe = std::filesystem::canonical("/proc/self/exe").parent_path();
    PDFHANDLE h = PdfCreate();
    PdfSetResourceDir(h, (exe / "rc").c_str());
    CNullTree tree;
    const auto start = std::chrono::steady_clock::now();
    const int rc = PdfOpen(h, argv[1], argc > 2 ? argv[2] : nullptr, &tree);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("%.3f %ld %d\n", took.count(), ResidentKilobytes(),
                rc == 0 ? PdfGetPageCount(h) : rc);
    PdfDestroy(h);
    return 0;
}
