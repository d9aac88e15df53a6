// PdfSaveAs: a byte copy from the "%PDF-" header on; existing targets, missing folders, the
// document's own file, and failed writes that must leave the old file as it was.

#include "engine/FileReplacement.h"
#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <linux/fs.h>
#include <memory>
#include <sstream>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utime.h>

namespace fs = std::filesystem;
using testsupport::CEngineHandle;
using testsupport::CTempDir;
using testsupport::Fixture;

namespace {

const std::string kOldBytes = "the file that was here before\n";

std::string Read(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Only the target and what the test made may be in the folder: no temporary copy left over.
int EntriesIn(const std::string &folder) {
    return static_cast<int>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

constexpr const char *kAttribute = "user.vkp-test";

bool HasAttribute(const std::string &path) {
    char value[8] = {};
    return getxattr(path.c_str(), kAttribute, value, sizeof(value)) == 4 &&
           std::string(value) == "kept";
}

// A folder no entry can be added to, until destroyed: its mode says so, or for root, whom no
// mode stops, its immutable flag.
class CUnwritableFolder {
public:
    explicit CUnwritableFolder(const std::string &path) : m_strPath(path) {
        if (geteuid() != 0) {
            m_bDone = chmod(path.c_str(), 0555) == 0;
            return;
        }
        m_bDone = SetImmutable(true);
    }
    ~CUnwritableFolder() {
        if (m_bDone && geteuid() == 0)
            SetImmutable(false);
        chmod(m_strPath.c_str(), 0700);
    }
    CUnwritableFolder(const CUnwritableFolder &) = delete;
    CUnwritableFolder &operator=(const CUnwritableFolder &) = delete;

    bool Done() const { return m_bDone; }

private:
    bool SetImmutable(bool on) const {
        const int fd = open(m_strPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int flags = 0;
        bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            close(fd);
        return done;
    }

    std::string m_strPath;
    bool m_bDone = false;
};

// A copy of a fixture in the test folder, opened.
std::string OpenCopy(CEngineHandle &h, const CTempDir &dir, const std::string &prefix = "") {
    const std::string path = dir / "source.pdf";
    Write(path, prefix + Read(Fixture("outline.pdf")));
    EXPECT_EQ(h.Open(path), 0);
    return path;
}

} // namespace

TEST(SaveAs, WritesAByteCopyFromTheHeaderOn) {
    const std::string original = Read(Fixture("outline.pdf"));
    for (const std::string junk : {"", "junk in front of the header\r\n"}) {
        CTempDir dir;
        CEngineHandle h;
        OpenCopy(h, dir, junk);
        EXPECT_EQ(PdfSaveAs(h, (dir / "copy.pdf").c_str(), 0), 0);
        EXPECT_EQ(Read(dir / "copy.pdf"), original);
        EXPECT_EQ(EntriesIn(dir.Path()), 2);
    }
}

TEST(SaveAs, EncryptedDocumentStaysEncrypted) {
    CTempDir dir;
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("encrypted/aes-256.pdf"), "user"), 0);
    ASSERT_EQ(PdfSaveAs(h, (dir / "copy.pdf").c_str(), 0), 0);
    EXPECT_EQ(Read(dir / "copy.pdf"), Read(Fixture("encrypted/aes-256.pdf")));
}

TEST(SaveAs, ExistingTargetIsRefusedOrReplaced) {
    CTempDir dir;
    CEngineHandle h;
    OpenCopy(h, dir);
    const std::string target = dir / "old.pdf";
    Write(target, kOldBytes);
    EXPECT_EQ(PdfSaveAs(h, target.c_str(), 0), -1);
    EXPECT_EQ(Read(target), kOldBytes);
    fs::create_directory(dir / "folder");
    EXPECT_EQ(PdfSaveAs(h, (dir / "folder").c_str(), 0), -1);
    EXPECT_EQ(PdfSaveAs(h, (dir / "folder").c_str(), 1), -1);
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(PdfSaveAs(h, target.c_str(), 1), 0);
    EXPECT_EQ(Read(target), Read(Fixture("outline.pdf")));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(EntriesIn(dir.Path()), 3);
}

TEST(SaveAs, ThroughALinkTheNamedFileIsReplaced) {
    CTempDir dir;
    CEngineHandle h;
    OpenCopy(h, dir);
    Write(dir / "real.pdf", kOldBytes);
    fs::create_symlink(dir / "real.pdf", dir / "link.pdf");
    EXPECT_EQ(PdfSaveAs(h, (dir / "link.pdf").c_str(), 1), 0);
    EXPECT_TRUE(fs::is_symlink(dir / "link.pdf"));
    EXPECT_EQ(Read(dir / "real.pdf"), Read(Fixture("outline.pdf")));
}

TEST(SaveAs, MissingFolderOrNoDocumentFails) {
    CTempDir dir;
    CEngineHandle h;
    EXPECT_EQ(PdfSaveAs(h, (dir / "copy.pdf").c_str(), 0), -1); // no document
    OpenCopy(h, dir);
    EXPECT_EQ(PdfSaveAs(h, (dir / "no/such/folder/copy.pdf").c_str(), 0), -1);
    EXPECT_EQ(PdfSaveAs(h, "", 0), -1);
    EXPECT_EQ(PdfSaveAs(h, nullptr, 0), -1);
    EXPECT_EQ(EntriesIn(dir.Path()), 1);
}

TEST(SaveAs, TheDocumentsOwnFileIsNeverWrittenOver) {
    CTempDir dir;
    CEngineHandle h;
    const std::string source = OpenCopy(h, dir);
    const std::string before = Read(source);
    fs::create_symlink(source, dir / "alias.pdf");
    fs::create_hard_link(source, dir / "hardlink.pdf");
    for (const std::string &name : {source, dir / "alias.pdf", dir / "hardlink.pdf"})
        EXPECT_EQ(PdfSaveAs(h, name.c_str(), 1), -1) << name;
    EXPECT_EQ(Read(source), before);
    EXPECT_EQ(EntriesIn(dir.Path()), 3);
    EXPECT_EQ(PdfGetPageCount(h), 6); // the open document still reads its file
}

TEST(SaveAs, FailedSaveLeavesTheOldFileIntact) {
    CTempDir dir;
    CEngineHandle h;
    const std::string source = OpenCopy(h, dir);
    const std::string target = dir / "old.pdf";
    Write(target, kOldBytes);

    // The disk fills up half way: the file-size limit stops the write.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int full = PdfSaveAs(h, target.c_str(), 1);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(full, -1);
    EXPECT_EQ(Read(target), kOldBytes);
    EXPECT_EQ(EntriesIn(dir.Path()), 2);

    // The source changed on disk since it was opened: its bytes are no longer the document's.
    utimbuf times{1000000000, 1000000000};
    ASSERT_EQ(utime(source.c_str(), &times), 0);
    EXPECT_EQ(PdfSaveAs(h, target.c_str(), 1), -1);
    EXPECT_EQ(Read(target), kOldBytes);
    EXPECT_EQ(EntriesIn(dir.Path()), 2);
}

// The temporary copy beside the target takes a short name of its own: a target whose name is as
// long as the file system allows is still written.
TEST(SaveAs, ATargetNameOfTheLongestLengthIsWritten) {
    CTempDir dir;
    CEngineHandle h;
    OpenCopy(h, dir);
    const std::string target = dir / (std::string(NAME_MAX - 4, 'n') + ".pdf");
    EXPECT_EQ(PdfSaveAs(h, target.c_str(), 0), 0);
    EXPECT_EQ(Read(target), Read(Fixture("outline.pdf")));
    Write(target, kOldBytes);
    EXPECT_EQ(PdfSaveAs(h, target.c_str(), 1), 0);
    EXPECT_EQ(Read(target), Read(Fixture("outline.pdf")));
    EXPECT_EQ(EntriesIn(dir.Path()), 2);
}

// A temporary that a crashed save left behind goes with the next save into its folder; one
// another save is still writing (it holds it locked), and names that only look alike, stay.
TEST(SaveAs, TemporariesLeftByACrashAreRemoved) {
    CTempDir dir;
    CEngineHandle h;
    OpenCopy(h, dir);
    const std::string prefix = CFileReplacement::kTemporaryPrefix;
    for (const std::string name : {"abc123", "inuse1", "longer-name", "x"})
        Write(dir / (prefix + name), kOldBytes);
    const int inUse = open((dir / (prefix + "inuse1")).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(inUse, LOCK_EX), 0);
    EXPECT_EQ(PdfSaveAs(h, (dir / "copy.pdf").c_str(), 0), 0);
    close(inUse);
    EXPECT_FALSE(fs::exists(dir / (prefix + "abc123")));
    for (const std::string name : {"inuse1", "longer-name", "x"})
        EXPECT_TRUE(fs::exists(dir / (prefix + name))) << name;
}

// Replacing by rename would give the name a new file; where the old one carries more than its
// bytes, or its folder may not be written, the file is written over in place instead: other
// links see the new bytes, attributes stay. Other files are still replaced as a whole.
TEST(SaveAs, AFileThatARenameWouldNotKeepIsWrittenInPlace) {
    // Each prepares dir/folder/old.pdf and answers what undoes it, or null where this machine
    // cannot show the case.
    using Prepare = std::function<std::shared_ptr<void>(const CTempDir &, const std::string &)>;
    struct Case {
        const char *name;
        Prepare prepare;
        bool bInPlace;
    };
    const auto nothingToUndo = std::make_shared<int>(0);
    const Case cases[] = {
        {"an ordinary file", [&](const CTempDir &, const std::string &) { return nothingToUndo; },
         false},
        {"a file with another hard link",
         [&](const CTempDir &dir, const std::string &target) {
             fs::create_hard_link(target, dir / "other-link.pdf");
             return nothingToUndo;
         },
         true},
        {"a file with an extended attribute",
         [&](const CTempDir &, const std::string &target) {
             const bool set = setxattr(target.c_str(), kAttribute, "kept", 4, 0) == 0;
             return set ? nothingToUndo : nullptr;
         },
         true},
        {"a file in a folder that may not be written",
         [](const CTempDir &dir, const std::string &) -> std::shared_ptr<void> {
             auto folder = std::make_shared<CUnwritableFolder>(dir / "folder");
             return folder->Done() ? folder : nullptr;
         },
         true},
    };
    const std::string copy = Read(Fixture("outline.pdf"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CTempDir dir;
        CEngineHandle h;
        OpenCopy(h, dir);
        fs::create_directory(dir / "folder");
        const std::string target = dir / "folder/old.pdf";
        // Longer than the copy: what is left of it must go.
        Write(target, std::string(copy.size() + 4096, 'x'));
        struct stat old {};
        int saved = -1;
        bool attribute = false;
        {
            const std::shared_ptr<void> undo = c.prepare(dir, target);
            if (!undo)
                continue;
            attribute = HasAttribute(target);
            ASSERT_EQ(stat(target.c_str(), &old), 0);
            saved = PdfSaveAs(h, target.c_str(), 1);
        }
        EXPECT_EQ(saved, 0);
        struct stat now {};
        ASSERT_EQ(stat(target.c_str(), &now), 0);
        EXPECT_EQ(Read(target), copy);
        EXPECT_EQ(now.st_ino == old.st_ino, c.bInPlace);
        EXPECT_EQ(EntriesIn(dir / "folder"), 1);
        EXPECT_EQ(HasAttribute(target), attribute);
        if (fs::exists(dir / "other-link.pdf")) {
            EXPECT_EQ(Read(dir / "other-link.pdf"), copy);
        }
    }
}

// The copy is readable by this user alone until it is complete, whatever the umask; then it
// takes the mode any new file the user saves would have.
TEST(SaveAs, ACopyIsPrivateUntilItIsComplete) {
    for (const mode_t mask : {mode_t{0}, mode_t{027}}) {
        SCOPED_TRACE(mask);
        CTempDir dir;
        const mode_t saved = umask(mask);
        CFileReplacement file(dir / "new.pdf", std::nullopt, false);
        FILE *out = file.Open(0);
        struct stat writing {};
        const bool open = out && fstat(fileno(out), &writing) == 0;
        const bool committed = out && std::fputs("bytes", out) >= 0 && file.Commit();
        umask(saved);
        ASSERT_TRUE(open && committed);
        EXPECT_EQ(writing.st_mode & 0777, 0600u);
        struct stat done {};
        ASSERT_EQ(stat((dir / "new.pdf").c_str(), &done), 0);
        EXPECT_EQ(done.st_mode & 0777, 0666u & ~mask);
        EXPECT_EQ(Read(dir / "new.pdf"), "bytes");
    }
}
