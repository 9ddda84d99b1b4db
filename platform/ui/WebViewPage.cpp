// Showing the web view's page: opening it, laying it out with its pictures, and the views
// of its items.

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "platform/net/PictureFetches.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ShownPage.h"
#include "platform/ui/WebView.h"
#include "platform/web/HtmlLayout.h"
#include "platform/web/ScriptTimeBudget.h"

namespace platform {

namespace {

// A picture of a page that does not come within this long is left out, and the load that
// waits for it finishes without it.
constexpr double kPictureTimeoutSeconds = 15;

bool isWebAddress(std::string_view url) {
    return equalsIgnoringCase(url.substr(0, 7), "http://") ||
           equalsIgnoringCase(url.substr(0, 8), "https://");
}

// A page taken down frees tens of thousands of small blocks, which the allocator merges only
// when a large block is next asked for: that is the next page's first large allocation, on
// the way to showing it (a twentieth of its cost on a long page). Asking for one here merges
// them now, right after the old page goes, while nothing waits.
void mergeFreedMemory() {
    constexpr std::size_t kLargeBlock = 64 * 1024;  // well below where blocks are mapped apart
    void* block = std::malloc(kLargeBlock);
    // Kept from being optimised away with its free.
    asm volatile("" : : "r"(block) : "memory");
    std::free(block);
}

}  // namespace

// --- The page ---------------------------------------------------------------------------

void WebView::openPage(const std::string& html, const std::string& url,
                       const std::string& baseURL) {
    std::uint64_t serial = ++m_pageSerial;
    m_scriptNavigation.reset();
    m_focusMove.reset();
    m_scriptNavigationByTap = false;
    forgetFormViews();
    std::weak_ptr<View> weak = weak_from_this();
    for (auto request : m_pictureRequests) {
        PictureFetches::shared().cancel(request);
    }
    m_pictureRequests.clear();
    m_picturesPending = 0;
    m_firstLayoutPending = false;
    retirePage();
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
    m_webPage->setOnSubmit([weak, serial](const URLRequest& request) {
        if (auto view = weak.lock()) {
            from(view)->pageAskedToSubmit(serial, request);
        }
    });
    m_webPage->setScriptTimeBudget(m_scriptBudget);
    m_shown = std::make_unique<ShownPage>(
        m_pictures,
        [weak, serial](int node) {
            if (auto view = weak.lock()) {
                from(view)->activatePageElement(serial, node);
            }
        },
        [weak, serial](const WebPage::Item& item) -> std::shared_ptr<View> {
            auto view = weak.lock();
            if (!view || from(view)->m_pageSerial != serial) {
                return nullptr;
            }
            return from(view)->formControlView(item);
        });
    m_webPage->runScripts();
    m_page.title = m_webPage->title();
    // Read at once, for the pictures it names. Laid out at once when none is on its way:
    // whoever hears that the page finished may read its height. Else the load finishes once
    // they are in, and the page is laid out then, or at the next layout pass if it is drawn
    // before: pictures that come before the page is first drawn cost no layout of their own.
    m_shown->prepare(*m_webPage);
    fetchPictures();
    if (m_picturesPending > 0) {
        m_firstLayoutPending = true;
        setNeedsLayout();
    } else {
        showPage(true);
    }
    // A focus its own scripts asked for is let go here, not followed at the user's next tap.
    pageMayHaveChanged();
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
    URLRequest request;
    request.url = url;
    pageAskedToLoad(pageSerial, std::move(request), WebViewNavigationType::Other);
}

void WebView::pageAskedToLoad(std::uint64_t pageSerial, URLRequest request,
                              WebViewNavigationType type) {
    if (pageSerial != m_pageSerial) {
        return;
    }
    m_scriptNavigation = std::move(request);
    m_scriptNavigationType = type;
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
        URLRequest request = std::move(*web->m_scriptNavigation);
        const bool byTap = web->m_scriptNavigationByTap;
        web->m_scriptNavigation.reset();
        web->m_scriptNavigationByTap = false;
        web->startLoad(Entry{std::move(request)}, web->m_scriptNavigationType, HistoryMove::Push,
                       -1, web->documentURL(), !byTap);
    });
}

void WebView::activatePageElement(std::uint64_t pageSerial, int node) {
    if (!m_webPage || pageSerial != m_pageSerial) {
        return;
    }
    auto self = weak_from_this().lock();
    endFieldEditing();
    m_inTap = true;
    std::string target = m_webPage->activate(node);
    pageMayHaveChanged();
    m_inTap = false;
    if (!target.empty() && pageSerial == m_pageSerial) {
        simulateNavigation(target, WebViewNavigationType::LinkClicked);
    }
}

