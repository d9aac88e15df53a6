#pragma once

#include "view/CEvent.h"
#include "view/CPageCache.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace view {

// What the view wants in the cache; written by the view, read by the worker on every turn.
struct RenderRequest {
    std::atomic<bool> bRunning{false};
    std::atomic<int> nFirst{1};
    std::atomic<int> nCount{0};
};

// The render worker of one view: a thread that keeps pages first .. first + count - 1 in the
// cache, making a pass about every 5 ms. Hand-shake: the view clears the running flag and
// waits for m_evStopped, which the worker sets as its last act; m_evPassDone follows every
// pass; m_evRequest tells the worker that first and count changed.
//
// Everything the thread touches (request, events, cache and through it the engine) is held
// in shared state, so a worker that outlives the view's time-out finishes its page on its
// own and the last owner destroys the engine afterwards.
class CRenderWorker {
public:
    static constexpr std::chrono::milliseconds kPassInterval{5};
    static constexpr std::chrono::milliseconds kDestroyTimeout{2000};

    explicit CRenderWorker(std::shared_ptr<CPageCache> cache);
    ~CRenderWorker(); // stops the worker, waiting at most kDestroyTimeout
    CRenderWorker(const CRenderWorker &) = delete;
    CRenderWorker &operator=(const CRenderWorker &) = delete;

    // 0 when the thread runs, -1 when it could not be started (pages are then rendered by
    // RenderPage on the caller's thread).
    int Start(int first, int count);
    // The page under way is cancelled (PdfCancelDraw) and its slot left empty. Without a
    // time-out waits until the worker has ended. True when no worker runs
    // afterwards; false when it was still busy and has been left to end on its own.
    bool Stop(std::optional<std::chrono::milliseconds> timeout = std::nullopt);
    bool IsRunning() const { return m_Thread.joinable(); }

    // Joins the workers that missed a stop's time-out and end within timeout. True when none
    // is left: every engine they kept has then been destroyed on the way.
    static bool WaitForFinishingWorkers(std::chrono::milliseconds timeout);

    // New first and count, and a nudge for the worker.
    void Request(int first, int count);
    // Makes sure page is in the cache before returning: asks the worker and waits for its
    // passes, or renders the page itself when no worker runs. Gives up when the page cannot
    // be cached (the engine refuses it), so a paint never waits for ever, and once patience
    // has passed, leaving the page to the worker.
    void RenderPage(int page, std::optional<std::chrono::milliseconds> patience = std::nullopt);

    // The shared state; public for the hand-shake tests.
    struct State {
        explicit State(std::shared_ptr<CPageCache> c) : cache(std::move(c)) {}
        RenderRequest request;
        CEvent evRequest;
        CEvent evPassDone;
        CEvent evStopped;
        std::atomic<bool> bAlive{false};
        std::shared_ptr<CPageCache> cache;
    };
    State &GetState() { return *m_pState; }

private:
    static void RenderThreadProc(std::shared_ptr<State> state);

    std::shared_ptr<State> m_pState;
    std::thread m_Thread;
};

} // namespace view
