// The layout engine's container: fonts, measuring and drawing text, and painting the boxes
// (backgrounds, borders, list markers, pictures) through Cairo and Pango.

#include "platform/web/HtmlLayoutContainer.h"

#include <strings.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/foundation/AsciiText.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/web/HtmlBackground.h"
#include "platform/web/HtmlDefaultStyle.h"

namespace platform {

namespace html {

Rect rectOf(const litehtml::position& position) {
    return Rect{{double(position.x), double(position.y)},
                {double(position.width), double(position.height)}};
}

litehtml::context& engineContext() {
    static litehtml::context* context = [] {
        auto* made = new litehtml::context;
        made->load_master_stylesheet(kDefaultStyleSheet);
        return made;
    }();
    return *context;
}

}  // namespace html

namespace {

using html::FontEntry;
using html::rectOf;

Color colorOf(const litehtml::web_color& color) {
    return Color::rgba(color.red / 255.0f, color.green / 255.0f, color.blue / 255.0f,
                       color.alpha / 255.0f);
}

// A side of a border in its colour; an inset border darkens its top and left, an outset one its
// bottom and right, by a browser's measure (a table's border="1" and its cells' rules are).
Color sideColor(const litehtml::border& side, bool topOrLeft) {
    const bool darkened =
        side.style == (topOrLeft ? litehtml::border_style_inset : litehtml::border_style_outset);
    if (!darkened) {
        return colorOf(side.color);
    }
    const int brightest = std::max({side.color.red, side.color.green, side.color.blue});
    const float value = brightest / 255.0f;
    const float scale = value == 0 ? 0 : std::max(0.0f, (value - 0.33f) / value) / 255.0f;
    return Color::rgba(side.color.red * scale, side.color.green * scale, side.color.blue * scale,
                       side.color.alpha / 255.0f);
}

constexpr std::size_t kMaxWordBytes = 96;

bool isCollapsibleSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The pages' faces are whatever their authors had; here every family is the bundled CJK
// face (it covers Latin), in its fixed-width cut for monospace, so that pages look the same
// on every machine.
std::string familiesFor(const char* faceName) {
    const std::string lower = lowercasedAscii(faceName ? faceName : "");
    const bool fixed = lower.find("mono") != std::string::npos ||
                       lower.find("courier") != std::string::npos ||
                       lower.find("consol") != std::string::npos;
    return fixed ? "WenQuanYi Micro Hei Mono,WenQuanYi Micro Hei" : "WenQuanYi Micro Hei";
}

// Text is measured word by word, the same words (every Chinese character is one) recur all
// over a page, and a page is laid out again after every change a script makes: the widths
// are kept across layouts, up to a bound. Main thread only, as the layouts are.
// Each font has its widths by text, so that a width is found by the text alone.
constexpr std::size_t kMaxCachedWidths = 100'000;

struct WidthCache {
    std::unordered_map<std::string, html::FontWidths> fonts;
    std::size_t count = 0;
};

WidthCache& widthCache() {
    static auto* cache = new WidthCache;
    return *cache;
}

// A font's metrics, asked of Pango once per font for all documents: every document asks for
// its fonts afresh, and a page is made anew whenever its markup changes. Main thread only.
const RunFontMetrics& metricsOf(const RunFont& font, const std::string& key) {
    static auto* cache = new std::unordered_map<std::string, RunFontMetrics>;
    auto found = cache->find(key);
    if (found == cache->end()) {
        found = cache->emplace(key, runFontMetrics(font)).first;
    }
    return found->second;
}

}  // namespace

HtmlLayout::Container::Container(std::shared_ptr<HtmlPictures> pictures)
    : m_pictures(std::move(pictures)) {
    UErrorCode status = U_ZERO_ERROR;
    m_breaks.reset(icu::BreakIterator::createLineInstance(icu::Locale("zh"), status));
    if (U_FAILURE(status)) {
        m_breaks.reset();
    }
}

HtmlLayout::Container::~Container() {
    // The document refers to the fonts and calls back while it goes.
    m_marks.clear();
    m_replaced.clear();
    m_document.reset();
}

const litehtml::css& HtmlLayout::Container::masterStyles() {
    return html::engineContext().master_css();
}

// --- Text ----------------------------------------------------------------------------

litehtml::uint_ptr HtmlLayout::Container::create_font(const litehtml::tchar_t* faceName, int size,
                                                      int weight, litehtml::font_style italic,
                                                      unsigned int decoration,
                                                      litehtml::font_metrics* fm) {
    auto entry = std::make_unique<FontEntry>();
    entry->font.families = familiesFor(faceName);
    entry->font.size = std::clamp(size, 1, 512);
    entry->font.weight = weight;
    entry->font.italic = italic == litehtml::fontStyleItalic;
    entry->decoration = decoration;
    entry->key = entry->font.families + '\x1f' + std::to_string(entry->font.size) + '\x1f' +
                 std::to_string(entry->font.weight) + (entry->font.italic ? "i" : "") + '\x1f';
    entry->metrics = metricsOf(entry->font, entry->key);
    entry->widths = &widthCache().fonts[entry->key];
    if (fm) {
        fm->ascent = int(std::lround(entry->metrics.ascent));
        fm->height = int(std::ceil(entry->metrics.height));
        fm->descent = fm->height - fm->ascent;
        fm->x_height = std::max(1, int(std::lround(entry->metrics.xHeight)));
        fm->draw_spaces = entry->font.italic || decoration != 0;
    }
    m_fonts.push_back(std::move(entry));
    return reinterpret_cast<litehtml::uint_ptr>(m_fonts.back().get());
}

void HtmlLayout::Container::delete_font(litehtml::uint_ptr /*font*/) {
    // The fonts go with the layout; the engine asks for each one once per document.
}

int HtmlLayout::Container::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) {
    return text ? textWidth(text, hFont) : 0;
}

