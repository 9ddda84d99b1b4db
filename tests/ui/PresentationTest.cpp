#include <gtest/gtest.h>

#include "platform/foundation/Log.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/View.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

class PresentationTest : public UiTest {
protected:
    void SetUp() override {
        home = std::make_shared<RecordingController>("A", log);
        nav = std::make_shared<NavigationController>(home);
        window = showWindow(nav);
        log->clear();
    }
    void TearDown() override { setLogSink(nullptr); }

    std::shared_ptr<Log> log = std::make_shared<Log>();
    std::shared_ptr<RecordingController> home;
    std::shared_ptr<NavigationController> nav;
    std::shared_ptr<Window> window;
};

TEST_F(PresentationTest, PresentAndDismissWithoutAnimationCompleteBeforeReturning) {
    auto sheet = std::make_shared<RecordingController>("B", log);
    bool completed = false;
    home->presentViewController(sheet, false, [&] { completed = true; });

    EXPECT_TRUE(completed);
    EXPECT_EQ(*log, (Log{"B.didLoad", "A.willDisappear", "B.willAppear", "B.didAppear",
                         "A.didDisappear"}));
    // Presenting from a screen inside a stack presents from the top of the stack.
    EXPECT_EQ(sheet->presentingViewController(), nav);
    EXPECT_EQ(home->presentedViewController(), sheet);
    EXPECT_EQ(sheet->view()->window(), window);
    EXPECT_EQ(home->view()->window(), nullptr);

    log->clear();
    completed = false;
    sheet->dismissViewController(false, [&] { completed = true; });
    EXPECT_TRUE(completed);
    EXPECT_EQ(*log, (Log{"B.willDisappear", "A.willAppear", "A.didAppear", "B.didDisappear"}));
    EXPECT_EQ(home->presentedViewController(), nullptr);
    EXPECT_EQ(sheet->presentingViewController(), nullptr);
    EXPECT_EQ(home->view()->window(), window);
    EXPECT_EQ(sheet->view()->superview(), nullptr);
}

TEST_F(PresentationTest, AnimatedPresentAndDismissCompleteAfterTheirDuration) {
    auto sheet = std::make_shared<RecordingController>("B", log);
    bool presented = false;
    home->presentViewController(sheet, true, [&] { presented = true; });
    EXPECT_FALSE(presented);
    EXPECT_EQ(*log, (Log{"B.didLoad", "A.willDisappear", "B.willAppear"}));
    advance(1);
    EXPECT_TRUE(presented);
    log->clear();

    bool dismissed = false;
    home->dismissViewController(true, [&] { dismissed = true; });
    EXPECT_FALSE(dismissed);
    EXPECT_EQ(*log, (Log{"B.willDisappear", "A.willAppear"}));
    EXPECT_EQ(home->presentedViewController(), sheet);
    advance(1);
    EXPECT_TRUE(dismissed);
    EXPECT_EQ(*log, (Log{"B.willDisappear", "A.willAppear", "A.didAppear", "B.didDisappear"}));
    EXPECT_EQ(home->presentedViewController(), nullptr);
}

TEST_F(PresentationTest, DismissDuringThePresentAnimationFinishesThePresentFirst) {
    auto sheet = std::make_shared<RecordingController>("B", log);
    bool presented = false;
    home->presentViewController(sheet, true, [&] { presented = true; });
    sheet->dismissViewController(false);
    EXPECT_TRUE(presented);
    EXPECT_EQ(*log,
              (Log{"B.didLoad", "A.willDisappear", "B.willAppear", "B.didAppear", "A.didDisappear",
                   "B.willDisappear", "A.willAppear", "A.didAppear", "B.didDisappear"}));
}

TEST_F(PresentationTest, ASecondPresentationWhilePresentingIsRefused) {
    std::vector<std::string> lines;
    setLogSink([&lines](const std::string& line) { lines.push_back(line); });
    auto first = std::make_shared<ViewController>();
    auto second = std::make_shared<ViewController>();
    home->presentViewController(first, false);
    bool completed = false;
    home->presentViewController(second, false, [&] { completed = true; });

    EXPECT_FALSE(completed);
    EXPECT_EQ(home->presentedViewController(), first);
    EXPECT_EQ(second->presentingViewController(), nullptr);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("already presenting"), std::string::npos);
}

TEST_F(PresentationTest, AScreenOffTheWindowCannotPresent) {
    setLogSink([](const std::string&) {});
    auto pushed = std::make_shared<ViewController>();
    nav->pushViewController(pushed, false);
    nav->popViewController(false);

    auto sheet = std::make_shared<ViewController>();
    pushed->presentViewController(sheet, false);
    EXPECT_EQ(sheet->presentingViewController(), nullptr);
    EXPECT_FALSE(sheet->isViewLoaded());
}

TEST_F(PresentationTest, OverFullScreenLeavesThePresenterShowing) {
    auto overlay = std::make_shared<RecordingController>("B", log);
    overlay->setModalPresentationStyle(ModalPresentationStyle::OverFullScreen);
    home->presentViewController(overlay, false);
    EXPECT_EQ(*log, (Log{"B.didLoad", "B.willAppear", "B.didAppear"}));
    EXPECT_EQ(home->view()->window(), window);
}

TEST_F(PresentationTest, DismissingFromBelowRemovesEverythingPresentedAbove) {
    auto first = std::make_shared<RecordingController>("B", log);
    auto second = std::make_shared<RecordingController>("C", log);
    home->presentViewController(first, false);
    first->presentViewController(second, false);
    log->clear();

    home->dismissViewController(false);
    EXPECT_EQ(*log, (Log{"C.willDisappear", "A.willAppear", "A.didAppear", "C.didDisappear"}));
    EXPECT_EQ(first->view()->superview(), nullptr);
    EXPECT_EQ(second->view()->superview(), nullptr);
    EXPECT_EQ(home->view()->window(), window);
}

TEST_F(PresentationTest, ACompletionThatCapturesNothingStrongDoesNothingOnceTheScreenIsGone) {
    auto sheet = std::make_shared<ViewController>();
    home->presentViewController(sheet, false);
    int ran = 0;
    std::weak_ptr<ViewController> weak = sheet;
    sheet->dismissViewController(true, [weak, &ran] {
        if (auto alive = weak.lock()) {
            ++ran;
        }
    });
    sheet.reset();
    advance(1);
    EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace uitest
