#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/ui/View.h"
#include "platform/ui/WebViewDelegate.h"
#include "platform/web/URLRequest.h"
#include "platform/web/WebError.h"
#include "platform/webkit/PageOutline.h"

namespace platform::webkit {
class EngineView;
struct NavigationAsk;
struct HistoryState;
struct DialogAsk;
struct ChoicesAsk;
struct FilesAsk;
struct Pixels;
enum class LoadStage;
enum class ProcessEnd;
struct LoadFailure;
}  // namespace platform::webkit

namespace platform {

class GestureRecognizer;
class ScrollView;
class ScrollViewObserver;
class WebFileAsk;
class WebFilePicker;
class WebFormChoices;

// The phone's UIWebView, on WebKit (platform/webkit): pages run as in the phone's own web view,
// their script files, libraries, events, timers and requests included. What is ours stands
// around the page:
//   - the delegate is asked before every navigation of the page (the first load, a link, a
//     script, a form, a redirect hop, a history move), with what asked and everything that led
//     there (URLRequest::sourceURL, sourceChain); a refused one fetches nothing and leaves the
//     page as it was. Then webViewDidStartLoad, and webViewDidFinishLoad or
//     didFailLoadWithError, each on a later turn of the main run loop;
//   - what led to a page is decided once, at its first load, and kept with its history entry:
//     back, forward and reload never widen it. Each page shown has an identity of its own
//     (pageIdentity), so that an answer meant for one page can tell that the user left it;
//   - what the page shows is WebKit's paint, drawn under the client's bars; over it, one view
//     per item of the page (its text, links, buttons, elements with ids, fields), read from
//     the live document by the client's own script world (ClientWorld), which the page can
//     neither see nor change: outlines list them and taps aim at them. A tap anywhere in the
//     page is a real click there;
//   - a field takes the client's keyboard and form bar, a select opens the client's own list,
//     alert/confirm/prompt open the client's alert view, and a file field the picker its owner
//     gave it (setFilePicker): the client's photo picker in the web container;
//   - with scalesPageToFit, the page is laid out and scaled as a phone's browser does (its
//     viewport meta honoured; 980 CSS pixels wide and fitted without one) and the user zooms
//     within its bounds (zoomBy); otherwise it is shown at scale 1;
//   - a page's process that stops answering, crashes or passes its memory is ended, and the
//     load fails (WebError::kWebProcessEnded), so that the screen shows its fail view.
// Nothing on the main thread ever waits on the page but stringByEvaluatingJavaScriptFromString,
// for at most kScriptAnswerBound.
class WebView : public View {
public:
    // The most the main thread waits for a script's answer; a page that does not answer by
    // then (busy, or showing a dialog) gets its script run all the same, and "" comes back.
    static constexpr std::chrono::milliseconds kScriptAnswerBound{150};
    // A load that has not begun to show its page by then fails as timed out, unless the
    // request asks for less.
    static constexpr double kDefaultTimeoutSeconds = 60;
    // What the page may be zoomed to without a viewport saying otherwise.
    static constexpr double kMinimumZoom = 0.25;
    static constexpr double kMaximumZoom = 5;

    WebView();
    explicit WebView(const Rect& frame);
    ~WebView() override;

    const std::shared_ptr<ScrollView>& scrollView() const { return m_scrollView; }

    std::shared_ptr<WebViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<WebViewDelegate> delegate) { m_delegate = std::move(delegate); }

    // --- Loading ------------------------------------------------------------------------
    void loadRequest(const URLRequest& request);
    // Shows the HTML; the request the delegate sees is the base address, or "about:blank".
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

    // The page stands for itself navigating (a script setting its location, or sending a
    // form): the delegate is asked as for any of its navigations. Returns whether there is a
    // page to ask it of.
    bool simulateNavigation(const std::string& url,
                            WebViewNavigationType type = WebViewNavigationType::LinkClicked);

    // --- The page shown -----------------------------------------------------------------
    // The address of the shown page (after redirects); "about:blank" before any.
    const std::string& pageURL() const { return m_pageURL; }
    // The HTTP status of the shown page; 0 for HTML given as a string.
    int pageStatus() const { return m_pageStatus; }
    // The document's markup as it stands now ("" when the page does not answer in time).
    std::string pageHTML() const;
    // The document's title as the page's scripts left it.
    const std::string& pageTitle() const { return m_title; }
    // What the page shows now, in document order, as the client world last read it.
    const std::vector<PageItem>& pageItems() const { return m_outline.items; }
    const PageOutline& pageOutline() const { return m_outline; }
    bool hasPage() const { return m_pageSerial != 0; }
    // Names the page shown: each page opened (a load, a move back or forward, a reload) has
    // its own, never given again by this web view. 0 before any page.
    std::uint64_t pageIdentity() const { return m_pageSerial; }
    // Everything that led to the page shown, first to last (see URLRequest::sourceChain).
    const std::vector<std::string>& pageSourceChain() const { return m_pageChain; }
    // Why the last load failed; cleared when a load starts.
    const std::optional<WebError>& lastError() const { return m_lastError; }

