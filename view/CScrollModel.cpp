#include "view/CScrollModel.h"

#include <algorithm>

namespace view {

void CScrollModel::SetClientSize(int width, int height) {
    m_nClientWidth = std::max(width, 0);
    m_nClientHeight = std::max(height, 0);
    SetHorzPos(m_nHorz);
    SetVertPos(m_nVert);
}

void CScrollModel::SetTotalSize(int width, int height) {
    m_nTotalWidth = std::max(width, 0);
    m_nTotalHeight = std::max(height, 0);
    SetHorzPos(m_nHorz);
    SetVertPos(m_nVert);
}

int CScrollModel::MaxHorz() const {
    return std::max(m_nTotalWidth - m_nClientWidth, 0);
}

int CScrollModel::MaxVert() const {
    return std::max(m_nTotalHeight - m_nClientHeight, 0);
}

void CScrollModel::SetHorzPos(int pos) {
    m_nHorz = std::clamp(pos, 0, MaxHorz());
}

void CScrollModel::SetVertPos(int pos) {
    m_nVert = std::clamp(pos, 0, MaxVert());
}

void CScrollModel::VScroll(int request, int arg, int track) {
    int pos = m_nVert;
    switch (request) {
    case kEndScroll:
        return;
    case kLineUp:
        pos -= kLineStep;
        break;
    case kLineDown:
        pos += kLineStep;
        break;
    case kPageUp:
        pos -= m_nClientHeight;
        break;
    case kPageDown:
        pos += m_nClientHeight;
        break;
    case kThumbPosition:
    case kThumbTrack:
        pos = track;
        break;
    default: // kTop and kBottom come with an argument of 0 and so stay where they are
        pos += (request % 2 != 0 ? kLineStep : -kLineStep) * arg;
        break;
    }
    SetVertPos(pos);
}

} // namespace view
