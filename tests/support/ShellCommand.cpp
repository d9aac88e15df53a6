#include "tests/support/ShellCommand.h"

#include <cstdio>

namespace testsupport {

std::string ShellQuoted(const std::string &text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::optional<std::string> ToolOutput(const std::vector<std::string> &command) {
    std::string line;
    for (const std::string &arg : command)
        line += ShellQuoted(arg) + " ";
    FILE *pipe = popen((line + "2>/dev/null").c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string out;
    char chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        out.append(chunk, n);
    if (pclose(pipe) != 0)
        return std::nullopt;
    return out;
}

} // namespace testsupport
