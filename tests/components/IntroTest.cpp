#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/intro/IntroductionViewController.h"
#include "platform/graphics/Image.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Window.h"
#include "tests/support/TempHome.h"

using namespace platform;
using namespace platform::components;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000;

class IntroTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* resources = std::getenv("CAMPUS_RESOURCES")) {
            m_savedResources = resources;
        }
        window->makeKeyAndVisible();
    }
    void TearDown() override {
        if (m_savedResources) {
            setenv("CAMPUS_RESOURCES", m_savedResources->c_str(), 1);
        } else {
            unsetenv("CAMPUS_RESOURCES");
        }
    }

    // Bundle images made for the test: solid red covers under these names.
    void useBundleImages(const std::vector<std::string>& names) {
        auto images = home.path() / "resources" / "images";
        std::filesystem::create_directories(images);
        for (const auto& name : names) {
            Image red = Image::fromARGB(4, 4, std::vector<std::uint32_t>(16, kRed));
            std::ofstream(images / (name + ".png"), std::ios::binary) << red.pngData();
        }
        setenv("CAMPUS_RESOURCES", (home.path() / "resources").c_str(), 1);
    }

    // Shows the introduction over the window as start-up does: the enter callback takes
    // the view away and lets the controller go.
    void showAsStartUpDoes(std::vector<std::string> covers,
                           std::shared_ptr<Button> button = nullptr) {
        intro = std::make_shared<IntroductionViewController>(std::move(covers),
                                                             std::vector<std::string>{}, button);
        window->addSubview(intro->view());
        introView = intro->view();
        intro->didSelectedEnter = [this] {
            ++enters;
            if (intro) {
                intro->view()->removeFromSuperview();
            }
            intro.reset();
        };
    }

    platform::testing::UiTestScope scope;
    testsupport::TempHome home;
    std::shared_ptr<Window> window = View::make<Window>();
    std::shared_ptr<IntroductionViewController> intro;
    std::shared_ptr<View> introView;
    int enters{0};

private:
    std::optional<std::string> m_savedResources;
};

// --- Pages ----------------------------------------------------------------------------------

TEST_F(IntroTest, OneFullScreenPagePerCoverAndADotForEachThatFollowsTheSwipes) {
    showAsStartUpDoes({"6-1", "6-2", "6-3"});
    ASSERT_EQ(intro->coverImageViews().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(intro->coverImageViews()[i]->frame(), (Rect{{375.0 * i, 0}, {375, 667}}));
    }
    EXPECT_EQ(intro->view()->frame(), window->bounds());
    EXPECT_EQ(intro->pageControl()->numberOfPages(), 3);
    EXPECT_TRUE(intro->pagingScrollView()->isPagingEnabled());

    // Swiping through the pages moves the page control without entering.
    auto scrollView = intro->pagingScrollView();
    EXPECT_EQ(intro->pageControl()->currentPage(), 0);
    ASSERT_TRUE(scrollView->scrollToPage(2));
    EXPECT_EQ(intro->pageControl()->currentPage(), 2);
    ASSERT_TRUE(scrollView->scrollToPage(1));
    EXPECT_EQ(intro->pageControl()->currentPage(), 1);
    EXPECT_EQ(enters, 0);
    EXPECT_EQ(introView->superview(), window);
}

TEST_F(IntroTest, BackgroundsFadeFromPageToPage) {
    intro = std::make_shared<IntroductionViewController>(std::vector<std::string>{"6-1", "6-2"},
                                                         std::vector<std::string>{"bg-1", "bg-2"});
    window->addSubview(intro->view());
    auto& backgrounds = intro->backgroundImageViews();
    ASSERT_EQ(backgrounds.size(), 2u);
    EXPECT_EQ(backgrounds[0]->alpha(), 1);
    EXPECT_EQ(backgrounds[1]->alpha(), 0);

    intro->pagingScrollView()->setContentOffset({375 / 2.0, 0});
    EXPECT_DOUBLE_EQ(backgrounds[0]->alpha(), 0.5);
    EXPECT_DOUBLE_EQ(backgrounds[1]->alpha(), 0.5);

    ASSERT_TRUE(intro->pagingScrollView()->scrollToPage(1));
    EXPECT_EQ(backgrounds[0]->alpha(), 0);
    EXPECT_EQ(backgrounds[1]->alpha(), 1);
}

