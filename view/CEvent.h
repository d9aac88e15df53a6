#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace view {

// An auto-reset event: Set wakes exactly one wait, and a successful wait clears the event
// again. A Set without a waiter is kept until the next wait; several Sets count as one.
class CEvent {
public:
    explicit CEvent(bool bInitiallySet = false) : m_bSet(bInitiallySet) {}
    CEvent(const CEvent &) = delete;
    CEvent &operator=(const CEvent &) = delete;

    void Set();
    void Wait();
    // False when the time ran out before the event was set; a zero time-out only tests it.
    bool Wait(std::chrono::milliseconds timeout);

private:
    std::mutex m_Mutex;
    std::condition_variable m_Cond;
    bool m_bSet;
};

} // namespace view
