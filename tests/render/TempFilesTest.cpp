// The engine temporary folder: unique names in a 0700 folder, removal of nested folders and
// read-only files by PdfDestroy, and never while an engine of this or another process lives.

#include "engine/TempFiles.h"
#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using testsupport::CTempDir;

namespace {

// Points the user's temporary folder at a fresh one for the test.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char *old = std::getenv("TMPDIR");
        m_strOld = old ? old : "";
        m_bHadOld = old != nullptr;
        setenv("TMPDIR", m_Tmp.Path().c_str(), 1);
    }
    void TearDown() override {
        if (m_bHadOld)
            setenv("TMPDIR", m_strOld.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

    // A folder tree no ordinary deletion gets through: read-only files in read-only folders.
    static void FillFolder(const std::string &folder) {
        fs::create_directories(folder + "/a/b");
        for (const char *f : {"/top.tmp", "/a/mid.tmp", "/a/b/deep.tmp"}) {
            std::ofstream(folder + f) << "x";
            chmod((folder + f).c_str(), 0400);
        }
        chmod((folder + "/a/b").c_str(), 0500);
        chmod((folder + "/a").c_str(), 0500);
    }

    CTempDir m_Tmp;
    std::string m_strOld;
    bool m_bHadOld = false;
};

bool Exists(const std::string &path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

} // namespace

TEST_F(TempFolderTest, NamesAreUniqueInAPrivateFolder) {
    std::string first, second;
    ASSERT_TRUE(GetEngineTempFileName(first));
    ASSERT_TRUE(GetEngineTempFileName(second));
    EXPECT_NE(first, second);
    const std::string folder = EngineTempFolder();
    for (const std::string &name : {first, second}) {
        EXPECT_EQ(fs::path(name).parent_path(), fs::path(folder));
        EXPECT_EQ(fs::path(name).filename().string().rfind("VKP", 0), 0u) << name;
        EXPECT_TRUE(fs::is_regular_file(name));
        EXPECT_EQ(fs::status(name).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
    }
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(fs::path(folder).parent_path().parent_path(), fs::path(m_Tmp.Path()));
}

TEST_F(TempFolderTest, DestroyRemovesNestedFoldersAndReadOnlyFiles) {
    PDFHANDLE h = PdfCreate();
    std::string name;
    ASSERT_TRUE(GetEngineTempFileName(name));
    FillFolder(EngineTempFolder());
    PdfDestroy(h);
    EXPECT_FALSE(Exists(EngineTempFolder()));
    // A null handle removes it too.
    ASSERT_TRUE(GetEngineTempFileName(name));
    FillFolder(EngineTempFolder());
    PdfDestroy(nullptr);
    EXPECT_FALSE(Exists(EngineTempFolder()));
}

TEST_F(TempFolderTest, LinksAreRemovedNotFollowed) {
    std::string name;
    ASSERT_TRUE(GetEngineTempFileName(name));
    const std::string outside = m_Tmp / "outside";
    fs::create_directory(outside);
    std::ofstream(outside + "/keep.txt") << "x";
    fs::create_directory_symlink(outside, EngineTempFolder() + "/link");
    RemoveFolderTree(EngineTempFolder());
    EXPECT_FALSE(Exists(EngineTempFolder()));
    EXPECT_TRUE(Exists(outside + "/keep.txt"));
}

TEST_F(TempFolderTest, StaysWhileAnotherEngineOfThisProcessLives) {
    PDFHANDLE first = PdfCreate(), second = PdfCreate();
    std::string name;
    ASSERT_TRUE(GetEngineTempFileName(name));
    PdfDestroy(first);
    PdfDestroy(nullptr);
    EXPECT_TRUE(Exists(name));
    PdfDestroy(second);
    EXPECT_FALSE(Exists(EngineTempFolder()));
}

TEST_F(TempFolderTest, StaysWhileAnEngineOfAnotherProcessLives) {
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PDFHANDLE h = PdfCreate();
        char c = 1;
        (void)!write(ready[1], &c, 1);
        (void)!read(release[0], &c, 1);
        PdfDestroy(h);
        _exit(0);
    }
    char c;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    std::string name;
    ASSERT_TRUE(GetEngineTempFileName(name));
    PdfDestroy(nullptr);
    EXPECT_TRUE(Exists(name));
    ASSERT_EQ(write(release[1], &c, 1), 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(Exists(EngineTempFolder())); // the child's PdfDestroy was the last use
    for (int fd : {ready[0], ready[1], release[0], release[1]})
        close(fd);
}
