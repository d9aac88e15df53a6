// The view's mouse tools, copy commands, snapshot, full screen and Save As through the Qt
// widget, offscreen: mouse events, the pictures drawn, the clipboard, files and dialogs.

#include "res/resource.h"
#include "tests/view/WidgetTestSupport.h"
#include "view/CSelectionCopy.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <filesystem>
#include <fstream>

using testsupport::Fixture;
using viewtest::ViewHost;
using viewtest::WhenModal;

namespace {

const QPoint kOpenHandHotSpot(10, 7), kClosedHandHotSpot(11, 12);

// While it lives, answers every message box that comes up with Yes or OK and keeps its text.
class CMessageAnswerer {
public:
    CMessageAnswerer() {
        QObject::connect(&m_Timer, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            m_Texts << box->text();
            QAbstractButton *yes = box->button(QMessageBox::Yes);
            (yes ? yes : box->button(QMessageBox::Ok))->click();
        });
        m_Timer.start(kPollMs);
    }
    const QStringList &Texts() const { return m_Texts; }

private:
    static constexpr int kPollMs = 5;
    QTimer m_Timer;
    QStringList m_Texts;
};

QByteArray FileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(ViewTools, HandDragScrollsTheDocumentUnderTheClosedHand) {
    ViewHost host("outline.pdf");
    ASSERT_TRUE(host.bOpened);
    host.view->ZoomTo(1.0f); // 612 x 792 pages in a 400 x 300 window
    QWidget *area = host.view->viewport();
    EXPECT_EQ(area->cursor().hotSpot(), kOpenHandHotSpot);
    const int x = host.view->Core().Scroll().HorzPos(), y = host.view->Core().Scroll().VertPos();
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(area->cursor().hotSpot(), kClosedHandHotSpot);
    QTest::mouseMove(area, QPoint(170, 150));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(170, 150));
    EXPECT_EQ(host.view->Core().Scroll().HorzPos(), x + 30);
    EXPECT_EQ(host.view->Core().Scroll().VertPos(), y + 50);
    EXPECT_EQ(host.view->verticalScrollBar()->value(), y + 50);
    EXPECT_EQ(area->cursor().hotSpot(), kOpenHandHotSpot);
    // A drag whose release goes elsewhere, behind a dialog or another window, ends when the
    // view loses the focus.
    QLineEdit other(&host.window);
    other.show();
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
    host.view->setFocus();
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(100, 100));
    ASSERT_TRUE(host.view->Tools().IsDragging());
    other.setFocus();
    EXPECT_FALSE(host.view->Tools().IsDragging());
    EXPECT_EQ(area->cursor().hotSpot(), kOpenHandHotSpot);
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(100, 100));
    // The right button works no tool.
    QTest::mousePress(area, Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseMove(area, QPoint(10, 10));
    QTest::mouseRelease(area, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(host.view->Core().Scroll().VertPos(), y + 50);
}

TEST(ViewTools, SelectionToolFollowsTheDocumentsPermission) {
    const struct {
        const char *fixture;
        bool bSelects;
    } cases[] = {{"text-pages.pdf", true}, {"encrypted/no-copy.pdf", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.fixture);
        ViewHost host(c.fixture);
        ASSERT_TRUE(host.bOpened);
        EXPECT_TRUE(host.view->OnCommand(ID_SELECT_TOOL));
        view::CCommandState state;
        ASSERT_TRUE(host.view->GetCommandState(ID_SELECT_TOOL, &state));
        EXPECT_EQ(state.bChecked, c.bSelects);
        EXPECT_EQ(host.view->viewport()->cursor().shape(),
                  c.bSelects ? Qt::ArrowCursor : Qt::BitmapCursor);
        EXPECT_TRUE(host.view->OnCommand(ID_EXIT_SELECT));
        host.view->GetCommandState(ID_SELECT_TOOL, &state);
        EXPECT_FALSE(state.bChecked);
    }
}

// While the button is down a dotted band follows the mouse; after the release the selection
// shows inverted until the view moves.
TEST(ViewTools, SelectionShowsABandThenTheInvertedRectangle) {
    ViewHost host("text-pages.pdf");
    ASSERT_TRUE(host.bOpened);
    host.view->OnSelectTool();
    QWidget *area = host.view->viewport();
    const QImage before = host.Screen();
    const auto inverted = [&](const QImage &now, QPoint at) {
        return now.pixel(at) == (before.pixel(at) ^ 0x00FFFFFFu);
    };
    const QPoint corner(60, 40), inside(100, 80), edgeDot(60, 60), edgeGap(60, 61);

    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(150, 120));
    QTest::mouseMove(area, QPoint(80, 100));
    QTest::mouseMove(area, corner); // dragged toward the top left
    QImage now = host.Screen();
    EXPECT_TRUE(inverted(now, corner));
    EXPECT_TRUE(inverted(now, edgeDot));
    EXPECT_EQ(now.pixel(edgeGap), before.pixel(edgeGap));
    EXPECT_EQ(now.pixel(inside), before.pixel(inside));

    QTest::mouseRelease(area, Qt::LeftButton, {}, corner);
    now = host.Screen();
    EXPECT_TRUE(inverted(now, inside));
    EXPECT_TRUE(inverted(now, corner));
    EXPECT_EQ(now.pixel(QPoint(150, 120)), before.pixel(QPoint(150, 120))); // end excluded

    host.view->Core().Scroll().SetVertPos(host.view->Core().Scroll().VertPos() + 1);
    EXPECT_NE(host.Screen().pixel(inside), now.pixel(inside));
    host.view->Core().Scroll().SetVertPos(host.view->Core().Scroll().VertPos() - 1);
    EXPECT_EQ(host.Screen().pixel(inside), before.pixel(inside));
}

