#include "tests/fuzz/FuzzDocumentFile.h"

#include "engine/CPdfEngine.h"
#include "platform/DeviceContext.h"
#include "tests/support/RecordingTree.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPagesRead = 2;
constexpr float kZoom = 0.25f;
constexpr int kTextCapacity = 4096;
constexpr std::size_t kLinksFollowed = 64;
// A page of a fuzzed file has this long before it is cut short: far below libFuzzer's
// timeout, so that only a real hang is reported as one.
constexpr std::chrono::milliseconds kPageTime{1000};

std::string ResourceDirBesideProgram() {
    std::error_code ec;
    return (std::filesystem::canonical("/proc/self/exe", ec).parent_path() / "rc").string();
}

} // namespace

CFuzzEngine::CFuzzEngine() : m_h(PdfCreate()) {
    PdfSetResourceDir(m_h, ResourceDirBesideProgram().c_str());
    m_h->m_PageBudget.m_Time = kPageTime;
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vesk-fuzz-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd >= 0) {
        close(fd);
        m_strPath = pattern;
    }
}

CFuzzEngine::~CFuzzEngine() {
    PdfDestroy(m_h);
    if (!m_strPath.empty())
        std::remove(m_strPath.c_str());
}

int CFuzzEngine::OpenAndRead(const void *bytes, std::size_t size) {
    {
        std::ofstream out(m_strPath, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char *>(bytes), static_cast<std::streamsize>(size));
    }
    testsupport::CRecordingTree tree;
    const int opened = PdfOpen(m_h, m_strPath.c_str(), nullptr, &tree);
    if (opened != 0)
        return opened;
    for (std::size_t item = 1; item <= std::min(tree.Nodes().size(), kLinksFollowed); ++item)
        PdfGetLinkTarget(m_h, item);
    ReadOpenedDocument();
    return opened;
}

void CFuzzEngine::ReadOpenedDocument() {
    const int pages = PdfGetPageCount(m_h);
    int width = 0, height = 0, first = 1, last = 0;
    PdfGetDocExtent(m_h, &width, &height);
    PdfGetVisibleRange(m_h, 0, 1000, &first, &last);
    PdfGetVisibleRange(m_h, height - 10, height, &first, &last);
    PdfGetPageTop(m_h, pages + 1);
    PdfCanCopy(m_h);
    PdfSetZoom(m_h, kZoom);
    std::vector<char16_t> text(kTextCapacity);
    platform::DeviceContext dc;
    for (int p = 1; p <= std::min(pages, kPagesRead); ++p) {
        PdfGetPageLeft(m_h, p, 800);
        PdfSetRedraw(m_h, 1);
        PdfDrawPage(m_h, &dc, p, 0, 0);
        int length = 0;
        PdfGetRectText(m_h, p, -1e4, -1e4, 1e4, 1e4, text.data(), &length, kTextCapacity);
    }
    PdfRotate(m_h, 90);
    PdfGetDocExtent(m_h, &width, &height);
    PdfRotate(m_h, -90);
}

CFuzzEngine &FuzzEngine() {
    static CFuzzEngine engine;
    return engine;
}

std::string HexOf(const std::uint8_t *data, std::size_t size) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        hex += kDigits[data[i] >> 4];
        hex += kDigits[data[i] & 15];
    }
    return hex;
}

// Objects 1 to 4 are the catalog, the page tree, the page and its content; the extra objects
// follow from 5 on. The cross-reference table is exact, so Poppler never needs to repair it.
std::string SmallDocument(const std::string &pageResources, const std::string &content,
                          const std::string &extraObjects, int extraObjectCount,
                          const std::string &trailerEntries) {
    std::vector<std::string> objects = {
        "<</Type/Catalog/Pages 2 0 R>>", "<</Type/Pages/Kids[3 0 R]/Count 1>>",
        "<</Type/Page/Parent 2 0 R/MediaBox[0 0 200 200]/Resources " + pageResources +
            "/Contents 4 0 R>>",
        "<</Length " + std::to_string(content.size()) + ">>\nstream\n" + content + "\nendstream"};
    std::string file = "%PDF-1.7\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(file.size());
        file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    // The extra objects come whole ("5 0 obj ... endobj"), so their offsets are found here.
    for (int n = 0; n < extraObjectCount; ++n) {
        const std::string header = std::to_string(objects.size() + 1 + n) + " 0 obj";
        const std::size_t at = extraObjects.find(header);
        offsets.push_back(at == std::string::npos ? 0 : file.size() + at);
    }
    file += extraObjects;
    const std::size_t xref = file.size();
    const std::size_t size = offsets.size() + 1;
    file += "xref\n0 " + std::to_string(size) + "\n0000000000 65535 f \n";
    char entry[32];
    for (const std::size_t offset : offsets) {
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        file += entry;
    }
    file += "trailer\n<</Size " + std::to_string(size) + "/Root 1 0 R" + trailerEntries +
            ">>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return file;
}
