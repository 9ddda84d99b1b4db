#include "platform/testing/ScreenOutline.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/foundation/TerminalText.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/CollectionViewCell.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarButton.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"

namespace platform::testing {

namespace {

// Alpha below this draws nothing (as the renderer and hit-testing have it); at or above
// the opaque threshold a full-window view hides what is under it.
constexpr double kInvisibleAlpha = 0.01;
constexpr double kOpaqueAlpha = 0.99;

bool isModalAlertView(const View& view) {
    if (dynamic_cast<const ModalAlert*>(&view)) {
        return true;
    }
    // An alert controller's dimming view: the alert is listed from the alert registry.
    auto controller = view.viewController();
    return controller && dynamic_cast<const ModalAlert*>(controller.get());
}

// A view hides what lies under it when its background is opaque, or when it is an image view
// stretching a fully opaque picture over itself (a full-screen cover picture).
bool paintsOpaquely(const View& view) {
    if (view.backgroundColor().alpha >= kOpaqueAlpha)
        return true;
    auto image = dynamic_cast<const ImageView*>(&view);
    return image && view.contentMode() == ContentMode::ScaleToFill && image->image().isOpaque();
}

bool coversWhole(const Rect& rect, const Rect& area) {
    constexpr double kSlack = 0.5;
    return rect.minX() <= area.minX() + kSlack && rect.minY() <= area.minY() + kSlack &&
           rect.maxX() >= area.maxX() - kSlack && rect.maxY() >= area.maxY() - kSlack;
}

// A plain view made into a button with a tap recogniser (a tile, a banner). A screen's
// own view, or one over the whole window, that dismisses the keyboard on a tap is not.
bool isTappablePlainView(const View& view, const Rect& visible, const Rect& windowBounds) {
    if (!view.isUserInteractionEnabled() || view.viewController()) {
        return false;
    }
    bool taps = std::any_of(
        view.gestureRecognizers().begin(), view.gestureRecognizers().end(),
        [](const auto& recognizer) {
            return recognizer->isEnabled() &&
                   dynamic_cast<const TapGestureRecognizer*>(recognizer.get()) != nullptr;
        });
    return taps && !coversWhole(visible, windowBounds);
}

template <typename T>
std::shared_ptr<T> enclosing(const View& view) {
    for (auto parent = view.superview(); parent; parent = parent->superview()) {
        if (auto found = std::dynamic_pointer_cast<T>(parent)) {
            return found;
        }
    }
    return nullptr;
}

std::string pathHandle(const std::string& prefix, const IndexPath& path) {
    if (path.section == 0) {
        return prefix + std::to_string(path.row);
    }
    return prefix + std::to_string(path.section) + "." + std::to_string(path.row);
}

// "r", "rb", "rc", ... for the first, second, third table with rows on screen.
std::string nthPrefix(const std::string& base, int ordinal) {
    if (ordinal == 0) {
        return base;
    }
    return base + char('a' + std::min(ordinal, 25));
}

void addText(std::vector<std::string>& texts, const std::string& text) {
    if (!text.empty() && std::find(texts.begin(), texts.end(), text) == texts.end()) {
        texts.push_back(text);
    }
}

}  // namespace

// Walks a window's tree once, front to back in drawing order, collecting entries.
class OutlineBuilder {
public:
    explicit OutlineBuilder(const Rect& windowBounds) : m_windowBounds(windowBounds) {}

    void walkWindow(Window& window) {
        Context context;
        context.clip = m_windowBounds;
        visitChildren(window, context);
    }

