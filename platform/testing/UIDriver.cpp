#include "platform/testing/UIDriver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Control.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"

namespace platform::testing {

namespace {

constexpr double kInvisibleAlpha = 0.01;

bool isHiddenFromUser(const View& view) {
    for (const View* v = &view; v; v = v->superview().get()) {
        if (v->isHidden() || v->alpha() < kInvisibleAlpha) {
            return true;
        }
    }
    return false;
}

// The part of the view inside the window and every clipping ancestor, in window coordinates.
Rect visibleRectInWindow(const View& view, const Rect& windowBounds) {
    Rect rect = view.convertRectTo(view.bounds(), nullptr).intersection(windowBounds);
    for (auto parent = view.superview(); parent && !rect.isEmpty(); parent = parent->superview()) {
        if (parent->clipsToBounds()) {
            rect = rect.intersection(parent->convertRectTo(parent->bounds(), nullptr));
        }
    }
    return rect;
}

// Where within `rect` (window coordinates) the view takes touches itself, a few points of it
// scanned row by row, the middle rows first: for a view that takes them on only a part of
// its frame.
std::vector<Point> pointsTaken(const View& view, const Rect& rect) {
    constexpr double kStep = 2;
    constexpr std::size_t kEnough = 4;
    std::vector<double> rows;
    for (double dy = 0; dy <= rect.height() / 2; dy += kStep) {
        rows.push_back(rect.midY() - dy);
        if (dy > 0) {
            rows.push_back(rect.midY() + dy);
        }
    }
    auto takes = [&](double x, double y) {
        return view.pointInside(view.convertPointFrom(Point{x, y}, nullptr));
    };
    std::vector<Point> points;
    for (double y : rows) {
        // The middle of the row's first stretch that takes them.
        double x = rect.minX() + kStep / 2;
        while (x < rect.maxX() && !takes(x, y)) {
            x += kStep;
        }
        double end = x;
        while (end + kStep < rect.maxX() && takes(end + kStep, y)) {
            end += kStep;
        }
        if (x < rect.maxX()) {
            points.push_back(Point{(x + end) / 2, y});
        }
        if (points.size() >= kEnough) {
            break;
        }
    }
    return points;
}

// "b3", or what the view says it is when it has no handle.
std::string nameOf(const View& view) {
    if (!view.handle().empty()) {
        return view.handle();
    }
    return view.describe();
}

// What lies over a target: "[overlay: 加载中]", or the handle of a plain view, or "view".
std::string coverName(const View& view) {
    std::string described = view.describe();
    if (described == "view" && !view.handle().empty()) {
        return view.handle();
    }
    return described;
}

// Letters then digits (and dots), as handles are written: "b9", "r1.3", "tab2".
bool looksLikeHandle(const std::string& text) {
    size_t letters = 0;
    while (letters < text.size() && text[letters] >= 'a' && text[letters] <= 'z') {
        ++letters;
    }
    if (letters == 0 || letters == text.size()) {
        return false;
    }
    return std::all_of(text.begin() + long(letters), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

std::shared_ptr<ScrollView> scrollViewOf(const std::shared_ptr<View>& view) {
    if (auto scroll = std::dynamic_pointer_cast<ScrollView>(view)) {
        return scroll;
    }
    if (auto web = std::dynamic_pointer_cast<WebView>(view)) {
        return web->scrollView();
    }
    return nullptr;
}

std::shared_ptr<ScrollView> enclosingScrollView(const std::shared_ptr<View>& view) {
    for (auto v = view; v; v = v->superview()) {
        if (auto scroll = scrollViewOf(v)) {
            return scroll;
        }
    }
    return nullptr;
}

// The first visible scroll view inside the view, breadth first (a paging container's pages).
std::shared_ptr<ScrollView> innerScrollView(const std::shared_ptr<View>& view) {
    std::vector<std::shared_ptr<View>> level{view};
    while (!level.empty()) {
        std::vector<std::shared_ptr<View>> next;
        for (const auto& v : level) {
            if (v->isHidden()) {
                continue;
            }
            if (auto scroll = scrollViewOf(v)) {
                return scroll;
            }
            next.insert(next.end(), v->subviews().begin(), v->subviews().end());
        }
        level = std::move(next);
    }
    return nullptr;
}

}  // namespace

struct UIDriver::Target {
    const OutlineEntry* entry = nullptr;
    std::string error;
};

UIDriver::UIDriver(Application& application) : m_application(&application) {}

UIDriver::UIDriver() : UIDriver(Application::shared()) {}

// --- Reading ----------------------------------------------------------------------------

std::shared_ptr<Window> UIDriver::window() const {
    return m_application->keyWindow();
}

std::shared_ptr<ViewController> UIDriver::currentScreen() const {
    auto window = this->window();
    auto current = window ? window->rootViewController() : nullptr;
    while (current) {
        auto next = current->presentedViewController();
        if (!next || dynamic_cast<ModalAlert*>(next.get())) {
            break;
        }
        current = next;
    }
    return current;
}

ScreenOutline UIDriver::snapshot() const {
    return ScreenOutline::capture(window());
}

std::string UIDriver::outline() const {
    return snapshot().text();
}

std::shared_ptr<View> UIDriver::find(const std::string& text) const {
    auto outline = snapshot();
    const OutlineEntry* entry = outline.findText(text);
    return entry ? entry->view : nullptr;
}

std::shared_ptr<View> UIDriver::findByHandle(const std::string& handle) const {
    auto outline = snapshot();
    const OutlineEntry* entry = outline.findHandle(handle);
    return entry ? entry->view : nullptr;
}

std::vector<std::string> UIDriver::visibleTexts() const {
    std::vector<std::string> texts;
    auto outline = snapshot();
    for (const auto& entry : outline.entries()) {
        texts.insert(texts.end(), entry.texts.begin(), entry.texts.end());
    }
    return texts;
}

std::string UIDriver::handleOf(const View& view) const {
    auto outline = snapshot();
    const OutlineEntry* entry = outline.findView(&view);
    return entry ? entry->handle : std::string();
}

UIDriver::Target UIDriver::resolve(const ScreenOutline& outline,
                                   const std::string& handleOrText) const {
    Target target;
    target.entry = outline.findHandle(handleOrText);
    if (!target.entry && AlertPresenter::shared().isModalBlocking()) {
        target.entry = outline.findText(handleOrText, true);
    }
    if (!target.entry) {
        target.entry = outline.findText(handleOrText);
    }
    if (!target.entry) {
        target.error = looksLikeHandle(handleOrText)
                           ? "no such handle: " + handleOrText
                           : "nothing on screen shows \"" + handleOrText + "\"";
    }
    return target;
}

// --- Tapping ----------------------------------------------------------------------------

DriverResult UIDriver::checkReachable(const std::shared_ptr<View>& view) const {
    Point ignored;
    return aim(view, false, ignored);
}

DriverResult UIDriver::aim(const std::shared_ptr<View>& view, bool tapping, Point& point) const {
    auto window = this->window();
    if (!window) {
        return DriverResult::failure("no key window");
    }
    if (!view) {
        return DriverResult::failure("nothing to act on");
    }
    if (view->window() != window) {
        return DriverResult::failure("not on screen: " + nameOf(*view));
    }
    window->layoutIfNeeded();
    if (isHiddenFromUser(*view)) {
        return DriverResult::failure("not tappable: hidden");
    }
    if (auto control = dynamic_cast<Control*>(view.get()); control && !control->isEnabled()) {
        return DriverResult::failure("not tappable: disabled");
    }
    if (AlertPresenter::shared().isModalBlocking()) {
        return DriverResult::failure("covered by an alert");
    }
    Rect rect = visibleRectInWindow(*view, window->bounds());
    if (rect.isEmpty()) {
        return DriverResult::failure("not tappable: off screen");
    }
    if (Keyboard::isVisible()) {
        double keyboardTop = Keyboard::frame().minY();
        if (rect.minY() >= keyboardTop) {
            return DriverResult::failure("covered by the keyboard");
        }
        rect.size.height = std::min(rect.maxY(), keyboardTop) - rect.minY();
    }
    // The centre first; when something lies over it (a row half under the navigation bar),
    // a finger would aim at the part still showing.
    std::vector<Point> candidates = {
        {rect.midX(), rect.midY()},
        {rect.midX(), rect.minY() + rect.height() * 0.75},
        {rect.midX(), rect.minY() + rect.height() * 0.25},
        {rect.minX() + rect.width() * 0.25, rect.midY()},
        {rect.minX() + rect.width() * 0.75, rect.midY()},
    };
    // A view that takes touches on only a part of its frame (a page's link whose words run
    // over two lines) is aimed at that part.
    auto taken = [&](Point candidate) {
        return !view->pointInside(view->convertPointFrom(candidate, nullptr));
    };
    candidates.erase(std::remove_if(candidates.begin(), candidates.end(), taken), candidates.end());
    if (candidates.empty()) {
        candidates = pointsTaken(*view, rect);
    }
    DriverResult first;
    for (const Point& candidate : candidates) {
        auto reached = reaches(*window, view, candidate, tapping);
        if (reached) {
            point = candidate;
            return reached;
        }
        if (first.error.empty()) {
            first = reached;
        }
    }
    return first;
}

DriverResult UIDriver::reaches(Window& window, const std::shared_ptr<View>& view, Point point,
                               bool tapping) const {
    auto hit = window.hitTest(point);
    if (hit && (hit == view || hit->isDescendantOf(view.get()))) {
        return DriverResult::success();
    }
    // A label or picture does not take touches itself; a tap on it goes to what holds it,
    // as a finger's would. A control that does not take touches cannot be used.
    if (hit && view->isDescendantOf(hit.get())) {
        if (tapping && !dynamic_cast<Control*>(view.get())) {
            return DriverResult::success();
        }
        return DriverResult::failure("not tappable: does not take touches");
    }
    if (!hit) {
        return DriverResult::failure("not tappable: does not take touches");
    }
    // Appended, not "literal" + string: GCC 12's false -Wrestrict (see CMakeLists.txt).
    std::string reason = "covered by ";
    reason += coverName(*hit);
    return DriverResult::failure(reason);
}

DriverResult UIDriver::tapView(const std::shared_ptr<View>& view) {
    Point point;
    if (auto aimed = aim(view, true, point); !aimed) {
        return aimed;
    }
    window()->tap(point);
    settle();
    return DriverResult::success();
}

DriverResult UIDriver::tapEntry(const OutlineEntry& entry) {
    switch (entry.kind) {
        case EntryKind::AlertButton:
            return pressAlertButton(entry.alertIndex);
        case EntryKind::AlertField:
            if (!entry.alertField->isEditing() && !entry.alertField->becomeFirstResponder()) {
                return DriverResult::failure("field did not start editing: " + entry.handle);
            }
            settle();
            return DriverResult::success();
        case EntryKind::Alert:
            return DriverResult::failure("not tappable: press one of the alert's buttons");
        case EntryKind::Keyboard:
            return DriverResult::failure("not tappable: the keyboard");
        case EntryKind::KeyboardKey:
            return pressKeyboardKey(entry.visibleRect);
        default:
            return tapView(entry.view);
    }
}

DriverResult UIDriver::pressKeyboardKey(const Rect& frame) {
    if (AlertPresenter::shared().isModalBlocking()) {
        return DriverResult::failure("covered by an alert");
    }
    // As a finger lifted on the middle of the key.
    const auto keys = Keyboard::keys();
    const KeyboardKey* key = keyboardKeyAt(keys, Point{frame.midX(), frame.midY()});
    if (!key) {
        return DriverResult::failure("not tappable: the keyboard is down");
    }
    if (!key->enabled) {
        return DriverResult::failure("not tappable: disabled");
    }
    Keyboard::press(*key);
    settle();
    return DriverResult::success();
}

DriverResult UIDriver::tap(const std::string& handleOrText) {
    auto outline = snapshot();
    auto target = resolve(outline, handleOrText);
    if (!target.entry) {
        return DriverResult::failure(target.error);
    }
    return tapEntry(*target.entry);
}

DriverResult UIDriver::tap(const std::shared_ptr<View>& view) {
    return tapView(view);
}

// --- Dragging ---------------------------------------------------------------------------

DriverResult UIDriver::drag(const std::string& handleOrText, Point to) {
    auto outline = snapshot();
    auto target = resolve(outline, handleOrText);
    if (!target.entry) {
        return DriverResult::failure(target.error);
    }
    if (!target.entry->view) {
        return DriverResult::failure("not draggable: " + handleOrText);
    }
    return drag(target.entry->view, to);
}

DriverResult UIDriver::dragOnto(const std::string& handleOrText,
                                const std::string& ontoHandleOrText) {
    auto outline = snapshot();
    auto onto = resolve(outline, ontoHandleOrText);
    if (!onto.entry) {
        return DriverResult::failure(onto.error);
    }
    const Rect& rect = onto.entry->visibleRect;
    if (rect.isEmpty()) {
        return DriverResult::failure("not on screen: " + ontoHandleOrText);
    }
    return drag(handleOrText, Point{rect.midX(), rect.midY()});
}

DriverResult UIDriver::drag(const std::shared_ptr<View>& view, Point to) {
    Point from;
    if (auto aimed = aim(view, true, from); !aimed) {
        return aimed;
    }
    auto window = this->window();
    if (!window->bounds().contains(to)) {
        return DriverResult::failure("cannot drag off the screen");
    }
    // A finger reports a move every few points; one long jump would skip everything the
    // finger passes over on its way.
    constexpr double kStep = 8;
    const double distance = std::hypot(to.x - from.x, to.y - from.y);
    const int steps = std::max(1, int(std::ceil(distance / kStep)));
    window->drag(from, to, steps);
    settle();
    return DriverResult::success();
}

// --- Typing -----------------------------------------------------------------------------

DriverResult UIDriver::type(const std::string& handleOrText, const std::string& text) {
    auto outline = snapshot();
    auto target = resolve(outline, handleOrText);
    if (!target.entry) {
        return DriverResult::failure(target.error);
    }
    const OutlineEntry& entry = *target.entry;
    std::string name = entry.handle.empty() ? handleOrText : entry.handle;
    if (entry.kind == EntryKind::AlertField) {
        if (auto started = tapEntry(entry); !started) {
            return started;
        }
        entry.alertField->typeText(text);
        settle();
        return DriverResult::success();
    }
    return typeInto(entry.view, name, text);
}

DriverResult UIDriver::typeInto(const std::shared_ptr<View>& view, const std::string& name,
                                const std::string& text) {
    auto field = std::dynamic_pointer_cast<TextField>(view);
    auto textView = std::dynamic_pointer_cast<TextView>(view);
    if (!field && !textView) {
        return DriverResult::failure("not a text field: " + name);
    }
    auto editing = [&] { return field ? field->isEditing() : textView->isEditing(); };
    if (!editing()) {
        if (auto tapped = tapView(view); !tapped) {
            return tapped;
        }
        if (!editing()) {
            return DriverResult::failure("field did not start editing: " + name);
        }
        // Typing by name adds to what the input holds: the tap at its centre may have put a
        // text view's caret inside the text.
        if (textView) {
            textView->setInsertionPoint(textView->text().size());
        }
    }
    bool typed = field ? field->typeText(text) : textView->typeText(text);
    settle();
    if (!typed) {
        return DriverResult::failure("typing refused: " + name);
    }
    return DriverResult::success();
}

DriverResult UIDriver::pressReturn() {
    auto responder = m_application->firstResponder();
    if (auto field = std::dynamic_pointer_cast<TextField>(responder)) {
        field->pressReturn();
    } else if (auto textView = std::dynamic_pointer_cast<TextView>(responder)) {
        textView->typeText("\n");
    } else {
        return DriverResult::failure("no field is being edited");
    }
    settle();
    return DriverResult::success();
}

// --- Navigation -------------------------------------------------------------------------

DriverResult UIDriver::back() {
    if (AlertPresenter::shared().isModalBlocking()) {
        return DriverResult::failure("covered by an alert");
    }
    auto outline = snapshot();
    const auto& entries = outline.entries();
    // The bar drawn last is the one on top.
    size_t barIndex = entries.size();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].kind == EntryKind::NavigationBar) {
            barIndex = i;
        }
    }
    if (barIndex == entries.size()) {
        return DriverResult::failure("no navigation bar");
    }
    const OutlineEntry& barEntry = entries[barIndex];
    auto bar = std::dynamic_pointer_cast<NavigationBar>(barEntry.view);
    if (auto backButton = bar ? bar->backButton() : nullptr;
        backButton && outline.findView(backButton.get()) &&
        outline.findView(backButton.get())->view == backButton) {
        return tapView(backButton);
    }
    const OutlineEntry* leftmost = nullptr;
    for (size_t i = barIndex + 1; i < entries.size() && entries[i].depth > barEntry.depth; ++i) {
        const OutlineEntry& entry = entries[i];
        bool actionable = entry.kind == EntryKind::Button || entry.kind == EntryKind::Control ||
                          entry.kind == EntryKind::View;
        if (actionable && entry.visibleRect.midX() < barEntry.visibleRect.midX() &&
            (!leftmost || entry.visibleRect.minX() < leftmost->visibleRect.minX())) {
            leftmost = &entry;
        }
    }
    if (!leftmost) {
        return DriverResult::failure("no back button");
    }
    return tapView(leftmost->view);
}

