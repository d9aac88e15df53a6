#include "app/CViewCmdTarget.h"

#include "res/resource.h"
#include "view/CVeskPDFReaderView.h"

namespace {

// The view commands whose menu items and buttons carry a check mark.
bool ShowsMark(int nID) {
    switch (nID) {
    case ID_SINGLE_PAGE:
    case ID_CONTINUOUS:
    case ID_FULL_SCREEN:
    case ID_SELECT_TOOL:
        return true;
    default:
        return false;
    }
}

} // namespace

bool CViewCmdTarget::OnCmdMsg(int nID, CCmdUI *pUI) {
    if (!pUI)
        return m_View.OnCommand(nID);
    view::CCommandState state;
    if (!m_View.GetCommandState(nID, &state))
        return false;
    pUI->Enable(state.bEnabled);
    if (ShowsMark(nID))
        pUI->SetCheck(state.bChecked);
    return true;
}
