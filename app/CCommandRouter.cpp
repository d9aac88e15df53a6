#include "app/CCommandRouter.h"

CCmdUI CCommandRouter::Query(int nID) const {
    CCmdUI ui(nID);
    for (CCmdTarget *target : m_Chain()) {
        if (target->OnCmdMsg(nID, &ui))
            return ui;
    }
    ui.Enable(false);
    return ui;
}

bool CCommandRouter::Execute(int nID) const {
    // A disabled command is not run even when a stale menu item or a key still sends it.
    if (!Query(nID).m_bEnabled)
        return false;
    for (CCmdTarget *target : m_Chain()) {
        if (target->OnCmdMsg(nID, nullptr))
            return true;
    }
    return false;
}
