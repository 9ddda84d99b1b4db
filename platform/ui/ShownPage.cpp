#include "platform/ui/ShownPage.h"

#include <cairo.h>

#include <algorithm>
#include <unordered_set>

#include "platform/graphics/BitmapContext.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/WebFormViews.h"
#include "platform/web/HtmlLayout.h"

namespace platform {

namespace {

// The page as laid out, painted where the screen shows it.
class PageCanvas : public View {
public:
    void setLayout(std::shared_ptr<HtmlLayout> layout) { m_layout = std::move(layout); }

    void draw(BitmapContext& context, const Rect& rect) override {
        if (!m_layout) {
            return;
        }
        Rect clip = rect;
        if (cairo_t* cr = context.cairo()) {
            double x1 = 0;
            double y1 = 0;
            double x2 = 0;
            double y2 = 0;
            cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
            clip = rect.intersection(Rect{{x1, y1}, {x2 - x1, y2 - y1}});
        }
        if (!clip.isEmpty()) {
            m_layout->paint(context, clip);
        }
    }

private:
    std::shared_ptr<HtmlLayout> m_layout;
};

// The views of the page's items stand where the layout put each and paint nothing: the
// canvas below shows the page. They carry what the outline says and what a tap there does.

// A run of the page's text.
class PageTextLabel : public Label {
public:
    std::string describe() const override { return "text \"" + text() + "\""; }
    void draw(BitmapContext& /*context*/, const Rect& /*rect*/) override {}
};

// An element of the page with an id, showing its current text.
class PageElementLabel : public Label {
public:
    const std::string& id() const { return m_id; }
    void setId(std::string id) { m_id = std::move(id); }
    std::string describe() const override { return "#" + m_id + " \"" + text() + "\""; }
    void draw(BitmapContext& /*context*/, const Rect& /*rect*/) override {}

private:
    std::string m_id;
};

// A link or a button of the page; a tap follows or runs it.
class PageControl : public Button {
public:
    bool isLink() const { return m_link; }
    const std::string& href() const { return m_href; }
    int node() const { return m_node; }
    void setTarget(bool link, std::string href, int node) {
        m_link = link;
        m_href = std::move(href);
        m_node = node;
    }
    std::string describe() const override {
        if (!m_link) {
            return "button \"" + currentTitle() + "\"";
        }
        return "link \"" + currentTitle() + "\" -> " + m_href;
    }
    void draw(BitmapContext& /*context*/, const Rect& /*rect*/) override {}

private:
    bool m_link{false};
    std::string m_href;
    int m_node{-1};
};

bool isControl(WebPage::Item::Kind kind) {
    return kind == WebPage::Item::Kind::Link || kind == WebPage::Item::Kind::Button;
}

bool isFormItem(WebPage::Item::Kind kind) {
    return kind == WebPage::Item::Kind::Field || kind == WebPage::Item::Kind::Label;
}

}  // namespace

ShownPage::ShownPage(std::shared_ptr<HtmlPictures> pictures, std::function<void(int)> onTap,
                     FormView formView)
    : m_pictures(std::move(pictures)), m_onTap(std::move(onTap)), m_formView(std::move(formView)) {
    m_canvas = View::make<PageCanvas>();
}

ShownPage::~ShownPage() = default;

void ShownPage::note(const WebPage::Changes& changes) {
    if (changes.markup) {
        m_rebuild = true;
        m_patches.clear();
        return;
    }
    if (m_rebuild) {
        return;
    }
    for (int node : changes.items) {
        if (std::find(m_patches.begin(), m_patches.end(), node) == m_patches.end()) {
            m_patches.push_back(node);
        }
    }
}

void ShownPage::picturesArrived(const std::vector<std::string>& urls) {
    for (const auto& url : urls) {
        if (m_pictures->sizesBox(url)) {
            m_relayout = true;
            return;
        }
    }
    m_repaint = true;
}

bool ShownPage::needsUpdate(double width) const {
    return m_rebuild || m_relayout || m_repaint || !m_patches.empty() || width != m_width;
}

void ShownPage::prepare(WebPage& page) {
    if (!m_layout || m_rebuild || (!m_patches.empty() && !patch(page))) {
        build(page);
    }
    m_patches.clear();
}

void ShownPage::update(WebPage& page, Size viewport, ScrollView& scroller, bool newPage) {
    prepare(page);
    if (m_relayout || viewport.width != m_width || viewport.height != m_height) {
        m_layout->layOut(viewport.width, viewport.height);
        m_width = viewport.width;
        m_height = viewport.height;
        m_relayout = false;
        std::vector<std::vector<Rect>> lines;
        const std::vector<Rect> frames = m_layout->itemFrames(m_items.size(), &lines);
        placeViews(frames, lines);
        placeNotices();
    }
    m_repaint = false;

    const Size pageSize = m_layout->size();
    const double contentWidth = std::max(viewport.width, pageSize.width);
    m_canvas->setFrame(Rect{{0, 0}, {contentWidth, pageSize.height}});
    m_canvas->setNeedsDisplay();
    if (m_canvas->superview().get() != &scroller) {
        // Below what screens add to the page's scroller (a refresh header).
        scroller.insertSubview(m_canvas, 0);
    }
    double height = std::max(viewport.height, pageSize.height);
    if (!newPage) {
        height = std::max(height, scroller.contentSize().height);
    }
    scroller.setContentSize(Size{contentWidth, height});
}

std::optional<Point> ShownPage::namedPlace(std::string_view name) const {
    return m_layout ? m_layout->namedPlace(name) : std::nullopt;
}

void ShownPage::detach() {
    m_canvas->removeFromSuperview();
}

void ShownPage::build(WebPage& page) {
    m_items.clear();
    const std::string html = page.layoutHTML(&m_items);
    m_layout = std::make_shared<HtmlLayout>(html, m_pictures, page.takeReadingTime());
    static_cast<PageCanvas&>(*m_canvas).setLayout(m_layout);
    m_itemOfNode.clear();
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].node >= 0) {
            m_itemOfNode.emplace(m_items[i].node, i);
        }
    }
    m_rebuild = false;
    m_relayout = true;
}

