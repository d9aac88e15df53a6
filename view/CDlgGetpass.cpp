#include "view/CDlgGetpass.h"

#include "res/DialogTexts.h"
#include "view/DialogBuilder.h"

#include <QLineEdit>

CDlgGetpass::CDlgGetpass(QWidget *parent) : QDialog(parent) {
    view::BuildDialog(*this, res::kDlgGetPass);
}

int CDlgGetpass::DoModal() {
    OnInitDialog();
    return exec();
}

// The user types the password at once.
void CDlgGetpass::OnInitDialog() {
    view::DialogItem<QLineEdit>(*this, res::kIdPasswordEdit)->setFocus();
}

void CDlgGetpass::accept() {
    m_strPassword = view::DialogItem<QLineEdit>(*this, res::kIdPasswordEdit)->text();
    QDialog::accept();
}
