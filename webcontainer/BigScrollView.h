#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/ScrollView.h"
#include "platform/ui/ScrollViewDelegate.h"

namespace platform {
class Image;
}

class ZoomScrollView;

// Hears which page of the preview came to rest.
class BigScrollViewDelegate {
public:
    virtual ~BigScrollViewDelegate() = default;
    virtual void changePageIndex(long index) = 0;
};

// The image preview's horizontal pager: one zoomable page per image, a view's width each.
// When a swipe comes to rest it tells its delegate the page and sets the zoom of the page seen
// before back to 1.
class BigScrollView : public platform::ScrollView, public platform::ScrollViewDelegate {
public:
    explicit BigScrollView(const platform::Rect& frame);
    // The pager with a page per image, on the shared start page; its own scroll delegate.
    static std::shared_ptr<BigScrollView> initWithFrame(const platform::Rect& frame,
                                                        const std::vector<platform::Image>& images);

    // The page shown when scrolling last came to rest; null before any swipe.
    const std::shared_ptr<ZoomScrollView>& lastZoonView() const { return m_lastZoonView; }
    std::uint32_t imagesCount() const { return m_imagesCount; }
    // The page under the middle of the view.
    std::int32_t currentIndex() const { return m_currentIndex; }
    std::shared_ptr<BigScrollViewDelegate> myDelegate() const { return m_myDelegate.lock(); }
    void setMyDelegate(std::weak_ptr<BigScrollViewDelegate> delegate) {
        m_myDelegate = std::move(delegate);
    }
    // The pages in order.
    const std::vector<std::shared_ptr<ZoomScrollView>>& pages() const { return m_pages; }

    // The page that covers the middle of a view `width` wide scrolled to `offsetX`.
    static std::int32_t pageIndexAt(double offsetX, double width);

    void scrollViewDidScroll(platform::ScrollView& scrollView) override;
    void scrollViewDidEndDecelerating(platform::ScrollView& scrollView) override;

private:
    std::shared_ptr<ZoomScrollView> m_lastZoonView;
    std::uint32_t m_imagesCount{0};
    std::int32_t m_currentIndex{0};
    std::weak_ptr<BigScrollViewDelegate> m_myDelegate;
    std::vector<std::shared_ptr<ZoomScrollView>> m_pages;
};
