#pragma once

// Private to engine/ and engine-ext/: Poppler types appear here.

#include <Object.h>

#include <vector>

namespace engine_ext {

// What the nodes and pages of a page tree draw with: their /Resources and /Annots entries as
// written (references or direct objects). Collected by the one pass over the page tree at
// open, so the font preparation need not read every page dictionary a second time.
struct PageTreeEntries {
    std::vector<Object> resources;
    std::vector<Object> annotations;

    void Collect(Dict &nodeOrPage) {
        if (Object r = nodeOrPage.lookupNF("Resources").copy(); !r.isNull())
            resources.push_back(std::move(r));
        if (Object a = nodeOrPage.lookupNF("Annots").copy(); !a.isNull())
            annotations.push_back(std::move(a));
    }
};

} // namespace engine_ext
