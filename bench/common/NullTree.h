#pragma once

#include "platform/TreeControl.h"

// A bookmark tree that only counts: the benchmarks need no outline.
class CNullTree : public platform::TreeControl {
public:
    platform::TreeItem InsertItem(const std::string &, platform::TreeItem) override {
        return ++m_nItems;
    }
    platform::TreeItem GetFirstVisibleItem() override { return m_nItems ? 1 : 0; }
    void SelectFirstVisible(platform::TreeItem) override {}
    void SetFocus() override {}

private:
    platform::TreeItem m_nItems = 0;
};
