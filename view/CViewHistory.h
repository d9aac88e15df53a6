#pragma once

#include <array>
#include <optional>

namespace view {

// The pages the user went to, for Previous View and Next View. Entry 0 holds 0, no page,
// until a full history shifts it out. Invariant: 0 <= position <= top < kSize.
class CViewHistory {
public:
    static constexpr int kSize = 64;

    // Records page as the new current entry unless it already is; the forward entries go.
    void Push(int page);
    // Move the position and answer the entry there; nothing when the position cannot move.
    std::optional<int> Back();
    std::optional<int> Forward();
    // Scrolling leaves nothing for Next View to return to.
    void DropForward() { m_nTop = m_nPos; }

    int Pos() const { return m_nPos; }
    int Top() const { return m_nTop; }
    int At(int index) const { return m_History[index]; }

private:
    std::array<int, kSize> m_History{};
    int m_nPos = 0;
    int m_nTop = 0;
};

} // namespace view
