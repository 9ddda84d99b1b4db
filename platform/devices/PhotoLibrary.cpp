#include "platform/devices/PhotoLibrary.h"

#include <algorithm>
#include <system_error>

namespace platform {

namespace {

bool isPhotoFile(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".png" || extension == ".jpg" || extension == ".jpeg";
}

}  // namespace

PhotoLibrary& PhotoLibrary::shared() {
    static PhotoLibrary library;
    return library;
}

bool PhotoLibrary::setFolder(const std::filesystem::path& folder, std::string* error) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        if (error)
            *error = "not a folder: " + folder.string();
        return false;
    }
    m_folder = folder;
    return true;
}

std::vector<PhotoAsset> PhotoLibrary::assets() const {
    std::vector<PhotoAsset> found;
    if (m_folder.empty())
        return found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(m_folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (it->is_regular_file(ec) && isPhotoFile(it->path()))
            found.push_back({it->path()});
    }
    std::sort(found.begin(), found.end(),
              [](const PhotoAsset& a, const PhotoAsset& b) { return a.file < b.file; });
    return found;
}

}  // namespace platform
