#pragma once

// Private to engine-ext: Poppler types appear here.

#include "engine-ext/PageTreeEntries.h"

#include <Object.h>

#include <vector>

namespace engine_ext {

// The font dictionaries a document can draw with, each once: those of the page tree's
// resources (inherited ones too), of form XObjects, tiling patterns, graphics states (the
// font a state sets and its soft mask's group) and Type3 fonts within them, of annotation
// appearances and of the interactive form's default resources. Only
// fonts that are objects of their own are found; a font written inside its resource
// dictionary is left to Poppler as it is. Every object is read before the caller changes
// any, as Poppler may rebuild a damaged object table on the way and would not once objects
// are changed.
// pages: the page tree's entries when they were collected already; the tree is walked here
// otherwise.
std::vector<Ref> FindDocumentFonts(XRef &xref, const PageTreeEntries *pages = nullptr);

} // namespace engine_ext
