#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/webkit/WebEngine.h"

typedef struct _WebKitWebContext WebKitWebContext;

namespace platform::webkit {

// The web context every view shares (GTK thread only): its processes' limits, its data
// directories, WebKit's sandbox, and the cookie store the host's HTTP client shares.
class KitContext {
public:
    // On the GTK thread.
    explicit KitContext(const EngineHost& host);

    WebKitWebContext* context() const { return m_context; }

    void setCookie(const Cookie& cookie);
    void deleteCookie(const Cookie& cookie);
    // `changed` runs on the host's main thread with every cookie WebKit holds.
    void onCookiesChanged(std::function<void(std::vector<Cookie>)> changed);

private:
    void cookiesChanged();

    EngineHost m_host;
    WebKitWebContext* m_context{nullptr};
    std::function<void(std::vector<Cookie>)> m_changed;
};

}  // namespace platform::webkit
