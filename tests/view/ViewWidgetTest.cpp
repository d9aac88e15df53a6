// The Qt view and its dialogs, offscreen: what the user sees and what commands reach.

#include "res/DialogTexts.h"
#include "tests/support/TestPaths.h"
#include "tests/view/WidgetTestSupport.h"
#include "view/CDlgGetpass.h"
#include "view/CGotoPage.h"
#include "view/CPagePainter.h"
#include "view/CVeskPDFReaderView.h"
#include "view/CZoomTo.h"
#include "view/DialogBuilder.h"
#include "view/ScreenImage.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>

using testsupport::Fixture;
using viewtest::ViewHost;
using viewtest::WhenModal;

namespace {

const QColor kGrey(192, 192, 192);

} // namespace

namespace {

struct TemplateCase {
    int nId;
    const char *caption;
    std::vector<std::pair<int, const char *>> texts; // control id, text (-1: no text control)
};

} // namespace

TEST(Dialogs, TemplatesGiveCaptionsTextsAndIds) {
    CGotoPage gotoPage;
    CZoomTo zoomTo;
    CDlgGetpass getPass;
    const std::pair<QDialog *, TemplateCase> cases[] = {
        {&gotoPage,
         {324, "请输入你希望到达的页码：", {{1, "确定"}, {2, "取消"}, {1000, ""}, {1001, "0000"}}}},
        {&zoomTo, {325, "请输入缩放率：", {{1, "确定"}, {2, "取消"}, {1003, nullptr}}}},
        {&getPass, {326, "请输入密码：", {{1, "确定"}, {2, "取消"}, {1004, ""}}}},
    };
    for (const auto &[dialog, c] : cases) {
        SCOPED_TRACE(c.nId);
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(c.caption));
        for (const auto &[id, text] : c.texts) {
            QWidget *control = view::DialogItem<QWidget>(*dialog, id);
            ASSERT_NE(control, nullptr) << id;
            if (!text)
                continue;
            QString shown = control->property("text").toString();
            EXPECT_EQ(shown, QString::fromUtf8(text)) << id;
        }
        EXPECT_TRUE(view::DialogItem<QPushButton>(*dialog, 1)->isDefault());
    }
    QStringList labels;
    for (QLabel *label : getPass.findChildren<QLabel *>())
        labels << label->text();
    EXPECT_TRUE(labels.contains("该文档已经加密，请输入文档打开密码："));
    EXPECT_TRUE(labels.contains("输入密码："));
    EXPECT_EQ(view::DialogItem<QLineEdit>(getPass, 1004)->echoMode(), QLineEdit::Password);
}

TEST(Dialogs, GoToPageShowsCurrentPageAndCountAndIgnoresNoPage) {
    ViewHost host("big.pdf");
    ASSERT_TRUE(host.bOpened);
    const std::pair<const char *, int> entries[] = {
        {"3000", 7}, {"", 7}, {"abc", 7}, {"0", 7}, {"-3", 7}, {"12", 12},
    };
    for (const auto &[text, expected] : entries) {
        SCOPED_TRACE(text);
        host.view->GoToPage(7);
        const int historyPos = host.view->Core().History().Pos();
        CGotoPage dlg(host.view);
        dlg.m_pView = host.view;
        dlg.OnInitDialog();
        EXPECT_EQ(view::DialogItem<QLineEdit>(dlg, res::kIdPageEdit)->text(), "7");
        EXPECT_EQ(view::DialogItem<QLabel>(dlg, res::kIdPageCount)->text(), "2000");
        view::DialogItem<QLineEdit>(dlg, res::kIdPageEdit)->setText(text);
        dlg.accept();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(host.view->CurrentPage(), expected);
        EXPECT_EQ(host.view->Core().History().Pos(), historyPos + (expected == 7 ? 0 : 1));
    }
}

