#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ActionSheetDelegate.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/TextField.h"

using namespace platform;

namespace {

using AlertTest = uitest::UiTest;

// Records what an alert's or an action sheet's delegate is told, in order.
template <class Alert, class Delegate>
class Recording : public Delegate {
public:
    void clickedButtonAtIndex(Alert& alert, int index) override {
        calls.push_back("clicked " + std::to_string(index));
        visibleWhenClicked = alert.isVisible();
    }
    void willDismissWithButtonIndex(Alert&, int index) override {
        calls.push_back("willDismiss " + std::to_string(index));
    }
    void didDismissWithButtonIndex(Alert& alert, int index) override {
        calls.push_back("didDismiss " + std::to_string(index));
        visibleWhenDismissed = alert.isVisible();
    }
    std::vector<std::string> calls;
    bool visibleWhenClicked = false;
    bool visibleWhenDismissed = true;
};
using RecordingAlertDelegate = Recording<AlertView, AlertViewDelegate>;
using RecordingSheetDelegate = Recording<ActionSheet, ActionSheetDelegate>;

TEST_F(AlertTest, CancelButtonIsIndexZeroOthersFollowAndTheOutlineShowsThemAll) {
    auto delegate = std::make_shared<RecordingAlertDelegate>();
    auto alert = View::make<AlertView>("提示", "是否清除缓存?", delegate, "取消",
                                       std::vector<std::string>{"确定", "更多"});
    EXPECT_EQ(alert->buttonTitles(), (std::vector<std::string>{"取消", "确定", "更多"}));
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->firstOtherButtonIndex(), 1);
    EXPECT_EQ(alert->describe(), "alert \"提示\" \"是否清除缓存?\" [取消] [确定] [更多]");
    alert->show();
    EXPECT_TRUE(alert->pressButtonTitled("确定"));
    EXPECT_EQ(delegate->calls.front(), "clicked 1");

    auto noCancel = View::make<AlertView>("添加失败", "请打开 设置-隐私-通讯录 来进行设置",
                                          std::weak_ptr<AlertViewDelegate>{}, "",
                                          std::vector<std::string>{"去设置"});
    EXPECT_EQ(noCancel->cancelButtonIndex(), -1);
    EXPECT_EQ(noCancel->buttonTitleAtIndex(0), "去设置");
}

TEST_F(AlertTest, TapCallsTheDelegateInThePhonesOrderThenDismisses) {
    auto delegate = std::make_shared<RecordingAlertDelegate>();
    auto alert =
        View::make<AlertView>("提示", "m", delegate, "取消", std::vector<std::string>{"确定"});
    alert->show();
    EXPECT_TRUE(AlertPresenter::shared().isModalBlocking());
    EXPECT_FALSE(alert->pressButton(3));
    EXPECT_FALSE(alert->pressButtonTitled("更多"));
    EXPECT_TRUE(delegate->calls.empty()) << "a missing button leaves the alert up";

    EXPECT_TRUE(alert->pressButton(0));

    EXPECT_EQ(delegate->calls,
              (std::vector<std::string>{"clicked 0", "willDismiss 0", "didDismiss 0"}));
    EXPECT_TRUE(delegate->visibleWhenClicked);
    EXPECT_FALSE(delegate->visibleWhenDismissed);
    EXPECT_FALSE(AlertPresenter::shared().isModalBlocking());
    EXPECT_FALSE(alert->pressButton(0));  // gone: a second tap reaches nothing
}

TEST_F(AlertTest, DismissInCodeSkipsTheClick) {
    auto delegate = std::make_shared<RecordingAlertDelegate>();
    auto alert =
        View::make<AlertView>("正在处理图片...", "\n\n", delegate, "", std::vector<std::string>{});
    alert->show();

    alert->dismissWithClickedButtonIndex(0, true);

    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"willDismiss 0", "didDismiss 0"}));
    EXPECT_FALSE(alert->isVisible());
}

