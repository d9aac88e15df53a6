#include "tests/support/TestPaths.h"

#include "platform/SpecialFolders.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace testsupport {

std::string Fixture(const std::string &name) {
    return std::string(VESK_FIXTURES_DIR) + "/" + name;
}

std::string CorpusDir() {
    return fs::is_directory(VESK_CORPUS_DIR) ? fs::canonical(VESK_CORPUS_DIR).string() : "";
}

std::string SourceDir() {
    return VESK_SOURCE_DIR;
}

std::string ResourceDir() {
    return fs::canonical("/proc/self/exe").parent_path().string() + "/rc";
}

CTempDir::CTempDir() {
    std::string pattern = platform::TempFolder() + "/vesk-test-XXXXXX";
    if (mkdtemp(pattern.data()))
        m_strPath = pattern;
}

CTempDir::~CTempDir() {
    std::error_code ec;
    if (!m_strPath.empty())
        fs::remove_all(m_strPath, ec);
}

} // namespace testsupport
