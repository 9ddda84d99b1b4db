// The page's script engine: its memory, the host written in script over a few native calls,
// and the runs of scripts and handlers.

#include <duktape.h>

#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/foundation/Log.h"
#include "platform/web/ScriptDeadline.h"
#include "platform/web/WebPageState.h"

namespace platform::web {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// --- The script host, written in script over a few native calls ------------------------------

// Called with the native calls and the global object; answers the function that wraps a node
// number as an element object.
constexpr const char* kPrelude = R"JS((function (h, global) {
    function Element(n) { Object.defineProperty(this, '__node', { value: n }); }
    ['innerText', 'textContent', 'innerHTML', 'outerHTML', 'value'].forEach(function (p) {
        Object.defineProperty(Element.prototype, p, {
            get: function () { return h.get(this.__node, p); },
            set: function (v) { h.set(this.__node, p, String(v)); }
        });
    });
    ['id', 'tagName'].forEach(function (p) {
        Object.defineProperty(Element.prototype, p, {
            get: function () { return h.get(this.__node, p); }
        });
    });
    Element.prototype.getAttribute = function (name) { return h.attribute(this.__node, String(name)); };
    // One object per element, so that what a script puts on it (its onX handlers, its
    // listeners) is there the next time it is looked up.
    var elements = {};
    function element(n) {
        if (n < 0) return null;
        return elements[n] || (elements[n] = new Element(n));
    }
    element.proto = Element.prototype;
    function go(v) { h.navigate(String(v)); }
    var location = {};
    Object.defineProperty(location, 'href', { get: h.href, set: go, enumerable: true });
    location.assign = go;
    location.replace = go;
    location.toString = h.href;
    // The page's own address with another fragment: a move within the page, as a link to
    // "#name" is.
    Object.defineProperty(location, 'hash', {
        get: function () {
            var href = h.href(), at = href.indexOf('#');
            return at < 0 || at === href.length - 1 ? '' : href.substring(at);
        },
        set: function (v) {
            var href = h.href(), at = href.indexOf('#'), name = String(v);
            if (name.charAt(0) === '#') name = name.substring(1);
            go((at < 0 ? href : href.substring(0, at)) + '#' + name);
        },
        enumerable: true
    });
    var document = {
        getElementById: function (id) { return element(h.find(String(id))); }
    };
    Object.defineProperty(document, 'title', {
        get: h.title, set: function (v) { h.setTitle(String(v)); }, enumerable: true
    });
    Object.defineProperty(document, 'URL', { get: h.href });
    Object.defineProperty(document, 'body', { get: function () { return element(h.body()); } });
    Object.defineProperty(document, 'documentElement', {
        get: function () { return element(h.root()); }
    });
    Object.defineProperty(document, 'location', {
        get: function () { return location; }, set: go
    });
    var console = {
        log: function () { h.log(Array.prototype.map.call(arguments, String).join(' ')); }
    };
    console.info = console.warn = console.error = console.debug = console.log;
    Object.defineProperty(global, 'window', { value: global });
    Object.defineProperty(global, 'self', { value: global });
    Object.defineProperty(global, 'document', { value: document });
    Object.defineProperty(global, 'location', {
        get: function () { return location; }, set: go
    });
    global.console = console;
    return element;
}))JS";

// --- Memory: every allocation of a page's scripts is counted against its limit -------------

constexpr std::size_t kHeader = alignof(std::max_align_t);

void* scriptAlloc(void* udata, duk_size_t size) {
    auto* page = static_cast<WebPageState*>(udata);
    if (size == 0 || size > WebPage::kScriptMemoryLimit - page->m_memoryUsed) {
        return nullptr;
    }
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block) {
        return nullptr;
    }
    std::memcpy(block, &size, sizeof size);
    page->m_memoryUsed += size;
    return block + kHeader;
}

void scriptFree(void* udata, void* pointer) {
    if (!pointer) {
        return;
    }
    auto* page = static_cast<WebPageState*>(udata);
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    duk_size_t size = 0;
    std::memcpy(&size, block, sizeof size);
    page->m_memoryUsed -= size;
    std::free(block);
}

