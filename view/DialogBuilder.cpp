#include "view/DialogBuilder.h"

#include "res/DialogTexts.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace view {

namespace {

constexpr int kIconSize = 32;

// Dialog units: a quarter of the font's average character width across, an eighth of its
// height down.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont &font) {
        const QFontMetrics metrics(font);
        const QString alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        m_nBaseX = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
        m_nBaseY = metrics.height();
    }
    QRect ToPixels(int x, int y, int cx, int cy) const {
        return QRect(x * m_nBaseX / 4, y * m_nBaseY / 8, cx * m_nBaseX / 4, cy * m_nBaseY / 8);
    }

private:
    int m_nBaseX;
    int m_nBaseY;
};

QWidget *MakeButton(QDialog &dialog, const res::DialogControl &c) {
    auto *button = new QPushButton(QString::fromUtf8(c.pszText), &dialog);
    button->setDefault(c.kind == res::ControlKind::DefPushButton);
    if (c.nId == res::kIdOk)
        QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
    else if (c.nId == res::kIdCancel)
        QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::reject);
    return button;
}

QWidget *MakeEdit(QDialog &dialog, const res::DialogControl &c) {
    auto *edit = new QLineEdit(QString::fromUtf8(c.pszText), &dialog);
    if (c.nStyle & res::kPassword)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QWidget *MakeCombo(QDialog &dialog) {
    auto *combo = new QComboBox(&dialog);
    combo->setEditable(true);
    // Typed text is never taken over as an entry nor completed into one.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    return combo;
}

QWidget *MakeIcon(QDialog &dialog) {
    auto *label = new QLabel(&dialog);
    const QIcon fallback = dialog.style()->standardIcon(QStyle::SP_MessageBoxInformation);
    label->setPixmap(QIcon::fromTheme("dialog-password", fallback).pixmap(kIconSize));
    return label;
}

QWidget *MakeControl(QDialog &dialog, const res::DialogControl &c) {
    switch (c.kind) {
    case res::ControlKind::DefPushButton:
    case res::ControlKind::PushButton:
        return MakeButton(dialog, c);
    case res::ControlKind::Edit:
        return MakeEdit(dialog, c);
    case res::ControlKind::DropDownCombo:
        return MakeCombo(dialog);
    case res::ControlKind::Icon:
        return MakeIcon(dialog);
    case res::ControlKind::Label:
        break;
    }
    return new QLabel(QString::fromUtf8(c.pszText), &dialog);
}

} // namespace

void BuildDialog(QDialog &dialog, int templateId) {
    const res::DialogTemplate *t = res::FindDialogTemplate(templateId);
    if (!t)
        return;
    dialog.setFont(QFont("MS Shell Dlg", 8));
    dialog.setWindowTitle(QString::fromUtf8(t->pszCaption));
    const CDialogUnits units(dialog.font());
    for (const res::DialogControl &c : t->controls) {
        QWidget *widget = MakeControl(dialog, c);
        if (c.nId != res::kIdStatic)
            widget->setObjectName(QString::number(c.nId));
        QRect place = units.ToPixels(c.x, c.y, c.cx, c.cy);
        // A drop-down's height counts its list; the closed box keeps its own height.
        if (c.kind == res::ControlKind::DropDownCombo)
            place.setHeight(widget->sizeHint().height());
        widget->setGeometry(place);
    }
    dialog.setFixedSize(units.ToPixels(0, 0, t->cx, t->cy).size());
}

} // namespace view
