#pragma once

#include <string>
#include <string_view>

namespace platform {

// A font as a page's style sheet asks for it: a Pango family list, a size in points, a CSS
// weight (100..900) and a slant. Runs of it are measured and drawn on one line, never
// wrapped, so that a layout engine that breaks lines itself gets the widths it breaks by.
struct RunFont {
    std::string families = "WenQuanYi Micro Hei";
    double size = 16;
    int weight = 400;
    bool italic = false;

    bool operator==(const RunFont&) const = default;
};

struct RunFontMetrics {
    double ascent = 0;
    double descent = 0;
    // The line's height: ascent plus descent (no leading).
    double height = 0;
    double xHeight = 0;
};

// Zero metrics for a size that cannot be drawn.
RunFontMetrics runFontMetrics(const RunFont& font);
// The advance of the text on one line (invalid UTF-8 replaced).
double runWidth(std::string_view text, const RunFont& font);

}  // namespace platform