// --- Entering -------------------------------------------------------------------------------

TEST_F(IntroTest, SwipingPastTheLastPageEntersOnceAndUncoversTheWindow) {
    showAsStartUpDoes({"6-1", "6-2", "6-3"});
    std::weak_ptr<IntroductionViewController> weak = intro;
    auto scrollView = intro->pagingScrollView();
    ASSERT_TRUE(scrollView->scrollToPage(2));
    EXPECT_EQ(enters, 0);

    ASSERT_TRUE(scrollView->dragBy({-100, 0}));
    EXPECT_EQ(enters, 1);
    EXPECT_FALSE(introView->superview());
    EXPECT_TRUE(weak.expired());

    // The view lingering elsewhere cannot enter twice.
    scrollView->setContentOffset({0, 0});
    scrollView->setContentOffset({375 * 3, 0});
    EXPECT_EQ(enters, 1);
}

TEST_F(IntroTest, TheEnterButtonSitsOnTheLastPageAndEntersOnce) {
    auto button = View::make<Button>();
    button->setTitle("立即体验");
    showAsStartUpDoes({"6-1", "6-2", "6-3"}, button);
    Rect frame = button->frame();
    EXPECT_GE(frame.minX(), 375 * 2);
    EXPECT_LE(frame.maxX(), 375 * 3);
    EXPECT_GT(frame.size.width, 0);

    ASSERT_TRUE(intro->pagingScrollView()->scrollToPage(2));
    Point tap = button->convertPointTo({frame.size.width / 2, frame.size.height / 2}, nullptr);
    ASSERT_TRUE(window->tap(tap));
    EXPECT_EQ(enters, 1);
    EXPECT_FALSE(introView->superview());

    button->sendActions(ControlEvent::TouchUpInside);
    EXPECT_EQ(enters, 1);
}

TEST_F(IntroTest, TheUserEntersOnlyOnceEvenWhileTheIntroductionStays) {
    auto button = View::make<Button>();
    button->setTitle("进入");
    intro = std::make_shared<IntroductionViewController>(std::vector<std::string>{"6-1", "6-2"},
                                                         std::vector<std::string>{}, button);
    intro->didSelectedEnter = [this] { ++enters; };
    window->addSubview(intro->view());
    auto scrollView = intro->pagingScrollView();
    ASSERT_TRUE(scrollView->scrollToPage(2));
    EXPECT_EQ(enters, 1);
    ASSERT_TRUE(scrollView->scrollToPage(0));
    ASSERT_TRUE(scrollView->scrollToPage(2));
    button->sendActions(ControlEvent::TouchUpInside);
    EXPECT_EQ(enters, 1);
    EXPECT_TRUE(intro->hasEntered());
}

// --- Images ---------------------------------------------------------------------------------

TEST_F(IntroTest, CoversShowTheirBundleImagesAndMissingOnesGiveEmptyPagesThatStillEnter) {
    useBundleImages({"cover-1"});
    showAsStartUpDoes({"cover-1", "no-such-2"});
    EXPECT_FALSE(intro->coverImageViews()[0]->image().isNull());
    EXPECT_TRUE(intro->coverImageViews()[1]->image().isNull());
    Image shot = renderToImage(*introView);
    EXPECT_EQ(shot.pixelAt(shot.pixelWidth() / 2, shot.pixelHeight() / 3), kRed);

    ASSERT_TRUE(intro->pagingScrollView()->scrollToPage(1));
    shot = renderToImage(*introView);
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.pixelAt(shot.pixelWidth() / 2, shot.pixelHeight() / 3) >> 24, 0u);
    ASSERT_TRUE(intro->pagingScrollView()->scrollToPage(2));
    EXPECT_EQ(enters, 1);
}

TEST_F(IntroTest, WithoutCoversNothingBlocksTheWindowUnderneath) {
    auto below = View::make<Button>(Rect{{100, 100}, {100, 50}});
    int taps = 0;
    below->addTarget([&taps](Control&) { ++taps; }, ControlEvent::TouchUpInside);
    window->addSubview(below);
    showAsStartUpDoes({});
    EXPECT_EQ(intro->pageControl()->numberOfPages(), 0);
    ASSERT_TRUE(window->tap({150, 125}));
    EXPECT_EQ(taps, 1);
}

}  // namespace