    bool scalesPageToFit() const { return m_scalesPageToFit; }
    void setScalesPageToFit(bool scales);
    // The page's scale now, and its bounds (1, 1, 1 without fitting).
    double zoomScale() const { return m_zoom; }
    double minimumZoomScale() const { return m_minZoom; }
    double maximumZoomScale() const { return m_maxZoom; }
    // Zooms by the factor about a point of the view (the user's pinch, Ctrl and the wheel),
    // within the page's bounds; false when the page may not be zoomed.
    bool zoomBy(double factor, Point anchor);

    // --- File fields --------------------------------------------------------------------
    // What a page's file field opens. None (the default): nothing is chosen, and the field
    // stays as it was. An ask that the page's going away (another page, a crash, the web
    // view's end) leaves unanswered is withdrawn: its picker is told to close.
    const std::shared_ptr<WebFilePicker>& filePicker() const { return m_filePicker; }
    void setFilePicker(std::shared_ptr<WebFilePicker> picker) { m_filePicker = std::move(picker); }

    // --- Scripts ------------------------------------------------------------------------
    // Runs the script in the page and returns its completion value as text ("" for
    // undefined, null, an error or no answer within kScriptAnswerBound).
    std::string stringByEvaluatingJavaScriptFromString(const std::string& script);
    // Every script evaluated, in order.
    const std::vector<std::string>& evaluatedScripts() const { return m_scripts; }

    // --- For the client's own front ends and tests ----------------------------------------
    // Whether the web view has work under way that will change what it shows: a load, the
    // page's outline or paint not yet brought up to date.
    bool isBusy() const;
    // Whether any web view of the process is (for a front end that waits for the client to
    // come to rest). Main thread only.
    static bool anyBusy();
    // The page as last painted (empty before the first paint).
    const Image& paintedPage() const { return m_painted; }

    std::string describe() const override;
    void layoutSubviews() override;
    void draw(BitmapContext& context, const Rect& rect) override;

private:
    class EngineClient;
    friend class EngineClient;
    class DialogAnswer;

    // What led to a navigation, kept until it commits (or is replaced).
    struct Provenance {
        std::string sourceURL;
        std::vector<std::string> chain;
        bool byApp{false};
    };

    void makeViews();
    // Work sent to the page whose effects have yet to reach the web view: it counts as busy
    // until the page has handled it and a turn of its event loop has passed (EngineView::sync).
    void settleAfter(std::function<void()> send);
    // The web view's engine view, made on first use. Starting: the engine is still loading
    // off the main thread (engineLoaded runs when it has); Missing: it cannot run here.
    enum class EngineState { Ready, Starting, Missing };
    EngineState ensureEngine();
    void engineLoaded();
    // The app's load, now or once the engine has loaded; false when it cannot start.
    bool loadWhenEngineReady(std::function<void()> load, const std::string& url);

    // --- Engine events (WebView.cpp) ---------------------------------------------------------
    void navigationAsked(const webkit::NavigationAsk& ask);
    Provenance provenanceOf(const webkit::NavigationAsk& ask);
    void loadChanged(webkit::LoadStage stage, const std::string& url, int status);
    void loadFailed(const webkit::LoadFailure& failure);
    void historyChanged(const webkit::HistoryState& state);
    void processEnded(webkit::ProcessEnd why);
    void uriChanged(const std::string& url);
    void startTimeout(double seconds);
    void failLoad(WebError error);
    // Whether a load the app asked for, other than the one failing at that address, is on its
    // way (not asked about yet, or let go and not started): the failing one was replaced.
    bool newerAppLoadWaits(const std::string& failingURL) const;
    void committed(const std::string& url);
    void keepChainWithItem();

    // --- The page shown (WebViewPage.cpp) ----------------------------------------------------
    void worldMessage(const std::string& json);
    void outlineArrived(PageOutline outline);
    void painted(std::shared_ptr<const webkit::Pixels> pixels);
    void placeItemViews();
    std::shared_ptr<View> itemView(const PageItem& item, std::size_t index);
    void pageTapped(Point inView);
    void clickAt(Point inView);
    void scrolledByUser();
    void followPageScroll();
    // Taps and the user's scrolls reach the page; made once the web view is owned.
    void watchTheUser();
    void applyGeometry();
    void applyViewport();
    double windowOffsetX() const;
    // Where a point of the page's document (CSS px) shows in the scroller's content (points).
    Rect contentRectOf(const PageItem& item) const;

