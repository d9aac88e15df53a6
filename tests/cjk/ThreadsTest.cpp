// Documents open while another window draws: font choices made at open wait for the first
// drawing, which may be happening on another thread at that moment, and a new resource
// directory replaces the configuration between them. Run again under ThreadSanitizer.

#include "tests/cjk/CjkPages.h"
#include "tests/cjk/CjkTestFonts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;
using cjktest::CjkFixture;
using cjktest::COpenedDocument;

namespace {

constexpr int kRounds = 6;

const auto *const g_pFonts =
    static_cast<cjktest::CFontSet *>(::testing::AddGlobalTestEnvironment(new cjktest::CFontSet(
        {{"simsun.ttc", cjktest::kZenHei}, {"arial.ttf", cjktest::kDejaVuSans}})));

} // namespace

TEST(CjkThreads, OpeningAndDrawingInTwoWindowsAtOnce) {
    if (!g_pFonts->Installed())
        GTEST_SKIP() << "Debian's free fonts are not installed";
    // Two names of one resource directory: each switch builds a new configuration.
    testsupport::CTempDir dir;
    const std::string rcLink = dir / "rc";
    fs::create_directory_symlink(testsupport::ResourceDir(), rcLink);
    std::atomic<int> failures{0};
    auto window = [&](const std::string &document, const std::string &rc) {
        for (int i = 0; i < kRounds; ++i) {
            COpenedDocument doc(document);
            PdfSetResourceDir(doc.h, rc.c_str());
            if (!doc.bOpened || !doc.Draw(1.0f).Drawn() || cjktest::PageText(doc.h, 1).empty())
                ++failures;
        }
    };
    std::thread first(window, CjkFixture("font-choice.pdf"), testsupport::ResourceDir());
    std::thread second(window, CjkFixture("gbk-song.pdf"), rcLink);
    first.join();
    second.join();
    EXPECT_EQ(failures.load(), 0);
}
