// The .pdf association on the XDG desktop: the check, the registration, and the start-up and
// help command that run them. Every case has folders of its own for the desktop's lists and
// entries.

#include "app/CRegRelateExt.h"
#include "app/CVeskPDFReaderApp.h"
#include "app/XdgMimeApps.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

const QString kExe = QStringLiteral("/opt/vesk/VeskPDFReader");

std::string ReadFile(const std::string &path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string &path, const std::string &text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << text;
}

class AssociationTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (m_Root / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (m_Root / "data").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (m_Root / "etc-xdg").c_str(), 1);
        setenv("XDG_DATA_DIRS", (m_Root / "usr-share").c_str(), 1);
        m_strPath = std::getenv("PATH");
    }
    void TearDown() override {
        setenv("PATH", m_strPath.c_str(), 1);
        unsetenv("XDG_CURRENT_DESKTOP");
        const std::string &home = apptest::HomeFolder();
        setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (home + "/etc-xdg").c_str(), 1);
        setenv("XDG_DATA_DIRS", (home + "/usr-share").c_str(), 1);
    }

    std::string UserList() const { return m_Root / "config/mimeapps.list"; }
    std::string OurEntry() const {
        return m_Root / "data/applications/VeskPDFReader.Document.desktop";
    }
    // A program of the system that opens PDF files.
    void InstallSystemEntry(const std::string &id, const std::string &exec) const {
        WriteFile(m_Root / ("usr-share/applications/" + id),
                  "[Desktop Entry]\nType=Application\nName=Other\nExec=" + exec + "\n");
    }
    static int Check(const QString &exe) { return CRegRelateExt(".pdf", exe).m_bRelated; }
    // Ensuring the association again leaves the user's list and our entry as they are, their
    // time stamps included.
    void ExpectEnsuringWritesNothing() const {
        const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
        for (const std::string &path : {UserList(), OurEntry()}) {
            QFile file(QString::fromStdString(path));
            ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path;
            ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        CVeskPDFReaderApp::EnsurePdfAssociation(kExe);
        for (const std::string &path : {UserList(), OurEntry()})
            EXPECT_EQ(QFileInfo(QString::fromStdString(path)).lastModified(), old) << path;
    }

    testsupport::CTempDir m_Root;
    std::string m_strPath;
};