void* scriptRealloc(void* udata, void* pointer, duk_size_t size) {
    if (!pointer) {
        return scriptAlloc(udata, size);
    }
    if (size == 0) {
        scriptFree(udata, pointer);
        return nullptr;
    }
    auto* page = static_cast<WebPageState*>(udata);
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    duk_size_t old = 0;
    std::memcpy(&old, block, sizeof old);
    std::size_t others = page->m_memoryUsed - old;
    if (size > WebPage::kScriptMemoryLimit - others) {
        return nullptr;  // the old block stays as it was
    }
    auto* grown = static_cast<unsigned char*>(std::realloc(block, size + kHeader));
    if (!grown) {
        return nullptr;
    }
    std::memcpy(grown, &size, sizeof size);
    page->m_memoryUsed = others + size;
    return grown + kHeader;
}

[[noreturn]] void scriptFatal(void* /*udata*/, const char* message) {
    // Only reached for an error outside every protected call, which this file never makes.
    log("web page: script engine failed: %@", message ? message : "");
    std::abort();
}

// --- Native calls --------------------------------------------------------------------------

WebPageState* pageOf(duk_context* ctx) {
    duk_memory_functions functions;
    duk_get_memory_functions(ctx, &functions);
    return static_cast<WebPageState*>(functions.udata);
}

std::string_view textArgument(duk_context* ctx, duk_idx_t index) {
    duk_size_t length = 0;
    const char* text = duk_get_lstring(ctx, index, &length);
    return text ? std::string_view(text, length) : std::string_view();
}

duk_ret_t pushScratch(duk_context* ctx, bool defined) {
    if (!defined) {
        duk_push_undefined(ctx);
        return 1;
    }
    const std::string& scratch = pageOf(ctx)->m_scratch;
    duk_push_lstring(ctx, scratch.data(), scratch.size());
    return 1;
}

// The page of a native call made by a script. The engine checks the deadline only every so
// many instructions, and one call can take long, so a script past it gets no further than
// its next call either.
WebPageState* hostPage(duk_context* ctx) {
    WebPageState* page = pageOf(ctx);
    if (page->m_deadline.passed()) {
        (void)duk_error(ctx, DUK_ERR_RANGE_ERROR, "execution timeout");
    }
    return page;
}

duk_ret_t hostHref(duk_context* ctx) {
    const std::string& url = hostPage(ctx)->m_url;
    duk_push_lstring(ctx, url.data(), url.size());
    return 1;
}

duk_ret_t hostNavigate(duk_context* ctx) {
    hostPage(ctx)->navigate(textArgument(ctx, 0));
    return 0;
}

duk_ret_t hostTitle(duk_context* ctx) {
    const std::string& title = hostPage(ctx)->m_title;
    duk_push_lstring(ctx, title.data(), title.size());
    return 1;
}

duk_ret_t hostSetTitle(duk_context* ctx) {
    if (!hostPage(ctx)->setTitle(textArgument(ctx, 0))) {
        return DUK_RET_RANGE_ERROR;
    }
    return 0;
}

duk_ret_t hostFind(duk_context* ctx) {
    duk_push_int(ctx, hostPage(ctx)->find(textArgument(ctx, 0)));
    return 1;
}

duk_ret_t hostBody(duk_context* ctx) {
    duk_push_int(ctx, hostPage(ctx)->bodyId());
    return 1;
}

duk_ret_t hostRoot(duk_context* ctx) {
    duk_push_int(ctx, hostPage(ctx)->rootId());
    return 1;
}

duk_ret_t hostGet(duk_context* ctx) {
    return pushScratch(ctx, hostPage(ctx)->read(duk_get_int(ctx, 0), textArgument(ctx, 1)));
}

duk_ret_t hostAttribute(duk_context* ctx) {
    bool found = hostPage(ctx)->readAttribute(duk_get_int(ctx, 0), textArgument(ctx, 1));
    if (!found) {
        duk_push_null(ctx);
        return 1;
    }
    return pushScratch(ctx, true);
}

