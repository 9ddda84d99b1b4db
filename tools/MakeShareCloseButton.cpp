// Draws the share SDK's close button picture, "SHS_nav_button_close.png": the word "关闭" in
// the SDK's title colour on a clear ground, 50 by 30 points at scale 2, into
// <resources>/images/SHSocialSDKResourcesNew.bundle/Buttons/. The default theme shows the close
// button by its picture alone, so without it the button would be an empty patch of the bar.
//
//   make_share_close_button <resources directory>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Font.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_share_close_button <resources directory>\n";
        return 2;
    }
    const std::filesystem::path folder =
        std::filesystem::path(argv[1]) / "images" / "SHSocialSDKResourcesNew.bundle" / "Buttons";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::cerr << "cannot create " << folder << ": " << error.message() << "\n";
        return 1;
    }
    const platform::Size size{50, 30};
    platform::BitmapContext context(size, 2);
    // The navigation title's colour (70, 79, 97), so the button reads as part of the bar.
    const auto colour = platform::Color::rgba(70.0f / 255, 79.0f / 255, 97.0f / 255);
    context.drawText("关闭", platform::Font::systemFont(16), colour,
                     platform::Rect{{0, 5}, {size.width, 22}}, platform::TextAlignment::Center, 1);
    const std::string png = context.pngData();
    const auto path = folder / "SHS_nav_button_close@2x.png";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), std::streamsize(png.size()));
    if (png.empty() || !out.flush()) {
        std::cerr << "cannot write " << path << "\n";
        return 1;
    }
    return 0;
}
