#pragma once

#include <duktape.h>
#include <gumbo.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/web/HtmlBounds.h"
#include "platform/web/LayoutWriter.h"
#include "platform/web/ScriptDeadline.h"
#include "platform/web/WebFormData.h"
#include "platform/web/WebPage.h"
#include "platform/web/WebPageNode.h"

// Internal to this library: the parser's and the script engine's headers come in here, so
// only the web page's own sources include it (never WebPage.h, nor a header of another
// library). Its member functions live by concern in WebPageDocument.cpp (the document, built
// and edited), WebPageItems.cpp (what the page shows), WebPageNatives.cpp (addresses, and
// what the native calls do to the page), WebPageChanges.cpp (what scripts changed, for the
// layout kept between changes) and WebPageScript.cpp (the script engine).

namespace platform::web {

// --- The page --------------------------------------------------------------------------------

// The document and its script context; WebPage::Impl is this, under the name the header gives.
class WebPageState {
public:
    using Item = WebPage::Item;

    WebPageState(std::string html, std::string url, std::string baseURL,
                 std::function<void(const std::string&)> onNavigate);

    ~WebPageState();

    // --- Document --------------------------------------------------------------------------

    void parse(std::string source);
    // What the first parse() cost, until the page's first layout takes it.
    std::chrono::nanoseconds readingTime{0};
    void appendChildren(Node& parent, const GumboVector* children);
    std::unique_ptr<Node> convert(const GumboNode* source, Node& parent);

    // --- Budget ----------------------------------------------------------------------------

    // What the parser may be given of HTML going under a node at this depth.
    HtmlBounds htmlBounds(int depth) const;
    void noteBounded(const BoundedHtml& html);
    // Counts a node holding this much text against the budget; false when it does not fit.
    bool admit(std::size_t textBytes);
    void overBudget();

    static std::string tagName(const GumboElement& element);
    void collectScripts(const Node& node);

    template <typename Predicate>
    Node* findFirst(Node& node, const Predicate& predicate) {
        if (!node.isText && predicate(node)) {
            return &node;
        }
        for (auto& child : node.children) {
            if (Node* found = findFirst(*child, predicate)) {
                return found;
            }
        }
        return nullptr;
    }

    Node* nodeById(int id);
    Node* root();
    Node* body();
    Node* elementWithId(std::string_view id);

    // The element's text with white space collapsed to single blanks (a title).
    static std::string collapsed(const Node& node);
    static void appendText(const Node& node, TextFlow& flow, bool layout);
    // innerText: the text as laid out, of an element in view or not.
    static std::string innerText(const Node& node);
    static void textContent(const Node& node, std::string& out);
    static std::optional<std::string> valueOf(const Node& node);

    void removeChildren(Node& node);
    void forget(const Node& node);
    // The nodes under (and with) `node` that the budget counts, and their text's bytes.
    void countHeld(const Node& node, std::size_t& nodes, std::size_t& bytes) const;
    void appendTextNode(Node& parent, std::string text);
    void appendElement(Node& parent, std::string tag);
    void setInnerText(Node& node, std::string_view text, bool lineBreaksAsElements);
    // False, the node unchanged, when the markup is past what the parser may be given or
    // the parse past the engine's budget.
    bool setInnerHTML(Node& node, std::string_view html);

    // --- What the page shows ---------------------------------------------------------------

    // The items shown, within the budget of what one page may show.
    struct ShownItems;

    // With `stopNode`, the node of the first item left out (-1: none), where the layout stops.
    std::vector<Item> items(std::unordered_map<int, int>* anchors = nullptr,
                            int* stopNode = nullptr);
    static void flushText(TextFlow& flow, ShownItems& items);
    static bool isInteractive(const Node& node);
    static bool holdsItems(const Node& node);
    static bool isHiddenElement(const Node& node);
    // A link or button, or an element with an id that holds no items of its own: each is
    // shown as one item.
    static bool isElementItem(const Node& node);
    static Item elementItem(const Node& node);
    void collectItems(const Node& node, TextFlow& flow, ShownItems& items);
    bool collectFormItem(const Node& node, TextFlow& flow, ShownItems& items);
    void collectLabelledFields(const Node& node, ShownItems& items);
    static Item labelItem(const Node& label, const Node& control);
    std::string layoutHTML(std::vector<Item>* shown);
    // The layout was given the page up to a budget: logged once per page.
    void noteLayoutCut(LayoutWriter::Cut why);

