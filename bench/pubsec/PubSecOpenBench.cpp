// PdfOpen of a 50-page document encrypted for a certificate holder against the same document
// encrypted with a password, in pairs from the same producer. The decrypting route (NSS's CMS
// decoder, then the whole document written out decrypted and parsed again) should cost at most
// twice the password route. One recipient decryption is timed on its own as well: it is a
// private-key operation whose cost does not depend on the document, so the ratios are printed
// with and without it. The certificate database lives in a temporary home made for the run; it
// is opened by the first certificate open, which is timed apart.
//   vesk-bench-pubsec [Google Benchmark options]

#include "bench/common/NullTree.h"
#include "engine-ext/PubSecDatabase.h"
#include "engine-ext/PubSecRecipient.h"
#include "engine/PdfApi.h"
#include "platform/SpecialFolders.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

void BM_RecipientDecryption(benchmark::State &state) {
    std::ifstream in(kDocuments + "/recipient.der", std::ios::binary);
    const std::string block{std::istreambuf_iterator<char>(in), {}};
    for (auto _ : state) {
        const engine_ext::CPubSecDatabase database;
        engine_ext::CPubSecRecipientDecryptor decryptor(database);
        if (!decryptor.Decrypt(block)) {
            state.SkipWithError("recipient not decrypted");
            break;
        }
    }
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

// Keeps each benchmark's processor time per open (the median when repeated) for the ratios
// printed at the end: on a shared machine it is steadier than wall time, and every open runs
// on one thread without waiting for anything.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!run.error_occurred && (median || run.run_type == Run::RT_Iteration))
                m_Times[run.run_name.function_name] = run.GetAdjustedCPUTime();
        }
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
    benchmark::RegisterBenchmark("recipient decryption", BM_RecipientDecryption)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double recipient = reporter.Time("recipient decryption");
    std::printf("processor time ratios\n%-22s %-28s %14s %22s\n", "certificate", "password",
                "cert/password", "less recipient/password");
    for (const Pair &pair : kPairs) {
        const double password = reporter.Time(pair.password);
        const double certificate = reporter.Time(pair.certificate);
        if (password > 0)
            std::printf("%-22s %-28s %14.2f %22.2f\n", pair.certificate, pair.password,
                        certificate / password, (certificate - recipient) / password);
    }
    std::filesystem::remove_all(home);
    return 0;
}
