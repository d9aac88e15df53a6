// Saves a picture of the reader's main window with documents open, for a person to look at:
//   vesk-window-picture OUT.png [FILE.pdf ...]
// The reader runs with a temporary home, so the desktop's own settings and file associations
// stay untouched. Without a display the window draws itself offscreen into the picture; under an
// X server (for example Xvfb) the whole screen is taken, window frame and all.

#include "app/CMainFrame.h"
#include "app/CVeskPDFReaderApp.h"
#include "tests/support/TestPaths.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kSettleMs = 2000; // time for the render worker and the window manager

void UseTemporaryHome(const std::string &home) {
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

QPixmap Picture(CMainFrame &frame) {
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return frame.screen()->grabWindow(0);
    return frame.grab();
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [FILE.pdf ...]\n", argv[0]);
        return 2;
    }
    testsupport::CTempDir home;
    UseTemporaryHome(home.Path());
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    CVeskPDFReaderApp app;
    // Each file opens as it would from the reader's open command, once the window stands.
    if (!app.InitInstance({}))
        return 1;
    QApplication::processEvents();
    for (const QString &file : arguments.mid(2))
        app.OpenDocumentFile(file);
    int nResult = 1;
    QTimer::singleShot(kSettleMs, [&] {
        if (Picture(*app.GetMainWnd()).save(arguments.at(1)))
            nResult = 0;
        QApplication::quit();
    });
    QApplication::exec();
    return nResult;
}
