// Document windows: the open flow from the command line, the open command, recent files and
// dropped files; titles; the bookmark and thumbnail panes; closing.

#include "app/CMdiTabArea.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ShellTestSupport.h"
#include "view/CVeskPDFReaderView.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace {

using apptest::CopyFixture;
using apptest::StartApp;

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { apptest::ClearSettings(); }

    static int Windows(const CVeskPDFReaderApp &app) {
        apptest::FlushDeletes();
        return app.GetMainWnd()->GetOpenDocumentCount();
    }
    static CChildFrame &Active(const CVeskPDFReaderApp &app) {
        return *app.GetMainWnd()->GetActiveChildFrame();
    }
    QString Fixture(const char *pszName, const std::string &as) {
        return CopyFixture(pszName, m_Files, as);
    }

    testsupport::CTempDir m_Files;
};

TEST_F(DocumentTest, CommandLineOpensExactlyOneWindow) {
    const QString path = Fixture("outline.pdf", "my documents/my file.pdf");
    const QString firstWord = path.section(' ', 0, 0);
    const QString rest = path.section(' ', 1);
    const QStringList forms[] = {
        {path},             // one argument with blanks, as a desktop passes it
        {'"' + path + '"'}, // the quotes kept in the argument
        {firstWord, rest.section(' ', 0, 0), rest.section(' ', 1)}, // split at every blank
    };
    for (const QStringList &arguments : forms) {
        const auto pApp = StartApp(arguments);
        EXPECT_EQ(Windows(*pApp), 1) << arguments.join('|').toStdString();
        EXPECT_EQ(Active(*pApp).GetDocument().GetPathName(), path);
    }
}

// The document opens before the window is shown; its page fits the width the view has once
// the window is up, not the width of a window still being laid out.
TEST_F(DocumentTest, DocumentFromTheCommandLineFitsTheShownWidth) {
    const auto pApp = StartApp({Fixture("outline.pdf", "a.pdf")});
    const CVeskPDFReaderView &view = *Active(*pApp).GetActiveView();
    const auto width = [&view] { return view.viewport()->width(); };
    const auto fitted = [&] {
        const int points = PdfGetPageWidth(view.GetPdfHandle(), view.CurrentPage());
        return view.CurrentZoom() == static_cast<float>(static_cast<double>(width() - 40) / points);
    };
    EXPECT_TRUE(QTest::qWaitFor(fitted)) << view.CurrentZoom() << " at " << width();
    EXPECT_GT(width(), pApp->GetMainWnd()->width() / 2);
}

