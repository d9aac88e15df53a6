#pragma once

// Private to engine/: page sizes read straight from the page tree.

#include <optional>
#include <vector>

class PDFDoc;

namespace engine_ext {
struct PageTreeEntries;
}

struct PageBox {
    double w = 0, h = 0; // crop box size in points, before the page's own rotation
    int rotate = 0;      // the page's own /Rotate, brought into 0..359
};

// Every page's crop box and rotation, inherited through the page tree with the rules Poppler
// applies when it builds its pages, but without building them: opening a long document must
// not cost a full page object per page. Nothing when the tree is not a plain one (a loop, a
// count that disagrees with the catalog's, a broken node): the caller then asks Poppler page
// by page, which knows how to make the best of it. entries, when given, receives what every
// node and page draws with, read on the same pass.
std::optional<std::vector<PageBox>> ReadPageBoxes(PDFDoc &doc,
                                                  engine_ext::PageTreeEntries *entries = nullptr);
