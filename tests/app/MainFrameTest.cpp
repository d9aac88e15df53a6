// The main window: toolbars, enabled and checked states, looks, toolbar and status-bar toggles,
// the status-bar prompt and the question before several documents close.

#include "app/CMdiTabArea.h"
#include "app/CWindowPlacement.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/view/ViewTestSupport.h"
#include "view/CVeskPDFReaderView.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTabBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

using apptest::StartApp;

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override { apptest::ClearSettings(); }

    static CCmdUI State(const CVeskPDFReaderApp &app, int nID) {
        return app.GetMainWnd()->Router().Query(nID);
    }
    static unsigned StoredLook() { return QSettings().value("Workspace/ApplicationLook").toUInt(); }

    testsupport::CTempDir m_Files;
};

struct SButton {
    int nID; // 0 for a separator
    const char *pszToolTip;
};

void ExpectToolBar(const QToolBar &bar, const char *pszTitle,
                   std::initializer_list<SButton> expected) {
    EXPECT_EQ(bar.windowTitle().toStdString(), pszTitle);
    const QList<QAction *> actions = bar.actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(expected.size())) << pszTitle;
    qsizetype i = 0;
    for (const SButton &button : expected) {
        const QAction *pAction = actions[i++];
        if (!button.nID) {
            EXPECT_TRUE(pAction->isSeparator()) << pszTitle << " position " << i;
            continue;
        }
        EXPECT_EQ(pAction->data().toInt(), button.nID);
        EXPECT_TRUE(
            pAction->toolTip().startsWith(QStringLiteral("<b>%1</b>").arg(button.pszToolTip)))
            << pAction->toolTip().toStdString();
        EXPECT_FALSE(pAction->icon().isNull()) << button.nID;
    }
}

TEST_F(MainFrameTest, ToolbarsHoldTheirButtonsInOrderWithTooltips) {
    const auto pApp = StartApp();
    const CMainFrame &frame = *pApp->GetMainWnd();
    ExpectToolBar(*frame.BasicBar(), "基本",
                  {{32772, "打开"},
                   {32773, "关闭"},
                   {32774, "另存为"},
                   {32775, "打印"},
                   {0, ""},
                   {32799, "全屏"},
                   {32801, "手型工具"},
                   {32802, "选择工具"},
                   {32803, "快照工具"},
                   {57664, "关于"}});
    ExpectToolBar(*frame.ToolsBar(), "工具",
                  {{32778, "第一页"},
                   {32779, "上一页"},
                   {32780, "下一页"},
                   {32781, "末一页"},
                   {32783, "上一视图"},
                   {32784, "下一视图"},
                   {0, ""},
                   {32794, "单页"},
                   {32795, "多页"},
                   {0, ""},
                   {32786, "放大"},
                   {32787, "缩小"},
                   {32789, "原始大小"},
                   {32790, "适合高度"},
                   {32792, "适合宽度"},
                   {0, ""},
                   {32798, "左旋"},
                   {32797, "右旋"},
                   {0, ""},
                   {32813, "书签"}});
    EXPECT_TRUE(frame.BasicBar()->actions()[0]->toolTip().contains("打开PDF文档"));
    // Both bars share the top row, "基本" first.
    EXPECT_EQ(frame.toolBarArea(frame.BasicBar()), Qt::TopToolBarArea);
    EXPECT_EQ(frame.toolBarArea(frame.ToolsBar()), Qt::TopToolBarArea);
    EXPECT_FALSE(frame.toolBarBreak(frame.ToolsBar()));
}

