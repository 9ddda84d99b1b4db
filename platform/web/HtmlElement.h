#pragma once

// The layout's own elements: the engine's element classes with bounds on the work a page can
// make them do, whatever its markup and style sheets say. HtmlLayout's container hands them
// to the engine from create_element (makeHtmlElement). A kind of element of our own derives
// from HtmlElement<its engine class> and is made for its tag in makeHtmlElement.

#include <litehtml.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <unordered_map>

#include "platform/web/HtmlEngineBudget.h"
#include "platform/web/HtmlHeldText.h"
#include "platform/web/HtmlMargins.h"
#include "platform/web/HtmlPresentation.h"

namespace litehtml {
class el_div;
class el_font;
class el_image;
class el_para;
class el_table;
class el_td;
class el_tr;
}  // namespace litehtml

namespace platform {

// What one document's elements share: the work its selector matching has done in the
// current style pass and what that matching already found, and where the list item being
// painted moves its marker.
//
// Matching a selector of n descendant (or sibling) steps tries every way of choosing n of an
// element's ancestors (or earlier siblings): a page of a few dozen nested elements and one
// long selector stalls the engine for minutes. What an element's ancestors (siblings) match
// does not change within a pass, so each walk's answer is remembered and the work becomes
// linear; and selectors past kMaxCombinators steps never match, and a pass stops matching
// walks after kMaxMatchSteps, so that no page's styles can cost more than that.
class HtmlElementGuard {
public:
    static constexpr int kMaxCombinators = 16;
    static constexpr std::size_t kMaxMatchSteps = 1'000'000;
    static constexpr std::size_t kMaxRemembered = 250'000;
    // Laying out a box that shrinks to fit (a float, an inline-block, a table and its cells)
    // lays its content out more than once, so the work doubles or triples with each such box
    // nested in another. Past this many (a table counts one, a table part outside a table
    // two), boxes lay out as blocks: eight tables, as deep as the layout gives them
    // (LayoutWriter), a timetable eight deep costing the phone some 0.3 s.
    static constexpr int kMaxShrinkNesting = 8;
    // A table's grid has a slot for every row and column, spanned or empty: one row of a
    // thousand cells over a thousand rows is a million. A table whose grid could be larger
    // than this lays out as blocks.
    static constexpr std::size_t kMaxTableSlots = 250'000;
    // Placing a float looks at every float placed before it in its formatting context, so
    // the work grows with the square of their number. Floats of one formatting context (its
    // children's, and those of its blocks that hold no context of their own) past this many
    // lay out in the flow.
    static constexpr int kMaxContextFloats = 256;

    enum class Walk { Ancestor, AdjacentSibling, Sibling };
    using Search = std::function<litehtml::element::ptr(bool* isPseudo)>;

    // A top-level match of `selector`: false when it has too many steps to be tried.
    static bool mayMatch(const litehtml::css_selector& selector);

    // Around the engine's style passes (applying a style sheet, refreshing styles): the
    // outermost starts a new pass.
    void enterStylePass();
    void leaveStylePass();
    // Around the engine's matching of a selector at an element: false when the pass has
    // spent its matching work (the selector then does not match).
    bool enterMatch();
    void leaveMatch() { --m_matchDepth; }
    bool matching() const { return m_matchDepth > 0; }
    // The answer of a walk from `from` for `selector`, remembered for the style pass.
    litehtml::element::ptr walk(Walk kind, const litehtml::element* from,
                                const litehtml::css_selector& selector, bool applyPseudo,
                                bool* isPseudo, const Search& search);

    // Around the engine's parsing of an element's styles: the outermost bounds the nesting of
    // the boxes it parsed.
    void enterStyleParse() { ++m_parseDepth; }
    bool leaveStyleParse() { return --m_parseDepth == 0; }

    // How far down the list item being painted moves its marker (points), so that the marker
    // stands level with the text of its first line however tall that line is.
    int markerShift() const { return m_markerShift; }

    // Whether some element's content may reach past its box (a float, a negative margin, a
    // box of fixed height): painting only the boxes that meet the screen must then measure
    // where content reaches. Kept for the document's life, whatever later changes remove.
    void noteReachPastBox() { m_reachesPastBox = true; }
    bool mayReachPastBox() const { return m_reachesPastBox; }

    // Each layout of the document (whole, or a changed block in place) is a pass of its own:
    // what an element worked out of its children within a pass holds until the next.
    void beginLayoutPass() { ++m_layoutPass; }
    std::uint64_t layoutPass() const { return m_layoutPass; }
    void setMarkerShift(int shift) { m_markerShift = shift; }