// --- Scrolling --------------------------------------------------------------------------

DriverResult UIDriver::pull(const std::shared_ptr<ScrollView>& scrollView, bool down) {
    if (!scrollView) {
        return DriverResult::failure("no scroll view on screen");
    }
    if (auto reachable = checkReachable(scrollView); !reachable) {
        return reachable;
    }
    bool pulled = down ? scrollView->pullBeyondTop(m_pullDistance)
                       : scrollView->pullBeyondBottom(m_pullDistance);
    settle();
    if (!pulled) {
        return DriverResult::failure("cannot pull " + nameOf(*scrollView) +
                                     ": it does not scroll that way");
    }
    return DriverResult::success();
}

DriverResult UIDriver::pullFirst(bool down) {
    auto outline = snapshot();
    for (const auto& scroll : outline.scrollViews()) {
        // Text views scroll their text, not the screen's content.
        if (!std::dynamic_pointer_cast<TextView>(scroll)) {
            return pull(scroll, down);
        }
    }
    return DriverResult::failure("no scroll view on screen");
}

DriverResult UIDriver::pullNamed(const std::string& handleOrText, bool down) {
    auto outline = snapshot();
    auto target = resolve(outline, handleOrText);
    if (!target.entry) {
        return DriverResult::failure(target.error);
    }
    auto scroll = enclosingScrollView(target.entry->view);
    if (!scroll) {
        return DriverResult::failure("not a scroll view: " + handleOrText);
    }
    return pull(scroll, down);
}