TEST(Dialogs, GoToPageWithoutADocumentShowsMinusOne) {
    ViewHost host;
    CGotoPage dlg;
    dlg.m_pView = host.view;
    dlg.OnInitDialog();
    EXPECT_EQ(view::DialogItem<QLineEdit>(dlg, res::kIdPageEdit)->text(), "-1");
    EXPECT_EQ(view::DialogItem<QLabel>(dlg, res::kIdPageCount)->text(), "-1");
}

TEST(Dialogs, GoToPageCommandRunsTheDialogForThisView) {
    ViewHost host("outline.pdf");
    ASSERT_TRUE(host.bOpened);
    WhenModal([](QWidget *modal) {
        auto *dlg = qobject_cast<CGotoPage *>(modal);
        ASSERT_NE(dlg, nullptr);
        view::DialogItem<QLineEdit>(*dlg, res::kIdPageEdit)->setText("4");
        QTest::mouseClick(view::DialogItem<QPushButton>(*dlg, res::kIdOk), Qt::LeftButton);
    });
    EXPECT_TRUE(host.view->OnCommand(view::kCmdGoToPage));
    EXPECT_EQ(host.view->CurrentPage(), 4);
}

namespace {

struct ZoomChoiceCase {
    const char *name;
    int nChoice;       // -1: none
    const char *typed; // typed into the field after the choice
    float fExpected;   // 0: what fit width gives
};

} // namespace

TEST(Dialogs, ZoomToShowsTheFactorAndAppliesOnlyAChosenEntry) {
    const ZoomChoiceCase cases[] = {
        {"80%", 6, "", 0.8f},
        {"fit width", 1, "", 0.0f},
        {"400%", 12, "", 4.0f},
        {"typed without a choice", -1, "150", 1.0f},
        {"typed after a choice", 10, "150", 1.0f},
        {"nothing", -1, "", 1.0f},
    };
    for (const ZoomChoiceCase &c : cases) {
        SCOPED_TRACE(c.name);
        ViewHost host("outline.pdf");
        ASSERT_TRUE(host.bOpened);
        host.view->ZoomTo(1.0f);
        CZoomTo dlg(host.view);
        dlg.m_pView = host.view;
        dlg.OnInitDialog();
        auto *combo = view::DialogItem<QComboBox>(dlg, res::kIdZoomCombo);
        EXPECT_EQ(combo->currentText(), "1.000000");
        EXPECT_EQ(combo->currentIndex(), -1);
        ASSERT_EQ(combo->count(), 13);
        EXPECT_EQ(combo->itemText(0), "原始大小");
        EXPECT_EQ(combo->itemText(1), "适合宽度");
        EXPECT_EQ(combo->itemText(2), "适合高度");
        EXPECT_EQ(combo->itemText(12), "400%");
        if (c.nChoice >= 0) {
            combo->setCurrentIndex(c.nChoice);
            emit combo->activated(c.nChoice);
        }
        if (*c.typed)
            QTest::keyClicks(combo->lineEdit(), c.typed);
        dlg.accept();
        const float expected =
            c.fExpected ? c.fExpected
                        : static_cast<float>((host.view->viewport()->width() - 40) / 612.0);
        EXPECT_EQ(host.view->CurrentZoom(), expected);
    }
}

TEST(Dialogs, PasswordFieldHasTheFocusAndHandsBackWhatWasTyped) {
    const std::pair<bool, QString> cases[] = {{true, "secret 密码"}, {false, ""}};
    for (const auto &[ok, expected] : cases) {
        CDlgGetpass dlg;
        WhenModal([ok = ok](QWidget *modal) {
            auto *edit = view::DialogItem<QLineEdit>(*static_cast<QDialog *>(modal), 1004);
            EXPECT_EQ(modal->focusWidget(), edit);
            edit->setText("secret 密码");
            QTest::mouseClick(view::DialogItem<QPushButton>(*static_cast<QDialog *>(modal),
                                                            ok ? res::kIdOk : res::kIdCancel),
                              Qt::LeftButton);
        });
        dlg.DoModal();
        EXPECT_EQ(dlg.m_strPassword, expected);
    }
}

