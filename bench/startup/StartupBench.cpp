// One start of the reader, timed to its first painted page:  vesk-bench-startup FILE
// Prints "first-page-ms T": milliseconds from the top of main() to the end of the first paint
// of the new document's view, start-up and its file association included. The program is the
// reader's own start-up (CVeskPDFReaderApp::InitInstance); it quits after that paint. Run it
// through bench_startup.py, which gives it a desktop whose association list overrides ours.

#include "app/CVeskPDFReaderApp.h"
#include "view/CVeskPDFReaderView.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

// Watches for the first paint of a reading view's page area; reports once that paint is done.
class CFirstPaintWatch : public QObject {
public:
    explicit CFirstPaintWatch(Clock::time_point start) : m_Start(start) {}

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override {
        if (m_bSeen || pEvent->type() != QEvent::Paint)
            return false;
        auto *pView = qobject_cast<CVeskPDFReaderView *>(pWatched->parent());
        if (!pView || pView->viewport() != pWatched || !pView->IsDocumentOpen())
            return false;
        m_bSeen = true;
        // Runs once the paint that is about to be delivered has returned.
        QTimer::singleShot(0, [this] {
            const std::chrono::duration<double, std::milli> elapsed = Clock::now() - m_Start;
            std::printf("first-page-ms %.1f\n", elapsed.count());
            std::fflush(stdout);
            QApplication::exit(0);
        });
        return false;
    }

private:
    Clock::time_point m_Start;
    bool m_bSeen = false;
};

} // namespace

int main(int argc, char **argv) {
    const Clock::time_point start = Clock::now();
    if (argc != 2) {
        std::fprintf(stderr, "usage: vesk-bench-startup FILE\n");
        return 2;
    }
    QApplication application(argc, argv);
    CFirstPaintWatch watch(start);
    application.installEventFilter(&watch);
    CVeskPDFReaderApp app;
    if (!app.InitInstance({QString::fromLocal8Bit(argv[1])}))
        return 1;
    return QApplication::exec();
}
