// VeskPDFReader: the reader's program. Arguments: the document to open, if any.

#include "app/CVeskPDFReaderApp.h"
#include "platform/ProcessMemory.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    platform::ReturnLargeBlocksToSystem();
    QApplication application(argc, argv);
    // The interface speaks Chinese whatever the locale, and so do the dialogs Qt itself makes,
    // such as the print dialog. Without Qt's catalogue they stay in English.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qt_zh_CN"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
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
