#pragma once

#include "app/CBookMark.h"
#include "app/CThumbnail.h"
#include "app/CVeskPDFReaderDoc.h"
#include "app/CViewCmdTarget.h"
#include "app/CmdTarget.h"

#include <QMainWindow>

class CVeskPDFReaderView;

// A document window: the reading view in the middle, the bookmark pane docked on the left with
// the hidden thumbnail pane as its second tab, and the document. It handles the two commands of
// the navigation panes. Closing the window deletes it with its view and document.
class CChildFrame : public QMainWindow, public CCmdTarget {
    Q_OBJECT

public:
    explicit CChildFrame(QWidget *pParent = nullptr);
    ~CChildFrame() override;

    CVeskPDFReaderView *GetActiveView() const { return m_pView; }
    CVeskPDFReaderDoc &GetDocument() { return m_Doc; }
    const CVeskPDFReaderDoc &GetDocument() const { return m_Doc; }
    // The view's place in the command chain, ahead of this window.
    CCmdTarget &GetViewTarget() { return m_ViewTarget; }

    // After a successful open: the view fits the page to the width it has when first shown.
    void InitialUpdateFrame();
    // Tells the view's render worker to stop without waiting: a page it is drawing finishes on
    // its own while the program ends.
    void StopRendering();

    // The dock area's own menu: the bookmark pane only, since nothing shows the thumbnail pane.
    QMenu *createPopupMenu() override;

    bool OnCmdMsg(int nID, CCmdUI *pUI) override;

    CBookMark *m_pBookMark = nullptr;
    CThumbnail *m_pThumbnail = nullptr;

private:
    void CreatePanes();
    void OnToggleBookMark();
    void OnUpdateToggleBookMark(CCmdUI *pUI);
    void OnThumbnailCommand();
    void OnUpdateThumbnailCommand(CCmdUI *pUI);

    static const SCommandEntry<CChildFrame> s_CommandMap[];

    CVeskPDFReaderView *m_pView;
    CViewCmdTarget m_ViewTarget;
    CVeskPDFReaderDoc m_Doc;
};
