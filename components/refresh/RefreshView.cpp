#include "components/refresh/RefreshView.h"

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Font.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"

namespace platform::components {

namespace {

// The spinner stands this far left of the strip's middle, beside the centred text.
constexpr double kSpinnerOffset = 100;
const Color kTextColor = Color::rgba(90 / 255.0f, 90 / 255.0f, 90 / 255.0f);

}  // namespace

RefreshView::RefreshView(double height) : View(Rect{{0, 0}, {0, height}}) {
    setBackgroundColor(Color::clear());
    setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    m_label = View::make<Label>();
    m_label->setFont(Font::boldSystemFont(13));
    m_label->setTextColor(kTextColor);
    m_label->setTextAlignment(TextAlignment::Center);
    m_label->setBackgroundColor(Color::clear());
    addSubview(m_label);
    m_spinner = View::make<ActivityIndicatorView>(ActivityIndicatorViewStyle::Gray);
    addSubview(m_spinner);
}

RefreshView::~RefreshView() = default;

ScrollView* RefreshView::scrollView() const {
    return dynamic_cast<ScrollView*>(superview().get());
}

bool RefreshView::isRefreshing() const {
    return m_state == RefreshState::Refreshing || m_state == RefreshState::WillRefresh;
}

std::string RefreshView::stateText() const {
    return textFor(m_state);
}

std::string RefreshView::describe() const {
    return kind() + ": " + stateText();
}

void RefreshView::setState(RefreshState state) {
    m_state = state;
    m_label->setText(textFor(state));
    if (isRefreshing()) {
        m_spinner->startAnimating();
    } else {
        m_spinner->stopAnimating();
    }
}

void RefreshView::layoutSubviews() {
    Rect bounds = this->bounds();
    m_label->setFrame(bounds);
    m_spinner->setCenter({bounds.midX() - kSpinnerOffset, bounds.midY()});
}

// --- Refreshing ---------------------------------------------------------------------------

void RefreshView::beginRefreshing() {
    ScrollView* scrollView = this->scrollView();
    if (!scrollView || isHidden() || isRefreshing()) {
        return;
    }
    if (!scrollView->window()) {
        ++m_generation;
        setState(RefreshState::WillRefresh);
        return;
    }
    startRefreshing(*scrollView);
    reveal(*scrollView);
}

void RefreshView::startRefreshing(ScrollView& scrollView) {
    ++m_generation;
    m_addedInset = addInset(scrollView);
    setState(RefreshState::Refreshing);
    // Never from inside the gesture or the caller's own call: the callback usually starts
    // a request whose completion ends the refresh.
    std::weak_ptr<View> weak = weak_from_this();
    RunLoop::main().post([weak, generation = m_generation] {
        auto self = std::static_pointer_cast<RefreshView>(weak.lock());
        if (!self || self->m_generation != generation ||
            self->m_state != RefreshState::Refreshing) {
            return;
        }
        // A copy: the callback may replace itself.
        auto callback = self->refreshingCallback;
        if (callback) {
            callback();
        }
    });
}

void RefreshView::endRefreshing() {
    if (!isRefreshing()) {
        return;
    }
    ++m_generation;
    setState(RefreshState::Idle);
    if (ScrollView* scrollView = this->scrollView()) {
        giveBackInset(*scrollView);
    }
}

void RefreshView::giveBackInset(ScrollView& scrollView) {
    if (m_addedInset == 0) {
        return;
    }
    removeInset(scrollView, m_addedInset);
    m_addedInset = 0;
    // A finger holding the content keeps it where it is; lifting settles it.
    if (!scrollView.isDragging()) {
        settle(scrollView);
    }
}

void RefreshView::setHidden(bool hidden) {
    if (hidden) {
        endRefreshing();
        if (m_state == RefreshState::Pulling) {
            setState(RefreshState::Idle);
        }
    }
    View::setHidden(hidden);
}

// --- Place in the scroll view ---------------------------------------------------------------

void RefreshView::observe(ScrollView* scrollView) {
    if (!scrollView) {
        return;
    }
    scrollView->removeObserver(this);
    auto self = std::static_pointer_cast<RefreshView>(shared_from_this());
    scrollView->addObserver(std::static_pointer_cast<ScrollViewObserver>(self));
    place(*scrollView);
}

void RefreshView::willMoveToSuperview(View* newSuperview) {
    ScrollView* old = scrollView();
    if (!old || newSuperview == old) {
        return;
    }
    old->removeObserver(this);
    ++m_generation;
    if (m_state == RefreshState::Refreshing) {
        giveBackInset(*old);
    }
    setState(RefreshState::Idle);
}

void RefreshView::didMoveToSuperview() {
    observe(scrollView());
    setState(m_state);
}

void RefreshView::didMoveToWindow() {
    ScrollView* scrollView = this->scrollView();
    if (m_state != RefreshState::WillRefresh || !scrollView || !window()) {
        return;
    }
    startRefreshing(*scrollView);
    reveal(*scrollView);
}

// --- Observing the scroll view --------------------------------------------------------------

void RefreshView::scrollViewDidScroll(ScrollView& scrollView) {
    place(scrollView);
    if (isHidden() || isRefreshing() || !scrollView.isDragging()) {
        return;
    }
    bool beyond = pulledDistance(scrollView) > bounds().size.height;
    if (m_state == RefreshState::Idle && beyond) {
        setState(RefreshState::Pulling);
    } else if (m_state == RefreshState::Pulling && !beyond) {
        setState(RefreshState::Idle);
    }
}

void RefreshView::scrollViewDidEndDragging(ScrollView& scrollView) {
    if (m_state == RefreshState::Pulling && !isHidden()) {
        startRefreshing(scrollView);
    }
}

void RefreshView::scrollViewDidChangeContentSize(ScrollView& scrollView) {
    place(scrollView);
}

}  // namespace platform::components