DriverResult UIDriver::pullDown() {
    return pullFirst(true);
}

DriverResult UIDriver::pullDown(const std::string& handleOrText) {
    return pullNamed(handleOrText, true);
}

DriverResult UIDriver::pullDown(const std::shared_ptr<ScrollView>& scrollView) {
    return pull(scrollView, true);
}

DriverResult UIDriver::pullUp() {
    return pullFirst(false);
}

DriverResult UIDriver::pullUp(const std::string& handleOrText) {
    return pullNamed(handleOrText, false);
}

DriverResult UIDriver::pullUp(const std::shared_ptr<ScrollView>& scrollView) {
    return pull(scrollView, false);
}

DriverResult UIDriver::swipeToPage(const std::string& handleOrText, int page) {
    auto outline = snapshot();
    auto target = resolve(outline, handleOrText);
    if (!target.entry) {
        return DriverResult::failure(target.error);
    }
    return swipeToPage(target.entry->view, page);
}

DriverResult UIDriver::swipeToPage(const std::shared_ptr<View>& view, int page) {
    if (!view) {
        return DriverResult::failure("no scroll view to swipe");
    }
    auto scroll = innerScrollView(view);
    if (!scroll) {
        scroll = enclosingScrollView(view);
    }
    if (!scroll) {
        return DriverResult::failure("no scroll view at " + nameOf(*view));
    }
    bool horizontal = scroll->canScrollHorizontally() || !scroll->canScrollVertically();
    double extent = horizontal ? scroll->bounds().size.width : scroll->bounds().size.height;
    double content = horizontal ? scroll->contentSize().width : scroll->contentSize().height;
    int pages = extent > 0 ? std::max(1, int(std::ceil(content / extent - 1e-6))) : 1;
    if (page < 0 || page >= pages) {
        return DriverResult::failure("no such page: " + std::to_string(page) + " (of " +
                                     std::to_string(pages) + ")");
    }
    if (auto reachable = checkReachable(scroll); !reachable) {
        return reachable;
    }
    if (scroll->currentPage(horizontal) == page) {
        return DriverResult::success();
    }
    bool swiped = scroll->scrollToPage(page, horizontal);
    settle();
    if (!swiped) {
        return DriverResult::failure("cannot swipe " + nameOf(*scroll));
    }
    return DriverResult::success();
}

