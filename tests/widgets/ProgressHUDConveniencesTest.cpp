#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "components/hud/ProgressHUD.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "widgets/ProgressHUDConveniences.h"

using namespace platform;
using platform::components::ProgressHUD;
using platform::components::ProgressHUDMode;

namespace {

class ProgressHUDConveniencesTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunLoop::main().useManualClock();
        first->makeKeyAndVisible();
        last->makeKeyAndVisible();
    }
    void TearDown() override {
        RunLoop::main().reset();
        RunLoop::main().useRealClock();
        Application::shared().reset();
    }

    static void advance(double s) { RunLoop::main().advance(seconds(s)); }

    static std::vector<std::shared_ptr<ProgressHUD>> overlaysOn(const View& view) {
        std::vector<std::shared_ptr<ProgressHUD>> found;
        for (const auto& subview : view.subviews()) {
            if (auto hud = std::dynamic_pointer_cast<ProgressHUD>(subview)) {
                found.push_back(hud);
            }
        }
        return found;
    }

    std::shared_ptr<Window> first = View::make<Window>(Rect{{0, 0}, {375, 667}});
    std::shared_ptr<Window> last = View::make<Window>(Rect{{0, 0}, {375, 667}});
};

// --- Toasts ---------------------------------------------------------------------------------

TEST_F(ProgressHUDConveniencesTest, EachToastIsItsOwnOverlayOnTheLastWindowForExactlyOneSecond) {
    ProgressHUDConveniences::showSuccess("一");
    EXPECT_TRUE(overlaysOn(*first).empty());
    auto overlays = overlaysOn(*last);
    ASSERT_EQ(overlays.size(), 1u);
    EXPECT_EQ(overlays[0]->mode(), ProgressHUDMode::CustomView);

    advance(0.5);
    ProgressHUDConveniences::showError("二");
    overlays = overlaysOn(*last);
    ASSERT_EQ(overlays.size(), 2u);
    EXPECT_EQ(overlays[0]->labelText(), "一");
    EXPECT_EQ(overlays[1]->labelText(), "二");

    advance(0.49);
    EXPECT_EQ(overlaysOn(*last).size(), 2u);
    advance(0.01);
    overlays = overlaysOn(*last);
    ASSERT_EQ(overlays.size(), 1u);
    EXPECT_EQ(overlays[0]->labelText(), "二");
    advance(0.5);
    EXPECT_TRUE(overlaysOn(*last).empty());
}

TEST_F(ProgressHUDConveniencesTest, ErrorWithEmptyTextShowsTheIconWithoutALabel) {
    ProgressHUDConveniences::showError("");

    auto overlays = overlaysOn(*last);
    ASSERT_EQ(overlays.size(), 1u);
    auto toast = overlays[0];
    toast->layoutIfNeeded();
    auto icon = std::dynamic_pointer_cast<ImageView>(toast->customView());
    ASSERT_TRUE(icon);
    EXPECT_FALSE(icon->image().isNull());
    for (const auto& subview : toast->subviews()) {
        auto label = std::dynamic_pointer_cast<Label>(subview);
        EXPECT_FALSE(label && !label->isHidden());
    }
    // Without a label the icon alone sits in the middle of the box.
    EXPECT_NEAR(icon->frame().midY(), toast->boxFrame().midY(), 0.01);
}

TEST_F(ProgressHUDConveniencesTest, ToastWithoutAnyWindowDoesNothing) {
    Application::shared().reset();
    ProgressHUDConveniences::showSuccess("登录成功");
    EXPECT_FALSE(ProgressHUDConveniences::showMessage("加载中"));
    ProgressHUDConveniences::hideHUD();
    EXPECT_TRUE(overlaysOn(*last).empty());
}

// --- Waiting overlay ------------------------------------------------------------------------

TEST_F(ProgressHUDConveniencesTest, MessageStaysUntilHideHUDFindsItOnTheLastWindow) {
    auto hud = ProgressHUDConveniences::showMessage("请稍候");
    ASSERT_TRUE(hud);
    EXPECT_EQ(hud->superview(), last);
    EXPECT_EQ(hud->mode(), ProgressHUDMode::Indeterminate);
    EXPECT_TRUE(hud->dimBackground());

    advance(60);
    EXPECT_EQ(hud->superview(), last);

    ProgressHUDConveniences::hideHUD();
    EXPECT_EQ(hud->superview(), nullptr);
    EXPECT_TRUE(hud->isFinished());
}

TEST_F(ProgressHUDConveniencesTest, OverlaysOnAViewStayThereAndHidingForItLeavesOthersAlone) {
    auto page = View::make<View>(Rect{{0, 64}, {375, 554}});
    last->addSubview(page);
    ProgressHUDConveniences::showErrorToView("网络错误", page);
    ASSERT_EQ(overlaysOn(*page).size(), 1u);
    EXPECT_TRUE(overlaysOn(*last).empty());
    advance(1.0);
    EXPECT_TRUE(overlaysOn(*page).empty());

    auto onPage = ProgressHUDConveniences::showMessageToView("加载中", page);
    auto onWindow = ProgressHUDConveniences::showMessage("请稍候");
    ProgressHUDConveniences::hideHUDForView(page);
    EXPECT_EQ(onPage->superview(), nullptr);
    EXPECT_EQ(onWindow->superview(), last);
}

// --- The screens' text message --------------------------------------------------------------

TEST_F(ProgressHUDConveniencesTest, TextMessageIsTextOnlyAndLeavesItsViewAfterOneSecond) {
    auto page = View::make<View>(Rect{{0, 0}, {375, 667}});
    auto hud = ProgressHUDConveniences::showHUDWithStr(page, "暂无数据");
    ASSERT_TRUE(hud);
    EXPECT_EQ(hud->superview(), page);
    EXPECT_EQ(hud->mode(), ProgressHUDMode::Text);
    EXPECT_EQ(hud->describe(), "[overlay text: 暂无数据]");

    advance(0.99);
    EXPECT_EQ(hud->superview(), page);
    advance(0.01);
    EXPECT_EQ(hud->superview(), nullptr);
}

}  // namespace
