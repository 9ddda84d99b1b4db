#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

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

private:
    std::function<std::string(std::string_view)> m_resolve;
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
//
// The HTML comes from WebPage::layoutHTML(): items()'s nodes carry data-campus-item marks,
// and itemFrames() says where each stands. Main thread only.
class HtmlLayout {
public:
    HtmlLayout(const std::string& html, std::shared_ptr<HtmlPictures> pictures);
    ~HtmlLayout();
    HtmlLayout(const HtmlLayout&) = delete;
    HtmlLayout& operator=(const HtmlLayout&) = delete;

    // Lays the page out `width` points wide in a viewport `viewportHeight` high.
    void layOut(double width, double viewportHeight);
    // The laid-out page's size: at least the width, as high as its content.
    Size size() const;
    // Paints the part of the page within `clip` (page coordinates) at the context's origin.
    void paint(BitmapContext& context, const Rect& clip) const;
    // Where each of `count` marked items stands: the union of its boxes; an empty rect for an
    // item that is not laid out (display:none, or past the layout budget).
    std::vector<Rect> itemFrames(std::size_t count) const;

private:
    class Container;
    std::unique_ptr<Container> m_container;
};

}  // namespace platform