    // --- Forms, dialogs, choices (WebViewForms.cpp) -------------------------------------------
    std::shared_ptr<View> formControlView(const PageItem& item);
    void clickNode(int node);
    void formFieldFocused(int node);
    void formFieldBlurred(int node);
    void formFieldEdited(int node, const std::string& text);
    void formFieldReturned(int node);
    void endFieldEditing();
    std::shared_ptr<View> neighbourField(int node, bool forward) const;
    void forgetFormViews();
    void raiseAboveKeyboard(View& field);
    void lowerFromKeyboard();
    void dialogAsked(const webkit::DialogAsk& ask);
    void choicesAsked(const webkit::ChoicesAsk& ask);
    void filesAsked(const webkit::FilesAsk& ask);
    void withdrawFileAsks();

    std::shared_ptr<ScrollView> m_scrollView;
    std::weak_ptr<WebViewDelegate> m_delegate;
    std::shared_ptr<EngineClient> m_client;
    std::unique_ptr<webkit::EngineView> m_engine;
    bool m_engineTried{false};
    // The engine is still loading (off the main thread): the app's latest load waits for it.
    bool m_engineAwaited{false};
    // The time-out stopped the load and failed it: WebKit's report of that stop, a
    // cancellation, is the same failure, told once.
    bool m_stoppedForTimeout{false};
    std::function<void()> m_loadWhenEngine;
    int m_workInFlight{0};

    URLRequest m_request;
    bool m_loading{false};
    std::optional<WebError> m_lastError;
    TaskHandle m_timeout;
    // Loads the app asked for whose navigation has not been asked yet, oldest first.
    std::vector<URLRequest> m_appLoads;
    // The addresses of those the app stopped before they were asked about.
    std::vector<std::string> m_stoppedLoads;
    // The address of the app's load let go and not started yet.
    std::optional<std::string> m_allowedAppLoad;
    // What led to each address a navigation was allowed to, for the page that commits there.
    std::map<std::string, Provenance> m_allowed;
    // The last address a navigation was let go to, until a page commits: where a redirect
    // comes from. And the last one the delegate refused.
    std::string m_lastAllowedURL;
    // A navigation was let go and its load has not started yet: a load cancelled meanwhile was
    // replaced by it.
    bool m_navigationAllowedSinceStart{false};
    // The page's loads started and not yet finished or failed: one replaced by another is
    // told of after the other started.
    int m_loadsUnderWay{0};
    std::string m_refusedURL;
    // A new window the page opened loads here: its follow-up load speaks for the page.
    std::optional<Provenance> m_newWindow;
    // What led to each history item's page, by item.
    std::unordered_map<std::uint64_t, std::vector<std::string>> m_itemChains;
    std::optional<std::uint64_t> m_currentItem;
    // The history's items (id, address) either side of the page, nearest first.
    std::vector<std::pair<std::uint64_t, std::string>> m_backItems;
    std::vector<std::pair<std::uint64_t, std::string>> m_forwardItems;
    std::string m_currentItemURL;

    std::string m_pageURL{"about:blank"};
    int m_pageStatus{0};
    std::string m_title;
    std::uint64_t m_pageSerial{0};
    std::vector<std::string> m_pageChain;
    std::vector<std::string> m_scripts;

    PageOutline m_outline;
    Image m_painted;
    std::shared_ptr<const webkit::Pixels> m_lastPixels;
    Point m_paintedOffset;
    std::vector<std::shared_ptr<View>> m_itemViews;

    bool m_scalesPageToFit{false};
    double m_zoom{1};
    double m_minZoom{1};
    double m_maxZoom{1};
    bool m_userScalable{false};
    double m_layoutWidth{0};
    bool m_userZoomed{false};
    // The scroll offset last set from the page, so that following it is not taken for the
    // user's own scroll.
    std::optional<Point> m_offsetFromPage;
    Size m_geometrySent;
    // The scroller's content size the page last set (none since a page committed).
    std::optional<Size> m_pageContentSize;
    double m_zoomSent{0};

    std::unordered_map<int, std::shared_ptr<View>> m_formViews;
    std::shared_ptr<WebFormChoices> m_formChoices;
    std::shared_ptr<GestureRecognizer> m_pageTap;
    std::shared_ptr<ScrollViewObserver> m_scrollObserver;
    std::optional<double> m_insetBeforeKeyboard;
    // The page's dialog showing now (a page shows one at a time: its script waits on it).
    std::shared_ptr<DialogAnswer> m_dialogAnswer;
    std::shared_ptr<WebFilePicker> m_filePicker;
    // The file asks the picker holds unanswered, by the engine's id: held weakly, so that a
    // picker that lets one go answers it (with nothing) by that alone.
    std::unordered_map<std::uint64_t, std::weak_ptr<WebFileAsk>> m_fileAsks;
};

}  // namespace platform
