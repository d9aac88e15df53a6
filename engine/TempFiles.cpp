#include "engine/TempFiles.h"

#include "platform/SpecialFolders.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char *kFolderName = "/VKP";
constexpr const char *kLockName = "/VKP.lock";
constexpr const char *kFileTemplate = "/VKPXXXXXX.tmp";
constexpr int kTemplateSuffix = 4; // ".tmp"

// Live engines of this process; the first takes the shared lock and the last drops it.
std::mutex s_UseMutex;
int s_nUses = 0;
int s_nLockFd = -1;

int OpenLockFile() {
    const std::string base = platform::UserTempFolder();
    if (base.empty())
        return -1;
    return open((base + kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

bool IsDots(const char *name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Works on a descriptor of the folder, so a folder swapped for a link mid-way is never entered.
void EmptyFolderAt(int dirFd) {
    DIR *dir = fdopendir(dirFd);
    if (!dir) {
        close(dirFd);
        return;
    }
    while (const dirent *entry = readdir(dir)) {
        if (IsDots(entry->d_name))
            continue;
        struct stat st {};
        if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            // A read-only folder keeps its entries until it may be written again.
            fchmodat(dirfd(dir), entry->d_name, 0700, 0);
            const int child =
                openat(dirfd(dir), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child >= 0)
                EmptyFolderAt(child);
            unlinkat(dirfd(dir), entry->d_name, AT_REMOVEDIR);
        } else {
            unlinkat(dirfd(dir), entry->d_name, 0);
        }
    }
    closedir(dir);
}

} // namespace

std::string EngineTempFolder() {
    const std::string base = platform::UserTempFolder();
    return base.empty() ? std::string() : base + kFolderName;
}

bool GetEngineTempFileName(std::string &name) {
    const std::string folder = EngineTempFolder();
    if (folder.empty() || (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST))
        return false;
    std::string path = folder + kFileTemplate;
    const int fd = mkostemps(path.data(), kTemplateSuffix, O_CLOEXEC);
    if (fd < 0)
        return false;
    close(fd);
    name = path;
    return true;
}

void RemoveFolderTree(const std::string &path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return;
    chmod(path.c_str(), (st.st_mode & 07777) | S_IRWXU);
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0)
        EmptyFolderAt(fd);
    rmdir(path.c_str());
}

void RemoveEngineTempFolder() {
    std::lock_guard lock(s_UseMutex);
    if (s_nUses > 0)
        return;
    const int fd = OpenLockFile();
    if (fd < 0)
        return;
    // Another process's engines hold the shared lock: the folder stays for them.
    if (flock(fd, LOCK_EX | LOCK_NB) == 0)
        RemoveFolderTree(EngineTempFolder());
    close(fd);
}

CEngineTempFolderUse::CEngineTempFolderUse() {
    std::lock_guard lock(s_UseMutex);
    if (s_nUses++ > 0)
        return;
    s_nLockFd = OpenLockFile();
    if (s_nLockFd >= 0 && flock(s_nLockFd, LOCK_SH) != 0) {
        close(s_nLockFd);
        s_nLockFd = -1;
    }
}

CEngineTempFolderUse::~CEngineTempFolderUse() {
    std::lock_guard lock(s_UseMutex);
    if (--s_nUses > 0 || s_nLockFd < 0)
        return;
    close(s_nLockFd);
    s_nLockFd = -1;
}
