// The menu bar, accelerators, strings and pictures the shell builds from the tables of res/.

#include "app/CMainFrame.h"
#include "app/CVeskPDFReaderApp.h"
#include "res/AcceleratorTable.h"
#include "res/MenuTable.h"
#include "res/PictureTable.h"
#include "res/ResPictures.h"
#include "res/ResStrings.h"
#include "res/ToolbarTable.h"
#include "res/resource.h"
#include "tests/app/AppTestSupport.h"

#include <QAction>
#include <QBitmap>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

class ResourceTablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        apptest::ClearSettings();
        ASSERT_TRUE(m_App.InitInstance({}));
        m_pFrame = m_App.GetMainWnd();
    }

    QAction *Action(int nID) const { return m_pFrame->Commands().Action(nID); }

    CVeskPDFReaderApp m_App;
    CMainFrame *m_pFrame = nullptr;
};

// Walks the built menu beside its table: same items, ids, texts, separators and submenus in the
// same order. The recent-file item stands for four items.
void ExpectMenuFollowsTable(const QMenu &menu, std::span<const res::SMenuEntry> entries,
                            std::size_t &nPos) {
    const QList<QAction *> actions = menu.actions();
    qsizetype nAction = 0;
    for (; nPos < entries.size() && entries[nPos].kind != res::MenuKind::End; ++nPos) {
        ASSERT_LT(nAction, actions.size()) << "menu " << menu.title().toStdString();
        const res::SMenuEntry &entry = entries[nPos];
        const QAction *pAction = actions[nAction++];
        switch (entry.kind) {
        case res::MenuKind::Separator:
            EXPECT_TRUE(pAction->isSeparator()) << pAction->text().toStdString();
            break;
        case res::MenuKind::Popup:
            ASSERT_NE(pAction->menu(), nullptr) << entry.pszText;
            EXPECT_EQ(pAction->menu()->title().toStdString(), entry.pszText);
            ExpectMenuFollowsTable(*pAction->menu(), entries, ++nPos);
            break;
        case res::MenuKind::Item:
            EXPECT_EQ(pAction->data().toInt(), entry.nId);
            EXPECT_EQ(pAction->text().toStdString(), entry.pszText);
            if (entry.nId == ID_FILE_MRU_FILE1) {
                for (int i = 1; i < 4; ++i)
                    EXPECT_EQ(actions[nAction++]->data().toInt(), ID_FILE_MRU_FILE1 + i);
            }
            break;
        case res::MenuKind::End:
            break;
        }
    }
    EXPECT_EQ(nAction, actions.size()) << "extra items in " << menu.title().toStdString();
}

TEST_F(ResourceTablesTest, MenuBarFollowsTheMenuTable) {
    const std::span<const res::SMenuEntry> entries = res::LoadMenu(IDR_MAINFRAME);
    const QList<QAction *> top = m_pFrame->menuBar()->actions();
    QStringList titles;
    std::size_t nPos = 0;
    for (const QAction *pTop : top) {
        ASSERT_EQ(entries[nPos].kind, res::MenuKind::Popup);
        titles << pTop->menu()->title();
        ExpectMenuFollowsTable(*pTop->menu(), entries, ++nPos);
        ++nPos;
    }
    EXPECT_EQ(titles, (QStringList{"文件(&F)", "视图(&V)", "工具(&T)", "帮助(&H)"}));
    EXPECT_EQ(nPos, entries.size());
}

TEST_F(ResourceTablesTest, SampleItemsKeepMnemonicsAndShortcutTexts) {
    const std::map<int, QString> expected = {
        {ID_OPEN_PDF, "打开(&O)\tCtrl + O"},
        {ID_SAVE_AS, "另存为(&A)...\tCtrl + shift + S"},
        {ID_FIT_WIDTH, "适合宽度(&W)\t Ctrl + 3"},
        {ID_ROTATE_CW, "顺时针90°(&R)\tCtrl + Shift + Num+"},
        {ID_VIEW_APPLOOK_OFF_2007_AQUA, "水绿色样式(&A)"},
        {ID_APP_ABOUT, "关于 VeskPDFReader(&A)..."},
    };
    for (const auto &[nID, text] : expected)
        EXPECT_EQ(Action(nID)->text(), text) << nID;
}

TEST_F(ResourceTablesTest, AcceleratorsReachTheirCommands) {
    struct SCase {
        int nID;
        QKeySequence key;
    };
    const SCase cases[] = {
        {ID_OPEN_PDF, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {ID_SAVE_AS, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {ID_EXIT_PROGRAM, QKeySequence(Qt::CTRL | Qt::Key_X)},
        {ID_FIRST_PAGE, QKeySequence(Qt::Key_Home)},
        {ID_PREV_VIEW, QKeySequence(Qt::ALT | Qt::Key_Left)},
        {ID_ZOOM_IN, QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus)},
        {ID_ZOOM_OUT, QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Minus)},
        {ID_ROTATE_CW, QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier,
                                       Qt::Key_Plus)},
        {ID_ACTUAL_SIZE, QKeySequence(Qt::CTRL | Qt::Key_1)},
        {ID_FULL_SCREEN, QKeySequence(Qt::Key_F12)},
        {ID_SNAPSHOT, QKeySequence(Qt::ALT | Qt::Key_3)},
    };
    for (const SCase &c : cases)
        EXPECT_TRUE(Action(c.nID)->shortcuts().contains(c.key)) << c.nID;

    // Every accelerator of the table lands on exactly one command; a keypad key also without
    // its keypad modifier, as X11 shortcut matching sees it.
    std::set<QString> seen;
    for (const res::SAccel &accel : res::LoadAccelerators(IDR_MAINFRAME)) {
        const QList<QKeySequence> keys = Action(accel.nCmd)->shortcuts();
        const bool bKeypad = keys.first()[0].keyboardModifiers() & Qt::KeypadModifier;
        ASSERT_EQ(keys.size(), bKeypad ? 2 : 1) << accel.nCmd;
        if (bKeypad) {
            EXPECT_EQ(keys[1][0],
                      QKeyCombination(keys[0][0].keyboardModifiers() & ~Qt::KeypadModifier,
                                      keys[0][0].key()))
                << accel.nCmd;
        }
        for (const QKeySequence &key : keys)
            EXPECT_TRUE(seen.insert(key.toString()).second) << accel.nCmd;
    }
    EXPECT_EQ(seen.size(), 28u);
}

