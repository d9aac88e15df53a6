#pragma once

namespace view {

// Vertical scroll requests, numbered as the classic scroll-bar request codes are.
enum ScrollRequest : int {
    kLineUp = 0,
    kLineDown = 1,
    kPageUp = 2,
    kPageDown = 3,
    kThumbPosition = 4,
    kThumbTrack = 5,
    kTop = 6,
    kBottom = 7,
    kEndScroll = 8,
};

// The scrolled area of the view: client size, total size and both positions, each position
// limited to 0 .. total - client as a scroll bar limits it.
class CScrollModel {
public:
    static constexpr int kInitialExtent = 100;
    static constexpr int kLineStep = 50; // pixels per vertical line request

    void SetClientSize(int width, int height);
    void SetTotalSize(int width, int height);
    int ClientWidth() const { return m_nClientWidth; }
    int ClientHeight() const { return m_nClientHeight; }
    int TotalWidth() const { return m_nTotalWidth; }
    int TotalHeight() const { return m_nTotalHeight; }

    int HorzPos() const { return m_nHorz; }
    int VertPos() const { return m_nVert; }
    int MaxHorz() const;
    int MaxVert() const;
    void SetHorzPos(int pos);
    void SetVertPos(int pos);
    // The default steps of the horizontal bar: a tenth of the total width, a tenth of that.
    int HorzPageStep() const { return m_nTotalWidth / 10; }
    int HorzLineStep() const { return HorzPageStep() / 10; }

    // One vertical request; track is the bar's track position for the thumb requests.
    void VScroll(int request, int arg, int track);

private:
    int m_nClientWidth = 0;
    int m_nClientHeight = 0;
    int m_nTotalWidth = kInitialExtent;
    int m_nTotalHeight = kInitialExtent;
    int m_nHorz = 0;
    int m_nVert = 0;
};

} // namespace view
