#pragma once

#include <memory>

#include "platform/ui/ScrollView.h"
#include "platform/ui/ScrollViewDelegate.h"

namespace platform {
class Image;
class ImageView;
}  // namespace platform

// One page of the image preview: the image filling the page, pinched between half and three
// times its size. While it is not enlarged it stays centred on the page.
class ZoomScrollView : public platform::ScrollView, public platform::ScrollViewDelegate {
public:
    static constexpr double kMinimumZoom = 0.5;
    static constexpr double kMaximumZoom = 3.0;

    explicit ZoomScrollView(const platform::Rect& frame);
    // A page showing the image (aspect fill); the page is its own scroll delegate.
    static std::shared_ptr<ZoomScrollView> initWithFrame(const platform::Rect& frame,
                                                         const platform::Image& image);

    const std::shared_ptr<platform::ImageView>& imageView() const { return m_imageView; }

    std::shared_ptr<platform::View> viewForZoomingInScrollView(platform::ScrollView&) override;
    void scrollViewDidZoom(platform::ScrollView& scrollView) override;

private:
    std::shared_ptr<platform::ImageView> m_imageView;
};
