#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/web/WebPage.h"

namespace platform {

class HtmlLayout;
class HtmlPictures;
class ScrollView;
class View;

// What a web view shows of its page, kept for the page's life: the page laid out once
// (HtmlLayout), a canvas that paints it, and over it a view for each of the page's items
// where the layout put it (what outlines show and taps land on).
//
// Changes cost what they change: a script's change of an item's text, value or attributes
// replaces that item's element in the laid-out document and lays it out again; new markup
// (nodes added or removed elsewhere) builds the document anew; a new width or arrived
// pictures only lay it out again. The item views are kept and moved, their text set, never
// made again for an item of the same kind. Main thread only.
class ShownPage {
public:
    // `onTap` runs when the view of the item with this node is tapped (a link or a button).
    // `formView` gives the view of a field or of a label for one: the one it had, brought up
    // to date, or a new one (nullptr: shown as text).
    using FormView = std::function<std::shared_ptr<View>(const WebPage::Item& item)>;
    ShownPage(std::shared_ptr<HtmlPictures> pictures, std::function<void(int node)> onTap,
              FormView formView = {});
    ~ShownPage();
    ShownPage(const ShownPage&) = delete;
    ShownPage& operator=(const ShownPage&) = delete;

    // What the page's scripts changed (WebPage::takeChanges), for the next update.
    void note(const WebPage::Changes& changes);
    // Pictures came: the next update lays the page out again if any of them decides the size
    // of a box.
    void picturesArrived(const std::vector<std::string>& urls);
    // Whether update() has work at this width.
    bool needsUpdate(double width) const;
    // Brings the layout and the views up to date with the page, laid out as wide as the
    // viewport, and shows them in the scroller, below what screens add to it. A new page
    // sizes the scroller's content to itself; a changed one only ever lengthens it, so that
    // what a screen added below the page keeps its room.
    void update(WebPage& page, Size viewport, ScrollView& scroller, bool newPage);
    // Reads the page's markup into the layout where it changed (the first step of update()),
    // which names the pictures it shows, without laying it out.
    void prepare(WebPage& page);
    // Takes the views off the screen; what is left may go at any later time.
    void detach();

    // Where the place a fragment of the page's address names stands in the page as last laid
    // out (HtmlLayout::namedPlace).
    std::optional<Point> namedPlace(std::string_view name) const;

    const std::vector<WebPage::Item>& items() const { return m_items; }
    // The views of the fields and labels laid out, by node.
    std::unordered_map<int, std::shared_ptr<View>> formViews() const;

private:
    void build(WebPage& page);
    bool patch(WebPage& page);
    void placeViews(const std::vector<Rect>& frames, const std::vector<std::vector<Rect>>& lines);
    void placeNotices();
    std::shared_ptr<View> makeView(std::size_t index);
    bool fits(const View& view, const WebPage::Item& item) const;

    std::shared_ptr<HtmlPictures> m_pictures;
    std::function<void(int)> m_onTap;
    FormView m_formView;
    std::shared_ptr<HtmlLayout> m_layout;
    std::shared_ptr<View> m_canvas;
    std::vector<WebPage::Item> m_items;
    std::unordered_map<int, std::size_t> m_itemOfNode;
    std::vector<std::shared_ptr<View>> m_views;
    // The lines the client added where the page is not shown whole (HtmlLayout::notices).
    std::vector<std::shared_ptr<View>> m_notices;
    // What waits for the next update.
    bool m_rebuild{true};
    bool m_relayout{true};
    bool m_repaint{false};
    std::vector<int> m_patches;
    double m_width{-1};
    double m_height{-1};
};

}  // namespace platform