int HtmlLayout::Container::textWidth(std::string_view text, litehtml::uint_ptr hFont) {
    HtmlEngineBudget::check();
    auto* font = reinterpret_cast<FontEntry*>(hFont);
    if (!font) {
        return 0;
    }
    std::uint32_t character = 0;
    const bool brief = text.size() <= sizeof character;
    if (brief) {
        // No text holds a NUL: "a" and "a\0" cannot both be asked for.
        std::memcpy(&character, text.data(), text.size());
        if (auto found = font->widths->byCharacter.find(character);
            found != font->widths->byCharacter.end()) {
            return found->second;
        }
    } else if (auto found = font->widths->byText.find(text); found != font->widths->byText.end()) {
        return found->second;
    }
    const int width = int(std::ceil(runWidth(text, font->font)));
    auto& cache = widthCache();
    if (cache.count >= kMaxCachedWidths) {
        // The fonts stay: the documents' font entries point at them.
        for (auto& [name, widths] : cache.fonts) {
            widths.clear();
        }
        cache.count = 0;
    }
    if (brief) {
        font->widths->byCharacter.emplace(character, width);
    } else {
        font->widths->byText.emplace(text, width);
    }
    ++cache.count;
    return width;
}

void HtmlLayout::Container::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text,
                                      litehtml::uint_ptr hFont, litehtml::web_color color,
                                      const litehtml::position& pos) {
    HtmlEngineBudget::check();
    auto* context = reinterpret_cast<BitmapContext*>(hdc);
    auto* font = reinterpret_cast<FontEntry*>(hFont);
    if (!context || !font || !text) {
        return;
    }
    const Color ink = colorOf(color);
    // Text drawn while a list item paints itself is its marker's.
    litehtml::position at = pos;
    at.y += m_guard->markerShift();
    context->drawTextRun(text, font->font, ink, Point{double(at.x), double(at.y)});
    const double thickness = std::max(1.0, font->font.size / 16);
    const double ascent = font->metrics.ascent;
    auto line = [&](double y) {
        context->fillRect(Rect{{double(at.x), at.y + y}, {double(at.width), thickness}}, ink);
    };
    if (font->decoration & litehtml::font_decoration_underline) {
        line(ascent + thickness);
    }
    if (font->decoration & litehtml::font_decoration_linethrough) {
        line(ascent - font->metrics.xHeight / 2);
    }
    if (font->decoration & litehtml::font_decoration_overline) {
        line(0);
    }
}

void HtmlLayout::Container::transform_text(litehtml::tstring& text, litehtml::text_transform tt) {
    HtmlEngineBudget::check();
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    switch (tt) {
        case litehtml::text_transform_uppercase:
            unicode.toUpper();
            break;
        case litehtml::text_transform_lowercase:
            unicode.toLower();
            break;
        case litehtml::text_transform_capitalize:
            unicode.toTitle(nullptr);
            break;
        default:
            return;
    }
    text.clear();
    unicode.toUTF8String(text);
}

void HtmlLayout::Container::split_text(
    const char* text, const std::function<void(const litehtml::tchar_t*)>& on_word,
    const std::function<void(const litehtml::tchar_t*)>& on_space) {
    HtmlEngineBudget::check();
    std::string_view all(text ? text : "");
    if (m_guard->givesWholeText()) {
        on_word(all.data());
        return;
    }
    splitWords(all, [&](std::size_t start, std::size_t length, bool space) {
        (space ? on_space : on_word)(std::string(all.substr(start, length)).c_str());
    });
}

