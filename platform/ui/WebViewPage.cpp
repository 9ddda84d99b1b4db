// Showing the web view's page: opening it, laying it out with its pictures, and the views
// of its items.

#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/Button.h"
#include "platform/ui/HtmlLayout.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScriptTimeBudget.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/WebView.h"

namespace platform {

namespace {

// A picture of a page that does not come within this long is left out, and the load that
// waits for it finishes without it.
constexpr double kPictureTimeoutSeconds = 15;

// The page as laid out, painted where the screen shows it.
class PageCanvas : public View {
public:
    explicit PageCanvas(std::shared_ptr<HtmlLayout> layout) : m_layout(std::move(layout)) {}

    void draw(BitmapContext& context, const Rect& rect) override {
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
    explicit PageElementLabel(std::string id) : m_id(std::move(id)) {}
    std::string describe() const override { return "#" + m_id + " \"" + text() + "\""; }
    void draw(BitmapContext& /*context*/, const Rect& /*rect*/) override {}

private:
    std::string m_id;
};

// A link or a button of the page; a tap follows or runs it.
class PageControl : public Button {
public:
    PageControl(bool link, std::string href) : m_link(link), m_href(std::move(href)) {}
    std::string describe() const override {
        if (!m_link) {
            return "button \"" + currentTitle() + "\"";
        }
        return "link \"" + currentTitle() + "\" -> " + m_href;
    }
    void draw(BitmapContext& /*context*/, const Rect& /*rect*/) override {}

private:
    bool m_link;
    std::string m_href;
};

bool isWebAddress(std::string_view url) {
    return equalsIgnoringCase(url.substr(0, 7), "http://") ||
           equalsIgnoringCase(url.substr(0, 8), "https://");
}

}  // namespace

// --- The page ---------------------------------------------------------------------------

void WebView::openPage(const std::string& html, const std::string& url,
                       const std::string& baseURL) {
    std::uint64_t serial = ++m_pageSerial;
    m_scriptNavigation.reset();
    m_scriptNavigationByTap = false;
    std::weak_ptr<View> weak = weak_from_this();
    for (auto request : m_pictureRequests) {
        HttpClient::shared().cancel(request);
    }
    m_pictureRequests.clear();
    m_picturesPending = 0;
    m_layout.reset();
    m_layoutHTML.clear();
    m_pictures = std::make_shared<HtmlPictures>([weak, serial](std::string_view src) {
        auto view = weak.lock();
        if (!view || from(view)->m_pageSerial != serial || !from(view)->m_webPage) {
            return std::string();
        }
        return from(view)->m_webPage->resolve(src);
    });
    m_webPage =
        std::make_unique<WebPage>(html, url, baseURL, [weak, serial](const std::string& target) {
            if (auto view = weak.lock()) {
                from(view)->scriptAskedToNavigate(serial, target);
            }
        });
    m_webPage->setScriptTimeBudget(m_scriptBudget);
    m_webPage->runScripts();
    m_page.title = m_webPage->title();
    // Laid out at once: whoever hears that the page finished may read its height.
    showPage(true);
}

WebPage& WebView::currentPage() {
    if (!m_webPage) {
        // Before the first load, scripts run in an empty page, as on the phone.
        openPage("", kBlank, "");
    }
    return *m_webPage;
}

std::vector<WebPage::Item> WebView::pageItems() const {
    return m_webPage ? m_webPage->items() : std::vector<WebPage::Item>{};
}

void WebView::scriptAskedToNavigate(std::uint64_t pageSerial, const std::string& url) {
    if (pageSerial != m_pageSerial) {
        return;
    }
    m_scriptNavigation = url;
    m_scriptNavigationByTap = m_scriptNavigationByTap || m_inTap;
    if (m_navigationPostedFor == pageSerial) {
        return;  // already on its way; the last address asked for goes
    }
    m_navigationPostedFor = pageSerial;
    // Never inside the script: the delegate may answer the page by running another one.
    std::weak_ptr<View> weak = weak_from_this();
    RunLoop::main().post([weak, pageSerial] {
        auto view = weak.lock();
        if (!view) {
            return;
        }
        WebView* web = from(view);
        if (web->m_navigationPostedFor == pageSerial) {
            web->m_navigationPostedFor = 0;
        }
        if (web->m_pageSerial != pageSerial || !web->m_scriptNavigation) {
            return;
        }
        std::string target = std::move(*web->m_scriptNavigation);
        const bool byTap = web->m_scriptNavigationByTap;
        web->m_scriptNavigation.reset();
        web->m_scriptNavigationByTap = false;
        URLRequest request;
        request.url = std::move(target);
        web->startLoad(Entry{request}, WebViewNavigationType::Other, HistoryMove::Push, -1,
                       web->documentURL(), !byTap);
    });
}

void WebView::activatePageElement(std::uint64_t pageSerial, int node) {
    if (!m_webPage || pageSerial != m_pageSerial) {
        return;
    }
    auto self = weak_from_this().lock();
    m_inTap = true;
    std::string target = m_webPage->activate(node);
    m_inTap = false;
    pageMayHaveChanged();
    if (!target.empty() && pageSerial == m_pageSerial) {
        simulateNavigation(target, WebViewNavigationType::LinkClicked);
    }
}

void WebView::pageMayHaveChanged() {
    if (!m_webPage) {
        return;
    }
    m_page.title = m_webPage->title();
    if (m_webPage->version() == m_shownVersion) {
        return;
    }
    auto items = m_webPage->items();
    if (items == m_shownItems && m_webPage->layoutHTML() == m_layoutHTML) {
        // Written back to what the views show (or never changed): they stay.
        m_pageViewsStale = false;
        m_shownVersion = m_webPage->version();
        return;
    }
    m_pageViewsStale = true;
    setNeedsLayout();
    // The views follow at the next layout pass; what the page shows has changed now.
    setNeedsDisplay();
}

void WebView::showPage(bool newPage) {
    if (m_contentView) {
        m_contentView->removeFromSuperview();
        m_contentView.reset();
    }
    Size size = bounds().size;
    m_shownWidth = size.width;
    if (!m_webPage) {
        m_layout.reset();
        m_scrollView->setContentSize(size);
        return;
    }
    m_shownVersion = m_webPage->version();
    m_pageViewsStale = false;
    m_shownItems = m_webPage->items();
    m_layoutHTML = m_webPage->layoutHTML();
    m_layout = std::make_shared<HtmlLayout>(m_layoutHTML, m_pictures);
    m_layout->layOut(size.width, size.height);
    const Size pageSize = m_layout->size();
    const std::vector<Rect> frames = m_layout->itemFrames(m_shownItems.size());

    const double contentWidth = std::max(size.width, pageSize.width);
    const double contentHeight = pageSize.height;
    auto content = View::make<PageCanvas>(m_layout);
    content->setFrame(Rect{{0, 0}, {contentWidth, contentHeight}});
    std::weak_ptr<View> weak = weak_from_this();
    const std::uint64_t serial = m_pageSerial;
    for (std::size_t i = 0; i < m_shownItems.size(); ++i) {
        const auto& item = m_shownItems[i];
        if (frames[i].isEmpty()) {
            continue;  // not laid out: display:none, or past what a page may lay out
        }
        std::shared_ptr<View> shown;
        if (item.kind == WebPage::Item::Kind::Link || item.kind == WebPage::Item::Kind::Button) {
            bool link = item.kind == WebPage::Item::Kind::Link;
            auto control = View::make<PageControl>(link, item.href);
            control->setTitle(item.text);
            control->setTitleColor(Color::clear());
            control->addTarget(
                [weak, serial, node = item.node](Control&) {
                    if (auto view = weak.lock()) {
                        from(view)->activatePageElement(serial, node);
                    }
                },
                ControlEvent::TouchUpInside);
            shown = control;
        } else {
            std::shared_ptr<Label> label;
            if (item.kind == WebPage::Item::Kind::Element) {
                label = View::make<PageElementLabel>(item.id);
            } else {
                label = View::make<PageTextLabel>();
            }
            label->setText(item.text);
            label->setNumberOfLines(0);
            shown = label;
        }
        shown->setFrame(frames[i]);
        content->addSubview(shown);
    }
    // Below what screens add to the page's scroller (a refresh header).
    m_scrollView->insertSubview(content, 0);
    m_contentView = content;
    // A new page sizes the content to itself; a page that changed only ever lengthens it, so
    // what a screen added below the page (a watermark) keeps its room.
    double height = std::max(size.height, contentHeight);
    if (!newPage) {
        height = std::max(height, m_scrollView->contentSize().height);
    }
    m_scrollView->setContentSize(Size{contentWidth, height});
    fetchPictures();
}

void WebView::fetchPictures() {
    if (!m_pictures) {
        return;
    }
    std::weak_ptr<View> weak = weak_from_this();
    const std::uint64_t serial = m_pageSerial;
    for (auto& url : m_pictures->takeWanted()) {
        if (!isWebAddress(url)) {
            continue;  // data: and the like are not fetched; the box stays empty
        }
        HttpRequest http;
        http.method = "GET";
        http.url = url;
        http.timeoutSeconds = kPictureTimeoutSeconds;
        auto id =
            HttpClient::shared().send(std::move(http), [weak, serial, url](HttpResponse response) {
                if (auto view = weak.lock()) {
                    from(view)->pictureArrived(serial, url, std::move(response));
                }
            });
        m_pictureRequests.push_back(id);
        ++m_picturesPending;
    }
}

void WebView::pictureArrived(std::uint64_t pageSerial, const std::string& url,
                             HttpResponse response) {
    if (pageSerial != m_pageSerial || !m_pictures) {
        return;
    }
    auto self = weak_from_this().lock();
    m_picturesPending -= std::min<std::size_t>(m_picturesPending, 1);
    bool arrived = response.error.empty() && response.status >= 200 && response.status < 300;
    if (arrived) {
        Image picture = Image::decode(response.body);
        arrived = !picture.isNull();
        m_pictures->setPicture(url, std::move(picture));
    }
    if (m_finishAwaitsPictures) {
        if (m_picturesPending > 0) {
            return;
        }
        m_finishAwaitsPictures = false;
        m_loading = false;
        showPage(true);
        if (auto delegate = this->delegate()) {
            delegate->webViewDidFinishLoad(*this);
        }
        return;
    }
    if (arrived) {
        // Laid out again with the picture's size at the next layout pass.
        m_pageViewsStale = true;
        setNeedsLayout();
        setNeedsDisplay();
    }
}

void WebView::layoutSubviews() {
    View::layoutSubviews();
    if (m_webPage && (m_pageViewsStale || bounds().size.width != m_shownWidth)) {
        showPage(false);
    }
}

std::string WebView::describe() const {
    std::string shown = !m_page.title.empty() ? m_page.title
                        : !m_page.url.empty() ? m_page.url
                                              : m_request.url;
    std::string text = "web \"" + shown + "\"";
    if (m_loading) {
        text += " (loading)";
    } else if (m_lastError) {
        text += " (failed)";
    }
    return text;
}

}  // namespace platform