bool ShownPage::patch(WebPage& page) {
    for (int node : m_patches) {
        auto found = m_itemOfNode.find(node);
        if (found == m_itemOfNode.end()) {
            return false;
        }
        const std::size_t index = found->second;
        auto item = page.itemOf(node);
        if (!item || item->kind != m_items[index].kind) {
            return false;
        }
        m_items[index] = std::move(*item);
        if (!m_layout->replaceItem(index, page.itemLayoutHTML(node, index))) {
            return false;
        }
    }
    m_relayout = true;
    return true;
}

bool ShownPage::fits(const View& view, const WebPage::Item& item) const {
    if (isControl(item.kind)) {
        return dynamic_cast<const PageControl*>(&view) != nullptr;
    }
    if (item.kind == WebPage::Item::Kind::Element) {
        return dynamic_cast<const PageElementLabel*>(&view) != nullptr;
    }
    return dynamic_cast<const PageTextLabel*>(&view) != nullptr;
}

std::shared_ptr<View> ShownPage::makeView(std::size_t index) {
    const auto& item = m_items[index];
    if (isControl(item.kind)) {
        auto control = View::make<PageControl>();
        control->setTitleColor(Color::clear());
        // The canvas paints the title: laying out its text again for every frame would
        // cost a long page's scrolling what all its links hold.
        control->titleLabel()->setHidden(true);
        // The node is the control's own: the view is kept while its item changes.
        control->addTarget(
            [onTap = m_onTap](Control& tapped) {
                if (onTap) {
                    onTap(static_cast<PageControl&>(tapped).node());
                }
            },
            ControlEvent::TouchUpInside);
        return control;
    }
    std::shared_ptr<Label> label;
    if (item.kind == WebPage::Item::Kind::Element) {
        label = View::make<PageElementLabel>();
    } else {
        label = View::make<PageTextLabel>();
    }
    label->setNumberOfLines(0);
    return label;
}