void HtmlLayout::Container::splitWords(std::string_view all, const Piece& piece) {
    auto emit = [&](std::size_t from, std::size_t to) {
        std::size_t i = from;
        while (i < to) {
            if (isCollapsibleSpace(all[i])) {
                piece(i, 1, true);
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < to && !isCollapsibleSpace(all[end]) && end - i < kMaxWordBytes) {
                ++end;
            }
            // A word past the longest is cut (at a character) into pieces that may go on
            // lines of their own, as overflow-wrap does: no page can hand the text
            // measurer one unbreakable megabyte.
            if (end - i >= kMaxWordBytes) {
                while (end > i + 1 && end < to &&
                       (static_cast<unsigned char>(all[end]) & 0xC0) == 0x80) {
                    --end;
                }
            }
            piece(i, end - i, false);
            i = end;
        }
    };
    UErrorCode status = U_ZERO_ERROR;
    UText* utext =
        m_breaks ? utext_openUTF8(nullptr, all.data(), int64_t(all.size()), &status) : nullptr;
    if (!utext || U_FAILURE(status)) {
        utext_close(utext);
        emit(0, all.size());
        return;
    }
    m_breaks->setText(utext, status);
    if (U_FAILURE(status)) {
        utext_close(utext);
        emit(0, all.size());
        return;
    }
    // However the pieces end (the engine's budget may end them at any one).
    struct Closing {
        ~Closing() {
            // The iterator keeps the text; it must not outlive it.
            breaks.setText(icu::UnicodeString());
            utext_close(text);
        }
        icu::BreakIterator& breaks;
        UText* text;
    } closing{*m_breaks, utext};
    int32_t start = m_breaks->first();
    for (int32_t end = m_breaks->next(); end != icu::BreakIterator::DONE;
         start = end, end = m_breaks->next()) {
        emit(std::size_t(start), std::size_t(end));
    }
}

// --- Boxes ---------------------------------------------------------------------------

void HtmlLayout::Container::draw_list_marker(litehtml::uint_ptr hdc,
                                             const litehtml::list_marker& marker) {
    HtmlEngineBudget::check();
    auto* context = reinterpret_cast<BitmapContext*>(hdc);
    if (!context) {
        return;
    }
    Rect box = rectOf(marker.pos);
    box.origin.y += m_guard->markerShift();
    if (!marker.image.empty()) {
        if (const Image* picture = m_pictures->picture(m_pictures->ask(marker.image))) {
            context->drawImageUpright(*picture, box);
            return;
        }
    }
    const Color ink = colorOf(marker.color);
    switch (marker.marker_type) {
        case litehtml::list_style_type_circle:
            context->strokeRoundedRect(box.insetBy(0.5, 0.5), box.width() / 2, ink, 1);
            break;
        case litehtml::list_style_type_square:
            context->fillRect(box, ink);
            break;
        default:
            context->fillEllipse(box, ink);
            break;
    }
}

void HtmlLayout::Container::paintPicture(litehtml::uint_ptr hdc, const char* src,
                                         const litehtml::position& box) {
    HtmlEngineBudget::check();
    auto* context = reinterpret_cast<BitmapContext*>(hdc);
    if (!context) {
        return;
    }
    if (const Image* picture = m_pictures->picture(m_pictures->ask(src))) {
        context->drawImageUpright(*picture, rectOf(box));
    }
}

void HtmlLayout::Container::noteSizedByPicture(const char* src) {
    m_pictures->noteSizesBox(src);
}

void HtmlLayout::Container::load_image(const litehtml::tchar_t* src,
                                       const litehtml::tchar_t* /*baseurl*/,
                                       bool /*redraw_on_ready*/) {
    if (src && *src) {
        m_pictures->ask(src);
    }
}

void HtmlLayout::Container::get_image_size(const litehtml::tchar_t* src,
                                           const litehtml::tchar_t* /*baseurl*/,
                                           litehtml::size& sz) {
    HtmlEngineBudget::check();
    sz.width = 0;
    sz.height = 0;
    if (!src || !*src) {
        return;
    }
    if (const Image* picture = m_pictures->picture(m_pictures->ask(src))) {
        Size size = picture->size();
        sz.width = int(std::lround(size.width));
        sz.height = int(std::lround(size.height));
    }
}

