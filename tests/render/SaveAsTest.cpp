// PdfSaveAs: a byte copy from the "%PDF-" header on; existing targets, missing folders, the
// document's own file, and failed writes that must leave the old file as it was.

#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
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
