#include <gtest/gtest.h>

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

class NavigationTest : public UiTest {
protected:
    std::shared_ptr<RecordingController> screen(const std::string& name) {
        return std::make_shared<RecordingController>(name, log);
    }
    // A navigation stack on screen, with the log cleared after it appeared.
    std::shared_ptr<NavigationController> showStack(std::shared_ptr<ViewController> root) {
        auto nav = std::make_shared<NavigationController>(std::move(root));
        window = showWindow(nav);
        log->clear();
        return nav;
    }

    std::shared_ptr<Log> log = std::make_shared<Log>();
    std::shared_ptr<Window> window;
};

TEST_F(NavigationTest, RootAppearsWhenTheWindowIsShown) {
    auto nav = std::make_shared<NavigationController>(screen("A"));
    window = showWindow(nav);
    EXPECT_EQ(*log, (Log{"A.didLoad", "A.willAppear", "A.didAppear"}));
}

TEST_F(NavigationTest, PushWithoutAnimationRunsEveryCallbackInThePhonesOrder) {
    auto nav = showStack(screen("A"));
    nav->pushViewController(screen("B"), false);
    EXPECT_EQ(*log, (Log{"B.didLoad", "A.willDisappear", "B.willAppear", "A.didDisappear",
                         "B.didAppear"}));
    EXPECT_EQ(nav->viewControllers().size(), 2u);
}

TEST_F(NavigationTest, AnimatedPushFinishesAfterTheTransitionOnTheClock) {
    auto nav = showStack(screen("A"));
    auto b = screen("B");
    nav->pushViewController(b, true);
    EXPECT_EQ(*log, (Log{"B.didLoad", "A.willDisappear", "B.willAppear"}));
    EXPECT_EQ(nav->topViewController(), b);

    advance(1);
    EXPECT_EQ(*log, (Log{"B.didLoad", "A.willDisappear", "B.willAppear", "A.didDisappear",
                         "B.didAppear"}));
    // The covered screen's view has left the window.
    EXPECT_EQ(nav->viewControllers().front()->view()->window(), nullptr);
    EXPECT_EQ(b->view()->window(), window);
}

TEST_F(NavigationTest, PopWithoutAnimationShowsTheScreenBelow) {
    auto nav = showStack(screen("A"));
    auto b = screen("B");
    nav->pushViewController(b, false);
    log->clear();

    auto popped = nav->popViewController(false);
    EXPECT_EQ(popped, b);
    EXPECT_EQ(*log, (Log{"B.willDisappear", "A.willAppear", "B.didDisappear", "A.didAppear"}));
    EXPECT_EQ(nav->viewControllers().size(), 1u);
    EXPECT_EQ(b->parentViewController(), nullptr);
}

// A screen that reads its navigation controller as it leaves, as screens restoring the bar do.
class LeavingScreen : public ViewController {
public:
    void viewWillDisappear(bool) override { sawNavigation = navigationController() != nullptr; }
    bool sawNavigation = false;
};

TEST_F(NavigationTest, AnimatedPopKeepsThePoppedScreenInItsStackUntilItHasGone) {
    auto nav = showStack(screen("A"));
    auto leaving = std::make_shared<LeavingScreen>();
    nav->pushViewController(leaving, false);
    log->clear();

    nav->popViewController(true);
    EXPECT_TRUE(leaving->sawNavigation);
    EXPECT_EQ(*log, (Log{"A.willAppear"}));
    advance(1);
    EXPECT_EQ(*log, (Log{"A.willAppear", "A.didAppear"}));
    EXPECT_EQ(leaving->navigationController(), nullptr);
    EXPECT_EQ(leaving->view()->superview(), nullptr);
}

TEST_F(NavigationTest, PopToRootTellsOnlyTheVisibleScreenItLeavesAndTheRootAloneStays) {
    auto nav = showStack(screen("A"));
    nav->pushViewController(screen("B"), false);
    nav->pushViewController(screen("C"), false);
    log->clear();

    auto popped = nav->popToRootViewController(false);
    EXPECT_EQ(popped.size(), 2u);
    EXPECT_EQ(*log, (Log{"C.willDisappear", "A.willAppear", "C.didDisappear", "A.didAppear"}));

    // On the root alone, popping does nothing.
    log->clear();
    EXPECT_EQ(nav->popViewController(true), nullptr);
    EXPECT_TRUE(nav->popToRootViewController(false).empty());
    advance(1);
    EXPECT_TRUE(log->empty());
    EXPECT_EQ(nav->viewControllers().size(), 1u);
    EXPECT_EQ(nav->topViewController()->view()->window(), window);
}