TEST_F(ResourceTablesTest, EveryCommandHasPromptAndTooltipStrings) {
    const auto commandsOf = [](int nMenuId) {
        std::set<int> ids;
        for (const res::SMenuEntry &entry : res::LoadMenu(nMenuId)) {
            if (entry.kind == res::MenuKind::Item)
                ids.insert(entry.nId);
        }
        return ids;
    };
    std::set<int> commands = commandsOf(IDR_MAINFRAME);
    commands.merge(commandsOf(IDR_MENU_SELECT));
    commands.merge(commandsOf(IDR_MENU_RIGHT));
    for (const int nID : commands) {
        if (nID >= ID_VIEW_APPLOOK_WIN_2000 && nID <= ID_VIEW_APPLOOK_OFF_2007_AQUA)
            continue; // the looks have no strings
        EXPECT_TRUE(LoadResString(nID).contains('\n')) << nID;
        EXPECT_FALSE(CommandToolTip(nID).isEmpty()) << nID;
    }
    EXPECT_EQ(LoadResString(ID_OPEN_PDF), "打开PDF文档\n打开");
    EXPECT_EQ(CommandPrompt(ID_ZOOM_TO), "");
    EXPECT_EQ(LoadResString(AFX_IDS_IDLEMESSAGE), "就绪");
    EXPECT_EQ(LoadResString(AFX_IDS_APP_TITLE), "VeskPDFReader");
    EXPECT_EQ(LoadResString(IDR_MAINFRAME), "VeskPDFReader");
    EXPECT_EQ(LoadResString(12345), "");
}

TEST(ResourcePicturesTest, ToolbarStripsCutIntoTheirButtonImages) {
    for (const auto &[nToolbar, nImages] : {std::pair{IDR_MAINFRAME, 9}, {IDR_TOOLBAR_TOOLS, 16}}) {
        const res::SToolbar *pBar = res::LoadToolBar(nToolbar);
        ASSERT_NE(pBar, nullptr);
        const std::vector<QPixmap> images =
            SplitImageStrip(LoadBitmap(pBar->nBitmap), pBar->nButtonSize);
        ASSERT_EQ(static_cast<int>(images.size()), nImages);
        const auto buttons = std::count_if(pBar->buttons.begin(), pBar->buttons.end(),
                                           [](int nID) { return nID != ID_SEPARATOR; });
        EXPECT_EQ(buttons, nImages);
        for (const QPixmap &image : images) {
            EXPECT_EQ(image.size(), QSize(24, 24));
            EXPECT_TRUE(image.hasAlphaChannel());
        }
    }
}

TEST(ResourcePicturesTest, TreeImagesAreSilverMasked) {
    for (const int nID : {IDB_TREE_ITEM, IDB_TREE_ITEM_SELECTED}) {
        const QImage plain = LoadBitmap(nID).toImage();
        ASSERT_EQ(plain.size(), QSize(16, 16));
        EXPECT_EQ(plain.pixel(0, 0) & 0xffffff, 0xc0c0c0u);
        const QImage masked = LoadMaskedBitmap(nID, 0xc0c0c0).toImage();
        EXPECT_EQ(qAlpha(masked.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(masked.pixel(8, 8)), 255);
    }
}

TEST(ResourcePicturesTest, CursorsAreMonochromeWithTheirHotSpots) {
    for (const auto &[nID, hot] :
         {std::pair{IDC_HAND_OPEN, QPoint(10, 7)}, {IDC_HAND_CLOSED, QPoint(11, 12)}}) {
        const QCursor cursor = LoadCursor(nID);
        EXPECT_EQ(cursor.hotSpot(), hot);
        const QImage image = cursor.pixmap().toImage();
        ASSERT_EQ(image.size(), QSize(32, 32));
        int nOpaque = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) == 0)
                    continue;
                ++nOpaque;
                EXPECT_TRUE((pixel & 0xffffff) == 0 || (pixel & 0xffffff) == 0xffffff)
                    << nID << " at " << x << "," << y;
            }
        }
        EXPECT_GT(nOpaque, 100);
    }
}

TEST(ResourcePicturesTest, IconsDrawAtTheirSizes) {
    EXPECT_FALSE(LoadIcon(IDR_MAINFRAME).pixmap(48).isNull());
    EXPECT_FALSE(LoadIcon(IDR_DOCUMENT).pixmap(32).isNull());
    EXPECT_FALSE(LoadIcon(IDR_DOCUMENT).pixmap(16).isNull());
    EXPECT_TRUE(LoadIcon(999).isNull());
}

} // namespace
