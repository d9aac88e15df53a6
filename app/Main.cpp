// VeskPDFReader: the reader's program. Arguments: the document to open, if any.

#include "app/CVeskPDFReaderApp.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    CVeskPDFReaderApp app;
    if (!app.InitInstance(QApplication::arguments().mid(1)))
        return 1;
    return QApplication::exec();
}
