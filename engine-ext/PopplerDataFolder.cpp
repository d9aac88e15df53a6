#include "engine-ext/PopplerDataFolder.h"

#include "engine-ext/ConfigurationTables.h"
#include "platform/AbandonedEntries.h"
#include "platform/SpecialFolders.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace engine_ext {

namespace {

constexpr std::string_view kFolderPrefix = "config-";
constexpr std::size_t kUniqueChars = 6; // mkdtemp's XXXXXX
constexpr const char *kLockName = "/config.lock";

// Making a folder and removing abandoned ones exclude each other in every process of the user:
// between its making and its locking a live folder looks abandoned.
class CParentLock {
public:
    explicit CParentLock(const std::string &parent)
        : m_nFd(
              open((parent + kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {
        if (m_nFd >= 0 && flock(m_nFd, LOCK_EX) != 0) {
            close(m_nFd);
            m_nFd = -1;
        }
    }
    ~CParentLock() {
        if (m_nFd >= 0)
            close(m_nFd);
    }
    CParentLock(const CParentLock &) = delete;
    CParentLock &operator=(const CParentLock &) = delete;

    bool Held() const { return m_nFd >= 0; }

private:
    int m_nFd;
};

bool IsDataFolderName(std::string_view name) {
    return name.size() == kFolderPrefix.size() + kUniqueChars && name.starts_with(kFolderPrefix);
}

// Links are resolved from their own folder, so a relative base must be made absolute.
std::string AbsoluteBase(const std::string &base) {
    if (base.empty() || base.front() == '/')
        return base;
    std::error_code ec;
    return fs::current_path(ec).string() + "/" + base;
}

// A link whose target is missing is harmless: Poppler finds the file absent.
void Link(const std::string &target, const std::string &link) {
    std::error_code ec;
    fs::create_directories(fs::path(link).parent_path(), ec);
    fs::create_symlink(target, link, ec);
}

} // namespace

CPopplerDataFolder::CPopplerDataFolder(const std::string &base) {
    // Only this user's own folder is searched for abandoned folders: names in the shared
    // temporary folder may be anyone's.
    const std::string own = platform::UserTempFolder();
    Make(own.empty() ? platform::TempFolder() : own, !own.empty());
    if (Made())
        LayOut(AbsoluteBase(base));
}

CPopplerDataFolder::~CPopplerDataFolder() {
    std::error_code ec;
    if (Made())
        fs::remove_all(m_strPath, ec);
    if (m_nLockFd >= 0)
        close(m_nLockFd);
}

void CPopplerDataFolder::Make(const std::string &parent, bool removeAbandoned) {
    const CParentLock lock(parent);
    if (removeAbandoned && lock.Held())
        platform::RemoveAbandonedEntries(parent, S_IFDIR, IsDataFolderName);
    std::string path = parent + "/" + std::string(kFolderPrefix) + std::string(kUniqueChars, 'X');
    if (!mkdtemp(path.data()))
        return;
    m_nLockFd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    // Where the file system has no locks, no folder is ever taken for abandoned either.
    if (m_nLockFd >= 0)
        flock(m_nLockFd, LOCK_EX | LOCK_NB);
    m_strPath = path;
}

// Names are the plain concatenation of base and relative name, exactly as registered.
void CPopplerDataFolder::LayOut(const std::string &base) {
    for (const CollectionResources &c : kCollections) {
        Link(base + c.cidToUnicodeFile, m_strPath + "/cidToUnicode/" + c.collection);
        Link(base + c.cMapDir, m_strPath + "/cMap/" + c.collection);
    }
    for (const char *encoding : kUnicodeMapEncodings)
        Link(base + "UnicodeMap/" + encoding + ".unicodeMap",
             m_strPath + "/unicodeMap/" + encoding);
}

} // namespace engine_ext
