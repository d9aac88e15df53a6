#include "tests/view/ViewTestSupport.h"

#include "tests/support/TestPaths.h"
#include "view/CPagePainter.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace viewtest {

void WriteBlankPdf(const std::string &path, const std::vector<std::pair<int, int>> &sizes) {
    std::vector<std::string> objects;
    std::ostringstream kids;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        kids << (i ? " " : "") << 3 + i << " 0 R";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids.str() + "] /Count " +
                      std::to_string(sizes.size()) + " >>");
    for (const auto &[w, h] : sizes)
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + std::to_string(w) + " " +
                          std::to_string(h) + "] >>");
    std::ostringstream out;
    out << "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(static_cast<std::size_t>(out.tellp()));
        out << i + 1 << " 0 obj\n" << objects[i] << "\nendobj\n";
    }
    const auto xref = static_cast<std::size_t>(out.tellp());
    out << "xref\n0 " << objects.size() + 1 << "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char line[21];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        out << line;
    }
    out << "trailer\n<< /Size " << objects.size() + 1 << " /Root 1 0 R >>\nstartxref\n"
        << xref << "\n%%EOF\n";
    std::ofstream(path, std::ios::binary) << out.str();
}

std::unique_ptr<view::CViewCore> OpenCore(const std::string &path, int width, int height) {
    auto core = std::make_unique<view::CViewCore>(testsupport::ResourceDir());
    core->Scroll().SetClientSize(width, height);
    if (core->OpenPdfFile(path, nullptr, nullptr) != 0)
        return nullptr;
    return core;
}

bool ShowsPageAt(const platform::DeviceContext &buffer, int x, int y, int width, int height) {
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + width, buffer.GetWidth());
    const int bottom = std::min(y + height, buffer.GetHeight());
    if (left >= right || top >= bottom)
        return false;
    const auto pixel = buffer.GetPixel((left + right) / 2, (top + bottom) / 2);
    return pixel && *pixel != view::CPagePainter::kBackground;
}

} // namespace viewtest