    void addKeyboard() {
        if (!Keyboard::isVisible()) {
            return;
        }
        // What lies wholly under the keyboard cannot be seen.
        Rect keyboard = Keyboard::frame();
        for (auto& slot : m_slots) {
            if (slot.entry.view && !slot.entry.visibleRect.isEmpty() &&
                coversWhole(keyboard, slot.entry.visibleRect)) {
                slot.removed = true;
            }
        }
        Slot slot;
        slot.entry.kind = EntryKind::Keyboard;
        slot.entry.line = keyboardDescription(Keyboard::type());
        slot.entry.visibleRect = keyboard;
        m_slots.push_back(std::move(slot));
        // The form bar's keys are read and tapped by their titles; the keys that type are
        // the type command's.
        for (const auto& key : Keyboard::keys()) {
            if (key.kind != KeyboardKey::Kind::Previous && key.kind != KeyboardKey::Kind::Next &&
                key.kind != KeyboardKey::Kind::Done) {
                continue;
            }
            Slot bar;
            bar.entry.kind = EntryKind::KeyboardKey;
            bar.entry.depth = 1;
            bar.entry.line = "button \"";
            bar.entry.line += key.title;
            bar.entry.line += key.enabled ? "\"" : "\" (disabled)";
            bar.entry.visibleRect = key.frame;
            bar.entry.texts.push_back(key.title);
            m_slots.push_back(std::move(bar));
        }
    }

    void addAlerts() {
        const auto& alerts = AlertPresenter::shared().visibleAlerts();
        for (size_t i = 0; i < alerts.size(); ++i) {
            const auto& alert = alerts[i];
            Slot line;
            line.entry.kind = EntryKind::Alert;
            line.entry.line = alert->describeAlert();
            line.entry.alert = alert;
            addText(line.entry.texts, alert->alertTitle());
            addText(line.entry.texts, alert->alertMessage());
            m_slots.push_back(std::move(line));
            // Only the top alert takes the user's taps, so only its parts get handles.
            if (i + 1 != alerts.size()) {
                continue;
            }
            auto fields = alert->alertTextFields();
            for (size_t f = 0; f < fields.size(); ++f) {
                Slot slot;
                slot.entry.kind = EntryKind::AlertField;
                slot.entry.depth = 1;
                slot.entry.line = fields[f]->describe();
                slot.entry.alert = alert;
                slot.entry.alertIndex = int(f);
                slot.entry.alertField = fields[f];
                slot.computedHandle = "af" + std::to_string(f);
                addText(slot.entry.texts, fields[f]->placeholder());
                if (!fields[f]->isSecureTextEntry()) {
                    addText(slot.entry.texts, fields[f]->text());
                }
                m_slots.push_back(std::move(slot));
            }
            auto buttons = alert->buttonTitles();
            for (size_t b = 0; b < buttons.size(); ++b) {
                Slot slot;
                slot.entry.kind = EntryKind::AlertButton;
                slot.entry.depth = 1;
                // Appended piece by piece: GCC 12's false -Wrestrict (see CMakeLists.txt).
                slot.entry.line = "button \"";
                slot.entry.line += buttons[b];
                slot.entry.line += '"';
                slot.entry.alert = alert;
                slot.entry.alertIndex = int(b);
                slot.computedHandle.assign(1, 'a').append(std::to_string(b));
                slot.entry.texts.push_back(buttons[b]);
                m_slots.push_back(std::move(slot));
            }
        }
    }

    ScreenOutline finish() {
        bringNavigationBarsForward();
        assignHandles();
        ScreenOutline outline;
        for (auto& slot : m_slots) {
            if (!slot.removed) {
                outline.m_entries.push_back(std::move(slot.entry));
            }
        }
        for (auto& [view, removed] : m_views) {
            if (!removed) {
                outline.m_visibleViews.push_back(view);
            }
        }
        for (auto& [scrollView, removed] : m_scrollViews) {
            if (!removed) {
                outline.m_scrollViews.push_back(scrollView);
            }
        }
        return outline;
    }

private:
    struct Slot {
        OutlineEntry entry;
        bool removed = false;
        // For views: the prefix of the handle a view without one gets.
        std::string prefix;
        // Handles that come from the entry's place (rows, tiles, alert parts), not the view.
        std::string computedHandle;
    };

    struct Context {
        int depth = 0;
        Rect clip;
        double alpha = 1;
        // The entry that collects the texts of plain labels below (a row, a bar, an overlay).
        int foldInto = -1;
    };

    void visitChildren(View& view, const Context& context) {
        // A copy: nothing here changes the tree, but describe() may be user code.
        auto subviews = view.subviews();
        for (auto& subview : subviews) {
            visit(subview, context);
        }
    }

