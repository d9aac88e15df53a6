// Every input that ever made a fuzz target crash or hang, replayed through the same target:
// those fuzzing found (regressions/, README.md says how one is added) and the crafted files
// of tests/fixtures/hostile.py, which once hung the engine or exhausted its memory.

#include "tests/fuzz/FuzzTargets.h"
#include "tests/pubsec/PubSecHome.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Target {
    fs::path folder;
    int (*run)(const std::uint8_t *, std::size_t);
    // Replayed by a user holding alice's key, as when fuzzed, so that they reach decryption.
    bool bAliceHome = false;
};

std::vector<Target> Targets() {
    const fs::path saved(VESK_FUZZ_REGRESSIONS);
    return {{saved / "document", FuzzDocument},
            {testsupport::Fixture("hostile"), FuzzDocument},
            {saved / "certificate", FuzzCertificateEncryption, true},
            {saved / "cjk-fonts", FuzzCjkFonts}};
}

std::vector<fs::path> InputsOf(const fs::path &folder) {
    std::vector<fs::path> inputs;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file())
            inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

TEST(FuzzRegressions, EverySavedInputRunsThroughItsTarget) {
    int replayed = 0;
    for (const Target &target : Targets()) {
        std::optional<testsupport::CPubSecHome> home;
        if (target.bAliceHome) {
            home.emplace(std::vector{testsupport::CPubSecHome::Alice()});
            ASSERT_TRUE(home->IsReady());
        }
        for (const fs::path &input : InputsOf(target.folder)) {
            SCOPED_TRACE(input.string());
            std::ifstream in(input, std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            EXPECT_EQ(target.run(bytes.data(), bytes.size()), 0);
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 4) << "the crafted files are missing";
}
