#include "app/MessageBox.h"

#include "res/ResStrings.h"
#include "res/resource.h"

#include <QApplication>

QMessageBox::StandardButton AfxMessageBox(const QString &text, QMessageBox::StandardButtons buttons,
                                          QMessageBox::Icon icon) {
    QMessageBox box(icon, LoadResString(AFX_IDS_APP_TITLE), text, buttons,
                    QApplication::activeWindow());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