TEST_F(MainFrameTest, WithoutDocumentOnlyFrameAndApplicationCommandsAreEnabled) {
    const auto pApp = StartApp();
    pApp->RecentFiles().Add(apptest::CopyFixture("outline.pdf", m_Files, "a.pdf"));
    const int enabled[] = {ID_OPEN_PDF,
                           ID_EXIT_PROGRAM,
                           ID_FILE_MRU_FILE1,
                           ID_VIEW_APPLOOK_WIN_2000,
                           ID_VIEW_APPLOOK_OFF_2007_AQUA,
                           ID_VIEW_STATUS_BAR,
                           ID_VIEW_BASIC_BAR,
                           ID_VIEW_TOOLS_BAR,
                           ID_SET_DEFAULT_READER,
                           ID_CHECK_UPDATE,
                           ID_HOME_PAGE,
                           ID_APP_ABOUT};
    for (const int nID : enabled)
        EXPECT_TRUE(State(*pApp, nID).m_bEnabled) << nID;
    const int disabled[] = {ID_CLOSE_PDF,   ID_FIRST_PAGE,      ID_LAST_PAGE, ID_GOTO_PAGE,
                            ID_PREV_VIEW,   ID_ZOOM_IN,         ID_ZOOM_TO,   ID_FIT_WIDTH,
                            ID_SINGLE_PAGE, ID_CONTINUOUS,      ID_ROTATE_CW, ID_FULL_SCREEN,
                            ID_SELECT_TOOL, ID_TOGGLE_BOOKMARK, ID_THUMBNAIL};
    for (const int nID : disabled)
        EXPECT_FALSE(State(*pApp, nID).m_bEnabled) << nID;
    // What the menus and toolbars show follows, and a disabled command does not run.
    pApp->GetMainWnd()->UpdateCommandUI();
    for (QAction *pButton : pApp->GetMainWnd()->ToolsBar()->actions())
        EXPECT_TRUE(pButton->isSeparator() || !pButton->isEnabled()) << pButton->data().toInt();
    EXPECT_FALSE(pApp->GetMainWnd()->Router().Execute(ID_TOGGLE_BOOKMARK));
}

TEST_F(MainFrameTest, WithDocumentViewAndPaneCommandsAreEnabledAndMarked) {
    const auto pApp = StartApp({apptest::CopyFixture("outline.pdf", m_Files, "outline.pdf")});
    for (const int nID :
         {ID_CLOSE_PDF, ID_FIRST_PAGE, ID_NEXT_PAGE, ID_ZOOM_IN, ID_FIT_HEIGHT, ID_ROTATE_CCW,
          ID_TOGGLE_BOOKMARK, ID_THUMBNAIL, ID_SAVE_AS, ID_PRINT, ID_FULL_SCREEN, ID_HAND_TOOL,
          ID_SELECT_TOOL, ID_SNAPSHOT, ID_COPY_TEXT, ID_COPY_IMAGE, ID_EXIT_SELECT})
        EXPECT_TRUE(State(*pApp, nID).m_bEnabled) << nID;
    // No button stays grey while a document is open.
    pApp->GetMainWnd()->UpdateCommandUI();
    for (const QToolBar *pBar : {pApp->GetMainWnd()->BasicBar(), pApp->GetMainWnd()->ToolsBar()})
        for (QAction *pButton : pBar->actions())
            EXPECT_TRUE(pButton->isSeparator() || pButton->isEnabled()) << pButton->data().toInt();
    EXPECT_FALSE(apptest::IsChecked(*pApp, ID_SELECT_TOOL));
    EXPECT_FALSE(apptest::IsChecked(*pApp, ID_FULL_SCREEN));
    EXPECT_TRUE(apptest::IsChecked(*pApp, ID_CONTINUOUS));
    EXPECT_FALSE(apptest::IsChecked(*pApp, ID_SINGLE_PAGE));
    EXPECT_TRUE(apptest::IsChecked(*pApp, ID_TOGGLE_BOOKMARK));
    EXPECT_FALSE(apptest::IsChecked(*pApp, ID_THUMBNAIL));
    EXPECT_FALSE(State(*pApp, ID_NEXT_PAGE).m_eCheck.has_value());

    apptest::RunCommand(*pApp, ID_SINGLE_PAGE);
    EXPECT_TRUE(apptest::IsChecked(*pApp, ID_SINGLE_PAGE));
    EXPECT_TRUE(pApp->GetMainWnd()->Commands().Action(ID_SINGLE_PAGE)->isChecked());
    EXPECT_FALSE(pApp->GetMainWnd()->Commands().Action(ID_CONTINUOUS)->isChecked());
    apptest::RunCommand(*pApp, ID_SELECT_TOOL);
    EXPECT_TRUE(pApp->GetMainWnd()->Commands().Action(ID_SELECT_TOOL)->isChecked());
    apptest::RunCommand(*pApp, ID_HAND_TOOL);
    EXPECT_FALSE(pApp->GetMainWnd()->Commands().Action(ID_SELECT_TOOL)->isChecked());
}

TEST_F(MainFrameTest, FirstStartUsesOffice2007BlueAndMarksIt) {
    const auto pApp = StartApp();
    EXPECT_EQ(pApp->m_nApplicationLook, 215u);
    EXPECT_EQ(StoredLook(), 215u);
    EXPECT_TRUE(apptest::IsChecked(*pApp, ID_VIEW_APPLOOK_OFF_2007_BLUE));
    EXPECT_TRUE(State(*pApp, ID_VIEW_APPLOOK_OFF_2007_BLUE).m_bRadio);
    EXPECT_FALSE(apptest::IsChecked(*pApp, ID_VIEW_APPLOOK_OFF_XP));
    EXPECT_EQ(QApplication::style()->name(), "fusion");
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0xbfdbff));
}

