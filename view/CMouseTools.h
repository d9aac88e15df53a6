#pragma once

#include "view/CViewCore.h"

namespace view {

// A point in client coordinates.
struct CClientPoint {
    int x = 0, y = 0;
    friend bool operator==(const CClientPoint &, const CClientPoint &) = default;
};

// The selection as the mouse made it: where the left button went down and where the mouse
// last moved with the button down, in client coordinates and in that order.
struct CSelectRect {
    CClientPoint start;
    CClientPoint end;
    friend bool operator==(const CSelectRect &, const CSelectRect &) = default;
};

enum class ToolCursor { Arrow, OpenHand, ClosedHand };

// The view's two mouse tools without the window: the hand tool drags the document, the
// selection tool marks a rectangle. The widget forwards the left button's press, moves and
// release here, draws what Band() and Highlight() say, shows Cursor(), and holds the mouse and
// pointer while IsDragging().
class CMouseTools {
public:
    explicit CMouseTools(CViewCore &core) : m_Core(core) {}

    bool IsSelectMode() const { return m_bSelectMode; }
    // The hand tool; with an open document the open hand shows at once.
    void SetHandTool();
    // The selection tool, only with an open document that allows copying.
    void SetSelectTool();
    // Leaves selection mode (its context menu's last item).
    void ExitSelectMode();
    // After Close: the hand tool and no selection.
    void Reset();

    // Mouse events of the left button at client points; nothing happens without a document.
    void OnButtonDown(int x, int y);
    // Answers whether the view scrolled.
    bool OnMouseMove(int x, int y, bool bLeftDown);
    void OnButtonUp(int x, int y);
    // A drag whose release will not come (the window lost the mouse) ends without a selection.
    void CancelDrag() { m_bDragging = false; }

    bool IsDragging() const { return m_bDragging; }
    const CSelectRect &Selection() const { return m_rcSelect; }
    // The rubber band while the selection is being dragged.
    bool ShowsBand() const { return m_bSelectMode && m_bDragging; }
    // The finished selection shows inverted until the next press or until the view changes;
    // a view that changed and changed back shows it no more.
    bool ShowsHighlight();
    ToolCursor Cursor() const;

private:
    // What the window shows; a highlight belongs to one of these.
    struct CViewPlace {
        int nHorz, nVert, nClientWidth, nClientHeight, nPage, nMode, nRotation;
        float fZoom;
        friend bool operator==(const CViewPlace &, const CViewPlace &) = default;
    };
    CViewPlace Place() const;
    void DragBy(int dx, int dy);

    CViewCore &m_Core;
    bool m_bSelectMode = false;
    bool m_bDragging = false;
    bool m_bHighlight = false;
    CViewPlace m_HighlightPlace{};
    CSelectRect m_rcSelect;
    CClientPoint m_ptLast;
    CClientPoint m_ptScroll; // the scroll position a hand drag moves
};

} // namespace view
