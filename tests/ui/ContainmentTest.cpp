#include <gtest/gtest.h>

#include "platform/ui/View.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

using ContainmentTest = UiTest;

TEST_F(ContainmentTest, ReplacingTheWindowsRootSwitchesScreensInThePhonesOrder) {
    auto log = std::make_shared<Log>();
    auto first = std::make_shared<RecordingController>("A", log);
    auto window = showWindow(first);
    log->clear();

    auto second = std::make_shared<RecordingController>("B", log);
    window->setRootViewController(second);
    EXPECT_EQ(*log, (Log{"B.didLoad", "A.willDisappear", "B.willAppear", "A.didDisappear",
                         "B.didAppear"}));
    EXPECT_EQ(first->view()->window(), nullptr);
    EXPECT_EQ(second->view()->frame(), window->bounds());
}

TEST_F(ContainmentTest, AChildWhoseViewJoinsAScreenOnDisplayAppearsWithIt) {
    auto log = std::make_shared<Log>();
    auto container = std::make_shared<ViewController>();
    auto window = showWindow(container);

    auto child = std::make_shared<RecordingController>("C", log);
    container->addChildViewController(child);
    container->view()->addSubview(child->view());
    child->didMoveToParentViewController(container.get());
    EXPECT_EQ(*log, (Log{"C.didLoad", "C.willAppear", "C.didAppear"}));

    log->clear();
    window->setHidden(true);
    EXPECT_EQ(*log, (Log{"C.willDisappear", "C.didDisappear"}));

    log->clear();
    window->setHidden(false);
    child->view()->removeFromSuperview();
    EXPECT_EQ(*log, (Log{"C.willAppear", "C.didAppear", "C.willDisappear", "C.didDisappear"}));

    EXPECT_EQ(child->parentViewController(), container);
    child->removeFromParentViewController();
    EXPECT_EQ(child->parentViewController(), nullptr);
    EXPECT_TRUE(container->childViewControllers().empty());
}

}  // namespace
}  // namespace uitest
