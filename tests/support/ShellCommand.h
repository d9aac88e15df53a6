#pragma once

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// text as one word of a shell command line, whatever it holds.
std::string ShellQuoted(const std::string &text);

// What a program prints on its standard output; nothing when it cannot run or fails.
std::optional<std::string> ToolOutput(const std::vector<std::string> &command);

} // namespace testsupport
