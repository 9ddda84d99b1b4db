#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/View.h"
#include "platform/ui/WebViewDelegate.h"
#include "platform/web/URLRequest.h"
#include "platform/web/WebError.h"
#include "platform/web/WebPage.h"

namespace platform {

class HtmlPictures;
class Image;
class WebFormChoices;
class ScriptTimeBudget;
class ScrollView;
class ShownPage;
struct HttpResponse;

// The phone's UIWebView, headless: it fetches what it is asked to load over the process's
// HTTP client, keeps the page (address, status, HTML, title) and a history, and tells its
// delegate (not owned) as the phone does:
//   - shouldStartLoadWithRequest before every load, including history moves, reloads and the
//     page's own navigations (a link tapped, a script assigning location.href,
//     simulateNavigation); a refused load fetches nothing and leaves the page as it is. The
//     request names what asks for it (URLRequest::sourceURL);
//   - shouldStartLoadWithRequest again for every hop of a server's redirect (type Other,
//     the redirecting address as the source), before the hop is fetched: the HTTP client
//     follows none itself, so the delegate sees every address a load passes through, and the
//     page keeps the address it finally came from. A refused hop ends the load as cancelled
//     and leaves the page as it is; more than kMaxRedirects hops fail the load (a loop);
//   - webViewDidStartLoad, then webViewDidFinishLoad or didFailLoadWithError, on later turns
//     of the main run loop (never inside the call that started the load).
// A reply with an HTTP error status still finishes, as on the phone; the status is kept. A
// transport failure (dead server, time-out, bad address) fails with the NSURLErrorDomain
// code. A load that is stopped or replaced by another fails with -999 (cancelled). Nothing
// arrives after the web view is gone.
//
// A reply is shown as a browser shows it, by its Content-Type (WebReply): only HTML is parsed
// and run as a page; other text is shown as text, a picture as the picture, and anything else
// fails the load (kFrameLoadInterrupted). HTML given as a string is always a page.
//
// Each loaded page runs (see WebPage): its HTML is parsed, its inline scripts run before the
// delegate hears that it finished, and every script evaluated later runs in the same context.
// A script that asks to navigate does so on a later turn of the run loop, asking the delegate
// first; when one script asks several times, the last address wins, as in a browser.
//
// No page keeps the client busy by loading the next page, and so on: the scripts of all the
// pages a web view shows draw on one ScriptTimeBudget over time, and after kMaxScriptedLoads
// loads in a row that scripts started on their own (not in a handler of the user's tap), a
// script's next navigation is refused with a log line, until the user taps or the app loads.
// Back leaves such a chain: it skips every page whose script loaded the next one, and the page
// where a chain was cut, so it returns to the page before the chain (canGoBack() is false when
// there is none) and no page loads forward again.
//
// The page shows inside scrollView(), laid out and painted as a browser does (HtmlLayout),
// with the scroller's content as large as the laid-out page. Over what is painted, each of
// the page's items (WebPage::items) has a view where it stands: its text, its links and
// buttons (which a tap there follows or runs) and its elements with an id with their current
// text, so screen outlines show what the page shows and taps land on what is drawn at that
// point. Pictures are fetched once the page asks for them; a load finishes when the pictures
// it asked for are in (or failed), and a later change that asks for more lays the page out
// again as they arrive. A new page is laid out before the
// delegate hears that it finished (the scroller's content then has the page's height); what
// scripts change is laid out again with the screen (at the next layout pass, or
// layoutIfNeeded), not by each script. Views added
// to the web view itself stay put.
//
// A move within the page, as a browser makes it: a link to a place in the page ("#name"), a
// script setting location.hash, or location.href set to the page's own address with a
// fragment, asks the delegate as any navigation does (the page's address with the fragment),
// then only scrolls. Nothing is fetched, the delegate hears of no load, and the page stays the
// same page, its scripts' state, identity and what led to it unchanged; its address takes the
// fragment. The place named is the first element with that id, else the first <a> of that
// name, brought to the top of the scroller; "#" and "#top" (unless something is so named)
// are the page's top; a fragment that names nothing leaves the page where it is. Each move
// is a history entry of the same page: back and forward between such entries scroll to
// where the user was on each. A page loaded at an address with a fragment opens at the place
// it names, a new page otherwise at its top; a page gone back or forward to opens where the
// user left it, and a reloaded one stays where it was.
//
// The page's forms work as in the phone's browser (WebFormViews): a text field or text area
// is a platform input over the field the layout draws, so a tap focuses it, the keyboard
// rises with the form bar (its 上一项 and 下一项 move through the page's fields that take
// typing, its 完成 ends the editing) and the page scrolls so that the field stands above them;
// a tap elsewhere in the page ends the editing, and the page comes back within its end as the
// keyboard goes; a checkbox or radio button toggles on a tap, a select offers its choices as
// the platform offers a choice (WebFormChoices), and a label acts for its field. A script's
// focus() or blur() of a field does what a tap there, or elsewhere, does. A form sent (a submit button, the return
// key in a one-line field, a script's form.submit()) is a load like any other: the delegate
// is asked (FormSubmitted), and it is fetched, redirected and budgeted as every load is.
class WebView : public View {
public:
    // Hops of one load; real sites use a few, a loop would go on for good.
    static constexpr int kMaxRedirects = 10;
    // Loads in a row that scripts may start without the user's tap; real pages use one or two.
    static constexpr int kMaxScriptedLoads = 5;

