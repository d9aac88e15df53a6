#pragma once

// What each fuzz target does with one input. The same functions run under libFuzzer
// (FuzzEntry.cpp, built with VESK_FUZZ) and replay the saved regression inputs in the ordinary
// test suite (FuzzRegressionTest.cpp). Each returns 0; a fault shows as a crash or a hang.

#include <cstddef>
#include <cstdint>

// Arbitrary bytes as a document: opened with a recording tree, measured, laid out, its
// bookmarks followed, its first pages drawn at a small zoom and their text read.
int FuzzDocument(const std::uint8_t *data, std::size_t size);

// The certificate route: a whole file when the input starts with "%PDF", otherwise an
// encryption dictionary's entries or one recipient block inside a small document, opened with a
// test user's certificate database when $VESK_FUZZ_HOME names one.
int FuzzCertificateEncryption(const std::uint8_t *data, std::size_t size);

// The GBK and CJK font preparation: a whole file when the input starts with "%PDF", otherwise
// the embedded file of a GBK-named TrueType font, or the entries of a font dictionary that
// embeds nothing, drawn and read in a small document.
int FuzzCjkFonts(const std::uint8_t *data, std::size_t size);