// --- Alerts -----------------------------------------------------------------------------

DriverResult UIDriver::pressAlertButton(const std::string& titleOrHandle) {
    auto alert = AlertPresenter::shared().topAlert();
    if (!alert) {
        return DriverResult::failure("no alert is showing");
    }
    auto titles = alert->buttonTitles();
    auto found = std::find(titles.begin(), titles.end(), titleOrHandle);
    if (found != titles.end()) {
        return pressAlertButton(int(found - titles.begin()));
    }
    if (titleOrHandle.size() > 1 && titleOrHandle[0] == 'a' && looksLikeHandle(titleOrHandle) &&
        titleOrHandle.find('.') == std::string::npos) {
        return pressAlertButton(std::stoi(titleOrHandle.substr(1)));
    }
    return DriverResult::failure("no such alert button: " + titleOrHandle);
}

DriverResult UIDriver::pressAlertButton(int index) {
    auto alert = AlertPresenter::shared().topAlert();
    if (!alert) {
        return DriverResult::failure("no alert is showing");
    }
    auto titles = alert->buttonTitles();
    if (index < 0 || index >= int(titles.size())) {
        return DriverResult::failure("no such alert button: " + std::to_string(index));
    }
    if (!alert->pressButton(index)) {
        return DriverResult::failure("alert button is disabled: " + titles[size_t(index)]);
    }
    settle();
    return DriverResult::success();
}