TEST(ViewTools, CopyCommandsPutTheSelectionOnTheClipboard) {
    ViewHost host("text-pages.pdf", 700, 500);
    ASSERT_TRUE(host.bOpened);
    host.view->ZoomTo(2.0f);
    host.view->Core().Scroll().SetVertPos(0); // the zoom kept the window's centre
    host.view->UpdateScrollSizes();
    host.view->OnSelectTool();
    QWidget *area = host.view->viewport();
    // Around the first two lines of page 1, dragged from the lower right.
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(480, 160));
    QTest::mouseMove(area, QPoint(60, 50));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(60, 50));
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();

    EXPECT_TRUE(host.view->OnCommand(ID_COPY_TEXT));
    EXPECT_EQ(clipboard->text(), QString("Alpha line one\nBeta line two\n"));

    EXPECT_TRUE(host.view->OnCommand(ID_COPY_IMAGE));
    const view::CPagePicture picture =
        view::CSelectionCopy(host.view->Core()).Picture(host.view->Tools().Selection());
    ASSERT_TRUE(picture.bitmap);
    const QImage image = clipboard->image();
    ASSERT_EQ(image.size(), QSize(picture.width, picture.height));
    EXPECT_EQ(image.size(), QSize(480 - 60 - 1, 160 - 50 - 1));
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 5) {
            const platform::Rgb p = picture.bitmap->GetPixel(x, y);
            ASSERT_EQ(image.pixel(x, y), qRgb(p.r, p.g, p.b)) << x << "," << y;
        }
}

namespace {

// A home of its own for the documents folder; the user's folders file names it when given.
class CHomeFolder {
public:
    explicit CHomeFolder(const char *documentsDir = nullptr)
        : m_OldHome(qgetenv("HOME")), m_OldConfig(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("HOME", QByteArray::fromStdString(m_Dir.Path()));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_Dir / "config"));
        if (documentsDir) {
            std::filesystem::create_directories(m_Dir / "config");
            std::ofstream(m_Dir / "config/user-dirs.dirs")
                << "XDG_DOCUMENTS_DIR=\"$HOME/" << documentsDir << "\"\n";
        }
    }
    ~CHomeFolder() {
        qputenv("HOME", m_OldHome);
        qputenv("XDG_CONFIG_HOME", m_OldConfig);
    }
    QString Path(const std::string &name) const { return QString::fromStdString(m_Dir / name); }

private:
    testsupport::CTempDir m_Dir;
    QByteArray m_OldHome, m_OldConfig;
};

} // namespace

