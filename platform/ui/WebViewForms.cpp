// The web view's part in the page's forms and dialogs: the views standing over the page's
// fields (kept while the page changes, so that a field being edited stays edited), the
// client's keyboard and form bar, a select's choices in the client's own list, the page's
// alert, confirm and prompt in the client's alert view, and a file field's asks to the picker
// the web view was given.

#include <algorithm>
#include <utility>

#include "platform/foundation/Json.h"
#include "platform/foundation/JsonParse.h"
#include "platform/foundation/Log.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/WebFilePicker.h"
#include "platform/ui/WebFormChoices.h"
#include "platform/ui/WebFormViews.h"
#include "platform/ui/WebView.h"
#include "platform/webkit/WebEngine.h"

namespace platform {

namespace {

// Room kept between a field being edited and the keyboard (or the top of the page's view).
constexpr double kFieldMargin = 8;

// A script's text as a JavaScript string literal (JSON's string syntax is one).
std::string literal(const std::string& text) {
    return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

constexpr const char* kDialogOK = "好";
constexpr const char* kDialogCancel = "取消";

}  // namespace

// Answers the page's dialog with the button the user pressed.
class WebView::DialogAnswer final : public AlertViewDelegate {
public:
    explicit DialogAnswer(std::function<void(AlertView&, int)> answer)
        : m_answer(std::move(answer)) {}
    void clickedButtonAtIndex(AlertView& alert, int index) override {
        if (auto answer = std::exchange(m_answer, nullptr))
            answer(alert, index);
    }

private:
    std::function<void(AlertView&, int)> m_answer;
};

std::shared_ptr<View> WebView::formControlView(const PageItem& item) {
    if (auto kept = m_formViews.find(item.node);
        kept != m_formViews.end() && updateFormControlView(*kept->second, item)) {
        return kept->second;
    }
    std::weak_ptr<View> weak = weak_from_this();
    const std::uint64_t serial = m_pageSerial;
    auto web = [weak, serial]() -> std::shared_ptr<WebView> {
        auto view = std::static_pointer_cast<WebView>(weak.lock());
        return view && view->m_pageSerial == serial ? view : nullptr;
    };
    PageFieldActions actions;
    actions.focused = [web](int node) {
        if (auto view = web())
            view->formFieldFocused(node);
    };
    actions.blurred = [web](int node) {
        if (auto view = web())
            view->formFieldBlurred(node);
    };
    actions.edited = [web](int node, const std::string& text) {
        if (auto view = web())
            view->formFieldEdited(node, text);
    };
    actions.returned = [web](int node) {
        if (auto view = web())
            view->formFieldReturned(node);
    };
    actions.tapped = [web](int node) {
        if (auto view = web()) {
            // A tap on another control takes the focus from the field being edited.
            view->endFieldEditing();
            view->clickNode(node);
        }
    };
    actions.refused = [web](int node) {
        if (auto view = web()) {
            view->endFieldEditing();
            view->clickNode(node);
        }
    };
    actions.canStep = [web](int node, bool forward) {
        auto view = web();
        return view && view->neighbourField(node, forward) != nullptr;
    };
    actions.stepped = [web](int node, bool forward) {
        auto view = web();
        auto next = view ? view->neighbourField(node, forward) : nullptr;
        if (!next)
            return;
        if (isEditableFormControl(*next)) {
            focusFormControl(*next);
            return;
        }
        // A select: its list opens, as the phone's form bar opens its picker.
        view->endFieldEditing();
        for (const auto& [other, field] : view->m_formViews) {
            if (field == next)
                view->clickNode(other);
        }
    };
    auto view = makeFormControlView(item, std::move(actions));
    view->setBackgroundColor(Color::clear());
    m_formViews[item.node] = view;
    return view;
}

void WebView::clickNode(int node) {
    if (!m_engine)
        return;
    std::weak_ptr<View> weak = weak_from_this();
    const std::uint64_t serial = m_pageSerial;
    ++m_workInFlight;
    // Where the element shows now (brought into view first): the page may have moved it since
    // its outline.
    m_engine->evaluate("campus.pointOf(" + std::to_string(node) + ")", webkit::World::Client,
                       [weak, serial](std::optional<std::string> answer) {
                           auto view = std::static_pointer_cast<WebView>(weak.lock());
                           if (!view)
                               return;
                           view->m_workInFlight = std::max(0, view->m_workInFlight - 1);
                           if (view->m_pageSerial != serial || !view->m_engine || !answer)
                               return;
                           auto point = parseJson(*answer);
                           if (!point || !point->is_object() || !(*point)["x"].is_number() ||
                               !(*point)["y"].is_number())
                               return;
                           const double x = (*point)["x"].get<double>() * view->m_zoom;
                           const double y = (*point)["y"].get<double>() * view->m_zoom;
                           view->settleAfter([&] { view->m_engine->click(x, y); });
                       });
}

void WebView::formFieldFocused(int node) {
    auto self = weak_from_this().lock();
    // The page's field takes the focus as from a finger: its focus and click handlers run.
    clickNode(node);
    if (auto view = m_formViews.find(node);
        view != m_formViews.end() && isEditingFormControl(*view->second)) {
        raiseAboveKeyboard(*view->second);
    }
}

void WebView::formFieldBlurred(int /*node*/) {
    if (m_engine)
        m_engine->evaluate("campus.blur()", webkit::World::Client);
    lowerFromKeyboard();
}

void WebView::formFieldEdited(int node, const std::string& text) {
    if (!m_engine)
        return;
    // Typed into the page's field, so that its input handlers and its maxlength see typing.
    settleAfter([&] {
        m_engine->evaluate("campus.replaceText(" + std::to_string(node) + "," + literal(text) + ")",
                           webkit::World::Client);
    });
}

void WebView::formFieldReturned(int /*node*/) {
    settleAfter([&] { m_engine->key("Return"); });
}

void WebView::endFieldEditing() {
    for (const auto& [node, view] : m_formViews) {
        if (isEditingFormControl(*view))
            view->resignFirstResponder();
    }
}

// The form bar's 上一项 and 下一项: the nearest field before or after, in the page's order,
// that may be edited now, or a select; disabled and read-only fields and the page's other
// controls are passed over.
std::shared_ptr<View> WebView::neighbourField(int node, bool forward) const {
    const auto& items = m_outline.items;
    auto at = std::find_if(items.begin(), items.end(),
                           [node](const PageItem& item) { return item.node == node; });
    if (at == items.end())
        return nullptr;
    const auto stop = [this](const PageItem& item) -> std::shared_ptr<View> {
        if (item.kind != PageItem::Kind::Field || item.disabled || item.readOnly)
            return nullptr;
        auto view = m_formViews.find(item.node);
        if (view == m_formViews.end())
            return nullptr;
        if (item.control == "select" || isEditableFormControl(*view->second))
            return view->second;
        return nullptr;
    };
    if (forward) {
        for (auto it = std::next(at); it != items.end(); ++it) {
            if (auto view = stop(*it))
                return view;
        }
    } else {
        for (auto it = at; it != items.begin();) {
            --it;
            if (auto view = stop(*it))
                return view;
        }
    }
    return nullptr;
}

void WebView::forgetFormViews() {
    if (m_formChoices)
        m_formChoices->close();
    withdrawFileAsks();
    endFieldEditing();
    m_formViews.clear();
    lowerFromKeyboard();
}

// Scrolls the page so that the field stands above the keyboard, letting the page scroll past
// its end by what the keyboard covers of the web view while the field is edited.
void WebView::raiseAboveKeyboard(View& field) {
    if (!window())
        return;
    const Rect keyboard = Keyboard::frame(field);
    const Rect shown = convertRectTo(bounds(), nullptr);
    const double covered = std::clamp(shown.maxY() - keyboard.minY(), 0.0, shown.size.height);
    EdgeInsets inset = m_scrollView->contentInset();
    if (!m_insetBeforeKeyboard)
        m_insetBeforeKeyboard = inset.bottom;
    inset.bottom = *m_insetBeforeKeyboard + covered;
    m_scrollView->setContentInset(inset);

    const Rect box = field.convertRectTo(field.bounds(), m_scrollView.get());
    Point offset = m_scrollView->contentOffset();
    const double visible = m_scrollView->bounds().size.height - covered;
    if (box.maxY() + kFieldMargin > offset.y + visible)
        offset.y = box.maxY() + kFieldMargin - visible;
    if (box.minY() - kFieldMargin < offset.y)
        offset.y = box.minY() - kFieldMargin;
    offset.y = std::clamp(offset.y, m_scrollView->minimumContentOffset().y,
                          m_scrollView->maximumContentOffset().y);
    m_scrollView->setContentOffset(offset);
}

void WebView::lowerFromKeyboard() {
    if (!m_insetBeforeKeyboard)
        return;
    EdgeInsets inset = m_scrollView->contentInset();
    inset.bottom = *m_insetBeforeKeyboard;
    m_insetBeforeKeyboard.reset();
    m_scrollView->setContentInset(inset);
    Point offset = m_scrollView->contentOffset();
    offset.y = std::clamp(
        offset.y, m_scrollView->minimumContentOffset().y,
        std::max(m_scrollView->minimumContentOffset().y, m_scrollView->maximumContentOffset().y));
    m_scrollView->setContentOffset(offset);
}

// --- What WebKit asks of the client -------------------------------------------------------------

void WebView::choicesAsked(const webkit::ChoicesAsk& ask) {
    auto self = weak_from_this().lock();
    std::vector<std::string> options;
    std::vector<int> indices;
    int selected = -1;
    for (std::size_t i = 0; i < ask.options.size(); ++i) {
        const auto& option = ask.options[i];
        if (option.groupLabel || !option.enabled)
            continue;
        if (option.selected)
            selected = int(options.size());
        options.push_back(option.label);
        indices.push_back(int(i));
    }
    // The list opens beside the select's own view.
    std::shared_ptr<View> anchor;
    const double x = ask.x / m_zoom;
    const double y = ask.y / m_zoom + m_outline.scrollY;
    for (const auto& item : m_outline.items) {
        if (item.control == "select" && x >= item.x - 1 && x <= item.x + item.width + 1 &&
            y >= item.y - 1 && y <= item.y + item.height + 1) {
            if (auto view = m_formViews.find(item.node); view != m_formViews.end())
                anchor = view->second;
        }
    }
    if (options.empty() || !anchor) {
        m_engine->answerChoices(ask.id, -1);
        return;
    }
    if (!m_formChoices)
        m_formChoices = std::make_shared<WebFormChoices>();
    std::weak_ptr<View> weak = weak_from_this();
    const std::uint64_t id = ask.id;
    // Every way the list closes answers WebKit once: a choice, or nothing.
    auto answered = std::make_shared<bool>(false);
    m_formChoices->open(
        *anchor, shared_from_this(), options, selected, [weak, id, indices, answered](int index) {
            auto view = std::static_pointer_cast<WebView>(weak.lock());
            if (!view || !view->m_engine || *answered)
                return;
            *answered = true;
            const int chosen = index >= 0 && index < int(indices.size()) ? indices[index] : -1;
            view->settleAfter([&] { view->m_engine->answerChoices(id, chosen); });
        });
}

void WebView::dialogAsked(const webkit::DialogAsk& ask) {
    auto self = weak_from_this().lock();
    if (!m_engine)
        return;
    std::weak_ptr<View> weak = weak_from_this();
    const std::uint64_t id = ask.id;
    auto answer = [weak, id](bool accepted, std::string text) {
        auto view = std::static_pointer_cast<WebView>(weak.lock());
        if (view && view->m_engine)
            view->settleAfter([&] { view->m_engine->answerDialog(id, accepted, text); });
    };
    // The page's dialog is the client's alert view, titled by nothing but its message, as in
    // the phone's web view; the page waits for the answer, the client does not.
    auto alert = std::make_shared<AlertView>();
    alert->setMessage(ask.message);
    using Kind = webkit::DialogAsk::Kind;
    const bool prompt = ask.kind == Kind::Prompt;
    if (prompt) {
        alert->setAlertViewStyle(AlertViewStyle::PlainTextInput);
        if (auto field = alert->textFieldAtIndex(0))
            field->setText(ask.defaultText);
    }
    const bool single = ask.kind == Kind::Alert;
    if (single) {
        alert->addButtonWithTitle(kDialogOK);
    } else {
        alert->setCancelButtonIndex(alert->addButtonWithTitle(kDialogCancel));
        alert->addButtonWithTitle(kDialogOK);
    }
    m_dialogAnswer =
        std::make_shared<DialogAnswer>([answer, single, prompt](AlertView& shown, int index) {
            std::string text;
            if (prompt && shown.textFieldAtIndex(0))
                text = shown.textFieldAtIndex(0)->text();
            answer(single || index != shown.cancelButtonIndex(), text);
        });
    alert->setDelegate(m_dialogAnswer);
    alert->show();
}

void WebView::filesAsked(const webkit::FilesAsk& ask) {
    auto self = weak_from_this().lock();
    if (!m_engine)
        return;
    const std::uint64_t id = ask.id;
    if (!m_filePicker) {
        // Nothing to choose from: the field stays as it was.
        m_engine->answerFiles(id, {});
        return;
    }
    std::weak_ptr<View> weak = weak_from_this();
    // An ask of a page that has gone is withdrawn (forgetFormViews), and answers nothing more.
    auto fileAsk = std::make_shared<WebFileAsk>(
        ask.multiple, ask.mimeTypes, [weak, id](std::vector<std::string> paths) {
            auto view = std::static_pointer_cast<WebView>(weak.lock());
            if (!view || !view->m_engine)
                return;
            view->m_fileAsks.erase(id);
            // The page's change event and what its handler does follow the answer.
            view->settleAfter([&] { view->m_engine->answerFiles(id, paths); });
        });
    m_fileAsks[id] = fileAsk;
    // Kept for the call: the picker may be replaced from what it does.
    auto picker = m_filePicker;
    picker->pickFiles(*this, std::move(fileAsk));
}

void WebView::withdrawFileAsks() {
    auto asks = std::exchange(m_fileAsks, {});
    for (const auto& [id, weakAsk] : asks) {
        if (auto ask = weakAsk.lock())
            ask->withdraw();
        if (m_engine)
            m_engine->answerFiles(id, {});
    }
}

}  // namespace platform
