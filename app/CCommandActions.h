#pragma once

#include "app/CCommandRouter.h"
#include "res/MenuTable.h"
#include "res/ToolbarTable.h"

#include <QObject>

#include <functional>
#include <map>
#include <set>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QPoint;
class QToolBar;
class QWidget;

// One QAction per command id, shared by the menu bar, the toolbars and the accelerators of a
// window. Triggering an action routes its command; UpdateAll runs the update handlers and shows
// their enabled, checked, radio, text and visible states on every action.
class CCommandActions : public QObject {
    Q_OBJECT

public:
    CCommandActions(const CCommandRouter &router, QWidget *pOwner);

    // The action of nID, or nullptr when no menu, toolbar or accelerator names it.
    QAction *Action(int nID) const;
    // Every action made so far.
    QList<QAction *> Actions() const;

    // Fills bar from menu nMenuId. The item ID_FILE_MRU_FILE1 stands for nRecentFiles items.
    void BuildMenuBar(QMenuBar *pBar, int nMenuId, int nRecentFiles);
    // Adds the buttons of toolbar with their images; separators where the table has them.
    void BuildToolBar(QToolBar *pBar, const res::SToolbar &toolbar);
    // Gives the actions the keys of accelerator table nTableId.
    void AddAccelerators(int nTableId);

    // Shows the first popup of menu nMenuId at globalPos and routes the command chosen; the
    // items in checked carry a mark. Answers the command chosen, or 0.
    int TrackPopupMenu(int nMenuId, const QPoint &globalPos, const std::set<int> &checked);

    void UpdateAll();

private:
    using ItemAdder = std::function<void(QMenu *, const res::SMenuEntry &)>;
    void BuildMenu(QMenu *pMenu, std::span<const res::SMenuEntry> entries, std::size_t &nPos,
                   const ItemAdder &addItem);
    QAction *Ensure(int nID, const QString &strText);
    void Apply(QAction *pAction, const CCmdUI &ui);

    const CCommandRouter &m_Router;
    QWidget *m_pOwner;
    QActionGroup *m_pRadioGroup;
    std::map<int, QAction *> m_Actions;
    std::map<int, QString> m_TableTexts;
};
