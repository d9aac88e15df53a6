// Reading-view figures in one run:  vesk-bench-view [FILE]   (default: the bundled sample)
//   open to first painted page, and the pages drawn by then, against rendering page 1 alone
//   paint of a 1920 x 1080 view whose pages are cached, alone and while a look-ahead page is
//   being rendered on another thread with the same engine; at a device scale of 2 too
//   page forward in single-page mode: paints that found their page already rendered
//   resident memory with one and with five documents open (the four behind the first one
//   hidden, as tabs behind the active one are)

#include "bench/common/ResidentMemory.h"
#include "platform/ProcessMemory.h"
#include "view/CPagePainter.h"
#include "view/CViewCore.h"
#include "view/ScreenImage.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <atomic>
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
constexpr int kPaints = 200;

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

// The window surface of a 1920 x 1080 view at a device scale, and the paint buffer for it.
struct Surface {
    explicit Surface(int scale)
        : buffer(kWidth * scale + 1, kHeight * scale + 1),
          window(kWidth * scale, kHeight * scale, QImage::Format_RGB32) {
        window.setDevicePixelRatio(scale);
    }
    platform::DeviceContext buffer;
    QImage window;
    QImage screen;
};

// The paint as the widget does it: compose the buffer, then draw it onto the window surface
// one to one.
bool PaintOnce(view::CViewCore &core, Surface &surface) {
    view::CPagePainter painter(core);
    painter.Paint(surface.buffer);
    const int w = surface.window.width(), h = surface.window.height();
    view::ToScreenImage(*surface.buffer.GetBitmap(), w, h, surface.screen);
    surface.screen.setDevicePixelRatio(surface.window.devicePixelRatio());
    QPainter(&surface.window).drawImage(QPoint(0, 0), surface.screen);
    return painter.FirstMissing() == 0;
}

// Paints until the paint found every page it shows, then lets the look-ahead finish.
void Settle(view::CViewCore &core, Surface &surface) {
    for (int round = 0; round < 10 && !PaintOnce(core, surface); ++round) {
        int first = 0, last = -1;
        core.VisibleRange(&first, &last);
        for (int page = first; page <= last; ++page)
            core.Worker().RenderPage(page);
    }
    int first = 0, last = -1;
    core.VisibleRange(&first, &last);
    core.Worker().RenderPage(last + 1);
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double Worst(const std::vector<double> &times) {
    return *std::max_element(times.begin(), times.end());
}

// Pages of the document drawn one after another with the view's engine, as the worker draws
// a look-ahead page, for as long as the object lives.
class CConcurrentRender {
public:
    explicit CConcurrentRender(PDFHANDLE h)
        : m_Thread([this, h] {
              const int pages = PdfGetPageCount(h);
              for (int page = 1; !m_bStop; page = page % pages + 1) {
                  platform::DeviceContext dc(PdfGetPageWidth(h, page) * 2 + 8,
                                             PdfGetPageHeight(h, page) * 2 + 8);
                  PdfSetRedraw(h, 1);
                  const auto start = Clock::now();
                  PdfDrawPage(h, &dc, page, 0, 0);
                  m_fWorst = std::max(m_fWorst.load(), MillisecondsSince(start));
                  ++m_nRenders;
              }
          }) {}
    ~CConcurrentRender() {
        m_bStop = true;
        m_Thread.join();
    }
    int Renders() const { return m_nRenders; }
    double WorstRender() const { return m_fWorst; }

private:
    std::atomic<bool> m_bStop = false;
    std::atomic<int> m_nRenders = 0;
    std::atomic<double> m_fWorst = 0;
    std::thread m_Thread;
};

// Paints of the cached pages, each from composing the buffer to the window surface.
std::vector<double> TimePaints(view::CViewCore &core, Surface &surface) {
    std::vector<double> times;
    for (int i = 0; i < kPaints; ++i) {
        const auto start = Clock::now();
        PaintOnce(core, surface);
        times.push_back(MillisecondsSince(start));
    }
    return times;
}

void CachedPaint(const std::string &path, int scale) {
    auto core = OpenView(path);
    core->SetDeviceScale(static_cast<float>(scale));
    Surface surface(scale);
    Settle(*core, surface);
    const std::vector<double> alone = TimePaints(*core, surface);
    std::printf("paint 1920x1080 at device scale %d, pages cached: median %.2f ms, worst %.2f ms\n",
                scale, Median(alone), Worst(alone));
    if (scale != 1)
        return;
    std::vector<double> busy;
    int renders = 0;
    double worstRender = 0;
    {
        CConcurrentRender render(core->Handle());
        busy = TimePaints(*core, surface);
        renders = render.Renders();
        worstRender = render.WorstRender();
    }
    std::printf("paint 1920x1080 while pages render with the same engine (%d renders, longest "
                "%.1f ms): median %.2f ms, worst %.2f ms (target <= 16)\n",
                renders, worstRender, Median(busy), Worst(busy));
}

void PageForward(const std::string &path) {
    auto core = OpenView(path);
    core->SetDisplayMode(view::kSinglePage);
    Surface surface(1);
    Settle(*core, surface);
    int steps = 0, ready = 0;
    double worst = 0;
    while (core->NextPage() == 0 && steps < 20) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ++steps;
        ready += core->Cache().FindCachedPage(core->CurrentPage()) >= 0;
        const auto start = Clock::now();
        PaintOnce(*core, surface);
        worst = std::max(worst, MillisecondsSince(start));
    }
    std::printf("page forward, single page: %d of %d paints found the page rendered, worst paint "
                "%.2f ms (target: all)\n",
                ready, steps, worst);
}

// The open as a new document window runs it, step by step: the view and its cache, the file
// into the engine, the fit to the window (page 1 drawn at its zoom), the first paint.
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
    const long rendersByFit = core->Cache().RenderCount();
    step = Clock::now();
    Surface surface(1);
    PaintOnce(*core, surface);
    const double painted = MillisecondsSince(step);
    const double open = MillisecondsSince(start);
    std::printf("open steps: view %.1f ms, file %.1f ms, fit %.1f ms, first paint %.1f ms\n", made,
                opened, fitted, painted);
    std::printf("pages drawn from the open to the fitted page 1: %ld (target 1)\n", rendersByFit);

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
    Surface surface(1);
    long one = 0;
    for (int n = 1; n <= 5; ++n) {
        if (!views.empty())
            views.back()->ReleaseMemory(); // its tab goes behind the new one
        views.push_back(OpenView(path));
        Settle(*views.back(), surface);
        if (n == 1)
            one = ResidentKilobytes();
    }
    const long five = ResidentKilobytes();
    std::printf("resident memory: %ld KB with one document, %ld KB with five (%ld KB before): "
                "five cost %.1f MB more than one (target <= 100)\n",
                one, five, before, (five - one) / 1024.0);
}

} // namespace

int main(int argc, char **argv) {
    platform::ReturnLargeBlocksToSystem(); // as the reader does
    const std::string path = argc > 1 ? argv[1] : VESK_SAMPLE_PDF;
    if (!OpenView(path)) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return 1;
    }
    std::printf("document: %s\n", path.c_str());
    Memory(path); // first, before other parts have grown the heap
    OpenToFirstPaint(path);
    CachedPaint(path, 1);
    CachedPaint(path, 2);
    PageForward(path);
    return 0;
}
