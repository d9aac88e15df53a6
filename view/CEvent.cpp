#include "view/CEvent.h"

namespace view {

// Notified under the lock: a waiter that returns may destroy the event at once, so Set must
// not touch it after the lock is released.
void CEvent::Set() {
    std::lock_guard lock(m_Mutex);
    m_bSet = true;
    m_Cond.notify_one();
}

void CEvent::Wait() {
    std::unique_lock lock(m_Mutex);
    m_Cond.wait(lock, [this] { return m_bSet; });
    m_bSet = false;
}

bool CEvent::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_Mutex);
    if (!m_Cond.wait_for(lock, timeout, [this] { return m_bSet; }))
        return false;
    m_bSet = false;
    return true;
}

} // namespace view
