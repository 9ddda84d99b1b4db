// Showing the web view's page: WebKit's paint, the views of the page's items over it, the
// scroll between the two, and the page's scale.

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

#include "platform/foundation/JsonParse.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ScrollViewObserver.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/WebFormViews.h"
#include "platform/ui/WebView.h"
#include "platform/webkit/Viewport.h"
#include "platform/webkit/WebEngine.h"

namespace platform {

namespace {

// The views of the page's items stand where the page shows each and paint nothing: WebKit's
// paint below shows the page. They carry what the outline says; taps go through them to the
// page, which takes them as real clicks.

// A run of the page's text.
class PageTextLabel : public Label {
public:
    std::string describe() const override { return "text \"" + text() + "\""; }
    void draw(BitmapContext& /*context*/, const Rect& /*rect*/) override {}
};

// An element of the page with an id, showing its current text.
class PageElementLabel : public Label {
public:
    void setId(std::string id) { m_id = std::move(id); }
    std::string describe() const override { return "#" + m_id + " \"" + text() + "\""; }
    void draw(BitmapContext& /*context*/, const Rect& /*rect*/) override {}

private:
    std::string m_id;
};

// A link or a button of the page.
class PageLinkButton : public Button {
public:
    void setTarget(bool link, std::string href, int node) {
        m_link = link;
        m_href = std::move(href);
        m_node = node;
    }
    // The boxes of its lines in its own coordinates; empty when it shows in one box.
    void setLines(std::vector<Rect> lines) { m_lines = std::move(lines); }
    // Words that run over two lines take taps on their lines only, not on the words of the
    // link beside them that the whole box covers.
    bool pointInside(Point point) const override {
        if (m_lines.empty())
            return Button::pointInside(point);
        return std::any_of(m_lines.begin(), m_lines.end(),
                           [point](const Rect& line) { return line.contains(point); });
    }
    int node() const { return m_node; }
    bool isLink() const { return m_link; }
    std::string describe() const override {
        if (!m_link)
            return "button \"" + currentTitle() + "\"";
        return "link \"" + currentTitle() + "\" -> " + m_href;
    }
    void draw(BitmapContext& /*context*/, const Rect& /*rect*/) override {}

private:
    bool m_link{false};
    std::string m_href;
    int m_node{-1};
    std::vector<Rect> m_lines;
};

bool isFormItem(PageItem::Kind kind) {
    return kind == PageItem::Kind::Field || kind == PageItem::Kind::Label;
}

// Hears the user's scrolls of the page's scroller.
class PageScrollObserver final : public ScrollViewObserver {
public:
    explicit PageScrollObserver(std::function<void()> scrolled) : m_scrolled(std::move(scrolled)) {}
    void scrollViewDidScroll(ScrollView&) override { m_scrolled(); }

private:
    std::function<void()> m_scrolled;
};

}  // namespace

void WebView::makeViews() {
    setBackgroundColor(Color::white());
    m_scrollView = View::make<ScrollView>(Rect{{0, 0}, bounds().size});
    m_scrollView->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                      AutoresizingMask::FlexibleHeight);
    m_scrollView->setBackgroundColor(Color::clear());
    addSubview(m_scrollView);
}

void WebView::watchTheUser() {
    if (m_pageTap)
        return;
    std::weak_ptr<View> weak = weak_from_this();
    auto web = [weak] { return std::static_pointer_cast<WebView>(weak.lock()); };
    m_pageTap = std::make_shared<TapGestureRecognizer>([web](GestureRecognizer& tap) {
        if (auto view = web())
            view->pageTapped(tap.locationInView(view.get()));
    });
    // The page's own controls (its fields' views) take their taps themselves.
    m_pageTap->setCancelsTouchesInView(false);
    m_scrollView->addGestureRecognizer(m_pageTap);
    m_scrollObserver = std::make_shared<PageScrollObserver>([web] {
        if (auto view = web())
            view->scrolledByUser();
    });
    m_scrollView->addObserver(m_scrollObserver);
}

void WebView::setScalesPageToFit(bool scales) {
    m_scalesPageToFit = scales;
    applyViewport();
}

// --- What the client world reads of the page --------------------------------------------------

