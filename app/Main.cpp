// VeskPDFReader: the reader's program. Arguments: the document to open, if any.

#include "app/CVeskPDFReaderApp.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    CVeskPDFReaderApp app;
    if (!app.InitInstance(QApplication::arguments().mid(1)))
        return 1;
    const int code = QApplication::exec();
    if (!app.ExitInstance()) {
        // A page still being drawn keeps its engine: the process ends here rather than tear
        // down, behind that page's back, what the engine uses.
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