TEST_F(MainFrameTest, ChosenLookSurvivesRestart) {
    {
        const auto pApp = StartApp();
        apptest::RunCommand(*pApp, ID_VIEW_APPLOOK_WIN_2000);
        EXPECT_EQ(StoredLook(), 210u);
        EXPECT_EQ(QApplication::style()->name(), "windows");
        apptest::RunCommand(*pApp, ID_VIEW_APPLOOK_OFF_XP);
        EXPECT_EQ(QApplication::style()->name(), "fusion");
        EXPECT_TRUE(apptest::IsChecked(*pApp, ID_VIEW_APPLOOK_OFF_XP));
        EXPECT_FALSE(apptest::IsChecked(*pApp, ID_VIEW_APPLOOK_WIN_2000));
    }
    const auto pApp = StartApp();
    EXPECT_EQ(pApp->m_nApplicationLook, 211u);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0xeeede5));
    EXPECT_TRUE(apptest::IsChecked(*pApp, ID_VIEW_APPLOOK_OFF_XP));
}

TEST_F(MainFrameTest, StoredLookOutsideTheRangeGivesOffice2007WithoutMark) {
    QSettings().setValue("Workspace/ApplicationLook", 300);
    const auto pApp = StartApp();
    // Office 2007 in the colour style its manager starts with, blue.
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0xbfdbff));
    EXPECT_EQ(StoredLook(), 300u);
    EXPECT_EQ(QApplication::style()->name(), "fusion");
    for (int nID = ID_VIEW_APPLOOK_WIN_2000; nID <= ID_VIEW_APPLOOK_OFF_2007_AQUA; ++nID)
        EXPECT_FALSE(apptest::IsChecked(*pApp, nID)) << nID;
}

TEST_F(MainFrameTest, EachLookChangesStyleOrPalette) {
    const auto pApp = StartApp();
    QSet<QRgb> windows;
    for (int nID = ID_VIEW_APPLOOK_WIN_2000; nID <= ID_VIEW_APPLOOK_OFF_2007_AQUA; ++nID) {
        apptest::RunCommand(*pApp, nID);
        EXPECT_EQ(pApp->m_nApplicationLook, static_cast<unsigned>(nID));
        windows.insert(QApplication::palette().color(QPalette::Window).rgb());
    }
    EXPECT_EQ(windows.size(), 9);
}

