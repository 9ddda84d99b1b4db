#include "platform/webkit/module/KitView.h"

#include <webkit2/webkit2.h>

#include <chrono>
#include <cstring>
#include <future>
#include <map>
#include <optional>
#include <utility>

#include "platform/webkit/module/GtkThread.h"
#include "platform/webkit/module/KitContext.h"
#include "platform/webkit/module/Xvfb.h"
#include "platform/webkit/module/guard/GuardProtocol.h"

namespace platform::webkit {

namespace {

// Events carry the time they happen at, in milliseconds, as the X server's do: WebKit tells a
// click from a double click, and a new press from a stale one, by it.
guint32 eventTime() {
    return guint32(g_get_monotonic_time() / 1000);
}

// The client's own script world, and the name of the message handler its scripts post to.
constexpr const char* kClientWorld = "campus-client";
constexpr const char* kHandler = "campus";
// How often the view makes sure its web process still answers.
constexpr guint kPingIntervalMs = 250;
// How long a page just committed goes unpainted while it loads, at most.
constexpr std::chrono::milliseconds kFirstPaintWait{100};

const char* worldName(World world) {
    return world == World::Client ? kClientWorld : nullptr;
}

NavigationKind kindOf(WebKitNavigationType type) {
    switch (type) {
        case WEBKIT_NAVIGATION_TYPE_LINK_CLICKED:
            return NavigationKind::LinkClicked;
        case WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED:
            return NavigationKind::FormSubmitted;
        case WEBKIT_NAVIGATION_TYPE_BACK_FORWARD:
            return NavigationKind::BackForward;
        case WEBKIT_NAVIGATION_TYPE_RELOAD:
            return NavigationKind::Reload;
        case WEBKIT_NAVIGATION_TYPE_FORM_RESUBMITTED:
            return NavigationKind::FormResubmitted;
        default:
            return NavigationKind::Other;
    }
}

std::optional<std::string> valueText(JSCValue* value) {
    if (!value || jsc_value_is_undefined(value) || jsc_value_is_null(value))
        return std::nullopt;
    char* text =
        jsc_value_is_string(value) ? jsc_value_to_string(value) : jsc_value_to_json(value, 0);
    if (!text)
        return std::nullopt;
    std::string result(text);
    g_free(text);
    return result;
}

// `logicalWidth`: the view's width in logical pixels, which tells the surface's scale when
// WebKit does not mark it.
std::shared_ptr<const Pixels> pixelsOf(cairo_surface_t* surface, int logicalWidth) {
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
        return nullptr;
    cairo_surface_flush(surface);
    auto pixels = std::make_shared<Pixels>();
    pixels->width = cairo_image_surface_get_width(surface);
    pixels->height = cairo_image_surface_get_height(surface);
    pixels->stride = cairo_image_surface_get_stride(surface);
    double scaleX = 1, scaleY = 1;
    cairo_surface_get_device_scale(surface, &scaleX, &scaleY);
    pixels->scale = scaleX;
    if (scaleX == 1 && logicalWidth > 0 && pixels->width >= 2 * logicalWidth)
        pixels->scale = double(pixels->width) / logicalWidth;
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (!data || cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return nullptr;
    pixels->data.assign(data, data + size_t(pixels->stride) * size_t(pixels->height));
    return pixels;
}

}  // namespace

// The WebKit side of a view; GTK thread only, but for `closed`, which the host sets on its
// main thread and reads there before it hands anything on.
struct KitViewCore : std::enable_shared_from_this<KitViewCore> {
    EngineHost host;
    std::weak_ptr<ViewClient> client;
    std::shared_ptr<bool> closed = std::make_shared<bool>(false);

    GtkWidget* window{nullptr};
    WebKitWebView* view{nullptr};
    WebKitUserContentManager* content{nullptr};

    std::uint64_t nextId{1};
    std::map<std::uint64_t, WebKitPolicyDecision*> decisions;
    std::map<std::uint64_t, WebKitScriptDialog*> dialogs;
    std::map<std::uint64_t, WebKitOptionMenu*> menus;
    std::map<std::uint64_t, WebKitFileChooserRequest*> fileRequests;

    bool live{false};
    // A snapshot is painted by the page's process, which does nothing else meanwhile: one is
    // taken at a time, and all that asked before it started share it.
    using SnapshotDone = std::function<void(std::shared_ptr<const Pixels>)>;
    std::vector<SnapshotDone> snapshotsAsked;
    bool snapshotTaking{false};
    // Held back while the host decides a navigation: what it decides (a bridge's answer run in
    // the page, a new page) is what the next picture should show, and a snapshot taken
    // meanwhile would hold the page's process up when the answer comes. Not for long: a busy
    // host must not stop the pictures.
    guint snapshotHoldTimer{0};
    bool snapshotHoldOver{false};
    void startSnapshot();
    // What changes on its own (the page's timers, a resize) is painted once a frame at most.
    guint paintTimer{0};
    // A page just committed is not painted while it is still coming in fast: a picture of it
    // half parsed lays it out for nothing, and holds up the rest of its load.
    std::optional<std::chrono::steady_clock::time_point> firstPaintAt;
    bool firstPaintWaits() const {
        return firstPaintAt && std::chrono::steady_clock::now() < *firstPaintAt;
    }

    guint pingTimer{0};
    bool pingOutstanding{false};
    std::chrono::steady_clock::time_point pingSent;
    // Why the view is ending its process, when it is: the host hears that rather than how
    // WebKit saw it go (asked to end, or gone on its own when the page guard ended it).
    std::optional<ProcessEnd> endingFor;
    void endProcess(ProcessEnd why);
    bool hasDocument{false};
    // Input sent to the document shown (a click's release, a key's).
    unsigned inputsSent{0};
    // Syncs under way (KitView::sync), each finished once: by the page's turn, or early when
    // the document goes. Each leaves the table as it is finished, and holds nothing of the
    // core, which would otherwise never go.
    std::uint64_t nextSync{1};
    std::map<std::uint64_t, std::function<void()>> pendingSyncs;
    void finishSync(std::uint64_t id) {
        auto pending = pendingSyncs.extract(id);
        if (!pending.empty())
            pending.mapped()();
    }
    void finishSyncs() {
        auto pending = std::move(pendingSyncs);
        pendingSyncs.clear();
        for (auto& [id, finish] : pending) finish();
    }
    // The main frame's address before its latest change.
    std::string priorURI;
    std::string currentURI;

