#include "platform/ui/Renderer.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>

#include "platform/graphics/BitmapContext.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/Screen.h"
#include "platform/ui/StatusBarDrawing.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

void roundedClip(BitmapContext& context, const Rect& rect, double radius) {
    radius = std::min({radius, rect.size.width / 2, rect.size.height / 2});
    if (radius <= 0) {
        context.clip(rect);
        return;
    }
    cairo_t* cr = context.cairo();
    if (!cr) {
        return;
    }
    const double pi = std::numbers::pi;
    double x = rect.origin.x;
    double y = rect.origin.y;
    double w = rect.size.width;
    double h = rect.size.height;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -pi / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, pi / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, pi / 2, pi);
    cairo_arc(cr, x + radius, y + radius, radius, pi, 3 * pi / 2);
    cairo_close_path(cr);
    cairo_clip(cr);
}

void drawContents(View& view, BitmapContext& context);

// Draws a subview; the context is in its superview's bounds coordinates.
void drawSubtree(View& view, BitmapContext& context) {
    if (view.isHidden() || view.alpha() < 0.01) {
        return;
    }
    Rect b = view.bounds();
    Point center = view.center();
    context.saveState();
    context.translate(center.x, center.y);
    if (!view.transform().isIdentity()) {
        context.concat(view.transform());
    }
    context.translate(-(b.origin.x + b.size.width / 2), -(b.origin.y + b.size.height / 2));
    drawContents(view, context);
    context.restoreState();
}

// Draws a view in its own bounds coordinates.
void drawContents(View& view, BitmapContext& context) {
    context.setAlpha(context.alpha() * view.alpha());
    Rect b = view.bounds();
    const Color& background = view.backgroundColor();
    if (background.alpha > 0) {
        if (view.cornerRadius() > 0) {
            context.fillRoundedRect(b, view.cornerRadius(), background);
        } else {
            context.fillRect(b, background);
        }
    }
    context.saveState();
    if (view.clipsToBounds()) {
        roundedClip(context, b, view.cornerRadius());
    }
    view.draw(context, b);
    auto subviews = view.subviews();
    for (auto& subview : subviews) {
        drawSubtree(*subview, context);
    }
    context.restoreState();
    double border = view.borderWidth();
    if (border > 0 && view.borderColor().alpha > 0) {
        Rect inside = b.insetBy(border / 2, border / 2);
        if (view.cornerRadius() > 0) {
            context.strokeRoundedRect(inside, std::max(0.0, view.cornerRadius() - border / 2),
                                      view.borderColor(), border);
        } else {
            context.strokeRect(inside, view.borderColor(), border);
        }
    }
}

}  // namespace

void renderView(View& view, BitmapContext& context) {
    Rect b = view.bounds();
    context.saveState();
    context.translate(-b.origin.x, -b.origin.y);
    drawContents(view, context);
    context.restoreState();
}

void renderScreen(Window& window, BitmapContext& context) {
    // How much the screen under an alert is darkened.
    constexpr float kAlertDimming = 0.4f;
    window.layoutIfNeeded();
    const Rect bounds = window.bounds();
    // What the window does not paint shows as the phone's white, not as transparency.
    context.fillRect(Rect{{0, 0}, bounds.size}, Color::white());
    renderView(window, context);
    // The keyboard lies over the window and under the alerts: an alert's buttons stay above
    // it, and the window's content below it cannot be seen (nor touched).
    Keyboard::draw(context);
    // Alert views float above the window; alert controllers are already in it.
    bool dimmed = false;
    for (const auto& alert : AlertPresenter::shared().visibleAlerts()) {
        auto* view = dynamic_cast<View*>(alert.get());
        if (!view || view->window()) {
            continue;
        }
        if (!dimmed) {
            context.fillRect(Rect{{0, 0}, bounds.size}, Color::whiteAlpha(0, kAlertDimming));
            dimmed = true;
        }
        view->layoutIfNeeded();
        context.saveState();
        context.translate(view->frame().origin.x, view->frame().origin.y);
        renderView(*view, context);
        context.restoreState();
    }
    // The status bar lies above every window of the application, as the system's own: the
    // screens leave its strip to it and an alert's dimming does not reach it.
    const Application& application = Application::shared();
    if (!application.isStatusBarHidden()) {
        drawStatusBar(context, application.statusBarFrame(), application.statusBarStyle());
    }
}

Image renderScreenToImage(Window& window) {
    BitmapContext context(Screen::main().size(), 1, true);
    renderScreen(window, context);
    return context.makeImage();
}

Image renderToImage(View& view) {
    view.layoutIfNeeded();
    Size size = view.bounds().size;
    if (size.width <= 0 || size.height <= 0) {
        return Image();
    }
    BitmapContext context(size, 1);
    if (!context.isValid()) {
        return Image();
    }
    renderView(view, context);
    return context.makeImage();
}

bool renderToPNG(View& view, const std::filesystem::path& path) {
    std::string png = renderToImage(view).pngData();
    if (png.empty()) {
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), std::streamsize(png.size()));
    return bool(out.flush());
}

}  // namespace platform
