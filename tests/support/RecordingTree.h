#pragma once

#include "platform/TreeControl.h"

#include <string>
#include <vector>

namespace testsupport {

// A tree control that remembers what the engine did to it.
class CRecordingTree : public platform::TreeControl {
public:
    struct Node {
        std::string text;
        platform::TreeItem parent;
        int depth;
    };

    platform::TreeItem InsertItem(const std::string &text, platform::TreeItem parent) override;
    platform::TreeItem GetFirstVisibleItem() override { return m_Nodes.empty() ? 0 : 1; }
    void SelectFirstVisible(platform::TreeItem item) override { m_nScrolledTo = item; }
    void SetFocus() override { m_bFocused = true; }

    // Items are numbered from 1 in insertion order.
    const std::vector<Node> &Nodes() const { return m_Nodes; }
    // "text" lines indented two spaces per level, for whole-tree comparisons.
    std::vector<std::string> Outline() const;

    platform::TreeItem m_nScrolledTo = 0;
    bool m_bFocused = false;

private:
    std::vector<Node> m_Nodes;
};

} // namespace testsupport
