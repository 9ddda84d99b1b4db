#include "platform/ui/HtmlLayout.h"

#include <litehtml.h>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>

#include <algorithm>
#include <cmath>

#include "platform/foundation/AsciiText.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextRun.h"

namespace platform {

namespace {

// A browser's default style sheet, as far as the school's pages and CSS 2 reach; the engine
// ships none. The campus-* elements are the layout's own marks (WebPage::layoutHTML).
constexpr const char* kDefaultStyleSheet = R"CSS(
html, address, blockquote, body, dd, div, dl, dt, fieldset, form, frame, frameset, h1, h2, h3,
h4, h5, h6, noframes, ol, p, ul, center, dir, hr, menu, pre, article, aside, footer, header,
hgroup, main, nav, section, figure, figcaption, details, summary, legend { display: block; }
head, script, style, title, meta, link, base, template, noscript, iframe, object, select,
datalist, [hidden] { display: none; }
html { background-color: white; color: black; }
body { margin: 8px; line-height: 1.4; }
p, dl, multicol, blockquote, figure { margin: 1em 0; }
blockquote, figure { margin-left: 40px; margin-right: 40px; }
h1 { font-size: 2em; margin: .67em 0; font-weight: bold; }
h2 { font-size: 1.5em; margin: .83em 0; font-weight: bold; }
h3 { font-size: 1.17em; margin: 1em 0; font-weight: bold; }
h4 { margin: 1.33em 0; font-weight: bold; }
h5 { font-size: .83em; margin: 1.67em 0; font-weight: bold; }
h6 { font-size: .67em; margin: 2.33em 0; font-weight: bold; }
h1, h2, h3, h4, h5, h6 { line-height: 1.2; }
b, strong, th { font-weight: bold; }
i, em, cite, var, address, dfn { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
small { font-size: .83em; }
big { font-size: 1.17em; }
sub { vertical-align: sub; font-size: .83em; }
sup { vertical-align: super; font-size: .83em; }
center { text-align: center; }
pre, tt, code, kbd, samp { font-family: monospace; }
pre { white-space: pre; margin: 1em 0; }
a:link, a[href] { color: #0b5bd3; text-decoration: underline; }
ul, ol, menu, dir { margin: 1em 0; padding-left: 40px; }
ol { list-style-type: decimal; }
ul, menu, dir { list-style-type: disc; }
ul ul, ol ul { list-style-type: circle; margin-top: 0; margin-bottom: 0; }
ol ol, ul ol { margin-top: 0; margin-bottom: 0; }
li { display: list-item; }
dd { margin-left: 40px; }
hr { border: 1px inset #c0c0c0; margin: .5em auto; }
table { display: table; border-collapse: separate; border-spacing: 2px; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
col { display: table-column; }
colgroup { display: table-column-group; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { text-align: center; }
caption { display: table-caption; text-align: center; }
img { display: inline-block; }
br { display: block; }
button, campus-field, textarea {
    display: inline-block; padding: 3px 10px; border: 1px solid #a9a9a9;
    border-radius: 4px; background-color: #efefef; font-size: 15px; line-height: 1.3;
    margin: 2px 0; white-space: nowrap;
}
campus-field, textarea { background-color: white; min-width: 150px; padding: 3px 4px; }
campus-field[type=button], campus-field[type=submit], campus-field[type=reset] {
    background-color: #efefef; min-width: 0; padding: 3px 10px;
}
textarea { white-space: pre-wrap; min-height: 3em; }
campus-flat { display: inline !important; float: none !important; position: static !important; }
)CSS";

litehtml::context& engineContext() {
    static litehtml::context* context = [] {
        auto* made = new litehtml::context;
        made->load_master_stylesheet(kDefaultStyleSheet);
        return made;
    }();
    return *context;
}

Color colorOf(const litehtml::web_color& color) {
    return Color::rgba(color.red / 255.0f, color.green / 255.0f, color.blue / 255.0f,
                       color.alpha / 255.0f);
}

Rect rectOf(const litehtml::position& position) {
    return Rect{{double(position.x), double(position.y)},
                {double(position.width), double(position.height)}};
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

struct FontEntry {
    RunFont font;
    RunFontMetrics metrics;
    unsigned decoration = 0;
    // Names the font in the width cache.
    std::string key;
};

// Text is measured word by word, the same words (every Chinese character is one) recur all
// over a page, and a page is laid out again after every change a script makes: the widths
// are kept across layouts, up to a bound. Main thread only, as the layouts are.
constexpr std::size_t kMaxCachedWidths = 100'000;

std::unordered_map<std::string, int>& widthCache() {
    static auto* cache = new std::unordered_map<std::string, int>;
    return *cache;
}

}  // namespace

// --- Pictures ------------------------------------------------------------------------------

std::string HtmlPictures::ask(std::string_view src) {
    std::string url = m_resolve ? m_resolve(src) : std::string(src);
    if (!url.empty() && m_asked.size() < kMaxPictures && m_asked.insert(url).second) {
        m_wanted.push_back(url);
    }
    return url;
}

const Image* HtmlPictures::picture(const std::string& url) const {
    auto found = m_pictures.find(url);
    return found == m_pictures.end() || found->second.isNull() ? nullptr : &found->second;
}

void HtmlPictures::setPicture(const std::string& url, Image picture) {
    if (m_asked.count(url) != 0) {
        m_pictures[url] = std::move(picture);
    }
}

std::vector<std::string> HtmlPictures::takeWanted() {
    return std::exchange(m_wanted, {});
}

// --- The engine's container ----------------------------------------------------------------

class HtmlLayout::Container final : public litehtml::document_container {
public:
    explicit Container(std::shared_ptr<HtmlPictures> pictures) : m_pictures(std::move(pictures)) {
        UErrorCode status = U_ZERO_ERROR;
        m_breaks.reset(icu::BreakIterator::createLineInstance(icu::Locale("zh"), status));
        if (U_FAILURE(status)) {
            m_breaks.reset();
        }
    }

    ~Container() {
        // The document refers to the fonts and calls back while it goes.
        m_document.reset();
    }

    void load(const std::string& html) {
        m_document = litehtml::document::createFromUTF8(html.c_str(), this, &engineContext());
    }

    litehtml::document::ptr& document() { return m_document; }
    void setViewport(double width, double height) {
        m_viewportWidth = std::max(0.0, width);
        m_viewportHeight = std::max(0.0, height);
    }
    void setTarget(BitmapContext* target) { m_target = target; }

    // --- Text ----------------------------------------------------------------------------

    litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                   litehtml::font_style italic, unsigned int decoration,
                                   litehtml::font_metrics* fm) override {
        auto entry = std::make_unique<FontEntry>();
        entry->font.families = familiesFor(faceName);
        entry->font.size = std::clamp(size, 1, 512);
        entry->font.weight = weight;
        entry->font.italic = italic == litehtml::fontStyleItalic;
        entry->decoration = decoration;
        entry->metrics = runFontMetrics(entry->font);
        entry->key = entry->font.families + '\x1f' + std::to_string(entry->font.size) + '\x1f' +
                     std::to_string(entry->font.weight) + (entry->font.italic ? "i" : "") + '\x1f';
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

    void delete_font(litehtml::uint_ptr /*font*/) override {
        // The fonts go with the layout; the engine asks for each one once per document.
    }

    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) override {
        auto* font = reinterpret_cast<FontEntry*>(hFont);
        if (!font || !text) {
            return 0;
        }
        m_key.assign(font->key).append(text);
        auto& cache = widthCache();
        if (auto found = cache.find(m_key); found != cache.end()) {
            return found->second;
        }
        const int width = int(std::ceil(runWidth(text, font->font)));
        if (cache.size() >= kMaxCachedWidths) {
            cache.clear();
        }
        cache.emplace(m_key, width);
        return width;
    }

    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                   litehtml::web_color color, const litehtml::position& pos) override {
        auto* context = reinterpret_cast<BitmapContext*>(hdc);
        auto* font = reinterpret_cast<FontEntry*>(hFont);
        if (!context || !font || !text) {
            return;
        }
        const Color ink = colorOf(color);
        context->drawTextRun(text, font->font, ink, Point{double(pos.x), double(pos.y)});
        const double thickness = std::max(1.0, font->font.size / 16);
        const double ascent = font->metrics.ascent;
        auto line = [&](double y) {
            context->fillRect(Rect{{double(pos.x), pos.y + y}, {double(pos.width), thickness}},
                              ink);
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

    int pt_to_px(int pt) const override { return int(std::lround(pt * 96.0 / 72.0)); }
    int get_default_font_size() const override { return 16; }
    const litehtml::tchar_t* get_default_font_name() const override { return "sans-serif"; }

    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override {
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

    // Words are what the lines break between: ICU's line breaking, so Chinese text breaks
    // between characters and Latin text at spaces. Collapsible white space comes one
    // character at a time, as the engine expects.
    void split_text(const char* text, const std::function<void(const litehtml::tchar_t*)>& on_word,
                    const std::function<void(const litehtml::tchar_t*)>& on_space) override {
        std::string_view all(text ? text : "");
        auto emit = [&](std::string_view segment) {
            std::size_t i = 0;
            while (i < segment.size()) {
                if (isCollapsibleSpace(segment[i])) {
                    const char space[2] = {segment[i], '\0'};
                    on_space(space);
                    ++i;
                    continue;
                }
                std::size_t end = i;
                while (end < segment.size() && !isCollapsibleSpace(segment[end]) &&
                       end - i < kMaxWordBytes) {
                    ++end;
                }
                // A word past the longest is cut (at a character) into pieces that may go on
                // lines of their own, as overflow-wrap does: no page can hand the text
                // measurer one unbreakable megabyte.
                if (end - i >= kMaxWordBytes) {
                    while (end > i + 1 && end < segment.size() &&
                           (static_cast<unsigned char>(segment[end]) & 0xC0) == 0x80) {
                        --end;
                    }
                }
                on_word(std::string(segment.substr(i, end - i)).c_str());
                i = end;
            }
        };
        UErrorCode status = U_ZERO_ERROR;
        UText* utext =
            m_breaks ? utext_openUTF8(nullptr, all.data(), int64_t(all.size()), &status) : nullptr;
        if (!utext || U_FAILURE(status)) {
            utext_close(utext);
            emit(all);
            return;
        }
        m_breaks->setText(utext, status);
        if (U_FAILURE(status)) {
            utext_close(utext);
            emit(all);
            return;
        }
        int32_t start = m_breaks->first();
        for (int32_t end = m_breaks->next(); end != icu::BreakIterator::DONE;
             start = end, end = m_breaks->next()) {
            emit(all.substr(std::size_t(start), std::size_t(end - start)));
        }
        // The iterator keeps the text; it must not outlive it.
        m_breaks->setText(icu::UnicodeString());
        utext_close(utext);
    }

    // --- Boxes ---------------------------------------------------------------------------

    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override {
        auto* context = reinterpret_cast<BitmapContext*>(hdc);
        if (!context) {
            return;
        }
        Rect box = rectOf(marker.pos);
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

    void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* /*baseurl*/,
                    bool /*redraw_on_ready*/) override {
        if (src && *src) {
            m_pictures->ask(src);
        }
    }

    void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* /*baseurl*/,
                        litehtml::size& sz) override {
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

    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override {
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
        context->saveState();
        context->clip(clip);
        const Size tile{double(bg.image_size.width), double(bg.image_size.height)};
        const Point origin{double(bg.origin_box.x + bg.position_x),
                           double(bg.origin_box.y + bg.position_y)};
        const bool repeatX = bg.repeat == litehtml::background_repeat_repeat ||
                             bg.repeat == litehtml::background_repeat_repeat_x;
        const bool repeatY = bg.repeat == litehtml::background_repeat_repeat ||
                             bg.repeat == litehtml::background_repeat_repeat_y;
        double startX = origin.x;
        double startY = origin.y;
        if (repeatX) {
            startX -= std::ceil((origin.x - clip.minX()) / tile.width) * tile.width;
        }
        if (repeatY) {
            startY -= std::ceil((origin.y - clip.minY()) / tile.height) * tile.height;
        }
        for (double y = startY; y < clip.maxY(); y += tile.height) {
            for (double x = startX; x < clip.maxX(); x += tile.width) {
                context->drawImageUpright(*picture, Rect{{x, y}, tile});
                if (!repeatX) {
                    break;
                }
            }
            if (!repeatY) {
                break;
            }
        }
        context->restoreState();
    }

    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                      const litehtml::position& draw_pos, bool /*root*/) override {
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
        if (radius > 0 && shows(b.top) && b.top.width == b.left.width &&
            b.top.width == b.right.width && b.top.width == b.bottom.width) {
            const double width = b.top.width;
            context->strokeRoundedRect(box.insetBy(width / 2, width / 2),
                                       std::max(0.0, radius - width / 2), colorOf(b.top.color),
                                       width);
            return;
        }
        if (shows(b.top)) {
            context->fillRect(Rect{box.origin, {box.width(), double(b.top.width)}},
                              colorOf(b.top.color));
        }
        if (shows(b.bottom)) {
            context->fillRect(Rect{{box.minX(), box.maxY() - b.bottom.width},
                                   {box.width(), double(b.bottom.width)}},
                              colorOf(b.bottom.color));
        }
        if (shows(b.left)) {
            context->fillRect(Rect{box.origin, {double(b.left.width), box.height()}},
                              colorOf(b.left.color));
        }
        if (shows(b.right)) {
            context->fillRect(Rect{{box.maxX() - b.right.width, box.minY()},
                                   {double(b.right.width), box.height()}},
                              colorOf(b.right.color));
        }
    }

    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& /*radius*/,
                  bool /*valid_x*/, bool /*valid_y*/) override {
        if (m_target) {
            m_target->saveState();
            m_target->clip(rectOf(pos));
            ++m_clips;
        }
    }

    void del_clip() override {
        if (m_target && m_clips > 0) {
            m_target->restoreState();
            --m_clips;
        }
    }

    void get_client_rect(litehtml::position& client) const override {
        client = litehtml::position(0, 0, int(m_viewportWidth), int(m_viewportHeight));
    }

    void get_media_features(litehtml::media_features& media) const override {
        media.type = litehtml::media_type_screen;
        media.width = media.device_width = int(m_viewportWidth);
        media.height = media.device_height = int(m_viewportHeight);
        media.color = 8;
        media.monochrome = 0;
        media.color_index = 256;
        media.resolution = 96;
    }

    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override {
        language = "zh";
        culture = "zh-CN";
    }

    std::shared_ptr<litehtml::element> create_element(
        const litehtml::tchar_t* /*tag_name*/, const litehtml::string_map& /*attributes*/,
        const std::shared_ptr<litehtml::document>& /*doc*/) override {
        return nullptr;  // the engine's own elements
    }

    // --- What the page does not get here -------------------------------------------------
    // Its title, links and taps are the web view's (WebPage); style sheets of other
    // addresses are not fetched (the school's pages carry theirs inline).
    void set_caption(const litehtml::tchar_t* /*caption*/) override {}
    void set_base_url(const litehtml::tchar_t* /*base_url*/) override {}
    void link(const std::shared_ptr<litehtml::document>& /*doc*/,
              const litehtml::element::ptr& /*el*/) override {}
    void on_anchor_click(const litehtml::tchar_t* /*url*/,
                         const litehtml::element::ptr& /*el*/) override {}
    void set_cursor(const litehtml::tchar_t* /*cursor*/) override {}
    void import_css(litehtml::tstring& /*text*/, const litehtml::tstring& /*url*/,
                    litehtml::tstring& /*baseurl*/) override {}

private:
    std::shared_ptr<HtmlPictures> m_pictures;
    std::vector<std::unique_ptr<FontEntry>> m_fonts;
    std::unique_ptr<icu::BreakIterator> m_breaks;
    std::string m_key;
    litehtml::document::ptr m_document;
    BitmapContext* m_target = nullptr;
    int m_clips = 0;
    double m_viewportWidth = 0;
    double m_viewportHeight = 0;
};

// --- The layout ----------------------------------------------------------------------------

HtmlLayout::HtmlLayout(const std::string& html, std::shared_ptr<HtmlPictures> pictures)
    : m_container(std::make_unique<Container>(pictures ? std::move(pictures)
                                                       : std::make_shared<HtmlPictures>(nullptr))) {
    m_container->load(html);
}

HtmlLayout::~HtmlLayout() = default;

void HtmlLayout::layOut(double width, double viewportHeight) {
    m_container->setViewport(width, viewportHeight);
    if (auto& document = m_container->document()) {
        document->media_changed();
        document->render(std::max(1, int(width)));
    }
}

Size HtmlLayout::size() const {
    const auto& document = m_container->document();
    if (!document) {
        return {};
    }
    return Size{double(document->width()), double(document->height())};
}

void HtmlLayout::paint(BitmapContext& context, const Rect& clip) const {
    const auto& document = m_container->document();
    if (!document) {
        return;
    }
    const litehtml::position area(int(std::floor(clip.minX())), int(std::floor(clip.minY())),
                                  int(std::ceil(clip.width())) + 1,
                                  int(std::ceil(clip.height())) + 1);
    m_container->setTarget(&context);
    document->draw(reinterpret_cast<litehtml::uint_ptr>(&context), 0, 0, &area);
    m_container->setTarget(nullptr);
}

namespace {

// The boxes of what an element shows: its own for a block, its content's line by line for
// an inline element (whose own box the engine leaves empty).
void collectBoxes(const litehtml::element::ptr& element, Rect& frame) {
    if (!element || element->get_display() == litehtml::display_none) {
        return;
    }
    const std::size_t children = element->get_children_count();
    const bool inlineBox = element->get_display() == litehtml::display_inline;
    if (!inlineBox || children == 0) {
        Rect box = rectOf(element->get_placement());
        if (!box.isEmpty()) {
            frame = frame.isEmpty() ? box : frame.unionWith(box);
        }
        if (!inlineBox) {
            return;
        }
    }
    for (std::size_t i = 0; i < children; ++i) {
        collectBoxes(element->get_child(int(i)), frame);
    }
}

void collectItems(const litehtml::element::ptr& element, std::vector<Rect>& frames) {
    if (!element || element->get_display() == litehtml::display_none) {
        return;
    }
    if (const char* mark = element->get_attr("data-campus-item")) {
        char* end = nullptr;
        long index = std::strtol(mark, &end, 10);
        if (end != mark && index >= 0 && std::size_t(index) < frames.size()) {
            Rect frame;
            collectBoxes(element, frame);
            Rect& shown = frames[std::size_t(index)];
            if (!frame.isEmpty()) {
                shown = shown.isEmpty() ? frame : shown.unionWith(frame);
            }
        }
    }
    const std::size_t children = element->get_children_count();
    for (std::size_t i = 0; i < children; ++i) {
        collectItems(element->get_child(int(i)), frames);
    }
}

}  // namespace

std::vector<Rect> HtmlLayout::itemFrames(std::size_t count) const {
    std::vector<Rect> frames(count);
    if (const auto& document = m_container->document()) {
        collectItems(document->root(), frames);
    }
    return frames;
}

}  // namespace platform
