#pragma once

// A document's file read whole into memory, for Poppler to read its objects from there.
//
// Poppler reads a file in 256-byte pieces, one system call each, and reads many objects again
// on every page: tens of thousands of calls for a few dozen pages. From memory it takes none.

#include <Object.h>
#include <Stream.h>
#include <goo/GooString.h>

#include <optional>
#include <string>

class GooFile;

namespace engine_ext {

// Every byte of the file, or nothing when it cannot be read whole.
std::optional<std::string> ReadWholeFile(const GooFile &file);

// The bytes and name a stream of a file in memory stands on. A base class of the stream, so
// that they exist before MemStream points at them.
struct CFileBytes {
    std::string m_Bytes;
    GooString m_FileName;
};

// A file's bytes in memory under the file's name: Poppler's document knows its file by name, and
// saving copies these bytes, the file as it was read.
class CFileInMemoryStream : private CFileBytes, public MemStream {
public:
    CFileInMemoryStream(std::string bytes, const std::string &fileName)
        : CFileBytes{std::move(bytes), GooString(fileName)},
          MemStream(m_Bytes.data(), 0, static_cast<Goffset>(m_Bytes.size()), Object(objNull)) {}

    GooString *getFileName() override { return &m_FileName; }
    const std::string &Bytes() const { return m_Bytes; }
};

} // namespace engine_ext