    void visit(const std::shared_ptr<View>& view, const Context& parent) {
        if (view->isHidden() || view->alpha() < kInvisibleAlpha || isModalAlertView(*view)) {
            return;
        }
        Rect inWindow = view->convertRectTo(view->bounds(), nullptr);
        Rect visible = inWindow.intersection(parent.clip);
        bool shows = !visible.isEmpty();
        if (view->clipsToBounds() && !shows) {
            return;
        }
        Context context = parent;
        context.alpha = parent.alpha * view->alpha();
        if (view->clipsToBounds()) {
            context.clip = visible;
        }
        if (shows) {
            if (context.alpha >= kOpaqueAlpha && paintsOpaquely(*view) &&
                view->transform().isIdentity() && coversWhole(visible, m_windowBounds)) {
                coverEverythingBelow(*view);
            }
            m_views.emplace_back(view, false);
        }
        classify(view, shows ? visible : Rect{}, context);
    }

    void classify(const std::shared_ptr<View>& view, const Rect& visible, Context context) {
        bool shows = !visible.isEmpty();
        View& v = *view;

        if (auto bar = dynamic_cast<NavigationBar*>(&v)) {
            auto top = bar->topItem();
            int index = shows ? add(EntryKind::NavigationBar, view, visible, context.depth,
                                    bar->describe(), "")
                              : -1;
            if (index >= 0 && top) {
                addText(m_slots[size_t(index)].entry.texts, top->title());
            }
            descendInto(v, context, index);
            return;
        }
        if (dynamic_cast<TabBar*>(&v)) {
            int index =
                shows ? add(EntryKind::TabBar, view, visible, context.depth, v.describe(), "") : -1;
            descendInto(v, context, index);
            return;
        }
        if (auto tab = dynamic_cast<TabBarButton*>(&v)) {
            if (shows) {
                int index = add(EntryKind::Tab, view, visible, context.depth, v.describe(), "tab");
                if (tab->item()) {
                    addText(m_slots[size_t(index)].entry.texts, tab->item()->title());
                }
            }
            collectVisible(v, context);
            return;
        }
        if (auto cell = dynamic_cast<TableViewCell*>(&v)) {
            auto table = enclosing<TableView>(v);
            auto path = table ? table->indexPathForCell(*cell) : std::nullopt;
            if (path) {
                int index =
                    shows ? add(EntryKind::Row, view, visible, context.depth, v.describe(), "")
                          : -1;
                if (index >= 0) {
                    auto& slot = m_slots[size_t(index)];
                    slot.entry.indexPath = path;
                    slot.computedHandle = pathHandle(rowPrefix(table.get()), *path);
                }
                descendInto(v, context, index);
                return;
            }
        }
        if (auto cell = dynamic_cast<CollectionViewCell*>(&v)) {
            auto collection = enclosing<CollectionView>(v);
            auto path = collection ? collection->indexPathForCell(*cell) : std::nullopt;
            if (path) {
                int index =
                    shows ? add(EntryKind::Tile, view, visible, context.depth, v.describe(), "")
                          : -1;
                if (index >= 0) {
                    auto& slot = m_slots[size_t(index)];
                    slot.entry.indexPath = path;
                    slot.computedHandle = pathHandle(tilePrefix(collection.get()), *path);
                }
                descendInto(v, context, index);
                return;
            }
        }
        if (auto field = dynamic_cast<TextField*>(&v)) {
            if (shows) {
                int index = add(EntryKind::Field, view, visible, context.depth, v.describe(), "f");
                auto& texts = m_slots[size_t(index)].entry.texts;
                addText(texts, field->placeholder());
                if (!field->isSecureTextEntry()) {
                    addText(texts, field->text());
                }
            }
            collectVisible(v, context);
            return;
        }
        if (auto textView = dynamic_cast<TextView*>(&v)) {
            if (shows) {
                int index = add(EntryKind::Field, view, visible, context.depth, v.describe(), "f");
                addText(m_slots[size_t(index)].entry.texts, textView->text());
            }
            collectVisible(v, context);
            return;
        }
        if (auto web = dynamic_cast<WebView*>(&v)) {
            int index =
                shows ? add(EntryKind::Web, view, visible, context.depth, v.describe(), "w") : -1;
            Context inner = context;
            inner.depth = index >= 0 ? context.depth + 1 : context.depth;
            inner.foldInto = -1;
            // The page's scroller is part of the web view, not a line of its own; what
            // screens add to it (a refresh header) is.
            auto subviews = v.subviews();
            for (auto& subview : subviews) {
                if (subview == web->scrollView()) {
                    visitPageScroller(web->scrollView(), inner);
                } else {
                    visit(subview, inner);
                }
            }
            return;
        }
        if (auto scroll = std::dynamic_pointer_cast<ScrollView>(view)) {
            int index =
                shows ? add(EntryKind::Scroll, view, visible, context.depth, v.describe(), "s")
                      : -1;
            if (shows) {
                m_scrollViews.emplace_back(scroll, false);
            }
            Context inner = context;
            if (index >= 0) {
                inner.depth = context.depth + 1;
                inner.foldInto = -1;
            }
            // Tables and collections keep their cells in no particular order; a reader
            // wants them top to bottom, left to right.
            auto subviews = v.subviews();
            if (dynamic_cast<TableView*>(&v) || dynamic_cast<CollectionView*>(&v)) {
                std::stable_sort(subviews.begin(), subviews.end(),
                                 [](const auto& a, const auto& b) {
                                     Rect fa = a->frame();
                                     Rect fb = b->frame();
                                     return fa.minY() < fb.minY() ||
                                            (fa.minY() == fb.minY() && fa.minX() < fb.minX());
                                 });
            }
            for (auto& subview : subviews) {
                visit(subview, inner);
            }
            return;
        }
        if (auto button = dynamic_cast<Button*>(&v)) {
            if (shows) {
                int index = add(EntryKind::Button, view, visible, context.depth, v.describe(), "b");
                addText(m_slots[size_t(index)].entry.texts, button->currentTitle());
            }
            collectVisible(v, context);
            return;
        }
        if (dynamic_cast<Control*>(&v)) {
            std::string line = v.describe();
            int index = shows ? add(EntryKind::Control, view, visible, context.depth,
                                    line == "view" ? "control" : line, "c")
                              : -1;
            descendInto(v, context, index);
            return;
        }
        if (auto label = dynamic_cast<Label*>(&v)) {
            if (shows && !label->text().empty()) {
                if (context.foldInto >= 0) {
                    fold(context.foldInto, label->text());
                } else {
                    int index =
                        add(EntryKind::Label, view, visible, context.depth, v.describe(), "l");
                    addText(m_slots[size_t(index)].entry.texts, label->text());
                }
            }
            visitChildren(v, context);
            return;
        }
        if (auto image = dynamic_cast<ImageView*>(&v)) {
            // Pictures inside a row or an overlay are part of it.
            if (shows && context.foldInto < 0 && !image->displayedImage().isNull()) {
                add(EntryKind::Image, view, visible, context.depth, v.describe(), "i");
            }
            visitChildren(v, context);
            return;
        }

        std::string line = v.describe();
        bool tappable = isTappablePlainView(v, visible, m_windowBounds);
        if (line == "view" && !tappable) {
            // A plain container: its content stands for it.
            visitChildren(v, context);
            return;
        }
        if (context.foldInto >= 0 && !tappable) {
            // Decoration inside a row or an overlay (its spinner, say) is part of it.
            visitChildren(v, context);
            return;
        }
        if (line == "view") {
            line = "view (tappable)";
        }
        int index = shows ? add(EntryKind::View, view, visible, context.depth, line, "v") : -1;
        descendInto(v, context, index);
    }

