// Opens a document through the engine interface and prints its page count, page sizes and
// outline: the quickest way to see what the engine makes of a file. With --png it also writes
// one page as the reader shows it, frame and shadow included, to a PNG file.
//   vesk-engine-smoke FILE [PASSWORD] [--png PAGE ZOOM OUT.png]

#include "engine/PdfApi.h"
#include "platform/DeviceContext.h"
#include "platform/PngFile.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

// Keeps the outline as indented lines, in insertion order.
class CPrintedTree : public platform::TreeControl {
public:
    platform::TreeItem InsertItem(const std::string &text, platform::TreeItem parent) override {
        const int depth = parent ? m_Depth[parent] + 1 : 0;
        m_Items.push_back({text, depth});
        const platform::TreeItem item = m_Items.size();
        m_Depth[item] = depth;
        return item;
    }
    platform::TreeItem GetFirstVisibleItem() override { return m_Items.empty() ? 0 : 1; }
    void SelectFirstVisible(platform::TreeItem) override {}
    void SetFocus() override {}

    struct Line {
        std::string text;
        int depth;
    };
    const std::vector<Line> &Items() const { return m_Items; }

private:
    std::vector<Line> m_Items;
    std::map<platform::TreeItem, int> m_Depth;
};

std::string ResourceDir(const char *argv0) {
    std::error_code ec;
    const auto exe = std::filesystem::canonical("/proc/self/exe", ec);
    return (ec ? std::filesystem::path(argv0) : exe).parent_path().string() + "/rc";
}

struct PngRequest {
    int nPage = 0;
    float fZoom = 1.0f;
    const char *path = nullptr;
};

// The drawn area ends where the top row's frame does: black border, then light grey.
int DrawnWidth(const platform::DeviceContext &dc) {
    int w = dc.GetWidth();
    while (w > 0 && dc.GetPixel(w - 1, 0) == platform::kWhite)
        --w;
    return w;
}

int DrawnHeight(const platform::DeviceContext &dc) {
    int h = dc.GetHeight();
    while (h > 0 && dc.GetPixel(0, h - 1) == platform::kWhite)
        --h;
    return h;
}

constexpr long long kMaxPictureBytes = 512LL * 1024 * 1024;

int WritePagePng(PDFHANDLE h, const PngRequest &png) {
    if (PdfSetZoom(h, png.fZoom) != 0 || PdfGoToPage(h, png.nPage) != 0) {
        std::printf("png: no page %d at zoom %g\n", png.nPage, png.fZoom);
        return 1;
    }
    // Page sizes are whole points: leave room for the fraction the render may add.
    const long long slack = static_cast<long long>(std::ceil(png.fZoom)) + 8;
    const long long w = std::llround(PdfGetPageWidth(h, png.nPage) * double{png.fZoom}) + slack;
    const long long ht = std::llround(PdfGetPageHeight(h, png.nPage) * double{png.fZoom}) + slack;
    // A hostile page box must not take the tool down with a picture no memory holds.
    if (w * ht > kMaxPictureBytes / 3) {
        std::printf("png: page %d too large to draw (%lld x %lld pixels)\n", png.nPage, w, ht);
        return 1;
    }
    platform::DeviceContext dc(static_cast<int>(w), static_cast<int>(ht));
    PdfSetRedraw(h, 1);
    if (PdfDrawPage(h, &dc, png.nPage, 0, 0) != 0 ||
        !platform::WritePng(*dc.GetBitmap(), DrawnWidth(dc), DrawnHeight(dc), png.path)) {
        std::printf("png: page %d not written to %s\n", png.nPage, png.path);
        return 1;
    }
    std::printf("png: page %d at zoom %g written to %s (%d x %d)\n", png.nPage, png.fZoom, png.path,
                DrawnWidth(dc), DrawnHeight(dc));
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    PngRequest png;
    int args = argc; // FILE and PASSWORD come before --png
    bool wellFormed = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--png") != 0)
            continue;
        wellFormed = i + 4 == argc;
        if (wellFormed)
            png = {std::atoi(argv[i + 1]), std::strtof(argv[i + 2], nullptr), argv[i + 3]};
        args = i;
        break;
    }
    if (!wellFormed || args < 2 || args > 3) {
        std::fprintf(stderr, "usage: %s FILE [PASSWORD] [--png PAGE ZOOM OUT.png]\n", argv[0]);
        return 2;
    }
    PDFHANDLE h = PdfCreate();
    PdfSetResourceDir(h, ResourceDir(argv[0]).c_str());
    CPrintedTree tree;
    const int rc = PdfOpen(h, argv[1], args > 2 ? argv[2] : nullptr, &tree);
    if (rc != 0) {
        std::printf("open failed: %d (%s)\n", rc, rc == -2 ? "password needed or wrong" : "error");
        PdfDestroy(h);
        return 1;
    }
    const int pages = PdfGetPageCount(h);
    std::printf("pages: %d\n", pages);
    for (int p = 1; p <= pages; ++p)
        std::printf("page %d: %d x %d pt\n", p, PdfGetPageWidth(h, p), PdfGetPageHeight(h, p));
    std::printf("outline:\n");
    for (std::size_t i = 0; i < tree.Items().size(); ++i) {
        const auto &line = tree.Items()[i];
        std::printf("%*s%s -> page %d\n", 2 + 2 * line.depth, "", line.text.c_str(),
                    PdfGetLinkTarget(h, i + 1));
    }
    std::printf("copy allowed: %s\n", PdfCanCopy(h) ? "yes" : "no");
    const int result = png.path ? WritePagePng(h, png) : 0;
    PdfDestroy(h);
    return result;
}