    // Hands a call to the host's client on its main thread, unless the host has let go.
    void toClient(std::function<void(ViewClient&)> call) {
        host.postToMain([closed = closed, weak = client, call = std::move(call)] {
            if (*closed)
                return;
            if (auto target = weak.lock())
                call(*target);
        });
    }

    // Whether the page's own reply came short of what it announced, or failed after the page
    // began to show.
    bool mainResourceCut{false};
    void mainResourceFinished(WebKitWebResource* resource);
    void watchMainResource(WebKitWebResource* main);
    void unwatchMainResource();
    bool mainResourceWatched{false};
    bool mainResourceDone{false};
    bool finishPending{false};
    // The main frame's load has failed, as told: WebKit still says "finished" after it, which
    // tells the host nothing more (a load the app started since would take it for its own).
    bool loadFailed{false};
    // The main frame's load has finished: told as finished, or as failed when its reply was
    // cut short (as the phone's web view fails it).
    void reportFinish();
    // Held (a reference of ours) while watched, so that its handlers can always be taken off.
    WebKitWebResource* watchedResource{nullptr};

    void build(const ViewOptions& options, KitContext& context);
    // Gives the view's window the keyboard's focus (on a display of our own).
    void focusWindow();
    void destroy();
    void connectSignals();
    void paintSoon();
    // A picture of the view on its way to the client's painted().
    void paintForClient();
    void takeSnapshot(SnapshotDone done);
    void snapshotNow(SnapshotDone done);
    void sendHistory();
    void ping();

    template <typename T>
    std::uint64_t keep(std::map<std::uint64_t, T*>& table, T* object) {
        const std::uint64_t id = nextId++;
        table[id] = object;
        return id;
    }
};

void KitViewCore::build(const ViewOptions& options, KitContext& context) {
    content = webkit_user_content_manager_new();
    webkit_user_content_manager_register_script_message_handler_in_world(content, kHandler,
                                                                         kClientWorld);
    if (!options.clientScript.empty()) {
        WebKitUserScript* script = webkit_user_script_new_for_world(
            options.clientScript.c_str(), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
            WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, kClientWorld, nullptr, nullptr);
        webkit_user_content_manager_add_script(content, script);
        webkit_user_script_unref(script);
    }
    if (!options.caretColor.empty()) {
        // At the user's level, below the page's own styles: a page's caret-color still wins.
        const std::string css = ":root { caret-color: " + options.caretColor + "; }";
        WebKitUserStyleSheet* sheet =
            webkit_user_style_sheet_new(css.c_str(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                                        WEBKIT_USER_STYLE_LEVEL_USER, nullptr, nullptr);
        webkit_user_content_manager_add_style_sheet(content, sheet);
        webkit_user_style_sheet_unref(sheet);
    }
    WebKitSettings* settings = webkit_settings_new_with_settings(
        "enable-developer-extras", FALSE, "javascript-can-open-windows-automatically", FALSE,
        "enable-write-console-messages-to-stdout", FALSE, "allow-file-access-from-file-urls", FALSE,
        "allow-universal-access-from-file-urls", FALSE, "enable-back-forward-navigation-gestures",
        FALSE, "enable-smooth-scrolling", FALSE, "hardware-acceleration-policy",
        WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER, nullptr);
    if (!options.userAgent.empty())
        webkit_settings_set_user_agent(settings, options.userAgent.c_str());
    view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context.context(),
                                        "user-content-manager", content, "settings", settings,
                                        nullptr));
    g_object_unref(settings);
    // On a display of its own the page's window is a real one, never seen: it can have the
    // keyboard's focus, so that the page draws the caret of the field being edited. On the
    // user's display it stays offscreen.
    if (ownsDisplay()) {
        window = gtk_window_new(GTK_WINDOW_POPUP);
        gtk_window_move(GTK_WINDOW(window), 0, 0);
    } else {
        window = gtk_offscreen_window_new();
    }
    // The caret stands steady, as in the client's screenshots: a snapshot never catches it
    // in the dark half of WebKit's blink (the desktop window blinks carets itself).
    g_object_set(gtk_widget_get_settings(window), "gtk-cursor-blink", FALSE, nullptr);
    gtk_window_set_default_size(GTK_WINDOW(window), 375, 667);
    gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(view));
    gtk_widget_show_all(window);
    focusWindow();
    connectSignals();
    pingTimer = g_timeout_add(
        kPingIntervalMs,
        [](gpointer self) -> gboolean {
            static_cast<KitViewCore*>(self)->ping();
            return G_SOURCE_CONTINUE;
        },
        this);
}

void KitViewCore::focusWindow() {
    if (!ownsDisplay() || !window)
        return;
    gtk_widget_grab_focus(GTK_WIDGET(view));
    if (GdkWindow* gdkWindow = gtk_widget_get_window(window))
        gdk_window_focus(gdkWindow, eventTime());
}

void KitViewCore::destroy() {
    if (pingTimer)
        g_source_remove(pingTimer);
    pingTimer = 0;
    for (guint* timer : {&snapshotHoldTimer, &paintTimer}) {
        if (*timer)
            g_source_remove(*timer);
        *timer = 0;
    }
    if (view)
        g_signal_handlers_disconnect_by_data(view, this);
    if (content)
        g_signal_handlers_disconnect_by_data(content, this);
    if (view)
        g_signal_handlers_disconnect_by_data(webkit_web_view_get_back_forward_list(view), this);
    unwatchMainResource();
    for (auto& [id, decision] : decisions) {
        webkit_policy_decision_ignore(decision);
        g_object_unref(decision);
    }
    decisions.clear();
    for (auto& [id, dialog] : dialogs) {
        webkit_script_dialog_close(dialog);
        webkit_script_dialog_unref(dialog);
    }
    dialogs.clear();
    for (auto& [id, menu] : menus) {
        webkit_option_menu_close(menu);
        g_object_unref(menu);
    }
    menus.clear();
    for (auto& [id, request] : fileRequests) {
        webkit_file_chooser_request_cancel(request);
        g_object_unref(request);
    }
    fileRequests.clear();
    // The host hears of none of them now.
    finishSyncs();
    // Its page goes with it: the web process stops its scripts, timers and loads. A script
    // that never ends would not hear that its page closed, and WebKit lets such a process spin
    // for 10 s before it ends on its own: the view's process (one to each view: no view here is
    // related to another) is ended now instead. The handlers are gone: nobody hears of it.
    if (view && hasDocument)
        webkit_web_view_terminate_web_process(view);
    if (window)
        gtk_widget_destroy(window);
    window = nullptr;
    view = nullptr;
    // What waited for a picture hears there is none.
    startSnapshot();
    if (content)
        g_object_unref(content);
    content = nullptr;
}

