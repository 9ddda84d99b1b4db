#include "platform/graphics/PangoTextMeasurer.h"

#include <algorithm>

#include "platform/graphics/PangoText.h"

namespace platform {

Size PangoTextMeasurer::boundingSize(const std::string& text, const Font& font,
                                     Size constraint) const {
    if (text.empty() || text.front() == '\0' || !pangotext::usableFont(font)) {
        return {};
    }
    std::lock_guard lock(pangotext::mutex());
    auto layout = pangotext::makeLayout(pangotext::measuringContext(), text, font,
                                        TextBox{constraint.width, constraint.height, 0});
    // The phone's truncate-last-visible-line option: lines below the height limit are not
    // counted, but the first line always is.
    constexpr double kTolerance = 1e-6;
    double width = 0;
    double height = 0;
    int lines = 0;
    PangoLayoutIter* iter = pango_layout_get_iter(layout.get());
    do {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        double bottom = static_cast<double>(logical.y + logical.height) / PANGO_SCALE;
        if (constraint.height > 0 && lines > 0 && bottom > constraint.height + kTolerance) {
            break;
        }
        width = std::max(width, static_cast<double>(logical.width) / PANGO_SCALE);
        height = bottom;
        ++lines;
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    return Size{width, height};
}

std::vector<std::string> PangoTextMeasurer::resolvedFamilies(const std::string& text,
                                                             const Font& font) const {
    std::vector<std::string> families;
    if (!pangotext::usableFont(font)) {
        return families;
    }
    std::lock_guard lock(pangotext::mutex());
    auto layout = pangotext::makeLayout(pangotext::measuringContext(), text, font, TextBox{});
    PangoLayoutIter* iter = pango_layout_get_iter(layout.get());
    do {
        PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter);
        if (!run || !run->item || !run->item->analysis.font) {
            continue;
        }
        PangoFontDescription* description = pango_font_describe(run->item->analysis.font);
        const char* family = pango_font_description_get_family(description);
        std::string name = family ? family : "";
        pango_font_description_free(description);
        if (std::find(families.begin(), families.end(), name) == families.end()) {
            families.push_back(name);
        }
    } while (pango_layout_iter_next_run(iter));
    pango_layout_iter_free(iter);
    return families;
}

}  // namespace platform
