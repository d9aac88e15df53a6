#pragma once

#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace cjktest {

// Debian's free fonts that stand in for the Windows fonts.
inline constexpr const char *kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";
inline constexpr const char *kUMing = "/usr/share/fonts/truetype/arphic/uming.ttc";
inline constexpr const char *kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr const char *kDejaVuSansBold =
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
inline constexpr const char *kDejaVuSerif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
inline constexpr const char *kDejaVuMono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

struct FontLink {
    const char *name;   // the file name fontconfig shows
    const char *target; // the font file behind it
};

// The fonts of one test process: a temporary folder holding only the linked fonts and a
// fontconfig configuration that reads nothing else, with HOME and the XDG folders inside it
// so the machine's own files play no part. fontconfig reads its configuration once per
// process, so each font set is a test executable of its own, installed as a global test
// environment before any test touches fontconfig.
class CFontSet : public ::testing::Environment {
public:
    explicit CFontSet(std::initializer_list<FontLink> links) : m_Links(links) {}
    void SetUp() override;

    // Whether every linked font file is installed; tests skip without them.
    bool Installed() const;
    std::string FontPath(const std::string &name) const { return m_Dir / "fonts" + "/" + name; }

private:
    std::vector<FontLink> m_Links;
    testsupport::CTempDir m_Dir;
};

} // namespace cjktest