void KitViewCore::connectSignals() {
    g_signal_connect(
        view, "decide-policy",
        G_CALLBACK(+[](WebKitWebView*, WebKitPolicyDecision* decision,
                       WebKitPolicyDecisionType type, gpointer data) -> gboolean {
            auto* self = static_cast<KitViewCore*>(data);
            if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
                // What WebKit cannot show would be a download: a phone's web view shows
                // nothing and fails the load.
                if (!webkit_response_policy_decision_is_mime_type_supported(
                        WEBKIT_RESPONSE_POLICY_DECISION(decision))) {
                    webkit_policy_decision_ignore(decision);
                    return TRUE;
                }
                return FALSE;
            }
            WebKitNavigationAction* action =
                webkit_navigation_policy_decision_get_navigation_action(
                    WEBKIT_NAVIGATION_POLICY_DECISION(decision));
            WebKitURIRequest* request = webkit_navigation_action_get_request(action);
            NavigationAsk ask;
            ask.url = webkit_uri_request_get_uri(request);
            if (const char* method = webkit_uri_request_get_http_method(request))
                ask.method = method;
            ask.kind = kindOf(webkit_navigation_action_get_navigation_type(action));
            ask.redirect = webkit_navigation_action_is_redirect(action);
            ask.userGesture = webkit_navigation_action_is_user_gesture(action);
            ask.newWindow = type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION;
            if (SoupMessageHeaders* headers = webkit_uri_request_get_http_headers(request)) {
                if (const char* referrer = soup_message_headers_get_one(headers, "Referer"))
                    ask.referrer = referrer;
            }
            if (const char* uri = webkit_web_view_get_uri(self->view))
                ask.viewURL = uri;
            // WebKit takes a main-frame redirect's address before it asks: the hop it leaves
            // is the address it had before.
            if (ask.redirect && ask.viewURL == ask.url)
                ask.viewURL = self->priorURI;
            ask.viewLoading = webkit_web_view_is_loading(self->view);
            ask.id = self->keep(self->decisions, WEBKIT_POLICY_DECISION(g_object_ref(decision)));
            self->toClient([ask](ViewClient& client) { client.navigationAsked(ask); });
            return TRUE;
        }),
        this);
    // A new window opens in this view, as in the phone's web view; the load asks again.
    g_signal_connect(
        view, "create",
        G_CALLBACK(
            +[](WebKitWebView* view, WebKitNavigationAction* action, gpointer) -> GtkWidget* {
                webkit_web_view_load_request(view, webkit_navigation_action_get_request(action));
                return nullptr;
            }),
        this);
    g_signal_connect(
        view, "load-changed",
        G_CALLBACK(+[](WebKitWebView* view, WebKitLoadEvent event, gpointer data) {
            auto* self = static_cast<KitViewCore*>(data);
            LoadStage stage;
            switch (event) {
                case WEBKIT_LOAD_STARTED:
                    stage = LoadStage::Started;
                    // A new load: its reply is watched anew.
                    self->mainResourceWatched = false;
                    self->mainResourceDone = false;
                    self->mainResourceCut = false;
                    self->finishPending = false;
                    self->loadFailed = false;
                    break;
                case WEBKIT_LOAD_REDIRECTED:
                    stage = LoadStage::Redirected;
                    break;
                case WEBKIT_LOAD_COMMITTED:
                    stage = LoadStage::Committed;
                    self->hasDocument = true;
                    if (!self->mainResourceWatched) {
                        if (WebKitWebResource* main = webkit_web_view_get_main_resource(view))
                            self->watchMainResource(main);
                    }
                    // A new document: it has seen none of the input, and what waited in the
                    // old one waits no more.
                    self->inputsSent = 0;
                    // A document shown is a process alive: an ending asked of one that had
                    // already gone (so that WebKit never told of it) is not this one's.
                    self->endingFor.reset();
                    self->firstPaintAt = std::chrono::steady_clock::now() + kFirstPaintWait;
                    self->finishSyncs();
                    break;
                default:
                    stage = LoadStage::Finished;
                    break;
            }
            // WebKit shows a page whose reply was cut short as if it had come whole, and says
            // so only after the load has finished: the load's end waits for the reply's.
            if (stage == LoadStage::Finished) {
                self->firstPaintAt.reset();
                if (std::exchange(self->loadFailed, false)) {
                    self->paintSoon();
                    return;
                }
                self->finishPending = true;
                if (self->mainResourceDone || !self->mainResourceWatched)
                    self->reportFinish();
                return;
            }
            const char* uri = webkit_web_view_get_uri(view);
            std::string url = uri ? uri : "";
            int status = 0;
            if (stage == LoadStage::Committed) {
                WebKitWebResource* main = webkit_web_view_get_main_resource(view);
                WebKitURIResponse* response =
                    main ? webkit_web_resource_get_response(main) : nullptr;
                status = response ? int(webkit_uri_response_get_status_code(response)) : 0;
            }
            // A page shown again from the back-forward cache tells no new title: its own is
            // said with each stage that shows it.
            const char* title = webkit_web_view_get_title(view);
            std::string text = title ? title : "";
            self->toClient([stage, url, status, text](ViewClient& client) {
                client.loadChanged(stage, url, status);
                if (stage == LoadStage::Committed || stage == LoadStage::Finished)
                    client.titleChanged(text);
            });
            if (stage == LoadStage::Committed || stage == LoadStage::Finished)
                self->paintSoon();
        }),
        this);
    g_signal_connect(view, "resource-load-started",
                     G_CALLBACK(+[](WebKitWebView* view, WebKitWebResource* resource,
                                    WebKitURIRequest*, gpointer data) {
                         if (resource == webkit_web_view_get_main_resource(view))
                             static_cast<KitViewCore*>(data)->watchMainResource(resource);
                     }),
                     this);
    g_signal_connect(
        view, "load-failed",
        G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error,
                       gpointer data) -> gboolean {
            auto* self = static_cast<KitViewCore*>(data);
            LoadFailure failure;
            failure.url = uri ? uri : "";
            failure.code = error->code;
            failure.domain = g_quark_to_string(error->domain);
            failure.message = error->message ? error->message : "";
            failure.cancelled =
                g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED);
            failure.stillLoading = webkit_web_view_is_loading(self->view);
            failure.blocked =
                g_error_matches(error, WEBKIT_POLICY_ERROR,
                                WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE);
            // The failure is the load's end: its main resource failing with it (a refused
            // hop, a reply not shown) is not a reply cut short.
            self->loadFailed = true;
            self->finishPending = false;
            self->mainResourceCut = false;
            self->toClient([failure](ViewClient& client) { client.loadFailed(failure); });
            // No error page of WebKit's: the host shows its own.
            return TRUE;
        }),
        this);
    g_signal_connect(view, "notify::uri",
                     G_CALLBACK(+[](WebKitWebView* view, GParamSpec*, gpointer data) {
                         auto* self = static_cast<KitViewCore*>(data);
                         const char* uri = webkit_web_view_get_uri(view);
                         std::string url = uri ? uri : "";
                         self->priorURI = self->currentURI;
                         self->currentURI = url;
                         self->toClient([url](ViewClient& client) { client.uriChanged(url); });
                     }),
                     this);
    g_signal_connect(view, "notify::title",
                     G_CALLBACK(+[](WebKitWebView* view, GParamSpec*, gpointer data) {
                         auto* self = static_cast<KitViewCore*>(data);
                         const char* title = webkit_web_view_get_title(view);
                         std::string text = title ? title : "";
                         self->toClient([text](ViewClient& client) { client.titleChanged(text); });
                     }),
                     this);
    g_signal_connect(
        webkit_web_view_get_back_forward_list(view), "changed",
        G_CALLBACK(+[](WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer,
                       gpointer data) { static_cast<KitViewCore*>(data)->sendHistory(); }),
        this);
    g_signal_connect(
        content, "script-message-received::campus",
        G_CALLBACK(+[](WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer data) {
            auto* self = static_cast<KitViewCore*>(data);
            auto text = valueText(webkit_javascript_result_get_js_value(result));
            if (!text)
                return;
            self->toClient([json = *text](ViewClient& client) { client.worldMessage(json); });
            self->paintSoon();
        }),
        this);
    g_signal_connect(
        view, "script-dialog",
        G_CALLBACK(+[](WebKitWebView*, WebKitScriptDialog* dialog, gpointer data) -> gboolean {
            auto* self = static_cast<KitViewCore*>(data);
            DialogAsk ask;
            switch (webkit_script_dialog_get_dialog_type(dialog)) {
                case WEBKIT_SCRIPT_DIALOG_ALERT:
                    ask.kind = DialogAsk::Kind::Alert;
                    break;
                case WEBKIT_SCRIPT_DIALOG_CONFIRM:
                    ask.kind = DialogAsk::Kind::Confirm;
                    break;
                case WEBKIT_SCRIPT_DIALOG_PROMPT:
                    ask.kind = DialogAsk::Kind::Prompt;
                    if (const char* text = webkit_script_dialog_prompt_get_default_text(dialog))
                        ask.defaultText = text;
                    break;
                default:
                    ask.kind = DialogAsk::Kind::BeforeUnload;
                    break;
            }
            if (const char* message = webkit_script_dialog_get_message(dialog))
                ask.message = message;
            ask.id = self->keep(self->dialogs, webkit_script_dialog_ref(dialog));
            self->toClient([ask](ViewClient& client) { client.dialogAsked(ask); });
            self->paintSoon();
            return TRUE;
        }),
        this);
    g_signal_connect(view, "show-option-menu",
                     G_CALLBACK(+[](WebKitWebView*, WebKitOptionMenu* menu, GdkEvent*,
                                    GdkRectangle* rect, gpointer data) -> gboolean {
                         auto* self = static_cast<KitViewCore*>(data);
                         ChoicesAsk ask;
                         for (guint i = 0; i < webkit_option_menu_get_n_items(menu); ++i) {
                             WebKitOptionMenuItem* item = webkit_option_menu_get_item(menu, i);
                             ChoicesAsk::Option option;
                             if (const char* label = webkit_option_menu_item_get_label(item))
                                 option.label = label;
                             option.enabled = webkit_option_menu_item_is_enabled(item);
                             option.selected = webkit_option_menu_item_is_selected(item);
                             option.groupLabel = webkit_option_menu_item_is_group_label(item);
                             ask.options.push_back(std::move(option));
                         }
                         if (rect) {
                             ask.x = rect->x;
                             ask.y = rect->y;
                             ask.width = rect->width;
                             ask.height = rect->height;
                         }
                         ask.id = self->keep(self->menus, WEBKIT_OPTION_MENU(g_object_ref(menu)));
                         self->toClient([ask](ViewClient& client) { client.choicesAsked(ask); });
                         return TRUE;
                     }),
                     this);
    // What WebKit would answer with a GTK dialog of its own (printing runs one in a nested main
    // loop; a colour chooser and an HTTP password prompt open windows) is declined: a page must
    // never stall this thread or show the client anything but its own screens.
    g_signal_connect(view, "print",
                     G_CALLBACK(+[](WebKitWebView*, WebKitPrintOperation*, gpointer) -> gboolean {
                         return TRUE;
                     }),
                     this);
    g_signal_connect(
        view, "run-color-chooser",
        G_CALLBACK(+[](WebKitWebView*, WebKitColorChooserRequest* request, gpointer) -> gboolean {
            webkit_color_chooser_request_cancel(request);
            return TRUE;
        }),
        this);
    g_signal_connect(
        view, "authenticate",
        G_CALLBACK(+[](WebKitWebView*, WebKitAuthenticationRequest* request, gpointer) -> gboolean {
            webkit_authentication_request_cancel(request);
            return TRUE;
        }),
        this);
    g_signal_connect(
        view, "show-notification",
        G_CALLBACK(+[](WebKitWebView*, WebKitNotification*, gpointer) -> gboolean { return TRUE; }),
        this);
    g_signal_connect(
        view, "run-file-chooser",
        G_CALLBACK(+[](WebKitWebView*, WebKitFileChooserRequest* request,
                       gpointer data) -> gboolean {
            auto* self = static_cast<KitViewCore*>(data);
            FilesAsk ask;
            ask.multiple = webkit_file_chooser_request_get_select_multiple(request);
            if (const gchar* const* types = webkit_file_chooser_request_get_mime_types(request)) {
                for (; *types; ++types) ask.mimeTypes.emplace_back(*types);
            }
            ask.id =
                self->keep(self->fileRequests, WEBKIT_FILE_CHOOSER_REQUEST(g_object_ref(request)));
            self->toClient([ask](ViewClient& client) { client.filesAsked(ask); });
            return TRUE;
        }),
        this);
    g_signal_connect(
        view, "web-process-terminated",
        G_CALLBACK(+[](WebKitWebView*, WebKitWebProcessTerminationReason reason, gpointer data) {
            auto* self = static_cast<KitViewCore*>(data);
            ProcessEnd why = ProcessEnd::Crashed;
            if (reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT)
                why = ProcessEnd::MemoryLimit;
            else if (self->endingFor)
                why = *self->endingFor;
            else if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API)
                why = ProcessEnd::Terminated;
            self->endingFor.reset();
            self->pingOutstanding = false;
            self->hasDocument = false;
            self->finishSyncs();
            // What waited on the page waits no more.
            for (auto& [id, dialog] : self->dialogs) {
                webkit_script_dialog_close(dialog);
                webkit_script_dialog_unref(dialog);
            }
            self->dialogs.clear();
            if (self->host.log && why != ProcessEnd::Terminated)
                self->host.log(
                    why == ProcessEnd::MemoryLimit    ? "web: a page's process went past its memory"
                    : why == ProcessEnd::Unresponsive ? "web: a page's process stopped answering"
                                                      : "web: a page's process crashed");
            self->toClient([why](ViewClient& client) { client.processEnded(why); });
        }),
        this);
    // The page guard in the page's process says it is past its bounds.
    g_signal_connect(
        view, "user-message-received",
        G_CALLBACK(+[](WebKitWebView*, WebKitUserMessage* message, gpointer data) -> gboolean {
            auto* self = static_cast<KitViewCore*>(data);
            const char* name = webkit_user_message_get_name(message);
            if (g_strcmp0(name, guard::kBusyMessage) == 0)
                self->endProcess(ProcessEnd::Unresponsive);
            else if (g_strcmp0(name, guard::kMemoryMessage) == 0)
                self->endProcess(ProcessEnd::MemoryLimit);
            else
                return FALSE;
            return TRUE;
        }),
        this);
}

