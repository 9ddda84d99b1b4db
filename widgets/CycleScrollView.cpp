#include "widgets/CycleScrollView.h"

#include <cmath>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "widgets/TimerAddition.h"

namespace {

constexpr int kPlaces = 3;  // previous, current, next

// The banner's tap on one page view. A view the fetch block hands out again keeps the one it
// has, so a tap reports once however often the view was arranged.
class PageTapRecognizer : public platform::TapGestureRecognizer {
public:
    explicit PageTapRecognizer(std::weak_ptr<const CycleScrollView> banner, Action action)
        : TapGestureRecognizer(std::move(action)), m_banner(std::move(banner)) {}

    bool belongsTo(const CycleScrollView& banner) const { return m_banner.lock().get() == &banner; }

private:
    std::weak_ptr<const CycleScrollView> m_banner;
};

}  // namespace

std::shared_ptr<CycleScrollView> CycleScrollView::create(const platform::Rect& frame) {
    auto banner = std::make_shared<CycleScrollView>(Token{}, frame);
    banner->m_scrollView->setDelegate(
        std::static_pointer_cast<platform::ScrollViewDelegate>(banner));
    return banner;
}

std::shared_ptr<CycleScrollView> CycleScrollView::create(const platform::Rect& frame,
                                                         double animationDuration) {
    auto banner = create(frame);
    if (animationDuration > 0)
        banner->pauseTimerWith(animationDuration);
    return banner;
}

CycleScrollView::CycleScrollView(Token, const platform::Rect& frame) : View(frame) {
    using platform::AutoresizingMask;
    setAutoresizesSubviews(true);
    m_scrollView = View::make<platform::ScrollView>(bounds());
    m_scrollView->setAutoresizingMask(
        AutoresizingMask::FlexibleLeftMargin | AutoresizingMask::FlexibleWidth |
        AutoresizingMask::FlexibleRightMargin | AutoresizingMask::FlexibleTopMargin |
        AutoresizingMask::FlexibleHeight | AutoresizingMask::FlexibleBottomMargin);
    m_scrollView->setContentMode(platform::ContentMode::Center);
    const platform::Size size = m_scrollView->bounds().size;
    m_scrollView->setContentSize({kPlaces * size.width, size.height});
    m_scrollView->setContentOffset({size.width, 0});
    m_scrollView->setPagingEnabled(true);
    addSubview(m_scrollView);
    m_currentPageIndex = 0;
}

CycleScrollView::~CycleScrollView() {
    stop();
}

void CycleScrollView::pauseTimerWith(double seconds) {
    stop();
    m_animationDuration = seconds;
    // The timer holds the banner weakly: a banner let go without stop() still stops it.
    std::weak_ptr<CycleScrollView> weakSelf =
        std::static_pointer_cast<CycleScrollView>(shared_from_this());
    m_animationTimer = platform::RunLoop::main().scheduleTimer(
        platform::seconds(seconds), true, [weakSelf](platform::Timer& timer) {
            if (auto banner = weakSelf.lock())
                banner->animationTimerDidFired();
            else
                timer.invalidate();
        });
    pauseTimer(*m_animationTimer);
}

void CycleScrollView::stop() {
    if (m_animationTimer)
        m_animationTimer->invalidate();
    m_animationTimer.reset();
}

void CycleScrollView::setTotalPagesCount(const PageCountBlock& block) {
    const long count = block ? block() : 0;
    m_totalPageCount = count > 0 ? count : 0;
    if (m_totalPageCount < 1)
        return;
    configContentViews();
    if (m_animationTimer)
        resumeTimerAfterTimeInterval(*m_animationTimer, m_animationDuration);
}

double CycleScrollView::pageWidth() const {
    return m_scrollView->bounds().size.width;
}

long CycleScrollView::getValidNextPageIndexWithPageIndex(long index) const {
    if (index == -1)
        return m_totalPageCount - 1;
    if (index == m_totalPageCount)
        return 0;
    return index;
}

