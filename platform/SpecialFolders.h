#pragma once

#include <string>

namespace platform {

// The per-user folders the design's special folders map to. Paths come without a trailing '/'.
std::string AppDataFolder();   // $XDG_DATA_HOME, else ~/.local/share
std::string DocumentsFolder(); // XDG_DOCUMENTS_DIR of user-dirs.dirs, else ~/Documents
std::string TempFolder();      // $TMPDIR, else /tmp

// A folder for this user's temporary files under TempFolder(), created with mode 0700 on first
// use. Empty when it cannot be made or when a folder of that name belongs to someone else.
std::string UserTempFolder();

bool PathExists(const std::string &path);

} // namespace platform