void KitViewCore::endProcess(ProcessEnd why) {
    if (!view)
        return;
    // The first reason stands: the process is on its way out for it.
    if (!endingFor)
        endingFor = why;
    pingOutstanding = false;
    webkit_web_view_terminate_web_process(view);
}

void KitViewCore::reportFinish() {
    if (!std::exchange(finishPending, false) || !view)
        return;
    const char* uri = webkit_web_view_get_uri(view);
    const std::string url = uri ? uri : "";
    if (mainResourceCut) {
        LoadFailure failure;
        failure.url = url;
        failure.connectionLost = true;
        failure.message = "The network connection was lost.";
        toClient([failure](ViewClient& client) { client.loadFailed(failure); });
        return;
    }
    const char* title = webkit_web_view_get_title(view);
    std::string text = title ? title : "";
    toClient([url, text](ViewClient& client) {
        client.loadChanged(LoadStage::Finished, url, 0);
        client.titleChanged(text);
    });
    paintSoon();
}

void KitViewCore::watchMainResource(WebKitWebResource* main) {
    // Only the load under way is heard: the main resource of one it replaced may still fail
    // or finish as it is dropped, which would tell of this load's end.
    unwatchMainResource();
    mainResourceCut = false;
    mainResourceDone = false;
    mainResourceWatched = true;
    finishPending = false;
    g_signal_connect(
        main, "failed", G_CALLBACK(+[](WebKitWebResource*, GError* error, gpointer data) {
            auto* self = static_cast<KitViewCore*>(data);
            if (!g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED))
                self->mainResourceCut = true;
            self->mainResourceDone = true;
            self->reportFinish();
        }),
        this);
    g_signal_connect(main, "finished", G_CALLBACK(+[](WebKitWebResource* resource, gpointer data) {
                         static_cast<KitViewCore*>(data)->mainResourceFinished(resource);
                     }),
                     this);
    watchedResource = WEBKIT_WEB_RESOURCE(g_object_ref(main));
}

