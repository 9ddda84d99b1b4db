#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/web/URLRequest.h"

namespace platform {

class ScriptTimeBudget;

// One page loaded in a web view: the document parsed from its HTML and the script context
// that the page's inline scripts and every script evaluated in it run in. The parser and the
// script engine stay inside this library's web page sources (WebPageState.h and the
// WebPage*.cpp files).
//
// Scripts see a small host: `window` (the global object), `window.location.href` (reading it
// gives the page's address; assigning it, `location = ...` or `location.assign(...)` asks
// for a navigation, which the page hands to its owner and never carries out itself;
// `location.hash` reads the address's fragment, and setting it asks for the page's own
// address with that fragment),
// `document.title`, `document.URL`, `document.body`, `document.documentElement`,
// `document.getElementById(id)` with `innerText`, `textContent`, `innerHTML`, `outerHTML` and
// `value`, and `console.log`. A script error is logged and ends only that script.
//
// Budgets, so that no page can take the client with it:
//   - time: each run of scripts (the inline scripts as the page loads, together; one handler;
//     one evaluated script) ends at its deadline (ScriptDeadline) with "RangeError: execution
//     timeout", logged, whatever built-ins it calls and whatever the host builds for it; what
//     it changed until then stays, and the page stays usable. Given a ScriptTimeBudget, runs
//     also draw on it, get less time while it is low, and are not started (logged) while it
//     is paying back time it lent;
//   - script memory: what a page's scripts allocate is capped (kScriptMemoryLimit); a loop
//     that keeps allocating ends with an error;
//   - the document: deep nesting and attributes past HtmlBounds' limits are taken out before
//     the HTML parser sees them, and the page's nodes and text are capped (kMaxNodes,
//     kMaxTextBytes): a page past its budget is cut where it reached it, and a script's change
//     past it is cut too and ends the script with a RangeError; either is logged, once per
//     page;
//   - what it shows: items() gives at most kMaxShownItems items and kMaxShownText bytes of
//     text, kMaxItemText bytes for one item, ending with a "…" item when it leaves any out;
//     the layout HTML then stops where the items do, and says so there.
class WebPage {
public:
    static constexpr std::size_t kScriptMemoryLimit = 32u << 20;
    static constexpr std::size_t kMaxNodes = 200'000;
    static constexpr std::size_t kMaxTextBytes = 16u << 20;
    static constexpr std::size_t kMaxShownItems = 50'000;
    static constexpr std::size_t kMaxShownText = 2u << 20;
    static constexpr std::size_t kMaxItemText = 32u << 10;

    // What the page shows, in document order.
    struct Item {
        enum class Kind {
            Text,     // a run of visible text
            Link,     // <a href>: following it navigates
            Button,   // something with an onclick (<button>, <input type=button>, <a>)
            Element,  // an element with an id, showing its current text
            Field,    // a form control a user fills in: text, textarea, checkbox, radio, select
            Label,    // a <label> of a field (naming it by `for`, or around it): a tap on
                      // its words acts on the field
        };
        Kind kind = Kind::Text;
        // Names the element for activate(); -1 for text.
        int node = -1;
        std::string text;
        // A link's address as the page wrote it.
        std::string href;
        // The element's id attribute; "" without one.
        std::string id;
        // For a field: what it is (an input's type: "text", "password", "search", "email",
        // "number", "tel", "url", "checkbox", "radio"; or "textarea", "select"), its name,
        // placeholder and state. Its text is its value, a select's chosen text, or a box's
        // own value. For a label: the field's kind.
        std::string control;
        std::string name;
        std::string placeholder;
        bool checked = false;
        bool disabled = false;
        // A text field or text area the user may read but not change (it is still sent).
        bool readOnly = false;
        // The most a user may type or paste into a text field or text area, in UTF-16 code
        // units as a browser counts them; -1 for no limit.
        int maxLength = -1;
        // A select's choices as shown, and the index of the chosen one (-1 for none).
        std::vector<std::string> options;
        int selected = -1;

        bool operator==(const Item&) const = default;
    };

    // `url` is the page's address (what location.href reads) and `baseURL` what relative
    // addresses resolve against ("" for the address itself). `onNavigate` is called, with the
    // resolved address, whenever a script asks to navigate; it must not run scripts itself.
    WebPage(std::string html, std::string url, std::string baseURL,
            std::function<void(const std::string&)> onNavigate);
    ~WebPage();
    WebPage(const WebPage&) = delete;
    WebPage& operator=(const WebPage&) = delete;