TEST_F(AlertTest, AShownAlertStaysAliveWithoutOtherOwnersAndLaterOnesStackOnTop) {
    auto delegate = std::make_shared<RecordingAlertDelegate>();
    std::weak_ptr<AlertView> weak;
    {
        auto alert = View::make<AlertView>("", "13800000000", delegate, "取消",
                                           std::vector<std::string>{"呼叫"});
        alert->setTag(1001);
        alert->show();
        weak = alert;
    }
    ASSERT_FALSE(weak.expired());

    auto top = AlertPresenter::shared().topAlert();
    ASSERT_TRUE(top);
    EXPECT_TRUE(top->pressButtonTitled("呼叫"));
    EXPECT_EQ(delegate->calls.back(), "didDismiss 1");
    top.reset();
    EXPECT_TRUE(weak.expired());

    // Later alerts stack on top.
    auto first = View::make<AlertView>("one", "", delegate, "OK", std::vector<std::string>{});
    auto second = View::make<AlertView>("two", "", delegate, "OK", std::vector<std::string>{});
    first->show();
    second->show();
    EXPECT_EQ(AlertPresenter::shared().topAlert()->alertTitle(), "two");
    AlertPresenter::shared().topAlert()->pressButton(0);
    EXPECT_EQ(AlertPresenter::shared().topAlert()->alertTitle(), "one");
    EXPECT_TRUE(AlertPresenter::shared().isModalBlocking());
}

TEST_F(AlertTest, LoginStyleHasAPlainAndASecureField) {
    auto alert = View::make<AlertView>("sign in", "", std::weak_ptr<AlertViewDelegate>{}, "取消",
                                       std::vector<std::string>{"OK"});
    alert->setAlertViewStyle(AlertViewStyle::LoginAndPasswordInput);

    ASSERT_TRUE(alert->textFieldAtIndex(0));
    ASSERT_TRUE(alert->textFieldAtIndex(1));
    EXPECT_FALSE(alert->textFieldAtIndex(0)->isSecureTextEntry());
    EXPECT_TRUE(alert->textFieldAtIndex(1)->isSecureTextEntry());
    EXPECT_FALSE(alert->textFieldAtIndex(2));
    alert->textFieldAtIndex(1)->typeText("secret");
    EXPECT_EQ(alert->textFieldAtIndex(1)->text(), "secret");
}

TEST_F(AlertTest, ActionSheetPutsDestructiveFirstAndCancelLastAndReportsTapsInOrder) {
    auto screen = std::make_shared<ViewController>();
    auto window = showWindow(screen);
    auto delegate = std::make_shared<RecordingSheetDelegate>();
    auto sheet = View::make<ActionSheet>("", delegate, "取消", "删除",
                                         std::vector<std::string>{"拍照", "从照片中提取"});
    EXPECT_EQ(sheet->buttonTitles(),
              (std::vector<std::string>{"删除", "拍照", "从照片中提取", "取消"}));
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->firstOtherButtonIndex(), 1);
    EXPECT_EQ(sheet->cancelButtonIndex(), 3);

    sheet->showInView(screen->view());
    EXPECT_TRUE(AlertPresenter::shared().isModalBlocking());
    EXPECT_TRUE(sheet->pressButtonTitled("取消"));
    EXPECT_EQ(delegate->calls,
              (std::vector<std::string>{"clicked 3", "willDismiss 3", "didDismiss 3"}));
    EXPECT_FALSE(AlertPresenter::shared().isModalBlocking());
}

TEST_F(AlertTest, AlertControllerRunsTheHandlerAfterItIsDismissed) {
    auto screen = std::make_shared<ViewController>();
    auto window = showWindow(screen);
    auto alert = AlertController::make("提示", "保存到本地通讯录", AlertControllerStyle::Alert);
    bool presentingWhenHandled = true;
    int handled = 0;
    alert->addAction("取消", AlertActionStyle::Cancel);
    alert->addAction("确定", AlertActionStyle::Default, [&] {
        ++handled;
        presentingWhenHandled = screen->presentedViewController() != nullptr;
    });
    screen->presentViewController(alert, false);
    ASSERT_EQ(AlertPresenter::shared().topAlert().get(), alert.get());

    EXPECT_TRUE(AlertPresenter::shared().topAlert()->pressButtonTitled("确定"));

    EXPECT_EQ(handled, 1);
    EXPECT_FALSE(presentingWhenHandled);
    EXPECT_FALSE(AlertPresenter::shared().isModalBlocking());

    // A sheet's cancel runs no other action's handler.
    auto sheet = AlertController::make("", "", AlertControllerStyle::ActionSheet);
    sheet->addAction("拍照", AlertActionStyle::Default, [&] { ++handled; });
    sheet->addAction("取消", AlertActionStyle::Cancel);
    screen->presentViewController(sheet, true);
    EXPECT_TRUE(sheet->pressButton(1));
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(screen->presentedViewController(), nullptr);
}

}  // namespace
