// Draws the client's bundle images into <resources>/images/: the tab icons, the introduction
// pages, the home tiles, the sign-in page, the home and side-menu pictures and the weather
// icons. They are plain on purpose (coloured rounded squares with a short caption, or a
// simple glyph) so that screenshots show a recognisable client. The PNGs are committed; run
// this again only to change their look:
//
//   make_icons <resources directory>
//
// File names follow the bundle lookup: "<name>@2x.png" for pictures looked up by name at the
// phone's scale, "<name>.png" for the tiles (read by file name with type "png") and for the
// full-screen pictures (drawn at one pixel a point to keep them small), and "<name>.png" as
// it stands for names that already end in "@2x".

#include <cairo.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"

using platform::BitmapContext;
using platform::Color;
using platform::Font;
using platform::Point;
using platform::Rect;
using platform::Size;

namespace {

Color hex(unsigned rgb) {
    return Color::fromARGB(0xff000000u | rgb);
}

// The client's own colours: the navigation bar red, the tab tint orange, greys of the lists.
const Color kRed = hex(0xd04b50);
const Color kOrange = hex(0xf3a306);
const Color kGrey = hex(0x8e8e93);
const Color kLightGrey = hex(0xdedede);
const Color kWhite = Color::white();

using Draw = std::function<void(BitmapContext&, Size)>;

struct Picture {
    std::string name;
    Size points;
    double scale = 2;
    Draw draw;
};

// The file the bundle lookup finds the picture by.
std::string fileName(const Picture& picture) {
    const std::string& name = picture.name;
    bool carriesScale = name.size() > 3 && name.compare(name.size() - 3, 3, "@2x") == 0;
    if (carriesScale || picture.scale == 1) {
        return name + ".png";
    }
    return name + "@2x.png";
}

// --- Drawing helpers ----------------------------------------------------------------------

void centredText(BitmapContext& context, const std::string& text, const Font& font,
                 const Color& color, const Rect& rect) {
    Size used = platform::TextMeasurer::current().boundingSize(text, font, {rect.size.width, 0});
    Rect line{{rect.origin.x, rect.origin.y + (rect.size.height - used.height) / 2},
              {rect.size.width, used.height + 1}};
    context.drawText(text, font, color, line, platform::TextAlignment::Center, 0);
}

// A rounded square filling the picture, with a caption of one to three characters.
Draw captionTile(Color background, std::string caption, Color foreground = kWhite) {
    return [=](BitmapContext& context, Size size) {
        double side = std::min(size.width, size.height);
        Rect square{{(size.width - side) / 2, (size.height - side) / 2}, {side, side}};
        context.fillRoundedRect(square, side * 0.22, background);
        // Two-character captions fill the width; single characters are set larger.
        double glyphs = caption.size() <= 3 ? 1 : caption.size() <= 6 ? 2 : 3;
        double fontSize = glyphs == 1 ? side * 0.56 : side * 0.78 / glyphs;
        centredText(context, caption, Font::boldSystemFont(fontSize), foreground, square);
    };
}

void fillCircle(BitmapContext& context, Point centre, double radius, const Color& color) {
    context.fillEllipse({{centre.x - radius, centre.y - radius}, {radius * 2, radius * 2}}, color);
}

// A head over shoulders, fitted into rect.
void person(BitmapContext& context, const Rect& rect, const Color& color) {
    double w = rect.size.width;
    double h = rect.size.height;
    double cx = rect.origin.x + w / 2;
    fillCircle(context, {cx, rect.origin.y + h * 0.3}, std::min(w, h) * 0.24, color);
    cairo_t* cr = context.cairo();
    cairo_save(cr);
    cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
    cairo_new_path(cr);
    cairo_move_to(cr, rect.origin.x + w * 0.1, rect.origin.y + h);
    cairo_curve_to(cr, rect.origin.x + w * 0.1, rect.origin.y + h * 0.52, rect.origin.x + w * 0.9,
                   rect.origin.y + h * 0.52, rect.origin.x + w * 0.9, rect.origin.y + h);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

// A padlock: a shackle over a body, fitted into rect.
void padlock(BitmapContext& context, const Rect& rect, const Color& color) {
    double w = rect.size.width;
    double h = rect.size.height;
    Rect body{{rect.origin.x + w * 0.1, rect.origin.y + h * 0.45}, {w * 0.8, h * 0.55}};
    context.fillRoundedRect(body, w * 0.12, color);
    cairo_t* cr = context.cairo();
    cairo_save(cr);
    cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
    cairo_set_line_width(cr, w * 0.14);
    cairo_new_path(cr);
    double radius = w * 0.26;
    double cx = rect.origin.x + w / 2;
    double cy = rect.origin.y + h * 0.1 + radius;
    cairo_move_to(cr, cx - radius, body.origin.y);
    cairo_line_to(cr, cx - radius, cy);
    cairo_arc(cr, cx, cy, radius, M_PI, 2 * M_PI);
    cairo_line_to(cr, cx + radius, body.origin.y);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void cloud(BitmapContext& context, const Rect& rect, const Color& color) {
    double w = rect.size.width;
    double h = rect.size.height;
    double x = rect.origin.x;
    double y = rect.origin.y;
    context.fillRoundedRect({{x, y + h * 0.45}, {w, h * 0.55}}, h * 0.27, color);
    fillCircle(context, {x + w * 0.35, y + h * 0.45}, h * 0.3, color);
    fillCircle(context, {x + w * 0.62, y + h * 0.38}, h * 0.38, color);
}

void sun(BitmapContext& context, Point centre, double radius, const Color& color) {
    for (int ray = 0; ray < 8; ++ray) {
        double angle = ray * M_PI / 4;
        Point from{centre.x + std::cos(angle) * radius * 1.3,
                   centre.y + std::sin(angle) * radius * 1.3};
        Point to{centre.x + std::cos(angle) * radius * 1.75,
                 centre.y + std::sin(angle) * radius * 1.75};
        context.strokeLine(from, to, color, radius * 0.28);
    }
    fillCircle(context, centre, radius, color);
}

const Color kSunColor = hex(0xf7b500);
const Color kCloudColor = hex(0xd9dde3);
const Color kRainColor = hex(0x5aa0e6);

// The weather icons sit on the side menu's dark brown, about 29 x 28 points.
Draw weather(bool withSun, bool withCloud, int rainDrops, int snowFlakes) {
    return [=](BitmapContext& context, Size size) {
        double w = size.width;
        double h = size.height;
        if (withSun) {
            double radius = withCloud ? h * 0.18 : h * 0.24;
            Point centre = withCloud ? Point{w * 0.32, h * 0.3} : Point{w / 2, h / 2};
            sun(context, centre, radius, kSunColor);
        }
        if (withCloud) {
            double top = withSun ? h * 0.3 : h * 0.12;
            cloud(context, {{w * 0.1, top}, {w * 0.8, h * 0.48}}, kCloudColor);
        }
        double fallTop = h * 0.72;
        int marks = rainDrops + snowFlakes;
        for (int i = 0; i < marks; ++i) {
            double x = w * (0.25 + 0.5 * (marks == 1 ? 0.5 : double(i) / (marks - 1)));
            if (i < rainDrops) {
                context.strokeLine({x + w * 0.04, fallTop}, {x - w * 0.04, h * 0.95}, kRainColor,
                                   w * 0.06);
            } else {
                fillCircle(context, {x, fallTop + h * 0.12}, w * 0.06, kWhite);
            }
        }
    };
}

// A full-screen introduction page: a coloured field with the school's name and what the page
// is about. Where it stands among the pages is the introduction's page control's to show, below
// the picture; dots drawn into the picture would stand as a second row above it.
Draw introductionPage(Color background, std::string heading, std::string line) {
    return [=](BitmapContext& context, Size size) {
        context.fillRect({{0, 0}, size}, background);
        double w = size.width;
        double h = size.height;
        fillCircle(context, {w / 2, h * 0.3}, w * 0.17, kWhite.withAlpha(0.25f));
        centredText(context, "岚", Font::boldSystemFont(w * 0.18), kWhite,
                    {{0, h * 0.3 - w * 0.17}, {w, w * 0.34}});
        centredText(context, heading, Font::boldSystemFont(w * 0.085), kWhite,
                    {{0, h * 0.48}, {w, w * 0.12}});
        centredText(context, line, Font::systemFont(w * 0.045), kWhite.withAlpha(0.9f),
                    {{w * 0.1, h * 0.48 + w * 0.14}, {w * 0.8, w * 0.2}});
    };
}

std::vector<Picture> pictures() {
    std::vector<Picture> all;

    // Tab icons: grey when the tab is not selected, orange when it is.
    struct Tab {
        std::string image;
        std::string selected;
        std::string caption;
    };
    for (const Tab& tab :
         {Tab{"新闻2@2x", "新闻-副本@2x", "新"}, Tab{"会议2-副本@2x", "会议-副本@2x", "会"},
          Tab{"通讯录2-副本@2x", "通讯录-副本@2x", "通"}, Tab{"设置2@2x", "设置-副本@2x", "设"}}) {
        all.push_back({tab.image, {25, 25}, 2, captionTile(kGrey, tab.caption)});
        all.push_back({tab.selected, {25, 25}, 2, captionTile(kOrange, tab.caption)});
    }

    // Introduction pages, one set per phone size.
    struct Screen {
        std::string prefix;
        Size size;
    };
    const std::vector<std::pair<std::string, std::string>> pages{
        {"岚溪资讯", "学校新闻与通知公告，随时随地掌握"},
        {"会议讲座", "一周会议、学术讲座一目了然"},
        {"校园服务", "考勤、就业、迎新与通讯录，一站办理"},
    };
    const Color pageColors[] = {kRed, hex(0xe08a2c), hex(0x3d7bb8)};
    for (const Screen& screen : {Screen{"4-", {320, 480}}, Screen{"5-", {320, 568}},
                                 Screen{"6-", {375, 667}}, Screen{"6+", {414, 736}}}) {
        for (int page = 1; page <= 3; ++page) {
            const auto& [heading, line] = pages[size_t(page - 1)];
            all.push_back({screen.prefix + std::to_string(page), screen.size, 1,
                           introductionPage(pageColors[page - 1], heading, line)});
        }
    }

    // Home tiles, 50 x 50 points. They are read by file name ("<name>.png"), so at one pixel
    // a point.
    struct Tile {
        std::string name;
        unsigned color;
        std::string caption;
    };
    for (const Tile& tile : {Tile{"通知公告", 0xe8544e, "通知"}, Tile{"学术讲座", 0x4a90d9, "讲座"},
                             Tile{"科研服务", 0x47b881, "科研"}, Tile{"问卷调查", 0x9b6dd6, "问卷"},
                             Tile{"迎新统计", 0xf3a306, "迎新"}, Tile{"就业服务", 0x2bb3c0, "就业"},
                             Tile{"电子邮箱", 0x5c7cfa, "邮箱"}, Tile{"app_icon", 0xd04b50, "考勤"},
                             Tile{"添加", 0xb8b8bd, "+"}}) {
        all.push_back({tile.name, {50, 50}, 1, captionTile(hex(tile.color), tile.caption)});
    }

    // Sign-in page.
    all.push_back({"背景", {375, 667}, 1, [](BitmapContext& context, Size size) {
                       context.fillRect({{0, 0}, size}, hex(0xb8373c));
                       context.fillEllipse({{-size.width * 0.4, size.height * 0.55},
                                            {size.width * 1.8, size.height}},
                                           hex(0xc9464b));
                   }});
    all.push_back(
        {"岚苑登录页面logo", {164, 215}, 2, [](BitmapContext& context, Size size) {
             double w = size.width;
             fillCircle(context, {w / 2, w / 2}, w / 2, kWhite);
             centredText(context, "岚", Font::boldSystemFont(w * 0.5), kRed, {{0, 0}, {w, w}});
             centredText(context, "岚溪学院", Font::boldSystemFont(w * 0.16), kWhite,
                         {{0, w + 4}, {w, size.height - w - 4}});
         }});
    all.push_back({"登录页面关闭", {30, 30}, 2, [](BitmapContext& context, Size size) {
                       double s = size.width;
                       context.strokeLine({s * 0.25, s * 0.25}, {s * 0.75, s * 0.75}, kWhite, 2.5);
                       context.strokeLine({s * 0.75, s * 0.25}, {s * 0.25, s * 0.75}, kWhite, 2.5);
                   }});
    all.push_back({"登录-账号", {130.0 / 7, 20}, 2, [](BitmapContext& context, Size size) {
                       person(context, {{0, 0}, size}, kWhite);
                   }});
    all.push_back({"登录-密码", {130.0 / 7, 20}, 2, [](BitmapContext& context, Size size) {
                       padlock(context, {{0, 0}, size}, kWhite);
                   }});
    all.push_back({"登录页面校训", {240, 24}, 2, [](BitmapContext& context, Size size) {
                       centredText(context, "博学  笃行  明德  至善", Font::systemFont(15),
                                   kWhite.withAlpha(0.85f), {{0, 0}, size});
                   }});

    // Home page and the pushed screens' bar.
    all.push_back(
        {"个人信息", {29.5455, 24.5455}, 2, [](BitmapContext& context, Size size) {
             person(context, {{size.width * 0.15, 0}, {size.width * 0.7, size.height}}, kWhite);
         }});
    all.push_back(
        {"默认图", {79, 55}, 2, [](BitmapContext& context, Size size) {
             context.fillRect({{0, 0}, size}, hex(0xeeeeee));
             centredText(context, "岚溪", Font::boldSystemFont(16), hex(0xb0b0b0), {{0, 0}, size});
         }});
    all.push_back({"返回", {32.5, 27}, 2, [](BitmapContext& context, Size size) {
                       double h = size.height;
                       context.strokeLine({14, h / 2}, {22, h / 2 - 8}, kWhite, 2.5);
                       context.strokeLine({14, h / 2}, {22, h / 2 + 8}, kWhite, 2.5);
                   }});

    // The web container: its back button pressed (the arrow dimmed), the fail view's picture
    // and its reload button.
    all.push_back({"返回-过度", {32.5, 27}, 2, [](BitmapContext& context, Size size) {
                       double h = size.height;
                       const Color dim = Color::whiteAlpha(1, 0.5f);
                       context.strokeLine({14, h / 2}, {22, h / 2 - 8}, dim, 2.5);
                       context.strokeLine({14, h / 2}, {22, h / 2 + 8}, dim, 2.5);
                   }});
    all.push_back({"页面加载失败", {210, 95}, 2, [](BitmapContext& context, Size size) {
                       // A page with a torn corner, and the words under it.
                       const Rect page{{size.width / 2 - 22, 4}, {44, 54}};
                       context.fillRoundedRect(page, 4, hex(0xeeeeee));
                       context.strokeRoundedRect(page, 4, kGrey, 2);
                       double cx = page.origin.x + page.size.width / 2, cy = page.origin.y + 27;
                       context.strokeLine({cx - 9, cy - 9}, {cx + 9, cy + 9}, kRed, 3);
                       context.strokeLine({cx - 9, cy + 9}, {cx + 9, cy - 9}, kRed, 3);
                       centredText(context, "页面加载失败", Font::systemFont(16), kGrey,
                                   {{0, 64}, {size.width, 28}});
                   }});
    all.push_back({"web刷新", {77, 32}, 2, [](BitmapContext& context, Size size) {
                       const Rect frame{{1, 1}, {size.width - 2, size.height - 2}};
                       context.fillRoundedRect(frame, 5, kWhite);
                       context.strokeRoundedRect(frame, 5, kRed, 1.5);
                       centredText(context, "重新加载", Font::systemFont(14), kRed, frame);
                   }});

    // The meeting schedule's title bar: previous and next week, and back to this week.
    for (bool next : {false, true}) {
        all.push_back(
            {next ? "下一周" : "上一周", {40, 40}, 2, [next](BitmapContext& context, Size size) {
                 double cx = size.width / 2, cy = size.height / 2;
                 double d = next ? 4 : -4;
                 context.strokeLine({cx - d, cy - 8}, {cx + d, cy}, kWhite, 2.5);
                 context.strokeLine({cx - d, cy + 8}, {cx + d, cy}, kWhite, 2.5);
             }});
    }
    all.push_back({"今天", {32, 27}, 2, captionTile(hex(0xf3a306), "今")});
    // Under the body of the news and notice detail pages.
    all.push_back({"新闻底部logo水印", {300, 150}, 2, [](BitmapContext& context, Size size) {
                       centredText(context, "岚溪学院", Font::boldSystemFont(28), hex(0xe4e4e8),
                                   {{0, 0}, size});
                   }});

    // The member detail page's phone rows: call (a handset on green) and text message (a
    // speech bubble on blue).
    all.push_back({"电话", {23, 22}, 2, [](BitmapContext& context, Size size) {
                       const double r = std::min(size.width, size.height) / 2;
                       const Point c{size.width / 2, size.height / 2};
                       fillCircle(context, c, r, hex(0x34b35a));
                       cairo_t* cr = context.cairo();
                       cairo_save(cr);
                       cairo_set_source_rgba(cr, 1, 1, 1, 1);
                       cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                       cairo_set_line_width(cr, r * 0.32);
                       cairo_new_path(cr);
                       cairo_arc(cr, c.x + r * 0.3, c.y - r * 0.3, r * 0.62, M_PI * 0.5, M_PI);
                       cairo_stroke(cr);
                       cairo_set_line_width(cr, r * 0.42);
                       cairo_move_to(cr, c.x - r * 0.32, c.y - r * 0.3);
                       cairo_line_to(cr, c.x - r * 0.32, c.y - r * 0.5);
                       cairo_move_to(cr, c.x + r * 0.3, c.y + r * 0.32);
                       cairo_line_to(cr, c.x + r * 0.5, c.y + r * 0.32);
                       cairo_stroke(cr);
                       cairo_restore(cr);
                   }});
    all.push_back(
        {"信息", {23, 22}, 2, [](BitmapContext& context, Size size) {
             const double w = size.width;
             const double h = size.height;
             const Color blue = hex(0x3d8be8);
             context.fillRoundedRect({{1, 2}, {w - 2, h * 0.68}}, h * 0.2, blue);
             cairo_t* cr = context.cairo();
             cairo_save(cr);
             cairo_set_source_rgba(cr, blue.red, blue.green, blue.blue, 1);
             cairo_move_to(cr, w * 0.3, h * 0.6);
             cairo_line_to(cr, w * 0.22, h * 0.95);
             cairo_line_to(cr, w * 0.52, h * 0.66);
             cairo_close_path(cr);
             cairo_fill(cr);
             cairo_restore(cr);
             for (int dot = -1; dot <= 1; ++dot)
                 fillCircle(context, {w / 2 + dot * w * 0.22, 2 + h * 0.34}, h * 0.07, kWhite);
         }});

    // The statistics screen's refresh bar button: a circular arrow.
    all.push_back({"刷新", {25, 25}, 2, [](BitmapContext& context, Size size) {
                       double c = size.width / 2, r = size.width * 0.32;
                       const double pi = 3.14159265358979;
                       for (int i = 0; i < 10; ++i) {
                           double a0 = pi * 0.25 + i * pi * 0.15, a1 = a0 + pi * 0.15;
                           context.strokeLine({c + r * std::cos(a0), c + r * std::sin(a0)},
                                              {c + r * std::cos(a1), c + r * std::sin(a1)}, kWhite,
                                              2.2);
                       }
                       Point tip{c + r * std::cos(pi * 0.25), c + r * std::sin(pi * 0.25)};
                       context.strokeLine(tip, {tip.x + 5, tip.y - 1}, kWhite, 2.2);
                       context.strokeLine(tip, {tip.x + 1, tip.y - 5}, kWhite, 2.2);
                   }});

    // The career lists' address pin, and the arrow of the recruitment detail's cards, pointing
    // up as "收起" says (the screens turn it to point down).
    all.push_back({"地址", {10, 12}, 2, [](BitmapContext& context, Size size) {
                       double w = size.width;
                       const Color pin = hex(0x93939a);
                       fillCircle(context, {w / 2, w / 2}, w / 2, pin);
                       cairo_t* cr = context.cairo();
                       cairo_save(cr);
                       cairo_set_source_rgba(cr, pin.red, pin.green, pin.blue, pin.alpha);
                       cairo_move_to(cr, w * 0.1, w * 0.7);
                       cairo_line_to(cr, w / 2, size.height);
                       cairo_line_to(cr, w * 0.9, w * 0.7);
                       cairo_close_path(cr);
                       cairo_fill(cr);
                       cairo_restore(cr);
                       fillCircle(context, {w / 2, w / 2}, w * 0.18, kWhite);
                   }});
    all.push_back({"箭头 - 收起", {145.0 / 9, 85.0 / 9}, 2, [](BitmapContext& context, Size size) {
                       double w = size.width, h = size.height;
                       const Color arrow = hex(0xb0b0b5);
                       context.strokeLine({w * 0.1, h * 0.85}, {w / 2, h * 0.15}, arrow, 1.6);
                       context.strokeLine({w / 2, h * 0.15}, {w * 0.9, h * 0.85}, arrow, 1.6);
                   }});

    // Side menu.
    all.push_back(
        {"默认头像", {108, 108}, 2, [](BitmapContext& context, Size size) {
             fillCircle(context, {size.width / 2, size.height / 2}, size.width / 2, kLightGrey);
             person(
                 context,
                 {{size.width * 0.2, size.height * 0.18}, {size.width * 0.6, size.height * 0.64}},
                 hex(0x9a948d));
         }});
    all.push_back({"订阅", {250.0 / 9, 235.0 / 9}, 2, captionTile(hex(0xe0a040), "订")});
    all.push_back({"清除", {250.0 / 9, 235.0 / 9}, 2, captionTile(hex(0x7d9fc0), "清")});
    all.push_back({"晴", {30, 29}, 2, weather(true, false, 0, 0)});
    all.push_back({"多云", {30, 29}, 2, weather(false, true, 0, 0)});
    all.push_back({"晴转多云", {30, 29}, 2, weather(true, true, 0, 0)});
    all.push_back({"雨", {30, 29}, 2, weather(false, true, 3, 0)});
    all.push_back({"雪", {30, 29}, 2, weather(false, true, 0, 3)});
    all.push_back({"雨夹雪", {30, 29}, 2, weather(false, true, 2, 1)});

    // The staff directory: the cover shown to users who may not see it (a padlocked card)
    // and the picture of an empty list or search.
    all.push_back(
        {"Telephonebook-nopermissions", {196, 60}, 2, [](BitmapContext& context, Size size) {
             padlock(context, {{8, 10}, {32, 40}}, kGrey);
             context.drawText("仅限教职工查看", Font::boldSystemFont(17), kGrey,
                              {{52, 10}, {size.width - 52, 22}}, platform::TextAlignment::Left, 1);
             context.drawText("请使用教工账号登录", Font::systemFont(13), kGrey,
                              {{52, 34}, {size.width - 52, 18}}, platform::TextAlignment::Left, 1);
         }});
    all.push_back(
        {"暂无内容", {210, 95}, 2, [](BitmapContext& context, Size size) {
             const double w = size.width;
             context.fillRoundedRect({{w / 2 - 30, 4}, {60, 46}}, 8, kLightGrey);
             context.strokeLine({w / 2 - 18, 20}, {w / 2 + 18, 20}, kWhite, 3);
             context.strokeLine({w / 2 - 18, 32}, {w / 2 + 10, 32}, kWhite, 3);
             centredText(context, "暂无内容", Font::systemFont(16), kGrey, {{0, 58}, {w, 30}});
         }});

    // The update overlay: the card's header, its picture and the close button.
    all.push_back({"升级背景", {257, 133}, 2, [](BitmapContext& context, Size size) {
                       context.fillRect({{0, 0}, size}, hex(0xf7554a));
                       fillCircle(context, {size.width * 0.9, size.height * 0.1},
                                  size.height * 0.55, kWhite.withAlpha(0.12f));
                       fillCircle(context, {size.width * 0.05, size.height * 1.05},
                                  size.height * 0.45, kWhite.withAlpha(0.1f));
                   }});
    all.push_back(
        {"版本更新", {114, 68}, 2, [](BitmapContext& context, Size size) {
             double h = size.height;
             double cx = size.width / 2;
             // A phone with an arrow rising out of it.
             context.fillRoundedRect({{cx - h * 0.3, h * 0.08}, {h * 0.6, h * 0.86}}, h * 0.1,
                                     kWhite);
             context.fillRoundedRect({{cx - h * 0.24, h * 0.16}, {h * 0.48, h * 0.64}}, h * 0.04,
                                     hex(0xf7554a));
             context.strokeLine({cx, h * 0.68}, {cx, h * 0.28}, kWhite, h * 0.07);
             context.strokeLine({cx, h * 0.26}, {cx - h * 0.13, h * 0.4}, kWhite, h * 0.07);
             context.strokeLine({cx, h * 0.26}, {cx + h * 0.13, h * 0.4}, kWhite, h * 0.07);
             fillCircle(context, {cx, h * 0.87}, h * 0.035, hex(0xf7554a));
         }});
    all.push_back({"关闭", {24, 24}, 2, [](BitmapContext& context, Size size) {
                       double c = size.width / 2;
                       fillCircle(context, {c, c}, c, kWhite);
                       double d = size.width * 0.2;
                       context.strokeLine({c - d, c - d}, {c + d, c + d}, hex(0x777777), 2);
                       context.strokeLine({c - d, c + d}, {c + d, c - d}, hex(0x777777), 2);
                   }});
    return all;
}

bool write(const std::filesystem::path& path, const std::string& png) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), std::streamsize(png.size()));
    return png.size() > 0 && bool(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_icons <resources directory>\n";
        return 2;
    }
    std::filesystem::path directory = std::filesystem::path(argv[1]) / "images";
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        std::cerr << "cannot create " << directory << ": " << error.message() << "\n";
        return 1;
    }
    int written = 0;
    for (const Picture& picture : pictures()) {
        BitmapContext context(picture.points, picture.scale);
        picture.draw(context, picture.points);
        std::filesystem::path file = directory / fileName(picture);
        if (!write(file, context.pngData())) {
            std::cerr << "cannot write " << file << "\n";
            return 1;
        }
        ++written;
    }
    std::cout << "wrote " << written << " images into " << directory << "\n";
    return 0;
}