    WebView();
    explicit WebView(const Rect& frame);
    ~WebView() override;

    const std::shared_ptr<ScrollView>& scrollView() const { return m_scrollView; }

    std::shared_ptr<WebViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<WebViewDelegate> delegate) { m_delegate = std::move(delegate); }

    // --- Loading ------------------------------------------------------------------------
    void loadRequest(const URLRequest& request);
    // Shows the HTML without fetching; the request the delegate sees is the base address, or
    // "about:blank" without one.
    void loadHTMLString(std::string html, std::string baseURL);
    // The request being loaded, or else the one last loaded.
    const URLRequest& request() const { return m_request; }
    bool isLoading() const { return m_loading; }
    void stopLoading();
    void reload();
    bool canGoBack() const;
    bool canGoForward() const;
    void goBack();
    void goForward();

    // The page stands for the page itself navigating (a link tapped, a form sent, a script
    // setting window.location): the delegate is asked and, if it agrees, the address loads.
    // Returns whether the delegate agreed.
    bool simulateNavigation(const std::string& url,
                            WebViewNavigationType type = WebViewNavigationType::LinkClicked);

    // --- The page shown -----------------------------------------------------------------
    // The address of the shown page (after redirects); "about:blank" for HTML without a base.
    const std::string& pageURL() const { return m_page.url; }
    // The HTTP status of the shown page; 0 for HTML given as a string.
    int pageStatus() const { return m_page.status; }
    const std::string& pageHTML() const { return m_page.html; }
    // The document's title as the page's scripts left it: the <title> trimmed, or what a
    // script set; "" without one.
    const std::string& pageTitle() const { return m_page.title; }
    // What the page shows now, in document order (empty before the first page).
    std::vector<WebPage::Item> pageItems() const;
    const std::string& baseURL() const { return m_page.baseURL; }
    bool hasPage() const { return m_index >= 0; }
    // Names the page shown: each page opened (a load, a move back or forward, a reload) has
    // its own, which this web view never gives another, so that an answer meant for one page
    // can tell that the user has left it. 0 before any page.
    std::uint64_t pageIdentity() const { return m_pageSerial; }
    // Everything that led to the page shown, first to last (as URLRequest::sourceChain): what
    // led to it when it was first loaded, then every address that redirected on the way.
    // Decided at that first load and kept with its history entry, so back, forward and reload
    // show the page with the chain it came with. Empty for a page the app loaded directly.
    const std::vector<std::string>& pageSourceChain() const;
    // Why the last load failed; cleared when a load starts.
    const std::optional<WebError>& lastError() const { return m_lastError; }

    bool scalesPageToFit() const { return m_scalesPageToFit; }
    void setScalesPageToFit(bool scales) { m_scalesPageToFit = scales; }

