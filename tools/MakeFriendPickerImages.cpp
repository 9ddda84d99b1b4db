// Draws the pictures of the share SDK's friend picker in the SDK's default look, at scale 2,
// into <resources>/images/SHSocialSDKResourcesNew.bundle/Buttons/: the back button
// "SHS_nav_button_back" (a chevron and "返回"), the refresh button "SHS_nav_button_refresh"
// (a circular arrow), both 50 x 30 points, and the avatar placeholder
// "SHS_User-Avatar-Placeholder" (a grey figure, 57 points square).
//
//   make_friend_picker_images <resources directory>

#include <cairo.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Font.h"

using platform::BitmapContext;
using platform::Color;
using platform::Rect;

namespace {

// The SDK's bar title colour.
const Color kInk = Color::rgba(70 / 255.0f, 79 / 255.0f, 97 / 255.0f);
constexpr double kPi = 3.14159265358979323846;

bool write(const std::filesystem::path& path, const std::string& png) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), std::streamsize(png.size()));
    return png.size() > 0 && bool(out.flush());
}

std::string backButton() {
    BitmapContext context(platform::Size{50, 30}, 2);
    context.strokeLine({12, 9}, {6, 15}, kInk, 2);
    context.strokeLine({6, 15}, {12, 21}, kInk, 2);
    context.drawText("返回", platform::Font::systemFont(14), kInk, Rect{{14, 6}, {36, 20}},
                     platform::TextAlignment::Left, 1);
    return context.pngData();
}

std::string refreshButton() {
    BitmapContext context(platform::Size{50, 30}, 2);
    cairo_t* cr = context.cairo();
    const double cx = 25, cy = 15, radius = 8;
    cairo_set_source_rgba(cr, kInk.red, kInk.green, kInk.blue, 1);
    cairo_set_line_width(cr, 2);
    cairo_arc(cr, cx, cy, radius, -0.35 * kPi, 1.55 * kPi);
    cairo_stroke(cr);
    // The arrow head at the arc's open end, pointing along the turn.
    const double end = -0.35 * kPi;
    const double x = cx + radius * std::cos(end), y = cy + radius * std::sin(end);
    cairo_move_to(cr, x + 4, y - 3);
    cairo_line_to(cr, x + 1, y + 4);
    cairo_line_to(cr, x - 4, y - 2);
    cairo_close_path(cr);
    cairo_fill(cr);
    return context.pngData();
}

std::string avatarPlaceholder() {
    BitmapContext context(platform::Size{57, 57}, 2);
    context.fillRoundedRect(Rect{{0, 0}, {57, 57}}, 7, Color::rgba(0.85f, 0.86f, 0.88f));
    const Color figure = Color::rgba(0.66f, 0.68f, 0.72f);
    context.fillEllipse(Rect{{19.5, 10}, {18, 18}}, figure);
    context.saveState();
    context.clip(Rect{{0, 0}, {57, 57}});
    context.fillEllipse(Rect{{10, 31}, {37, 34}}, figure);
    context.restoreState();
    return context.pngData();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_friend_picker_images <resources directory>\n";
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
    const std::pair<const char*, std::string> images[] = {
        {"SHS_nav_button_back@2x.png", backButton()},
        {"SHS_nav_button_refresh@2x.png", refreshButton()},
        {"SHS_User-Avatar-Placeholder@2x.png", avatarPlaceholder()},
    };
    for (const auto& [name, png] : images) {
        if (!write(folder / name, png)) {
            std::cerr << "cannot write " << folder / name << "\n";
            return 1;
        }
    }
    return 0;
}