duk_ret_t hostSet(duk_context* ctx) {
    switch (hostPage(ctx)->write(duk_get_int(ctx, 0), textArgument(ctx, 1), textArgument(ctx, 2))) {
        case WebPageState::Written::Done:
            return 0;
        case WebPageState::Written::Failed:
            return DUK_RET_RANGE_ERROR;
        case WebPageState::Written::OutOfTime:
            return duk_error(ctx, DUK_ERR_RANGE_ERROR, "execution timeout");
        case WebPageState::Written::PastBudget:
            break;
    }
    return duk_error(ctx, DUK_ERR_RANGE_ERROR, "the page is past its budget");
}

duk_ret_t hostLog(duk_context* ctx) {
    hostPage(ctx)->consoleLog(textArgument(ctx, 0));
    return 0;
}

// Runs inside duk_safe_call: builds the host and keeps the element maker in the stash.
duk_ret_t setUpHost(duk_context* ctx, void* /*udata*/) {
    pushHostScript(ctx, "host", kPrelude);
    duk_call(ctx, 0);  // the prelude's function

    duk_push_object(ctx);
    const duk_function_list_entry natives[] = {
        {"href", hostHref, 0},           {"navigate", hostNavigate, 1}, {"title", hostTitle, 0},
        {"setTitle", hostSetTitle, 1},   {"find", hostFind, 1},         {"body", hostBody, 0},
        {"root", hostRoot, 0},           {"get", hostGet, 2},           {"set", hostSet, 3},
        {"attribute", hostAttribute, 2}, {"log", hostLog, 1},           {nullptr, nullptr, 0},
    };
    duk_put_function_list(ctx, -1, natives);
    duk_push_global_stash(ctx);
    duk_dup(ctx, -2);
    duk_put_prop_string(ctx, -2, "host");
    duk_pop(ctx);
    duk_push_global_object(ctx);
    duk_call(ctx, 2);  // the element maker

    duk_push_global_stash(ctx);
    duk_dup(ctx, -2);
    duk_put_prop_string(ctx, -2, "element");
    duk_pop_2(ctx);
    setUpFormHost(ctx);

    // A page sees what a browser's page sees. The engine's own objects would let it run script
    // while the engine builds an error or takes the page down (its error hooks, finalizers),
    // collect garbage on demand, or use buffers and encodings no browser has. The host's
    // scripts above are already loaded and need none of them.
    duk_push_global_object(ctx);
    for (const char* name : {"Duktape", "CBOR", "Buffer"}) {
        duk_del_prop_string(ctx, -1, name);
    }
    duk_pop(ctx);
    return 0;
}

struct Source {
    const char* text;
    duk_size_t length;
    const char* origin;
};

// Runs inside duk_safe_call: the script's completion value as text.
duk_ret_t runSource(duk_context* ctx, void* udata) {
    auto* source = static_cast<Source*>(udata);
    duk_push_string(ctx, source->origin);
    duk_compile_lstring_filename(ctx, DUK_COMPILE_EVAL, source->text, source->length);
    duk_call(ctx, 0);
    if (duk_is_null_or_undefined(ctx, -1)) {
        duk_pop(ctx);
        duk_push_string(ctx, "");
    } else {
        duk_to_string(ctx, -1);
    }
    return 1;
}

}  // namespace

void pushHostScript(duk_context* ctx, const char* name, const char* source) {
    // Compiling the host's scripts is most of making a page's script engine. Main thread
    // only, as pages are.
    static auto* compiled = new std::unordered_map<const char*, std::string>;
    auto found = compiled->find(source);
    if (found != compiled->end()) {
        void* bytes = duk_push_fixed_buffer(ctx, found->second.size());
        std::memcpy(bytes, found->second.data(), found->second.size());
        duk_load_function(ctx);
        return;
    }
    duk_push_string(ctx, name);
    duk_compile_string_filename(ctx, DUK_COMPILE_EVAL, source);
    duk_dup_top(ctx);
    duk_dump_function(ctx);
    duk_size_t size = 0;
    const void* bytes = duk_get_buffer(ctx, -1, &size);
    compiled->emplace(source, std::string(static_cast<const char*>(bytes), size));
    duk_pop(ctx);
}

// Asked by the engine every so many instructions and units of work (see platform/duktape).
extern "C" duk_bool_t campus_script_timed_out(void* udata) {
    return static_cast<WebPageState*>(udata)->m_deadline.passed() ? 1 : 0;
}