    // Whether some element floats: lines beside a float are shorter, which only the engine
    // knows, so no block breaks its own text into lines then (HtmlHeldText).
    void noteFloat() { m_floats = true; }
    bool hasFloats() const { return m_floats; }

    // The text of an element that holds only text, taken whole as the document is made: the
    // container names the element as it makes it, hands the element's text to the engine as
    // one run, and the element takes that run as its first child. Any other child ends it.
    void expectHeldText(const litehtml::element* holder) {
        m_textHolder = holder;
        m_wholeTextGiven = false;
    }
    bool givesWholeText() {
        if (!m_textHolder || m_wholeTextGiven) {
            return false;
        }
        m_wholeTextGiven = true;
        return true;
    }
    bool isWholeTextOf(const litehtml::element* to) {
        const bool whole = m_textHolder == to && m_wholeTextGiven;
        m_textHolder = nullptr;
        m_wholeTextGiven = false;
        return whole;
    }

private:
    struct Key {
        const void* from;
        const void* selector;
        int kind;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return std::hash<const void*>()(key.from) * 31 +
                   std::hash<const void*>()(key.selector) * 7 + std::size_t(key.kind);
        }
    };
    struct Found {
        litehtml::element* element;
        bool pseudo;
    };

    std::uint64_t m_layoutPass = 0;
    int m_styleDepth = 0;
    int m_matchDepth = 0;
    int m_parseDepth = 0;
    int m_markerShift = 0;
    bool m_reachesPastBox = false;
    bool m_floats = false;
    const litehtml::element* m_textHolder = nullptr;
    bool m_wholeTextGiven = false;
    std::size_t m_steps = 0;
    std::unordered_map<Key, Found, KeyHash> m_found;
};

// The nesting bound's view of an element, whatever its engine class.
class HtmlBoxNesting {
public:
    virtual ~HtmlBoxNesting() = default;
    // Lays out as blocks the boxes of this element and its descendants that nest too deep:
    // `above` is what the ancestors' shrink-to-fit boxes count, `parentDisplay` the parent's
    // display, `inFlatTable` whether the parent is a table part that no longer lays out as one,
    // `contextFloats` what the floats of the formatting context the element is in count
    // (nullptr: none yet).
    virtual void boundBoxes(int above, litehtml::style_display parentDisplay, bool inFlatTable,
                            int* contextFloats = nullptr) = 0;
    int nesting() const { return m_nesting; }
    // Lays the element out as a block (no float), whatever its style says.
    virtual void layOutAsBlock() = 0;
    virtual bool floats() const = 0;
    // Lays the element out in the flow, not floated.
    virtual void layOutInFlow() = 0;

protected:
    // What this element's box and its ancestors' count.
    int m_nesting = 0;
};

namespace htmlelement {

// The value of a colspan or rowspan attribute as browsers read it and clamp it (colspan
// 1-1000, rowspan 0-65534; what is not a number counts as 1).
std::string clampedSpan(const char* name, const char* value);
bool isSpanAttribute(const char* name);
// A non-negative integer as a browser reads one in an attribute: digits after any spaces and
// a "+", what follows them ignored, counted no further than `most`; none without a digit.
std::optional<std::uint64_t> attributeInteger(const char* value, std::uint64_t most);

// What the element's box counts toward the nesting bound, by its display and float, and
// whether it is a table part that lays out in a table (a part out of one gets a table of its
// own around it).
int shrinkCost(litehtml::style_display display, litehtml::element_float floating,
               litehtml::style_display parentDisplay);
bool isTablePart(litehtml::style_display display);
bool isTableStructure(litehtml::style_display display);

// How far below where the engine puts a list item's marker the item's first text stands:
// the engine centres the marker on a line of the item's own font (`lineHeight`, `metrics`),
// and a first line holding a button or larger text is taller than that.
int markerShift(const litehtml::element& item, int lineHeight,
                const litehtml::font_metrics& metrics);

// Where the element's box count starts: what its nearest element of ours counts.
int nestingAbove(const litehtml::element& element);

// The most slots the table's grid could have: its rows times the most columns a row could
// reach (its own spans and those of cells reaching down into it).
std::size_t tableSlots(const litehtml::element& table);
// Lays out the table's rows, row groups and cells of ours as blocks.
void layOutTablePartsAsBlocks(const litehtml::element& table);

}  // namespace htmlelement

template <class Base>
class HtmlElement : public Base, public HtmlBoxNesting {
public:
    HtmlElement(const std::shared_ptr<litehtml::document>& doc,
                std::shared_ptr<HtmlElementGuard> guard)
        : Base(doc), m_guard(std::move(guard)) {}

