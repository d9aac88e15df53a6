#include "view/CZoomTo.h"

#include "res/DialogTexts.h"
#include "view/CVeskPDFReaderView.h"
#include "view/DialogBuilder.h"

#include <QComboBox>
#include <QLineEdit>

CZoomTo::CZoomTo(QWidget *parent) : QDialog(parent) {
    view::BuildDialog(*this, res::kDlgZoomTo);
    auto *combo = view::DialogItem<QComboBox>(*this, res::kIdZoomCombo);
    connect(combo, &QComboBox::activated, this, [this](int index) { m_nChosen = index; });
    connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this] { m_nChosen = -1; });
}

int CZoomTo::DoModal() {
    OnInitDialog();
    return exec();
}

void CZoomTo::OnInitDialog() {
    auto *combo = view::DialogItem<QComboBox>(*this, res::kIdZoomCombo);
    combo->clear();
    for (const res::ZoomChoice &choice : res::kZoomChoices)
        combo->addItem(QString::fromUtf8(choice.pszText));
    combo->setCurrentIndex(-1);
    m_nChosen = -1;
    const float zoom = m_pView ? m_pView->CurrentZoom() : -1.0f;
    combo->setEditText(QString::asprintf("%2f", static_cast<double>(zoom)));
}

void CZoomTo::accept() {
    if (m_pView && m_nChosen >= 0 && m_nChosen < static_cast<int>(res::kZoomChoices.size())) {
        const res::ZoomChoice &choice = res::kZoomChoices[m_nChosen];
        switch (choice.action) {
        case res::ZoomAction::Factor:
            m_pView->ZoomTo(choice.fFactor);
            break;
        case res::ZoomAction::FitWidth:
            m_pView->FitWidth();
            break;
        case res::ZoomAction::FitHeight:
            m_pView->FitHeight();
            break;
        }
    }
    QDialog::accept();
}
