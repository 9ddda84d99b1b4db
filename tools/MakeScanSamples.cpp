// Draws what the code scanner needs from the bundle: its artwork ("背景23", "扫描框", "扫描条"
// at scale 2 into <resources>/images/) and the sample codes the front end and the tests hold
// up to the camera (<resources>/sample/qr-demo.png, a QR code of a check-in page of the demo
// school, and <resources>/sample/ean13-demo.png, a library book's EAN-13 bar code).
//
//   make_scan_samples <resources directory>

#define ZX_USE_UTF8
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"

using platform::BitmapContext;
using platform::Color;

namespace {

constexpr const char* kDemoQRText = "http://portal.lanxi-campus.example/checkin?room=A204";
constexpr const char* kDemoEAN13Text = "9787115428028";

bool write(const std::filesystem::path& path, const std::string& png) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), std::streamsize(png.size()));
    return png.size() > 0 && bool(out.flush());
}

// Black modules on white paper, `width` by `height` pixels with the writer's quiet zone.
std::string codeImage(ZXing::BarcodeFormat format, const std::string& text, int width, int height) {
    const ZXing::BitMatrix matrix =
        ZXing::MultiFormatWriter(format).setMargin(10).encode(text, width, height);
    std::vector<std::uint32_t> argb(static_cast<size_t>(matrix.width()) * matrix.height());
    for (int y = 0; y < matrix.height(); ++y) {
        for (int x = 0; x < matrix.width(); ++x)
            argb[static_cast<size_t>(y) * matrix.width() + x] =
                matrix.get(x, y) ? 0xFF000000u : 0xFFFFFFFFu;
    }
    return platform::Image::fromARGB(matrix.width(), matrix.height(), std::move(argb)).pngData();
}

std::string background() {
    BitmapContext context(platform::Size{375, 667}, 2, true);
    context.fillRect({{0, 0}, {375, 667}}, Color(0.09f, 0.11f, 0.15f, 1));
    return context.pngData();
}

// Four green corner brackets round a clear box.
std::string scanBox() {
    constexpr double side = 291, arm = 24, stroke = 4;
    const Color green(0.15f, 0.85f, 0.35f, 1);
    BitmapContext context(platform::Size{side, side}, 2);
    const double near = stroke / 2, far = side - stroke / 2;
    for (double x : {near, far}) {
        for (double y : {near, far}) {
            const double dx = x == near ? arm : -arm;
            const double dy = y == near ? arm : -arm;
            context.strokeLine({x, y}, {x + dx, y}, green, stroke);
            context.strokeLine({x, y}, {x, y + dy}, green, stroke);
        }
    }
    return context.pngData();
}

std::string scanLine() {
    BitmapContext context(platform::Size{270, 4}, 2);
    context.fillRoundedRect({{0, 1}, {270, 2}}, 1, Color(0.15f, 0.85f, 0.35f, 1));
    return context.pngData();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_scan_samples <resources directory>\n";
        return 2;
    }
    const std::filesystem::path resources = argv[1];
    const struct {
        std::filesystem::path path;
        std::string png;
    } files[] = {
        {resources / "images" / "背景23@2x.png", background()},
        {resources / "images" / "扫描框@2x.png", scanBox()},
        {resources / "images" / "扫描条@2x.png", scanLine()},
        {resources / "sample" / "qr-demo.png",
         codeImage(ZXing::BarcodeFormat::QRCode, kDemoQRText, 400, 400)},
        {resources / "sample" / "ean13-demo.png",
         codeImage(ZXing::BarcodeFormat::EAN13, kDemoEAN13Text, 380, 160)},
    };
    for (const auto& file : files) {
        if (!write(file.path, file.png)) {
            std::cerr << "could not write " << file.path << "\n";
            return 1;
        }
    }
    return 0;
}
