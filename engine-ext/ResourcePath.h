#pragma once

#include <string>

namespace engine_ext {

// The process-wide resource base path, shared by every engine: the last writer wins.
void SetResourceBasePath(const std::string &path);
std::string GetResourceBasePath();

// An existing folder gets a trailing '/' and, unless it already ends in "/rc/" (any case),
// "rc/" appended; an empty or missing path stays as it is.
std::string NormaliseResourcePath(const std::string &path);

} // namespace engine_ext