void KitViewCore::unwatchMainResource() {
    if (!watchedResource)
        return;
    g_signal_handlers_disconnect_by_data(watchedResource, this);
    g_object_unref(watchedResource);
    watchedResource = nullptr;
}

// Whether the reply came as long as it said it would: what WebKit holds of it is compared
// with its Content-Length (when it came unencoded, so that the two count the same bytes).
void KitViewCore::mainResourceFinished(WebKitWebResource* resource) {
    WebKitURIResponse* response = webkit_web_resource_get_response(resource);
    const guint64 announced = response ? webkit_uri_response_get_content_length(response) : 0;
    SoupMessageHeaders* headers =
        response ? webkit_uri_response_get_http_headers(response) : nullptr;
    const bool encoded = headers && soup_message_headers_get_one(headers, "Content-Encoding");
    if (announced == 0 || encoded) {
        mainResourceDone = true;
        reportFinish();
        return;
    }
    struct Check {
        std::weak_ptr<KitViewCore> core;
        guint64 announced;
    };
    webkit_web_resource_get_data(
        resource, nullptr,
        [](GObject* object, GAsyncResult* result, gpointer data) {
            std::unique_ptr<Check> check(static_cast<Check*>(data));
            gsize length = 0;
            guchar* bytes = webkit_web_resource_get_data_finish(WEBKIT_WEB_RESOURCE(object), result,
                                                                &length, nullptr);
            g_free(bytes);
            auto self = check->core.lock();
            if (!self)
                return;
            if (length < check->announced)
                self->mainResourceCut = true;
            self->mainResourceDone = true;
            self->reportFinish();
        },
        new Check{weak_from_this(), announced});
}

void KitViewCore::ping() {
    if (!view || !hasDocument || !dialogs.empty())
        return;
    const auto now = std::chrono::steady_clock::now();
    if (pingOutstanding) {
        if (now - pingSent > host.unresponsiveBound) {
            // A page that keeps its process busy (a script that never ends) is ended, and the
            // host shows its fail view.
            endProcess(ProcessEnd::Unresponsive);
        }
        return;
    }
    pingOutstanding = true;
    pingSent = now;
    auto weak = new std::weak_ptr<KitViewCore>(weak_from_this());
    webkit_web_view_evaluate_javascript(
        view, "0", -1, kClientWorld, nullptr, nullptr,
        [](GObject* object, GAsyncResult* result, gpointer data) {
            std::unique_ptr<std::weak_ptr<KitViewCore>> weak(
                static_cast<std::weak_ptr<KitViewCore>*>(data));
            JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(object),
                                                                         result, nullptr);
            if (value)
                g_object_unref(value);
            if (auto self = weak->lock())
                self->pingOutstanding = false;
        },
        weak);
}