    // The children of a view that has (or would have had) an entry: one level deeper, with
    // plain labels folded into the entry when `fold` is set.
    void descendInto(View& view, const Context& context, int index, bool fold = true) {
        Context inner = context;
        if (index >= 0) {
            inner.depth = context.depth + 1;
            inner.foldInto = fold ? index : -1;
        }
        visitChildren(view, inner);
    }

    void visitPageScroller(const std::shared_ptr<ScrollView>& scroll, const Context& context) {
        if (scroll->isHidden() || scroll->alpha() < kInvisibleAlpha) {
            return;
        }
        Rect visible = scroll->convertRectTo(scroll->bounds(), nullptr).intersection(context.clip);
        if (visible.isEmpty()) {
            return;
        }
        m_views.emplace_back(scroll, false);
        m_scrollViews.emplace_back(scroll, false);
        Context inner = context;
        inner.alpha = context.alpha * scroll->alpha();
        inner.clip = visible;
        visitChildren(*scroll, inner);
    }

    // An atomic entry's inner views (a button's title label) show, but are not lines.
    void collectVisible(View& view, const Context& context) {
        auto subviews = view.subviews();
        for (auto& subview : subviews) {
            if (subview->isHidden() || subview->alpha() < kInvisibleAlpha) {
                continue;
            }
            Rect visible =
                subview->convertRectTo(subview->bounds(), nullptr).intersection(context.clip);
            if (!visible.isEmpty()) {
                m_views.emplace_back(subview, false);
            }
            Context inner = context;
            if (subview->clipsToBounds()) {
                if (visible.isEmpty()) {
                    continue;
                }
                inner.clip = visible;
            }
            collectVisible(*subview, inner);
        }
    }