// --- Time -------------------------------------------------------------------------------

DriverResult UIDriver::dragFinger(Point from, Point to) {
    auto window = this->window();
    if (!window) {
        return DriverResult::failure("nothing on screen");
    }
    if (AlertPresenter::shared().isModalBlocking()) {
        return DriverResult::failure("covered by an alert");
    }
    const Rect bounds = window->bounds();
    for (Point point : {from, to}) {
        if (!(point.x >= 0 && point.y >= 0 && point.x <= bounds.size.width &&
              point.y <= bounds.size.height)) {
            return DriverResult::failure("off the screen: a drag stays within 0..." +
                                         std::to_string(int(bounds.size.width)) + " x 0..." +
                                         std::to_string(int(bounds.size.height)));
        }
    }
    if (!window->drag(from, to, 8)) {
        return DriverResult::failure("nothing there takes a touch");
    }
    settle();
    return DriverResult::success();
}

DriverResult UIDriver::wait(double seconds) {
    if (!(seconds >= 0)) {
        return DriverResult::failure("cannot wait a negative time");
    }
    RunLoop& loop = RunLoop::main();
    if (loop.hasManualClock()) {
        loop.advance(platform::seconds(seconds));
    } else {
        loop.runFor(std::chrono::milliseconds(std::llround(seconds * 1000)));
    }
    settle();
    return DriverResult::success();
}

