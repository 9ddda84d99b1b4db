// The web view's part in the page's forms: the views of the controls (kept from one layout of
// the page to the next, so that a field being edited stays edited while the page changes
// under it), focus and the keyboard, a select's choices, and the forms the page sends.

#include <algorithm>
#include <utility>

#include "platform/foundation/AsciiText.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ShownPage.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/WebFormChoices.h"
#include "platform/ui/WebFormViews.h"
#include "platform/ui/WebView.h"

namespace platform {

namespace {

// Room kept between a field being edited and the keyboard (or the top of the page's view).
constexpr double kFieldMargin = 8;
// Moves of the focus that one script's focus() and the handlers it sets off may chain; pages
// use one or two, and a page whose handlers pass the focus back and forth stops there.
constexpr int kMaxFocusMoves = 8;

bool isTextControl(const WebPage::Item& item) {
    return item.kind == WebPage::Item::Kind::Field &&
           !oneOf(item.control, {"checkbox", "radio", "select"});
}

}  // namespace

std::shared_ptr<View> WebView::formControlView(const WebPage::Item& item) {
    if (auto kept = m_formViews.find(item.node);
        kept != m_formViews.end() && updateFormControlView(*kept->second, item)) {
        return kept->second;
    }
    std::weak_ptr<View> weak = weak_from_this();
    const std::uint64_t serial = m_pageSerial;
    auto web = [weak, serial]() -> WebView* {
        auto view = weak.lock();
        return view && from(view)->m_pageSerial == serial && from(view)->m_webPage ? from(view)
                                                                                   : nullptr;
    };
    PageFieldActions actions;
    actions.focused = [web](int node) {
        if (WebView* view = web()) {
            view->formFieldFocused(node);
        }
    };
    actions.blurred = [web](int node) {
        if (WebView* view = web()) {
            view->formFieldBlurred(node);
        }
    };
    actions.edited = [web](int node, const std::string& text) {
        if (WebView* view = web()) {
            view->formActionByUser([view, node, &text] { view->m_webPage->editField(node, text); });
        }
    };
    actions.returned = [web](int node) {
        if (WebView* view = web()) {
            view->formActionByUser([&] { view->m_webPage->submitField(node); });
        }
    };
    actions.tapped = [web](int node) {
        if (WebView* view = web()) {
            view->formControlTapped(node);
        }
    };
    actions.refused = [web](int /*node*/) {
        if (WebView* view = web()) {
            view->endFieldEditing();
        }
    };
    actions.canStep = [web](int node, bool forward) {
        WebView* view = web();
        return view && view->neighbourField(node, forward) != nullptr;
    };
    actions.stepped = [web](int node, bool forward) {
        WebView* view = web();
        if (auto next = view ? view->neighbourField(node, forward) : nullptr) {
            focusFormControl(*next);
        }
    };
    return makeFormControlView(item, std::move(actions));
}

// What the page's scripts ask while they handle the user's action counts as the user's: a
// navigation, and a field's focus, which raises the keyboard only then, as on the phone.
void WebView::formActionByUser(const std::function<void()>& action) {
    auto self = weak_from_this().lock();
    const bool wasInTap = std::exchange(m_inTap, true);
    action();
    pageMayHaveChanged();
    m_inTap = wasInTap;
}

const WebPage::Item* WebView::shownItem(int node) const {
    if (!m_shown) {
        return nullptr;
    }
    const auto& shown = m_shown->items();
    auto found = std::find_if(shown.begin(), shown.end(),
                              [node](const WebPage::Item& item) { return item.node == node; });
    return found == shown.end() ? nullptr : &*found;
}

void WebView::formFieldFocused(int node) {
    auto self = weak_from_this().lock();
    formActionByUser([this, node] { m_webPage->focusField(node); });
    // Unless its focus handler sent the focus on.
    if (auto view = m_formViews.find(node);
        view != m_formViews.end() && isEditingFormControl(*view->second)) {
        raiseAboveKeyboard(*view->second);
        watchTapsAroundField(true);
    }
}

void WebView::formFieldBlurred(int node) {
    watchTapsAroundField(false);
    // The keyboard lowers before the page's changes are followed: its blur handler may focus
    // another field.
    formActionByUser([this, node] {
        m_webPage->blurField(node);
        lowerFromKeyboard();
    });
}

// As in the phone's web view, a tap on the page's words, on blank space, or on a disabled or
// read-only field ends the editing of the field (its change and blur fire, the keyboard goes).
// The page's controls take their own taps (the recogniser yields to them) and end it
// themselves; a read-only field ends it as it refuses the editing; a tap on a field that
// may be edited hands the keyboard over to it.
void WebView::watchTapsAroundField(bool editing) {
    if (!editing) {
        if (m_tapAroundField) {
            m_tapAroundField->setEnabled(false);
        }
        return;
    }
    if (!m_tapAroundField) {
        std::weak_ptr<View> weak = weak_from_this();
        m_tapAroundField = std::make_shared<TapGestureRecognizer>([weak](GestureRecognizer& tap) {
            auto view = weak.lock();
            if (!view) {
                return;
            }
            WebView* web = from(view);
            const Point at = tap.locationInView(nullptr);
            for (const auto& [node, field] : web->m_formViews) {
                if (isEditableFormControl(*field) &&
                    field->pointInside(field->convertPointFrom(at, nullptr))) {
                    return;
                }
            }
            web->endFieldEditing();
        });
        // The words and pictures under the finger see the tap as well.
        m_tapAroundField->setCancelsTouchesInView(false);
        m_scrollView->addGestureRecognizer(m_tapAroundField);
    }
    m_tapAroundField->setEnabled(true);
}

// The form bar's 上一项 and 下一项: the nearest field before or after, in the page's order,
// that may be edited now and is shown (hidden and disabled fields, read-only ones and the
// page's other controls are passed over).
std::shared_ptr<View> WebView::neighbourField(int node, bool forward) const {
    if (!m_shown) {
        return nullptr;
    }
    const auto& items = m_shown->items();
    auto at = std::find_if(items.begin(), items.end(),
                           [node](const WebPage::Item& item) { return item.node == node; });
    if (at == items.end()) {
        return nullptr;
    }
    const auto editable = [this](const WebPage::Item& item) -> std::shared_ptr<View> {
        if (item.kind != WebPage::Item::Kind::Field || item.disabled || item.readOnly) {
            return nullptr;
        }
        auto view = m_formViews.find(item.node);
        return view != m_formViews.end() && isEditableFormControl(*view->second) ? view->second
                                                                                 : nullptr;
    };
    if (forward) {
        for (auto it = std::next(at); it != items.end(); ++it) {
            if (auto view = editable(*it)) {
                return view;
            }
        }
    } else {
        for (auto it = at; it != items.begin();) {
            --it;
            if (auto view = editable(*it)) {
                return view;
            }
        }
    }
    return nullptr;
}

// A script's focus() or blur() takes the road of a tap: the field's view begins or ends its
// editing, and its delegate tells the page (formFieldFocused, formFieldBlurred), which raises
// or lowers the keyboard and sends the page its events. Moves that the page's handlers then
// ask for are taken here in turn, not one inside the other.
void WebView::followFocusMove() {
    if (m_movingFocus || !m_focusMove) {
        return;
    }
    auto self = weak_from_this().lock();
    const std::uint64_t serial = m_pageSerial;
    m_movingFocus = true;
    for (int moves = 0; m_focusMove && moves < kMaxFocusMoves && serial == m_pageSerial; ++moves) {
        const FocusMove move = *std::exchange(m_focusMove, std::nullopt);
        if (move.focus >= 0) {
            // The script may have just put the field in the page, or moved it: laid out
            // first, it has its view, where it stands.
            if (m_shown && m_shown->needsUpdate(bounds().size.width)) {
                showPage(false);
            }
            if (auto view = m_formViews.find(move.focus); view != m_formViews.end()) {
                const std::shared_ptr<View> field = view->second;
                focusFormControl(*field);
            }
        } else if (auto view = m_formViews.find(move.blur);
                   view != m_formViews.end() && isEditingFormControl(*view->second)) {
            const std::shared_ptr<View> field = view->second;
            field->resignFirstResponder();
        }
    }
    m_focusMove.reset();
    m_movingFocus = false;
}

void WebView::formControlTapped(int node) {
    auto self = weak_from_this().lock();
    const WebPage::Item* item = shownItem(node);
    if (!item) {
        return;
    }
    int control = node;
    if (item->kind == WebPage::Item::Kind::Label) {
        formActionByUser([&] { m_webPage->activate(node); });
        // The label's handler runs scripts; navigations it asks for come on a later turn, so
        // the page is still the one tapped.
        control = m_webPage->labelledControl(node);
        item = control >= 0 ? shownItem(control) : nullptr;
        if (!item) {
            return;
        }
        if (isTextControl(*item)) {
            if (auto view = m_formViews.find(control); view != m_formViews.end()) {
                focusFormControl(*view->second);
            }
            return;
        }
    }
    // A tap elsewhere in the page takes the focus from the field being edited.
    endFieldEditing();
    if (item->control == "select") {
        openChoices(*item);
        return;
    }
    formActionByUser([&] { m_webPage->toggle(control); });
}

void WebView::openChoices(const WebPage::Item& item) {
    auto view = m_formViews.find(item.node);
    if (view == m_formViews.end() || item.options.empty()) {
        return;
    }
    if (!m_formChoices) {
        m_formChoices = std::make_shared<WebFormChoices>();
    }
    std::weak_ptr<View> weak = weak_from_this();
    const std::uint64_t serial = m_pageSerial;
    m_formChoices->open(
        *view->second, shared_from_this(), item.options, item.selected,
        [weak, serial, node = item.node](int index) {
            auto self = weak.lock();
            if (!self || from(self)->m_pageSerial != serial || !from(self)->m_webPage) {
                return;
            }
            WebView* web = from(self);
            web->formActionByUser([&] { web->m_webPage->choose(node, index); });
        });
}

void WebView::endFieldEditing() {
    for (const auto& [node, view] : m_formViews) {
        if (isEditingFormControl(*view)) {
            view->resignFirstResponder();
        }
    }
}

void WebView::forgetFormViews() {
    if (m_formChoices) {
        m_formChoices->close();
    }
    watchTapsAroundField(false);
    m_formViews.clear();
    lowerFromKeyboard();
}

// Scrolls the page so that the field stands above the keyboard, letting the page scroll past
// its end by what the keyboard covers of the web view while the field is edited.
void WebView::raiseAboveKeyboard(View& field) {
    if (!window()) {
        return;
    }
    // Above the keyboard and its form bar, which may be about to show for this field.
    const Rect keyboard = Keyboard::frame(field);
    const Rect shown = convertRectTo(bounds(), nullptr);
    const double covered = std::clamp(shown.maxY() - keyboard.minY(), 0.0, shown.size.height);
    EdgeInsets inset = m_scrollView->contentInset();
    if (!m_insetBeforeKeyboard) {
        m_insetBeforeKeyboard = inset.bottom;
    }
    inset.bottom = *m_insetBeforeKeyboard + covered;
    m_scrollView->setContentInset(inset);

    const Rect box = field.convertRectTo(field.bounds(), m_scrollView.get());
    Point offset = m_scrollView->contentOffset();
    const double visible = m_scrollView->bounds().size.height - covered;
    if (box.maxY() + kFieldMargin > offset.y + visible) {
        offset.y = box.maxY() + kFieldMargin - visible;
    }
    if (box.minY() - kFieldMargin < offset.y) {
        offset.y = box.minY() - kFieldMargin;
    }
    offset.y = std::clamp(offset.y, m_scrollView->minimumContentOffset().y,
                          m_scrollView->maximumContentOffset().y);
    m_scrollView->setContentOffset(offset);
}

void WebView::lowerFromKeyboard() {
    if (!m_insetBeforeKeyboard) {
        return;
    }
    EdgeInsets inset = m_scrollView->contentInset();
    inset.bottom = *m_insetBeforeKeyboard;
    m_insetBeforeKeyboard.reset();
    m_scrollView->setContentInset(inset);
    // The page no longer scrolls past its end.
    Point offset = m_scrollView->contentOffset();
    offset.y = std::clamp(
        offset.y, m_scrollView->minimumContentOffset().y,
        std::max(m_scrollView->minimumContentOffset().y, m_scrollView->maximumContentOffset().y));
    m_scrollView->setContentOffset(offset);
}

void WebView::pageAskedToSubmit(std::uint64_t pageSerial, const URLRequest& request) {
    pageAskedToLoad(pageSerial, request, WebViewNavigationType::FormSubmitted);
}

}  // namespace platform
