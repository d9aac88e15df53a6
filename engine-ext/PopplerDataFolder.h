#pragma once

#include <string>

namespace engine_ext {

// Poppler reads its CJK tables from a data folder of its own layout; ours lie below the
// resource base path under other names. A private folder of links bridges the two, so the
// files are read where they are and nothing is copied.
//
// Each such folder lives as long as its configuration and is locked by its process for that
// long; a folder that no process holds any more was left by one that ended without removing
// it, and the next one made in the same place removes it.
class CPopplerDataFolder {
public:
    // A new folder "config-XXXXXX" in this user's temporary folder, laid out for the resource
    // base path `base`. Made() is false when the folder cannot be made.
    explicit CPopplerDataFolder(const std::string &base);
    ~CPopplerDataFolder();
    CPopplerDataFolder(const CPopplerDataFolder &) = delete;
    CPopplerDataFolder &operator=(const CPopplerDataFolder &) = delete;

    bool Made() const { return !m_strPath.empty(); }
    // Poppler keeps this pointer: the folder object must outlive the GlobalParams.
    const char *Path() const { return m_strPath.c_str(); }

private:
    void Make(const std::string &parent, bool removeAbandoned);
    void LayOut(const std::string &base);

    std::string m_strPath;
    int m_nLockFd = -1; // the folder itself, locked while it is in use
};

} // namespace engine_ext
