#include "view/Snapshot.h"

#include "platform/JpegFile.h"

#include <filesystem>
#include <system_error>

namespace view {

std::string SnapshotPath(const std::string &documents, const std::string &docPath, int page) {
    const std::string name = std::filesystem::path(docPath).stem().string();
    return documents + "/" + name + "/" + name + "_" + std::to_string(page) + ".jpg";
}

bool SaveSnapshot(const platform::Bitmap &screen, int width, int height, const std::string &path) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    return !error && platform::WriteJpeg(screen, width, height, path);
}

} // namespace view
