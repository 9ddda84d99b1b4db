// The page's forms as its scripts see them (the controls' properties, events and the forms'
// submit and reset, written in script over a few native calls), and what a user does with
// the controls, each followed by the events a browser sends.

#include <exception>
#include <string>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/TextRange.h"
#include "platform/web/WebPageState.h"

namespace platform::web {

namespace {

// Called with the host's native calls, the element maker and the global object, after the
// page's own host is set up; answers the function that dispatches an event to an element
// (true when a handler cancelled it). A handler is the element's onX property, else its onX
// attribute (a function of `event` with `this` the element, as a browser compiles it), then
// each listener added for the type; one that returns false, or calls preventDefault,
// cancels.
constexpr const char* kFormPrelude = R"JS((function (h, element, global) {
    var proto = element.proto;
    ['checked', 'disabled', 'selected'].forEach(function (p) {
        Object.defineProperty(proto, p, {
            get: function () {
                var v = h.get(this.__node, p);
                return v === undefined ? undefined : v === 'true';
            },
            set: function (v) { h.set(this.__node, p, v ? 'true' : ''); }
        });
    });
    Object.defineProperty(proto, 'selectedIndex', {
        get: function () {
            var v = h.get(this.__node, 'selectedIndex');
            return v === undefined ? undefined : Number(v);
        },
        set: function (v) { h.set(this.__node, 'selectedIndex', String(Math.floor(Number(v)))); }
    });
    ['name', 'type', 'text'].forEach(function (p) {
        Object.defineProperty(proto, p, { get: function () { return h.get(this.__node, p); } });
    });
    Object.defineProperty(proto, 'form', {
        get: function () {
            var n = h.get(this.__node, 'form');
            return n === undefined ? undefined : element(Number(n));
        }
    });
    Object.defineProperty(proto, 'options', {
        get: function () {
            var ids = h.get(this.__node, 'options');
            if (ids === undefined) return undefined;
            return ids === '' ? [] : ids.split(',').map(function (n) { return element(Number(n)); });
        }
    });
    proto.submit = function () { h.submit(this.__node); };
    proto.reset = function () { h.reset(this.__node); };
    proto.focus = function () { h.focus(this.__node); };
    proto.blur = function () { h.blur(this.__node); };
    proto.addEventListener = function (type, listener) {
        if (typeof listener !== 'function') return;
        if (!this.__listeners) Object.defineProperty(this, '__listeners', { value: {} });
        var list = this.__listeners[type] || (this.__listeners[type] = []);
        if (list.indexOf(listener) < 0) list.push(listener);
    };
    proto.removeEventListener = function (type, listener) {
        var list = this.__listeners && this.__listeners[type];
        var at = list ? list.indexOf(listener) : -1;
        if (at >= 0) list.splice(at, 1);
    };
    return function (n, type) {
        var target = element(n);
        var event = {
            type: type, target: target, currentTarget: target, defaultPrevented: false,
            preventDefault: function () { this.defaultPrevented = true; },
            stopPropagation: function () {}
        };
        var handler = target['on' + type];
        if (typeof handler !== 'function') {
            var source = h.attribute(n, 'on' + type);
            handler = source === null ? null : new Function('event', source);
        }
        if (handler && handler.call(target, event) === false) event.defaultPrevented = true;
        var list = target.__listeners && target.__listeners[type];
        if (list) list.slice().forEach(function (l) { l.call(target, event); });
        return event.defaultPrevented;
    };
}))JS";

WebPageState* formPageOf(duk_context* ctx) {
    duk_memory_functions functions;
    duk_get_memory_functions(ctx, &functions);
    WebPageState* page = static_cast<WebPageState*>(functions.udata);
    if (page->m_deadline.passed()) {
        (void)duk_error(ctx, DUK_ERR_RANGE_ERROR, "execution timeout");
    }
    return page;
}

// A form's native call that takes the node it is about: submit, reset, focus, blur.
template <void (WebPageState::*call)(int)>
duk_ret_t hostNodeCall(duk_context* ctx) {
    (formPageOf(ctx)->*call)(duk_get_int(ctx, 0));
    return 0;
}

