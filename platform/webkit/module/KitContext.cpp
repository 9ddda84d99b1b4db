#include "platform/webkit/module/KitContext.h"

#include <webkit2/webkit2.h>

#include <memory>

#include "platform/webkit/module/guard/GuardProtocol.h"

namespace platform::webkit {

namespace {

SoupCookie* toSoup(const Cookie& cookie) {
    SoupCookie* soup = soup_cookie_new(cookie.name.c_str(), cookie.value.c_str(),
                                       cookie.domain.c_str(), cookie.path.c_str(), -1);
    if (cookie.expires > 0) {
        GDateTime* expires = g_date_time_new_from_unix_utc(cookie.expires);
        soup_cookie_set_expires(soup, expires);
        g_date_time_unref(expires);
    }
    soup_cookie_set_secure(soup, cookie.secure);
    soup_cookie_set_http_only(soup, cookie.httpOnly);
    return soup;
}

Cookie fromSoup(SoupCookie* soup) {
    Cookie cookie;
    cookie.domain = soup_cookie_get_domain(soup);
    cookie.path = soup_cookie_get_path(soup);
    cookie.name = soup_cookie_get_name(soup);
    cookie.value = soup_cookie_get_value(soup);
    if (GDateTime* expires = soup_cookie_get_expires(soup))
        cookie.expires = g_date_time_to_unix(expires);
    cookie.secure = soup_cookie_get_secure(soup);
    cookie.httpOnly = soup_cookie_get_http_only(soup);
    return cookie;
}

}  // namespace

KitContext::KitContext(const EngineHost& host) : m_host(host) {
    const std::string base = host.dataDirectory.empty() ? std::string(g_get_user_data_dir()) +
                                                              "/campus-client/Library/WebKit"
                                                        : host.dataDirectory;
    WebKitWebsiteDataManager* data =
        webkit_website_data_manager_new("base-data-directory", (base + "/data").c_str(),
                                        "base-cache-directory", (base + "/cache").c_str(), nullptr);
    // A page past its memory is ended, not left to take the machine: the limit is checked
    // often, since a hostile page can allocate fast.
    WebKitMemoryPressureSettings* memory = webkit_memory_pressure_settings_new();
    webkit_memory_pressure_settings_set_memory_limit(memory, guint(host.memoryLimitMB));
    // Each threshold must stay above the one before it, so the higher ones are set first.
    webkit_memory_pressure_settings_set_kill_threshold(memory, 1.0);
    webkit_memory_pressure_settings_set_strict_threshold(memory, 0.75);
    webkit_memory_pressure_settings_set_conservative_threshold(memory, 0.5);
    webkit_memory_pressure_settings_set_poll_interval(memory, 0.25);
    m_context = WEBKIT_WEB_CONTEXT(g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "website-data-manager",
                                                data, "memory-pressure-settings", memory, nullptr));
    webkit_memory_pressure_settings_free(memory);
    g_object_unref(data);
    webkit_web_context_set_sandbox_enabled(m_context, TRUE);
    // Each page's process carries the page guard, which holds it to its CPU and memory as
    // WebKit alone does not (guard/PageGuard.cpp). Its directory is named to the sandbox here
    // rather than left to WebKit's own handling of extensions, which differs between its ways
    // of starting a process.
    if (g_file_test(CAMPUS_WEB_EXTENSIONS_DIR, G_FILE_TEST_IS_DIR))
        webkit_web_context_add_path_to_sandbox(m_context, CAMPUS_WEB_EXTENSIONS_DIR, TRUE);
    else if (m_host.log)
        m_host.log(std::string("web: the page guard is missing (") + CAMPUS_WEB_EXTENSIONS_DIR +
                   "): pages are held to their bounds by WebKit alone");
    g_signal_connect(m_context, "initialize-web-extensions",
                     G_CALLBACK(+[](WebKitWebContext* context, gpointer self) {
                         const EngineHost& host = static_cast<KitContext*>(self)->m_host;
                         webkit_web_context_set_web_extensions_directory(context,
                                                                         CAMPUS_WEB_EXTENSIONS_DIR);
                         webkit_web_context_set_web_extensions_initialization_user_data(
                             context, g_variant_new(guard::kInitType, guint64(host.memoryLimitMB),
                                                    guint64(host.unresponsiveBound.count())));
                     }),
                     this);
    webkit_web_context_set_cache_model(m_context, WEBKIT_CACHE_MODEL_DOCUMENT_BROWSER);
    // Cookies live as long as the process, as the host's own do.
    WebKitCookieManager* cookies = webkit_web_context_get_cookie_manager(m_context);
    webkit_cookie_manager_set_accept_policy(cookies, WEBKIT_COOKIE_POLICY_ACCEPT_ALWAYS);
    g_signal_connect(cookies, "changed", G_CALLBACK(+[](WebKitCookieManager*, gpointer self) {
                         static_cast<KitContext*>(self)->cookiesChanged();
                     }),
                     this);
}

void KitContext::setCookie(const Cookie& cookie) {
    SoupCookie* soup = toSoup(cookie);
    webkit_cookie_manager_add_cookie(webkit_web_context_get_cookie_manager(m_context), soup,
                                     nullptr, nullptr, nullptr);
    soup_cookie_free(soup);
}

void KitContext::deleteCookie(const Cookie& cookie) {
    SoupCookie* soup = toSoup(cookie);
    webkit_cookie_manager_delete_cookie(webkit_web_context_get_cookie_manager(m_context), soup,
                                        nullptr, nullptr, nullptr);
    soup_cookie_free(soup);
}

void KitContext::onCookiesChanged(std::function<void(std::vector<Cookie>)> changed) {
    m_changed = std::move(changed);
}

void KitContext::cookiesChanged() {
    if (!m_changed)
        return;
    webkit_cookie_manager_get_all_cookies(
        webkit_web_context_get_cookie_manager(m_context), nullptr,
        [](GObject* manager, GAsyncResult* result, gpointer self) {
            auto* context = static_cast<KitContext*>(self);
            GList* list = webkit_cookie_manager_get_all_cookies_finish(
                WEBKIT_COOKIE_MANAGER(manager), result, nullptr);
            std::vector<Cookie> cookies;
            for (GList* at = list; at; at = at->next)
                cookies.push_back(fromSoup(static_cast<SoupCookie*>(at->data)));
            g_list_free_full(list, reinterpret_cast<GDestroyNotify>(soup_cookie_free));
            context->m_host.postToMain(
                [changed = context->m_changed, cookies = std::move(cookies)] { changed(cookies); });
        },
        this);
}

}  // namespace platform::webkit