    void set_attr(const litehtml::tchar_t* name, const litehtml::tchar_t* value) override {
        if (value && htmlelement::isSpanAttribute(name)) {
            Base::set_attr(name, htmlelement::clampedSpan(name, value).c_str());
            return;
        }
        Base::set_attr(name, value);
    }

    // The old presentational attributes, read as a browser reads them (HtmlPresentation.h), in
    // place of the engine's own reading of them; a picture keeps what else the engine reads.
    void parse_attributes() override {
        if constexpr (std::is_same_v<Base, litehtml::el_image>) {
            litehtml::style before = this->m_style;
            Base::parse_attributes();
            this->m_style = std::move(before);
        } else if constexpr (std::is_same_v<Base, litehtml::el_table> ||
                             std::is_same_v<Base, litehtml::el_td> ||
                             std::is_same_v<Base, litehtml::el_tr> ||
                             std::is_same_v<Base, litehtml::el_font> ||
                             std::is_same_v<Base, litehtml::el_div> ||
                             std::is_same_v<Base, litehtml::el_para>) {
            litehtml::html_tag::parse_attributes();
        } else {
            Base::parse_attributes();
        }
        htmlpresentation::addHints(*this, this->m_style);
    }

    // --- Selector matching, bounded ----------------------------------------------------------

    void apply_stylesheet(const litehtml::css& stylesheet) override {
        StylePass pass(*m_guard);
        Base::apply_stylesheet(stylesheet);
    }

    void refresh_styles() override {
        StylePass pass(*m_guard);
        Base::refresh_styles();
    }

    int select(const litehtml::css_selector& selector, bool applyPseudo = true) override {
        HtmlEngineBudget::check();
        // Every element meets every selector of every style sheet: most name another tag,
        // and saying so first spares the engine's whole matching for them.
        const std::string& tag = selector.m_right.m_tag;
        if (!tag.empty() && tag != "*" && tag != this->m_tag) {
            return litehtml::select_no_match;
        }
        if (!m_guard->matching() && !HtmlElementGuard::mayMatch(selector)) {
            return litehtml::select_no_match;
        }
        if (!m_guard->enterMatch()) {
            return litehtml::select_no_match;
        }
        Match match(*m_guard);
        return Base::select(selector, applyPseudo);
    }
    using Base::select;

    litehtml::element::ptr find_ancestor(const litehtml::css_selector& selector,
                                         bool applyPseudo = true,
                                         bool* isPseudo = nullptr) override {
        return m_guard->walk(
            HtmlElementGuard::Walk::Ancestor, this, selector, applyPseudo, isPseudo,
            [&](bool* pseudo) { return Base::find_ancestor(selector, applyPseudo, pseudo); });
    }

    litehtml::element::ptr find_adjacent_sibling(const litehtml::element::ptr& el,
                                                 const litehtml::css_selector& selector,
                                                 bool applyPseudo = true,
                                                 bool* isPseudo = nullptr) override {
        return m_guard->walk(HtmlElementGuard::Walk::AdjacentSibling, ours(el), selector,
                             applyPseudo, isPseudo, [&](bool* pseudo) {
                                 return Base::find_adjacent_sibling(el, selector, applyPseudo,
                                                                    pseudo);
                             });
    }

    litehtml::element::ptr find_sibling(const litehtml::element::ptr& el,
                                        const litehtml::css_selector& selector,
                                        bool applyPseudo = true,
                                        bool* isPseudo = nullptr) override {
        return m_guard->walk(
            HtmlElementGuard::Walk::Sibling, ours(el), selector, applyPseudo, isPseudo,
            [&](bool* pseudo) { return Base::find_sibling(el, selector, applyPseudo, pseudo); });
    }

    // --- Nesting of shrink-to-fit boxes, bounded ---------------------------------------------

    void parse_styles(bool isReparse = false) override {
        m_guard->enterStyleParse();
        try {
            Base::parse_styles(isReparse);
        } catch (...) {
            m_guard->leaveStyleParse();
            throw;
        }
        if (reachesPastBox()) {
            m_guard->noteReachPastBox();
        }
        if (this->m_float != litehtml::float_none) {
            m_guard->noteFloat();
        }
        if (m_heldText && m_heldText->unplaced() && !isBlockBox()) {
            // Laid out by its parent's lines, not by a layout of its own.
            m_heldText->placeWords(*this, this->m_children);
        }
        if (m_guard->leaveStyleParse()) {
            const auto parent = this->parent();
            boundBoxes(htmlelement::nestingAbove(*this),
                       parent ? parent->get_display() : litehtml::display_block, false);
        }
    }