TEST(ViewWidget, EncryptedFileAsksOnceAndCancelFailsTheOpen) {
    const std::tuple<const char *, const char *, bool, int> cases[] = {
        {"encrypted/aes-128.pdf", "user", true, 0},
        {"encrypted/aes-256.pdf", "wrong", true, -2},
        {"encrypted/rc4-128.pdf", "user", false, -2},
    };
    for (const auto &[file, password, ok, result] : cases) {
        SCOPED_TRACE(file);
        ViewHost host;
        int asked = 0;
        // Answers every password prompt that comes up while the open runs, counting them.
        QTimer answerer;
        answerer.setInterval(10);
        QObject::connect(&answerer, &QTimer::timeout, [&, password = password, ok = ok] {
            auto *dlg = qobject_cast<CDlgGetpass *>(QApplication::activeModalWidget());
            if (!dlg || !dlg->isVisible())
                return;
            ++asked;
            view::DialogItem<QLineEdit>(*dlg, res::kIdPasswordEdit)->setText(password);
            ok ? dlg->accept() : dlg->reject();
        });
        answerer.start();
        EXPECT_EQ(host.view->OpenPdfFile(QString::fromStdString(Fixture(file)), nullptr), result);
        answerer.stop();
        EXPECT_EQ(asked, 1);
    }
}

TEST(ViewWidget, PaintCoversTheClientAreaInGreyAroundThePages) {
    ViewHost empty;
    const QImage blank = empty.Screen();
    EXPECT_EQ(blank.pixelColor(0, 0), kGrey);
    EXPECT_EQ(blank.pixelColor(blank.width() - 1, blank.height() - 1), kGrey);

    ViewHost host("outline.pdf");
    ASSERT_TRUE(host.bOpened);
    host.view->OnInitialUpdate(); // fit width: 20 pixels of margin each side, 10 above
    const QImage screen = host.Screen();
    EXPECT_EQ(screen.pixelColor(2, 2), kGrey);
    EXPECT_EQ(screen.pixelColor(screen.width() - 3, 40), kGrey);
    EXPECT_NE(screen.pixelColor(screen.width() / 2, screen.height() / 2), kGrey);
    EXPECT_EQ(host.view->verticalScrollBar()->value(), 0);
}

// The open gives the focus to the bookmark tree; the initial fit waits for the first paint, so
// that it measures the window as the user first sees it, takes the focus, and follows the
// window's width until a command changes the zoom.
TEST(ViewWidget, InitialFitMeasuresTheFirstPaintAndFollowsTheWidth) {
    ViewHost host;
    QLineEdit tree(&host.window);
    tree.show();
    ASSERT_EQ(host.view->OpenPdfFile(QString::fromStdString(Fixture("outline.pdf")), nullptr), 0);
    tree.setFocus();
    host.view->OnInitialUpdate();
    EXPECT_EQ(host.window.focusWidget(), host.view);
    EXPECT_EQ(host.view->CurrentZoom(), 1.0f); // not before the paint
    const auto fitted = [&host] {
        return static_cast<float>(static_cast<double>(host.view->viewport()->width() - 40) / 612);
    };
    host.window.resize(700, 300);
    host.view->setGeometry(0, 0, 700, 300);
    host.Screen();
    EXPECT_EQ(host.view->CurrentZoom(), fitted());
    host.view->Core().Worker().RenderPage(2);              // the look-ahead
    EXPECT_EQ(host.view->Core().Cache().RenderCount(), 2); // page 1 once, and page 2 after it
    host.view->setGeometry(0, 0, 500, 300);
    host.Screen();
    EXPECT_EQ(host.view->CurrentZoom(), fitted());

    tree.setFocus();
    host.view->RotateClockwise();
    EXPECT_EQ(host.window.focusWidget(), host.view);
    const float zoom = host.view->CurrentZoom();
    host.view->setGeometry(0, 0, 650, 300);
    host.Screen();
    EXPECT_EQ(host.view->CurrentZoom(), zoom);
}

