#include "tests/view/ViewTestSupport.h"

#include "tests/support/TestPaths.h"
#include "view/CPagePainter.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace viewtest {

namespace {

struct PdfPage {
    int width, height;
    std::string content; // empty: a blank page
};

void WritePdf(const std::string &path, const std::vector<PdfPage> &pages) {
    std::vector<std::string> objects;
    std::ostringstream kids;
    const std::size_t first = 4; // catalog, page tree and font come first
    for (std::size_t i = 0; i < pages.size(); ++i)
        kids << (i ? " " : "") << first + 2 * i << " 0 R";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids.str() + "] /Count " +
                      std::to_string(pages.size()) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const PdfPage &page = pages[i];
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " +
                          std::to_string(page.width) + " " + std::to_string(page.height) +
                          "] /Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(first + 2 * i + 1) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(page.content.size()) + " >>\nstream\n" +
                          page.content + "\nendstream");
    }
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

} // namespace

void WriteBlankPdf(const std::string &path, const std::vector<std::pair<int, int>> &sizes) {
    std::vector<PdfPage> pages;
    for (const auto &[w, h] : sizes)
        pages.push_back({w, h, {}});
    WritePdf(path, pages);
}

void WritePdfWithText(const std::string &path, int width, int height, const std::string &content) {
    WritePdf(path, {{width, height, content}});
}

std::unique_ptr<view::CViewCore> OpenCore(const std::string &path, int width, int height) {
    auto core = std::make_unique<view::CViewCore>(testsupport::ResourceDir());
    core->Scroll().SetClientSize(width, height);
    if (core->OpenPdfFile(path, nullptr, nullptr) != 0)
        return nullptr;
    return core;
}

bool PaintSettled(view::CViewCore &core, platform::DeviceContext &buffer) {
    constexpr int kRounds = 4;
    for (int round = 0; round < kRounds; ++round) {
        view::CPagePainter painter(core);
        if (!painter.Paint(buffer))
            return false;
        if (painter.FirstMissing() == 0)
            return true;
        for (int page = painter.FirstMissing(); page <= painter.LastMissing(); ++page)
            core.Worker().RenderPage(page);
    }
    return false;
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

platform::Rgb CPpm::At(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
    return {static_cast<std::uint8_t>(rgb[at]), static_cast<std::uint8_t>(rgb[at + 1]),
            static_cast<std::uint8_t>(rgb[at + 2])};
}

std::optional<CPpm> ParsePpm(const std::string &data) {
    std::istringstream in(data);
    std::string magic;
    int maxval = 0;
    CPpm ppm;
    if (!(in >> magic >> ppm.width >> ppm.height >> maxval) || magic != "P6" || maxval != 255)
        return std::nullopt;
    in.get();
    ppm.rgb = data.substr(static_cast<std::size_t>(in.tellg()));
    if (ppm.rgb.size() != static_cast<std::size_t>(ppm.width) * ppm.height * 3)
        return std::nullopt;
    return ppm;
}

} // namespace viewtest
