#include "platform/SpecialFolders.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string EnvOr(const char *name, const std::string &fallback) {
    const char *v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

std::string HomeFolder() {
    return EnvOr("HOME", "/");
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// user-dirs.dirs lines look like: XDG_DOCUMENTS_DIR="$HOME/Documents"
std::string ReadUserDir(const std::string &key) {
    std::ifstream in(EnvOr("XDG_CONFIG_HOME", HomeFolder() + "/.config") + "/user-dirs.dirs");
    const std::string prefix = key + "=\"";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) != 0 || line.back() != '"')
            continue;
        std::string value = line.substr(prefix.size(), line.size() - prefix.size() - 1);
        if (value.rfind("$HOME", 0) == 0)
            value = HomeFolder() + value.substr(5);
        if (!value.empty() && value[0] == '/')
            return value;
    }
    return {};
}

} // namespace

std::string AppDataFolder() {
    return WithoutTrailingSlash(EnvOr("XDG_DATA_HOME", HomeFolder() + "/.local/share"));
}

std::string DocumentsFolder() {
    std::string dir = ReadUserDir("XDG_DOCUMENTS_DIR");
    return WithoutTrailingSlash(dir.empty() ? HomeFolder() + "/Documents" : dir);
}

std::string TempFolder() {
    return WithoutTrailingSlash(EnvOr("TMPDIR", "/tmp"));
}

std::string UserTempFolder() {
    const std::string dir = TempFolder() + "/veskpdfreader-" + std::to_string(getuid());
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    // A folder planted by another user in a shared /tmp must not receive our files.
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid())
        return {};
    if ((st.st_mode & 077) != 0 && chmod(dir.c_str(), 0700) != 0)
        return {};
    return dir;
}

bool PathExists(const std::string &path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0;
}

} // namespace platform