std::unordered_map<int, std::shared_ptr<View>> ShownPage::formViews() const {
    std::unordered_map<int, std::shared_ptr<View>> views;
    for (std::size_t i = 0; i < m_items.size() && i < m_views.size(); ++i) {
        if (isFormItem(m_items[i].kind) && !m_views[i]->isHidden()) {
            views.emplace(m_items[i].node, m_views[i]);
        }
    }
    return views;
}

void ShownPage::placeViews(const std::vector<Rect>& frames,
                           const std::vector<std::vector<Rect>>& lines) {
    // The views for the items as they are now: a field's or label's from formView (a field
    // being edited keeps its own), the others kept where they still fit.
    std::vector<std::shared_ptr<View>> views(m_items.size());
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const auto& item = m_items[i];
        if (isFormItem(item.kind) && m_formView) {
            views[i] = m_formView(item);
        } else if (i < m_views.size() && fits(*m_views[i], item)) {
            views[i] = m_views[i];
        }
        if (!views[i]) {
            views[i] = makeView(i);
        }
    }
    // Only the views no item keeps leave the canvas: one that moves to another item's place
    // never leaves the window (a field being edited stays edited).
    std::unordered_set<const View*> kept;
    for (const auto& view : views) {
        kept.insert(view.get());
    }
    // Last first: each then leaves from the top of the canvas's subviews.
    for (auto old = m_views.rbegin(); old != m_views.rend(); ++old) {
        if (kept.count(old->get()) == 0) {
            (*old)->removeFromSuperview();
        }
    }
    m_views = std::move(views);
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const auto& item = m_items[i];
        View& view = *m_views[i];
        if (view.superview().get() != m_canvas.get()) {
            m_canvas->insertSubview(m_views[i], i);
        }
        if (isFormItem(item.kind) && m_formView) {
            // Brought up to date by formView; a field draws its text as the styles say.
            if (const auto look = m_layout->itemTextLook(i)) {
                styleFormControlView(view, look->font, look->color);
            }
        } else if (auto* control = dynamic_cast<PageControl*>(&view)) {
            control->setTarget(item.kind == WebPage::Item::Kind::Link, item.href, item.node);
            if (control->currentTitle() != item.text) {
                control->setTitle(item.text);
            }
            if (control->isEnabled() == item.disabled) {
                control->setEnabled(!item.disabled);
            }
        } else if (auto* label = dynamic_cast<Label*>(&view)) {
            if (auto* element = dynamic_cast<PageElementLabel*>(&view)) {
                element->setId(item.id);
            }
            if (label->text() != item.text) {
                label->setText(item.text);
            }
        }
        // Not laid out (display:none, or past what a page may lay out): not shown.
        view.setHidden(frames[i].isEmpty());
        if (!frames[i].isEmpty() && view.frame() != frames[i]) {
            view.setFrame(frames[i]);
        }
        // A link, button or label whose words run over several lines: its frame also holds
        // what stands beside them on the first and last lines, and a tap there is not its own,
        // as in a browser.
        if (auto* button = dynamic_cast<Button*>(&view)) {
            std::vector<Rect> words = i < lines.size() ? lines[i] : std::vector<Rect>{};
            for (Rect& line : words) {
                line.origin.x -= frames[i].minX();
                line.origin.y -= frames[i].minY();
            }
            if (words != button->touchRects()) {
                button->setTouchRects(std::move(words));
            }
        }
    }
}

void ShownPage::placeNotices() {
    for (const auto& view : m_notices) {
        view->removeFromSuperview();
    }
    m_notices.clear();
    // The lines the page shows where it is not shown whole, read as its text is.
    for (const auto& notice : m_layout->notices()) {
        auto label = View::make<PageTextLabel>();
        label->setNumberOfLines(0);
        label->setText(notice.text);
        label->setFrame(notice.frame);
        m_canvas->addSubview(label);
        m_notices.push_back(std::move(label));
    }
}

}  // namespace platform