TEST(ViewTools, SnapshotWritesOneFileForEachPageOfADocument) {
    for (const char *documents : {"Documents", "文档"}) {
        SCOPED_TRACE(documents);
        const CHomeFolder home(std::string(documents) == "Documents" ? nullptr : documents);
        ViewHost host("text-pages.pdf");
        ASSERT_TRUE(host.bOpened);
        host.view->SetSinglePageMode(); // the current page stays what the commands make it
        const QString folder = home.Path(std::string(documents) + "/text-pages");
        CMessageAnswerer answerer;
        EXPECT_EQ(host.view->OnSnapshot(), 0);
        const QByteArray first = FileBytes(folder + "/text-pages_1.jpg");
        host.view->ZoomTo(0.5f); // the same page, another picture
        host.view->repaint();
        EXPECT_EQ(host.view->OnSnapshot(), 0);
        host.view->NextPage();
        EXPECT_EQ(host.view->OnSnapshot(), 0);
        EXPECT_EQ(answerer.Texts(), QStringList(3, "快照已经保存至“我的文档”"));

        EXPECT_EQ(QDir(folder).entryList(QDir::Files),
                  (QStringList{"text-pages_1.jpg", "text-pages_2.jpg"}));
        const QByteArray second = FileBytes(folder + "/text-pages_1.jpg");
        EXPECT_TRUE(second.startsWith("\xFF\xD8\xFF")); // a JPEG file
        EXPECT_NE(second, first);                       // replaced
        EXPECT_EQ(QImage(folder + "/text-pages_1.jpg").size(), host.view->screen()->size());
    }
}

TEST(ViewTools, SnapshotSaysWhenItCannotBeWritten) {
    const CHomeFolder home;
    std::filesystem::create_directories(home.Path("Documents").toStdString());
    std::ofstream(home.Path("Documents/text-pages").toStdString()) << "a file, not a folder";
    ViewHost host("text-pages.pdf");
    ASSERT_TRUE(host.bOpened);
    CMessageAnswerer answerer;
    EXPECT_EQ(host.view->OnSnapshot(), 0);
    EXPECT_EQ(answerer.Texts(),
              QStringList{QString("快照无法保存至“%1”。")
                              .arg(home.Path("Documents/text-pages/text-pages_1.jpg"))});

    ViewHost empty;
    EXPECT_EQ(empty.view->OnSnapshot(), -1);
    EXPECT_TRUE(answerer.Texts().size() == 1);
}

