#pragma once

#include <map>
#include <string>

namespace platform {

// The font files fontconfig knows, looked up by file name as the Windows fonts folder would
// answer: ignoring case. A snapshot taken at construction.
class CFontFiles {
public:
    CFontFiles();

    // Full path of the font file with this name (no folder part), or empty.
    std::string Find(const std::string &fileName) const;

    // fontconfig's best font file for a language such as "zh-cn", or empty.
    static std::string BestForLanguage(const std::string &lang);

private:
    std::map<std::string, std::string> m_FilesByLowerName;
};

} // namespace platform