void WebView::worldMessage(const std::string& json) {
    auto self = weak_from_this().lock();
    if (json.rfind("{\"type\":\"frames\"", 0) == 0) {
        if (auto message = parseJson(json);
            message && message->is_object() && (*message)["count"].is_number())
            m_outline.frames = (*message)["count"].get<int>();
        return;
    }
    if (json.rfind("{\"type\":\"viewport\"", 0) == 0) {
        if (auto message = parseJson(json); message && message->is_object()) {
            const Json& content = (*message)["content"];
            std::optional<std::string> viewport;
            if (content.is_string())
                viewport = content.get<std::string>();
            if (!m_outline.viewportKnown || viewport != m_outline.viewport) {
                m_outline.viewport = viewport;
                m_outline.viewportKnown = true;
                applyViewport();
            }
        }
        return;
    }
    if (json.find("\"type\":\"scroll\"") != std::string::npos) {
        if (auto message = parseJson(json); message && message->is_object()) {
            const Json& x = (*message)["x"];
            const Json& y = (*message)["y"];
            if (x.is_number() && y.is_number()) {
                m_outline.scrollX = x.get<double>();
                m_outline.scrollY = y.get<double>();
                followPageScroll();
            }
        }
        return;
    }
    if (auto outline = parseOutline(json))
        outlineArrived(std::move(*outline));
}

void WebView::outlineArrived(PageOutline outline) {
    if (outline.sequence != 0 && outline.sequence <= m_outline.sequence)
        return;
    // An outline read before the page now shown came (its commit still on its way) is not
    // this page's.
    if (!outline.url.empty() && hasPage() &&
        outline.url.substr(0, outline.url.find('#')) != m_pageURL.substr(0, m_pageURL.find('#')))
        return;
    // An outline read before the page's head was (its viewport unknown yet) keeps the one told.
    if (!outline.viewportKnown) {
        outline.viewport = m_outline.viewport;
        outline.viewportKnown = m_outline.viewportKnown;
    }
    const bool viewportChanged =
        outline.viewportKnown != m_outline.viewportKnown || outline.viewport != m_outline.viewport;
    // Told ahead of any outline, it stays at least what was told.
    outline.frames = std::max(outline.frames, m_outline.frames);
    m_outline = std::move(outline);
    if (!m_outline.title.empty() || m_title.empty())
        m_title = m_outline.title;
    if (viewportChanged)
        applyViewport();
    placeItemViews();
    followPageScroll();
}

// --- The items' views -----------------------------------------------------------------------

Rect WebView::contentRectOf(const PageItem& item) const {
    return Rect{{item.x * m_zoom, item.y * m_zoom}, {item.width * m_zoom, item.height * m_zoom}};
}

std::shared_ptr<View> WebView::itemView(const PageItem& item, std::size_t index) {
    if (isFormItem(item.kind))
        return formControlView(item);
    // The view the item had, if it is of the same kind.
    if (index < m_itemViews.size()) {
        const auto& kept = m_itemViews[index];
        const bool control =
            item.kind == PageItem::Kind::Link || item.kind == PageItem::Kind::Button;
        if ((control && dynamic_cast<PageLinkButton*>(kept.get())) ||
            (item.kind == PageItem::Kind::Element && dynamic_cast<PageElementLabel*>(kept.get())) ||
            (item.kind == PageItem::Kind::Text && dynamic_cast<PageTextLabel*>(kept.get())))
            return kept;
    }
    std::shared_ptr<View> view;
    if (item.kind == PageItem::Kind::Link || item.kind == PageItem::Kind::Button) {
        auto button = View::make<PageLinkButton>();
        button->setTitleColor(Color::clear());
        button->titleLabel()->setHidden(true);
        // A tap is a real click on the element, where the page shows it now.
        std::weak_ptr<View> weak = weak_from_this();
        button->addTarget(
            [weak](Control& tapped) {
                if (auto view = std::static_pointer_cast<WebView>(weak.lock()))
                    view->clickNode(static_cast<PageLinkButton&>(tapped).node());
            },
            ControlEvent::TouchUpInside);
        return button;
    } else if (item.kind == PageItem::Kind::Element) {
        view = View::make<PageElementLabel>();
    } else {
        view = View::make<PageTextLabel>();
    }
    // The page takes the touch: a tap here is a click where it lands.
    view->setUserInteractionEnabled(false);
    return view;
}