void KitViewCore::sendHistory() {
    WebKitBackForwardList* list = webkit_web_view_get_back_forward_list(view);
    auto itemOf = [this](WebKitBackForwardListItem* item) {
        HistoryItem result;
        auto id = reinterpret_cast<std::uintptr_t>(g_object_get_data(G_OBJECT(item), "campus-id"));
        if (id == 0) {
            id = std::uintptr_t(nextId++);
            g_object_set_data(G_OBJECT(item), "campus-id", reinterpret_cast<gpointer>(id));
        }
        result.id = id;
        if (const char* uri = webkit_back_forward_list_item_get_uri(item))
            result.url = uri;
        if (const char* title = webkit_back_forward_list_item_get_title(item))
            result.title = title;
        return result;
    };
    HistoryState state;
    GList* back = webkit_back_forward_list_get_back_list(list);
    // WebKit lists the back items oldest first.
    for (GList* at = g_list_last(back); at; at = at->prev)
        state.back.push_back(itemOf(WEBKIT_BACK_FORWARD_LIST_ITEM(at->data)));
    g_list_free(back);
    if (WebKitBackForwardListItem* current = webkit_back_forward_list_get_current_item(list))
        state.current = itemOf(current);
    GList* forward = webkit_back_forward_list_get_forward_list(list);
    for (GList* at = forward; at; at = at->next)
        state.forward.push_back(itemOf(WEBKIT_BACK_FORWARD_LIST_ITEM(at->data)));
    g_list_free(forward);
    toClient([state](ViewClient& client) { client.historyChanged(state); });
}

namespace {

// A frame of the screen's; what the page changes on its own is painted at this pace at most.
constexpr guint kFrameMs = 16;
// How long a snapshot waits for the host's decision on a navigation, at most.
constexpr guint kSnapshotHoldMs = 100;

// A GLib timer calling `fire` on the core while it lives.
guint timerOn(KitViewCore& core, guint ms, void (*fire)(KitViewCore&)) {
    struct Call {
        std::weak_ptr<KitViewCore> core;
        void (*fire)(KitViewCore&);
    };
    return g_timeout_add_full(
        G_PRIORITY_DEFAULT, ms,
        +[](gpointer data) -> gboolean {
            auto* call = static_cast<Call*>(data);
            if (auto self = call->core.lock())
                call->fire(*self);
            return G_SOURCE_REMOVE;
        },
        new Call{core.weak_from_this(), fire},
        +[](gpointer data) { delete static_cast<Call*>(data); });
}

}  // namespace

void KitViewCore::paintSoon() {
    if (!live || paintTimer)
        return;
    guint wait = kFrameMs;
    if (firstPaintWaits()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            *firstPaintAt - std::chrono::steady_clock::now());
        wait = std::max(wait, guint(left.count()) + 1);
    }
    paintTimer = timerOn(*this, wait, [](KitViewCore& self) {
        self.paintTimer = 0;
        // A sync under way ends with a picture of its own, which the host waits for.
        if (self.live && self.pendingSyncs.empty())
            self.paintForClient();
    });
}

void KitViewCore::paintForClient() {
    std::weak_ptr<KitViewCore> weak = weak_from_this();
    takeSnapshot([weak](std::shared_ptr<const Pixels> pixels) {
        auto self = weak.lock();
        if (self && pixels)
            self->toClient([pixels](ViewClient& client) { client.painted(pixels); });
    });
}

void KitViewCore::takeSnapshot(SnapshotDone done) {
    snapshotsAsked.push_back(std::move(done));
    startSnapshot();
}

void KitViewCore::startSnapshot() {
    if (snapshotTaking || snapshotsAsked.empty())
        return;
    if (view && !decisions.empty() && !snapshotHoldOver) {
        if (!snapshotHoldTimer)
            snapshotHoldTimer = timerOn(*this, kSnapshotHoldMs, [](KitViewCore& self) {
                self.snapshotHoldTimer = 0;
                self.snapshotHoldOver = true;
                self.startSnapshot();
            });
        return;
    }
    if (snapshotHoldTimer)
        g_source_remove(snapshotHoldTimer);
    snapshotHoldTimer = 0;
    snapshotHoldOver = false;
    auto asked = std::move(snapshotsAsked);
    snapshotsAsked.clear();
    snapshotTaking = true;
    std::weak_ptr<KitViewCore> weak = weak_from_this();
    snapshotNow([weak, asked = std::move(asked)](std::shared_ptr<const Pixels> pixels) {
        for (const auto& done : asked) done(pixels);
        if (auto self = weak.lock()) {
            self->snapshotTaking = false;
            self->startSnapshot();
        }
    });
}

void KitViewCore::snapshotNow(SnapshotDone done) {
    if (!view) {
        done(nullptr);
        return;
    }

    auto box = new std::function<void(std::shared_ptr<const Pixels>)>(std::move(done));
    webkit_web_view_get_snapshot(
        view, WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_NONE, nullptr,
        [](GObject* object, GAsyncResult* result, gpointer data) {
            std::unique_ptr<std::function<void(std::shared_ptr<const Pixels>)>> done(
                static_cast<std::function<void(std::shared_ptr<const Pixels>)>*>(data));
            cairo_surface_t* surface =
                webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(object), result, nullptr);

            auto pixels = pixelsOf(surface, gtk_widget_get_allocated_width(GTK_WIDGET(object)));
            if (surface)
                cairo_surface_destroy(surface);
            (*done)(pixels);
        },
        box);
}

// --- KitView: the host's side ---------------------------------------------------------------

KitView::KitView(GtkThread& thread, KitContext& context, const EngineHost& host,
                 std::weak_ptr<ViewClient> client, const ViewOptions& options)
    : m_thread(thread), m_core(std::make_shared<KitViewCore>()) {
    m_core->host = host;
    m_core->client = std::move(client);
    m_thread.post([core = m_core, &context, options] { core->build(options, context); });
}

KitView::~KitView() {
    *m_core->closed = true;
    m_thread.post([core = m_core] { core->destroy(); });
}

void KitView::onCore(std::function<void(KitViewCore&)> task) {
    m_thread.post([core = m_core, task = std::move(task)] {
        if (core->view)
            task(*core);
    });
}

void KitView::setGeometry(int width, int height, double zoom) {
    onCore([width, height, zoom](KitViewCore& core) {
        gtk_window_set_default_size(GTK_WINDOW(core.window), width, height);
        gtk_widget_set_size_request(GTK_WIDGET(core.view), width, height);
        gtk_window_resize(GTK_WINDOW(core.window), width, height);
        webkit_web_view_set_zoom_level(core.view, zoom);
        core.paintSoon();
    });
}

