#include <gtest/gtest.h>

#include "platform/ui/PageControl.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

class PageControlTest : public UiTest {
protected:
    void SetUp() override {
        window = View::make<Window>(Rect{{0, 0}, {375, 667}});
        window->makeKeyAndVisible();
        control = View::make<PageControl>(Rect{{137.5, 170}, {100, 20}});
        control->setNumberOfPages(3);
        control->addTarget(
            [this](Control& c) { changes.push_back(static_cast<PageControl&>(c).currentPage()); },
            ControlEvent::ValueChanged);
        window->addSubview(control);
    }

    Point leftHalf() const { return {147.5, 180}; }
    Point rightHalf() const { return {227.5, 180}; }

    std::shared_ptr<Window> window;
    std::shared_ptr<PageControl> control;
    std::vector<int> changes;
};

TEST_F(PageControlTest, TapOnEitherHalfMovesOnePageThatWay) {
    ASSERT_TRUE(window->tap(rightHalf()));
    EXPECT_EQ(control->currentPage(), 1);
    window->tap(rightHalf());
    window->tap(rightHalf());
    EXPECT_EQ(control->currentPage(), 2) << "no page after the last";
    window->tap(leftHalf());
    EXPECT_EQ(control->currentPage(), 1);
    EXPECT_EQ(changes, (std::vector<int>{1, 2, 1})) << "ValueChanged only when the page changed";
    EXPECT_EQ(control->describe(), "page control 2/3");

    control->setEnabled(false);
    window->tap(leftHalf());
    EXPECT_EQ(control->currentPage(), 1) << "a disabled control ignores taps";
}

TEST_F(PageControlTest, PageSetInCodeStaysWithinThePagesAndSendsNothing) {
    control->setCurrentPage(7);
    EXPECT_EQ(control->currentPage(), 2);
    control->setNumberOfPages(2);
    EXPECT_EQ(control->currentPage(), 1);
    control->setCurrentPage(-3);
    EXPECT_EQ(control->currentPage(), 0);
    EXPECT_TRUE(changes.empty());
}

TEST_F(PageControlTest, SinglePageCanHideTheDots) {
    control->setNumberOfPages(1);
    EXPECT_TRUE(control->showsDots());
    control->setHidesForSinglePage(true);
    EXPECT_FALSE(control->showsDots());
    EXPECT_EQ(control->describe(), "page control (none)");
    window->tap(rightHalf());
    EXPECT_TRUE(changes.empty());

    control->setNumberOfPages(2);
    EXPECT_TRUE(control->showsDots());
}

TEST_F(PageControlTest, DotsAreCentredInTheControl) {
    Rect first = control->rectForDot(0);
    Rect last = control->rectForDot(2);
    EXPECT_DOUBLE_EQ((first.minX() + last.maxX()) / 2, control->bounds().midX());
}

}  // namespace
}  // namespace uitest
