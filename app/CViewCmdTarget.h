#pragma once

#include "app/CmdTarget.h"

class CVeskPDFReaderView;

// The reading view's place in the command chain: its own command and update handling.
class CViewCmdTarget : public CCmdTarget {
public:
    explicit CViewCmdTarget(CVeskPDFReaderView &view) : m_View(view) {}
    bool OnCmdMsg(int nID, CCmdUI *pUI) override;

private:
    CVeskPDFReaderView &m_View;
};
