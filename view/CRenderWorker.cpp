#include "view/CRenderWorker.h"

#include <algorithm>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

namespace view {

namespace {

// A pass that was under way when a page was requested may end without it, and one pass-done
// signal may be left over from before the request; the third pass has certainly tried it.
constexpr int kPassesToTry = 3;
constexpr std::chrono::milliseconds kAliveCheck{50};

// Workers that did not end within the destruction time-out. Each finishes its page on its
// own; any still busy when the process ends is joined before the engine configuration and
// the other process-wide state it may still use are torn down.
class CFinishingWorkers {
public:
    // Watched, not owned: the thread alone keeps the engine alive.
    using StateRef = std::weak_ptr<CRenderWorker::State>;

    void Adopt(std::thread thread, StateRef state) {
        std::lock_guard lock(m_Lock);
        JoinFinished();
        m_Workers.emplace_back(std::move(thread), std::move(state));
    }

    bool WaitFor(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::lock_guard lock(m_Lock);
        std::erase_if(m_Workers, [deadline](auto &worker) {
            // Held while waiting, so an engine the worker lets go of is destroyed here.
            if (const auto state = worker.second.lock(); state && state->bAlive) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                if (!state->evStopped.Wait(std::max(left, std::chrono::milliseconds(0))))
                    return false;
            }
            worker.first.join();
            return true;
        });
        return m_Workers.empty();
    }

    ~CFinishingWorkers() {
        for (auto &[thread, state] : m_Workers)
            thread.join();
    }

private:
    void JoinFinished() {
        std::erase_if(m_Workers, [](auto &worker) {
            const auto state = worker.second.lock();
            if (state && state->bAlive)
                return false;
            worker.first.join();
            return true;
        });
    }

    std::mutex m_Lock;
    std::vector<std::pair<std::thread, StateRef>> m_Workers;
};

CFinishingWorkers &FinishingWorkers() {
    static CFinishingWorkers workers;
    return workers;
}

} // namespace

CRenderWorker::CRenderWorker(std::shared_ptr<CPageCache> cache)
    : m_pState(std::make_shared<State>(std::move(cache))) {
}

CRenderWorker::~CRenderWorker() {
    Stop(kDestroyTimeout);
}

int CRenderWorker::Start(int first, int count) {
    Stop();
    RenderRequest &r = m_pState->request;
    r.nFirst = first;
    r.nCount = count;
    r.bRunning = true;
    m_pState->bAlive = true;
    try {
        m_Thread = std::thread(RenderThreadProc, m_pState);
    } catch (const std::system_error &) {
        r.bRunning = false;
        m_pState->bAlive = false;
        return -1;
    }
    return 0;
}

bool CRenderWorker::Stop(std::optional<std::chrono::milliseconds> timeout) {
    if (!IsRunning())
        return true;
    m_pState->request.bRunning = false;
    // The page under way is of no use to whoever stops the worker: a slow one must not hold the
    // stop until its budget runs out.
    m_pState->cache->CancelDrawing(true);
    bool bStopped = true;
    if (timeout)
        bStopped = m_pState->evStopped.Wait(*timeout);
    else
        m_pState->evStopped.Wait();
    m_pState->cache->CancelDrawing(false);
    if (bStopped) {
        m_Thread.join();
        return true;
    }
    // The old thread keeps its state; a later Start must not share events with it.
    auto state = std::exchange(m_pState, std::make_shared<State>(m_pState->cache));
    FinishingWorkers().Adopt(std::move(m_Thread), std::move(state));
    return false;
}

bool CRenderWorker::WaitForFinishingWorkers(std::chrono::milliseconds timeout) {
    return FinishingWorkers().WaitFor(timeout);
}

void CRenderWorker::Request(int first, int count) {
    m_pState->request.nFirst = first;
    m_pState->request.nCount = count;
    m_pState->evRequest.Set();
}

void CRenderWorker::RenderPage(int page, std::optional<std::chrono::milliseconds> patience) {
    State &s = *m_pState;
    const auto started = std::chrono::steady_clock::now();
    const auto waitedTooLong = [&] {
        return patience && std::chrono::steady_clock::now() - started >= *patience;
    };
    for (int pass = 0; pass < kPassesToTry; ++pass) {
        if (s.cache->FindCachedPage(page) >= 0)
            return;
        if (!IsRunning())
            break;
        Request(page, 1);
        while (!s.evPassDone.Wait(kAliveCheck)) {
            if (!s.bAlive)
                break;
            // The worker goes on with the page and its paint shows it when done.
            if (waitedTooLong())
                return;
        }
        if (waitedTooLong())
            return;
    }
    // No worker to ask (it could not start, or has ended): the engine is free for this thread.
    if (!IsRunning() || !s.bAlive)
        s.cache->CachePage(page);
}

void CRenderWorker::RenderThreadProc(std::shared_ptr<State> state) {
    RenderRequest &r = state->request;
    while (r.bRunning) {
        state->evRequest.Wait(std::chrono::milliseconds(0));
        for (int i = r.nFirst; i < r.nFirst + r.nCount && r.bRunning; ++i)
            state->cache->CachePage(i);
        std::this_thread::sleep_for(kPassInterval);
        state->evPassDone.Set();
    }
    state->bAlive = false;
    state->evStopped.Set();
}

} // namespace view
