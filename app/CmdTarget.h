#pragma once

// Command routing: every command id travels along a chain of command targets (the active view,
// the document window, the main frame, the application) until one has a handler for it. The
// same chain answers update requests, which fill a CCmdUI with the enabled, checked and text
// state the menus and toolbars show.

#include <QString>

#include <optional>
#include <span>

class CCmdUI {
public:
    enum class Check { Unchecked, Checked };

    explicit CCmdUI(int nID) : m_nID(nID) {}

    void Enable(bool bOn = true) { m_bEnabled = bOn; }
    void SetCheck(bool bOn = true) { m_eCheck = bOn ? Check::Checked : Check::Unchecked; }
    void SetRadio(bool bOn = true) {
        SetCheck(bOn);
        m_bRadio = true;
    }
    void SetText(const QString &strText) { m_strText = strText; }
    void Show(bool bOn = true) { m_bVisible = bOn; }

    int m_nID;
    bool m_bEnabled = true;
    bool m_bVisible = true;
    bool m_bRadio = false;
    std::optional<Check> m_eCheck;    // set only by handlers that show a mark
    std::optional<QString> m_strText; // set only by handlers that change the item's text
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    // With pUI null: runs the command handler for nID. With pUI: runs the update handler (or
    // leaves the command enabled when there is a command handler but no update handler).
    // Answers false when this target has no handler of that kind for nID.
    virtual bool OnCmdMsg(int nID, CCmdUI *pUI) = 0;
};

// One row of a command map: a command id or a range of ids, with a command handler (plain, or
// taking the id for ranges) and an update handler, each optional.
template <class T> struct SCommandEntry {
    int nFirst;
    int nLast;
    void (T::*pfnCommand)() = nullptr;
    void (T::*pfnRangeCommand)(int) = nullptr;
    void (T::*pfnUpdate)(CCmdUI *) = nullptr;
};

template <class T>
constexpr SCommandEntry<T> OnCommand(int nID, void (T::*pfn)(),
                                     void (T::*pfnUpdate)(CCmdUI *) = nullptr) {
    return {nID, nID, pfn, nullptr, pfnUpdate};
}

template <class T>
constexpr SCommandEntry<T> OnCommandRange(int nFirst, int nLast, void (T::*pfn)(int),
                                          void (T::*pfnUpdate)(CCmdUI *) = nullptr) {
    return {nFirst, nLast, nullptr, pfn, pfnUpdate};
}

template <class T>
constexpr SCommandEntry<T> OnUpdateRange(int nFirst, int nLast, void (T::*pfnUpdate)(CCmdUI *)) {
    return {nFirst, nLast, nullptr, nullptr, pfnUpdate};
}

// Looks nID up in a command map and runs the matching handler of target.
template <class T>
bool DispatchCommand(T &target, std::span<const SCommandEntry<T>> map, int nID, CCmdUI *pUI) {
    for (const SCommandEntry<T> &entry : map) {
        if (nID < entry.nFirst || nID > entry.nLast)
            continue;
        const bool bHasCommand = entry.pfnCommand || entry.pfnRangeCommand;
        if (pUI) {
            if (!entry.pfnUpdate && !bHasCommand)
                continue;
            if (entry.pfnUpdate)
                (target.*entry.pfnUpdate)(pUI);
            return true;
        }
        if (entry.pfnRangeCommand)
            (target.*entry.pfnRangeCommand)(nID);
        else if (entry.pfnCommand)
            (target.*entry.pfnCommand)();
        else
            continue;
        return true;
    }
    return false;
}
