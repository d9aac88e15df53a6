#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform {

// Removes what processes that ended left in a folder: this user's entries of the given type
// (S_IFREG or S_IFDIR, a folder with all it holds) whose names `isOurs` accepts and that no
// open file holds locked (flock). Their makers hold each entry locked for as long as it is in
// use.
void RemoveAbandonedEntries(const std::string &folder, mode_t type,
                            bool (*isOurs)(std::string_view name));

} // namespace platform
