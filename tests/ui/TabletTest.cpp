#include <gtest/gtest.h>

#include <cmath>

#include "platform/testing/ScreenSize.h"
#include "platform/testing/UIDriver.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/FormSheet.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/TextView.h"
#include "platform/ui/View.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

class Delegate : public PopoverControllerDelegate {
public:
    bool popoverControllerShouldDismissPopover(PopoverController&) override { return allow; }
    void popoverControllerDidDismissPopover(PopoverController&) override { ++dismissed; }
    bool allow = true;
    int dismissed = 0;
};

// A screen laid out for the tablet held either way.
class TabletScreen : public RecordingController {
public:
    using RecordingController::RecordingController;
    InterfaceOrientationMask supportedInterfaceOrientations() const override {
        return OrientationMask::All;
    }
};

class TabletTest : public UiTest {
protected:
    void SetUp() override {
        Application::shared().setUserInterfaceIdiom(UserInterfaceIdiom::Pad);
        platform::testing::useScreen(768, 1024);
        home = std::make_shared<TabletScreen>("A", log);
        window = showWindow(home);
        window->layoutIfNeeded();
        log->clear();
    }

    std::shared_ptr<Log> log = std::make_shared<Log>();
    std::shared_ptr<RecordingController> home;
    std::shared_ptr<Window> window;
};

TEST_F(TabletTest, APopoverShowsBesideItsRectangleAndATapOutsideClosesIt) {
    auto content = std::make_shared<RecordingController>("P", log);
    auto delegate = std::make_shared<Delegate>();
    std::weak_ptr<PopoverController> weakPopover;
    {
        auto popover = std::make_shared<PopoverController>(content);
        popover->setDelegate(delegate);
        weakPopover = popover;
        popover->presentFromRect(Rect{{384, 341}, {10, 10}}, *home->view(),
                                 PopoverArrowDirection::Any, true);
    }
    auto popover = weakPopover.lock();
    ASSERT_TRUE(popover) << "the window keeps a showing popover alive";
    EXPECT_TRUE(popover->isPopoverVisible());
    EXPECT_EQ(PopoverController::visible(), popover);
    // Room below the rectangle for the whole content: the arrow points up from there, its tip
    // (a 16-point square turned on its corner, centred on the panel's edge) at the rectangle's
    // edge, so that it covers nothing of it.
    const double reach = 16 * std::sqrt(0.5);
    const auto near = [](const Rect& frame, const Rect& expected) {
        return std::abs(frame.minX() - expected.minX()) < 0.01 &&
               std::abs(frame.minY() - expected.minY()) < 0.01 && frame.size == expected.size;
    };
    EXPECT_EQ(popover->popoverArrowDirection(), PopoverArrowDirection::Up);
    EXPECT_TRUE(near(popover->panelFrame(), Rect{{229, 351 + reach}, {320, 480}}))
        << popover->panelFrame();
    EXPECT_EQ(*log, (Log{"P.didLoad", "P.willAppear", "P.didAppear"}));

    // Turned, the tablet has no room below the rectangle: the popover moves to its right.
    Device::current().setOrientation(DeviceOrientation::LandscapeLeft);
    EXPECT_EQ(popover->popoverArrowDirection(), PopoverArrowDirection::Left);
    EXPECT_TRUE(near(popover->panelFrame(), Rect{{394 + reach, 106}, {320, 480}}))
        << popover->panelFrame();
    Device::current().setOrientation(DeviceOrientation::Portrait);
    EXPECT_TRUE(near(popover->panelFrame(), Rect{{229, 351 + reach}, {320, 480}}))
        << popover->panelFrame();

    // A tap inside the panel keeps it; one outside asks the delegate, which may refuse.
    window->tap(Point{389, 500});
    EXPECT_TRUE(popover->isPopoverVisible());
    delegate->allow = false;
    window->tap(Point{50, 50});
    EXPECT_TRUE(popover->isPopoverVisible());
    delegate->allow = true;
    window->tap(Point{50, 50});
    EXPECT_FALSE(popover->isPopoverVisible());
    EXPECT_EQ(delegate->dismissed, 1);
    EXPECT_EQ(content->viewIfLoaded()->superview(), nullptr);
    EXPECT_EQ(log->back(), "P.didDisappear");
    EXPECT_EQ(PopoverController::visible(), nullptr);
}

