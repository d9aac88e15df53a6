// Opens a document through the engine interface and prints its page count, page sizes and
// outline: the quickest way to see what the engine makes of a file.
//   vesk-engine-smoke FILE [PASSWORD]

#include "engine/PdfApi.h"

#include <cstdio>
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

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [PASSWORD]\n", argv[0]);
        return 2;
    }
    PDFHANDLE h = PdfCreate();
    PdfSetResourceDir(h, ResourceDir(argv[0]).c_str());
    CPrintedTree tree;
    const int rc = PdfOpen(h, argv[1], argc > 2 ? argv[2] : nullptr, &tree);
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
    PdfDestroy(h);
    return 0;
}