    // --- Scripts ------------------------------------------------------------------------
    // Runs the script in the page shown (an empty page before the first load) and returns
    // its completion value as text: "" for undefined, null or an error (which is logged).
    std::string stringByEvaluatingJavaScriptFromString(const std::string& script);
    // Every script evaluated, in order.
    const std::vector<std::string>& evaluatedScripts() const { return m_scripts; }

    std::string describe() const override;
    void layoutSubviews() override;

private:
    // The address of a page loaded from a string without a base, and of the page before any
    // load.
    static constexpr const char* kBlank = "about:blank";

    struct Entry {
        URLRequest request;
        bool fromString{false};
        std::string html;
        std::string baseURL;
        // Loaded by the previous entry's script without the user's tap.
        bool byScript{false};
        // Its script's navigation was refused for ending a chain of such loads.
        bool endedChain{false};
        // What led to it: when a page asked for it, that page and what led there (see ledBy),
        // then every address that redirected on the way (followRedirect). Empty when the app
        // asked and nothing redirected. Kept as it is for back, forward and reload.
        std::vector<std::string> ledBy;
        // Names the document the entry shows: the entries a page made by moving within itself
        // share it, and a history move between two of them only scrolls. 0 before it shows.
        std::uint64_t document{0};
        // Where the page stood when the user left the entry, to show it there again.
        std::optional<Point> scroll;
    };
    struct Page {
        std::string url;
        int status{0};
        std::string html;
        std::string title;
        std::string baseURL;
    };
    enum class HistoryMove { Push, Replace, GoTo };
    struct Pending {
        Entry entry;
        HistoryMove move{HistoryMove::Push};
        int target{-1};
        int redirects{0};
        bool byScript{false};
    };

    // `source`: what asks (see URLRequest::sourceURL); empty for the app. `byScript`: a
    // script of the page asked, not inside a handler of the user's tap.
    bool startLoad(Entry entry, WebViewNavigationType type, HistoryMove move, int target,
                   std::string source = {}, bool byScript = false);
    // Everything that led to a load `source` asks for: what led to that page, then the page.
    // So a command's request names every page on the way from the app's own load.
    std::vector<std::string> ledBy(const std::string& source) const;
    // Where back goes: -1 for nowhere.
    int backIndex() const;

    // --- Moves within the page (WebViewPlaces.cpp) ------------------------------------------
    // Whether the load asked for only moves within the page shown (see the class comment).
    bool movesWithinPage(const Entry& entry, WebViewNavigationType type, HistoryMove move,
                         int target, const std::string& source) const;
    // Whether the history entry shows the document shown now.
    bool showsThisDocument(int index) const;
    // The move itself, once the delegate let it go: a new entry of this page, or another one.
    void moveWithinPage(Entry entry, HistoryMove move, int target);
    // Notes where the page stands on the entry being left, and where the page being loaded is
    // to stand once it shows (arrive()).
    void leaveEntry(HistoryMove move, const Entry& arriving);
    void arrive();
    // Scrolls to the place the page's address names, if it names one.
    void scrollToNamedPlace();
    void scrollPageTo(Point offset);
    void fetch(std::uint64_t generation);
    void cancelLoad();
    void fetched(std::uint64_t generation, HttpResponse response);
    void followRedirect(const HttpResponse& response);
    // The address of the document shown, as what asks for the page's own navigations.
    std::string documentURL() const;
    void finishLoad(Page page);
    void failLoad(WebError error);
    static WebView* from(const std::shared_ptr<View>& view);
    void makeScrollView();
    void openPage(const std::string& html, const std::string& url, const std::string& baseURL);
    WebPage& currentPage();
    void scriptAskedToNavigate(std::uint64_t pageSerial, const std::string& url);
    // The page asks for a load (a script's navigation, a form sent): made on a later turn,
    // never inside the script, counted as a script's own unless a handler of a tap asked.
    void pageAskedToLoad(std::uint64_t pageSerial, URLRequest request, WebViewNavigationType type);
    void activatePageElement(std::uint64_t pageSerial, int node);

