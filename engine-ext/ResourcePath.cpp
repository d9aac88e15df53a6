#include "engine-ext/ResourcePath.h"

#include "platform/SpecialFolders.h"

#include <mutex>
#include <strings.h>

namespace engine_ext {

namespace {

std::mutex g_pathLock;
std::string g_strBasePath;

bool EndsWithRcFolder(const std::string &path) {
    constexpr char kRc[] = "/rc/";
    constexpr std::size_t kLen = sizeof(kRc) - 1;
    return path.size() >= kLen && strcasecmp(path.c_str() + path.size() - kLen, kRc) == 0;
}

} // namespace

void SetResourceBasePath(const std::string &path) {
    std::lock_guard lock(g_pathLock);
    g_strBasePath = path;
}

std::string GetResourceBasePath() {
    std::lock_guard lock(g_pathLock);
    return g_strBasePath;
}

std::string NormaliseResourcePath(const std::string &path) {
    if (!platform::PathExists(path))
        return path;
    std::string result = path;
    if (result.back() != '/')
        result += '/';
    if (!EndsWithRcFolder(result))
        result += "rc/";
    return result;
}

} // namespace engine_ext
