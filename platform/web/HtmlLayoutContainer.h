#pragma once

#include <litehtml.h>
#include <unicode/brkiter.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextRun.h"
#include "platform/web/HtmlElement.h"
#include "platform/web/HtmlEngineBudget.h"
#include "platform/web/HtmlHeldText.h"
#include "platform/web/HtmlLayout.h"
#include "platform/web/HtmlMarks.h"
#include "platform/web/HtmlPatch.h"
#include "platform/web/HtmlPictureElement.h"
#include "platform/web/HtmlStyleBounds.h"
#include "platform/web/HtmlVisiblePaint.h"

struct GumboInternalOutput;

// Internal to this library: the layout engine's and ICU's headers come in here, so only the
// layout's own sources include it (never HtmlLayout.h, nor a header of another library).

namespace platform {

namespace html {

// Widths of texts in one font, found by a text's view.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>()(text);
    }
};
struct FontWidths {
    std::unordered_map<std::string, int, TextHash, std::equal_to<>> byText;
    // A text of up to four bytes (one character, the commonest piece of Chinese text) by its
    // bytes read as a number, which is found quicker than by hashing the text.
    std::unordered_map<std::uint32_t, int> byCharacter;

    void clear() {
        byText.clear();
        byCharacter.clear();
    }
};

struct FontEntry {
    RunFont font;
    RunFontMetrics metrics;
    unsigned decoration = 0;
    // Names the font in the metrics and width caches.
    std::string key;
    // The font's widths, kept across documents.
    FontWidths* widths = nullptr;
};

Rect rectOf(const litehtml::position& position);
// The engine's context, with the browser's default style sheet loaded once.
litehtml::context& engineContext();

}  // namespace html

// --- The engine's container ----------------------------------------------------------------

class HtmlLayout::Container final : public litehtml::document_container,
                                    public HtmlPicturePainter,
                                    public HtmlWords {
public:
    explicit Container(std::shared_ptr<HtmlPictures> pictures);

    ~Container();

    // The engine throws what it cannot allocate (and whatever else fails inside it): a page
    // it cannot read or lay out is shown as plain text instead, and a plain text past the
    // budget as a shorter one (HtmlLayoutRun.cpp).
    void load(const std::string& html, std::chrono::nanoseconds readingTime = {});
    void layOut(double width, double viewportHeight);
    void paint(BitmapContext& context, const Rect& clip);
    // What the engine's next run is charged to (HtmlEngineBudget): the account begun when
    // the page was read, until the page is painted; a new one for each run after that.
    HtmlEngineBudget& budget();
    // The account itself, as it stands.
    const HtmlEngineBudget& account() const { return m_budget; }
    // After a run that went past its budget: the engine's work is dropped and the page is
    // shown as plain text (to be laid out again).
    void dropForPlainText() { loadAsText(); }
    // Where the plain text says it is plain text, and where it is cut (HtmlLayout::notices).
    std::vector<HtmlLayout::Notice> notices() const;

    litehtml::document::ptr& document() { return m_document; }
    HtmlMarks& marks() { return m_marks; }
    // Where blocks' content reaches past their boxes, for painting only what shows.
    HtmlOverflow& overflow() { return m_overflow; }
    // The browser's default style sheet the documents are styled by first.
    static const litehtml::css& masterStyles();
    // The elements replaced since the last layout, each with where the one it replaced stood.
    std::vector<std::pair<litehtml::element::ptr, HtmlBoxPlace>>& replaced() { return m_replaced; }
    // What the last layout was made for; -1 before the first.
    double laidOutWidth = -1;
    double laidOutHeight = -1;
    void setViewport(double width, double height) {
        m_viewportWidth = std::max(0.0, width);
        m_viewportHeight = std::max(0.0, height);
    }
    // `area` is the part of the page being painted (page coordinates).
    void setTarget(BitmapContext* target, const Rect& area = {}) {
        m_target = target;
        m_paintArea = area;
    }

    // --- Text ----------------------------------------------------------------------------

    litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                   litehtml::font_style italic, unsigned int decoration,
                                   litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr font) override;
    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) override;
    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                   litehtml::web_color color, const litehtml::position& pos) override;

    int pt_to_px(int pt) const override { return int(std::lround(pt * 96.0 / 72.0)); }
    int get_default_font_size() const override { return 16; }
    const litehtml::tchar_t* get_default_font_name() const override { return "sans-serif"; }

    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;

    // Words are what the lines break between: ICU's line breaking, so Chinese text breaks
    // between characters and Latin text at spaces. Collapsible white space comes one
    // character at a time, as the engine expects.
    void split_text(const char* text, const std::function<void(const litehtml::tchar_t*)>& on_word,
                    const std::function<void(const litehtml::tchar_t*)>& on_space) override;
    // The same words and spaces, by where they stand in `text`.
    void splitWords(std::string_view text, const Piece& piece) override;
    int textWidth(std::string_view text, litehtml::uint_ptr hFont) override;

    // --- Boxes ---------------------------------------------------------------------------

    // --- Pictures --------------------------------------------------------------------------

    void paintPicture(litehtml::uint_ptr hdc, const char* src,
                      const litehtml::position& box) override;
    void noteSizedByPicture(const char* src) override;

    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                    bool redraw_on_ready) override;
    void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                        litehtml::size& sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                      const litehtml::position& draw_pos, bool root) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& radius,
                  bool valid_x, bool valid_y) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;
    std::shared_ptr<litehtml::element> create_element(
        const litehtml::tchar_t* tag_name, const litehtml::string_map& attributes,
        const std::shared_ptr<litehtml::document>& doc) override;

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

    // Before each layout of the document, whole or in place (HtmlElementGuard).
    void beginLayoutPass() { m_guard->beginLayoutPass(); }

