#pragma once

#include <QMessageBox>

// A modal message box over the active window, captioned with the application title. Answers
// the button that closed it.
QMessageBox::StandardButton AfxMessageBox(const QString &text,
                                          QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                          QMessageBox::Icon icon = QMessageBox::NoIcon);
