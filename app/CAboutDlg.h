#pragma once

#include <QDialog>

// The about dialog (template 100): the application icon, the name and version, a copyright
// line and an OK button, placed in dialog units of its own font.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget *pParent = nullptr);
};