TEST(ViewFullScreen, F12FitsTheScreenAndReturnsFittingTheWindowEscKeepsTheZoom) {
    QMainWindow frame;
    frame.resize(500, 400);
    auto *view = new CVeskPDFReaderView(&frame);
    frame.setCentralWidget(view);
    frame.show();
    ASSERT_EQ(view->OpenPdfFile(QString::fromStdString(Fixture("outline.pdf")), nullptr), 0);
    const auto fitted = [view] {
        return static_cast<float>(static_cast<double>(view->viewport()->width() - 40) / 612);
    };
    const QSize inFrame = view->size();
    view::CCommandState state;

    EXPECT_TRUE(view->OnCommand(ID_FULL_SCREEN));
    EXPECT_TRUE(view->IsFullScreen());
    EXPECT_TRUE(view->isWindow());
    EXPECT_EQ(view->geometry(), frame.screen()->geometry());
    EXPECT_TRUE(view->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(view->CurrentZoom(), fitted());
    view->GetCommandState(ID_FULL_SCREEN, &state);
    EXPECT_TRUE(state.bChecked);
    EXPECT_EQ(frame.centralWidget(), nullptr); // the frame stays, without its view

    EXPECT_TRUE(view->OnCommand(ID_FULL_SCREEN));
    EXPECT_FALSE(view->IsFullScreen());
    EXPECT_EQ(frame.centralWidget(), view);
    EXPECT_EQ(view->size(), inFrame); // laid out in the frame before the fit measured it
    EXPECT_EQ(view->CurrentZoom(), fitted());
    view->GetCommandState(ID_FULL_SCREEN, &state);
    EXPECT_FALSE(state.bChecked);

    view->OnCommand(ID_FULL_SCREEN);
    view->ZoomTo(1.5f);
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(view->IsFullScreen());
    EXPECT_EQ(frame.centralWidget(), view);
    EXPECT_EQ(view->CurrentZoom(), 1.5f);
    QTest::keyClick(view, Qt::Key_Escape); // nothing to leave
    EXPECT_EQ(view->parentWidget(), &frame);
}

TEST(ViewFullScreen, TheViewGoesBackBeforeItsWindowCloses) {
    const struct {
        const char *name;
        std::function<void(ViewHost &)> close;
        bool bFrameOpen;
    } cases[] = {
        {"Close command", [](ViewHost &h) { h.view->OnCommand(ID_CLOSE_PDF); }, false},
        {"the document window closes", [](ViewHost &h) { h.window.close(); }, false},
        {"the full-screen window closes", [](ViewHost &h) { h.view->close(); }, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ViewHost host("outline.pdf");
        ASSERT_TRUE(host.bOpened);
        ASSERT_EQ(host.view->SetFullScreen(true), 0);
        c.close(host);
        EXPECT_FALSE(host.view->IsFullScreen());
        EXPECT_EQ(host.view->parentWidget(), &host.window);
        EXPECT_EQ(host.view->geometry(), QRect(0, 0, 400, 300));
        EXPECT_EQ(host.window.isVisible(), c.bFrameOpen);
    }
    ViewHost empty;
    EXPECT_EQ(empty.view->SetFullScreen(true), -1);
    EXPECT_FALSE(empty.view->isWindow());
}

TEST(ViewFullScreen, AWindowDeletedWithoutClosingTakesItsViewAlong) {
    auto host = std::make_unique<ViewHost>("outline.pdf");
    ASSERT_TRUE(host->bOpened);
    QPointer<CVeskPDFReaderView> view = host->view;
    view->SetFullScreen(true);
    host.reset();
    EXPECT_TRUE(view.isNull());
}

TEST(ViewSaveAs, DialogAsksForAPdfNameAndConfirmsReplacing) {
    const std::unique_ptr<QFileDialog> dialog = CVeskPDFReaderView::CreateSaveAsDialog(nullptr);
    EXPECT_EQ(dialog->windowTitle(), "另存为");
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->defaultSuffix(), "PDF");
    EXPECT_EQ(dialog->nameFilters(), (QStringList{"PDF files (*.PDF *.pdf)", "All files (*)"}));
    EXPECT_EQ(dialog->selectedNameFilter(), "PDF files (*.PDF *.pdf)");
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
}

namespace {

struct SaveAsCase {
    const char *name;
    const char *target;  // in the folder, or "" for the open document itself
    bool bExists;        // a file is there before
    const char *saved;   // where the copy must be then, or nullptr
    const char *message; // after the dialog's own question, if any
};

} // namespace

TEST(ViewSaveAs, SavesANewNameReplacesAfterYesAndRefusesTheOpenFile) {
    const SaveAsCase cases[] = {
        {"a new name gets the extension", "copy", false, "copy.PDF", ""},
        {"an existing file, replacing confirmed", "old.pdf", true, "old.pdf", ""},
        {"the open document itself", "", true, nullptr, "“%1”是正在阅读的文件，不能另存为它自己。"},
    };
    for (const SaveAsCase &c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::CTempDir dir;
        const QString open = QString::fromStdString(dir / "open.pdf");
        ASSERT_TRUE(QFile::copy(QString::fromStdString(Fixture("outline.pdf")), open));
        const QByteArray original = FileBytes(open);
        ViewHost host;
        ASSERT_EQ(host.view->OpenPdfFile(open, nullptr), 0);
        const QString target = *c.target ? QString::fromStdString(dir / c.target) : open;
        if (c.bExists && *c.target)
            std::ofstream(target.toStdString()) << "an older file";

        CMessageAnswerer answerer;
        WhenModal([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(target);
            static_cast<QDialog *>(dialog)->accept();
        });
        EXPECT_TRUE(host.view->OnCommand(ID_SAVE_AS));
        QStringList expected;
        if (c.bExists)
            expected << answerer.Texts().value(0); // the dialog's "replace it?"
        if (*c.message)
            expected << QString::fromUtf8(c.message).arg(target);
        EXPECT_EQ(answerer.Texts(), expected);
        if (c.bExists) {
            EXPECT_TRUE(answerer.Texts().value(0).contains(QFileInfo(target).fileName()));
        }
        if (c.saved) {
            EXPECT_EQ(FileBytes(QString::fromStdString(dir / c.saved)), original);
        }
        EXPECT_EQ(FileBytes(open), original);
    }
}