    bool reachesPastBox() const {
        if (this->m_float != litehtml::float_none || this->m_css_margins.top.val() < 0 ||
            this->m_css_margins.bottom.val() < 0) {
            return true;
        }
        return !this->is_replaced() &&
               (!this->m_css_height.is_predefined() || !this->m_css_max_height.is_predefined());
    }

    void boundBoxes(int above, litehtml::style_display parentDisplay, bool inFlatTable,
                    int* contextFloats = nullptr) override {
        const litehtml::style_display display = this->m_display;
        int cost = htmlelement::shrinkCost(display, this->m_float, parentDisplay);
        bool flatTable = false;
        if ((inFlatTable && htmlelement::isTablePart(display)) ||
            (cost > 0 && above + cost > HtmlElementGuard::kMaxShrinkNesting &&
             (holdsBoxes() || this->m_float != litehtml::float_none))) {
            flatTable = htmlelement::isTableStructure(display);
            if (display == litehtml::display_inline_block && isInlineRun()) {
                // The layout's own boxes that keep a run on one line: the run stays inline.
                this->m_display = litehtml::display_inline;
            } else if (display == litehtml::display_inline_block || flatTable) {
                layOutAsBlock();
            }
            this->m_float = litehtml::float_none;
            cost = 0;
        }
        m_nesting = above + cost;
        int ownFloats = 0;
        int* floats = !contextFloats || this->is_floats_holder() ? &ownFloats : contextFloats;
        for (const auto& child : this->m_children) {
            if (auto* nested = dynamic_cast<HtmlBoxNesting*>(child.get())) {
                if (nested->floats() && ++*floats > HtmlElementGuard::kMaxContextFloats) {
                    nested->layOutInFlow();
                }
                nested->boundBoxes(m_nesting, this->m_display, flatTable, floats);
            }
        }
    }

    void layOutAsBlock() override {
        this->m_display = litehtml::display_block;
        this->m_float = litehtml::float_none;
    }

    bool floats() const override { return this->m_float != litehtml::float_none; }
    void layOutInFlow() override { this->m_float = litehtml::float_none; }

    // --- A text that is all the element holds ----------------------------------------------

    bool appendChild(const litehtml::element::ptr& el) override {
        if (m_guard->isWholeTextOf(this) && el && !m_heldText) {
            std::string text;
            el->get_text(text);
            m_heldText = std::make_unique<HtmlHeldText>(std::move(text));
            return true;
        }
        if (m_heldText) {
            // Something beside the text after all: the text goes ahead of it, as words.
            m_heldText->placeWords(*this, this->m_children);
            m_heldText.reset();
        }
        return Base::appendChild(el);
    }

    int render(int x, int y, int maxWidth, bool secondPass = false) override {
        HtmlEngineBudget::check();
        if (!m_heldText) {
            return Base::render(x, y, maxWidth, secondPass);
        }
        if (!breaksItsOwnLines()) {
            m_heldText->placeWords(*this, this->m_children);
            return Base::render(x, y, maxWidth, secondPass);
        }
        // Laid out first with the lines it has (none, the first time) for its width.
        int used = Base::render(x, y, maxWidth, secondPass);
        const int width = this->m_pos.width;
        if (m_heldText->placeLines(*this, this->m_children, width,
                                   this->m_css_text_indent.calc_percent(width))) {
            used = Base::render(x, y, maxWidth, secondPass);
        }
        return used;
    }

    // --- A top margin taken from the first child (HtmlMargins.h) -----------------------------

    void calc_outlines(int parentWidth) override {
        Base::calc_outlines(parentWidth);
        if (this->collapse_top_margin()) {
            const int content = parentWidth - this->m_margins.left - this->m_margins.right -
                                this->m_padding.left - this->m_padding.right -
                                this->m_borders.left - this->m_borders.right;
            // The engine works out a block's outlines again at each step of its layout, and
            // each time the first child's would be asked for down the chain: asked once per
            // pass and width, a chain of first children costs its length, not its square.
            const std::uint64_t pass = m_guard->layoutPass();
            if (m_firstChildMargin.pass != pass || m_firstChildMargin.width != content) {
                m_firstChildMargin = {pass, content,
                                      htmlelement::firstChildTopMargin(*this, content)};
            }
            this->m_margins.top = std::max(this->m_margins.top, m_firstChildMargin.margin);
        }
    }

    void get_text(litehtml::tstring& text) override {
        if (m_heldText && m_heldText->unplaced()) {
            text += m_heldText->text();
            return;
        }
        Base::get_text(text);
    }

