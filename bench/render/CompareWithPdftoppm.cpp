// Our pages against pdftoppm's, pixel by pixel: the page interior PdfDrawPage draws at each zoom
// is compared with `pdftoppm -r <72 x zoom> -aa yes -aaVector yes -cropbox` of the same page
// (the crop box is what the reader shows), and every frame and shadow pixel is checked
// against the layout it must have.
//   vesk-render-compare OUT_DIR SAMPLE.pdf [CORPUS_DIR] [FIXTURES_DIR]
// Prints one line per page and zoom, then the totals.

#include "bench/common/NullTree.h"
#include "engine/PdfApi.h"
#include "platform/DeviceContext.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr platform::Rgb kGrey{192, 192, 192};
constexpr int kCorpusPages = 2;
constexpr int kToolSeconds = 60; // the decompression bomb never finishes in pdftoppm

struct Job {
    std::string path;
    std::string password; // empty: none
    int pages;            // the first pages to compare
    std::vector<float> zooms;
};

struct Ppm {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
};

std::optional<Ppm> ReadPpm(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    Ppm p;
    if (!(in >> magic >> p.w >> p.h >> maxval) || magic != "P6" || maxval != 255)
        return std::nullopt;
    in.get();
    p.rgb.resize(static_cast<std::size_t>(p.w) * p.h * 3);
    if (!in.read(reinterpret_cast<char *>(p.rgb.data()), p.rgb.size()))
        return std::nullopt;
    return p;
}

std::string Quote(const std::string &s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Legacy handlers take the password as Latin-1 bytes, as the engine retries it.
std::string Latin1(const std::string &utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = utf8[i];
        if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size())
            out += static_cast<char>(((c & 0x03) << 6) | (utf8[++i] & 0x3F));
        else
            out += static_cast<char>(c);
    }
    return out;
}

std::optional<Ppm> Pdftoppm(const Job &job, const std::string &password, int page, float zoom,
                            const std::string &outDir) {
    char dpi[32];
    std::snprintf(dpi, sizeof(dpi), "%.17g", 72.0 * zoom);
    const std::string root = outDir + "/theirs";
    fs::remove(root + ".ppm");
    std::ostringstream cmd;
    cmd << "timeout " << kToolSeconds << " pdftoppm -q -r " << dpi
        << " -aa yes -aaVector yes -cropbox -singlefile -f " << page << " -l " << page;
    if (!password.empty()) // either password of the file opens it
        cmd << " -opw " << Quote(password) << " -upw " << Quote(password);
    cmd << " " << Quote(job.path) << " " << Quote(root);
    if (std::system(cmd.str().c_str()) != 0)
        return std::nullopt;
    return ReadPpm(root + ".ppm");
}

// What the frame puts at (x, y) of a w x h page drawn at (0, 0); nothing inside the page.
std::optional<platform::Rgb> FramePixel(int x, int y, int w, int h) {
    if (x >= 1 && x <= w && y >= 1 && y <= h)
        return std::nullopt;
    if ((x <= w + 1 && y <= h + 1) || (x >= w + 2 && y >= 2) || (y >= h + 2 && x >= 2))
        return platform::kBlack;
    return x == 0 || y == 0 || x == w + 3 || y == h + 3 ? kGrey : platform::kWhite;
}

struct Totals {
    long long pixels = 0, identical = 0, frameErrors = 0;
    int maxDiff = 0, pages = 0, identicalPages = 0, sizeMismatches = 0, toolFailures = 0;
};

