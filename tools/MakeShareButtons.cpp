// Draws the share SDK's button pictures in the SDK's default look, at scale 2, into
// <resources>/images/SHSocialSDKResourcesNew.bundle/Buttons/:
//   the bar's buttons      "SHS_nav_button_close" ("关闭"), "SHS_nav_button_back" (a chevron and
//                          "返回") and "SHS_nav_button_refresh" (a circular arrow), 50 x 30
//                          points; the default theme shows them by their pictures alone, so
//                          without them they would be empty patches of the bar;
//   the friend picker's    avatar placeholder "SHS_User-Avatar-Placeholder" (a grey figure, 57
//                          points square);
//   the sign-in page's     follow check box "SHS_add_friend_on" / "_off", 40 x 38 points;
//   the edit screen's      follow switch, media-link placeholders, tool bar background,
//                          change-account button and switch-account button, and its post
//                          button "SHS_nav_button_send" ("发送");
//   the default theme's    white bar background "SHS_nav_bar_bg_white" and list row
//                          "SHS_comment_view_cell_white";
//   the other theme's      bar background "SHS_nav_bar_bg" and the sheet's panel
//                          "SHS_actionsheet_panel";
// and into .../OtherTheme/ the pictures of theme 0: the black bar "SHS_nav_bar_bg_black", the
// framed button "SHS_nav_button_normal" (stretched between caps of 8 and 10 points, so its
// corners keep their size at any width) and the back button "SHS_nav_back_button_normal" /
// "_tap". Theme 0 writes the buttons' titles over these frames.
// They are committed; run this again only to change their look:
//
//   make_share_buttons <resources directory>

#include <cairo.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Font.h"
#include "tools/BundleImageWriter.h"

using platform::BitmapContext;
using platform::Color;
using platform::Point;
using platform::Rect;

namespace {

// The navigation title's colour (70, 79, 97), so the bar's pictures read as part of the bar.
const Color kTitle = Color::rgba(70.0f / 255, 79.0f / 255, 97.0f / 255);

std::string titleButton(const std::string& title) {
    const platform::Size size{50, 30};
    BitmapContext context(size, 2);
    context.drawText(title, platform::Font::systemFont(16), kTitle, Rect{{0, 5}, {size.width, 22}},
                     platform::TextAlignment::Center, 1);
    return context.pngData();
}

namespace other_theme {

const Color kBarTop = Color::whiteAlpha(0.22f, 1);
const Color kBarBottom = Color::whiteAlpha(0.02f, 1);
const Color kButtonFill = Color::whiteAlpha(0.16f, 1);
const Color kButtonTap = Color::whiteAlpha(0.32f, 1);
const Color kButtonEdge = Color::whiteAlpha(0.55f, 1);

// A bar shading from `top` to `bottom`, with a light line along its lower edge.
std::string bar(const Color& top, const Color& bottom) {
    const platform::Size size{320, 44};
    BitmapContext context(size, 2);
    cairo_t* cr = context.cairo();
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, 0, 0, size.height);
    cairo_pattern_add_color_stop_rgb(shade, 0, top.red, top.green, top.blue);
    cairo_pattern_add_color_stop_rgb(shade, 1, bottom.red, bottom.green, bottom.blue);
    cairo_rectangle(cr, 0, 0, size.width, size.height);
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    context.strokeLine({0, size.height - 0.5}, {size.width, size.height - 0.5},
                       Color::whiteAlpha(0.4f, 1), 1);
    return context.pngData();
}

// The framed button: 20 x 30 points, its rounded corners (radius 5) inside the caps of 8
// (left) and 10 (top) and the 11 and 19 points right of and below the stretched middle.
std::string buttonFrame() {
    BitmapContext context(platform::Size{20, 30}, 2);
    const Rect box{{0.5, 0.5}, {19, 29}};
    context.fillRoundedRect(box, 5, kButtonFill);
    context.strokeRoundedRect(box, 5, kButtonEdge, 1);
    return context.pngData();
}

// The back button: a frame pointing left, 50 x 30 points.
std::string backButton(const Color& fill) {
    BitmapContext context(platform::Size{50, 30}, 2);
    cairo_t* cr = context.cairo();
    const double r = 5;
    cairo_new_path(cr);
    cairo_move_to(cr, 1, 15);
    cairo_line_to(cr, 12, 1);
    cairo_line_to(cr, 49 - r, 1);
    cairo_arc(cr, 49 - r, 1 + r, r, -std::numbers::pi / 2, 0);
    cairo_line_to(cr, 49, 29 - r);
    cairo_arc(cr, 49 - r, 29 - r, r, 0, std::numbers::pi / 2);
    cairo_line_to(cr, 12, 29);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, fill.red, fill.green, fill.blue, fill.alpha);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, kButtonEdge.red, kButtonEdge.green, kButtonEdge.blue, 1);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    return context.pngData();
}