private:
    bool tryLoad(const std::string& html);
    bool tryRender(double width);
    bool tryPaint(BitmapContext& context, const Rect& clip);
    // Reads the page's next plain text (kTextBytes) that the engine can read; false when none
    // is left.
    bool loadAsText();
    // Shows the page's next plain text that can be read and laid out `width` wide; false when
    // none is left, and the page shows nothing.
    bool fallBack(double width);

    std::shared_ptr<HtmlPictures> m_pictures;
    // What the document's elements share: the bounds on their work (HtmlElement).
    std::shared_ptr<HtmlElementGuard> m_guard = std::make_shared<HtmlElementGuard>();
    // The bounds on the document's style sheets, counted over all of them.
    std::shared_ptr<StyleSheetBounder> m_styleSheets = std::make_shared<StyleSheetBounder>();
    std::vector<std::unique_ptr<html::FontEntry>> m_fonts;
    std::unique_ptr<icu::BreakIterator> m_breaks;
    litehtml::document::ptr m_document;
    HtmlMarks m_marks;
    HtmlOverflow m_overflow;
    std::vector<std::pair<litehtml::element::ptr, HtmlBoxPlace>> m_replaced;
    // The page's HTML, for its plain text should the engine fail on it.
    std::string m_source;
    // How much of a page's text its plain text holds: first as much as the budget lays out
    // well within its bounds here (a quarter of a megabyte of Chinese, some 90,000
    // characters, takes the engine some 0.1 s and 26 MB; of empty lines, which cost the most,
    // 0.25 s and 80 MB), then, should even that be past it (a slower machine), its first
    // screens. m_textShown counts those tried.
    static constexpr std::size_t kTextBytes[] = {std::size_t(256) << 10, std::size_t(8) << 10};
    std::size_t m_textShown = 0;
    HtmlEngineBudget m_budget;
    // The parse of the page being read while the engine has yet to destroy it (up to its
    // first question after making the elements, get_media_features): a run cut short while
    // the elements are made leaves it to be destroyed here.
    mutable GumboInternalOutput* m_parse = nullptr;
    // Whether the page has been painted since the account was begun.
    bool m_painted = false;
    BitmapContext* m_target = nullptr;
    Rect m_paintArea;
    int m_clips = 0;
    double m_viewportWidth = 0;
    double m_viewportHeight = 0;
};

}  // namespace platform
