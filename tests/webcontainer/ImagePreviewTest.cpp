#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "client/ServiceConfig.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/webcontainer/PicturesNow.h"
#include "webcontainer/BigScrollView.h"
#include "webcontainer/PreviewImages.h"
#include "webcontainer/RootViewController.h"
#include "webcontainer/WebDetailViewController.h"
#include "webcontainer/ZoomScrollView.h"

using namespace platform;

namespace {

std::vector<Image> solidImages(size_t count) {
    std::vector<Image> images;
    for (size_t i = 0; i < count; ++i)
        images.push_back(Image::fromARGB(4, 4, std::vector<std::uint32_t>(16, 0xFF102030u + i)));
    return images;
}

// --- Paging --------------------------------------------------------------------------------

TEST(BigScrollViewPaging, ThePageIndexIsThePageUnderTheMiddleOfTheView) {
    for (double w : {320.0, 375.0, 414.0}) {
        SCOPED_TRACE(w);
        EXPECT_EQ(BigScrollView::pageIndexAt(0, w), 0);
        EXPECT_EQ(BigScrollView::pageIndexAt(w / 2 - 1, w), 0);
        EXPECT_EQ(BigScrollView::pageIndexAt(w / 2, w), 1);
        EXPECT_EQ(BigScrollView::pageIndexAt(w, w), 1);
        EXPECT_EQ(BigScrollView::pageIndexAt(2 * w, w), 2);
    }
}

class ImagePagerTest : public ::testing::Test {
protected:
    platform::testing::UiTestScope scope;
    std::shared_ptr<BigScrollView> pager =
        BigScrollView::initWithFrame(Rect{{0, 0}, {375, 667}}, solidImages(3));
};

TEST_F(ImagePagerTest, ScrollingUpdatesTheCurrentIndexAtEachOffset) {
    EXPECT_EQ(pager->imagesCount(), 3u);
    EXPECT_EQ(pager->contentSize(), (Size{3 * 375, 667}));
    for (auto [offset, page] : std::vector<std::pair<double, int>>{
             {0, 0}, {375 / 2.0 - 1, 0}, {375 / 2.0, 1}, {375, 1}, {750, 2}}) {
        pager->setContentOffset({offset, 0});
        EXPECT_EQ(pager->currentIndex(), page) << offset;
    }
}

TEST_F(ImagePagerTest, EachPageZoomsBetweenHalfAndThreeTimesAndStaysCentredBelowOne) {
    auto page = pager->pages().at(0);
    page->setZoomScale(5);
    EXPECT_EQ(page->zoomScale(), 3.0);
    page->pinchToScale(0.1);
    EXPECT_EQ(page->zoomScale(), 0.5);
    EXPECT_EQ(page->imageView()->center(), (Point{375 / 2.0, 667 / 2.0}));
}

TEST_F(ImagePagerTest, ASwipeThatComesToRestResetsTheZoomOfThePageSeenBefore) {
    ASSERT_TRUE(pager->scrollToPage(1));
    EXPECT_EQ(pager->lastZoonView(), pager->pages()[1]);
    pager->pages()[1]->setZoomScale(2.5);
    ASSERT_TRUE(pager->scrollToPage(2));
    EXPECT_EQ(pager->pages()[1]->zoomScale(), 1.0);
    EXPECT_EQ(pager->lastZoonView(), pager->pages()[2]);
}

TEST_F(ImagePagerTest, APageZoomedBeforeAnySwipeKeepsItsZoom) {
    pager->pages()[0]->setZoomScale(2);
    ASSERT_TRUE(pager->scrollToPage(1));
    EXPECT_EQ(pager->pages()[0]->zoomScale(), 2.0);
}

// --- The preview screen --------------------------------------------------------------------

class ImagePreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.start();
        // The preview answers only the school's pages.
        ServiceConfig::shared().pointAllAt(services.baseUrl());
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        container->setUrlStr(services.baseUrl() + "/bridge-demo.html");
        navigation->pushViewController(container, false);
        // The preview answers the page that asked: the page is there first.
        ASSERT_TRUE(RunLoop::main().runUntil([&]() -> bool {
            return container->webView() && container->webView()->hasPage() &&
                   !container->webView()->isLoading();
        }));
    }
    void TearDown() override { ServiceConfig::shared().reload(); }

    std::string image(const std::string& name) const {
        return services.baseUrl() + "/upload/preview/" + name;
    }
    std::shared_ptr<RootViewController> preview() const {
        return std::dynamic_pointer_cast<RootViewController>(navigation->topViewController());
    }

    platform::testing::UiTestScope scope;
    fakes::FakeSchoolServices services;
    std::shared_ptr<Window> window = View::make<Window>();
    std::shared_ptr<NavigationController> navigation =
        std::make_shared<NavigationController>(std::make_shared<ViewController>());
    std::shared_ptr<WebDetailViewController> container =
        std::make_shared<WebDetailViewController>();
};