// Touchpads send small angle deltas or pixel deltas; a classic notch stays one line.
TEST(ViewWidget, TouchpadDeltasAddUpAndPixelDeltasScrollByThemselves) {
    ViewHost host("outline.pdf");
    ASSERT_TRUE(host.bOpened);
    host.view->GoToPage(2);
    const int y = host.view->Core().Scroll().VertPos();
    const auto wheel = [&host](QPoint pixels, QPoint angle) {
        QWheelEvent event(QPointF(50, 50), QPointF(50, 50), pixels, angle, Qt::NoButton,
                          Qt::NoModifier, Qt::ScrollUpdate, false);
        QApplication::sendEvent(host.view->viewport(), &event);
    };
    for (int i = 0; i < 4; ++i)
        wheel(QPoint(), QPoint(0, -30));
    EXPECT_EQ(host.view->Core().Scroll().VertPos(), y + 50);
    wheel(QPoint(0, 23), QPoint(0, 120));
    EXPECT_EQ(host.view->Core().Scroll().VertPos(), y + 27);
    EXPECT_EQ(host.view->verticalScrollBar()->value(), y + 27);
}

// A view that is hidden, as a document window behind another tab is, gives its pictures back;
// shown again it has its page before the first paint.
TEST(ViewWidget, HiddenViewGivesItsPicturesBackAndHasThemAgainWhenShown) {
    ViewHost host("outline.pdf");
    ASSERT_TRUE(host.bOpened);
    host.view->ZoomTo(0.5f);
    host.Screen();
    view::CPageCache &cache = host.view->Core().Cache();
    ASSERT_GE(cache.FindCachedPage(1), 0);
    host.view->hide();
    QApplication::processEvents();
    for (int slot = 0; slot < view::CPageCache::kSlotCount; ++slot)
        EXPECT_EQ(cache.BitmapWidth(slot), 0) << slot;
    host.view->show();
    EXPECT_GE(cache.FindCachedPage(1), 0);
    // Hidden and shown again at once (the way into full screen): nothing is given back. The
    // worker's look-ahead would go on counting pages of its own; without it, a page drawn below
    // can only be one that was given back.
    ASSERT_TRUE(host.view->Core().Worker().Stop());
    const long renders = cache.RenderCount();
    host.view->hide();
    host.view->show();
    QApplication::processEvents();
    EXPECT_GE(cache.FindCachedPage(1), 0);
    EXPECT_EQ(cache.RenderCount(), renders);
}

namespace {

struct BarActionCase {
    const char *name;
    QAbstractSlider::SliderAction action;
    int nDelta; // -1000: by the window height
};

} // namespace

TEST(ViewWidget, ScrollBarActionsAreTheViewsRequests) {
    const BarActionCase cases[] = {
        {"arrow down", QAbstractSlider::SliderSingleStepAdd, 50},
        {"arrow up", QAbstractSlider::SliderSingleStepSub, -50},
        {"page down", QAbstractSlider::SliderPageStepAdd, 1000},
        {"page up", QAbstractSlider::SliderPageStepSub, -1000},
        {"to the top", QAbstractSlider::SliderToMinimum, 0},
        {"to the bottom", QAbstractSlider::SliderToMaximum, 0},
    };
    for (const BarActionCase &c : cases) {
        SCOPED_TRACE(c.name);
        ViewHost host("outline.pdf");
        ASSERT_TRUE(host.bOpened);
        host.view->GoToPage(3);
        QScrollBar *bar = host.view->verticalScrollBar();
        const int before = bar->value();
        const int page = host.view->viewport()->height();
        bar->triggerAction(c.action);
        const int delta = c.nDelta == 1000 ? page : c.nDelta == -1000 ? -page : c.nDelta;
        EXPECT_EQ(bar->value(), before + delta);
        EXPECT_EQ(host.view->Core().Scroll().VertPos(), before + delta);
    }
}