void CycleScrollView::setScrollViewContentDataSource() {
    const long previous = getValidNextPageIndexWithPageIndex(m_currentPageIndex - 1);
    const long next = getValidNextPageIndexWithPageIndex(m_currentPageIndex + 1);
    m_contentViews.clear();
    if (!fetchContentViewAtIndex)
        return;
    for (long index : {previous, m_currentPageIndex, next})
        m_contentViews.push_back(fetchContentViewAtIndex(index));
}

void CycleScrollView::configContentViews() {
    // Copied first: removing a view from its superview edits the list being walked.
    const auto placed = m_scrollView->subviews();
    for (const auto& view : placed) view->removeFromSuperview();
    setScrollViewContentDataSource();
    const double width = pageWidth();
    for (size_t place = 0; place < m_contentViews.size(); ++place) {
        const auto& view = m_contentViews[place];
        if (!view)
            continue;
        view->setUserInteractionEnabled(true);
        attachTapRecognizer(*view);
        const platform::Size size = view->frame().size;
        view->setFrame({{static_cast<double>(place) * width, 0}, size});
        m_scrollView->addSubview(view);
    }
    m_scrollView->setContentOffset({width, 0});
}

void CycleScrollView::attachTapRecognizer(platform::View& view) {
    // Copied: removing a recogniser edits the list being walked.
    const auto recognizers = view.gestureRecognizers();
    for (const auto& recognizer : recognizers) {
        auto tap = std::dynamic_pointer_cast<PageTapRecognizer>(recognizer);
        if (!tap)
            continue;
        if (tap->belongsTo(*this))
            return;
        // The view has moved here from another banner: its taps are ours now.
        view.removeGestureRecognizer(tap.get());
    }
    std::weak_ptr<CycleScrollView> weakSelf =
        std::static_pointer_cast<CycleScrollView>(shared_from_this());
    view.addGestureRecognizer(
        std::make_shared<PageTapRecognizer>(weakSelf, [weakSelf](platform::GestureRecognizer&) {
            if (auto banner = weakSelf.lock())
                banner->contentViewTapAction();
        }));
}

void CycleScrollView::scrollViewDidScroll(platform::ScrollView& scrollView) {
    // Before there are pages the index rules have nothing to wrap around, and a banner
    // without width has no pages to turn.
    const double width = scrollView.bounds().size.width;
    if (m_totalPageCount < 1 || width <= 0)
        return;
    const double x = std::trunc(scrollView.contentOffset().x);
    if (x >= 2 * width) {
        m_currentPageIndex = getValidNextPageIndexWithPageIndex(m_currentPageIndex + 1);
        configContentViews();
    }
    if (x <= 0) {
        m_currentPageIndex = getValidNextPageIndexWithPageIndex(m_currentPageIndex - 1);
        configContentViews();
    }
}

void CycleScrollView::scrollViewWillBeginDragging(platform::ScrollView& /*scrollView*/) {
    if (m_animationTimer)
        pauseTimer(*m_animationTimer);
}

void CycleScrollView::scrollViewDidEndDragging(platform::ScrollView& /*scrollView*/,
                                               bool /*willDecelerate*/) {
    if (m_animationTimer)
        resumeTimerAfterTimeInterval(*m_animationTimer, m_animationDuration);
}

void CycleScrollView::scrollViewDidEndDecelerating(platform::ScrollView& scrollView) {
    scrollView.setContentOffset({pageWidth(), 0}, true);
}

void CycleScrollView::animationTimerDidFired() {
    const platform::Point offset = m_scrollView->contentOffset();
    m_scrollView->setContentOffset({offset.x + pageWidth(), offset.y}, true);
}

void CycleScrollView::contentViewTapAction() {
    if (TapActionBlock)
        TapActionBlock(m_currentPageIndex);
}
