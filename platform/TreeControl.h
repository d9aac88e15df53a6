#pragma once

#include <cstdint>
#include <string>

namespace platform {

typedef std::uintptr_t TreeItem;

// The bookmark tree as the engine fills it: items are appended, never removed by the engine.
class TreeControl {
public:
    virtual ~TreeControl() = default;
    virtual TreeItem InsertItem(const std::string &text,
                                TreeItem parent) = 0; // last child; 0 = root
    virtual TreeItem GetFirstVisibleItem() = 0;
    virtual void SelectFirstVisible(TreeItem item) = 0; // scroll item to the top, select nothing
    virtual void SetFocus() = 0;
};

} // namespace platform
