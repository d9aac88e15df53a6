#pragma once

// The Qt view offscreen: a host window for it and a way to answer its modal windows.

#include "tests/support/TestPaths.h"
#include "view/CVeskPDFReaderView.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace viewtest {

// Runs f on the next modal window once it is up (a dialog's exec loop runs the timer).
inline void WhenModal(std::function<void(QWidget *)> f) {
    QTimer::singleShot(0, [f] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        f(modal);
    });
}

struct ViewHost {
    explicit ViewHost(const char *fixture = nullptr, int width = 400, int height = 300) {
        window.resize(width, height);
        view = new CVeskPDFReaderView(&window);
        view->setGeometry(0, 0, width, height);
        window.show();
        if (fixture)
            bOpened = view->OpenPdfFile(QString::fromStdString(testsupport::Fixture(fixture)),
                                        nullptr) == 0;
    }
    // What the view shows once the pages its first paint asked for have been drawn (a paint
    // never waits for them).
    QImage Screen() {
        view->viewport()->grab();
        view->Core().RenderVisiblePages();
        return view->viewport()->grab().toImage();
    }

    QWidget window;
    CVeskPDFReaderView *view;
    bool bOpened = false;
};

} // namespace viewtest
