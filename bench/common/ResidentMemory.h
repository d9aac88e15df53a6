#pragma once

#include <fstream>
#include <string>

// The process's resident memory in kilobytes as the kernel reports it, or -1.
inline long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}
