// Draws the progress overlay's icons, "success.png" (a check mark) and "error.png" (a cross),
// white on clear, 37 points square, into <resources>/MBProgressHUD.bundle/.
//
//   make_hud_icons <resources directory>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "platform/graphics/BitmapContext.h"

using platform::BitmapContext;
using platform::Color;

namespace {

constexpr double kSide = 37;
constexpr double kStroke = 3.5;

bool write(const std::filesystem::path& path, const std::string& png) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), std::streamsize(png.size()));
    return png.size() > 0 && bool(out.flush());
}

std::string successIcon() {
    BitmapContext context(platform::Size{kSide, kSide});
    context.strokeLine({8, 19}, {15.5, 26.5}, Color::white(), kStroke);
    context.strokeLine({15.5, 26.5}, {29.5, 10.5}, Color::white(), kStroke);
    return context.pngData();
}

std::string errorIcon() {
    BitmapContext context(platform::Size{kSide, kSide});
    context.strokeLine({10, 10}, {27, 27}, Color::white(), kStroke);
    context.strokeLine({27, 10}, {10, 27}, Color::white(), kStroke);
    return context.pngData();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_hud_icons <resources directory>\n";
        return 2;
    }
    std::filesystem::path bundle = std::filesystem::path(argv[1]) / "MBProgressHUD.bundle";
    std::error_code error;
    std::filesystem::create_directories(bundle, error);
    if (error) {
        std::cerr << "cannot create " << bundle << ": " << error.message() << "\n";
        return 1;
    }
    bool ok =
        write(bundle / "success.png", successIcon()) && write(bundle / "error.png", errorIcon());
    if (!ok) {
        std::cerr << "cannot write the icons into " << bundle << "\n";
        return 1;
    }
    std::cout << "wrote " << bundle / "success.png"
              << " and " << bundle / "error.png"
              << "\n";
    return 0;
}