TEST_F(MainFrameTest, ClosingAsksOnlyWithTwoOrMoreDocuments) {
    const QString a = apptest::CopyFixture("outline.pdf", m_Files, "a.pdf");
    const QString b = apptest::CopyFixture("no-outline.pdf", m_Files, "b.pdf");
    {
        const auto pApp = StartApp({a});
        apptest::CModalAnswer answer;
        EXPECT_TRUE(pApp->GetMainWnd()->close());
        EXPECT_EQ(answer.Count(), 0);
    }
    const auto pApp = StartApp({a});
    ASSERT_NE(pApp->OpenDocumentFile(b), nullptr);
    {
        apptest::CModalAnswer answer(QMessageBox::Cancel);
        EXPECT_FALSE(pApp->GetMainWnd()->close());
        EXPECT_EQ(answer.Count(), 1);
        EXPECT_EQ(answer.Text(), "你希望关闭所有文件？");
        EXPECT_EQ(answer.Buttons(), QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(answer.Icon(), QMessageBox::Warning);
    }
    apptest::FlushDeletes();
    EXPECT_EQ(pApp->GetMainWnd()->GetOpenDocumentCount(), 2);
    EXPECT_TRUE(pApp->GetMainWnd()->isVisible());
    {
        apptest::CModalAnswer answer(QMessageBox::Ok);
        apptest::RunCommand(*pApp, ID_EXIT_PROGRAM);
        EXPECT_EQ(answer.Count(), 1);
    }
    apptest::FlushDeletes();
    EXPECT_EQ(pApp->GetMainWnd()->GetOpenDocumentCount(), 0);
    EXPECT_FALSE(pApp->GetMainWnd()->isVisible());
}

// At exit the render workers are told to stop together and waited for once, within one bound.
// A worker still inside a page keeps its engine: the application says so, and the program then
// ends without tearing down what that page may still use.
TEST_F(MainFrameTest, ExitWaitsForRenderWorkersWithinOneBound) {
    {
        const auto pApp = StartApp({apptest::CopyFixture("outline.pdf", m_Files, "a.pdf")});
        pApp->GetMainWnd()->close();
        EXPECT_TRUE(pApp->ExitInstance());
        EXPECT_EQ(pApp->GetMainWnd(), nullptr);
    }
    const std::string huge = m_Files / "huge.pdf";
    viewtest::WriteBlankPdf(huge, {{14400, 14400}});
    const auto pApp = StartApp({QString::fromStdString(huge)});
    view::CViewCore &core = pApp->GetMainWnd()->GetActiveChildFrame()->GetActiveView()->Core();
    view::CEvent inPage, release;
    const std::shared_ptr<void> releaseAtEnd(nullptr, [&](void *) { release.Set(); });
    core.Worker().Stop();
    core.Cache().ClearCache();
    PdfSetZoom(core.Handle(), 4.0f); // a bitmap too large to make: the worker reports it
    core.Cache().SetErrorReporter([&](int) {
        inPage.Set();
        release.Wait();
    });
    ASSERT_EQ(core.Worker().Start(1, 1), 0);
    ASSERT_TRUE(inPage.Wait(std::chrono::seconds(20)));

    pApp->GetMainWnd()->close();
    EXPECT_FALSE(pApp->ExitInstance());
    EXPECT_EQ(pApp->GetMainWnd(), nullptr);
    release.Set();
    EXPECT_TRUE(view::CRenderWorker::WaitForFinishingWorkers(std::chrono::seconds(20)));
}

TEST_F(MainFrameTest, ToolbarAndStatusBarTogglesFollowTheirBars) {
    const auto pApp = StartApp();
    CMainFrame &frame = *pApp->GetMainWnd();
    struct SCase {
        int nID;
        QWidget *pBar;
    };
    for (const SCase c :
         {SCase{ID_VIEW_BASIC_BAR, frame.BasicBar()}, SCase{ID_VIEW_TOOLS_BAR, frame.ToolsBar()},
          SCase{ID_VIEW_STATUS_BAR, frame.statusBar()}}) {
        EXPECT_TRUE(apptest::IsChecked(*pApp, c.nID));
        apptest::RunCommand(*pApp, c.nID);
        EXPECT_FALSE(c.pBar->isVisible()) << c.nID;
        EXPECT_FALSE(apptest::IsChecked(*pApp, c.nID));
        apptest::RunCommand(*pApp, c.nID);
        EXPECT_TRUE(c.pBar->isVisible()) << c.nID;
        EXPECT_TRUE(apptest::IsChecked(*pApp, c.nID));
    }
}

TEST_F(MainFrameTest, HiddenToolbarStaysHiddenAfterRestart) {
    {
        const auto pApp = StartApp();
        apptest::RunCommand(*pApp, ID_VIEW_TOOLS_BAR);
        pApp->GetMainWnd()->close();
    }
    const auto pApp = StartApp();
    EXPECT_FALSE(pApp->GetMainWnd()->ToolsBar()->isVisible());
    EXPECT_FALSE(apptest::IsChecked(*pApp, ID_VIEW_TOOLS_BAR));
}

// The window starts maximised; restoring it down gives the rectangle it had when the program
// last ended (a default one at first, never the size of the screen), and the status bar keeps
// its visibility.
TEST_F(MainFrameTest, RestoredRectangleAndStatusBarSurviveRestart) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect placed(screen.topLeft() + QPoint(40, 50), QSize(420, 300));
    {
        const auto pApp = StartApp();
        CMainFrame &frame = *pApp->GetMainWnd();
        EXPECT_TRUE(frame.windowState() & Qt::WindowMaximized);
        frame.showNormal();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return frame.geometry() == CWindowPlacement::DefaultRect();
        })) << frame.geometry().width()
            << "x" << frame.geometry().height();
        EXPECT_LT(frame.width(), screen.width());
        frame.setGeometry(placed);
        ASSERT_TRUE(QTest::qWaitFor([&] { return frame.geometry() == placed; }));
        frame.showMaximized();
        apptest::RunCommand(*pApp, ID_VIEW_STATUS_BAR);
        frame.close();
    }
    const auto pApp = StartApp();
    CMainFrame &frame = *pApp->GetMainWnd();
    EXPECT_TRUE(frame.windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(frame.statusBar()->isHidden());
    EXPECT_FALSE(apptest::IsChecked(*pApp, ID_VIEW_STATUS_BAR));
    frame.showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.geometry() == placed; }))
        << frame.geometry().x() << "," << frame.geometry().y() << " " << frame.geometry().width()
        << "x" << frame.geometry().height();
}

