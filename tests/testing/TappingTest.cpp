#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TextField.h"
#include "tests/testing/DriverTestSupport.h"

namespace drivertest {
namespace {

using namespace platform;

using TappingTest = DriverTest;

TEST_F(TappingTest, TapsAButtonByHandleAndByText) {
    auto screen = showSample();
    EXPECT_TRUE(driver.tap("b1").ok);
    EXPECT_TRUE(driver.tap("Go").ok);
    EXPECT_EQ(screen->taps, 2);
}

TEST_F(TappingTest, AHiddenButtonCannotBeTapped) {
    auto screen = showSample();
    std::string handle = driver.handleOf(*screen->button);
    screen->button->setHidden(true);

    EXPECT_EQ(driver.tap(handle).error, "no such handle: b1");
    EXPECT_EQ(driver.tap("Go").error, "nothing on screen shows \"Go\"");
    EXPECT_EQ(driver.tap(screen->button).error, "not tappable: hidden");
    EXPECT_EQ(screen->taps, 0);
}

TEST_F(TappingTest, ACoveredButtonCannotBeTapped) {
    auto screen = showSample();
    auto cover = View::make<View>(Rect{{0, 100}, {200, 100}});
    cover->setBackgroundColor(Color::lightGray());
    screen->view()->addSubview(cover);

    auto byHandle = driver.tap("b1");
    EXPECT_FALSE(byHandle.ok);
    EXPECT_EQ(byHandle.error, "covered by view");
    EXPECT_FALSE(driver.tap("Go").ok);
    EXPECT_EQ(screen->taps, 0);
}

TEST_F(TappingTest, AButtonHalfUnderTheBarIsTappedWhereItShows) {
    auto screen = showSample();
    // The bar covers y 20-64; the button's centre (y 60) is under it, its lower part is not.
    auto high = View::make<Button>(Rect{{200, 40}, {100, 40}}, ButtonType::System);
    high->setTitle("High");
    int taps = 0;
    high->addTarget([&](Control&) { ++taps; }, ControlEvent::TouchUpInside);
    screen->view()->addSubview(high);
    ASSERT_TRUE(driver.tap("High").ok);
    EXPECT_EQ(taps, 1);
}

TEST_F(TappingTest, ADisabledButtonOrAnUnknownTargetIsOneClearLine) {
    auto screen = showSample();
    screen->button->setEnabled(false);
    EXPECT_EQ(driver.tap("Go").error, "not tappable: disabled");
    EXPECT_EQ(screen->taps, 0);
    EXPECT_EQ(driver.tap("b9").error, "no such handle: b9");
    EXPECT_EQ(driver.tap("Launch").error, "nothing on screen shows \"Launch\"");
}

TEST_F(TappingTest, AnAlertBlocksEverythingBelowIt) {
    auto screen = showSample();
    auto alert = View::make<AlertView>("Wait", "", std::weak_ptr<AlertViewDelegate>(), "OK",
                                       std::vector<std::string>{});
    alert->show();
    EXPECT_EQ(driver.tap("b1").error, "covered by an alert");
    EXPECT_EQ(driver.tap("r0").error, "covered by an alert");
    EXPECT_EQ(driver.back().error, "covered by an alert");
    EXPECT_EQ(screen->taps, 0);
    EXPECT_TRUE(screen->selected.empty());
}

TEST_F(TappingTest, ATableRowTapByHandleSelectsTheRow) {
    auto screen = showSample();
    ASSERT_TRUE(driver.tap("r1").ok);
    ASSERT_EQ(screen->selected.size(), 1u);
    EXPECT_EQ(screen->selected[0], (IndexPath{0, 1}));
    // By the text it shows, too.
    ASSERT_TRUE(driver.tap("First").ok);
    EXPECT_EQ(screen->selected.back(), (IndexPath{0, 0}));
}

TEST_F(TappingTest, BackTapsTheNavigationBarsBackButtonOrTheLeftBarButton) {
    auto screen = showSample();
    auto next = std::make_shared<ViewController>();
    next->setTitle("Details");
    navigation->pushViewController(next, false);
    EXPECT_NE(driver.outline().find("back  button \"Settings\""), std::string::npos)
        << driver.outline();

    ASSERT_TRUE(driver.back().ok);
    EXPECT_EQ(navigation->topViewController(), screen);
    EXPECT_EQ(driver.back().error, "no back button");

    // Without a back button, the left bar button serves.
    int closed = 0;
    screen->navigationItem().setLeftBarButtonItem(std::make_shared<BarButtonItem>(
        "Close", BarButtonItemStyle::Plain, [&](BarButtonItem&) { ++closed; }));
    ASSERT_TRUE(driver.back().ok);
    EXPECT_EQ(closed, 1);
}

TEST_F(TappingTest, TabsAreTappedByTheirHandles) {
    auto first = std::make_shared<ViewController>();
    first->setTitle("Home");
    auto second = std::make_shared<ViewController>();
    second->setTitle("Me");
    auto tabs = std::make_shared<TabBarController>();
    tabs->setViewControllers({first, second});
    show(tabs);

    EXPECT_NE(driver.outline().find("tab1  tab \"Me\""), std::string::npos) << driver.outline();
    ASSERT_TRUE(driver.tap("tab1").ok);
    EXPECT_EQ(tabs->selectedIndex(), 1u);
}

TEST_F(TappingTest, AFieldUnderTheKeyboardCannotBeTapped) {
    auto screen = showSample();
    auto top = View::make<TextField>(Rect{{20, 60}, {200, 30}});
    top->setPlaceholder("Name");
    auto low = View::make<TextField>(Rect{{20, 600}, {200, 30}});
    low->setPlaceholder("Notes");
    screen->view()->addSubview(top);
    screen->view()->addSubview(low);

    ASSERT_TRUE(driver.tap("Name").ok);
    EXPECT_EQ(driver.tap(low).error, "covered by the keyboard");
    std::string outline = driver.outline();
    EXPECT_EQ(outline.find("Notes"), std::string::npos);
    EXPECT_NE(outline.find("\nkeyboard\n"), std::string::npos) << outline;
}

// A plain view that says what it is and records the touches it gets, in its parent's
// coordinates.
class TouchLog : public View {
public:
    using View::View;
    std::string describe() const override { return "pad"; }
    void touchesBegan(const Touches& touches) override { record(touches, "began"); }
    void touchesMoved(const Touches& touches) override { record(touches, "moved"); }
    void touchesEnded(const Touches& touches) override { record(touches, "ended"); }

