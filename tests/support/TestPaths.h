#pragma once

#include <string>

namespace testsupport {

// Generated fixtures (tests/fixtures scripts), e.g. Fixture("outline.pdf").
std::string Fixture(const std::string &name);
// A file of the real-world corpus; CorpusDir() is empty when the corpus is not there.
std::string CorpusDir();
std::string SourceDir();
// The rc/ directory beside the test executables.
std::string ResourceDir();

// A fresh folder removed again at destruction.
class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir &) = delete;
    CTempDir &operator=(const CTempDir &) = delete;
    const std::string &Path() const { return m_strPath; }
    std::string operator/(const std::string &name) const { return m_strPath + "/" + name; }

private:
    std::string m_strPath;
};

} // namespace testsupport
