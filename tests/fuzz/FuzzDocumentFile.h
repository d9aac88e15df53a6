#pragma once

#include "engine/PdfApi.h"

#include <cstddef>
#include <cstdint>
#include <string>

// One engine for the whole fuzzing process, as a window keeps one for each document it shows,
// and one scratch file that every input is written to before it is opened.
class CFuzzEngine {
public:
    CFuzzEngine();
    ~CFuzzEngine();
    CFuzzEngine(const CFuzzEngine &) = delete;
    CFuzzEngine &operator=(const CFuzzEngine &) = delete;

    // Writes the bytes to the scratch file, opens it, and if it opened, exercises every call a
    // reading view makes on the first pages. Returns PdfOpen's result.
    int OpenAndRead(const void *bytes, std::size_t size);

private:
    void ReadOpenedDocument();

    PDFHANDLE m_h;
    std::string m_strPath;
};

// The process's engine, made on first use.
CFuzzEngine &FuzzEngine();

// PDF files written around a fuzzed part.
std::string SmallDocument(const std::string &pageResources, const std::string &content,
                          const std::string &extraObjects, int extraObjectCount,
                          const std::string &trailerEntries);
std::string HexOf(const std::uint8_t *data, std::size_t size);
