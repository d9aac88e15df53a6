#pragma once

namespace view {

// Wheel turns as whole notches of 120 units (eighths of a degree). A classic wheel sends one
// notch per event; high-resolution wheels and touchpads send many small deltas that only
// together make one. What is left over waits for the next delta in the same direction; a turn
// the other way starts afresh.
class CWheelNotches {
public:
    static constexpr int kNotch = 120;

    // Whole notches turned, signed like delta.
    int Add(int delta);
    void Reset() { m_nPending = 0; }

private:
    int m_nPending = 0;
};

} // namespace view