    int add(EntryKind kind, const std::shared_ptr<View>& view, const Rect& visible, int depth,
            std::string line, std::string prefix) {
        Slot slot;
        slot.entry.kind = kind;
        slot.entry.depth = depth;
        slot.entry.line = std::move(line);
        slot.entry.view = view;
        slot.entry.visibleRect = visible;
        slot.prefix = std::move(prefix);
        if (view) {
            addText(slot.entry.texts, view->accessibilityLabel());
        }
        m_slots.push_back(std::move(slot));
        return int(m_slots.size()) - 1;
    }

    void fold(int index, const std::string& text) {
        auto& entry = m_slots[size_t(index)].entry;
        if (std::find(entry.texts.begin(), entry.texts.end(), text) != entry.texts.end()) {
            return;
        }
        entry.texts.push_back(text);
        // An overlay that already says its text (in its describe()) does not say it twice.
        if (entry.line.find(text) == std::string::npos) {
            entry.line += " \"" + text + "\"";
        }
    }

    std::string rowPrefix(const TableView* table) { return prefixFor(m_tables, table, "r"); }
    std::string tilePrefix(const CollectionView* collection) {
        return prefixFor(m_collections, collection, "t");
    }
    static std::string prefixFor(std::map<const View*, int>& seen, const View* view,
                                 const std::string& base) {
        auto [it, inserted] = seen.emplace(view, int(seen.size()));
        return nthPrefix(base, it->second);
    }

    // An opaque view over the whole window: nothing drawn before it shows, except the
    // containers it sits in.
    void coverEverythingBelow(const View& cover) {
        for (auto& slot : m_slots) {
            if (!slot.entry.view || !cover.isDescendantOf(slot.entry.view.get())) {
                slot.removed = true;
            }
        }
        for (auto& [view, removed] : m_views) {
            if (!cover.isDescendantOf(view.get())) {
                removed = true;
            }
        }
        for (auto& [scroll, removed] : m_scrollViews) {
            if (!cover.isDescendantOf(scroll.get())) {
                removed = true;
            }
        }
    }

    // The navigation bar heads the outline, whatever its place in the drawing order.
    void bringNavigationBarsForward() {
        std::vector<Slot> bars;
        std::vector<Slot> rest;
        for (size_t i = 0; i < m_slots.size();) {
            if (m_slots[i].removed || m_slots[i].entry.kind != EntryKind::NavigationBar) {
                rest.push_back(std::move(m_slots[i]));
                ++i;
                continue;
            }
            int base = m_slots[i].entry.depth;
            size_t end = i + 1;
            while (end < m_slots.size() && m_slots[end].entry.depth > base &&
                   m_slots[end].entry.kind != EntryKind::Keyboard &&
                   m_slots[end].entry.kind != EntryKind::Alert) {
                ++end;
            }
            for (size_t j = i; j < end; ++j) {
                m_slots[j].entry.depth -= base;
                bars.push_back(std::move(m_slots[j]));
            }
            i = end;
        }
        for (auto& slot : rest) {
            bars.push_back(std::move(slot));
        }
        m_slots = std::move(bars);
    }