    // --- Forms (WebViewForms.cpp) -----------------------------------------------------------
    // The view of a field or label: the one it had in the last layout, brought up to date,
    // or a new one.
    std::shared_ptr<View> formControlView(const WebPage::Item& item);
    // Runs a user's step on the page's forms as a tap's handler, then shows what it changed.
    void formActionByUser(const std::function<void()>& action);
    const WebPage::Item* shownItem(int node) const;
    void formFieldFocused(int node);
    void formFieldBlurred(int node);
    void formControlTapped(int node);
    void openChoices(const WebPage::Item& item);
    // A tap elsewhere in the page ends the editing of its field.
    void endFieldEditing();
    // While a field is edited, a tap on what is no control of the page ends its editing.
    void watchTapsAroundField(bool editing);
    // The field the keyboard's form bar moves to from the field of the node; null for none.
    std::shared_ptr<View> neighbourField(int node, bool forward) const;
    // The page goes: its fields' views, and a select's choices still showing.
    void forgetFormViews();
    // Carries out the focus() or blur() a script asked for, as a tap would.
    void followFocusMove();
    void raiseAboveKeyboard(View& field);
    void lowerFromKeyboard();
    void pageAskedToSubmit(std::uint64_t pageSerial, const URLRequest& request);
    void pageMayHaveChanged();
    void showPage(bool newPage);
    // Lets the page shown before go on a later turn, off the way of showing the next one.
    void retirePage();
    void fetchPictures();
    void pictureArrived(std::uint64_t pageSerial, const std::string& url, HttpResponse response,
                        std::shared_ptr<void> room);
    void pictureDecoded(std::uint64_t pageSerial, const std::string& url, bool answered,
                        Image picture);

    std::shared_ptr<ScrollView> m_scrollView;
    std::weak_ptr<WebViewDelegate> m_delegate;
    URLRequest m_request;
    bool m_loading{false};
    std::uint64_t m_generation{0};
    std::uint64_t m_httpRequest{0};
    std::optional<Pending> m_pending;
    std::vector<Entry> m_history;
    int m_index{-1};
    Page m_page;
    std::optional<WebError> m_lastError;
    std::uint64_t m_documentSerial{0};
    // Where the page being loaded stands when it has shown (leaveEntry): where the user left
    // it, or (none) the place its address names.
    bool m_arrivalPending{false};
    std::optional<Point> m_arrivalScroll;
    bool m_scalesPageToFit{false};
    std::vector<std::string> m_scripts;

    std::unique_ptr<WebPage> m_webPage;
    // Names the page shown, so that work queued for one page never reaches the next.
    std::uint64_t m_pageSerial{0};
    // The page as shown: laid out, painted, and its items' views (kept for the page's life).
    std::unique_ptr<ShownPage> m_shown;
    std::shared_ptr<HtmlPictures> m_pictures;
    std::vector<std::uint64_t> m_pictureRequests;
    std::size_t m_picturesPending{0};
    // The load has its page and finishes when its pictures are in.
    bool m_finishAwaitsPictures{false};
    // The page just opened waits for its pictures, or the next layout pass, to be laid out.
    bool m_firstLayoutPending{false};
    std::optional<URLRequest> m_scriptNavigation;
    WebViewNavigationType m_scriptNavigationType{WebViewNavigationType::Other};
    // Whether a script asked for m_scriptNavigation inside a handler of the user's tap.
    bool m_scriptNavigationByTap{false};
    bool m_inTap{false};
    // The views of the page's fields and labels by node, kept from one layout to the next.
    std::unordered_map<int, std::shared_ptr<View>> m_formViews;
    std::shared_ptr<WebFormChoices> m_formChoices;
    // Ends a field's editing on a tap elsewhere in the page; enabled while one is edited.
    std::shared_ptr<GestureRecognizer> m_tapAroundField;
    // A script's focus() or blur() still to be carried out (WebPage::Changes), and whether
    // one is being carried out now.
    struct FocusMove {
        int focus{-1};
        int blur{-1};
    };
    std::optional<FocusMove> m_focusMove;
    bool m_movingFocus{false};
    // The scroller's bottom inset before a field's keyboard lengthened it.
    std::optional<double> m_insetBeforeKeyboard;
    std::uint64_t m_navigationPostedFor{0};
    // What the pages' scripts draw on over time, and the loads in a row they started.
    std::shared_ptr<ScriptTimeBudget> m_scriptBudget;
    int m_scriptedLoadsInARow{0};
};

}  // namespace platform