    // --- Changes ---------------------------------------------------------------------------

    // Starts telling changes against what this layout HTML shows.
    void shownInLayout(const std::vector<Item>& shown);
    // The node's content or attributes changed (or, `markup`, nodes came or went where the
    // shown items cannot follow): noted against the item whose element holds it.
    void noteChange(const Node& node, bool markup);
    WebPage::Changes takeChanges();
    std::optional<Item> itemOf(int id);
    std::string itemLayoutHTML(int id, std::size_t index);
    // An element's attributes and content, written out: what a change of it is told by.
    static void contentOf(const Node& node, std::string& out);

    // --- Addresses -------------------------------------------------------------------------

    std::string resolve(std::string_view written) const;

    // --- Native calls (run inside the script engine; they never throw) ----------------------

    void navigate(std::string_view href) noexcept;
    bool setTitle(std::string_view title) noexcept;
    int find(std::string_view id) noexcept;
    int bodyId() noexcept;
    int rootId() noexcept;
    // Reads into m_scratch; false for undefined.
    bool read(int id, std::string_view property) noexcept;
    bool readAttribute(int id, std::string_view name) noexcept;

    enum class Written { Done, Failed, PastBudget, OutOfTime };

    Written write(int id, std::string_view property, std::string_view value) noexcept;
    void setValueAttribute(Node& node, std::string_view value);
    void consoleLog(std::string_view text) noexcept;

    // --- Script engine ---------------------------------------------------------------------

    bool ensureEngine();
    // Whether the run just started was given any time; logs the one that was not.
    bool mayRun(const char* origin);
    // During a run, whether building the document has used up the run's time (read every so
    // many nodes built); building stops then.
    bool outOfTime();
    std::string run(std::string_view source, const char* origin);
    std::string activate(int id);
    void logScriptError(const char* origin);

    // --- Forms (WebPageForm.cpp, sent and reset: WebPageFormSend.cpp, their scripts and a
    // user's steps: WebPageFormScript.cpp) ---

    // A control's kind: an input's type ("text" for types shown as text), "textarea",
    // "select", or a <button>'s type; "" for other elements.
    static std::string controlType(const Node& node);
    // A control a user fills in (an item of kind Field).
    static bool isFormControl(const Node& node);
    // A submit, reset or plain button of a form (an <input> of those types, a <button> in one).
    static bool isFormButton(const Node& node);
    // Every element a form lists (hidden inputs and buttons too), in document order.
    static void collectListed(Node& node, std::vector<Node*>& out);
    static const Node* formOf(const Node& node);
    static std::vector<const Node*> optionsOf(const Node& select);
    // The chosen option: the first marked selected, else the first; -1 without options, or
    // when a script left the select without a choice (Node::noChoice).
    static int selectedIndex(const Node& select);
    static std::string optionValue(const Node& option);
    static std::string buttonCaption(const Node& node);
    static std::string controlText(const Node& node);
    static Item controlItem(const Node& node);
    // The field a <label for> names, when it is one and stands outside the label; looked up
    // in `ids` when given (see indexIds).
    const Node* labelledControl(const Node& label,
                                const std::unordered_map<std::string, const Node*>* ids = nullptr);
    static const Node* firstControlWithin(const Node& node);
    // A field's maxlength; -1 for none.
    static int maxLengthOf(const Node& node);
    static void indexIds(const Node& node, std::unordered_map<std::string, const Node*>& ids);

    // A field as the layout is given it (LayoutWriter): its attributes, with its type and
    // state, and the text it shows.
    struct FieldLayout {
        bool hidden = false;
        std::vector<std::pair<std::string, std::string>> attributes;
        std::string text;
    };
    static FieldLayout fieldLayout(const Node& node);