DriverResult UIDriver::runUntil(const std::function<bool()>& condition, double boundSeconds) {
    auto bound = std::chrono::milliseconds(std::llround(std::max(0.0, boundSeconds) * 1000));
    bool met = RunLoop::main().runUntil(condition, bound);
    settle();
    if (!met) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%g", boundSeconds);
        return DriverResult::failure(std::string("still waiting after ") + seconds + " s");
    }
    return DriverResult::success();
}

// --- Screenshots ------------------------------------------------------------------------

DriverResult UIDriver::screenshot(const std::filesystem::path& path) {
    auto window = this->window();
    if (!window) {
        return DriverResult::failure("no key window");
    }
    window->layoutIfNeeded();
    Rect bounds = window->bounds();
    if (bounds.size.width <= 0 || bounds.size.height <= 0) {
        return DriverResult::failure("the window has no area");
    }
    BitmapContext context(bounds.size, 1);
    if (!context.isValid()) {
        return DriverResult::failure("cannot make a bitmap of " +
                                     std::to_string(int(bounds.size.width)) + "x" +
                                     std::to_string(int(bounds.size.height)));
    }
    renderScreen(*window, context);
    std::string png = context.pngData();
    if (png.empty()) {
        return DriverResult::failure("cannot encode the screenshot");
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), std::streamsize(png.size()));
    if (!out.flush()) {
        return DriverResult::failure("cannot write " + path.string());
    }
    return DriverResult::success();
}

void UIDriver::settle() {
    auto window = this->window();
    if (window) {
        window->layoutIfNeeded();
    }
    RunLoop::main().runPending();
    if (window) {
        window->layoutIfNeeded();
    }
}

}  // namespace platform::testing
