#include "tests/cjk/CjkTestFonts.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace cjktest {

void CFontSet::SetUp() {
    const std::string fonts = m_Dir / "fonts";
    fs::create_directories(fonts);
    for (const FontLink &link : m_Links)
        fs::create_symlink(link.target, fonts + "/" + link.name);
    std::ofstream(m_Dir / "fonts.conf")
        << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << fonts << "</dir><cachedir>"
        << (m_Dir / "cache") << "</cachedir></fontconfig>\n";
    setenv("FONTCONFIG_FILE", (m_Dir / "fonts.conf").c_str(), 1);
    setenv("HOME", m_Dir.Path().c_str(), 1);
    for (const char *xdg : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        setenv(xdg, (m_Dir / xdg).c_str(), 1);
}

bool CFontSet::Installed() const {
    for (const FontLink &link : m_Links)
        if (!fs::exists(link.target))
            return false;
    return true;
}

} // namespace cjktest
