#include "platform/graphics/PangoText.h"

#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/graphics/FontFallback.h"

namespace platform::pangotext {

namespace {

// Beyond these, sizes in Pango units no longer fit an int.
constexpr double kMaxPointSize = 10000;
constexpr double kMaxWidth = 1000000;

PangoFontMap* fontMap() {
    // Created once and never released, with its fontconfig configuration: they live as long
    // as the process.
    static PangoFontMap* map = [] {
        PangoFontMap* made = pango_cairo_font_map_new();
        if (PANGO_IS_FC_FONT_MAP(made)) {
            if (FcConfig* config = fontfallback::makeConfig()) {
                pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(made), config);
            }
        }
        return made;
    }();
    return map;
}

void configure(PangoContext* context) {
    pango_cairo_context_set_resolution(context, 72);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
}

std::string cleanText(const std::string& text, const Font& font, TextBox box) {
    // Cut first, then end at a NUL as the C string would: a long text is read only as far as
    // its box could show it.
    std::string cut = cutToBox(text, font, box);
    cut.resize(std::strlen(cut.c_str()));
    gchar* valid = g_utf8_make_valid(cut.data(), static_cast<gssize>(cut.size()));
    std::string out(valid);
    g_free(valid);
    return out;
}

}  // namespace

std::mutex& mutex() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

PangoContext* measuringContext() {
    static PangoContext* context = [] {
        PangoContext* made = pango_font_map_create_context(fontMap());
        configure(made);
        return made;
    }();
    return context;
}

ContextPtr drawingContext(cairo_t* cr) {
    ContextPtr context(pango_font_map_create_context(fontMap()));
    configure(context.get());
    pango_cairo_update_context(cr, context.get());
    return context;
}

void showLayout(cairo_t* cr, PangoLayout* layout, double size) {
    double x = size;
    double y = 0;
    cairo_user_to_device_distance(cr, &x, &y);
    double across = 0;
    double down = size;
    cairo_user_to_device_distance(cr, &across, &down);
    const double pixels = std::max(std::hypot(x, y), std::hypot(across, down));
    if (!(pixels > kLargestGlyphImage)) {
        pango_cairo_show_layout(cr, layout);
        return;
    }
    // Outlines are rasterised where they are filled and never cached as pictures; only the
    // path of each glyph is kept, whose size does not grow with the glyph's.
    double startX = 0;
    double startY = 0;
    cairo_get_current_point(cr, &startX, &startY);
    cairo_new_path(cr);
    cairo_move_to(cr, startX, startY);
    pango_cairo_layout_path(cr, layout);
    cairo_fill(cr);
}

bool usableFont(const Font& font) {
    return std::isfinite(font.pointSize) && font.pointSize > 0 && font.pointSize <= kMaxPointSize;
}

LayoutPtr makeLayout(PangoContext* context, const std::string& text, const Font& font,
                     TextBox box) {
    const double width = box.width;
    LayoutPtr layout(pango_layout_new(context));
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.family.c_str());
    pango_font_description_set_absolute_size(description, font.pointSize * PANGO_SCALE);
    pango_font_description_set_weight(description,
                                      font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout.get(), description);
    pango_font_description_free(description);

    std::string clean = cleanText(text, font, box);
    pango_layout_set_text(layout.get(), clean.data(), static_cast<int>(clean.size()));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    if (std::isfinite(width) && width > 0) {
        pango_layout_set_width(layout.get(),
                               static_cast<int>(std::min(width, kMaxWidth) * PANGO_SCALE));
    } else {
        pango_layout_set_width(layout.get(), -1);
    }
    return layout;
}

}  // namespace platform::pangotext