TEST_F(MainFrameTest, StoredRectangleOffEveryScreenGivesTheDefault) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QRect stored : {screen.translated(screen.width() * 3, 0), QRect(0, 0, 50, 40)}) {
        QSettings().setValue("Workspace/MainFrameNormalRect", stored);
        const auto pApp = StartApp();
        pApp->GetMainWnd()->showNormal();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return pApp->GetMainWnd()->geometry() == CWindowPlacement::DefaultRect();
        })) << stored.x()
            << "," << stored.y();
    }
}

// The menus that the dock and toolbar areas offer on a right-click list only what a command
// of the program shows and hides: never the thumbnail pane.
TEST_F(MainFrameTest, AreaMenusListOnlyPanesThatACommandShows) {
    const auto pApp = StartApp({apptest::CopyFixture("outline.pdf", m_Files, "a.pdf")});
    const auto texts = [](QMenu *pMenu) {
        QStringList list;
        for (const QAction *pAction : pMenu->actions()) {
            if (!pAction->isSeparator())
                list << pAction->text();
        }
        delete pMenu;
        return list;
    };
    EXPECT_EQ(texts(pApp->GetMainWnd()->GetActiveChildFrame()->createPopupMenu()),
              QStringList{"书签"});
    EXPECT_EQ(texts(pApp->GetMainWnd()->createPopupMenu()), (QStringList{"基本", "工具"}));
}

// The offscreen platform, like Wayland, tells a program nothing of the lock keys.
TEST_F(MainFrameTest, WithoutLockKeyStatesTheIndicatorsStayGreyAndSaySo) {
    const auto pApp = StartApp();
    for (const int nID : {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) {
        const auto *pLabel =
            pApp->GetMainWnd()->statusBar()->findChild<QWidget *>(QString::number(nID));
        ASSERT_NE(pLabel, nullptr);
        pApp->GetMainWnd()->UpdateCommandUI();
        EXPECT_FALSE(pLabel->isEnabled()) << nID;
        EXPECT_EQ(pLabel->toolTip(), "此桌面不向程序提供锁定键的状态") << nID;
    }
}

TEST_F(MainFrameTest, StatusBarShowsPromptsAndReadyWhenIdle) {
    const auto pApp = StartApp();
    CMainFrame &frame = *pApp->GetMainWnd();
    EXPECT_EQ(frame.statusBar()->currentMessage(), "就绪");
    QStatusTipEvent prompt(frame.Commands().Action(ID_OPEN_PDF)->statusTip());
    QApplication::sendEvent(&frame, &prompt);
    EXPECT_EQ(frame.statusBar()->currentMessage(), "打开PDF文档");
    QStatusTipEvent idle{QString()};
    QApplication::sendEvent(&frame, &idle);
    EXPECT_EQ(frame.statusBar()->currentMessage(), "就绪");
    QStringList indicators;
    for (const int nID : {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL})
        indicators << frame.statusBar()
                          ->findChild<QWidget *>(QString::number(nID))
                          ->property("text")
                          .toString();
    EXPECT_EQ(indicators, (QStringList{"CAP", "NUM", "SCRL"}));
}

TEST_F(MainFrameTest, DocumentTabsShowTitlesAndCloseButtonOnActiveTabOnly) {
    const auto pApp = StartApp({apptest::CopyFixture("outline.pdf", m_Files, "a.pdf")});
    ASSERT_NE(pApp->OpenDocumentFile(apptest::CopyFixture("no-outline.pdf", m_Files, "b.pdf")),
              nullptr);
    CMdiTabArea &area = *pApp->GetMainWnd()->DocumentArea();
    ASSERT_EQ(area.count(), 2);
    EXPECT_EQ(area.tabText(0), "a.pdf" + QString(15, ' '));
    EXPECT_EQ(area.currentIndex(), 1);
    EXPECT_EQ(pApp->GetMainWnd()->windowTitle(), "VeskPDFReader - b.pdf" + QString(15, ' '));
    const auto closeButton = [&](int i) { return area.tabBar()->tabButton(i, QTabBar::RightSide); };
    EXPECT_FALSE(closeButton(0)->isVisibleTo(&area));
    EXPECT_TRUE(closeButton(1)->isVisibleTo(&area));
    area.setCurrentIndex(0);
    EXPECT_TRUE(closeButton(0)->isVisibleTo(&area));
    EXPECT_FALSE(closeButton(1)->isVisibleTo(&area));
}

} // namespace
