#include "engine/FileReplacement.h"

#include "platform/AbandonedEntries.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

constexpr int kNameAttempts = 100;
constexpr std::size_t kUniqueChars = 6; // mkostemp's XXXXXX
constexpr mode_t kNewFileMode = 0666;   // narrowed by the umask, as for any file the user saves

std::string FolderOf(const std::string &path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// Read without changing it: setting it, even for a moment, would apply to files other threads
// create meanwhile. Where it cannot be read, new files stay private.
mode_t Umask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        unsigned mask = 0;
        if (std::sscanf(line.c_str(), "Umask: %o", &mask) == 1)
            return static_cast<mode_t>(mask & 0777);
    }
    return 077;
}

bool IsTemporaryName(std::string_view name) {
    const std::string_view prefix = CFileReplacement::kTemporaryPrefix;
    return name.size() == prefix.size() + kUniqueChars && name.starts_with(prefix);
}

// A new file of the folder, readable by this user alone, locked; -1 when none can be made.
int CreateTemporary(const std::string &folder, std::string *name) {
    // A temporary is locked while it is written; one nobody holds was left by a save that
    // never ended.
    platform::RemoveAbandonedEntries(folder, S_IFREG, IsTemporaryName);
    for (int i = 0; i < kNameAttempts; ++i) {
        *name = folder + "/" + CFileReplacement::kTemporaryPrefix + std::string(kUniqueChars, 'X');
        // Made with mode 0600: no one else can open it before it is complete.
        const int fd = mkostemp(name->data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        // Another save may have taken it for abandoned before it was locked, and removed it.
        struct stat st {};
        if (flock(fd, LOCK_EX) == 0 && fstat(fd, &st) == 0 && st.st_nlink == 0) {
            close(fd);
            continue;
        }
        return fd;
    }
    return -1;
}

// What a new file under the name would not keep.
bool KeepsMoreThanItsBytes(const std::string &path, const struct stat &st) {
    return st.st_nlink > 1 || st.st_uid != geteuid() || listxattr(path.c_str(), nullptr, 0) > 0;
}

// Without replace, never over an entry that appeared since the caller looked.
bool MoveIntoPlace(const std::string &from, const std::string &to, bool replace) {
    if (replace)
        return std::rename(from.c_str(), to.c_str()) == 0;
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    // File systems without the no-replace flag: the existence test already ran.
    return errno == EINVAL && std::rename(from.c_str(), to.c_str()) == 0;
}

// The new name reaches the disk. Its failure is not reported: the file is in place already,
// and nothing could be undone or tried again.
void FlushFolder(const std::string &folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Every byte written is on disk, or false.
bool Flush(FILE *file) {
    return std::fflush(file) == 0 && !std::ferror(file) && fsync(fileno(file)) == 0;
}

} // namespace

CFileReplacement::CFileReplacement(std::string target, const std::optional<struct stat> &existing,
                                   bool replace)
    : m_strTarget(std::move(target)), m_Existing(existing), m_bReplace(replace) {
}

CFileReplacement::~CFileReplacement() {
    if (m_pFile)
        std::fclose(m_pFile);
    if (!m_strTemporary.empty())
        unlink(m_strTemporary.c_str());
}

FILE *CFileReplacement::Open(long long size) {
    if (m_Existing && KeepsMoreThanItsBytes(m_strTarget, *m_Existing))
        return OpenInPlace(size);
    if (FILE *file = OpenTemporary())
        return file;
    return m_Existing ? OpenInPlace(size) : nullptr;
}

bool CFileReplacement::Commit() {
    if (!m_pFile)
        return false;
    return m_strTemporary.empty() ? CommitInPlace() : CommitTemporary();
}

FILE *CFileReplacement::OpenTemporary() {
    std::string name;
    const int fd = CreateTemporary(FolderOf(m_strTarget), &name);
    if (fd < 0)
        return nullptr;
    m_strTemporary = name;
    // The new file belongs to the old one's group, or the old file is written in place.
    struct stat st {};
    if (m_Existing && fstat(fd, &st) == 0 && st.st_gid != m_Existing->st_gid &&
        fchown(fd, static_cast<uid_t>(-1), m_Existing->st_gid) != 0) {
        close(fd);
        unlink(m_strTemporary.c_str());
        m_strTemporary.clear();
        return nullptr;
    }
    m_pFile = fdopen(fd, "wb");
    if (!m_pFile)
        close(fd);
    return m_pFile;
}

FILE *CFileReplacement::OpenInPlace(long long size) {
    const int fd = open(m_strTarget.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    // Still the file the caller looked at, and room for every new byte.
    struct stat st {};
    const bool same =
        fstat(fd, &st) == 0 && st.st_dev == m_Existing->st_dev && st.st_ino == m_Existing->st_ino;
    const bool full = size > 0 && fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) != 0 &&
                      (errno == ENOSPC || errno == EDQUOT || errno == EFBIG);
    if (!same || full || !(m_pFile = fdopen(fd, "wb"))) {
        close(fd);
        return nullptr;
    }
    return m_pFile;
}

// Renamed while still locked, so that no other save takes it for abandoned; closing it after
// can lose nothing, every byte being on disk already.
bool CFileReplacement::CommitTemporary() {
    const mode_t mode = m_Existing ? m_Existing->st_mode & 07777 : kNewFileMode & ~Umask();
    const bool ok = Flush(m_pFile) && fchmod(fileno(m_pFile), mode) == 0 &&
                    MoveIntoPlace(m_strTemporary, m_strTarget, m_bReplace);
    std::fclose(m_pFile);
    m_pFile = nullptr;
    if (!ok)
        return false;
    m_strTemporary.clear();
    FlushFolder(FolderOf(m_strTarget));
    return true;
}

// The old file may have been longer.
bool CFileReplacement::CommitInPlace() {
    bool ok = std::fflush(m_pFile) == 0;
    const off_t written = ftello(m_pFile);
    ok = ok && written >= 0 && ftruncate(fileno(m_pFile), written) == 0 && Flush(m_pFile);
    ok = std::fclose(m_pFile) == 0 && ok;
    m_pFile = nullptr;
    return ok;
}
