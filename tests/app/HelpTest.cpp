// The help menu: set as default, check for updates, the home page and the about dialog; and
// the association that start-up makes without asking.

#include "app/CAboutDlg.h"
#include "app/CRegRelateExt.h"
#include "app/XdgMimeApps.h"
#include "platform/UiHooks.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ShellTestSupport.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using apptest::StartApp;

// Stands in for the desktop's browser: remembers the addresses it was asked to open.
class CUrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> m_Urls;

public slots:
    void Open(const QUrl &url) { m_Urls.append(url); }
};

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        apptest::ClearSettings();
        std::filesystem::remove(OurEntry());
        std::filesystem::remove(xdg::ConfigHome().toStdString() + "/mimeapps.list");
    }
    static std::string OurEntry() { return CRegRelateExt::DesktopEntryPath().toStdString(); }
};

bool IsRelated() {
    return CRegRelateExt(".pdf", CVeskPDFReaderApp::ExecutablePath()).m_bRelated == 1;
}

TEST_F(HelpTest, StartUpAssociatesSilentlyAndSetDefaultRepairsATakeover) {
    apptest::CModalAnswer answer;
    const auto pApp = StartApp();
    const QString exe = CVeskPDFReaderApp::ExecutablePath();
    EXPECT_TRUE(QTest::qWaitFor(IsRelated));
    // Another program takes .pdf over while the reader runs.
    ASSERT_TRUE(xdg::SetDefaultApplication("application/pdf", "other.desktop"));
    std::filesystem::create_directories(xdg::DataHome().toStdString() + "/applications");
    ASSERT_TRUE(xdg::WriteDesktopEntry(xdg::DataHome() + "/applications/other.desktop", "Other",
                                       "other %f", "other", "application/pdf"));
    EXPECT_EQ(CRegRelateExt(".pdf", exe).m_bRelated, 0);
    apptest::RunCommand(*pApp, ID_SET_DEFAULT_READER);
    EXPECT_EQ(CRegRelateExt(".pdf", exe).m_bRelated, 1);
    EXPECT_EQ(answer.Count(), 0);
}

// The check runs beside the window: a list that cannot be read yet (here a pipe nobody
// writes, as a stalled network folder would be) holds neither the window nor the document.
TEST_F(HelpTest, StartUpDoesNotWaitForTheAssociationCheck) {
    testsupport::CTempDir files;
    const QString doc = apptest::CopyFixture("outline.pdf", files, "a.pdf");
    const std::string pipe = xdg::MimeAppsListFiles()[1].toStdString(); // after the user's list
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0) << pipe;
    const auto pApp = StartApp({doc});
    // Whatever happens below, a reader still waiting on the pipe gets an empty list.
    const std::shared_ptr<void> removePipe(nullptr, [&](void *) {
        if (const int fd = open(pipe.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0)
            close(fd);
        unlink(pipe.c_str());
    });
    EXPECT_TRUE(pApp->GetMainWnd()->isVisible());
    EXPECT_EQ(pApp->GetMainWnd()->GetOpenDocumentCount(), 1);
    EXPECT_FALSE(std::filesystem::exists(OurEntry()));
    std::ofstream(pipe) << "";
    const std::string userList = xdg::MimeAppsListFiles()[0].toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(userList); }));
    unlink(pipe.c_str());
    EXPECT_TRUE(IsRelated());
}

TEST_F(HelpTest, CheckForUpdatesSaysThereAreNone) {
    const auto pApp = StartApp();
    apptest::CModalAnswer answer;
    apptest::RunCommand(*pApp, ID_CHECK_UPDATE);
    EXPECT_EQ(answer.Count(), 1);
    EXPECT_EQ(answer.Text(), "暂无更新");
    EXPECT_EQ(answer.Title(), "VeskPDFReader");
    EXPECT_EQ(answer.Buttons(), QMessageBox::Ok);
}

TEST_F(HelpTest, HomePageOpensOurInstalledPage) {
    const auto pApp = StartApp();
    CUrlRecorder browser;
    QDesktopServices::setUrlHandler("file", &browser, "Open");
    apptest::RunCommand(*pApp, ID_HOME_PAGE);
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(browser.m_Urls.size(), 1);
    const QString page = browser.m_Urls.first().toLocalFile();
    EXPECT_EQ(page, QString(VESK_BIN_DIR) + "/home/index.html");
    EXPECT_TRUE(QFileInfo(page).isFile());
}

TEST_F(HelpTest, AboutShowsNameVersionAndOkButton) {
    const auto pApp = StartApp();
    {
        apptest::CModalAnswer answer;
        apptest::RunCommand(*pApp, ID_APP_ABOUT);
        EXPECT_EQ(answer.Count(), 1);
        EXPECT_EQ(answer.DialogName(), "100");
        EXPECT_EQ(answer.Title(), "关于 VeskPDFReader");
    }
    CAboutDlg dialog;
    QStringList texts;
    for (const QLabel *pLabel : dialog.findChildren<QLabel *>()) {
        if (!pLabel->text().isEmpty())
            texts << pLabel->text();
        else
            EXPECT_FALSE(pLabel->pixmap().isNull());
    }
    EXPECT_TRUE(texts.contains("VeskPDFReader，1.0 版"));
    EXPECT_EQ(texts.size(), 2);
    const auto *pOk = dialog.findChild<QPushButton *>("1");
    ASSERT_NE(pOk, nullptr);
    EXPECT_EQ(pOk->text(), "确定");
    EXPECT_TRUE(pOk->isDefault());
}

TEST_F(HelpTest, EngineQuestionsAreAnsweredWithDialogs) {
    const auto pApp = StartApp();
    apptest::CModalAnswer answer;
    platform::ShowMessageBox("错误代码:\t-8177");
    EXPECT_EQ(answer.Count(), 1);
    EXPECT_EQ(answer.Text(), "错误代码:\t-8177");
    EXPECT_EQ(platform::AskPassword("NSS Certificate DB"), std::nullopt);
    answer.Type("secret");
    EXPECT_EQ(platform::AskPassword("NSS Certificate DB"), "secret");
    EXPECT_TRUE(answer.Text().contains("NSS Certificate DB"));
}

TEST_F(HelpTest, HelpCommandsNeedNoDocument) {
    const auto pApp = StartApp();
    for (const int nID : {ID_SET_DEFAULT_READER, ID_CHECK_UPDATE, ID_HOME_PAGE, ID_APP_ABOUT})
        EXPECT_TRUE(pApp->GetMainWnd()->Commands().Action(nID)->isEnabled()) << nID;
}

} // namespace

#include "HelpTest.moc"
