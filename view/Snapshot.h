#pragma once

#include "platform/Bitmap.h"

#include <string>

namespace view {

// Where a snapshot of page of the document at docPath goes: documents/name/name_page.jpg,
// name being the document's file name without its folder and extension.
std::string SnapshotPath(const std::string &documents, const std::string &docPath, int page);

// Writes the top-left width x height pixels of the screen picture to path as a JPEG file,
// making its folders; a file of that name is replaced. False when it cannot be written.
bool SaveSnapshot(const platform::Bitmap &screen, int width, int height, const std::string &path);

} // namespace view
