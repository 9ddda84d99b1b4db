#include "webcontainer/RootViewController.h"

#include "platform/ui/PageControl.h"
#include "platform/ui/Screen.h"
#include "webcontainer/DataHandle.h"

namespace {
// Under the navigation bar of the pushed screen.
constexpr double kNavigationBarHeight = 64;
}  // namespace

std::string RootViewController::pageTitle(long index) {
    return "第" + std::to_string(index + 1) + "页";
}

void RootViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    m_bigScrollView = BigScrollView::initWithFrame(platform::Screen::main().bounds(), m_myArray);
    view()->addSubview(m_bigScrollView);
    m_bigScrollView->setMyDelegate(std::weak_ptr<BigScrollViewDelegate>(
        std::static_pointer_cast<RootViewController>(shared_from_this())));

    const long start = DataHandle::sharePageIndex().pageIndex();
    setTitle(pageTitle(start));

    const platform::Size pager = m_bigScrollView->frame().size;
    m_pageControl = platform::View::make<platform::PageControl>(
        platform::Rect{{0, pager.height - kNavigationBarHeight - kIndicatorHeight},
                       {pager.width, kIndicatorHeight}});
    m_pageControl->setPageIndicatorTintColor(platform::Color::blueColor());
    m_pageControl->setCurrentPageIndicatorTintColor(platform::Color::redColor());
    m_pageControl->setNumberOfPages(static_cast<int>(m_myArray.size()));
    m_pageControl->setCurrentPage(static_cast<int>(start));
    view()->addSubview(m_pageControl);
}

void RootViewController::changePageIndex(long index) {
    if (m_pageControl)
        m_pageControl->setCurrentPage(static_cast<int>(index));
    setTitle(pageTitle(index));
}
