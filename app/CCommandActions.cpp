#include "app/CCommandActions.h"

#include "app/AcceleratorKeys.h"
#include "res/AcceleratorTable.h"
#include "res/ResPictures.h"
#include "res/ResStrings.h"
#include "res/resource.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

// The tooltip shows the short name in bold over the prompt, as the string table pairs them.
QString ToolTipText(int nID) {
    const QString label = CommandToolTip(nID).toHtmlEscaped();
    const QString prompt = CommandPrompt(nID).toHtmlEscaped();
    if (prompt.isEmpty())
        return QStringLiteral("<b>%1</b>").arg(label);
    return QStringLiteral("<b>%1</b><hr/>%2").arg(label, prompt);
}

} // namespace

CCommandActions::CCommandActions(const CCommandRouter &router, QWidget *pOwner)
    : QObject(pOwner), m_Router(router), m_pOwner(pOwner), m_pRadioGroup(new QActionGroup(this)) {
    m_pRadioGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
}

QAction *CCommandActions::Action(int nID) const {
    const auto it = m_Actions.find(nID);
    return it == m_Actions.end() ? nullptr : it->second;
}

QList<QAction *> CCommandActions::Actions() const {
    QList<QAction *> actions;
    for (const auto &entry : m_Actions)
        actions << entry.second;
    return actions;
}

QAction *CCommandActions::Ensure(int nID, const QString &strText) {
    if (QAction *pAction = Action(nID))
        return pAction;
    auto *pAction = new QAction(strText, this);
    pAction->setData(nID);
    pAction->setStatusTip(CommandPrompt(nID));
    if (!CommandToolTip(nID).isEmpty())
        pAction->setToolTip(ToolTipText(nID));
    connect(pAction, &QAction::triggered, this, [this, nID] {
        m_Router.Execute(nID);
        UpdateAll();
    });
    // Keys of actions that live only in menus and toolbars reach the window this way.
    m_pOwner->addAction(pAction);
    m_Actions.emplace(nID, pAction);
    m_TableTexts.emplace(nID, strText);
    return pAction;
}

void CCommandActions::BuildMenuBar(QMenuBar *pBar, int nMenuId, int nRecentFiles) {
    const ItemAdder addShared = [this, nRecentFiles](QMenu *pMenu, const res::SMenuEntry &entry) {
        const QString text = QString::fromUtf8(entry.pszText);
        const int nCount = entry.nId == ID_FILE_MRU_FILE1 ? nRecentFiles : 1;
        for (int i = 0; i < nCount; ++i)
            pMenu->addAction(Ensure(entry.nId + i, text));
    };
    const std::span<const res::SMenuEntry> entries = res::LoadMenu(nMenuId);
    for (std::size_t nPos = 0; nPos < entries.size(); ++nPos) {
        if (entries[nPos].kind != res::MenuKind::Popup)
            continue;
        QMenu *pMenu = pBar->addMenu(QString::fromUtf8(entries[nPos].pszText));
        connect(pMenu, &QMenu::aboutToShow, this, &CCommandActions::UpdateAll);
        BuildMenu(pMenu, entries, ++nPos, addShared);
    }
}

// Reads entries from nPos up to the End of the current popup and leaves nPos on that End.
void CCommandActions::BuildMenu(QMenu *pMenu, std::span<const res::SMenuEntry> entries,
                                std::size_t &nPos, const ItemAdder &addItem) {
    for (; nPos < entries.size(); ++nPos) {
        const res::SMenuEntry &entry = entries[nPos];
        switch (entry.kind) {
        case res::MenuKind::End:
            return;
        case res::MenuKind::Separator:
            pMenu->addSeparator();
            break;
        case res::MenuKind::Popup: {
            QMenu *pSub = pMenu->addMenu(QString::fromUtf8(entry.pszText));
            connect(pSub, &QMenu::aboutToShow, this, &CCommandActions::UpdateAll);
            BuildMenu(pSub, entries, ++nPos, addItem);
            break;
        }
        case res::MenuKind::Item:
            addItem(pMenu, entry);
            break;
        }
    }
}

int CCommandActions::TrackPopupMenu(int nMenuId, const QPoint &globalPos,
                                    const std::set<int> &checked) {
    const std::span<const res::SMenuEntry> entries = res::LoadMenu(nMenuId);
    if (entries.empty() || entries.front().kind != res::MenuKind::Popup)
        return 0;
    // Plain items: no update handler runs for them, only the marks asked for are set.
    const ItemAdder addPlain = [&checked](QMenu *pMenu, const res::SMenuEntry &entry) {
        QAction *pItem = pMenu->addAction(QString::fromUtf8(entry.pszText));
        pItem->setData(entry.nId);
        pItem->setCheckable(checked.contains(entry.nId));
        pItem->setChecked(checked.contains(entry.nId));
    };
    QMenu popup(m_pOwner);
    popup.setObjectName(QString::number(nMenuId));
    std::size_t nPos = 1;
    BuildMenu(&popup, entries, nPos, addPlain);
    const QAction *pChosen = popup.exec(globalPos);
    if (!pChosen)
        return 0;
    const int nID = pChosen->data().toInt();
    m_Router.Execute(nID);
    UpdateAll();
    return nID;
}

void CCommandActions::BuildToolBar(QToolBar *pBar, const res::SToolbar &toolbar) {
    const std::vector<QPixmap> images =
        SplitImageStrip(LoadBitmap(toolbar.nBitmap), toolbar.nButtonSize);
    std::size_t nImage = 0;
    for (const int nID : toolbar.buttons) {
        if (nID == ID_SEPARATOR) {
            pBar->addSeparator();
            continue;
        }
        QAction *pAction = Ensure(nID, CommandToolTip(nID));
        if (nImage < images.size())
            pAction->setIcon(QIcon(images[nImage]));
        ++nImage;
        pBar->addAction(pAction);
    }
}

void CCommandActions::AddAccelerators(int nTableId) {
    std::map<int, QList<QKeySequence>> keys;
    for (const res::SAccel &accel : res::LoadAccelerators(nTableId))
        keys[accel.nCmd].append(AcceleratorKeySequences(accel));
    for (const auto &[nID, sequences] : keys) {
        QAction *pAction = Ensure(nID, CommandToolTip(nID));
        pAction->setShortcuts(sequences);
        pAction->setShortcutContext(Qt::WindowShortcut);
    }
}

void CCommandActions::UpdateAll() {
    for (const auto &[nID, pAction] : m_Actions)
        Apply(pAction, m_Router.Query(nID));
}

void CCommandActions::Apply(QAction *pAction, const CCmdUI &ui) {
    pAction->setEnabled(ui.m_bEnabled);
    pAction->setVisible(ui.m_bVisible);
    // Items whose handler sets no text show the text of their table.
    pAction->setText(ui.m_strText.value_or(m_TableTexts.at(ui.m_nID)));
    if (ui.m_eCheck) {
        if (ui.m_bRadio && !pAction->actionGroup())
            m_pRadioGroup->addAction(pAction);
        pAction->setCheckable(true);
        pAction->setChecked(*ui.m_eCheck == CCmdUI::Check::Checked);
    }
}