TEST_F(DocumentTest, StartWithoutArgumentsShowsMaximisedWindowWithoutDocument) {
    const auto pApp = StartApp();
    EXPECT_EQ(Windows(*pApp), 0);
    EXPECT_TRUE(pApp->GetMainWnd()->isVisible());
    EXPECT_TRUE(pApp->GetMainWnd()->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(pApp->GetMainWnd()->windowTitle(), "VeskPDFReader");
}

TEST_F(DocumentTest, StartWithMissingFileReportsTwiceAndEnds) {
    apptest::CModalAnswer answer;
    CVeskPDFReaderApp app;
    EXPECT_FALSE(app.InitInstance({QString::fromStdString(m_Files / "missing.pdf")}));
    EXPECT_EQ(answer.Count(), 2);
    EXPECT_TRUE(answer.Text().startsWith("找不到文件")) << answer.Text().toStdString();
    EXPECT_FALSE(app.GetMainWnd()->isVisible());
}

TEST_F(DocumentTest, OpeningAnOpenFileActivatesItsWindow) {
    const QString a = Fixture("outline.pdf", "a.pdf");
    const QString b = Fixture("no-outline.pdf", "b.pdf");
    const auto pApp = StartApp({a});
    CChildFrame *pFirst = &Active(*pApp);
    ASSERT_NE(pApp->OpenDocumentFile(b), nullptr);
    // The same file under another spelling of its path.
    const QString again = QString::fromStdString(m_Files.Path() + "/./a.pdf");
    EXPECT_EQ(pApp->OpenDocumentFile(again), pFirst);
    EXPECT_EQ(Windows(*pApp), 2);
    EXPECT_EQ(&Active(*pApp), pFirst);
}

TEST_F(DocumentTest, FailedOpenLeavesNoWindow) {
    const std::string notPdf = m_Files / "notes.pdf";
    std::ofstream(notPdf) << "plain text, no PDF";
    std::filesystem::create_directories(m_Files / "folder.pdf");
    struct SCase {
        std::string path;
        int nMessages; // the file error message for what cannot be read at all
    };
    const SCase cases[] = {
        {notPdf, 0},
        {m_Files / "missing.pdf", 1},
        {m_Files / "folder.pdf", 1},
    };
    const auto pApp = StartApp();
    for (const SCase &c : cases) {
        apptest::CModalAnswer answer;
        EXPECT_EQ(pApp->OpenDocumentFile(QString::fromStdString(c.path)), nullptr) << c.path;
        EXPECT_EQ(answer.Count(), c.nMessages) << c.path;
        EXPECT_EQ(Windows(*pApp), 0) << c.path;
        EXPECT_EQ(pApp->RecentFiles().GetCount(), 0) << c.path;
    }
}

TEST_F(DocumentTest, TitlesHaveTwentyBytes) {
    struct SCase {
        const char *pszName;
        const char *pszTitle;
    };
    const SCase cases[] = {
        {"a.pdf", "a.pdf               "},                // 5 bytes
        {"abcdefghijklmno.pdf", "abcdefghijklmno.pdf "},  // 19 bytes
        {"abcdefghijklmnop.pdf", "abcdefghijklmnop...."}, // 20 bytes: 17 and "..."
        {"中文文档名称.pdf", "中文文档名..."},            // a character cut at 17 is dropped
        {"中文文档名.pdf", "中文文档名.pdf "},            // 19 bytes
    };
    for (const SCase &c : cases)
        EXPECT_EQ(CVeskPDFReaderDoc::FixedWidthTitle(QString::fromUtf8(c.pszName)).toStdString(),
                  c.pszTitle);
}

TEST_F(DocumentTest, RecentFilesListTheLatestFourAndForgetWhatNoLongerOpens) {
    QStringList paths;
    for (int i = 1; i <= 5; ++i)
        paths << Fixture("no-outline.pdf", "doc" + std::to_string(i) + ".pdf");
    {
        const auto pApp = StartApp();
        for (const QString &path : paths)
            ASSERT_NE(pApp->OpenDocumentFile(path), nullptr);
        pApp->GetMainWnd()->UpdateCommandUI();
        EXPECT_EQ(pApp->GetMainWnd()->Commands().Action(ID_FILE_MRU_FILE1)->text(),
                  "&1 " + paths[4]);
        apptest::CModalAnswer answer;
        pApp->GetMainWnd()->close();
    }
    QSettings settings;
    settings.beginGroup("Recent File List");
    EXPECT_EQ(settings.value("File1").toString(), paths[4]);
    EXPECT_EQ(settings.value("File4").toString(), paths[1]);
    EXPECT_FALSE(settings.contains("File5"));

    std::filesystem::remove(paths[4].toStdString());
    const auto pApp = StartApp();
    {
        apptest::CModalAnswer answer;
        apptest::RunCommand(*pApp, ID_FILE_MRU_FILE1);
        EXPECT_EQ(answer.Count(), 1);
    }
    EXPECT_EQ(Windows(*pApp), 0);
    ASSERT_EQ(pApp->RecentFiles().GetCount(), 3);
    EXPECT_EQ(pApp->RecentFiles().At(0), paths[3]);
    apptest::RunCommand(*pApp, ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(Active(*pApp).GetDocument().GetPathName(), paths[2]);
    EXPECT_EQ(pApp->RecentFiles().At(0), paths[2]);
    EXPECT_EQ(Windows(*pApp), 1);
}

TEST_F(DocumentTest, EmptyRecentListShowsItsPlaceholderDisabled) {
    const auto pApp = StartApp();
    pApp->GetMainWnd()->UpdateCommandUI();
    const QAction *pFirst = pApp->GetMainWnd()->Commands().Action(ID_FILE_MRU_FILE1);
    EXPECT_EQ(pFirst->text(), "最近的文件");
    EXPECT_FALSE(pFirst->isEnabled());
    EXPECT_FALSE(pApp->GetMainWnd()->Commands().Action(ID_FILE_MRU_FILE1 + 1)->isVisible());
}

// Sends a drag of the files over the main window and drops them; answers whether the drop
// was taken.
bool DropFiles(CVeskPDFReaderApp &app, const QStringList &paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.GetMainWnd(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.GetMainWnd(), &drop);
    return enter.isAccepted() && drop.isAccepted();
}

// The files open after the drop has returned, so that a message about one of them does not
// hold the program they were dragged from.
TEST_F(DocumentTest, DroppedFilesOpenOnceTheDropHasReturned) {
    const auto pApp = StartApp();
    apptest::CModalAnswer answer;
    ASSERT_TRUE(
        DropFiles(*pApp, {Fixture("outline.pdf", "a.pdf"), Fixture("no-outline.pdf", "b.pdf"),
                          QString::fromStdString(m_Files / "missing.pdf")}));
    EXPECT_EQ(Windows(*pApp), 0);
    EXPECT_EQ(answer.Count(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Windows(*pApp) == 2 && answer.Count() == 1; }));
    EXPECT_TRUE(answer.Text().startsWith("找不到文件")) << answer.Text().toStdString();
}

// Only the command line read whole has its surrounding quotes taken off; a name from the open
// dialog, a drop or the recent list is the file's name to the last character.
TEST_F(DocumentTest, NamesWithDoubleQuotesKeepEveryCharacter) {
    for (const char *pszName : {"say \"hi\".pdf", "\"quoted\".pdf", "end\""}) {
        apptest::CModalAnswer answer; // a file that is not found says so
        const QString path = Fixture("outline.pdf", pszName);
        const auto pathOf = [](const CVeskPDFReaderApp &app) {
            return Active(app).GetDocument().GetPathName();
        };
        {
            const auto pApp = StartApp();
            ASSERT_NE(pApp->OpenDocumentFile(path), nullptr) << pszName;
            EXPECT_EQ(pathOf(*pApp), path);
            EXPECT_EQ(pApp->RecentFiles().At(0), path);
            pApp->GetMainWnd()->close();
        }
        {
            const auto pApp = StartApp();
            apptest::RunCommand(*pApp, ID_FILE_MRU_FILE1);
            ASSERT_EQ(Windows(*pApp), 1) << pszName;
            EXPECT_EQ(pathOf(*pApp), path);
        }
        {
            const auto pApp = StartApp();
            DropFiles(*pApp, {path});
            ASSERT_TRUE(QTest::qWaitFor([&] { return Windows(*pApp) == 1; })) << pszName;
            EXPECT_EQ(pathOf(*pApp), path);
        }
        for (const QString &argument : {path, '"' + path + '"'}) {
            const auto pApp = StartApp({argument});
            ASSERT_EQ(Windows(*pApp), 1) << argument.toStdString();
            EXPECT_EQ(pathOf(*pApp), path);
        }
        EXPECT_EQ(answer.Count(), 0) << answer.Text().toStdString();
    }
}

TEST_F(DocumentTest, OpenDialogAsksForPdfFiles) {
    const auto pDialog = CVeskPDFReaderApp::CreateOpenDialog(nullptr);
    EXPECT_EQ(pDialog->windowTitle(), "打开PDF文件...");
    EXPECT_EQ(pDialog->nameFilters(), (QStringList{"PDF files (*.PDF *.pdf)", "All files (*)"}));
    EXPECT_EQ(pDialog->selectedNameFilter(), "PDF files (*.PDF *.pdf)");
    EXPECT_EQ(pDialog->fileMode(), QFileDialog::ExistingFile);
}

TEST_F(DocumentTest, CloseCommandClosesTheActiveWindow) {
    const auto pApp = StartApp({Fixture("outline.pdf", "a.pdf")});
    ASSERT_NE(pApp->OpenDocumentFile(Fixture("no-outline.pdf", "b.pdf")), nullptr);
    apptest::RunCommand(*pApp, ID_CLOSE_PDF);
    EXPECT_EQ(Windows(*pApp), 1);
    EXPECT_EQ(Active(*pApp).GetDocument().GetPathName(), QString::fromStdString(m_Files / "a.pdf"));
}

TEST_F(DocumentTest, BookmarkPaneStartsVisibleAndTogglesPerWindow) {
    const auto pApp = StartApp({Fixture("outline.pdf", "a.pdf")});
    CChildFrame &first = Active(*pApp);
    EXPECT_TRUE(first.m_pBookMark->isVisible());
    EXPECT_TRUE(first.m_pThumbnail->isHidden());
    EXPECT_EQ(first.dockWidgetArea(first.m_pBookMark), Qt::LeftDockWidgetArea);
    EXPECT_EQ(first.m_pBookMark->windowTitle(), "书签");
    EXPECT_EQ(first.m_pThumbnail->windowTitle(), "页面");

    ASSERT_NE(pApp->OpenDocumentFile(Fixture("no-outline.pdf", "b.pdf")), nullptr);
    CChildFrame &second = Active(*pApp);
    apptest::RunCommand(*pApp, ID_TOGGLE_BOOKMARK);
    EXPECT_TRUE(second.m_pBookMark->isHidden());
    EXPECT_FALSE(apptest::IsChecked(*pApp, ID_TOGGLE_BOOKMARK));
    EXPECT_FALSE(pApp->GetMainWnd()->Commands().Action(ID_TOGGLE_BOOKMARK)->isChecked());
    EXPECT_FALSE(first.m_pBookMark->isHidden());
    apptest::RunCommand(*pApp, ID_TOGGLE_BOOKMARK);
    EXPECT_TRUE(second.m_pBookMark->isVisible());
    EXPECT_TRUE(apptest::IsChecked(*pApp, ID_TOGGLE_BOOKMARK));
    EXPECT_TRUE(pApp->GetMainWnd()->Commands().Action(ID_TOGGLE_BOOKMARK)->isChecked());
}

TEST_F(DocumentTest, ThumbnailCommandSaysItIsInDevelopment) {
    const auto pApp = StartApp({Fixture("outline.pdf", "a.pdf")});
    CChildFrame &frame = Active(*pApp);
    apptest::CModalAnswer answer;
    apptest::RunCommand(*pApp, ID_THUMBNAIL);
    EXPECT_EQ(answer.Count(), 1);
    EXPECT_EQ(answer.Text(), "开发中...");
    EXPECT_EQ(answer.Buttons(), QMessageBox::Ok);
    EXPECT_TRUE(frame.m_pThumbnail->isHidden());
    EXPECT_TRUE(frame.m_pBookMark->isVisible());
    EXPECT_FALSE(apptest::IsChecked(*pApp, ID_THUMBNAIL));
}

class BookmarkTreeTest : public DocumentTest {
protected:
    void Open(const char *pszFixture) {
        m_pApp = StartApp({Fixture(pszFixture, "doc.pdf")});
        m_pTree = &Active(*m_pApp).m_pBookMark->m_wndTree;
        m_pView = Active(*m_pApp).GetActiveView();
    }
    // Opens the fixture with the main window active and the view holding the focus, so that
    // key presses reach their commands.
    void OpenForKeys(const char *pszFixture) {
        Open(pszFixture);
        CMainFrame &frame = *m_pApp->GetMainWnd();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        m_pView->setFocus();
    }
    void Click(QTreeWidgetItem *pItem) {
        m_pTree->scrollToItem(pItem);
        QTest::mouseClick(m_pTree->viewport(), Qt::LeftButton, {},
                          m_pTree->visualItemRect(pItem).center());
    }
    QTreeWidgetItem *Top(int i) const { return m_pTree->topLevelItem(i); }

    std::unique_ptr<CVeskPDFReaderApp> m_pApp;
    CBookMarkTree *m_pTree = nullptr;
    CVeskPDFReaderView *m_pView = nullptr;
};

TEST_F(BookmarkTreeTest, DocumentWithoutOutlineListsItsPages) {
    Open("no-outline.pdf");
    ASSERT_EQ(m_pTree->topLevelItemCount(), 5);
    EXPECT_EQ(Top(1)->text(0), "Page 2");
    Click(Top(1));
    EXPECT_EQ(m_pView->CurrentPage(), 2);
}

TEST_F(BookmarkTreeTest, ClickAndKeyboardMoveTheViewToTheEntrysPage) {
    Open("outline.pdf");
    ASSERT_GE(m_pTree->topLevelItemCount(), 3);
    EXPECT_EQ(Top(0)->text(0), "Chapter 1");
    EXPECT_EQ(Top(0)->childCount(), 2);
    EXPECT_FALSE(Top(0)->isExpanded());
    EXPECT_EQ(Top(1)->text(0), "Chapter 2");
    EXPECT_TRUE(m_pTree->selectedItems().isEmpty());
    EXPECT_EQ(m_pView->CurrentPage(), 1);

    Click(Top(1));
    EXPECT_EQ(m_pView->CurrentPage(), 5);
    // Scrolled away, a click on the entry already selected goes back to its page.
    m_pView->GoToPage(2);
    Click(Top(1));
    EXPECT_EQ(m_pView->CurrentPage(), 5);
    // The keyboard moves the selection, and the view follows at every step.
    m_pTree->setFocus();
    QTest::keyClick(m_pTree, Qt::Key_Down);
    EXPECT_EQ(m_pTree->currentItem()->text(0), "Via Dest key");
    EXPECT_EQ(m_pView->CurrentPage(), 6);
}

TEST_F(BookmarkTreeTest, EditedLabelsAreNotKept) {
    Open("outline.pdf");
    QTreeWidgetItem *pItem = Top(1);
    m_pTree->setCurrentItem(pItem);
    m_pTree->editItem(pItem);
    auto *pEditor = m_pTree->findChild<QLineEdit *>();
    ASSERT_NE(pEditor, nullptr);
    pEditor->setText("edited");
    QTest::keyClick(pEditor, Qt::Key_Return);
    EXPECT_EQ(pItem->text(0), "Chapter 2");
}

TEST_F(BookmarkTreeTest, EntriesMoveOnlyTheirOwnWindowsView) {
    Open("outline.pdf");
    CVeskPDFReaderView *pFirstView = m_pView;
    ASSERT_NE(m_pApp->OpenDocumentFile(Fixture("no-outline.pdf", "other.pdf")), nullptr);
    CChildFrame &second = Active(*m_pApp);
    m_pTree = &second.m_pBookMark->m_wndTree;
    Click(Top(3));
    EXPECT_EQ(second.GetActiveView()->CurrentPage(), 4);
    EXPECT_EQ(pFirstView->CurrentPage(), 1);
}

namespace {

// What a right-click on the view showed: the menu's resource id, its items with their check
// marks, and the command chosen from it.
struct ShownMenu {
    QString name;
    QStringList items; // "-" for a separator
    std::set<int> checked;
};

ShownMenu RightClick(CVeskPDFReaderView &view, int nChoose) {
    ShownMenu shown;
    QTimer::singleShot(50, [&] {
        auto *pPopup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(pPopup, nullptr);
        shown.name = pPopup->objectName();
        for (QAction *pItem : pPopup->actions()) {
            shown.items << (pItem->isSeparator() ? "-" : pItem->text());
            EXPECT_TRUE(pItem->isEnabled());
            if (pItem->isChecked())
                shown.checked.insert(pItem->data().toInt());
            if (pItem->data().toInt() == nChoose)
                pPopup->setActiveAction(pItem);
        }
        QTest::keyClick(pPopup, nChoose ? Qt::Key_Return : Qt::Key_Escape);
    });
    const QPoint at(40, 40);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &event);
    return shown;
}

} // namespace

