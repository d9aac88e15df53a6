// The shell on an X desktop with a window manager (run through run-on-desktop.sh): the lock-key
// indicators follow the keyboard, and the maximised window restores down to its stored
// rectangle after fitting its document to the width the window manager gave it.

#include "app/CMainFrame.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/support/TestPaths.h"
#include "view/CVeskPDFReaderView.h"

#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <gtest/gtest.h>

// Last: its macros (None, Status) would rename what the headers above declare.
#include <X11/Xlib.h>

namespace {

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        apptest::ClearSettings();
    }
};

// What a taskbar or the title bar's button asks of the window manager: leave the maximised
// state. The window manager restores the window and then tells the program.
void AskWindowManagerToRestore(const QWidget &window) {
    Display *pDisplay = qApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window.winId();
    event.xclient.message_type = XInternAtom(pDisplay, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 0; // remove
    event.xclient.data.l[1] =
        static_cast<long>(XInternAtom(pDisplay, "_NET_WM_STATE_MAXIMIZED_VERT", False));
    event.xclient.data.l[2] =
        static_cast<long>(XInternAtom(pDisplay, "_NET_WM_STATE_MAXIMIZED_HORZ", False));
    event.xclient.data.l[3] = 2; // asked for by the user, through a pager
    XSendEvent(pDisplay, DefaultRootWindow(pDisplay), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(pDisplay);
}

TEST_F(DesktopTest, MaximisedWindowFitsItsDocumentThenRestoresDownToItsRectangle) {
    const QRect placed(200, 150, 640, 420);
    QSettings().setValue("Workspace/MainFrameNormalRect", placed);
    testsupport::CTempDir files;
    const auto pApp = apptest::StartApp({apptest::CopyFixture("outline.pdf", files, "a.pdf")});
    CMainFrame &frame = *pApp->GetMainWnd();
    const CVeskPDFReaderView &view = *frame.GetActiveChildFrame()->GetActiveView();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return frame.windowHandle()->isExposed() && (frame.windowState() & Qt::WindowMaximized);
    }));
    const auto fitted = [&view] {
        const int points = PdfGetPageWidth(view.GetPdfHandle(), view.CurrentPage());
        return view.CurrentZoom() ==
               static_cast<float>(static_cast<double>(view.viewport()->width() - 40) / points);
    };
    EXPECT_TRUE(QTest::qWaitFor(fitted))
        << view.CurrentZoom() << " at " << view.viewport()->width();
    EXPECT_GT(frame.width(), placed.width());

    AskWindowManagerToRestore(frame);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.geometry() == placed; }))
        << frame.geometry().x() << "," << frame.geometry().y() << " " << frame.width() << "x"
        << frame.height();
    EXPECT_FALSE(frame.windowState() & Qt::WindowMaximized);
}

TEST_F(DesktopTest, LockKeyIndicatorsFollowTheKeyboard) {
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "xdotool is missing";
    const auto pApp = apptest::StartApp();
    CMainFrame &frame = *pApp->GetMainWnd();
    for (const auto &[nID, pszKey] :
         {std::pair{ID_INDICATOR_CAPS, "Caps_Lock"}, std::pair{ID_INDICATOR_NUM, "Num_Lock"}}) {
        const QWidget *pLabel = frame.statusBar()->findChild<QWidget *>(QString::number(nID));
        ASSERT_NE(pLabel, nullptr);
        EXPECT_TRUE(pLabel->toolTip().isEmpty());
        const auto lit = [&] {
            frame.UpdateCommandUI();
            return pLabel->isEnabled();
        };
        EXPECT_FALSE(lit()) << pszKey;
        ASSERT_EQ(QProcess::execute("xdotool", {"key", pszKey}), 0);
        EXPECT_TRUE(QTest::qWaitFor(lit)) << pszKey;
        ASSERT_EQ(QProcess::execute("xdotool", {"key", pszKey}), 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !lit(); })) << pszKey;
    }
}

} // namespace