void ComparePage(PDFHANDLE h, const Job &job, int page, float zoom, const std::string &outDir,
                 Totals &t) {
    PdfSetZoom(h, zoom);
    const int margin = static_cast<int>(zoom) + 12;
    platform::DeviceContext dc(static_cast<int>(PdfGetPageWidth(h, page) * zoom) + margin,
                               static_cast<int>(PdfGetPageHeight(h, page) * zoom) + margin);
    PdfSetRedraw(h, 1);
    if (PdfDrawPage(h, &dc, page, 0, 0) != 0)
        return;
    int w = dc.GetWidth();
    while (w > 0 && dc.GetPixel(w - 1, 0) == platform::kWhite)
        --w;
    int ht = dc.GetHeight();
    while (ht > 0 && dc.GetPixel(0, ht - 1) == platform::kWhite)
        --ht;
    w -= 4, ht -= 4;
    long long frameErrors = 0;
    for (int y = 0; y < dc.GetHeight(); ++y)
        for (int x = 0; x < dc.GetWidth(); ++x) {
            const auto want = x < w + 4 && y < ht + 4 ? FramePixel(x, y, w, ht) : platform::kWhite;
            frameErrors += want && dc.GetPixel(x, y) != *want;
        }
    t.frameErrors += frameErrors;
    std::optional<Ppm> theirs = Pdftoppm(job, job.password, page, zoom, outDir);
    if (!theirs && Latin1(job.password) != job.password)
        theirs = Pdftoppm(job, Latin1(job.password), page, zoom, outDir);
    std::printf("%-44s %3d %5.3g %5dx%-5d", fs::path(job.path).filename().c_str(), page, zoom, w,
                ht);
    if (!theirs) {
        ++t.toolFailures;
        std::printf(" pdftoppm failed; frame errors %lld\n", frameErrors);
        return;
    }
    const int cw = std::min(w, theirs->w), ch = std::min(ht, theirs->h);
    long long same = 0;
    int maxDiff = 0;
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
            const platform::Rgb ours = *dc.GetPixel(x + 1, y + 1);
            const unsigned char *p =
                &theirs->rgb[(static_cast<std::size_t>(y) * theirs->w + x) * 3];
            const int d = std::max(
                {std::abs(ours.r - p[0]), std::abs(ours.g - p[1]), std::abs(ours.b - p[2])});
            same += d == 0;
            maxDiff = std::max(maxDiff, d);
        }
    const long long pixels = static_cast<long long>(cw) * ch;
    const bool sizeDiffers = theirs->w != w || theirs->h != ht;
    t.pixels += pixels, t.identical += same, t.maxDiff = std::max(t.maxDiff, maxDiff);
    ++t.pages;
    t.identicalPages += same == pixels && !sizeDiffers;
    t.sizeMismatches += sizeDiffers;
    std::printf(" theirs %5dx%-5d identical %8.4f%% max diff %3d frame errors %lld\n", theirs->w,
                theirs->h, pixels ? 100.0 * same / pixels : 100.0, maxDiff, frameErrors);
}

std::vector<Job> CorpusJobs(const std::string &dir, const std::vector<float> &zooms) {
    std::vector<Job> jobs;
    std::ifstream manifest(dir + "/MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);
    while (std::getline(manifest, line)) {
        std::vector<std::string> cols;
        std::stringstream row(line);
        for (std::string col; std::getline(row, col, '\t');)
            cols.push_back(col);
        if (cols.size() < 4 || cols[3] == "pubsec")
            continue;
        const bool pw = cols[3].rfind("password:", 0) == 0;
        jobs.push_back({dir + "/" + cols[0], pw ? cols[3].substr(9) : "", kCorpusPages, zooms});
    }
    return jobs;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT_DIR SAMPLE.pdf [CORPUS_DIR] [FIXTURES_DIR]\n", argv[0]);
        return 2;
    }
    const std::vector<float> zooms = {1.0f, 1.5f, 2.0f};
    std::vector<Job> jobs = {{argv[2], "", 1 << 20, zooms}};
    if (argc > 4) // 612 and 613 pixels wide: rows used as they are, and widened
        jobs.push_back({std::string(argv[4]) + "/two-100pt.pdf", "", 1, {6.12f, 6.13f}});
    if (argc > 3)
        for (Job &j : CorpusJobs(argv[3], zooms))
            jobs.push_back(j);
    const auto exe = fs::canonical("/proc/self/exe").parent_path();
    Totals t;
    for (const Job &job : jobs) {
        PDFHANDLE h = PdfCreate();
        PdfSetResourceDir(h, (exe / "rc").c_str());
        CNullTree tree;
        if (PdfOpen(h, job.path.c_str(), job.password.empty() ? nullptr : job.password.c_str(),
                    &tree) == 0) {
            for (int p = 1; p <= std::min(job.pages, PdfGetPageCount(h)); ++p)
                for (float z : job.zooms)
                    ComparePage(h, job, p, z, argv[1], t);
        }
        PdfDestroy(h);
    }
    std::printf("\npages x zooms compared: %d, identical: %d, size differs: %d, pdftoppm failed: "
                "%d\npixels compared: %lld, identical: %.4f%%, largest difference: %d\n"
                "frame and shadow pixels wrong: %lld\n",
                t.pages, t.identicalPages, t.sizeMismatches, t.toolFailures, t.pixels,
                t.pixels ? 100.0 * t.identical / t.pixels : 100.0, t.maxDiff, t.frameErrors);
    return 0;
}