TEST_F(BookmarkTreeTest, ViewContextMenuRoutesItsCommandToTheView) {
    Open("no-outline.pdf");
    const ShownMenu shown = RightClick(*m_pView, ID_LAST_PAGE);
    EXPECT_EQ(shown.name, "321");
    ASSERT_EQ(shown.items.size(), 24);
    EXPECT_EQ(shown.items.first(), "第一页(&F)\tHome");
    EXPECT_EQ(shown.items.last(), "关闭(&C)\tCtrl + W");
    EXPECT_EQ(shown.checked, std::set<int>{});
    EXPECT_EQ(m_pView->CurrentPage(), 5);
}

// The selection tool has its own menu; the page menu marks only full screen, whatever the
// display mode.
TEST_F(BookmarkTreeTest, ViewContextMenuFollowsTheToolAndMarksOnlyFullScreen) {
    Open("text-pages.pdf");
    apptest::RunCommand(*m_pApp, ID_SINGLE_PAGE);
    ShownMenu shown = RightClick(*m_pView, 0);
    EXPECT_EQ(shown.name, "321");
    EXPECT_EQ(shown.checked, std::set<int>{});

    shown = RightClick(*m_pView, ID_FULL_SCREEN);
    EXPECT_TRUE(m_pView->IsFullScreen());
    shown = RightClick(*m_pView, ID_FULL_SCREEN);
    EXPECT_EQ(shown.name, "321");
    EXPECT_EQ(shown.checked, std::set<int>{ID_FULL_SCREEN});
    EXPECT_FALSE(m_pView->IsFullScreen());

    apptest::RunCommand(*m_pApp, ID_SELECT_TOOL);
    shown = RightClick(*m_pView, ID_EXIT_SELECT);
    EXPECT_EQ(shown.name, "320");
    EXPECT_EQ(shown.items, (QStringList{"复制文本", "复制图像", "退出选择模式"}));
    EXPECT_EQ(shown.checked, std::set<int>{});
    EXPECT_FALSE(m_pView->IsSelectMode());
    EXPECT_EQ(RightClick(*m_pView, 0).name, "321");
}

