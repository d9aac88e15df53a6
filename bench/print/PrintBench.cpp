// Prints the first pages of a document the way the reading view's print command does (all pages,
// factor 3 unless told, actual size), from the dialog's answer to the last band handed over:
//   vesk-bench-print FILE PAGES [FACTOR] [--qt OUT.pdf]
// The printer is a US Letter printer at 600 dpi that reads every band it is handed, or with --qt
// the program's Qt printer writing a PDF file (Qt's own compression of every band included).
// Prints the milliseconds of wall time and of processor time, then how far resident memory rose
// above its level before the job, in kilobytes.

#include "app/CQtPrinter.h"
#include "bench/common/NullTree.h"
#include "bench/common/ResidentMemory.h"
#include "engine/PdfApi.h"
#include "platform/UiHooks.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <time.h>

namespace {

using Clock = std::chrono::steady_clock;

double ProcessorMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// A printer that takes every band by reading all of its bytes.
class CReadingPrinter : public platform::Printer {
public:
    bool StartDoc(const std::string &) override { return true; }
    bool StartPage() override { return true; }
    bool EndPage() override { return true; }
    bool EndDoc() override { return true; }
    void AbortDoc() override {}
    int GetDeviceCaps(platform::DeviceCap cap) const override {
        switch (cap) {
        case platform::DeviceCap::LogPixelsX:
            return 600;
        case platform::DeviceCap::PhysicalWidth:
            return 5100;
        case platform::DeviceCap::PhysicalHeight:
            return 6600;
        default:
            return 0;
        }
    }
    bool QueryJpegSupport() const override { return false; }
    bool CheckJpeg(const std::vector<std::uint8_t> &) override { return false; }
    bool StretchJpeg(int, int, int, int, const std::vector<std::uint8_t> &, int, int) override {
        return false;
    }
    void StretchBitmap(int, int, int, int, const platform::Bitmap &bitmap, int, int srcY, int,
                       int srcH) override {
        const std::uint8_t *p = bitmap.GetRow(srcY);
        for (std::size_t i = 0, n = static_cast<std::size_t>(bitmap.GetStride()) * srcH; i < n; ++i)
            m_nSum += p[i];
    }
    unsigned long long m_nSum = 0;
};

// Answers "pages 1 to N" at once and notes the moment of the answer.
class CAnsweringDialog : public platform::PrintDialogHook {
public:
    CAnsweringDialog(int pages, const char *qtOutput) : m_nPages(pages), m_pQtOutput(qtOutput) {}
    std::optional<platform::PrintChoice>
    ShowPrintDialog(const platform::PrintDialogSetup &) override {
        platform::PrintChoice choice;
        choice.range = platform::PrintRange::PageNums;
        choice.pageRanges = {{1, m_nPages}};
        if (m_pQtOutput) {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(QString::fromUtf8(m_pQtOutput));
            printer->setPageSize(QPageSize(QPageSize::Letter));
            choice.pPrinter = std::make_unique<CQtPrinter>(std::move(printer));
        } else {
            choice.pPrinter = std::make_unique<CReadingPrinter>();
        }
        m_Answered = Clock::now();
        m_fAnsweredCpu = ProcessorMilliseconds();
        return choice;
    }
    Clock::time_point m_Answered;
    double m_fAnsweredCpu = 0;

private:
    int m_nPages;
    const char *m_pQtOutput;
};

// The peak resident memory since the last reset, in kilobytes.
long PeakKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3)
        return 2;
    const int factor = argc > 3 && std::strcmp(argv[3], "--qt") ? std::atoi(argv[3]) : 3;
    const char *qtOutput = nullptr;
    for (int i = 3; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--qt") == 0)
            qtOutput = argv[i + 1];
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    PDFHANDLE h = PdfCreate();
    PdfSetResourceDir(h,
                      (std::filesystem::canonical("/proc/self/exe").parent_path() / "rc").c_str());
    CNullTree tree;
    if (PdfOpen(h, argv[1], nullptr, &tree) != 0)
        return 1;
    CAnsweringDialog dialog(std::atoi(argv[2]), qtOutput);
    platform::SetPrintDialogHook(&dialog);
    const long before = ResidentKilobytes();
    ResetPeak();
    if (PdfPrint(h, "", 0, factor, 0, nullptr) != 0)
        return 1;
    const double ms =
        std::chrono::duration<double, std::milli>(Clock::now() - dialog.m_Answered).count();
    const double cpu = ProcessorMilliseconds() - dialog.m_fAnsweredCpu;
    std::printf("%.3f %.3f\n%ld\n", ms, cpu, PeakKilobytes() - before);
    platform::SetPrintDialogHook(nullptr);
    PdfDestroy(h);
    return 0;
}
