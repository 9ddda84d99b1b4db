// Draws the share sheet's platform icons, "SHS_<platform>_icon.png": a rounded square in the
// platform's colour with the first character of its name, 80 points square at scale 2 with the
// square in the middle, into <resources>/images/SHSocialSDKResourcesNew.bundle/SnsPlatform/.
//
//   make_share_icons <resources directory>

#include <string>
#include <vector>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Font.h"
#include "tools/BundleImageWriter.h"

using platform::BitmapContext;
using platform::Color;

namespace {

struct Icon {
    const char* platform;
    const char* glyph;
    Color colour;
};

constexpr double kSide = 80;
constexpr double kSquare = 48;

std::string icon(const Icon& entry) {
    BitmapContext context(platform::Size{kSide, kSide}, 2);
    const double inset = (kSide - kSquare) / 2;
    const platform::Rect square{{inset, inset - 6}, {kSquare, kSquare}};
    context.fillRoundedRect(square, 10, entry.colour);
    context.drawText(entry.glyph, platform::Font::boldSystemFont(22), Color::white(),
                     platform::Rect{{square.origin.x, square.origin.y + 10}, {kSquare, 30}},
                     platform::TextAlignment::Center, 1);
    return context.pngData();
}

}  // namespace

int main(int argc, char** argv) {
    static const Icon icons[] = {
        {"qzone", "空", Color::rgba(0.98f, 0.75f, 0.18f)},
        {"tencent", "腾", Color::rgba(0.16f, 0.55f, 0.85f)},
        {"renren", "人", Color::rgba(0.13f, 0.40f, 0.75f)},
        {"douban", "豆", Color::rgba(0.22f, 0.62f, 0.29f)},
        {"email", "邮", Color::rgba(0.45f, 0.52f, 0.60f)},
        {"sms", "信", Color::rgba(0.30f, 0.75f, 0.40f)},
        {"facebook", "f", Color::rgba(0.23f, 0.35f, 0.60f)},
        {"twitter", "t", Color::rgba(0.11f, 0.63f, 0.95f)},
    };
    std::vector<tools::BundlePicture> pictures;
    for (const auto& entry : icons) {
        pictures.push_back({std::string("SHS_") + entry.platform + "_icon@2x.png",
                            [&entry] { return icon(entry); }});
    }
    return tools::writeBundlePictures(argc, argv, "make_share_icons", "SnsPlatform", pictures);
}