struct Dispatch {
    int node;
    const char* type;
};

// Runs inside duk_safe_call: whether the event was cancelled.
duk_ret_t runDispatch(duk_context* ctx, void* udata) {
    auto* dispatch = static_cast<Dispatch*>(udata);
    duk_push_global_stash(ctx);
    duk_get_prop_string(ctx, -1, "dispatch");
    duk_remove(ctx, -2);
    if (!duk_is_function(ctx, -1)) {
        duk_pop(ctx);
        duk_push_false(ctx);
        return 1;
    }
    duk_push_int(ctx, dispatch->node);
    duk_push_string(ctx, dispatch->type);
    duk_call(ctx, 2);
    const bool cancelled = duk_to_boolean(ctx, -1);
    duk_pop(ctx);
    duk_push_boolean(ctx, cancelled);
    return 1;
}

}  // namespace

// Inside setUpHost's safe call, with the host's native calls and the element maker in the
// stash: adds the forms' part of the host and keeps the event dispatcher in the stash.
void setUpFormHost(duk_context* ctx) {
    pushHostScript(ctx, "forms", kFormPrelude);
    duk_call(ctx, 0);  // the prelude's function

    duk_push_global_stash(ctx);
    duk_get_prop_string(ctx, -1, "host");
    const duk_function_list_entry natives[] = {
        {"submit", hostNodeCall<&WebPageState::scriptSubmit>, 1},
        {"reset", hostNodeCall<&WebPageState::scriptReset>, 1},
        {"focus", hostNodeCall<&WebPageState::scriptFocus>, 1},
        {"blur", hostNodeCall<&WebPageState::scriptBlur>, 1},
        {nullptr, nullptr, 0},
    };
    duk_put_function_list(ctx, -1, natives);
    duk_get_prop_string(ctx, -2, "element");
    duk_remove(ctx, -3);  // the stash
    duk_push_global_object(ctx);
    duk_call(ctx, 3);  // the dispatcher

    duk_push_global_stash(ctx);
    duk_dup(ctx, -2);
    duk_put_prop_string(ctx, -2, "dispatch");
    duk_pop_2(ctx);
}

bool WebPageState::dispatchEvent(int node, const char* type) {
    ScriptRun scriptRun(m_deadline);
    const std::string origin = std::string("on") + type;
    if (!nodeById(node) || !mayRun(origin.c_str()) || !ensureEngine()) {
        return false;
    }
    Dispatch dispatch{node, type};
    bool cancelled = false;
    if (duk_safe_call(m_ctx, runDispatch, &dispatch, 0, 1) == DUK_EXEC_SUCCESS) {
        cancelled = duk_get_boolean(m_ctx, -1);
    } else {
        logScriptError(origin.c_str());
    }
    duk_pop(m_ctx);
    return cancelled;
}

// --- Native calls of the forms' host ------------------------------------------------------

void WebPageState::scriptSubmit(int id) noexcept {
    try {
        Node* form = nodeById(id);
        if (form && form->tag == "form") {
            // As in a browser, form.submit() sends no submit event.
            submitForm(id, -1, false);
        }
    } catch (const std::exception& error) {
        log("web page: form.submit() failed: %@", error.what());
    }
}

void WebPageState::scriptReset(int id) noexcept {
    try {
        Node* form = nodeById(id);
        if (form && form->tag == "form") {
            resetForm(id);
        }
    } catch (const std::exception& error) {
        log("web page: form.reset() failed: %@", error.what());
    }
}

// The page only asks: the field is edited once whoever shows the page has moved its caret and
// keyboard there, and that move, like a tap's, comes back through focusField() and blurField().
void WebPageState::scriptFocus(int id) noexcept {
    try {
        const Node* node = nodeById(id);
        if (!node || !isFormControl(*node) ||
            oneOf(controlType(*node), {"checkbox", "radio", "select"}) ||
            node->attribute("disabled") || node->attribute("readonly")) {
            return;
        }
        m_changes.blur = -1;
        m_changes.focus = m_focusValue.contains(id) ? -1 : id;
    } catch (const std::exception& error) {
        log("web page: focus() failed: %@", error.what());
    }
}

