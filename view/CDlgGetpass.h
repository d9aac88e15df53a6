#pragma once

#include <QDialog>
#include <QString>

// Asks for the password of an encrypted document. After the dialog m_strPassword holds what
// was typed, or nothing when it was cancelled.
class CDlgGetpass : public QDialog {
    Q_OBJECT

public:
    explicit CDlgGetpass(QWidget *parent = nullptr);

    int DoModal();
    void OnInitDialog();
    void accept() override; // OK

    QString m_strPassword;
};