TEST_F(TabletTest, APopoverTakesThePermittedSideWithMostRoomAndShrinksToIt) {
    auto popover = std::make_shared<PopoverController>(std::make_shared<ViewController>());
    // Near the bottom only "down" (above the rectangle) has room for 480 points.
    popover->presentFromRect(Rect{{100, 900}, {20, 20}}, *home->view(),
                             PopoverArrowDirection::Up | PopoverArrowDirection::Down, false);
    EXPECT_EQ(popover->popoverArrowDirection(), PopoverArrowDirection::Down);
    const double reach = 16 * std::sqrt(0.5);
    EXPECT_NEAR(popover->panelFrame().maxY(), 900 - reach, 0.01);
    popover->dismissPopover(false);

    // Only "left" permitted (popover to the right) with 30 points to spare, less the arrow's
    // reach: it shrinks.
    popover->presentFromRect(Rect{{718, 500}, {10, 10}}, *home->view(), PopoverArrowDirection::Left,
                             false);
    EXPECT_EQ(popover->popoverArrowDirection(), PopoverArrowDirection::Left);
    EXPECT_NEAR(popover->panelFrame().minX(), 728 + reach, 0.01);
    EXPECT_NEAR(popover->panelFrame().width(), 30 - reach, 0.01);
    // Dismissed from code: the delegate hears nothing, and a second dismiss is harmless.
    popover->dismissPopover(true);
    popover->dismissPopover(true);
    EXPECT_FALSE(popover->isPopoverVisible());
}

TEST_F(TabletTest, AFormSheetShowsCentredOverTheScreenWhichStaysAndGoesWithTheSheet) {
    auto sheet = std::make_shared<RecordingController>("S", log);
    sheet->setModalPresentationStyle(ModalPresentationStyle::FormSheet);
    home->presentViewController(sheet, false);
    // The screen below stays on screen and hears of no disappearing.
    EXPECT_EQ(*log, (Log{"S.didLoad", "S.willAppear", "S.didAppear"}));
    EXPECT_EQ(home->view()->window(), window);
    auto panel = sheet->view()->superview();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->frame(), (Rect{{114, 202}, FormSheet::kSize}));
    EXPECT_EQ(sheet->view()->frame(), (Rect{{0, 0}, FormSheet::kSize}));

    // Turned, the panel stays centred in the wider screen.
    Device::current().setOrientation(DeviceOrientation::LandscapeLeft);
    EXPECT_EQ(panel->frame(), (Rect{{242, 74}, FormSheet::kSize}));

    sheet->dismissViewController(false);
    EXPECT_EQ(panel->superview(), nullptr);
    EXPECT_EQ(sheet->view()->superview(), nullptr);
    // Only the window and the screen below are left in it.
    ASSERT_EQ(window->subviews().size(), 1u);
    EXPECT_EQ(window->subviews().front(), home->view());
}

TEST_F(TabletTest, AFormSheetRisesAboveTheKeyboardAndHeldSidewaysIsShortenedToTheRoomLeft) {
    auto sheet = std::make_shared<RecordingController>("S", log);
    sheet->setModalPresentationStyle(ModalPresentationStyle::FormSheet);
    home->presentViewController(sheet, false);
    auto panel = sheet->view()->superview();
    ASSERT_TRUE(panel);
    auto text = View::make<TextView>(Rect{{0, 0}, {540, 300}});
    sheet->view()->addSubview(text);

    // Upright, the keyboard (264 points) would cover the panel's bottom: it rises to meet it.
    text->becomeFirstResponder();
    ASSERT_TRUE(Keyboard::isVisible());
    EXPECT_EQ(panel->frame(), (Rect{{114, 1024 - 264 - 620}, FormSheet::kSize}));

    // Sideways only 768 - 352 points are left: the panel takes them below the status bar, and
    // what it presents is shortened with it, so its bottom edge stays in sight.
    Device::current().setOrientation(DeviceOrientation::LandscapeLeft);
    const Rect sideways{{242, 20}, {540, 768 - 352 - 20}};
    EXPECT_EQ(panel->frame(), sideways);
    EXPECT_EQ(sheet->view()->frame(), (Rect{{0, 0}, sideways.size}));
    EXPECT_LE(panel->frame().maxY(), Keyboard::frame().minY());

    // The keyboard gone, the panel has its own size back, centred.
    text->resignFirstResponder();
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_EQ(panel->frame(), (Rect{{242, 74}, FormSheet::kSize}));
    EXPECT_EQ(sheet->view()->frame(), (Rect{{0, 0}, FormSheet::kSize}));
}

TEST_F(TabletTest, OnAPhoneTheSheetStylesFillTheScreen) {
    Application::shared().setUserInterfaceIdiom(UserInterfaceIdiom::Phone);
    auto sheet = std::make_shared<RecordingController>("S", log);
    sheet->setModalPresentationStyle(ModalPresentationStyle::FormSheet);
    home->presentViewController(sheet, false);
    EXPECT_EQ(sheet->view()->superview(), window);
    EXPECT_EQ(home->view()->window(), nullptr);
}

}  // namespace
}  // namespace uitest
