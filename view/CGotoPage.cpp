#include "view/CGotoPage.h"

#include "res/DialogTexts.h"
#include "view/CVeskPDFReaderView.h"
#include "view/DialogBuilder.h"

#include <QLabel>
#include <QLineEdit>

CGotoPage::CGotoPage(QWidget *parent) : QDialog(parent) {
    view::BuildDialog(*this, res::kDlgGotoPage);
}

int CGotoPage::DoModal() {
    OnInitDialog();
    return exec();
}

void CGotoPage::OnInitDialog() {
    const int page = m_pView ? m_pView->CurrentPage() : -1;
    const int count = m_pView ? m_pView->PageCount() : -1;
    view::DialogItem<QLineEdit>(*this, res::kIdPageEdit)->setText(QString::number(page));
    view::DialogItem<QLabel>(*this, res::kIdPageCount)->setText(QString::number(count));
}

// Text that is not a whole number reads as 0, which is no page.
void CGotoPage::accept() {
    const int page = view::DialogItem<QLineEdit>(*this, res::kIdPageEdit)->text().toInt();
    if (m_pView)
        m_pView->GoToPage(page);
    QDialog::accept();
}
