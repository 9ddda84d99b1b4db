#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/graphics/Image.h"

namespace platform {

// One photo of the library.
struct PhotoAsset {
    std::filesystem::path file;
    // The full image as stored (with its EXIF orientation); empty when it cannot be read.
    Image originImage() const { return Image::fromFile(file); }
    // The photo decoded no larger than a thumbnail of `shownPixels` needs (aspect fill).
    Image thumbnail(Size shownPixels) const {
        return Image::fromFile(file, 1, nullptr, shownPixels);
    }
    std::string name() const { return file.filename().string(); }
};

// The stand-in phone's photo library: the PNG and JPEG files of one folder that tests or the
// front end choose, in name order, as the album "相机胶卷". No folder: an empty library.
// Main thread only.
class PhotoLibrary {
public:
    static constexpr const char* kCameraRollName = "相机胶卷";

    static PhotoLibrary& shared();

    // Fails, keeping the previous folder, when the path is not a readable folder.
    bool setFolder(const std::filesystem::path& folder, std::string* error = nullptr);
    const std::filesystem::path& folder() const { return m_folder; }
    std::vector<PhotoAsset> assets() const;

    void reset() { m_folder.clear(); }

private:
    std::filesystem::path m_folder;
};

}  // namespace platform
