// Places within the web view's page: moves to a fragment of the page's address, and where the
// page stands as the user goes from one history entry to another.

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/URLEscaping.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ShownPage.h"
#include "platform/ui/WebView.h"

namespace platform {

namespace {

std::string_view withoutFragment(std::string_view url) {
    return url.substr(0, url.find('#'));
}

}  // namespace

bool WebView::showsThisDocument(int index) const {
    if (!m_webPage || m_index < 0 || index < 0 || index >= int(m_history.size())) {
        return false;
    }
    const std::uint64_t document = m_history[size_t(index)].document;
    return document != 0 && document == m_history[size_t(m_index)].document;
}

bool WebView::movesWithinPage(const Entry& entry, WebViewNavigationType type, HistoryMove move,
                              int target, const std::string& source) const {
    if (move == HistoryMove::GoTo) {
        return target != m_index && showsThisDocument(target);
    }
    // Only the page itself moves within itself (its links and scripts); what the app loads,
    // a form sent and a reload are loads.
    if (move != HistoryMove::Push || source.empty() || entry.fromString || !m_webPage ||
        m_index < 0 || type == WebViewNavigationType::FormSubmitted) {
        return false;
    }
    const URLRequest& request = entry.request;
    if (request.url.find('#') == std::string::npos || !request.body.empty() ||
        !(request.method.empty() || equalsIgnoringCase(request.method, "GET"))) {
        return false;
    }
    return withoutFragment(request.url) == withoutFragment(m_page.url);
}

void WebView::moveWithinPage(Entry entry, HistoryMove move, int target) {
    // A load of another page under way gives way to it, as to any other navigation.
    if (m_pending) {
        cancelLoad();
    }
    m_history[size_t(m_index)].scroll = m_scrollView->contentOffset();
    if (move == HistoryMove::GoTo) {
        m_index = target;
    } else {
        // The same page, which the same chain led to: only its address moves.
        Entry moved = m_history[size_t(m_index)];
        moved.request = std::move(entry.request);
        moved.request.sourceChain = moved.ledBy;
        moved.byScript = false;
        moved.endedChain = false;
        moved.scroll.reset();
        m_history.erase(m_history.begin() + (m_index + 1), m_history.end());
        m_history.push_back(std::move(moved));
        m_index = int(m_history.size()) - 1;
    }
    const Entry& now = m_history[size_t(m_index)];
    m_request = now.request;
    m_page.url = now.request.url;
    m_webPage->setURL(m_page.url);
    if (move == HistoryMove::GoTo && now.scroll) {
        scrollPageTo(*now.scroll);
    } else {
        scrollToNamedPlace();
    }
}

void WebView::leaveEntry(HistoryMove move, const Entry& arriving) {
    // A reload shows the page where it stands.
    m_arrivalPending = move != HistoryMove::Replace;
    m_arrivalScroll = move == HistoryMove::GoTo ? arriving.scroll : std::nullopt;
    if (m_arrivalPending && m_index >= 0 && m_index < int(m_history.size())) {
        m_history[size_t(m_index)].scroll = m_scrollView->contentOffset();
    }
}

void WebView::arrive() {
    if (!std::exchange(m_arrivalPending, false)) {
        return;
    }
    if (m_arrivalScroll) {
        scrollPageTo(*m_arrivalScroll);
    } else {
        scrollToNamedPlace();
    }
}

void WebView::scrollToNamedPlace() {
    const std::string& url = m_page.url;
    const std::size_t hash = url.find('#');
    if (hash == std::string::npos || !m_shown) {
        return;
    }
    const std::string name = url.substr(hash + 1);
    // Where the page stands now: a script's change may still wait for the layout pass.
    layoutIfNeeded();
    std::optional<Point> place = m_shown->namedPlace(name);
    // As browsers look: the fragment as written, then decoded.
    const std::string decoded = removingPercentEncoding(name).value_or(name);
    if (!place && decoded != name) {
        place = m_shown->namedPlace(decoded);
    }
    if (!place && (decoded.empty() || equalsIgnoringCase(decoded, "top"))) {
        place = Point{m_scrollView->contentOffset().x, 0};
    }
    if (place) {
        scrollPageTo(Point{m_scrollView->contentOffset().x, place->y});
    }
}

void WebView::scrollPageTo(Point offset) {
    const Point least = m_scrollView->minimumContentOffset();
    const Point most = m_scrollView->maximumContentOffset();
    m_scrollView->setContentOffset(
        Point{std::clamp(offset.x, least.x, most.x), std::clamp(offset.y, least.y, most.y)});
}

}  // namespace platform
