#include "tests/app/ShellTestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <filesystem>

namespace apptest {

std::unique_ptr<CVeskPDFReaderApp> StartApp(const QStringList &arguments) {
    auto pApp = std::make_unique<CVeskPDFReaderApp>();
    EXPECT_TRUE(pApp->InitInstance(arguments));
    return pApp;
}

QString CopyFixture(const std::string &name, const testsupport::CTempDir &dir,
                    const std::string &as) {
    const std::filesystem::path target = dir / as;
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy_file(testsupport::Fixture(name), target,
                               std::filesystem::copy_options::overwrite_existing);
    return QString::fromStdString(target.string());
}

void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void RunCommand(CVeskPDFReaderApp &app, int nID) {
    QAction *pAction = app.GetMainWnd()->Commands().Action(nID);
    ASSERT_TRUE(pAction && pAction->isEnabled()) << nID;
    pAction->trigger();
}

bool IsChecked(const CVeskPDFReaderApp &app, int nID) {
    return app.GetMainWnd()->Router().Query(nID).m_eCheck == CCmdUI::Check::Checked;
}

} // namespace apptest