    // The controls' properties scripts read and write through read() and write().
    static bool isFormProperty(const Node& node, std::string_view property);
    bool readFormProperty(const Node& node, std::string_view property);
    Written writeFormProperty(Node& node, std::string_view property, std::string_view value);
    // A boolean attribute set or taken away, within the page's budget.
    void setFlag(Node& node, std::string_view name, bool on);
    // Keeps what the page wrote into a control, for its form's reset, before it first changes.
    void rememberDefault(const Node& node);
    std::vector<Node*> radioGroup(const Node& radio);
    void uncheckOthersInGroup(const Node& radio);
    int checkedRadioInGroup(const Node& radio);
    void findSubmitButtons(const Node& form, std::vector<const Node*>& out);

    FormSubmission submission(Node& form, const Node* submitter);
    // Sends the form (asking its submit handlers first when `fireEvent`) to m_onSubmit.
    void submitForm(int form, int submitter, bool fireEvent);
    void resetForm(int form);
    void pressFormButton(int id);

    // Sends the element an event; true when a handler cancelled it.
    bool dispatchEvent(int node, const char* type);
    void scriptSubmit(int form) noexcept;
    void scriptReset(int form) noexcept;
    // A script's focus() and blur(): asked of whoever shows the page (Changes::focus, blur).
    void scriptFocus(int id) noexcept;
    void scriptBlur(int id) noexcept;

    void focusField(int id);
    void blurField(int id);
    void editField(int id, std::string_view text);
    void toggle(int id);
    void choose(int id, int index);
    void submitField(int id);

    struct FieldDefault {
        bool checked = false;
        std::string value;
        int selectedIndex = -1;
    };
    std::unordered_map<int, FieldDefault> m_defaults;
    // Each focused field's value when it took the focus, for its change event.
    std::unordered_map<int, std::string> m_focusValue;
    std::function<void(const URLRequest&)> m_onSubmit;

    std::unique_ptr<Node> m_document;
    std::unordered_map<int, Node*> m_nodes;
    int m_nextId = 1;
    std::string m_url;
    std::string m_base;
    std::string m_title;
    std::uint64_t m_version = 0;
    // What the last layout HTML showed: the item of each element item's node, each item's
    // text size and their sum; and what scripts changed since.
    std::unordered_map<int, std::size_t> m_shownItems;
    std::vector<std::size_t> m_shownText;
    std::size_t m_shownTextBytes = 0;
    WebPage::Changes m_changes;
    std::function<void(const std::string&)> m_onNavigate;
    std::vector<std::string> m_scripts;
    bool m_scriptsRun = false;

    duk_context* m_ctx = nullptr;
    bool m_engineFailed = false;
    std::size_t m_memoryUsed = 0;
    ScriptDeadline m_deadline;

    // The document's budget: the text and attributes its nodes hold, and whether a node was
    // refused (since the last script write) or ever.
    std::size_t m_textBytes = 0;
    bool m_refused = false;
    bool m_budgetLogged = false;
    bool m_flattenedLogged = false;
    bool m_layoutCutLogged = false;
    // Nodes built in runs, and whether a run's building stopped at its deadline (since the
    // last script write).
    std::size_t m_built = 0;
    bool m_outOfTime = false;
    // The page was read only in part (a bound on its markup, its nodes or its reading time):
    // its layout ends with the line that says the rest is not shown.
    bool m_readCut = false;
    // What a native call hands back, kept here so that no C++ object lives on a native
    // call's frame (the engine leaves those frames by longjmp when it raises an error).
    std::string m_scratch;
};

// Adds the forms' part to the script host (WebPageFormScript.cpp); inside setUpHost.
void setUpFormHost(duk_context* ctx);
// Pushes the compiled function of one of the host's own scripts (`name` for its errors):
// compiled once per process, and loaded as bytecode into each page's heap after that.
void pushHostScript(duk_context* ctx, const char* name, const char* source);

}  // namespace platform::web
