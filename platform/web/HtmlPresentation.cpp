#include "platform/web/HtmlPresentation.h"

#include <litehtml.h>
#include <strings.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/web/HtmlElement.h"

namespace platform::htmlpresentation {

namespace {

using Hints = std::vector<std::pair<const char*, std::string>>;

// No attribute makes a box wider or a padding larger than this, so that the engine's integer
// arithmetic never overflows on a page's number.
constexpr std::uint64_t kMostPixels = 100'000;

bool is(const char* text, const char* word) {
    return text && strcasecmp(text, word) == 0;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

const char* tagOf(const litehtml::element& element) {
    const char* tag = element.get_tagName();
    return tag ? tag : "";
}

std::string pixels(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%gpx", value);
    return text;
}

// --- Values as a browser reads them ---------------------------------------------------------

// A legacy colour value: a colour's name, or whatever the page wrote read as hex digits split
// into three, as browsers have always read bgcolor="#ff000" or "crimsonish"; none for an empty
// value or "transparent".
std::optional<std::string> legacyColor(const char* value) {
    std::string_view input = value ? value : "";
    while (!input.empty() && isSpace(input.front())) {
        input.remove_prefix(1);
    }
    while (!input.empty() && isSpace(input.back())) {
        input.remove_suffix(1);
    }
    const std::string text(input);
    if (text.empty() || is(text.c_str(), "transparent")) {
        return std::nullopt;
    }
    if (std::string named = litehtml::web_color::resolve_name(text.c_str(), nullptr);
        !named.empty()) {
        return named;
    }
    if (text.size() == 4 && text[0] == '#' && isHexDigit(text[1]) && isHexDigit(text[2]) &&
        isHexDigit(text[3])) {
        return text;
    }
    // A character past the Basic Multilingual Plane counts as two digits, any other as one.
    std::string digits;
    for (std::size_t at = 0; at < text.size() && digits.size() < 128;) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead >= 0xf0) {
            digits += "00";
            at += 4;
        } else if (lead >= 0x80) {
            digits += 'g';  // a digit of none: read as 0 below
            at += lead >= 0xe0 ? 3 : 2;
        } else {
            digits += text[at];
            ++at;
        }
    }
    digits.resize(std::min<std::size_t>(digits.size(), 128));
    if (!digits.empty() && digits.front() == '#') {
        digits.erase(0, 1);
    }
    for (char& c : digits) {
        c = isHexDigit(c) ? c : '0';
    }
    while (digits.empty() || digits.size() % 3 != 0) {
        digits += '0';
    }
    std::size_t length = digits.size() / 3;
    std::array<std::string, 3> parts{digits.substr(0, length), digits.substr(length, length),
                                     digits.substr(2 * length, length)};
    if (length > 8) {
        for (auto& part : parts) {
            part.erase(0, length - 8);
        }
        length = 8;
    }
    while (length > 2 && parts[0][0] == '0' && parts[1][0] == '0' && parts[2][0] == '0') {
        for (auto& part : parts) {
            part.erase(0, 1);
        }
        --length;
    }
    char color[8];
    unsigned channels[3];
    for (int i = 0; i < 3; ++i) {
        channels[i] = unsigned(std::stoul(parts[i].substr(0, 2), nullptr, 16));
    }
    std::snprintf(color, sizeof color, "#%02x%02x%02x", channels[0], channels[1], channels[2]);
    return std::string(color);
}

// A dimension value: a number of pixels, or a percentage with a "%" after the number; none
// without a leading digit (or, `nonZero`, for zero).
std::optional<std::string> dimension(const char* value, bool nonZero) {
    const char* at = value ? value : "";
    while (isSpace(*at)) {
        ++at;
    }
    if (!isDigit(*at)) {
        return std::nullopt;
    }
    double number = 0;
    for (; isDigit(*at); ++at) {
        number = std::min(number * 10 + (*at - '0'), double(kMostPixels));
    }
    if (*at == '.' && isDigit(at[1])) {
        double scale = 0.1;
        for (++at; isDigit(*at); ++at, scale /= 10) {
            number += (*at - '0') * scale;
        }
    }
    if (nonZero && number == 0) {
        return std::nullopt;
    }
    if (*at == '%') {
        char text[32];
        std::snprintf(text, sizeof text, "%g%%", number);
        return std::string(text);
    }
    return pixels(number);
}

// A non-negative integer as a number of pixels.
std::optional<std::uint64_t> pixelCount(const char* value) {
    return value ? htmlelement::attributeInteger(value, kMostPixels) : std::nullopt;
}

// A legacy font size: 1 to 7, or a step up ("+n") or down ("-n") from 3; the sizes are a
// browser's for those steps over its 16 pixels.
std::optional<std::string> legacyFontSize(const char* value) {
    static constexpr std::array<int, 7> kSizes = {10, 13, 16, 18, 24, 32, 48};
    const char* at = value ? value : "";
    while (isSpace(*at)) {
        ++at;
    }
    const char sign = *at == '+' || *at == '-' ? *at++ : 0;
    if (!isDigit(*at)) {
        return std::nullopt;
    }
    const auto read = htmlelement::attributeInteger(at, 100);
    std::int64_t size = std::int64_t(read.value_or(0));
    size = sign == '+' ? 3 + size : sign == '-' ? 3 - size : size;
    return pixels(kSizes[std::size_t(std::clamp<std::int64_t>(size, 1, 7) - 1)]);
}

// A block's or cell's align as a text-align.
const char* textAlign(const char* value) {
    if (is(value, "center") || is(value, "middle") || is(value, "absmiddle")) {
        return "center";
    }
    for (const char* keyword : {"left", "right", "justify"}) {
        if (is(value, keyword)) {
            return keyword;
        }
    }
    return nullptr;
}

const char* verticalAlign(const char* value) {
    for (const char* keyword : {"top", "middle", "bottom", "baseline"}) {
        if (is(value, keyword)) {
            return keyword;
        }
    }
    return nullptr;
}

// --- Hints by element -----------------------------------------------------------------------

bool isRowOrGroup(const char* tag) {
    return is(tag, "tr") || is(tag, "tbody") || is(tag, "thead") || is(tag, "tfoot");
}

bool isCell(const char* tag) {
    return is(tag, "td") || is(tag, "th");
}

litehtml::element::ptr nearest(const litehtml::element& element, const char* tag) {
    for (auto at = element.parent(); at; at = at->parent()) {
        if (is(tagOf(*at), tag)) {
            return at;
        }
    }
    return nullptr;
}

void addColor(const litehtml::element& element, const char* attribute, const char* property,
              Hints& hints) {
    if (auto color = legacyColor(element.get_attr(attribute))) {
        hints.emplace_back(property, std::move(*color));
    }
}

void addDimension(const litehtml::element& element, const char* attribute, const char* property,
                  bool nonZero, Hints& hints) {
    if (auto value = dimension(element.get_attr(attribute), nonZero)) {
        hints.emplace_back(property, std::move(*value));
    }
}

void addAlignment(const litehtml::element& element, Hints& hints) {
    if (const char* align = textAlign(element.get_attr("align"))) {
        hints.emplace_back("text-align", align);
    }
    if (const char* valign = verticalAlign(element.get_attr("valign"))) {
        hints.emplace_back("vertical-align", valign);
    }
}

// The table's border: none for a table without the attribute; a width of 1 for one whose value
// is no number (border="border", or the bare attribute).
std::optional<std::uint64_t> tableBorder(const litehtml::element& table) {
    const char* border = table.get_attr("border");
    if (!border) {
        return std::nullopt;
    }
    return pixelCount(border).value_or(1);
}

// A <center>, or a <div> or table part with align, aligns a table within it as it aligns its
// text: where the nearest of them, within the table's own cell, puts it.
const char* alignedByAncestor(const litehtml::element& table) {
    for (auto at = table.parent(); at; at = at->parent()) {
        const char* tag = tagOf(*at);
        if (is(tag, "center")) {
            return "center";
        }
        if (is(tag, "div") || isRowOrGroup(tag) || isCell(tag)) {
            if (const char* align = textAlign(at->get_attr("align"))) {
                return align;
            }
        }
        if (is(tag, "table")) {
            return nullptr;
        }
    }
    return nullptr;
}

void tableHints(const litehtml::element& table, Hints& hints) {
    addColor(table, "bgcolor", "background-color", hints);
    addDimension(table, "width", "width", true, hints);
    addDimension(table, "height", "height", true, hints);
    if (auto spacing = pixelCount(table.get_attr("cellspacing"))) {
        hints.emplace_back("border-spacing", pixels(double(*spacing)));
    }
    if (auto border = tableBorder(table)) {
        hints.emplace_back("border-width", pixels(double(*border)));
        if (*border > 0) {
            hints.emplace_back("border-style", "outset");
            hints.emplace_back("border-color", "gray");
        }
    }
    const char* align = table.get_attr("align");
    if (is(align, "left") || is(align, "right")) {
        hints.emplace_back("float", align);
        return;
    }
    if (!is(align, "center")) {
        align = alignedByAncestor(table);
    }
    if (is(align, "center")) {
        hints.emplace_back("margin-left", "auto");
        hints.emplace_back("margin-right", "auto");
    } else if (is(align, "right")) {
        hints.emplace_back("margin-left", "auto");
        hints.emplace_back("margin-right", "0");
    }
}

void cellHints(const litehtml::element& cell, Hints& hints) {
    addColor(cell, "bgcolor", "background-color", hints);
    addDimension(cell, "width", "width", true, hints);
    addDimension(cell, "height", "height", true, hints);
    addAlignment(cell, hints);
    if (cell.get_attr("nowrap")) {
        // A cell given a width in pixels wraps within it, nowrap or not.
        const auto width = dimension(cell.get_attr("width"), true);
        if (!width || width->back() == '%') {
            hints.emplace_back("white-space", "nowrap");
        }
    }
    if (const char* background = cell.get_attr("background");
        background && *background && !std::strpbrk(background, "\"\\")) {
        hints.emplace_back("background-image", std::string("url(\"") + background + "\")");
    }
    const auto table = nearest(cell, "table");
    if (!table) {
        return;
    }
    if (auto padding = pixelCount(table->get_attr("cellpadding"))) {
        hints.emplace_back("padding", pixels(double(*padding)));
    }
    if (auto border = tableBorder(*table); border && *border > 0) {
        hints.emplace_back("border-width", "1px");
        hints.emplace_back("border-style", "inset");
        hints.emplace_back("border-color", "inherit");
    }
}

void rowHints(const litehtml::element& row, Hints& hints) {
    addColor(row, "bgcolor", "background-color", hints);
    addDimension(row, "height", "height", true, hints);
    addAlignment(row, hints);
}

void fontHints(const litehtml::element& font, Hints& hints) {
    addColor(font, "color", "color", hints);
    if (const char* face = font.get_attr("face"); face && *face) {
        hints.emplace_back("font-family", face);
    }
    if (auto size = legacyFontSize(font.get_attr("size"))) {
        hints.emplace_back("font-size", std::move(*size));
    }
}

// A rule: a coloured or unshaded one is solid, its size given by its borders; a shaded one is
// as tall as its size.
void ruleHints(const litehtml::element& rule, Hints& hints) {
    const bool colored = rule.get_attr("color") != nullptr;
    const bool noShade = rule.get_attr("noshade") != nullptr;
    if (colored || noShade) {
        hints.emplace_back("border-style", "solid");
        std::string color = legacyColor(rule.get_attr("color")).value_or("gray");
        hints.emplace_back("color", color);
        hints.emplace_back("border-color", color);
        hints.emplace_back("background-color", std::move(color));
    }
    if (auto size = pixelCount(rule.get_attr("size"))) {
        if (colored || noShade) {
            hints.emplace_back("border-width", pixels(double(*size) / 2));
        } else if (*size == 1) {
            hints.emplace_back("border-bottom-width", "0");
        } else if (*size > 1) {
            hints.emplace_back("height", pixels(double(*size - 2)));
        }
    }
    addDimension(rule, "width", "width", false, hints);
}

void bodyHints(const litehtml::element& body, Hints& hints) {
    addColor(body, "bgcolor", "background-color", hints);
    addColor(body, "text", "color", hints);
}

void pictureHints(const litehtml::element& picture, Hints& hints) {
    const char* align = picture.get_attr("align");
    if (is(align, "left") || is(align, "right")) {
        hints.emplace_back("float", align);
    } else if (is(align, "top")) {
        hints.emplace_back("vertical-align", "top");
    } else if (is(align, "middle") || is(align, "center") || is(align, "absmiddle") ||
               is(align, "abscenter")) {
        hints.emplace_back("vertical-align", "middle");
    } else if (is(align, "bottom") || is(align, "baseline")) {
        hints.emplace_back("vertical-align", "baseline");
    } else if (is(align, "texttop")) {
        hints.emplace_back("vertical-align", "text-top");
    }
    if (auto space = dimension(picture.get_attr("hspace"), false)) {
        hints.emplace_back("margin-left", *space);
        hints.emplace_back("margin-right", std::move(*space));
    }
    if (auto space = dimension(picture.get_attr("vspace"), false)) {
        hints.emplace_back("margin-top", *space);
        hints.emplace_back("margin-bottom", std::move(*space));
    }
    if (auto border = pixelCount(picture.get_attr("border"))) {
        hints.emplace_back("border-width", pixels(double(*border)));
        if (*border > 0) {
            hints.emplace_back("border-style", "solid");
        }
    }
    addDimension(picture, "width", "width", false, hints);
    addDimension(picture, "height", "height", false, hints);
}

Hints hintsFor(const litehtml::element& element) {
    Hints hints;
    const char* tag = tagOf(element);
    if (is(tag, "table")) {
        tableHints(element, hints);
    } else if (isCell(tag)) {
        cellHints(element, hints);
    } else if (isRowOrGroup(tag)) {
        rowHints(element, hints);
    } else if (is(tag, "font")) {
        fontHints(element, hints);
    } else if (is(tag, "hr")) {
        ruleHints(element, hints);
    } else if (is(tag, "body")) {
        bodyHints(element, hints);
    } else if (is(tag, "img")) {
        pictureHints(element, hints);
    } else if (is(tag, "a")) {
        if (element.get_attr("href")) {
            if (const auto body = nearest(element, "body")) {
                addColor(*body, "link", "color", hints);
            }
        }
    } else if (is(tag, "p") || is(tag, "div") ||
               (tag[0] == 'h' && tag[1] >= '1' && tag[1] <= '6' && tag[2] == 0)) {
        if (const char* align = textAlign(element.get_attr("align"))) {
            hints.emplace_back("text-align", align);
        }
    }
    return hints;
}

}  // namespace

void addHints(const litehtml::element& element, litehtml::style& style) {
    for (const auto& [property, value] : hintsFor(element)) {
        style.add_property(property, value.c_str(), nullptr, false, &element);
    }
}

}  // namespace platform::htmlpresentation