    // --- List markers ------------------------------------------------------------------------

    void draw(litehtml::uint_ptr hdc, int x, int y, const litehtml::position* clip) override {
        HtmlEngineBudget::check();
        if (this->m_display != litehtml::display_list_item ||
            this->m_list_style_type == litehtml::list_style_type_none) {
            Base::draw(hdc, x, y, clip);
            return;
        }
        struct Shifted {
            ~Shifted() { guard.setMarkerShift(0); }
            HtmlElementGuard& guard;
        } shifted{*m_guard};
        m_guard->setMarkerShift(
            htmlelement::markerShift(*this, this->m_line_height, this->m_font_metrics));
        Base::draw(hdc, x, y, clip);
    }

    // --- Table grids, bounded ----------------------------------------------------------------

    void init() override {
        if ((this->m_display == litehtml::display_table ||
             this->m_display == litehtml::display_inline_table) &&
            htmlelement::tableSlots(*this) > HtmlElementGuard::kMaxTableSlots) {
            htmlelement::layOutTablePartsAsBlocks(*this);
            layOutAsBlock();
        }
        Base::init();
    }

protected:
    const std::shared_ptr<HtmlElementGuard>& guard() const { return m_guard; }

private:
    struct StylePass {
        explicit StylePass(HtmlElementGuard& guard) : guard(guard) { guard.enterStylePass(); }
        ~StylePass() { guard.leaveStylePass(); }
        HtmlElementGuard& guard;
    };
    struct Match {
        explicit Match(HtmlElementGuard& guard) : guard(guard) {}
        ~Match() { guard.leaveMatch(); }
        HtmlElementGuard& guard;
    };

    // Only our elements are remembered by address: the engine makes and drops elements of
    // its own (::before, ::after) within a pass, and a new one may reuse an old address.
    static const litehtml::element* ours(const litehtml::element::ptr& el) {
        return dynamic_cast<const HtmlBoxNesting*>(el.get()) ? el.get() : nullptr;
    }

    bool isBlockBox() const {
        return this->m_display == litehtml::display_block ||
               this->m_display == litehtml::display_list_item;
    }

    // Where the engine's lines all run the block's whole width (the first less its indent)
    // and are broken by its plain rule (HtmlHeldText): no float, no shrinking to fit, no
    // justified lines, no indent that is a share of a width.
    bool breaksItsOwnLines() const {
        return isBlockBox() && this->m_float == litehtml::float_none &&
               (this->m_el_position == litehtml::element_position_static ||
                this->m_el_position == litehtml::element_position_relative) &&
               this->m_white_space == litehtml::white_space_normal &&
               this->m_text_align != litehtml::text_align_justify &&
               this->m_css_text_indent.units() != litehtml::css_units_percentage &&
               m_nesting == 0 && !m_guard->hasFloats();
    }

    bool isInlineRun() const {
        const char* tag = this->get_tagName();
        return tag &&
               (std::strcmp(tag, "campus-glue") == 0 || std::strcmp(tag, "campus-word") == 0);
    }

    // A box whose content is only text (or a picture) costs little however often it is laid
    // out: it keeps its box at any depth (a button, a field, an inline picture). Not a float:
    // its siblings are placed around it, and that is what nesting multiplies.
    bool holdsBoxes() const {
        if (this->is_replaced()) {
            return false;
        }
        if (htmlelement::isTableStructure(this->m_display)) {
            return true;
        }
        for (const auto& child : this->m_children) {
            if (dynamic_cast<const litehtml::html_tag*>(child.get())) {
                return true;
            }
        }
        return false;
    }

    std::shared_ptr<HtmlElementGuard> m_guard;
    // The top margin last taken from the first child: for which layout pass and width.
    struct FirstChildMargin {
        std::uint64_t pass = 0;
        int width = -1;
        int margin = 0;
    };
    FirstChildMargin m_firstChildMargin;
    std::unique_ptr<HtmlHeldText> m_heldText;
};

class HtmlPicturePainter;

// The element the engine makes for the tag (its own class for the tag, bounded), or nullptr
// for one the engine makes itself. With `pictures`, an <img> paints its picture through it
// at its box (HtmlPictureElement).
std::shared_ptr<litehtml::element> makeHtmlElement(const litehtml::tchar_t* tag,
                                                   const std::shared_ptr<litehtml::document>& doc,
                                                   const std::shared_ptr<HtmlElementGuard>& guard,
                                                   HtmlPicturePainter* pictures = nullptr);

}  // namespace platform
