// Draws the pictures of the share SDK's platform sign-in page into
// <resources>/images/SHSocialSDKResourcesNew.bundle/Buttons/, at scale 2:
//   SHS_nav_button_back   the back button (the default theme shows it by its picture alone):
//                         a chevron and "返回" in the SDK's title colour, 50 by 30 points;
//   SHS_add_friend_on/off the follow bar's check box, checked and empty, 40 by 38 points.
// They are committed; run this again only to change their look:
//   make_oauth_page_images <resources directory>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Font.h"

using platform::BitmapContext;
using platform::Color;
using platform::Point;
using platform::Rect;

namespace {

// The navigation title's colour (70, 79, 97), so the pictures read as part of the SDK's bar.
const Color kTitle = Color::rgba(70.0f / 255, 79.0f / 255, 97.0f / 255);

std::string backButton() {
    BitmapContext context(platform::Size{50, 30}, 2);
    context.strokeLine(Point{13, 8}, Point{6, 15}, kTitle, 2);
    context.strokeLine(Point{6, 15}, Point{13, 22}, kTitle, 2);
    context.drawText("返回", platform::Font::systemFont(16), kTitle, Rect{{14, 5}, {36, 22}},
                     platform::TextAlignment::Center, 1);
    return context.pngData();
}

std::string checkBox(bool checked) {
    BitmapContext context(platform::Size{40, 38}, 2);
    const Rect box{{11, 10}, {18, 18}};
    if (checked) {
        context.fillRoundedRect(box, 3, kTitle);
        context.strokeLine(Point{15, 19}, Point{19, 23}, Color::white(), 2);
        context.strokeLine(Point{19, 23}, Point{25, 14}, Color::white(), 2);
    } else {
        context.strokeRoundedRect(box, 3, kTitle, 1.5);
    }
    return context.pngData();
}

bool write(const std::filesystem::path& path, const std::string& png) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), std::streamsize(png.size()));
    if (png.empty() || !out.flush()) {
        std::cerr << "cannot write " << path << "\n";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_oauth_page_images <resources directory>\n";
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
    const bool written = write(folder / "SHS_nav_button_back@2x.png", backButton()) &&
                         write(folder / "SHS_add_friend_on@2x.png", checkBox(true)) &&
                         write(folder / "SHS_add_friend_off@2x.png", checkBox(false));
    return written ? 0 : 1;
}