void WebView::placeItemViews() {
    const auto& items = m_outline.items;
    std::vector<std::shared_ptr<View>> views(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) views[i] = itemView(items[i], i);
    // Only the views no item keeps leave: a field being edited stays edited.
    for (auto old = m_itemViews.rbegin(); old != m_itemViews.rend(); ++old) {
        if (std::find(views.begin(), views.end(), *old) == views.end())
            (*old)->removeFromSuperview();
    }
    m_itemViews = std::move(views);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const PageItem& item = items[i];
        View& view = *m_itemViews[i];
        if (view.superview().get() != m_scrollView.get())
            m_scrollView->insertSubview(m_itemViews[i], i);
        view.setFrame(contentRectOf(item));
        if (auto* button = dynamic_cast<PageLinkButton*>(&view)) {
            button->setTarget(item.kind == PageItem::Kind::Link, item.href, item.node);
            std::vector<Rect> lines;
            for (const auto& box : item.boxes)
                lines.push_back(Rect{{(box.x - item.x) * m_zoom, (box.y - item.y) * m_zoom},
                                     {box.width * m_zoom, box.height * m_zoom}});
            button->setLines(std::move(lines));
            if (button->currentTitle() != item.text)
                button->setTitle(item.text);
            button->setEnabled(!item.disabled);
        } else if (auto* label = dynamic_cast<Label*>(&view)) {
            if (auto* element = dynamic_cast<PageElementLabel*>(&view))
                element->setId(item.id);
            label->setNumberOfLines(0);
            if (label->text() != item.text)
                label->setText(item.text);
        }
    }
    // The page's height is the scroller's content, as it scrolls in the page.
    const double width =
        std::max(bounds().size.width, std::max(m_outline.documentWidth, m_layoutWidth) * m_zoom);
    const double height = std::max(bounds().size.height, m_outline.documentHeight * m_zoom);
    // As on the phone, the scroller's content follows the page when the page's size changes:
    // what a screen added below the page (its own views) stays until then.
    const Size content{std::floor(width), std::floor(height)};
    if (m_pageContentSize && *m_pageContentSize == content)
        return;
    m_pageContentSize = content;
    m_scrollView->setContentSize(content);
}

// --- Scrolling --------------------------------------------------------------------------------

// The scroller's x moves the window (as wide as the page's layout at its scale) across the
// view first; what lies beyond, where the page is wider than its layout (a wide table), the
// page scrolls to itself.
double WebView::windowOffsetX() const {
    const double room = std::max(0.0, m_geometrySent.width - bounds().size.width);
    return std::clamp(m_scrollView->contentOffset().x, 0.0, room);
}

void WebView::followPageScroll() {
    // The page scrolled itself (a link to a place in it, a script, a field brought into
    // view): the scroller follows, without that being taken for the user's scroll.
    const Point offset{windowOffsetX() + m_outline.scrollX * m_zoom, m_outline.scrollY * m_zoom};
    if (std::abs(offset.y - m_scrollView->contentOffset().y) < 0.5 &&
        std::abs(offset.x - m_scrollView->contentOffset().x) < 0.5)
        return;
    // While a field is edited the scroller may stand past the page's end, where the page
    // cannot follow: the field stays above the keyboard.
    if (m_insetBeforeKeyboard && m_scrollView->contentOffset().y > offset.y)
        return;
    m_offsetFromPage = offset;
    m_scrollView->setContentOffset(offset);
    m_offsetFromPage.reset();
}

void WebView::scrolledByUser() {
    if (m_offsetFromPage || !m_engine)
        return;
    const Point offset = m_scrollView->contentOffset();
    const double x = std::max(0.0, (offset.x - windowOffsetX()) / m_zoom);
    const double y = std::max(0.0, offset.y / m_zoom);
    if (std::abs(y - m_outline.scrollY) < 0.5 / m_zoom &&
        std::abs(x - m_outline.scrollX) < 0.5 / m_zoom)
        return;
    m_outline.scrollX = x;
    m_outline.scrollY = y;
    std::weak_ptr<View> weak = weak_from_this();
    settleAfter([&] {
        m_engine->evaluate("campus.scrollTo(" + std::to_string(x) + "," + std::to_string(y) + ")",
                           webkit::World::Client, [weak](std::optional<std::string> answer) {
                               // Where the page stands now, which the paint shows: short of what
                               // was asked at the page's end, where the scroller may stand past it
                               // (a field above the keyboard). A page that did not move tells of no
                               // scroll of its own.
                               auto view = std::static_pointer_cast<WebView>(weak.lock());
                               if (!view || !answer)
                                   return;
                               auto at = parseJson(*answer);
                               if (!at || !at->is_array() || at->size() != 2 ||
                                   !(*at)[0].is_number() || !(*at)[1].is_number())
                                   return;
                               view->m_outline.scrollX = (*at)[0].get<double>();
                               view->m_outline.scrollY = (*at)[1].get<double>();
                               view->setNeedsDisplay();
                           });
        // The finger moved the page: it is painted where it now stands at once, as the
        // scroller's next frame, not after the page's turn.
        m_engine->paintNow();
    });
    setNeedsDisplay();
}

// --- Taps -------------------------------------------------------------------------------------

void WebView::clickAt(Point inView) {
    if (!m_engine)
        return;
    // The window shows the page from its left; the scroller's x beyond the view's width is
    // the part of a zoomed page to the right.
    const double x = inView.x + windowOffsetX();
    settleAfter([&] { m_engine->click(x, inView.y); });
}

