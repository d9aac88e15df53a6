#include "tests/support/RecordingTree.h"

namespace testsupport {

platform::TreeItem CRecordingTree::InsertItem(const std::string &text, platform::TreeItem parent) {
    const int depth = parent ? m_Nodes.at(parent - 1).depth + 1 : 0;
    m_Nodes.push_back({text, parent, depth});
    return m_Nodes.size();
}

std::vector<std::string> CRecordingTree::Outline() const {
    std::vector<std::string> lines;
    for (const Node &n : m_Nodes)
        lines.push_back(std::string(2 * n.depth, ' ') + n.text);
    return lines;
}

} // namespace testsupport