// The sheet's panel in theme 0: dark, with a lighter band as deep as the 30-point top cap.
std::string sheetPanel() {
    const platform::Size size{320, 80};
    BitmapContext context(size, 2);
    context.fillRect(Rect{{0, 0}, size}, Color::whiteAlpha(0.25f, 1));
    context.fillRect(Rect{{0, 0}, {size.width, 30}}, Color::whiteAlpha(0.32f, 1));
    context.strokeLine({0, 0.5}, {size.width, 0.5}, Color::whiteAlpha(0.5f, 1), 1);
    return context.pngData();
}

}  // namespace other_theme

namespace friend_picker {

const Color kInk = kTitle;

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
    cairo_arc(cr, cx, cy, radius, -0.35 * std::numbers::pi, 1.55 * std::numbers::pi);
    cairo_stroke(cr);
    // The arrow head at the arc's open end, pointing along the turn.
    const double end = -0.35 * std::numbers::pi;
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

}  // namespace friend_picker

namespace oauth_page {

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

}  // namespace oauth_page

namespace share_edit {

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

const Picture std::numbers::pictures[] = {
    {"SHS_follow_on",
     {24, 24},
     [](BitmapContext& c, const Rect& r) {
         c.fillRoundedRect(r.insetBy(2, 2), 4, kAccent);
         c.strokeLine({7, 12}, {11, 16}, Color::white(), 2);
         c.strokeLine({11, 16}, {18, 8}, Color::white(), 2);
     }},
    {"SHS_follow_off",
     {24, 24},
     [](BitmapContext& c, const Rect& r) { c.strokeRoundedRect(r.insetBy(3, 3), 4, kInk, 1.5); }},
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
    // The default theme's list rows: white, with a hairline along the bottom.
    {"SHS_comment_view_cell_white",
     {320, 45},
     [](BitmapContext& c, const Rect& r) {
         c.fillRect(r, Color::white());
         c.strokeLine({0, r.height() - 0.5}, {r.width(), r.height() - 0.5},
                      Color::whiteAlpha(0.85f, 1), 1);
     }},
    {"SHS_share_change_to_account",
     {57, 57},
     [](BitmapContext& c, const Rect& r) {
         c.fillRoundedRect(r, 7, Color::whiteAlpha(0.97f, 1));
         glyph(c, r, "⇄", 26, kInk);
     }},
};

std::string draw(const Picture& picture) {
    BitmapContext context(picture.size, 2);
    picture.draw(context, Rect{{0, 0}, picture.size});
    return context.pngData();
}

}  // namespace share_edit

}  // namespace

int main(int argc, char** argv) {
    std::vector<tools::BundlePicture> pictures = {
        {"SHS_nav_button_close@2x.png", [] { return titleButton("关闭"); }},
        {"SHS_nav_button_send@2x.png", [] { return titleButton("发送"); }},
        {"SHS_nav_bar_bg_white@2x.png",
         [] { return other_theme::bar(Color::white(), Color::whiteAlpha(0.96f, 1)); }},
        {"SHS_nav_bar_bg@2x.png",
         [] { return other_theme::bar(Color::rgba(0.30f, 0.33f, 0.38f), other_theme::kBarTop); }},
        {"SHS_actionsheet_panel@2x.png", other_theme::sheetPanel},
        {"SHS_nav_button_back@2x.png", friend_picker::backButton},
        {"SHS_nav_button_refresh@2x.png", friend_picker::refreshButton},
        {"SHS_User-Avatar-Placeholder@2x.png", friend_picker::avatarPlaceholder},
        {"SHS_add_friend_on@2x.png", [] { return oauth_page::checkBox(true); }},
        {"SHS_add_friend_off@2x.png", [] { return oauth_page::checkBox(false); }},
    };
    for (const auto& picture : share_edit::std::numbers::pictures) {
        pictures.push_back({std::string(picture.name) + "@2x.png",
                            [&picture] { return share_edit::draw(picture); }});
    }
    const int buttons =
        tools::writeBundlePictures(argc, argv, "make_share_buttons", "Buttons", pictures);
    if (buttons != 0) {
        return buttons;
    }
    const std::vector<tools::BundlePicture> otherTheme = {
        {"SHS_nav_bar_bg_black@2x.png",
         [] { return other_theme::bar(other_theme::kBarTop, other_theme::kBarBottom); }},
        {"SHS_nav_button_normal@2x.png", other_theme::buttonFrame},
        {"SHS_nav_back_button_normal@2x.png",
         [] { return other_theme::backButton(other_theme::kButtonFill); }},
        {"SHS_nav_back_button_tap@2x.png",
         [] { return other_theme::backButton(other_theme::kButtonTap); }},
    };
    return tools::writeBundlePictures(argc, argv, "make_share_buttons", "OtherTheme", otherTheme);
}