void WebPageState::scriptBlur(int id) noexcept {
    if (m_changes.focus == id) {
        m_changes.focus = -1;  // never edited, so it has nothing to end
    } else if (m_changes.focus < 0 && m_focusValue.contains(id)) {
        m_changes.blur = id;
    }
}

// --- What a user does ---------------------------------------------------------------------

void WebPageState::focusField(int id) {
    Node* node = nodeById(id);
    if (!node || m_focusValue.contains(id)) {
        return;
    }
    m_focusValue[id] = valueOf(*node).value_or("");
    dispatchEvent(id, "focus");
}

void WebPageState::blurField(int id) {
    auto atFocus = m_focusValue.find(id);
    Node* node = nodeById(id);
    const bool changed =
        node && atFocus != m_focusValue.end() && valueOf(*node).value_or("") != atFocus->second;
    if (atFocus != m_focusValue.end()) {
        m_focusValue.erase(atFocus);
    }
    if (!node) {
        return;
    }
    if (changed) {
        dispatchEvent(id, "change");
    }
    dispatchEvent(id, "blur");
}

void WebPageState::editField(int id, std::string_view text) {
    Node* node = nodeById(id);
    if (!node || !isFormControl(*node) || node->attribute("disabled") ||
        node->attribute("readonly")) {
        return;
    }
    // The field's view keeps typing within maxlength; text past it that grew the value is
    // none of the user's.
    if (const int limit = maxLengthOf(*node); limit >= 0) {
        const std::size_t length = utf16Length(std::string(text));
        if (length > std::size_t(limit) && length > utf16Length(valueOf(*node).value_or(""))) {
            return;
        }
    }
    rememberDefault(*node);
    write(id, "value", text);
    dispatchEvent(id, "input");
}

void WebPageState::toggle(int id) {
    Node* node = nodeById(id);
    if (!node || node->tag != "input" || node->attribute("disabled") ||
        !oneOf(controlType(*node), {"checkbox", "radio"})) {
        return;
    }
    const bool radio = controlType(*node) == "radio";
    const bool was = node->attribute("checked") != nullptr;
    const int previous = radio ? checkedRadioInGroup(*node) : -1;
    // As in a browser, the box changes first and the click's handler sees it changed; a
    // handler that cancels the click puts it back.
    write(id, "checked", radio || !was ? "true" : "");
    if (dispatchEvent(id, "click")) {
        write(id, "checked", was ? "true" : "");
        if (previous >= 0 && previous != id) {
            write(previous, "checked", "true");
        }
        return;
    }
    if (radio && was) {
        return;  // a radio button tapped again stays as it was
    }
    dispatchEvent(id, "input");
    dispatchEvent(id, "change");
}

void WebPageState::choose(int id, int index) {
    Node* node = nodeById(id);
    if (!node || node->tag != "select" || node->attribute("disabled") ||
        selectedIndex(*node) == index) {
        return;
    }
    write(id, "selectedIndex", std::to_string(index));
    dispatchEvent(id, "input");
    dispatchEvent(id, "change");
}

// Return in a one-line field sends its form as its first submit button would (its click
// and the form's submit event first), or the form itself when it has none.
void WebPageState::submitField(int id) {
    Node* node = nodeById(id);
    const Node* form = node ? formOf(*node) : nullptr;
    if (!form) {
        return;
    }
    std::vector<const Node*> buttons;
    findSubmitButtons(*form, buttons);
    const int formId = form->id;
    if (buttons.empty()) {
        submitForm(formId, -1, true);
        return;
    }
    if (buttons.front()->attribute("disabled")) {
        return;
    }
    const int button = buttons.front()->id;
    if (!dispatchEvent(button, "click")) {
        pressFormButton(button);
    }
}

}  // namespace platform::web
