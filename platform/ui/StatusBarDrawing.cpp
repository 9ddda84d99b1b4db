#include "platform/ui/StatusBarDrawing.h"

#include <cairo.h>

#include <numbers>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Application.h"

namespace platform {

namespace {

// The phone's proportions for a 20-point bar.
constexpr double kEdgeMargin = 6;
constexpr int kSignalDots = 5;
constexpr double kSignalDot = 5.5;
constexpr double kSignalPitch = 6.5;
constexpr double kWifiGap = 5;
constexpr double kWifiRadius = 8;
constexpr Size kBattery{24, 11};
constexpr Size kBatteryNub{1.5, 4};
constexpr double kBatteryTextGap = 3;
constexpr double kTextSize = 12;
constexpr const char* kBatteryLevel = "100%";

// Wi-Fi's fan: three bands of a quarter circle standing on its point, the outer two drawn as
// arcs and the innermost as a filled wedge.
void drawWifi(BitmapContext& context, Point tip, const Color& ink) {
    cairo_t* cr = context.cairo();
    if (!cr) {
        return;
    }
    const double pi = std::numbers::pi;
    const double from = -pi * 3 / 4;
    const double to = -pi / 4;
    cairo_save(cr);
    cairo_set_source_rgba(cr, ink.red, ink.green, ink.blue, ink.alpha * context.alpha());
    cairo_move_to(cr, tip.x, tip.y);
    cairo_arc(cr, tip.x, tip.y, kWifiRadius * 0.4, from, to);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1.5);
    for (double band : {0.7, 1.0}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, tip.x, tip.y, kWifiRadius * band, from, to);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void drawBattery(BitmapContext& context, const Rect& body, const Color& ink) {
    context.strokeRoundedRect(body.insetBy(0.5, 0.5), 2.5, ink, 1);
    // Full: the stand-in device is always charged.
    context.fillRoundedRect(body.insetBy(2, 2), 1, ink);
    const Rect nub{{body.maxX(), body.midY() - kBatteryNub.height / 2}, kBatteryNub};
    context.fillRect(nub, ink);
}

}  // namespace

void drawStatusBar(BitmapContext& context, const Rect& bar, StatusBarStyle style) {
    if (bar.isEmpty()) {
        return;
    }
    const Color ink = style == StatusBarStyle::LightContent ? Color::white() : Color::black();
    const double middle = bar.midY();

    double x = bar.minX() + kEdgeMargin;
    for (int dot = 0; dot < kSignalDots; ++dot) {
        context.fillEllipse(Rect{{x, middle - kSignalDot / 2}, {kSignalDot, kSignalDot}}, ink);
        x += kSignalPitch;
    }
    x += kWifiGap;
    drawWifi(context, Point{x + kWifiRadius * 0.75, middle + kWifiRadius / 2}, ink);

    const Font timeFont = Font::boldSystemFont(kTextSize);
    const double lineHeight = TextMeasurer::current().lineHeight(timeFont);
    const double textTop = middle - lineHeight / 2;
    context.drawText(kStatusBarTime, timeFont, ink,
                     Rect{{bar.minX(), textTop}, {bar.size.width, lineHeight}},
                     TextAlignment::Center, 1);

    const Rect battery{{bar.maxX() - kEdgeMargin - kBatteryNub.width - kBattery.width,
                        middle - kBattery.height / 2},
                       kBattery};
    drawBattery(context, battery, ink);
    const Font levelFont = Font::systemFont(kTextSize);
    const double levelWidth =
        TextMeasurer::current().boundingSize(kBatteryLevel, levelFont, Size{}).width;
    context.drawText(
        kBatteryLevel, levelFont, ink,
        Rect{{battery.minX() - kBatteryTextGap - levelWidth, textTop}, {levelWidth, lineHeight}},
        TextAlignment::Right, 1);
}

}  // namespace platform