    const std::string& url() const;
    // The page moved to another place within itself (its address with another fragment):
    // what location.href and location.hash read from now on. Addresses still resolve against
    // the base it was given.
    void setURL(std::string url);
    // The document's title as scripts see it now: the <title> trimmed, or what a script set.
    const std::string& title() const;
    std::vector<Item> items() const;
    // The document as HTML for a layout engine, each of items() marked where it stands: an
    // element with the attribute data-campus-item="INDEX", a run of text with its first and
    // last text node wrapped in a <campus-item> carrying it (or, a text that is all its element
    // holds, that element with data-campus-text="INDEX"). Fields (<input>, <textarea>,
    // <select>) come as a <campus-field> of their type holding what they show (a chosen text, a
    // button's caption, a tick; a text field's own view draws its text) with their state as
    // attributes; scripts are left out; a page too big to lay out (or to show all its items)
    // is given up to its layout budget, followed there by a line that says so (kCutNotice),
    // marked as an item of its own. With `shown`, items() as they are marked there: the
    // notice, if any, last, in the place of what was left out.
    std::string layoutHTML(std::vector<Item>* shown = nullptr) const;
    // What reading the markup cost (HtmlEngineBudget::cpuTime), once: the first layout made of
    // the page is charged with it, later ones are not.
    std::chrono::nanoseconds takeReadingTime();
    // What scripts changed since the last call or layoutHTML(), so that whoever shows the
    // page changes only that, without walking or writing out the page to find it.
    struct Changes {
        // Nodes were added or removed other than inside a shown item's element (innerHTML,
        // or text written over elements that held items), or the items shown went past
        // their budget: the layout is to be made anew from layoutHTML().
        bool markup = false;
        // Else the nodes (Item::node) of the items whose element's content or attributes
        // changed (its text, a field's value), each once, in the order of the first change.
        std::vector<int> items;
        // A script's focus() or blur() of a field, the last it asked for (-1: none): whoever
        // shows the page moves the editing there as a user's tap would, and tells the page
        // through focusField() and blurField(), so the page's events come from that one road.
        // Kept over layoutHTML() until taken: the field may be in the markup just laid out.
        int focus = -1;
        int blur = -1;

        // Whether what is shown changed (a move of the focus alone changes nothing drawn).
        bool any() const { return markup || !items.empty(); }
    };
    Changes takeChanges();
    // The item of the node as items() would give it now; nullopt for a node that is no
    // element's item.
    std::optional<Item> itemOf(int node) const;
    // The item's element as layoutHTML() writes it, with its content, marked as item `index`.
    std::string itemLayoutHTML(int node, std::size_t index) const;
    // Moves whenever the shown document changes (text, title, elements).
    std::uint64_t version() const;

    // What the page's runs draw on over time (see ScriptTimeBudget); before runScripts().
    void setScriptTimeBudget(std::shared_ptr<ScriptTimeBudget> budget);
    // Runs the page's inline <script> blocks in document order. The first call only.
    void runScripts();
    // Runs the script in the page; its completion value as text ("" for undefined, null or
    // an error, which is logged).
    std::string evaluate(std::string_view script);
    // A tap on the item's element: sends it a click (its onclick, with `this` the element, and
    // its listeners). A submit or reset button then sends or resets its form. Returns the
    // resolved address the tap then follows: a link's (a place in the page too, as the page's
    // address with that fragment), unless the click was cancelled or the link runs a script;
    // "" otherwise.
    std::string activate(int node);

    // --- Forms: what a user does with the page's fields (items of kind Field) -------------
    // Each sends the page's scripts the events a browser sends (focus, blur, input, change,
    // click, submit); a field's new state goes through the same path as a script's write.
    // Where the page's forms go: called with the request for each form sent (by the user, or
    // by a script's form.submit()), inside the call that sent it; must not run scripts.
    void setOnSubmit(std::function<void(const URLRequest&)> onSubmit);
    // A field began editing (focus) or ended it (change, when its value moved since, and blur).
    // A field being edited takes no second focus.
    void focusField(int node);
    void blurField(int node);
    // The user changed a field's text to `text` (input).
    void editField(int node, std::string_view text);
    // A tap on a checkbox or radio button: it toggles (a radio button is checked and the others
    // of its name are not), then click, input and change; a cancelled click undoes it.
    void toggle(int node);
    // A choice picked in a select (input and change when it moved). A select a script set to a
    // value no option has shows no choice (selectedIndex -1) until one is picked.
    void choose(int node, int index);
    // The return key in a one-line field: its form goes as its first submit button sends it.
    void submitField(int node);
    // The field a label names (its `for`); -1 when none.
    int labelledControl(int label) const;
    // The address relative to the page (addresses with a scheme stand as written).
    std::string resolve(std::string_view href) const;

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace platform
