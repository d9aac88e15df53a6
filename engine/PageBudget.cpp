#include "engine/PageBudget.h"

namespace {

constexpr platform::Rgb kIncompleteMark{220, 0, 0};
constexpr int kIncompleteMarkWidth = 3;

} // namespace

void CPageBudget::Start(bool cancellable) {
    m_Deadline = std::chrono::steady_clock::now() + m_Time;
    m_bCancellable = cancellable;
    m_bCutShort = m_bStopped = false;
}

bool CPageBudget::Exceeded(void *data) {
    auto &budget = *static_cast<CPageBudget *>(data);
    if (budget.IsSpent()) {
        budget.m_bStopped = !budget.m_bCutShort;
        return true;
    }
    if (std::chrono::steady_clock::now() > budget.m_Deadline)
        budget.m_bCutShort = true;
    return budget.m_bCutShort;
}

bool CPageBudget::PictureFits(long long width, long long height) {
    constexpr long long kBytesPerPixel = 3;
    return width <= 0 || height <= 0 || width <= kMaxPictureBytes / kBytesPerPixel / height;
}

void MarkIncomplete(platform::DeviceContext &dc, int w, int h) {
    for (int i = 0; i < kIncompleteMarkWidth; ++i)
        dc.FrameRect(i, i, w - 2 * i, h - 2 * i, kIncompleteMark);
}
