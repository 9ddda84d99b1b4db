#include "platform/graphics/TextRun.h"

#include <algorithm>

#include "platform/graphics/PangoText.h"

namespace platform {

namespace pangotext {

bool usableRunFont(const RunFont& font) {
    return usableFont(Font{font.families, font.size, false});
}

LayoutPtr makeRunLayout(PangoContext* context, std::string_view text, const RunFont& font) {
    LayoutPtr layout(pango_layout_new(context));
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.families.c_str());
    pango_font_description_set_absolute_size(description, font.size * PANGO_SCALE);
    pango_font_description_set_weight(description,
                                      static_cast<PangoWeight>(std::clamp(font.weight, 100, 1000)));
    pango_font_description_set_style(description,
                                     font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout.get(), description);
    pango_font_description_free(description);
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    pango_layout_set_text(layout.get(), valid, -1);
    g_free(valid);
    pango_layout_set_width(layout.get(), -1);
    pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
    return layout;
}

}  // namespace pangotext

RunFontMetrics runFontMetrics(const RunFont& font) {
    RunFontMetrics metrics;
    if (!pangotext::usableRunFont(font)) {
        return metrics;
    }
    std::lock_guard lock(pangotext::mutex());
    // The metrics of the first line of a sample: those of the fonts that really draw it,
    // fallbacks included, rather than of the family asked for.
    auto layout = pangotext::makeRunLayout(pangotext::measuringContext(), "x", font);
    PangoRectangle ink;
    PangoRectangle logical;
    pango_layout_get_extents(layout.get(), &ink, &logical);
    const double baseline = double(pango_layout_get_baseline(layout.get())) / PANGO_SCALE;
    metrics.ascent = baseline;
    metrics.height = double(logical.height) / PANGO_SCALE;
    metrics.descent = metrics.height - baseline;
    metrics.xHeight = double(ink.height) / PANGO_SCALE;
    return metrics;
}

double runWidth(std::string_view text, const RunFont& font) {
    if (text.empty() || !pangotext::usableRunFont(font)) {
        return 0;
    }
    std::lock_guard lock(pangotext::mutex());
    auto layout = pangotext::makeRunLayout(pangotext::measuringContext(), text, font);
    PangoRectangle logical;
    pango_layout_get_extents(layout.get(), nullptr, &logical);
    return double(logical.width) / PANGO_SCALE;
}

}  // namespace platform
