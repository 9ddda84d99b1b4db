#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "components/sidemenu/SideViewController.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

using namespace platform;
using namespace platform::components;

namespace {

// Writes down the appearance callbacks it gets.
class RecordingController : public ViewController {
public:
    void viewWillAppear(bool) override { calls.push_back("willAppear"); }
    void viewDidAppear(bool) override { calls.push_back("didAppear"); }
    void viewWillDisappear(bool) override { calls.push_back("willDisappear"); }
    void viewDidDisappear(bool) override { calls.push_back("didDisappear"); }

    std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

class SideViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        side->setRootViewController(root);
        side->setRightViewController(right);
        side->setRightViewShowWidth(300);
        window->setRootViewController(side);
        window->makeKeyAndVisible();
        root->calls.clear();
        right->calls.clear();
    }
    void finishAnimations() { scope.advance(1); }
    double rootX() const { return root->view()->frame().origin.x; }
    bool panelInContainer() const {
        auto panel = right->viewIfLoaded();
        return panel && panel->superview() == side->view();
    }

    platform::testing::UiTestScope scope;
    std::shared_ptr<Window> window = View::make<Window>();
    std::shared_ptr<SideViewController> side = std::make_shared<SideViewController>();
    std::shared_ptr<RecordingController> root = std::make_shared<RecordingController>();
    std::shared_ptr<RecordingController> right = std::make_shared<RecordingController>();
};

// --- Showing and hiding --------------------------------------------------------------------

TEST_F(SideViewControllerTest, ShowingTheRightPanelMovesTheRootViewLeftByTheShowWidth) {
    EXPECT_FALSE(panelInContainer());
    side->showRightViewController(false);
    EXPECT_TRUE(side->isShowingRight());
    EXPECT_EQ(rootX(), -300);
    EXPECT_EQ(root->view()->frame().size.width, 375);
    ASSERT_TRUE(panelInContainer());
    EXPECT_EQ(right->view()->frame(), side->view()->bounds());

    side->hideSideViewController(false);
    EXPECT_FALSE(side->isShowingRight());
    EXPECT_EQ(rootX(), 0);
    EXPECT_FALSE(panelInContainer());
}

TEST_F(SideViewControllerTest, MoveBlockPlacesTheRootViewFromTheRestingFrameAndOffset) {
    std::vector<std::pair<Rect, double>> moves;
    side->rootViewMoveBlock = [&](View& rootView, Rect orginFrame, double xoffset) {
        moves.emplace_back(orginFrame, xoffset);
        rootView.setFrame(Rect{{xoffset, orginFrame.origin.y}, orginFrame.size});
    };
    side->showRightViewController(true);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].first, (Rect{{0, 0}, {375, 667}}));
    EXPECT_EQ(moves[0].second, -300);
    EXPECT_EQ(rootX(), -300);

    side->hideSideViewController(true);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[1].second, 0);
    EXPECT_EQ(rootX(), 0);
}

TEST_F(SideViewControllerTest, PanelGetsTheAppearanceCallbacksEveryTimeItIsShown) {
    side->showRightViewController(true);
    EXPECT_EQ(right->calls, (Calls{"willAppear"}));
    finishAnimations();
    EXPECT_EQ(right->calls, (Calls{"willAppear", "didAppear"}));

    side->hideSideViewController(true);
    EXPECT_TRUE(panelInContainer());  // still uncovered while the root slides back
    finishAnimations();
    EXPECT_FALSE(panelInContainer());

    side->showRightViewController(false);
    side->showRightViewController(true);  // showing again while shown adds nothing
    finishAnimations();
    EXPECT_EQ(right->calls, (Calls{"willAppear", "didAppear", "willDisappear", "didDisappear",
                                   "willAppear", "didAppear"}));
    EXPECT_TRUE(root->calls.empty());
}

TEST_F(SideViewControllerTest, HidingBeforeTheShowAnimationEndsLeavesThePanelHidden) {
    side->showRightViewController(true);
    side->hideSideViewController(true);
    finishAnimations();
    EXPECT_EQ(right->calls, (Calls{"willAppear", "willDisappear", "didDisappear"}));
    EXPECT_FALSE(panelInContainer());
    EXPECT_EQ(rootX(), 0);
}

// --- Touches -------------------------------------------------------------------------------

TEST_F(SideViewControllerTest, TapOnTheUncoveredRootClosesThePanelWithoutReachingTheRoot) {
    int rootTaps = 0;
    root->view()->addGestureRecognizer(
        std::make_shared<TapGestureRecognizer>([&](GestureRecognizer&) { ++rootTaps; }));
    side->showRightViewController(false);

    window->tap(Point{200, 300});  // on the panel
    EXPECT_TRUE(side->isShowingRight());

    window->tap(Point{30, 300});  // on what is left of the root view
    EXPECT_FALSE(side->isShowingRight());
    EXPECT_EQ(rootTaps, 0);
    finishAnimations();
    EXPECT_EQ(rootX(), 0);
    EXPECT_EQ(right->calls.back(), "didDisappear");

    window->tap(Point{30, 300});
    EXPECT_EQ(rootTaps, 1);
}

TEST_F(SideViewControllerTest, SwipingLeftOpensThePanelAndSwipingRightClosesItUnlessSwipesAreOff) {
    window->drag(Point{340, 300}, Point{60, 300}, 8);
    EXPECT_TRUE(side->isShowingRight());
    finishAnimations();
    EXPECT_EQ(rootX(), -300);
    EXPECT_EQ(right->calls, (Calls{"willAppear", "didAppear"}));

    window->drag(Point{20, 300}, Point{360, 300}, 8);
    EXPECT_FALSE(side->isShowingRight());
    finishAnimations();
    EXPECT_EQ(rootX(), 0);
    EXPECT_FALSE(panelInContainer());

    side->setNeedSwipeShowMenu(false);
    window->drag(Point{340, 300}, Point{60, 300}, 8);
    finishAnimations();
    EXPECT_FALSE(side->isShowingRight());
    EXPECT_EQ(rootX(), 0);
    EXPECT_EQ(right->calls.size(), 4u) << "no new appearance";
    side->setNeedSwipeShowMenu(true);
    window->drag(Point{340, 300}, Point{60, 300}, 8);
    EXPECT_TRUE(side->isShowingRight());
}

TEST_F(SideViewControllerTest, ShortOrVerticalDragsSnapBackAndWithoutAPanelNothingOpens) {
    window->drag(Point{300, 300}, Point{200, 300}, 4);
    EXPECT_FALSE(side->isShowingRight());
    window->drag(Point{200, 500}, Point{180, 100}, 8);
    EXPECT_FALSE(side->isShowingRight());
    finishAnimations();
    EXPECT_EQ(rootX(), 0);
    EXPECT_FALSE(panelInContainer());

    side->setRightViewController(nullptr);
    side->showRightViewController(false);
    window->drag(Point{340, 300}, Point{60, 300}, 8);
    EXPECT_FALSE(side->isShowingRight());
    EXPECT_EQ(rootX(), 0);
}

}  // namespace