TEST_F(ImagePreviewTest, TwoImagesShowTwoDotsAndSwipingToTheSecondMakesItPageTwo) {
    container->previewImage({image("a.jpg"), image("b.png")});
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return preview() != nullptr; }));
    auto screen = preview();
    EXPECT_EQ(screen->title(), "第1页");
    EXPECT_EQ(screen->pageControl()->numberOfPages(), 2);
    EXPECT_EQ(screen->pageControl()->currentPage(), 0);
    EXPECT_EQ(screen->pageControl()->currentPageIndicatorTintColor(), Color::redColor());
    EXPECT_EQ(screen->pageControl()->frame(), (Rect{{0, 667 - 64 - 30}, {375, 30}}));

    ASSERT_TRUE(screen->bigScrollView()->scrollToPage(1));
    EXPECT_EQ(screen->title(), "第2页");
    EXPECT_EQ(screen->pageControl()->currentPage(), 1);
}

TEST_F(ImagePreviewTest, OnlyTheFirstTwoAddressesAreFetchedAndEachThatLoadedGetsAPage) {
    services.setReply("GET", "/upload/preview/broken.jpg", fakes::Reply{404, "text/plain", "gone"});
    container->previewImage(
        {image("1.jpg"), image("2.png"), image("3.jpg"), image("4.jpg"), image("5.png")});
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return preview() != nullptr; }));
    ASSERT_EQ(preview()->myArray().size(), 2u);
    EXPECT_EQ(preview()->pageControl()->numberOfPages(), 2);
    const auto expected =
        testsupport::picturesNow({image("2.png")}, previewShownPixels(2), kPreviewLimits);
    ASSERT_EQ(expected.size(), 1u);
    EXPECT_EQ(preview()->myArray()[1].pngData(), expected[0].pngData());
    for (const char* later : {"3.jpg", "4.jpg", "5.png"})
        EXPECT_TRUE(services.requestsTo("/upload/preview/" + std::string(later)).empty()) << later;
    navigation->popViewController(false);

    container->previewImage({image("broken.jpg"), image("2.png"), image("3.jpg")});
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return preview() != nullptr; }));
    ASSERT_EQ(preview()->myArray().size(), 1u);
    EXPECT_EQ(preview()->myArray()[0].pngData(), expected[0].pngData());
}

TEST_F(ImagePreviewTest, NothingIsPushedWhenNoImageLoaded) {
    container->previewImage({});
    EXPECT_FALSE(container->isWaitingForPictures());
    container->previewImage({"", services.baseUrl() + "/upload/preview/missing.txt"});
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !container->isWaitingForPictures(); }));
    RunLoop::main().runPending();
    EXPECT_EQ(navigation->topViewController(), container);
}

TEST_F(ImagePreviewTest, ADownloadThatDoesNotAnswerGivesUpAfterItsTimeOut) {
    services.holdReplies("GET", "/upload/preview/slow.jpg");
    const auto started = std::chrono::steady_clock::now();
    auto images = testsupport::picturesNow({image("slow.jpg"), image("quick.jpg")},
                                           previewShownPixels(2), {0.3, kPreviewTotalSeconds});
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    ASSERT_EQ(images.size(), 2u);
    EXPECT_TRUE(images[0].isNull());
    EXPECT_FALSE(images[1].isNull());
    services.releaseHeld("/upload/preview/slow.jpg");
}

}  // namespace
