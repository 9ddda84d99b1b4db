#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/ViewController.h"
#include "webcontainer/BigScrollView.h"

namespace platform {
class PageControl;
}

// The image preview screen: the opener's images full screen, one per page, with a page
// indicator and "第N页" as the title.
class RootViewController : public platform::ViewController, public BigScrollViewDelegate {
public:
    static constexpr double kIndicatorHeight = 30;

    const std::shared_ptr<BigScrollView>& bigScrollView() const { return m_bigScrollView; }
    const std::shared_ptr<platform::PageControl>& pageControl() const { return m_pageControl; }
    std::int32_t pageIndex() const { return m_pageIndex; }
    void setPageIndex(std::int32_t index) { m_pageIndex = index; }
    const std::vector<platform::Image>& myArray() const { return m_myArray; }
    // One image per page; set before the push.
    void setMyArray(std::vector<platform::Image> images) { m_myArray = std::move(images); }

    void viewDidLoad() override;
    void changePageIndex(long index) override;

    static std::string pageTitle(long index);

private:
    std::shared_ptr<BigScrollView> m_bigScrollView;
    std::shared_ptr<platform::PageControl> m_pageControl;
    std::int32_t m_pageIndex{0};
    std::vector<platform::Image> m_myArray;
};