    void assignHandles() {
        std::set<std::string> claimed;
        std::vector<Slot*> fresh;
        for (auto& slot : m_slots) {
            if (slot.removed) {
                continue;
            }
            std::string wanted = slot.computedHandle;
            if (wanted.empty() && !slot.prefix.empty() && slot.entry.view) {
                wanted = slot.entry.view->handle();
            }
            if (!wanted.empty() && claimed.insert(wanted).second) {
                slot.entry.handle = wanted;
            } else if (!slot.prefix.empty()) {
                fresh.push_back(&slot);
            }
        }
        for (Slot* slot : fresh) {
            std::string handle;
            for (int n = 1;; ++n) {
                handle = slot->prefix + std::to_string(n);
                if (!claimed.contains(handle)) {
                    break;
                }
            }
            claimed.insert(handle);
            slot->entry.handle = handle;
            // Kept on the view, so the next outline names it the same.
            slot->entry.view->setHandle(handle);
        }
    }

    Rect m_windowBounds;
    std::vector<Slot> m_slots;
    std::vector<std::pair<std::shared_ptr<View>, bool>> m_views;
    std::vector<std::pair<std::shared_ptr<ScrollView>, bool>> m_scrollViews;
    std::map<const View*, int> m_tables;
    std::map<const View*, int> m_collections;
};

ScreenOutline ScreenOutline::capture(const std::shared_ptr<Window>& window) {
    Rect bounds = window ? window->bounds() : Rect{};
    OutlineBuilder builder(bounds);
    if (window && !window->isHidden()) {
        window->layoutIfNeeded();
        builder.walkWindow(*window);
    }
    builder.addKeyboard();
    builder.addAlerts();
    return builder.finish();
}

std::string ScreenOutline::text() const {
    // Lines carry what servers and pages sent (titles, messages): escaped, so that text can
    // neither drive the terminal the outline is printed on nor start a line of its own.
    std::string out;
    for (const auto& entry : m_entries) {
        out.append(size_t(entry.depth) * 2, ' ');
        if (!entry.handle.empty()) {
            out.append(terminalSafeText(entry.handle));
            out.append("  ");
        }
        out.append(terminalSafeText(entry.line));
        out.push_back('\n');
    }
    return out;
}

const OutlineEntry* ScreenOutline::findHandle(const std::string& handle) const {
    if (handle.empty()) {
        return nullptr;
    }
    for (const auto& entry : m_entries) {
        if (entry.handle == handle) {
            return &entry;
        }
    }
    return nullptr;
}

const OutlineEntry* ScreenOutline::findText(const std::string& text, bool alertsOnly) const {
    if (text.empty()) {
        return nullptr;
    }
    auto searched = [&](const OutlineEntry& entry) {
        return !alertsOnly || entry.kind == EntryKind::AlertButton ||
               entry.kind == EntryKind::AlertField;
    };
    for (const auto& entry : m_entries) {
        if (searched(entry) &&
            std::find(entry.texts.begin(), entry.texts.end(), text) != entry.texts.end()) {
            return &entry;
        }
    }
    for (const auto& entry : m_entries) {
        if (searched(entry) &&
            std::any_of(entry.texts.begin(), entry.texts.end(), [&](const std::string& shown) {
                return shown.find(text) != std::string::npos;
            })) {
            return &entry;
        }
    }
    return nullptr;
}

const OutlineEntry* ScreenOutline::findView(const View* view) const {
    for (const View* v = view; v; v = v->superview().get()) {
        for (const auto& entry : m_entries) {
            if (entry.view.get() == v) {
                return &entry;
            }
        }
    }
    return nullptr;
}

}  // namespace platform::testing
