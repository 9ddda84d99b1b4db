// Draws the share edit screen's pictures into
// <resources>/images/SHSocialSDKResourcesNew.bundle/Buttons/ at scale 2: the follow switch's
// two states, the media-link placeholders, the tool bar's background, the change-account
// button, the avatar placeholder and the switch-account button.
//
//   make_share_edit_images <resources directory>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Font.h"

using platform::BitmapContext;
using platform::Color;
using platform::Rect;

namespace {

const Color kAccent = Color::rgba(0.16f, 0.55f, 0.85f);
const Color kTile = Color::whiteAlpha(0.88f, 1);
const Color kInk = Color::whiteAlpha(0.45f, 1);

struct Picture {
    const char* name;
    platform::Size size;
    std::function<void(BitmapContext&, const Rect&)> draw;
};

void glyph(BitmapContext& context, const Rect& box, const std::string& text, double size,
           const Color& colour) {
    const double line = size * 1.3;
    context.drawText(text, platform::Font::boldSystemFont(size), colour,
                     Rect{{box.origin.x, box.midY() - line / 2}, {box.width(), line}},
                     platform::TextAlignment::Center, 1);
}

void tile(BitmapContext& context, const Rect& box, const std::string& text) {
    context.fillRoundedRect(box, 6, kTile);
    glyph(context, box, text, box.height() * 0.4, kInk);
}

bool write(const std::filesystem::path& path, const std::string& png) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), std::streamsize(png.size()));
    return png.size() > 0 && bool(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_share_edit_images <resources directory>\n";
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
    const Picture pictures[] = {
        {"SHS_follow_on",
         {24, 24},
         [](BitmapContext& c, const Rect& r) {
             c.fillRoundedRect(r.insetBy(2, 2), 4, kAccent);
             c.strokeLine({7, 12}, {11, 16}, Color::white(), 2);
             c.strokeLine({11, 16}, {18, 8}, Color::white(), 2);
         }},
        {"SHS_follow_off",
         {24, 24},
         [](BitmapContext& c, const Rect& r) {
             c.strokeRoundedRect(r.insetBy(3, 3), 4, kInk, 1.5);
         }},
        {"SHS_url_image", {72, 72}, [](BitmapContext& c, const Rect& r) { tile(c, r, "图"); }},
        {"SHS_url_video", {72, 72}, [](BitmapContext& c, const Rect& r) { tile(c, r, "▶"); }},
        {"SHS_url_music", {72, 72}, [](BitmapContext& c, const Rect& r) { tile(c, r, "♪"); }},
        {"SHS_comment_bar_background",
         {320, 44},
         [](BitmapContext& c, const Rect& r) {
             c.fillRect(r, Color::whiteAlpha(0.96f, 1));
             c.strokeLine({0, 0.5}, {r.width(), 0.5}, Color::whiteAlpha(0.8f, 1), 1);
         }},
        {"SHS_share_change_account",
         {30, 30},
         [](BitmapContext& c, const Rect&) {
             c.fillEllipse(Rect{{10, 4}, {10, 10}}, kInk);
             c.fillRoundedRect(Rect{{6, 16}, {18, 10}}, 5, kInk);
         }},
        {"SHS_share_change_account_tap",
         {30, 30},
         [](BitmapContext& c, const Rect&) {
             c.fillEllipse(Rect{{10, 4}, {10, 10}}, kAccent);
             c.fillRoundedRect(Rect{{6, 16}, {18, 10}}, 5, kAccent);
         }},
        {"SHS_User-Avatar-Placeholder",
         {57, 57},
         [](BitmapContext& c, const Rect& r) {
             c.fillRect(r, Color::whiteAlpha(0.82f, 1));
             c.fillEllipse(Rect{{19, 10}, {19, 19}}, Color::whiteAlpha(0.97f, 1));
             c.fillEllipse(Rect{{9, 33}, {39, 34}}, Color::whiteAlpha(0.97f, 1));
         }},
        {"SHS_share_change_to_account",
         {57, 57},
         [](BitmapContext& c, const Rect& r) {
             c.fillRoundedRect(r, 7, Color::whiteAlpha(0.97f, 1));
             glyph(c, r, "⇄", 26, kInk);
         }},
    };
    for (const auto& picture : pictures) {
        BitmapContext context(picture.size, 2);
        picture.draw(context, Rect{{0, 0}, picture.size});
        const auto path = folder / (std::string(picture.name) + "@2x.png");
        if (!write(path, context.pngData())) {
            std::cerr << "cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
