// PdfOpen of a 50-page document encrypted for a certificate holder against the same document
// encrypted with a password, in pairs from the same producer. The decrypting route (NSS's CMS
// decoder, then the whole document written out decrypted and parsed again) should cost at most
// twice the password route. The certificate database lives in a temporary home made for the
// run; it is opened by the first certificate open, which is timed on its own.
//   vesk-bench-pubsec [Google Benchmark options]

#include "engine/PdfApi.h"
#include "platform/SpecialFolders.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

const std::string kDocuments = VESK_BENCH_DOCUMENTS;

struct Pair {
    const char *certificate;
    const char *password;
};

const Pair kPairs[] = {
    {"ours-cert-aes128.pdf", "qpdf-password-aes128.pdf"},
    {"pdfbox-v2.pdf", "pdfbox-password-rc4.pdf"},
    {"pdfbox-v5.pdf", "pdfbox-password-aes256.pdf"},
};

class CNullTree : public platform::TreeControl {
public:
    platform::TreeItem InsertItem(const std::string &, platform::TreeItem) override {
        return ++m_nItems;
    }
    platform::TreeItem GetFirstVisibleItem() override { return m_nItems ? 1 : 0; }
    void SelectFirstVisible(platform::TreeItem) override {}
    void SetFocus() override {}

private:
    platform::TreeItem m_nItems = 0;
};

PDFHANDLE CreateEngine() {
    PDFHANDLE h = PdfCreate();
    const auto exe = std::filesystem::canonical("/proc/self/exe").parent_path();
    PdfSetResourceDir(h, (exe / "rc").c_str());
    return h;
}

void BM_Open(benchmark::State &state, const std::string &name, const char *password) {
    PDFHANDLE h = CreateEngine();
    const std::string path = kDocuments + "/" + name;
    for (auto _ : state) {
        CNullTree tree;
        if (PdfOpen(h, path.c_str(), password, &tree) != 0) {
            state.SkipWithError("open failed");
            break;
        }
    }
    PdfDestroy(h);
}

// A home of our own with alice's key in a fresh database; the machine's is never touched.
std::string MakeHome() {
    std::string home = platform::TempFolder() + "/vesk-bench-pubsec-XXXXXX";
    if (!mkdtemp(home.data()))
        return "";
    const std::string command = std::string("sh '") + VESK_MAKE_NSSDB + "' '" + home + "' '' '" +
                                kDocuments + "/alice.p12' ''";
    return std::system(command.c_str()) == 0 ? home : "";
}

double FirstCertificateOpenMs() {
    PDFHANDLE h = CreateEngine();
    CNullTree tree;
    const auto start = std::chrono::steady_clock::now();
    const int result =
        PdfOpen(h, (kDocuments + "/" + kPairs[0].certificate).c_str(), nullptr, &tree);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    PdfDestroy(h);
    return result == 0 ? took.count() : -1.0;
}

// Keeps each benchmark's time per open for the ratios printed at the end.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_Times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    double Time(const std::string &name) const {
        const auto it = m_Times.find(name);
        return it == m_Times.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> m_Times;
};

} // namespace

int main(int argc, char **argv) {
    const std::string home = MakeHome();
    if (home.empty()) {
        std::fprintf(stderr, "could not make a certificate database\n");
        return 1;
    }
    setenv("HOME", home.c_str(), 1);
    std::printf("first certificate open (opens the database): %.2f ms\n", FirstCertificateOpenMs());

    for (const Pair &pair : kPairs) {
        benchmark::RegisterBenchmark(pair.certificate, BM_Open, pair.certificate, nullptr)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(pair.password, BM_Open, pair.password, "user")
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const Pair &pair : kPairs) {
        const double password = reporter.Time(pair.password);
        if (password > 0)
            std::printf("certificate / password  %-22s %-28s %.2f\n", pair.certificate,
                        pair.password, reporter.Time(pair.certificate) / password);
    }
    std::filesystem::remove_all(home);
    return 0;
}