TEST_F(AssociationTest, NothingRegisteredIsRegisteredThenRelated) {
    CRegRelateExt relate(".pdf", kExe);
    EXPECT_EQ(relate.m_bRelated, 0);
    EXPECT_TRUE(relate.m_strProgID.isEmpty());
    ASSERT_TRUE(relate.RelateExt(".pdf", kExe));
    EXPECT_EQ(relate.m_bRelated, 1);
    const std::string entry = ReadFile(OurEntry());
    for (const char *line :
         {"[Desktop Entry]\n", "Name=VeskPDFReader\n", "Exec=/opt/vesk/VeskPDFReader %f\n",
          "Icon=/opt/vesk/icons/VeskPDFReader.Document.svg\n", "MimeType=application/pdf;\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line << " in\n" << entry;
    EXPECT_EQ(ReadFile(UserList()),
              "[Default Applications]\napplication/pdf=VeskPDFReader.Document.desktop;\n");
    CRegRelateExt again(".pdf", kExe);
    EXPECT_EQ(again.m_bRelated, 1);
    EXPECT_EQ(again.m_strProgID, "VeskPDFReader.Document.desktop");
}

TEST_F(AssociationTest, AnotherProgramsDefaultIsReplacedKeepingEveryOtherLine) {
    InstallSystemEntry("other.desktop", "other-viewer %U");
    WriteFile(UserList(), "# my associations\n"
                          "[Added Associations]\n"
                          "application/pdf=other.desktop;\n"
                          "\n"
                          "[Default Applications]\n"
                          "text/plain=editor.desktop;\n"
                          "application/pdf=other.desktop;\n"
                          "image/png=viewer.desktop;\n");
    CRegRelateExt relate(".pdf", kExe);
    EXPECT_EQ(relate.m_bRelated, 0);
    EXPECT_EQ(relate.m_strProgID, "other.desktop");
    ASSERT_TRUE(relate.RelateExt(".pdf", kExe));
    EXPECT_EQ(ReadFile(UserList()), "# my associations\n"
                                    "[Added Associations]\n"
                                    "application/pdf=other.desktop;\n"
                                    "\n"
                                    "[Default Applications]\n"
                                    "text/plain=editor.desktop;\n"
                                    "application/pdf=VeskPDFReader.Document.desktop;\n"
                                    "image/png=viewer.desktop;\n");
    EXPECT_TRUE(std::filesystem::exists(m_Root / "usr-share/applications/other.desktop"));
    EXPECT_EQ(Check(kExe), 1);
}

TEST_F(AssociationTest, ListWithoutDefaultsGainsTheSection) {
    WriteFile(UserList(), "[Added Associations]\ntext/plain=editor.desktop;\n");
    ASSERT_TRUE(CRegRelateExt(".pdf", kExe).RelateExt(".pdf", kExe));
    EXPECT_EQ(ReadFile(UserList()), "[Added Associations]\ntext/plain=editor.desktop;\n\n"
                                    "[Default Applications]\n"
                                    "application/pdf=VeskPDFReader.Document.desktop;\n");
}

TEST_F(AssociationTest, CheckFollowsTheExecLineOfTheDefault) {
    struct SCase {
        const char *pszExec;
        const char *pszExe;
        int nRelated;
    };
    const SCase cases[] = {
        {"/opt/vesk/VeskPDFReader %f", "/opt/vesk/VeskPDFReader", 1},
        // Quoted by another tool and followed by arguments: the path still occurs.
        {"\"/opt/vesk/VeskPDFReader\" --page 1 %f", "/opt/vesk/VeskPDFReader", 1},
        {"\"/opt/my apps/VeskPDFReader\" %f", "/opt/my apps/VeskPDFReader", 1},
        // The executable moved: the old line does not name the new place.
        {"/opt/old/VeskPDFReader %f", "/opt/vesk/VeskPDFReader", 0},
        // Letters in another case are another path.
        {"/Opt/Vesk/VeskPDFReader %f", "/opt/vesk/VeskPDFReader", 0},
        {"/opt/vesk/VeskPDFReader %f", "", 0},
    };
    WriteFile(UserList(), "[Default Applications]\napplication/pdf=viewer.desktop;\n");
    for (const SCase &c : cases) {
        InstallSystemEntry("viewer.desktop", c.pszExec);
        EXPECT_EQ(Check(QString::fromUtf8(c.pszExe)), c.nRelated) << c.pszExec;
    }
}

TEST_F(AssociationTest, DefaultIsTheFirstInstalledEntryInLookupOrder) {
    InstallSystemEntry("second.desktop", "second %f");
    InstallSystemEntry("system.desktop", "system %f");
    WriteFile(m_Root / "usr-share/applications/mimeapps.list",
              "[Default Applications]\napplication/pdf=system.desktop;\n");
    EXPECT_EQ(xdg::DefaultApplication("application/pdf"), "system.desktop");
    // The user's list comes first; an entry that is not installed is passed over.
    WriteFile(UserList(), "[Default Applications]\napplication/pdf=gone.desktop;second.desktop;\n");
    EXPECT_EQ(xdg::DefaultApplication("application/pdf"), "second.desktop");
    setenv("XDG_CURRENT_DESKTOP", "Test:Other", 1);
    WriteFile(m_Root / "config/test-mimeapps.list",
              "[Default Applications]\napplication/pdf=system.desktop;\n");
    EXPECT_EQ(xdg::DefaultApplication("application/pdf"), "system.desktop");
    unsetenv("XDG_CURRENT_DESKTOP");
}

TEST_F(AssociationTest, PathsWithReservedCharactersRoundTrip) {
    for (const char *pszExe : {"/opt/my apps/VeskPDFReader", "/opt/100%/Vesk$PDF\"Reader",
                               "/opt/back\\slash/VeskPDFReader"}) {
        const QString exe = QString::fromUtf8(pszExe);
        ASSERT_TRUE(CRegRelateExt(".pdf", exe).RelateExt(".pdf", exe)) << pszExe;
        EXPECT_EQ(xdg::ReadExecLine(QString::fromStdString(OurEntry())), exe + " %f") << pszExe;
        EXPECT_EQ(Check(exe), 1) << pszExe;
    }
}

TEST_F(AssociationTest, EnsuringAnExistingAssociationWritesNothing) {
    CVeskPDFReaderApp::EnsurePdfAssociation(kExe);
    ASSERT_EQ(Check(kExe), 1);
    ExpectEnsuringWritesNothing();
    // Another executable path: written again, with the new path.
    CVeskPDFReaderApp::EnsurePdfAssociation("/usr/lib/vesk/VeskPDFReader");
    EXPECT_EQ(Check("/usr/lib/vesk/VeskPDFReader"), 1);
    EXPECT_EQ(Check(kExe), 0);
}

// A desktop whose own list names another program keeps the check failing at every start. The
// start then rewrites nothing, and the desktop's cache is refreshed only when an entry is newer
// than it, by the desktop's tool, which nobody waits for.
TEST_F(AssociationTest, OverriddenByTheDesktopsListNothingIsRewrittenOrWaitedFor) {
    const std::string cache = m_Root / "data/applications/mimeinfo.cache";
    const std::string tools = m_Root / "bin";
    // Stands in for the desktop's tool: slow, and it leaves a fresh cache behind.
    WriteFile(tools + "/update-desktop-database",
              "#!/bin/sh\nsleep 2\ntouch \"$1/mimeinfo.cache\"\n");
    std::filesystem::permissions(tools + "/update-desktop-database",
                                 std::filesystem::perms::owner_all);
    setenv("PATH", (tools + ":" + m_strPath).c_str(), 1);
    setenv("XDG_CURRENT_DESKTOP", "Test", 1);
    InstallSystemEntry("other.desktop", "other-viewer %f");
    WriteFile(m_Root / "config/test-mimeapps.list",
              "[Default Applications]\napplication/pdf=other.desktop;\n");

    CVeskPDFReaderApp::EnsurePdfAssociation(kExe);
    EXPECT_EQ(Check(kExe), 0);
    EXPECT_TRUE(std::filesystem::exists(OurEntry()));
    EXPECT_FALSE(std::filesystem::exists(cache)); // the tool is still at work
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(cache) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(std::filesystem::exists(cache));
    EXPECT_FALSE(xdg::UpdateDesktopDatabase());

    ExpectEnsuringWritesNothing();
    EXPECT_FALSE(xdg::UpdateDesktopDatabase());
}

TEST_F(AssociationTest, UnwritableFolderFailsQuietly) {
    WriteFile(m_Root / "data", "a file where the data folder should be");
    CRegRelateExt relate(".pdf", kExe);
    EXPECT_FALSE(relate.RelateExt(".pdf", kExe));
    EXPECT_EQ(relate.m_bRelated, 0);
    EXPECT_FALSE(std::filesystem::exists(UserList()));
    EXPECT_FALSE(CRegRelateExt(".pdf", kExe).RelateExt(".nothing-known", kExe));
}

} // namespace