void WebView::pageMayHaveChanged() {
    if (!m_webPage) {
        return;
    }
    m_page.title = m_webPage->title();
    // The page says what its scripts changed; a write of what was already there is none.
    const WebPage::Changes changes = m_webPage->takeChanges();
    // A focus the page asks for by itself (while loading, in a reply the client sent it) moves
    // nothing: as on the phone, only a user's action raises the keyboard.
    const int focus = m_inTap ? changes.focus : -1;
    if (focus >= 0 || changes.blur >= 0) {
        m_focusMove = FocusMove{focus, changes.blur};
    }
    if (changes.any() && m_shown) {
        m_shown->note(changes);
        setNeedsLayout();
        // The views follow at the next layout pass; what the page shows has changed now.
        setNeedsDisplay();
    }
    followFocusMove();
}

void WebView::showPage(bool newPage) {
    m_firstLayoutPending = m_firstLayoutPending && !newPage;
    if (!m_webPage || !m_shown) {
        m_scrollView->setContentSize(bounds().size);
        return;
    }
    m_shown->update(*m_webPage, bounds().size, *m_scrollView, newPage);
    m_formViews = m_shown->formViews();
    fetchPictures();
}

void WebView::retirePage() {
    if (m_shown) {
        m_shown->detach();
    }
    // The old page's document, script heap and views take a while to free on a long page:
    // on a later turn, after the new page shows.
    auto old = std::make_shared<std::pair<std::unique_ptr<WebPage>, std::unique_ptr<ShownPage>>>(
        std::move(m_webPage), std::move(m_shown));
    if (old->first || old->second) {
        RunLoop::main().post([old] {
            old->second.reset();
            old->first.reset();
            mergeFreedMemory();
        });
    }
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
        // A picture's body has the pictures' own limit, and waits for room in their total in
        // flight: a page's pictures from any number of hosts fit the picture budget together.
        auto id = PictureFetches::shared().fetch(
            std::move(http), [weak, serial, url](HttpResponse response, PictureFetches::Room room) {
                if (auto view = weak.lock()) {
                    from(view)->pictureArrived(serial, url, std::move(response), std::move(room));
                }
            });
        m_pictureRequests.push_back(id);
        ++m_picturesPending;
    }
}

void WebView::pictureArrived(std::uint64_t pageSerial, const std::string& url,
                             HttpResponse response, std::shared_ptr<void> room) {
    if (pageSerial != m_pageSerial || !m_pictures) {
        return;
    }
    if (!(response.error.empty() && response.status >= 200 && response.status < 300)) {
        pictureDecoded(pageSerial, url, false, Image());
        return;
    }
    // Decoded on the background pool: a large picture, or one of many scans, never holds up
    // the main thread. The body's room in the pictures' total goes once it is decoded.
    std::weak_ptr<View> weak = weak_from_this();
    dispatch::async(
        [weak, pageSerial, url, body = std::move(response.body), room = std::move(room)]() mutable {
            Image picture = Image::decode(body);
            std::string().swap(body);
            room.reset();
            dispatch::mainAsync([weak, pageSerial, url, picture = std::move(picture)]() mutable {
                if (auto view = weak.lock()) {
                    from(view)->pictureDecoded(pageSerial, url, true, std::move(picture));
                }
            });
        });
}

void WebView::pictureDecoded(std::uint64_t pageSerial, const std::string& url, bool answered,
                             Image picture) {
    if (pageSerial != m_pageSerial || !m_pictures) {
        return;
    }
    auto self = weak_from_this().lock();
    m_picturesPending -= std::min<std::size_t>(m_picturesPending, 1);
    const bool arrived = answered && !picture.isNull();
    if (answered) {
        m_pictures->setPicture(url, std::move(picture));
    }
    if (arrived && m_shown) {
        m_shown->picturesArrived({url});
    }
    if (m_finishAwaitsPictures) {
        if (m_picturesPending > 0) {
            return;
        }
        m_finishAwaitsPictures = false;
        m_loading = false;
        showPage(true);
        arrive();
        if (auto delegate = this->delegate()) {
            delegate->webViewDidFinishLoad(*this);
        }
        return;
    }
    if (arrived) {
        // Laid out again (or only painted) at the next layout pass, once for all that came.
        setNeedsLayout();
        setNeedsDisplay();
    }
}

void WebView::layoutSubviews() {
    View::layoutSubviews();
    if (m_webPage && m_shown &&
        (m_firstLayoutPending || m_shown->needsUpdate(bounds().size.width))) {
        showPage(m_firstLayoutPending);
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
