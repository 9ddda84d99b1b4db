#include "webcontainer/BigScrollView.h"

#include <cmath>

#include "platform/graphics/Image.h"
#include "webcontainer/DataHandle.h"
#include "webcontainer/ZoomScrollView.h"

BigScrollView::BigScrollView(const platform::Rect& frame) : platform::ScrollView(frame) {}

std::shared_ptr<BigScrollView> BigScrollView::initWithFrame(
    const platform::Rect& frame, const std::vector<platform::Image>& images) {
    auto pager = platform::View::make<BigScrollView>(frame);
    const double width = frame.size.width, height = frame.size.height;
    pager->setContentSize({width * static_cast<double>(images.size()), height});
    pager->setPagingEnabled(true);
    pager->setContentOffset({width * DataHandle::sharePageIndex().pageIndex(), 0}, true);
    pager->m_imagesCount = static_cast<std::uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        auto page = ZoomScrollView::initWithFrame(
            platform::Rect{{width * static_cast<double>(i), 0}, {width, height}}, images[i]);
        pager->addSubview(page);
        pager->m_pages.push_back(page);
    }
    pager->setDelegate(std::weak_ptr<platform::ScrollViewDelegate>(pager));
    return pager;
}

std::int32_t BigScrollView::pageIndexAt(double offsetX, double width) {
    if (!(width > 0))
        return 0;
    return static_cast<std::int32_t>(
        std::trunc((offsetX - width - std::floor(width / 2)) / width + 2));
}

void BigScrollView::scrollViewDidScroll(platform::ScrollView& /*scrollView*/) {
    m_currentIndex = pageIndexAt(contentOffset().x, frame().size.width);
}

void BigScrollView::scrollViewDidEndDecelerating(platform::ScrollView& /*scrollView*/) {
    // A bounce past either end can put the middle beyond the pages: there is no page to show.
    if (m_currentIndex < 0 || static_cast<size_t>(m_currentIndex) >= m_pages.size())
        return;
    if (auto delegate = myDelegate())
        delegate->changePageIndex(m_currentIndex);
    const auto& page = m_pages[static_cast<size_t>(m_currentIndex)];
    if (page != m_lastZoonView) {
        if (m_lastZoonView)
            m_lastZoonView->setZoomScale(1.0);
        m_lastZoonView = page;
    }
}