TEST_F(NavigationTest, BarShowsTheTopScreensTitleAndABackButtonThatPops) {
    auto a = screen("A");
    a->setTitle("新闻");
    auto nav = showStack(a);
    auto b = screen("B");
    b->setTitle("详情");
    nav->pushViewController(b, false);

    auto bar = nav->navigationBar();
    EXPECT_EQ(bar->titleLabel()->text(), "详情");
    auto back = bar->backButton();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->currentTitle(), "新闻");

    Rect inWindow = back->convertRectTo(back->bounds(), nullptr);
    EXPECT_TRUE(window->tap(Point{inWindow.midX(), inWindow.midY()}));
    advance(1);
    EXPECT_EQ(nav->topViewController(), a);
    EXPECT_EQ(bar->titleLabel()->text(), "新闻");
    EXPECT_EQ(bar->backButton(), nullptr);
}

TEST_F(NavigationTest, BarItemsAreTappableViewsThatFollowItemChanges) {
    auto a = screen("A");
    auto nav = showStack(a);
    int taps = 0;
    auto item = std::make_shared<BarButtonItem>("编辑", BarButtonItemStyle::Plain,
                                                [&taps](BarButtonItem&) { ++taps; });
    a->navigationItem().setRightBarButtonItem(item);
    a->navigationItem().setTitle("设置");

    auto bar = nav->navigationBar();
    EXPECT_EQ(bar->titleLabel()->text(), "设置");
    auto view = item->view();
    ASSERT_EQ(view->superview(), bar);
    Rect inWindow = view->convertRectTo(view->bounds(), nullptr);
    EXPECT_GT(inWindow.minX(), window->bounds().size.width / 2);
    window->tap(Point{inWindow.midX(), inWindow.midY()});
    EXPECT_EQ(taps, 1);

    item->setEnabled(false);
    window->tap(Point{inWindow.midX(), inWindow.midY()});
    EXPECT_EQ(taps, 1);
}

TEST_F(NavigationTest, ContentStartsBelowAnOpaqueBarAndUnderATranslucentOne) {
    auto a = screen("A");
    auto nav = showStack(a);
    EXPECT_EQ(a->view()->frame(), (Rect{{0, 0}, {375, 667}}));

    nav->navigationBar()->setTranslucent(false);
    EXPECT_EQ(a->view()->frame(), (Rect{{0, 64}, {375, 603}}));
    EXPECT_EQ(nav->navigationBar()->frame(), (Rect{{0, 20}, {375, 44}}));

    nav->setNavigationBarHidden(true);
    EXPECT_EQ(a->view()->frame(), (Rect{{0, 0}, {375, 667}}));
    EXPECT_TRUE(nav->navigationBar()->isHidden());
}

// A screen that makes its stack's bar opaque while it loads, and logs when that is done.
class OpaqueBarScreen : public RecordingController {
public:
    explicit OpaqueBarScreen(std::shared_ptr<Log> log)
        : RecordingController("B", log), m_events(std::move(log)) {}
    void viewDidLoad() override {
        RecordingController::viewDidLoad();
        if (auto nav = navigationController())
            nav->navigationBar()->setTranslucent(false);
        m_events->push_back("B.loaded");
    }

private:
    std::shared_ptr<Log> m_events;
};

TEST_F(NavigationTest, AScreenThatChangesTheBarWhileLoadingAppearsOnlyOnceLoaded) {
    auto nav = showStack(screen("A"));
    auto b = std::make_shared<OpaqueBarScreen>(log);
    nav->pushViewController(b, false);
    EXPECT_EQ(*log, (Log{"B.didLoad", "B.loaded", "A.willDisappear", "B.willAppear",
                         "A.didDisappear", "B.didAppear"}));
    EXPECT_EQ(b->view()->frame(), (Rect{{0, 64}, {375, 603}})) << "placed below the opaque bar";
}

TEST_F(NavigationTest, EdgeSwipePopsUnlessTheScreenHasItsOwnBackButton) {
    auto nav = showStack(screen("A"));
    auto b = screen("B");
    b->navigationItem().setLeftBarButtonItem(
        std::make_shared<BarButtonItem>("返回", BarButtonItemStyle::Plain));
    nav->pushViewController(b, false);

    window->drag(Point{5, 300}, Point{300, 310});
    advance(1);
    EXPECT_EQ(nav->topViewController(), b);

    // Screens with their own back button clear the gesture's delegate to keep the swipe; even
    // then a swipe from the middle of the screen does not pop.
    nav->interactivePopGestureRecognizer()->setDelegate({});
    window->drag(Point{150, 300}, Point{370, 300});
    advance(1);
    EXPECT_EQ(nav->topViewController(), b);

    window->drag(Point{5, 300}, Point{300, 310});
    advance(1);
    EXPECT_EQ(nav->viewControllers().size(), 1u);
}

}  // namespace
}  // namespace uitest
