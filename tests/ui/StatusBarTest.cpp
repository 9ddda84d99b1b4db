// The status bar in the screen's pixels: drawn across the top of every screen in the ink of the
// application's style, turned with the interface, and not at all while hidden.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/graphics/BitmapContext.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/DisplayChanges.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Screen.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

// How much of each ink a strip of the screen holds.
struct Inks {
    int white = 0;
    int black = 0;
    int other = 0;
};

// A page of mid grey, on which both inks show and neither is the page.
class StatusBarTest : public UiTest {
protected:
    void show(double width, double height) {
        platform::testing::useScreen(width, height);
        page = std::make_shared<TurningPage>();
        window = showWindow(page);
        page->view()->setBackgroundColor(Color::rgba(0.5, 0.5, 0.5));
        window->layoutIfNeeded();
    }

    Image screen() { return renderScreenToImage(*window); }

    // The ink within x0 <= x < x1 and y0 <= y < y1, as pixels close to white or black; anything
    // else but the page's grey (the inks' smoothed edges) counts as other.
    static Inks inksIn(const Image& picture, int x0, int x1, int y0, int y1) {
        Inks inks;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const std::uint32_t argb = picture.pixelAt(x, y);
                const int r = int((argb >> 16) & 0xFF);
                const int g = int((argb >> 8) & 0xFF);
                const int b = int(argb & 0xFF);
                if (r > 230 && g > 230 && b > 230) {
                    ++inks.white;
                } else if (r < 30 && g < 30 && b < 30) {
                    ++inks.black;
                } else if (std::abs(r - 128) > 4 || std::abs(g - 128) > 4 ||
                           std::abs(b - 128) > 4) {
                    ++inks.other;
                }
            }
        }
        return inks;
    }

    // The bar's three parts each hold ink of the style's colour and none of the other's:
    // signal on the left, the time in the middle, the battery at the right edge.
    static void expectBarInk(const Image& picture, StatusBarStyle style) {
        const int width = picture.pixelWidth();
        const int middle = width / 2;
        const struct {
            const char* part;
            int from;
            int to;
        } parts[] = {
            {"signal", 0, 40}, {"time", middle - 30, middle + 30}, {"battery", width - 40, width}};
        for (const auto& part : parts) {
            SCOPED_TRACE(part.part);
            const Inks inks = inksIn(picture, part.from, part.to, 0, 20);
            if (style == StatusBarStyle::LightContent) {
                EXPECT_GT(inks.white, 12);
                EXPECT_EQ(inks.black, 0);
            } else {
                EXPECT_GT(inks.black, 12);
                EXPECT_EQ(inks.white, 0);
            }
        }
        // Nothing of it below its 20 points, nor between its parts.
        const Inks below = inksIn(picture, 0, width, 20, 40);
        EXPECT_EQ(below.white + below.black + below.other, 0);
        const Inks between = inksIn(picture, 70, middle - 40, 0, 20);
        EXPECT_EQ(between.white + between.black + between.other, 0);
    }

    std::shared_ptr<ViewController> page;
    std::shared_ptr<Window> window;
};

TEST_F(StatusBarTest, TheBarIsDrawnInTheInkOfTheApplicationsStyleOnPhonesAndTheTablet) {
    for (const Size size : {Size{320, 568}, Size{375, 667}, Size{768, 1024}}) {
        SCOPED_TRACE(std::to_string(int(size.width)));
        Application::shared().setUserInterfaceIdiom(size.width > 700 ? UserInterfaceIdiom::Pad
                                                                     : UserInterfaceIdiom::Phone);
        show(size.width, size.height);
        Application::shared().setStatusBarStyle(StatusBarStyle::LightContent);
        expectBarInk(screen(), StatusBarStyle::LightContent);
        Application::shared().setStatusBarStyle(StatusBarStyle::Default);
        expectBarInk(screen(), StatusBarStyle::Default);
    }
}

TEST_F(StatusBarTest, AHiddenBarDrawsNothingAndShownAgainComesBack) {
    for (const Size size : {Size{375, 667}, Size{768, 1024}}) {
        SCOPED_TRACE(std::to_string(int(size.width)));
        show(size.width, size.height);
        for (const auto style : {StatusBarStyle::LightContent, StatusBarStyle::Default}) {
            Application::shared().setStatusBarStyle(style);
            Application::shared().setStatusBarHidden(true);
            const Inks hidden = inksIn(screen(), 0, int(size.width), 0, 20);
            EXPECT_EQ(hidden.white + hidden.black + hidden.other, 0);
            Application::shared().setStatusBarHidden(false);
            expectBarInk(screen(), style);
        }
    }
}

TEST_F(StatusBarTest, TheTurnedPhoneDrawsItAcrossItsLongSide) {
    show(375, 667);
    Application::shared().setStatusBarStyle(StatusBarStyle::Default);
    Device::current().setOrientation(DeviceOrientation::LandscapeLeft);
    ASSERT_EQ(window->bounds().size, (Size{667, 375}));
    // Its parts stand at the ends and the middle of the long side, none where the upright
    // bar's time and battery would be.
    expectBarInk(screen(), StatusBarStyle::Default);
}

TEST_F(StatusBarTest, AChangeOfStyleOrVisibilityIsAChangeOfTheScreen) {
    show(375, 667);
    Application::shared().setStatusBarStyle(StatusBarStyle::Default);
    auto before = displayGeneration();
    Application::shared().setStatusBarStyle(StatusBarStyle::LightContent);
    EXPECT_GT(displayGeneration(), before);
    before = displayGeneration();
    Application::shared().setStatusBarStyle(StatusBarStyle::LightContent);
    EXPECT_EQ(displayGeneration(), before) << "the same style again changes nothing";
    Application::shared().setStatusBarHidden(true);
    EXPECT_GT(displayGeneration(), before);
}

}  // namespace
}  // namespace uitest
