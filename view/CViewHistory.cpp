#include "view/CViewHistory.h"

#include <algorithm>

namespace view {

void CViewHistory::Push(int page) {
    if (m_History[m_nPos] == page)
        return;
    if (m_nPos == kSize - 1)
        std::shift_left(m_History.begin(), m_History.end(), 1);
    else
        ++m_nPos;
    m_History[m_nPos] = page;
    m_nTop = m_nPos;
}

std::optional<int> CViewHistory::Back() {
    if (m_nPos <= 0)
        return std::nullopt;
    return m_History[--m_nPos];
}

std::optional<int> CViewHistory::Forward() {
    if (m_nPos >= m_nTop)
        return std::nullopt;
    return m_History[++m_nPos];
}

} // namespace view
