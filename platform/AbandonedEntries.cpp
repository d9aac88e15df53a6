#include "platform/AbandonedEntries.h"

#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

void RemoveAbandonedEntries(const std::string &folder, mode_t type,
                            bool (*isOurs)(std::string_view name)) {
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent *entry = readdir(dir)) {
        if (!isOurs(entry->d_name))
            continue;
        const int fd = openat(dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        if (fstat(fd, &st) == 0 && (st.st_mode & S_IFMT) == type && st.st_uid == geteuid() &&
            flock(fd, LOCK_EX | LOCK_NB) == 0) {
            std::error_code ec;
            std::filesystem::remove_all(folder + "/" + entry->d_name, ec);
        }
        close(fd);
    }
    closedir(dir);
}

} // namespace platform
