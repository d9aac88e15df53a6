#pragma once

class PDFDoc;

namespace engine_ext {

// Readies a freshly loaded document's fonts for Chinese text before any page is drawn:
// GBK-coded simple TrueType fonts are replaced, in the document's object table, by their
// composite equivalents, and every font the document does not embed gets its substitute file
// chosen. Call inside an engine call (it uses the configuration that call holds); without a
// configuration the document is left as it is.
void PrepareCjkFonts(PDFDoc &doc);

} // namespace engine_ext
