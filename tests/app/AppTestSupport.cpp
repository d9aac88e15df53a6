#include "tests/app/AppTestSupport.h"

#include "tests/support/TestPaths.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QSettings>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace apptest {

namespace {

const QString kOrganization = QStringLiteral("应用程序向导生成的本地应用程序");
const QString kApplication = QStringLiteral("VeskPDFReader");

// Set up before any test: the environment first, then the application that reads it.
class CAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const std::string &home = HomeFolder();
        for (const char *sub : {"/.config", "/.local/share", "/etc-xdg", "/usr-share"})
            std::filesystem::create_directories(home + sub);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (home + "/etc-xdg").c_str(), 1);
        setenv("XDG_DATA_DIRS", (home + "/usr-share").c_str(), 1);
        unsetenv("XDG_CURRENT_DESKTOP");
        // Offscreen, unless run-on-desktop.sh has given the test an X desktop of its own.
        if (!std::getenv("VESK_TEST_DESKTOP"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "vesk-app-test";
        static char *argv[] = {name, nullptr};
        m_pApp = std::make_unique<QApplication>(argc, argv);
        // The names start-up gives the settings store, so tests read the same store.
        QCoreApplication::setOrganizationName(kOrganization);
        QCoreApplication::setApplicationName(kApplication);
    }
    void TearDown() override { m_pApp.reset(); }

private:
    std::unique_ptr<QApplication> m_pApp;
};

[[maybe_unused]] ::testing::Environment *const g_pEnvironment =
    ::testing::AddGlobalTestEnvironment(new CAppEnvironment);

} // namespace

const std::string &HomeFolder() {
    static testsupport::CTempDir home;
    return home.Path();
}

void ClearSettings() {
    QSettings settings(kOrganization, kApplication);
    settings.clear();
    settings.sync();
}

CModalAnswer::CModalAnswer(QMessageBox::StandardButton answer) : m_eAnswer(answer) {
    QObject::connect(&m_Timer, &QTimer::timeout, [this] { Poll(); });
    m_Timer.start(10);
}

CModalAnswer::~CModalAnswer() = default;

void CModalAnswer::Poll() {
    auto *pDialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (!pDialog)
        return;
    ++m_nCount;
    m_strTitle = pDialog->windowTitle();
    m_strName = pDialog->objectName();
    auto *pInput = qobject_cast<QInputDialog *>(pDialog);
    if (pInput && m_strInput) {
        m_strText = pInput->labelText();
        pInput->setTextValue(*m_strInput);
        pInput->accept();
        return;
    }
    if (auto *pBox = qobject_cast<QMessageBox *>(pDialog)) {
        m_strText = pBox->text();
        m_Buttons = pBox->standardButtons();
        m_eIcon = pBox->icon();
        if (QAbstractButton *pButton = pBox->button(m_eAnswer)) {
            pButton->click();
            return;
        }
    }
    pDialog->reject();
}

} // namespace apptest
