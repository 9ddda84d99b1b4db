#pragma once

// Pages made to crash or stall a layout engine, shared by the web view's tests and the probe
// that measures what each costs to lay out and paint (bench/layout_bomb_probe). Each shows
// the text "shown" (the mix shows each case's mark), so that a test can tell it was laid out.

#include <string>
#include <vector>

namespace testsupport {

struct LayoutBomb {
    std::string name;
    std::string html;
};

// `depth` elements nested, each opened with `open` and closed with `close`, around `inner`.
inline std::string nested(const std::string& open, const std::string& close, int depth,
                          const std::string& inner) {
    std::string html;
    for (int i = 0; i < depth; ++i) {
        html += open;
    }
    html += inner;
    for (int i = 0; i < depth; ++i) {
        html += close;
    }
    return html;
}

// A selector of `combinators` descendant steps whose leftmost part matches nothing, over
// `depth` nested divs: each element's match tries every way of choosing its ancestors.
inline std::string descendantSelectorBomb(int depth, int combinators = 12) {
    std::string selector = "p";
    for (int i = 0; i < combinators; ++i) {
        selector += " div";
    }
    return "<style>" + selector + "{color:red}</style>" + nested("<div>", "</div>", depth, "shown");
}

// The same with sibling steps over one long row of siblings.
inline std::string siblingSelectorBomb(int siblings, int combinators = 12) {
    std::string selector = "i";
    for (int i = 0; i < combinators; ++i) {
        selector += " ~ b";
    }
    std::string html = "<style>" + selector + "{color:red}</style><p>";
    for (int i = 0; i < siblings; ++i) {
        html += "<b>s</b>";
    }
    return html + "</p><p>shown</p>";
}

// Boxes that shrink to fit, each holding words before and after the next.
inline std::string shrinkToFitBomb(const std::string& style, int depth) {
    return nested("<div style=\"" + style + "\">x ", "</div> y", depth, "shown");
}

// A box the size of a town with a picture of one pixel (`src`) tiled over it.
inline std::string tiledBackgroundBomb(const std::string& src) {
    return "<p>shown</p><div style=\"width:10000px;height:100000px;background-image:url(" + src +
           ")\"></div>";
}

// `count` different Chinese characters half a screen high (the `page`th page has its own),
// stacked in one place: drawn as pictures, each would stay in the drawing's glyph caches.
inline std::string glyphPage(int page, int count = 2000) {
    std::string html = "<style>b{position:absolute;left:0;top:0;font-size:512px}</style>";
    for (int i = 0; i < count; ++i) {
        const char32_t c = U'\u4e00' + char32_t(page * count + i);
        html += "<b>";
        html += char(0xe0 | (c >> 12));
        html += char(0x80 | ((c >> 6) & 0x3f));
        html += char(0x80 | (c & 0x3f));
        html += "</b>";
    }
    return html;
}

inline std::vector<LayoutBomb> layoutBombs(const std::string& pictureSrc = "dot.png") {
    std::vector<LayoutBomb> bombs = {
        {"colspan", "<table><tr><td colspan=\"2147483647\">shown</td></tr></table>"},
        {"rowspan",
         "<table><tr><td rowspan=\"2147483647\" colspan=\"1000\">shown</td></tr>"
         "<tr><td colspan=\"2147483647\">t</td></tr></table>"},
        {"spans-many-rows",
         "<table>" + nested("<tr><td colspan=\"1000\" rowspan=\"65534\">t</td></tr>", "", 400, "") +
             "</table><p>shown</p>"},
        {"selector-30", descendantSelectorBomb(30)},
        {"selector-38", descendantSelectorBomb(38)},
        {"selector-200", descendantSelectorBomb(200, 40)},
        {"siblings-60", siblingSelectorBomb(60)},
        {"float-24", shrinkToFitBomb("float:left", 24)},
        {"float-after-24", nested("<div style=\"float:left\">",
                                  "</div><div style=\"float:left\">after</div>", 24, "shown")},
        {"inline-block-20", shrinkToFitBomb("display:inline-block", 20)},
        {"table-cell-18", shrinkToFitBomb("display:table-cell", 18)},
        {"tables-30", nested("<table><tr><td>", "</td></tr></table>", 30, "shown")},
        {"mixed-boxes-40", nested("<div style=\"float:left\"><span style=\"display:inline-block\">"
                                  "<div style=\"display:table-cell\">",
                                  "</div></span></div>", 14, "shown")},
        {"wide-grid", "<table><tr>" + nested("<td></td>", "", 2000, "") + "</tr>" +
                          nested("<tr><td></td></tr>", "", 2000, "") + "</table><p>shown</p>"},
        {"background", tiledBackgroundBomb(pictureSrc)},
    };
    std::string mix;
    for (const auto& bomb : bombs) {
        mix += "<div>" + bomb.html + "</div>";
    }
    bombs.push_back({"mix", mix});
    return bombs;
}

}  // namespace testsupport