TEST(ViewWidget, KeysAndWheelReachTheView) {
    ViewHost host("outline.pdf");
    ASSERT_TRUE(host.bOpened);
    QTest::keyClick(host.view, Qt::Key_PageDown);
    EXPECT_EQ(host.view->CurrentPage(), 2);
    const int y = host.view->Core().Scroll().VertPos();
    QTest::keyClick(host.view, Qt::Key_Down);
    EXPECT_EQ(host.view->Core().Scroll().VertPos(), y + 50);
    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(host.view->viewport(), &wheel);
    EXPECT_EQ(host.view->Core().Scroll().VertPos(), y);
    QTest::keyClick(host.view, Qt::Key_PageUp);
    EXPECT_EQ(host.view->CurrentPage(), 1);
}

TEST(ViewWidget, CommandsRouteAndTheDisplayModesCarryCheckMarks) {
    ViewHost host("outline.pdf");
    ASSERT_TRUE(host.bOpened);
    EXPECT_FALSE(host.view->OnCommand(32785));
    view::CCommandState state;
    EXPECT_FALSE(host.view->GetCommandState(32785, &state));
    for (int id : {32773, 32774, 32775, 32778, 32779, 32780, 32781, 32782, 32783,
                   32784, 32786, 32787, 32788, 32789, 32790, 32792, 32794, 32795,
                   32797, 32798, 32799, 32801, 32802, 32803, 32817, 32818, 32819})
        EXPECT_TRUE(host.view->GetCommandState(id, &state)) << id;

    EXPECT_TRUE(host.view->OnCommand(view::kCmdNextPage));
    EXPECT_EQ(host.view->CurrentPage(), 2);
    EXPECT_TRUE(host.view->OnCommand(view::kCmdSinglePage));
    host.view->GetCommandState(view::kCmdSinglePage, &state);
    EXPECT_TRUE(state.bChecked && state.bEnabled);
    host.view->GetCommandState(view::kCmdContinuous, &state);
    EXPECT_FALSE(state.bChecked);
    EXPECT_TRUE(host.view->OnCommand(view::kCmdContinuous));
    EXPECT_EQ(host.view->GetDisplayMode(), view::kContinuous);
    EXPECT_TRUE(host.view->OnCommand(view::kCmdRotateClockwise));
    EXPECT_EQ(PdfGetPageWidth(host.view->GetPdfHandle(), 1), 792);
}

TEST(ViewWidget, CloseEmptiesThePathAndClosesTheHostWindow) {
    ViewHost host("outline.pdf");
    ASSERT_TRUE(host.bOpened);
    EXPECT_FALSE(host.view->GetFilePath().empty());
    host.view->Close();
    EXPECT_TRUE(host.view->GetFilePath().empty());
    EXPECT_FALSE(host.window.isVisible());
}

TEST(ViewWidget, ABitmapThatCannotBeMadeShowsErrorWithItsCode) {
    ViewHost host;
    QString title, text;
    QTimer::singleShot(0, [&] {
        WhenModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
    });
    EXPECT_EQ(host.view->Core().Cache().CreateDIB24(100000, 100000), nullptr);
    QApplication::processEvents(); // the message is posted to the user-interface thread
    EXPECT_EQ(title, "Error");
    EXPECT_EQ(text, "Error 12");
}

// Channel order and the cut to the client size on the way to the window surface.
TEST(ViewWidget, ScreenImageKeepsColoursAndTakesTheClientPart) {
    platform::Bitmap bitmap(5, 3);
    bitmap.SetPixel(0, 0, platform::Rgb{10, 20, 30});
    bitmap.SetPixel(3, 1, platform::Rgb{200, 0, 100});
    QImage image;
    view::ToScreenImage(bitmap, 4, 2, image);
    ASSERT_EQ(image.size(), QSize(4, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(3, 1), qRgb(200, 0, 100));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
}

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
