#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/TextRun.h"

namespace platform {

class BitmapContext;

// The pictures of one page: what its layouts asked for, and what has arrived. Kept by the web
// view across the page's layouts (a script's change lays the page out again, and the pictures
// stay). At most kMaxPictures addresses are asked for; a page's others stay empty boxes.
class HtmlPictures {
public:
    static constexpr std::size_t kMaxPictures = 64;

    // `resolve` turns an address as the page wrote it into the one to fetch.
    explicit HtmlPictures(std::function<std::string(std::string_view)> resolve)
        : m_resolve(std::move(resolve)) {}

    // The resolved address; it is wanted if it was never asked for.
    std::string ask(std::string_view src);
    // The picture fetched for the address, or nullptr.
    const Image* picture(const std::string& url) const;
    void setPicture(const std::string& url, Image picture);
    // The addresses asked for since the last call, each once.
    std::vector<std::string> takeWanted();
    // Whether a layout took the size of a box from the picture (the page gave not both its
    // width and height): its arrival moves what follows, where another's only shows it.
    bool sizesBox(const std::string& url) const { return m_sizing.count(url) != 0; }
    void noteSizesBox(std::string_view src);

private:
    const std::string& resolved(std::string_view src);

    std::function<std::string(std::string_view)> m_resolve;
    // Each address as the page wrote it, resolved once: painting asks again every frame.
    std::unordered_map<std::string, std::string> m_resolved;
    std::unordered_set<std::string> m_sizing;
    std::unordered_map<std::string, Image> m_pictures;
    std::unordered_set<std::string> m_asked;
    std::vector<std::string> m_wanted;
};

// A page laid out and painted as a browser does, by the litehtml engine, with text measured
// and drawn by Pango (platform/graphics TextRun) and everything else by Cairo: blocks and
// inline runs broken into lines where the language allows (between any two Chinese
// characters, at spaces in Latin text), headings, lists with markers, tables, alignment,
// margins, padding, borders, backgrounds, display:none, pictures at their given or natural
// size, under a browser's default style sheet. Coordinates are points, the page's CSS pixels.
// The page's style sheets reach the engine within StyleBounds (HtmlStyleBounds.h), and its
// matching and boxes keep to HtmlElementGuard's bounds (HtmlElement.h).
//
// Every run of the engine (reading the page, laying it out, painting it, a change in place)
// keeps within a budget of CPU time and memory (HtmlEngineBudget); a page past it shows as
// plain text, as does one the engine fails on, cut to what the budget lays out (its first
// screens at the least) and saying so where it begins and where it is cut (notices()).
//
// The HTML comes from WebPage::layoutHTML(): items()'s nodes carry data-campus-item (or
// data-campus-text) marks, and itemFrames() says where each stands. Main thread only.
class HtmlLayout {
public:
    // `readingTime`: what reading the page's markup cost (WebPage::takeReadingTime), charged to
    // the engine's budget for the page's first showing.
    HtmlLayout(const std::string& html, std::shared_ptr<HtmlPictures> pictures,
               std::chrono::nanoseconds readingTime = {});
    ~HtmlLayout();
    HtmlLayout(const HtmlLayout&) = delete;
    HtmlLayout& operator=(const HtmlLayout&) = delete;

    // Lays the page out `width` points wide in a viewport `viewportHeight` high. After
    // replaceItem() alone at the same size, only the blocks holding the replaced elements
    // are laid out again where nothing else can move.
    void layOut(double width, double viewportHeight);
    // Puts `markup` (WebPage::itemLayoutHTML) in the place of the item's element: its
    // content, attributes and style. False when that cannot be done in place (a run of text,
    // a part of a table): the page is then to be laid out from new HTML. An item that is not
    // laid out (past the layout budget) has nothing to replace.
    bool replaceItem(std::size_t index, const std::string& markup);
    // The laid-out page's size: at least the width, as high as its content.
    Size size() const;
    // Paints the part of the page within `clip` (page coordinates) at the context's origin,
    // visiting only the boxes that meet it.
    void paint(BitmapContext& context, const Rect& clip) const;
    // Where each of `count` marked items stands: the union of its boxes; an empty rect for an
    // item that is not laid out (display:none, or past the layout budget). With `lines`, also
    // where each line of an item that runs over several stands (a link whose words wrap takes
    // only the taps on its words, not those on its neighbours within its frame); none for an
    // item on one line.
    std::vector<Rect> itemFrames(std::size_t count,
                                 std::vector<std::vector<Rect>>* lines = nullptr) const;
    // The lines the client adds where the page is not shown whole (HtmlCutNotice.h): what
    // each says and where it stands; none for a page shown whole.
    struct Notice {
        std::string text;
        Rect frame;
    };
    std::vector<Notice> notices() const;
    // Where the place a fragment of the page's address names stands (HtmlMarks' namedPlace);
    // none when nothing laid out and shown is so named.
    std::optional<Point> namedPlace(std::string_view name) const;
    // The most memory the layout engine has held at once for the page's current showing
    // (HtmlEngineBudget: since the page was read, or since its last paint), in bytes.
    std::size_t engineBytes() const;
    // How the styles draw the marked item's text (a field's, whose own view draws it): the
    // font and colour of its element; none for an item not laid out.
    struct TextLook {
        RunFont font;
        Color color;
    };
    std::optional<TextLook> itemTextLook(std::size_t item) const;

private:
    class Container;
    std::unique_ptr<Container> m_container;
};

}  // namespace platform
