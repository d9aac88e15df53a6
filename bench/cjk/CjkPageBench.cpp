// A page of 1200 Chinese characters written as GBK codes in a simple TrueType font (which the
// engine rewrites into a composite font at open) against the same page written the ordinary
// way, in a composite font over glyph indices or Unicode:
//  - "embedded": both carry the same font subset;
//  - "substitute": neither embeds a font (宋体 against STSong-Light), so both draw with the
//    machine's Chinese font.
// Each benchmark draws the two pages of a pair in turn and reports both times and their ratio,
// so that a busy machine slows both alike; the times are the drawing thread's processor time,
// steadier than wall time on a shared machine (Poppler draws on the calling thread). "open+draw"
// opens the document in a new engine and draws the page once (font set-up included); "redraw" draws
// the open page again.
//   vesk-bench-cjk [Google Benchmark options]

#include "bench/common/NullTree.h"
#include "engine/PdfApi.h"
#include "platform/DeviceContext.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <string>

namespace {

const std::string kPages = VESK_BENCH_PAGES;
constexpr float kZoom = 1.5f;
constexpr int kFrame = 4; // PdfDrawPage's border and shadow around the page

struct Pair {
    const char *name;
    const char *gbk;
    const char *ordinary;
};

const Pair kPairs[] = {
    {"embedded", "gbk-embedded.pdf", "ordinary-embedded.pdf"},
    {"substitute", "gbk-substitute.pdf", "ordinary-substitute.pdf"},
};

// One engine with one document, drawn into a context the size of its page.
class CPage {
public:
    explicit CPage(const std::string &file) : m_h(PdfCreate()) {
        const auto exe = std::filesystem::canonical("/proc/self/exe").parent_path();
        PdfSetResourceDir(m_h, (exe / "rc").c_str());
        CNullTree tree;
        m_bOpen = PdfOpen(m_h, (kPages + "/" + file).c_str(), nullptr, &tree) == 0 &&
                  PdfSetZoom(m_h, kZoom) == 0;
        if (m_bOpen)
            m_Dc.SelectBitmap(std::make_unique<platform::Bitmap>(
                static_cast<int>(PdfGetPageWidth(m_h, 1) * kZoom) + kFrame,
                static_cast<int>(PdfGetPageHeight(m_h, 1) * kZoom) + kFrame));
    }
    ~CPage() { PdfDestroy(m_h); }
    CPage(const CPage &) = delete;
    CPage &operator=(const CPage &) = delete;

    bool Draw() {
        return m_bOpen && PdfSetRedraw(m_h, 1) == 0 && PdfDrawPage(m_h, &m_Dc, 1, 0, 0) == 0;
    }

private:
    PDFHANDLE m_h;
    bool m_bOpen = false;
    platform::DeviceContext m_Dc;
};

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void Report(benchmark::State &state, double gbk, double ordinary) {
    const double runs = static_cast<double>(state.iterations());
    state.counters["gbk_ms"] = gbk * 1000 / runs;
    state.counters["ordinary_ms"] = ordinary * 1000 / runs;
    state.counters["ratio"] = ordinary > 0 ? gbk / ordinary : 0;
}

// Time of `step` for each page of the pair, in turn.
template <typename Step> void TimePair(benchmark::State &state, const Pair &pair, Step step) {
    double gbk = 0, ordinary = 0;
    for (auto _ : state) {
        for (const bool isGbk : {true, false}) {
            const double start = ThreadSeconds();
            if (!step(isGbk ? pair.gbk : pair.ordinary)) {
                state.SkipWithError("a page was not drawn");
                return;
            }
            (isGbk ? gbk : ordinary) += ThreadSeconds() - start;
        }
    }
    Report(state, gbk, ordinary);
}

void BM_OpenAndDraw(benchmark::State &state, const Pair &pair) {
    TimePair(state, pair, [](const char *file) { return CPage(file).Draw(); });
}

void BM_Redraw(benchmark::State &state, const Pair &pair) {
    CPage gbk(pair.gbk), ordinary(pair.ordinary);
    TimePair(state, pair,
             [&](const char *file) { return (file == pair.gbk ? gbk : ordinary).Draw(); });
}

} // namespace

int main(int argc, char **argv) {
    for (const Pair &pair : kPairs) {
        benchmark::RegisterBenchmark((std::string("open+draw/") + pair.name).c_str(),
                                     BM_OpenAndDraw, pair)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("redraw/") + pair.name).c_str(), BM_Redraw, pair)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