// Full screen puts the view in a window of its own; the keys of the frame's commands follow
// it there, and closing the document returns the view to its window first.
TEST_F(BookmarkTreeTest, KeysReachTheViewInFullScreenAndCloseTakesItBack) {
    OpenForKeys("no-outline.pdf");
    QTest::keyClick(m_pView, Qt::Key_F12);
    ASSERT_TRUE(m_pView->IsFullScreen());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pView));
    QTest::keyClick(m_pView, Qt::Key_End);
    EXPECT_EQ(m_pView->CurrentPage(), 5);
    QTest::keyClick(m_pView, Qt::Key_F12);
    EXPECT_FALSE(m_pView->IsFullScreen());
    EXPECT_EQ(m_pView->window(), m_pApp->GetMainWnd());

    QTest::keyClick(m_pView, Qt::Key_F12);
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pView));
    QPointer<CVeskPDFReaderView> view = m_pView;
    QTest::keyClick(m_pView, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(Windows(*m_pApp), 0);
    EXPECT_TRUE(view.isNull());
}

TEST_F(BookmarkTreeTest, AcceleratorKeysReachTheActiveView) {
    OpenForKeys("no-outline.pdf");
    QTest::keyClick(m_pView, Qt::Key_End);
    EXPECT_EQ(m_pView->CurrentPage(), 5);
    QTest::keyClick(m_pView, Qt::Key_Home);
    EXPECT_EQ(m_pView->CurrentPage(), 1);
    QTest::keyClick(m_pView, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(Windows(*m_pApp), 0);
}

} // namespace
