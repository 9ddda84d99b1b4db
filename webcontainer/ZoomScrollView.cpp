#include "webcontainer/ZoomScrollView.h"

#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"

ZoomScrollView::ZoomScrollView(const platform::Rect& frame) : platform::ScrollView(frame) {
    setMinimumZoomScale(kMinimumZoom);
    setMaximumZoomScale(kMaximumZoom);
}

std::shared_ptr<ZoomScrollView> ZoomScrollView::initWithFrame(const platform::Rect& frame,
                                                              const platform::Image& image) {
    auto page = platform::View::make<ZoomScrollView>(frame);
    page->setDelegate(std::weak_ptr<platform::ScrollViewDelegate>(page));
    page->m_imageView =
        platform::View::make<platform::ImageView>(platform::Rect{{0, 0}, frame.size});
    page->m_imageView->setImage(image);
    page->m_imageView->setContentMode(platform::ContentMode::ScaleAspectFill);
    page->addSubview(page->m_imageView);
    return page;
}

std::shared_ptr<platform::View> ZoomScrollView::viewForZoomingInScrollView(platform::ScrollView&) {
    return m_imageView;
}

void ZoomScrollView::scrollViewDidZoom(platform::ScrollView& /*scrollView*/) {
    if (m_imageView && zoomScale() <= 1.0) {
        const platform::Size size = frame().size;
        m_imageView->setCenter({size.width / 2, size.height / 2});
    }
}