void WebView::pageTapped(Point inView) {
    // A tap on the page's words or blank space ends the editing of its field, as in the
    // phone's web view (a field's own view takes the taps on it).
    endFieldEditing();
    clickAt(inView);
}

// --- Scale ------------------------------------------------------------------------------------

void WebView::applyViewport() {
    const Size size = bounds().size;
    if (size.width <= 0)
        return;
    if (!m_scalesPageToFit) {
        m_zoom = m_minZoom = m_maxZoom = 1;
        m_userScalable = false;
        m_layoutWidth = size.width;
    } else {
        // Until the page says, it is laid out at the device's width, as the pages made for
        // the container ask: WebKit takes a new scale only when the page first shows, and a
        // page laid out at the other width would be laid out twice.
        const auto fit = webkit::fitViewport(m_outline.viewportKnown
                                                 ? m_outline.viewport
                                                 : std::optional<std::string>("width=device-width"),
                                             size.width);
        m_layoutWidth = fit.layoutWidth;
        m_minZoom = fit.minimumScale;
        m_maxZoom = fit.maximumScale;
        m_userScalable = fit.userScalable;
        if (!m_userZoomed)
            m_zoom = fit.initialScale;
        m_zoom = std::clamp(m_zoom, m_minZoom, m_maxZoom);
    }
    applyGeometry();
    placeItemViews();
}

void WebView::applyGeometry() {
    if (!m_engine)
        return;
    const Size size = bounds().size;
    if (size.width <= 0 || size.height <= 0)
        return;
    if (m_layoutWidth <= 0)
        m_layoutWidth = size.width;
    // The window is as wide as the page's layout at its scale, and never narrower than the
    // view: WebKit lays the page out at the window's width over the scale.
    const Size window{std::max(size.width, std::round(m_layoutWidth * m_zoom)), size.height};
    if (window == m_geometrySent && m_zoom == m_zoomSent)
        return;
    m_geometrySent = window;
    m_zoomSent = m_zoom;
    m_engine->setGeometry(int(window.width), int(window.height), m_zoom);
}

bool WebView::zoomBy(double factor, Point anchor) {
    if (!m_scalesPageToFit || !m_userScalable || factor <= 0 || !std::isfinite(factor))
        return false;
    const double zoom = std::clamp(m_zoom * factor, m_minZoom, m_maxZoom);
    if (zoom == m_zoom)
        return true;
    // The point under the fingers stays where it is.
    const Point offset = m_scrollView->contentOffset();
    const Point documentPoint{(offset.x + anchor.x) / m_zoom, (offset.y + anchor.y) / m_zoom};
    m_zoom = zoom;
    m_userZoomed = true;
    applyGeometry();
    placeItemViews();
    m_scrollView->setContentOffset(Point{std::max(0.0, documentPoint.x * zoom - anchor.x),
                                         std::max(0.0, documentPoint.y * zoom - anchor.y)});
    return true;
}

// --- Painting ---------------------------------------------------------------------------------

void WebView::painted(std::shared_ptr<const webkit::Pixels> pixels) {
    if (!pixels || pixels->width <= 0 || pixels->height <= 0)
        return;
    // The same paint again (a script that changed nothing): the screen has not changed.
    if (m_lastPixels && m_lastPixels->width == pixels->width &&
        m_lastPixels->height == pixels->height && m_lastPixels->data == pixels->data)
        return;
    m_lastPixels = pixels;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        const_cast<unsigned char*>(pixels->data.data()), CAIRO_FORMAT_ARGB32, pixels->width,
        pixels->height, pixels->stride);
    m_painted = Image::fromCairoSurface(surface, pixels->scale);
    cairo_surface_destroy(surface);
    setNeedsDisplay();
}

void WebView::draw(BitmapContext& context, const Rect& /*rect*/) {
    if (m_painted.size().width <= 0)
        return;
    // The paint is of the window: the part of a zoomed page left of the scroller's x is off
    // the view.
    // Where the page stands in the paint: the scroller may be past the page's end (a field
    // above the keyboard), and the paint shows the page at its own scroll.
    const Size size = m_painted.size();
    const double below = m_outline.scrollY * m_zoom - m_scrollView->contentOffset().y;
    context.drawImage(m_painted,
                      Rect{{-windowOffsetX(), std::min(0.0, below)}, {size.width, size.height}});
}

void WebView::layoutSubviews() {
    View::layoutSubviews();
    applyViewport();
}

std::string WebView::describe() const {
    return "web \"" + m_title + "\"";
}

}  // namespace platform
