// The command line and file writing shared by the programs that draw the share SDK's pictures
// into <resources>/images/SHSocialSDKResourcesNew.bundle/<folder>/: each takes the resources
// directory as its only argument and stops at the first picture it cannot write.

#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace tools {

struct BundlePicture {
    std::string file;                   // e.g. "SHS_nav_button_back@2x.png"
    std::function<std::string()> draw;  // the picture's PNG bytes
};

// Writes an encoded picture, replacing any older file. An empty `png` means the drawing could
// not be encoded; that fails before the file is opened, so an older picture is kept.
inline bool writePng(const std::filesystem::path& path, const std::string& png) {
    if (png.empty()) {
        std::cerr << "cannot write " << path << ": the picture did not encode\n";
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), std::streamsize(png.size()));
    if (!out.flush()) {
        std::cerr << "cannot write " << path << "\n";
        return false;
    }
    return true;
}

// The whole of such a program's main: checks the arguments, creates the bundle's `folder` under
// the resources directory and writes `pictures` into it. Returns the exit status: 0 when all
// were written, 2 for wrong arguments, 1 for a folder or picture that could not be written.
inline int writeBundlePictures(int argc, char** argv, const char* program, const char* folder,
                               const std::vector<BundlePicture>& pictures) {
    if (argc != 2) {
        std::cerr << "usage: " << program << " <resources directory>\n";
        return 2;
    }
    const std::filesystem::path directory =
        std::filesystem::path(argv[1]) / "images" / "SHSocialSDKResourcesNew.bundle" / folder;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        std::cerr << "cannot create " << directory << ": " << error.message() << "\n";
        return 1;
    }
    for (const auto& picture : pictures) {
        if (!writePng(directory / picture.file, picture.draw())) {
            return 1;
        }
    }
    return 0;
}

}  // namespace tools
