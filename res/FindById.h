#pragma once

#include <span>

namespace res {

// The entry of a small resource table whose member nId equals nId, or nullptr.
template <class T> const T *FindById(std::span<const T> table, int nId) {
    for (const T &entry : table) {
        if (entry.nId == nId)
            return &entry;
    }
    return nullptr;
}

} // namespace res