void HtmlLayout::Container::draw_background(litehtml::uint_ptr hdc,
                                            const litehtml::background_paint& bg) {
    HtmlEngineBudget::check();
    auto* context = reinterpret_cast<BitmapContext*>(hdc);
    if (!context) {
        return;
    }
    Rect clip = rectOf(bg.clip_box);
    const double radius = bg.border_radius.top_left_x;
    if (bg.color.alpha > 0) {
        if (radius > 0) {
            context->fillRoundedRect(clip, radius, colorOf(bg.color));
        } else {
            context->fillRect(clip, colorOf(bg.color));
        }
    }
    if (bg.image.empty()) {
        return;
    }
    const Image* picture = m_pictures->picture(m_pictures->ask(bg.image));
    if (!picture || bg.image_size.width <= 0 || bg.image_size.height <= 0) {
        return;
    }
    BackgroundTiling tiling;
    tiling.box = clip;
    tiling.tile = Size{double(bg.image_size.width), double(bg.image_size.height)};
    tiling.origin =
        Point{double(bg.origin_box.x + bg.position_x), double(bg.origin_box.y + bg.position_y)};
    tiling.repeatX = bg.repeat == litehtml::background_repeat_repeat ||
                     bg.repeat == litehtml::background_repeat_repeat_x;
    tiling.repeatY = bg.repeat == litehtml::background_repeat_repeat ||
                     bg.repeat == litehtml::background_repeat_repeat_y;
    paintBackgroundTiles(*context, *picture, tiling, m_paintArea);
}

void HtmlLayout::Container::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                         const litehtml::position& draw_pos, bool /*root*/) {
    HtmlEngineBudget::check();
    auto* context = reinterpret_cast<BitmapContext*>(hdc);
    if (!context) {
        return;
    }
    const Rect box = rectOf(draw_pos);
    auto shows = [](const litehtml::border& border) {
        return border.width > 0 && border.style != litehtml::border_style_none &&
               border.style != litehtml::border_style_hidden && border.color.alpha > 0;
    };
    const auto& b = borders;
    const double radius = b.radius.top_left_x;
    if (radius > 0 && shows(b.top) && b.top.width == b.left.width && b.top.width == b.right.width &&
        b.top.width == b.bottom.width) {
        const double width = b.top.width;
        context->strokeRoundedRect(box.insetBy(width / 2, width / 2),
                                   std::max(0.0, radius - width / 2), colorOf(b.top.color), width);
        return;
    }
    if (shows(b.top)) {
        context->fillRect(Rect{box.origin, {box.width(), double(b.top.width)}},
                          sideColor(b.top, true));
    }
    if (shows(b.bottom)) {
        context->fillRect(
            Rect{{box.minX(), box.maxY() - b.bottom.width}, {box.width(), double(b.bottom.width)}},
            sideColor(b.bottom, false));
    }
    if (shows(b.left)) {
        context->fillRect(Rect{box.origin, {double(b.left.width), box.height()}},
                          sideColor(b.left, true));
    }
    if (shows(b.right)) {
        context->fillRect(
            Rect{{box.maxX() - b.right.width, box.minY()}, {double(b.right.width), box.height()}},
            sideColor(b.right, false));
    }
}

void HtmlLayout::Container::set_clip(const litehtml::position& pos,
                                     const litehtml::border_radiuses& /*radius*/, bool /*valid_x*/,
                                     bool /*valid_y*/) {
    HtmlEngineBudget::check();
    if (m_target) {
        m_target->saveState();
        m_target->clip(rectOf(pos));
        ++m_clips;
    }
}

void HtmlLayout::Container::del_clip() {
    if (m_target && m_clips > 0) {
        m_target->restoreState();
        --m_clips;
    }
}

void HtmlLayout::Container::get_client_rect(litehtml::position& client) const {
    client = litehtml::position(0, 0, int(m_viewportWidth), int(m_viewportHeight));
}

void HtmlLayout::Container::get_media_features(litehtml::media_features& media) const {
    // Asked first after the engine has destroyed its parse of the page.
    m_parse = nullptr;
    media.type = litehtml::media_type_screen;
    media.width = media.device_width = int(m_viewportWidth);
    media.height = media.device_height = int(m_viewportHeight);
    media.color = 8;
    media.monochrome = 0;
    media.color_index = 256;
    media.resolution = 96;
}

void HtmlLayout::Container::get_language(litehtml::tstring& language,
                                         litehtml::tstring& culture) const {
    language = "zh";
    culture = "zh-CN";
}

std::shared_ptr<litehtml::element> HtmlLayout::Container::create_element(
    const litehtml::tchar_t* tag_name, const litehtml::string_map& attributes,
    const std::shared_ptr<litehtml::document>& doc) {
    HtmlEngineBudget::check();
    if (tag_name && doc && strcasecmp(tag_name, "style") == 0) {
        return makeStyleElement(doc, m_styleSheets);
    }
    auto element = makeHtmlElement(tag_name, doc, m_guard, this);
    m_guard->expectHeldText(element && attributes.count("data-campus-text") != 0 ? element.get()
                                                                                 : nullptr);
    return element;
}

}  // namespace platform