void KitView::load(const LoadRequest& request) {
    onCore([request](KitViewCore& core) {
        WebKitURIRequest* uri = webkit_uri_request_new(request.url.c_str());
        SoupMessageHeaders* headers = webkit_uri_request_get_http_headers(uri);
        if (headers) {
            for (const auto& [name, value] : request.headers)
                soup_message_headers_replace(headers, name.c_str(), value.c_str());
            if (request.ignoreCache) {
                soup_message_headers_replace(headers, "Cache-Control", "no-cache");
                soup_message_headers_replace(headers, "Pragma", "no-cache");
            }
        }
        webkit_web_view_load_request(core.view, uri);
        g_object_unref(uri);
    });
}

void KitView::loadHTML(const std::string& html, const std::string& baseURL) {
    onCore([html, baseURL](KitViewCore& core) {
        webkit_web_view_load_html(core.view, html.c_str(),
                                  baseURL.empty() ? nullptr : baseURL.c_str());
    });
}

void KitView::decide(std::uint64_t navigation, bool allow) {
    onCore([navigation, allow](KitViewCore& core) {
        auto found = core.decisions.find(navigation);
        if (found == core.decisions.end())
            return;
        if (allow)
            webkit_policy_decision_use(found->second);
        else
            webkit_policy_decision_ignore(found->second);
        g_object_unref(found->second);
        core.decisions.erase(found);
        if (core.decisions.empty())
            core.startSnapshot();
    });
}

void KitView::stop() {
    onCore([](KitViewCore& core) { webkit_web_view_stop_loading(core.view); });
}

void KitView::reload(bool ignoreCache) {
    onCore([ignoreCache](KitViewCore& core) {
        if (ignoreCache)
            webkit_web_view_reload_bypass_cache(core.view);
        else
            webkit_web_view_reload(core.view);
    });
}

void KitView::goBack() {
    onCore([](KitViewCore& core) { webkit_web_view_go_back(core.view); });
}

void KitView::goForward() {
    onCore([](KitViewCore& core) { webkit_web_view_go_forward(core.view); });
}

namespace {

using EvaluationDone = std::function<void(std::optional<std::string>)>;

// Runs on the GTK thread; `done` runs there too, with the result.
void evaluateOn(KitViewCore& core, const std::string& script, World world, EvaluationDone done) {
    auto box = new EvaluationDone(std::move(done));
    webkit_web_view_evaluate_javascript(
        core.view, script.c_str(), gssize(script.size()), worldName(world), nullptr, nullptr,
        [](GObject* object, GAsyncResult* result, gpointer data) {
            std::unique_ptr<EvaluationDone> done(static_cast<EvaluationDone*>(data));
            GError* error = nullptr;
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(object), result, &error);
            std::optional<std::string> text;
            if (value) {
                text = valueText(value);
                g_object_unref(value);
            } else if (error) {
                g_error_free(error);
            }
            (*done)(std::move(text));
        },
        box);
}

}  // namespace

void KitView::evaluate(const std::string& script, World world, EvaluationDone done) {
    m_thread.post([core = m_core, script, world, done = std::move(done)]() mutable {
        if (!core->view)
            return;
        evaluateOn(*core, script, world,
                   [core, done = std::move(done)](std::optional<std::string> text) {
                       core->paintSoon();
                       if (done)
                           core->host.postToMain([closed = core->closed, done, text] {
                               if (!*closed)
                                   done(text);
                           });
                   });
    });
}

std::optional<std::string> KitView::evaluateWithin(const std::string& script, World world,
                                                   std::chrono::milliseconds bound) {
    auto answer = std::make_shared<std::promise<std::optional<std::string>>>();
    auto future = answer->get_future();
    m_thread.post([core = m_core, script, world, answer] {
        if (!core->view) {
            answer->set_value(std::nullopt);
            return;
        }
        evaluateOn(*core, script, world, [core, answer](std::optional<std::string> text) {
            core->paintSoon();
            answer->set_value(std::move(text));
        });
        // What the host's script changed in the page (a bridge's answer) is read right after
        // it, on the page's same turn, rather than when the outline's pace next allows.
        if (world == World::Page) {
            static const char* kFlush = "if (window.campus && campus.flush) campus.flush();";
            webkit_web_view_evaluate_javascript(core->view, kFlush, -1, worldName(World::Client),
                                                nullptr, nullptr, nullptr, nullptr);
        }
    });
    if (future.wait_for(bound) != std::future_status::ready)
        return std::nullopt;
    return future.get();
}

void KitView::sync(std::function<void()> done) {
    m_thread.post([core = m_core, done = std::move(done)] {
        // Once: by the page's turn, or by the page going (a new document, the process ended,
        // the view let go), which leaves what waited in the old one suspended or gone.
        const std::uint64_t id = core->nextSync++;
        core->pendingSyncs[id] = [post = core->host.postToMain, closed = core->closed, done] {
            post([closed, done] {
                if (!*closed)
                    done();
            });
        };
        if (!core->view) {
            core->finishSync(id);
            return;
        }
        // What the page shows by then is painted before the host hears: a screenshot taken
        // then is of the page as it is.
        auto deliver = [core, id] {
            // A page whose first picture waits is painted when it is due (the host is told
            // of its load's end, which comes later, with a picture).
            if (!core->live || !core->view || core->firstPaintWaits()) {
                core->finishSync(id);
                return;
            }
            core->takeSnapshot([core, id](std::shared_ptr<const Pixels> pixels) {
                if (pixels)
                    core->toClient([pixels](ViewClient& client) { client.painted(pixels); });
                core->finishSync(id);
            });
        };
        // A turn of the page's event loop: what ran before has posted what it posts (the
        // client world flushes its outline), and asked for what it navigates to.
        // WebKit sends input on a queue of its own, after what was sent later: the input sent
        // to this document is waited for first (a few seconds at most, on a busy machine: a click
        // may land in a frame, which this document never sees).
        static const char* kTurn =
            "var since = Date.now();"
            "while (window.campus && campus.inputsSeen() < inputs && Date.now() - since < 3000)"
            "  await new Promise(function (done) { setTimeout(done, 5); });"
            "await new Promise(function (done) { setTimeout(done, 0); });"
            "await new Promise(function (done) { setTimeout(done, 0); });"
            "if (window.campus && campus.flush) campus.flush();"
            "return 0;";
        GVariantDict arguments;
        g_variant_dict_init(&arguments, nullptr);
        g_variant_dict_insert(&arguments, "inputs", "u", guint32(core->inputsSent));

        auto box = new std::function<void()>(deliver);
        webkit_web_view_call_async_javascript_function(
            core->view, kTurn, -1, g_variant_dict_end(&arguments), kClientWorld, nullptr, nullptr,
            [](GObject* object, GAsyncResult* result, gpointer data) {
                std::unique_ptr<std::function<void()>> deliver(
                    static_cast<std::function<void()>*>(data));
                JSCValue* value = webkit_web_view_call_async_javascript_function_finish(
                    WEBKIT_WEB_VIEW(object), result, nullptr);
                if (value)
                    g_object_unref(value);
                (*deliver)();
            },
            box);
    });
}

