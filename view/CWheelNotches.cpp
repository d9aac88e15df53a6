#include "view/CWheelNotches.h"

namespace view {

int CWheelNotches::Add(int delta) {
    if ((delta > 0 && m_nPending < 0) || (delta < 0 && m_nPending > 0))
        m_nPending = 0;
    const long long sum = static_cast<long long>(m_nPending) + delta;
    const long long notches = sum / kNotch; // toward zero: the remainder keeps the sign
    m_nPending = static_cast<int>(sum - notches * kNotch);
    return static_cast<int>(notches);
}

} // namespace view
