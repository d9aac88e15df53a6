// Reading-view figures in one run:  vesk-bench-view [FILE]   (default: the bundled sample)
//   paint of a 1920 x 1080 view whose pages are cached (copy only, no rendering)
//   page forward in single-page mode: paints that found their page already rendered
//   open to first painted page, against rendering page 1 alone at the same zoom
//   resident memory with one and with five documents open

#include "bench/common/ResidentMemory.h"
#include "view/CPagePainter.h"
#include "view/CViewCore.h"
#include "view/ScreenImage.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 1920, kHeight = 1080;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string ResourceDir() {
    return (std::filesystem::canonical("/proc/self/exe").parent_path() / "rc").string();
}

// A view core over the file, opened and fitted as a new document window is.
std::unique_ptr<view::CViewCore> OpenView(const std::string &path) {
    auto core = std::make_unique<view::CViewCore>(ResourceDir());
    core->Scroll().SetClientSize(kWidth, kHeight);
    if (core->OpenPdfFile(path, nullptr, nullptr) != 0)
        return nullptr;
    core->OnInitialUpdate();
    return core;
}

void DrawToWindow(const platform::DeviceContext &buffer, QImage &window) {
    static QImage screen;
    view::ToScreenImage(*buffer.GetBitmap(), kWidth, kHeight, screen);
    QPainter(&window).drawImage(QPoint(0, 0), screen);
}

// The paint as the widget does it: compose the buffer, then draw it onto the window surface.
void PaintOnce(view::CViewCore &core, platform::DeviceContext &buffer, QImage &window) {
    view::CPagePainter(core).Paint(buffer);
    const platform::Bitmap &bitmap = *buffer.GetBitmap();
    const QImage image(bitmap.GetBits(), bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetStride(),
                       QImage::Format_BGR888);
    QPainter(&window).drawImage(QPoint(0, 0), image, QRect(0, 0, kWidth, kHeight));
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The whole paint, and its two halves: composing the buffer from the cache, and drawing the
// buffer onto the window surface.
void CachedPaint(const std::string &path) {
    auto core = OpenView(path);
    platform::DeviceContext buffer(kWidth + 1, kHeight + 1);
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    PaintOnce(*core, buffer, window);
    core->Worker().RenderPage(core->CurrentPage() + 1); // let the look-ahead settle
    std::vector<double> whole, compose, draw;
    for (int i = 0; i < 100; ++i) {
        auto start = Clock::now();
        PaintOnce(*core, buffer, window);
        whole.push_back(MillisecondsSince(start));
        start = Clock::now();
        view::CPagePainter(*core).Paint(buffer);
        compose.push_back(MillisecondsSince(start));
        start = Clock::now();
        DrawToWindow(buffer, window);
        draw.push_back(MillisecondsSince(start));
    }
    std::printf("paint 1920x1080, pages cached: median %.2f ms, worst %.2f ms (target <= 4); "
                "compose %.2f ms, draw to the window surface %.2f ms\n",
                Median(whole), *std::max_element(whole.begin(), whole.end()), Median(compose),
                Median(draw));
}

void PageForward(const std::string &path) {
    auto core = OpenView(path);
    core->SetDisplayMode(view::kSinglePage);
    platform::DeviceContext buffer(kWidth + 1, kHeight + 1);
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    PaintOnce(*core, buffer, window);
    int steps = 0, ready = 0;
    double worst = 0;
    while (core->NextPage() == 0 && steps < 20) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ++steps;
        ready += core->Cache().FindCachedPage(core->CurrentPage()) >= 0;
        const auto start = Clock::now();
        PaintOnce(*core, buffer, window);
        worst = std::max(worst, MillisecondsSince(start));
    }
    std::printf("page forward, single page: %d of %d paints found the page rendered, worst paint "
                "%.2f ms (target: all)\n",
                ready, steps, worst);
}

// The open as a new document window runs it, step by step: the view and its cache, the file
// into the engine (the worker starts on page 1 at 100 %), the fit to the window (the worker is
// stopped, page 1 rendered at the new zoom), the first paint.
void OpenToFirstPaint(const std::string &path) {
    auto start = Clock::now();
    auto core = std::make_unique<view::CViewCore>(ResourceDir());
    core->Scroll().SetClientSize(kWidth, kHeight);
    const double made = MillisecondsSince(start);
    auto step = Clock::now();
    core->OpenPdfFile(path, nullptr, nullptr);
    const double opened = MillisecondsSince(step);
    step = Clock::now();
    core->OnInitialUpdate();
    const double fitted = MillisecondsSince(step);
    step = Clock::now();
    platform::DeviceContext buffer(kWidth + 1, kHeight + 1);
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    PaintOnce(*core, buffer, window);
    const double painted = MillisecondsSince(step);
    const double open = MillisecondsSince(start);
    std::printf("open steps: view %.1f ms, file %.1f ms, fit %.1f ms, first paint %.1f ms\n", made,
                opened, fitted, painted);

    const float zoom = core->CurrentZoom();
    view::EnginePtr engine = view::MakeEngine();
    PdfSetResourceDir(engine.get(), ResourceDir().c_str());
    PdfOpen(engine.get(), path.c_str(), nullptr, nullptr);
    PdfSetZoom(engine.get(), zoom);
    platform::DeviceContext page(core->PageWidthPx(1) + 4, core->PageHeightPx(1) + 4);
    const auto renderStart = Clock::now();
    PdfSetRedraw(engine.get(), 1);
    PdfDrawPage(engine.get(), &page, 1, 0, 0);
    const double render = MillisecondsSince(renderStart);
    std::printf("open to first painted page %.1f ms, page 1 alone %.1f ms at zoom %.3f: %.2fx "
                "(target <= 1.2x)\n",
                open, render, zoom, open / render);
}

void Memory(const std::string &path) {
    const long before = ResidentKilobytes();
    std::vector<std::unique_ptr<view::CViewCore>> views;
    platform::DeviceContext buffer(kWidth + 1, kHeight + 1);
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    for (int n = 1; n <= 5; ++n) {
        views.push_back(OpenView(path));
        PaintOnce(*views.back(), buffer, window);
        if (n == 1 || n == 5)
            std::printf("resident memory with %d document%s open: %ld KB (%ld KB before)\n", n,
                        n == 1 ? "" : "s", ResidentKilobytes(), before);
    }
}

} // namespace

int main(int argc, char **argv) {
    const std::string path = argc > 1 ? argv[1] : VESK_SAMPLE_PDF;
    if (!OpenView(path)) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return 1;
    }
    std::printf("document: %s\n", path.c_str());
    OpenToFirstPaint(path);
    CachedPaint(path);
    PageForward(path);
    Memory(path);
    return 0;
}