// Asked by the engine before it collects garbage: a run told that its time is up collects
// none (see platform/duktape).
extern "C" duk_bool_t campus_script_cut(void* udata) {
    const ScriptDeadline& deadline = static_cast<WebPageState*>(udata)->m_deadline;
    return deadline.running() && deadline.hasPassed() ? 1 : 0;
}

WebPageState::~WebPageState() {
    if (m_ctx) {
        // The engine runs none of the page's script as it frees the heap (see platform/duktape).
        duk_destroy_heap(m_ctx);
    }
}

bool WebPageState::ensureEngine() {
    if (m_ctx) {
        return true;
    }
    if (m_engineFailed) {
        return false;
    }
    ScriptRun scriptRun(m_deadline);
    m_ctx = duk_create_heap(scriptAlloc, scriptRealloc, scriptFree, this, scriptFatal);
    if (!m_ctx) {
        m_engineFailed = true;
        log("web page: no script engine for %@", m_url);
        return false;
    }
    if (duk_safe_call(m_ctx, setUpHost, nullptr, 0, 1) != DUK_EXEC_SUCCESS) {
        logScriptError("host");
        duk_destroy_heap(m_ctx);
        m_ctx = nullptr;
        m_engineFailed = true;
        return false;
    }
    duk_pop(m_ctx);
    return true;
}

void WebPageState::logScriptError(const char* origin) {
    duk_size_t length = 0;
    const char* text = duk_safe_to_lstring(m_ctx, -1, &length);
    std::string error(text ? text : "", text ? length : 0);
    if (m_deadline.hasPassed()) {
        if (m_deadline.limit() < ScriptDeadline::kLimit) {
            log("web page: %@ (%@) ran past its %@ ms, what the scripts' time over time left "
                "it, and was stopped: %@",
                origin, m_url, m_deadline.limit().count(), error);
            return;
        }
        log("web page: %@ (%@) ran past its %@ ms and was stopped: %@", origin, m_url,
            ScriptDeadline::kLimit.count(), error);
        return;
    }
    log("web page: script error in %@ (%@): %@", origin, m_url, error);
}

bool WebPageState::mayRun(const char* origin) {
    if (m_deadline.hasTime()) {
        return true;
    }
    log("web page: %@ (%@) not run: the scripts' time over time is used up", origin, m_url);
    return false;
}

std::string WebPageState::run(std::string_view script, const char* origin) {
    ScriptRun scriptRun(m_deadline);
    if (!mayRun(origin) || !ensureEngine()) {
        return "";
    }
    Source source{script.data(), script.size(), origin};
    std::string result;
    if (duk_safe_call(m_ctx, runSource, &source, 0, 1) == DUK_EXEC_SUCCESS) {
        duk_size_t length = 0;
        const char* text = duk_get_lstring(m_ctx, -1, &length);
        result.assign(text ? text : "", text ? length : 0);
    } else {
        logScriptError(origin);
    }
    duk_pop(m_ctx);
    return result;
}

std::string WebPageState::activate(int id) {
    Node* node = nodeById(id);
    if (!node || node->isText) {
        return "";
    }
    // Copies: the handler may rewrite the element.
    const std::string* onclick = node->attribute("onclick");
    std::string handler = onclick ? *onclick : "";
    const std::string* hrefAttribute = node->tag == "a" ? node->attribute("href") : nullptr;
    std::optional<std::string> href;
    if (hrefAttribute) {
        href = trimmed(*hrefAttribute);
    }

    ScriptRun scriptRun(m_deadline);
    // The click goes to the element's onclick (attribute or property) and its listeners; a
    // page whose scripts never ran has none but its attributes. A handler given no time is not
    // run, but the tap still follows the link.
    const bool prevented = (m_ctx || !handler.empty()) && dispatchEvent(id, "click");
    if (!prevented) {
        pressFormButton(id);
    }
    if (!href || prevented || href->empty()) {
        return "";
    }
    if (startsWithNoCase(*href, "javascript:")) {
        run(std::string_view(*href).substr(11), "link");
        return "";
    }
    return resolve(*href);
}

}  // namespace platform::web
