#pragma once

// Private to engine/: an output device that stops entering forms once its page's budget is
// spent. Poppler looks for an abort only every few operators of one content stream, counting
// afresh in every form it enters: forms that each draw short forms many times, a few levels
// deep, are never looked at and would draw for days. Every form drawn asks the device first,
// so the budget is looked at there.

#include "engine/PageBudget.h"

#include <Object.h>

template <class Device> class CBudgetedDevice : public Device {
public:
    template <typename... Args>
    explicit CBudgetedDevice(CPageBudget &budget, Args &&...args)
        : Device(std::forward<Args>(args)...), m_Budget(budget) {}

    // Poppler hands a form to drawForm instead of drawing it whenever this says so.
    bool useDrawForm() override { return CPageBudget::Exceeded(&m_Budget); }
    void drawForm(Ref) override {}

private:
    CPageBudget &m_Budget;
};
