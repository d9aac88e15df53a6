// PdfSaveAs: a byte copy of the opened file from its "%PDF-" header on.
//
// The copy goes to a new file beside the target and is renamed over it only once every byte is
// on disk, so a failed or interrupted save never leaves a half-written file nor destroys the
// file it was to replace. Saving onto the file the document was opened from is refused.

#include "engine/CPdfEngine.h"

#include <ErrorCodes.h>
#include <Stream.h>
#include <goo/GooString.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kNameAttempts = 100;
constexpr mode_t kNewFileMode = 0666; // narrowed by the umask, as for any file the user saves

bool SameFile(const struct stat &a, const struct stat &b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A file of the target's folder that no one else has, opened for writing.
int CreateSibling(const std::string &target, std::string *name) {
    std::random_device random;
    char suffix[16];
    for (int i = 0; i < kNameAttempts; ++i) {
        std::snprintf(suffix, sizeof(suffix), ".VKP%08x", static_cast<unsigned>(random()));
        *name = target + suffix;
        const int fd = open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Every byte reaches the disk, or false.
bool CopyDocument(PDFDoc &doc, int fd) {
    FILE *file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        return false;
    }
    int result;
    {
        FileOutStream out(file, 0);
        result = doc.saveWithoutChangesAs(&out);
    }
    bool ok = result == errNone && std::fflush(file) == 0 && !std::ferror(file);
    ok = fsync(fileno(file)) == 0 && ok;
    return std::fclose(file) == 0 && ok;
}

// Puts the finished copy in place; without overwrite, never over an entry that appeared since.
bool MoveIntoPlace(const std::string &from, const std::string &to, bool overwrite) {
    if (overwrite)
        return std::rename(from.c_str(), to.c_str()) == 0;
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    // File systems without the no-replace flag: the existence test already ran.
    return errno == EINVAL && std::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace

int CPdfEngine::SaveAs(const char *fileName, int overwrite) {
    if (!m_pDoc || !fileName || !*fileName)
        return -1;
    std::string target = fileName;
    struct stat existing {};
    if (!overwrite && lstat(fileName, &existing) == 0)
        return -1;
    const bool exists = stat(fileName, &existing) == 0;
    if (exists) {
        struct stat source {};
        char resolved[PATH_MAX];
        if (!S_ISREG(existing.st_mode) || !realpath(fileName, resolved))
            return -1;
        const GooString *opened = m_pDoc->getFileName();
        if (opened && stat(opened->c_str(), &source) == 0 && SameFile(source, existing))
            return -1;
        // Through a symbolic link the file it names is replaced, not the link.
        target = resolved;
    }
    std::string temp;
    const int fd = CreateSibling(target, &temp);
    if (fd < 0)
        return -1;
    if (exists)
        fchmod(fd, existing.st_mode & 07777);
    if (!CopyDocument(*m_pDoc, fd) || !MoveIntoPlace(temp, target, overwrite != 0)) {
        unlink(temp.c_str());
        return -1;
    }
    return 0;
}
