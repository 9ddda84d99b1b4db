#include <gtest/gtest.h>

#include <memory>

#include "components/hud/ProgressHUD.h"
#include "components/hud/ProgressHUDDelegate.h"
#include "platform/graphics/Image.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/View.h"

using namespace platform;
using namespace platform::components;

namespace {

class HudTest : public ::testing::Test {
protected:
    void advance(double s) { scope.advance(s); }

    bool onView(const std::shared_ptr<ProgressHUD>& hud) const { return hud->superview() == page; }

    platform::testing::UiTestScope scope;
    std::shared_ptr<View> page = View::make<View>(Rect{{0, 0}, {375, 603}});
};

struct CountingDelegate : ProgressHUDDelegate {
    void hudWasHidden(ProgressHUD& hud) override {
        ++hidden;
        stillOnViewWhenHeard = hud.superview() != nullptr;
    }
    int hidden = 0;
    bool stillOnViewWhenHeard = true;
};

// --- Showing over a view --------------------------------------------------------------------

TEST_F(HudTest, OverlayLetsTouchesThroughUntilShownThenCoversTheViewAndTakesThem) {
    auto button = View::make<View>(Rect{{10, 10}, {60, 30}});
    page->addSubview(button);
    auto hud = View::make<ProgressHUD>(*page);
    page->addSubview(hud);
    EXPECT_EQ(page->hitTest({20, 20}), button);

    hud->setLabelText("加载中");
    hud->show(true);
    EXPECT_EQ(page->hitTest({20, 20}), hud);
    EXPECT_EQ(hud->describe(), "[overlay: 加载中]");

    auto shown = ProgressHUD::showHUDAddedTo(*page, true);
    EXPECT_TRUE(onView(shown));
    EXPECT_TRUE(shown->isShowing());
    EXPECT_EQ(shown->frame(), page->bounds());
    EXPECT_EQ(page->hitTest({20, 20}), shown);
}

TEST_F(HudTest, HideForViewHidesTheTopmostOverlayStillUpAndSaysWhetherThereWasOne) {
    auto lower = ProgressHUD::showHUDAddedTo(*page, true);
    auto upper = ProgressHUD::showHUDAddedTo(*page, true);

    EXPECT_EQ(ProgressHUD::HUDForView(*page), upper);
    EXPECT_TRUE(ProgressHUD::hideHUDForView(*page, true));
    EXPECT_FALSE(onView(upper));
    EXPECT_TRUE(lower->isShowing());

    // An overlay already hidden but kept on the view is passed over.
    auto kept = View::make<ProgressHUD>(*page);
    page->addSubview(kept);
    kept->show(false);
    kept->hide(false);
    ASSERT_TRUE(onView(kept));
    EXPECT_TRUE(ProgressHUD::hideHUDForView(*page, true));
    EXPECT_FALSE(onView(lower));
    EXPECT_FALSE(ProgressHUD::hideHUDForView(*page, true));
}

// --- Hiding on the clock --------------------------------------------------------------------

TEST_F(HudTest, DelayedHideTakesTheOverlayAwayExactlyWhenDue) {
    auto hud = ProgressHUD::showHUDAddedTo(*page, true);
    hud->hide(true, 1.0);

    advance(0.99);
    EXPECT_TRUE(onView(hud));
    EXPECT_TRUE(hud->isShowing());
    advance(0.01);
    EXPECT_FALSE(onView(hud));
    EXPECT_TRUE(hud->isFinished());
}

TEST_F(HudTest, OverlayWithoutRemoveOnHideStaysOnItsViewHiddenAndUntouchable) {
    auto hud = View::make<ProgressHUD>(*page);
    page->addSubview(hud);
    hud->show(true);
    hud->hide(true);

    EXPECT_TRUE(onView(hud));
    EXPECT_TRUE(hud->isFinished());
    EXPECT_NE(page->hitTest({100, 100}), hud);
}

TEST_F(HudTest, TwentySecondTaskHidesTheOverlayThenRunsTheCompletionOnce) {
    auto hud = View::make<ProgressHUD>(*page);
    page->addSubview(hud);
    hud->setRemoveFromSuperViewOnHide(true);
    int completions = 0;
    hud->showWhileExecutingDelay(20, [&] { ++completions; });

    advance(19.9);
    EXPECT_TRUE(onView(hud));
    EXPECT_EQ(completions, 0);
    advance(0.1);
    EXPECT_FALSE(onView(hud));
    EXPECT_EQ(completions, 1);
    advance(30);
    EXPECT_EQ(completions, 1);
}

TEST_F(HudTest, TwentySecondTaskEndsEarlyWhenTheOverlayIsHiddenFirst) {
    auto hud = View::make<ProgressHUD>(*page);
    page->addSubview(hud);
    int completions = 0;
    hud->showWhileExecutingDelay(20, [&] { ++completions; });

    advance(3);
    hud->hide(true);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(hud->isFinished());

    // Shown again for something else: the old 20 seconds must not cut it short.
    hud->show(true);
    advance(20);
    EXPECT_TRUE(hud->isShowing());
    EXPECT_EQ(completions, 1);
}

TEST_F(HudTest, OverlayTakenOffItsViewEarlyIgnoresItsPendingHide) {
    auto hud = View::make<ProgressHUD>(*page);
    page->addSubview(hud);
    auto delegate = std::make_shared<CountingDelegate>();
    hud->setDelegate(delegate);
    int completions = 0;
    hud->showWhileExecutingDelay(20, [&] { ++completions; });

    // A screen's reply removes it from the view at once.
    hud->removeFromSuperview();
    advance(20);
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(delegate->hidden, 0);
}

TEST_F(HudTest, OverlayGoesAsSoonAsNothingHoldsItWhateverHidesArePending) {
    auto delegate = std::make_shared<CountingDelegate>();
    std::weak_ptr<ProgressHUD> weak;
    {
        auto screen = View::make<View>(Rect{{0, 0}, {320, 480}});
        auto hud = ProgressHUD::showHUDAddedTo(*screen, true);
        hud->setDelegate(delegate);
        hud->hide(true, 1.0);
        weak = hud;
    }
    // Its view is gone: the pending hide does not keep it.
    EXPECT_TRUE(weak.expired());
    advance(1.0);
    EXPECT_EQ(delegate->hidden, 0);

    // Hidden (after its minimum show time) long before its twenty seconds are up.
    auto hud = ProgressHUD::showHUDAddedTo(*page, true);
    hud->setMinShowTime(1);
    hud->showWhileExecutingDelay(20, [] {});
    ProgressHUD::hideHUDForView(*page, true);
    advance(1);
    ASSERT_FALSE(onView(hud));
    weak = hud;
    hud.reset();
    EXPECT_TRUE(weak.expired());
}

TEST_F(HudTest, MinimumShowTimeHoldsBackAnEarlyHide) {
    auto hud = ProgressHUD::showHUDAddedTo(*page, true);
    hud->setMinShowTime(1.0);
    advance(0.2);
    hud->hide(true);

    advance(0.79);
    EXPECT_TRUE(onView(hud));
    advance(0.01);
    EXPECT_FALSE(onView(hud));
}

// --- Delegate ---------------------------------------------------------------------------------

TEST_F(HudTest, DelegateHearsOnceThatTheOverlayWasHiddenAfterItLeftTheView) {
    auto delegate = std::make_shared<CountingDelegate>();
    auto hud = ProgressHUD::showHUDAddedTo(*page, true);
    hud->setDelegate(delegate);

    hud->hide(true);
    hud->hide(true);
    EXPECT_EQ(delegate->hidden, 1);
    EXPECT_FALSE(delegate->stillOnViewWhenHeard);
}

// --- Content and look ------------------------------------------------------------------------

TEST_F(HudTest, TextModeShowsOnlyTheLabelCentredInTheBox) {
    auto hud = ProgressHUD::showHUDAddedTo(*page, true);
    hud->setMode(ProgressHUDMode::Text);
    hud->setLabelText("暂无数据");
    hud->layoutIfNeeded();

    std::shared_ptr<Label> label;
    for (const auto& subview : hud->subviews()) {
        auto asLabel = std::dynamic_pointer_cast<Label>(subview);
        if (asLabel && asLabel->text() == "暂无数据") {
            label = asLabel;
        } else {
            EXPECT_TRUE(subview->isHidden()) << subview->describe();
        }
    }
    ASSERT_TRUE(label);
    EXPECT_FALSE(label->isHidden());
    Rect box = hud->boxFrame();
    EXPECT_NEAR(label->frame().midX(), box.midX(), 0.01);
    EXPECT_NEAR(label->frame().midY(), box.midY(), 0.01);
    EXPECT_NEAR(box.midY(), page->bounds().midY(), 0.01);
    EXPECT_EQ(hud->describe(), "[overlay text: 暂无数据]");
}

TEST_F(HudTest, CustomViewSitsAboveTheLabelInsideTheBox) {
    auto hud = ProgressHUD::showHUDAddedTo(*page, true);
    auto icon = View::make<ImageView>(Rect{{0, 0}, {37, 37}});
    hud->setCustomView(icon);
    hud->setMode(ProgressHUDMode::CustomView);
    hud->setLabelText("登录成功");
    hud->setYOffset(-50);
    hud->layoutIfNeeded();

    ASSERT_EQ(icon->superview(), hud);
    Rect box = hud->boxFrame();
    EXPECT_NEAR(box.midY(), page->bounds().midY() - 50, 0.01);
    EXPECT_TRUE(box.contains(icon->frame().origin));
    EXPECT_GE(icon->frame().minY(), box.minY() + hud->margin() - 0.01);
    for (const auto& subview : hud->subviews()) {
        if (auto label = std::dynamic_pointer_cast<Label>(subview); label && !label->isHidden()) {
            EXPECT_GE(label->frame().minY(), icon->frame().maxY());
        }
    }
}

TEST_F(HudTest, RendersADarkBoxInTheMiddleAndDimsTheRestOnlyWhenAsked) {
    page->setBackgroundColor(Color::white());
    auto hud = ProgressHUD::showHUDAddedTo(*page, true);
    hud->setLabelText("加载中");

    Image plain = renderToImage(*page);
    std::uint32_t middle = plain.pixelAt(int(hud->boxFrame().minX()) + 4, 301);
    EXPECT_LT(middle & 0xff, 0x60u) << std::hex << middle;
    EXPECT_EQ(plain.pixelAt(2, 2), 0xffffffffu);

    hud->setDimBackground(true);
    Image dimmed = renderToImage(*page);
    EXPECT_LT(dimmed.pixelAt(2, 2) & 0xff, 0xc0u);
}

}  // namespace
