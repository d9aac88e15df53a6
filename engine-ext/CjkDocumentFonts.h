#pragma once

class PDFDoc;

namespace engine_ext {

struct PageTreeEntries;

// Readies a freshly loaded document's fonts for Chinese text before any page is drawn:
// GBK-coded simple TrueType fonts are replaced, in the document's object table, by their
// composite equivalents, and every font the document does not embed gets its substitute file
// chosen. Call inside an engine call (it uses the configuration that call holds); without a
// configuration the document is left as it is. pages: the page tree's entries when the
// caller has read them already.
void PrepareCjkFonts(PDFDoc &doc, const PageTreeEntries *pages = nullptr);

} // namespace engine_ext