void KitView::snapshot(std::function<void(std::shared_ptr<const Pixels>)> done) {
    m_thread.post([core = m_core, done = std::move(done)] {
        auto deliver = [core, done](std::shared_ptr<const Pixels> pixels) {
            core->host.postToMain([closed = core->closed, done, pixels] {
                if (!*closed)
                    done(pixels);
            });
        };
        if (!core->view) {
            deliver(nullptr);
            return;
        }
        core->takeSnapshot(deliver);
    });
}

void KitView::paintNow() {
    onCore([](KitViewCore& core) {
        if (core.live)
            core.paintForClient();
    });
}

void KitView::setLive(bool live) {
    onCore([live](KitViewCore& core) {
        core.live = live;
        if (live)
            core.paintSoon();
    });
}

namespace {

GdkDevice* pointer() {
    return gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default()));
}

GdkDevice* keyboard() {
    return gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default()));
}

}  // namespace

void KitView::click(double x, double y) {
    onCore([x, y](KitViewCore& core) {
        core.focusWindow();
        GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(core.view));
        if (!window)
            return;
        for (GdkEventType type : {GDK_MOTION_NOTIFY, GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
            GdkEvent* event = gdk_event_new(type);
            if (type == GDK_MOTION_NOTIFY) {
                event->motion.window = GDK_WINDOW(g_object_ref(window));
                event->motion.x = x;
                event->motion.y = y;
                event->motion.time = eventTime();
            } else {
                event->button.window = GDK_WINDOW(g_object_ref(window));
                event->button.x = x;
                event->button.y = y;
                event->button.button = 1;
                event->button.time = eventTime();
                if (type == GDK_BUTTON_RELEASE)
                    event->button.state = GDK_BUTTON1_MASK;
            }
            gdk_event_set_device(event, pointer());
            gtk_main_do_event(event);
            gdk_event_free(event);
        }
        ++core.inputsSent;
        core.paintSoon();
    });
}

void KitView::key(const std::string& keysym) {
    onCore([keysym](KitViewCore& core) {
        GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(core.view));
        const guint keyval = gdk_keyval_from_name(keysym.c_str());
        if (!window || keyval == GDK_KEY_VoidSymbol)
            return;
        guint16 keycode = 0;
        GdkKeymapKey* keys = nullptr;
        gint count = 0;
        if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()),
                                              keyval, &keys, &count) &&
            count > 0) {
            keycode = guint16(keys[0].keycode);
        }
        g_free(keys);
        gtk_widget_grab_focus(GTK_WIDGET(core.view));
        core.focusWindow();
        for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
            GdkEvent* event = gdk_event_new(type);
            event->key.window = GDK_WINDOW(g_object_ref(window));
            event->key.keyval = keyval;
            event->key.hardware_keycode = keycode;
            event->key.time = eventTime();
            gdk_event_set_device(event, keyboard());
            gtk_main_do_event(event);
            gdk_event_free(event);
        }
        ++core.inputsSent;
        core.paintSoon();
    });
}

void KitView::scroll(double dx, double dy, double x, double y) {
    onCore([dx, dy, x, y](KitViewCore& core) {
        GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(core.view));
        if (!window)
            return;
        GdkEvent* event = gdk_event_new(GDK_SCROLL);
        event->scroll.window = GDK_WINDOW(g_object_ref(window));
        event->scroll.direction = GDK_SCROLL_SMOOTH;
        event->scroll.delta_x = dx;
        event->scroll.delta_y = dy;
        event->scroll.x = x;
        event->scroll.y = y;
        event->scroll.time = eventTime();
        gdk_event_set_device(event, pointer());
        gtk_main_do_event(event);
        gdk_event_free(event);
        core.paintSoon();
    });
}

void KitView::answerDialog(std::uint64_t id, bool accepted, const std::string& text) {
    onCore([id, accepted, text](KitViewCore& core) {
        auto found = core.dialogs.find(id);
        if (found == core.dialogs.end())
            return;
        WebKitScriptDialog* dialog = found->second;
        switch (webkit_script_dialog_get_dialog_type(dialog)) {
            case WEBKIT_SCRIPT_DIALOG_PROMPT:
                if (accepted)
                    webkit_script_dialog_prompt_set_text(dialog, text.c_str());
                break;
            case WEBKIT_SCRIPT_DIALOG_ALERT:
                break;
            default:
                webkit_script_dialog_confirm_set_confirmed(dialog, accepted);
                break;
        }
        webkit_script_dialog_close(dialog);
        webkit_script_dialog_unref(dialog);
        core.dialogs.erase(found);
        core.paintSoon();
    });
}

void KitView::answerChoices(std::uint64_t id, int index) {
    onCore([id, index](KitViewCore& core) {
        auto found = core.menus.find(id);
        if (found == core.menus.end())
            return;
        if (index >= 0 && guint(index) < webkit_option_menu_get_n_items(found->second))
            webkit_option_menu_activate_item(found->second, guint(index));
        webkit_option_menu_close(found->second);
        g_object_unref(found->second);
        core.menus.erase(found);
        core.paintSoon();
    });
}

void KitView::answerFiles(std::uint64_t id, const std::vector<std::string>& paths) {
    onCore([id, paths](KitViewCore& core) {
        auto found = core.fileRequests.find(id);
        if (found == core.fileRequests.end())
            return;
        if (paths.empty()) {
            webkit_file_chooser_request_cancel(found->second);
        } else {
            std::vector<const gchar*> files;
            for (const auto& path : paths) files.push_back(path.c_str());
            files.push_back(nullptr);
            webkit_file_chooser_request_select_files(found->second, files.data());
        }
        g_object_unref(found->second);
        core.fileRequests.erase(found);
        core.paintSoon();
    });
}

void KitView::terminate() {
    onCore([](KitViewCore& core) { webkit_web_view_terminate_web_process(core.view); });
}

}  // namespace platform::webkit