    std::vector<std::pair<std::string, Point>> events;

private:
    void record(const Touches& touches, const char* phase) {
        events.emplace_back(phase, touches.front().locationInView(superview().get()));
    }
};

TEST_F(TappingTest, ADragPressesTheTargetMovesInShortStepsAndLiftsAtThePoint) {
    auto screen = showSample();
    auto pad = View::make<TouchLog>(Rect{{200, 100}, {60, 40}});
    pad->setHandle("pad");
    screen->view()->addSubview(pad);
    auto origin = screen->view()->convertPointTo(Point{0, 0}, nullptr);

    ASSERT_TRUE(driver.drag("pad", Point{origin.x + 30, origin.y + 300}).ok);
    const auto& events = pad->events;
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front().first, "began");
    EXPECT_DOUBLE_EQ(events.front().second.x, 230);
    EXPECT_DOUBLE_EQ(events.front().second.y, 120);
    EXPECT_EQ(events.back().first, "ended");
    EXPECT_DOUBLE_EQ(events.back().second.x, 30);
    EXPECT_DOUBLE_EQ(events.back().second.y, 300);
    for (size_t i = 1; i + 1 < events.size(); ++i) {
        EXPECT_EQ(events[i].first, "moved");
        const Point a = events[i - 1].second;
        const Point b = events[i].second;
        EXPECT_LE(std::hypot(b.x - a.x, b.y - a.y), 8.0 + 1e-9);
    }

    // Onto another target: the finger lifts at the centre of what shows of it.
    pad->events.clear();
    ASSERT_TRUE(driver.dragOnto("pad", "Hello").ok);
    Rect hello = screen->label->frame();
    EXPECT_DOUBLE_EQ(pad->events.back().second.x, hello.midX());
    EXPECT_DOUBLE_EQ(pad->events.back().second.y, hello.midY());

    EXPECT_EQ(driver.drag("pad", Point{-5, 300}).error, "cannot drag off the screen");
    EXPECT_EQ(driver.dragOnto("pad", "Nowhere").error, "nothing on screen shows \"Nowhere\"");
    pad->setHidden(true);
    EXPECT_EQ(driver.drag(pad, Point{30, 300}).error, "not tappable: hidden");
}

}  // namespace
}  // namespace drivertest
