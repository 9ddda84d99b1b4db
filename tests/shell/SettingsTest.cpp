#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/SignInState.h"
#include "fakes/Reply.h"
#include "platform/foundation/Json.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TextView.h"
#include "shell/AboutUSViewController.h"
#include "shell/FeedbackViewController.h"
#include "shell/OptionsViewController.h"
#include "tests/shell/HomeTestSupport.h"

using namespace shelltest;
using platform::Json;

namespace {

constexpr const char* kFeedbackPath = "/vobels/services/api/edu/sendLeaveword.do";

const std::vector<std::string> kTenSignInKeys = {
    SignInKey::isLogin,
    SignInKey::UserId,
    SignInKey::UserInfo,
    SignInKey::WebViewUserInfo,
    SignInKey::LoginTypeTeacher,
    SignInKey::LoginTypeStudent,
    SignInKey::kTeacherSelectItemUp,
    SignInKey::kTeacherSelectItemDown,
    SignInKey::kStudentSelectItemUp,
    SignInKey::kStudentSelectItemDown,
};

// The client launched with the introduction seen, on the "设置" tab.
class SettingsTest : public hometest::HomeTest {
protected:
    void openSettings() {
        launch();
        ASSERT_TRUE(driver.tap("tab" + std::to_string(AppDelegate::kSettingsTabIndex)));
        settle();
        ASSERT_TRUE(settings()) << driver.outline();
    }

    std::shared_ptr<platform::NavigationController> settingsStack() const {
        return std::dynamic_pointer_cast<platform::NavigationController>(
            tabBarController()->viewControllers()[AppDelegate::kSettingsTabIndex]);
    }
    std::shared_ptr<OptionsViewController> settings() const {
        auto stack = settingsStack();
        return stack ? std::dynamic_pointer_cast<OptionsViewController>(
                           stack->viewControllers().front())
                     : nullptr;
    }
    // The sign-out button as a user sees it: on the page and not hidden.
    bool showsSignOutButton() const {
        auto button = settings()->logOutButton();
        return button && !button->isHidden() && button->superview() == settings()->view() &&
               driver.find("注销账号") == button;
    }
    std::vector<std::string> settingsToasts() const { return overlayTexts(*settings()->view()); }
};

// --- Settings ---------------------------------------------------------------------------------

TEST_F(SettingsTest, SignedOutThereIsNoSignOutButtonAndFeedbackPresentsTheSignInPage) {
    openSettings();
    EXPECT_EQ(settings()->navigationItem().title(), "设置");
    EXPECT_TRUE(driver.find("关于我们"));
    EXPECT_FALSE(showsSignOutButton());
    EXPECT_FALSE(settings()->logOutButton());

    ASSERT_TRUE(driver.tap("意见反馈"));
    settle();
    auto login =
        std::dynamic_pointer_cast<LoginViewController>(settingsStack()->presentedViewController());
    ASSERT_TRUE(login) << driver.outline();
    EXPECT_EQ(login->modalTransitionStyle(), platform::ModalTransitionStyle::CoverVertical);
    EXPECT_EQ(settingsStack()->viewControllers().size(), 1u) << "no feedback page behind it";
}

TEST_F(SettingsTest, SignOutPostsWhileTheUserIsStoredThenRemovesExactlyTheTenKeys) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    defaults().setBool(true, SignInKey::LoginTypeStudent);
    defaults().setObject(Json{{"userName", "王建国"}}, SignInKey::UserInfo);
    defaults().setObject(Json{{"userId", kTeacher}}, SignInKey::WebViewUserInfo);
    for (const char* key : {SignInKey::kTeacherSelectItemUp, SignInKey::kTeacherSelectItemDown,
                            SignInKey::kStudentSelectItemUp, SignInKey::kStudentSelectItemDown})
        storeTiles(key, {tile("通知公告", "announcement")});
    defaults().setString("device-token-1", SignInKey::kDeviceToken);
    defaults().setString("kept", "someOtherSetting");
    defaults().synchronize();
    openSettings();
    ASSERT_TRUE(showsSignOutButton()) << driver.outline();

    const Json before = defaults().dictionaryRepresentation();
    std::optional<Json> storedAtPost;
    auto id = platform::NotificationCenter::defaultCenter().addObserver(
        SignInNotification::kRefreshLogoutMenu, [&](const platform::Notification&) {
            storedAtPost = defaults().dictionaryRepresentation();
        });
    ASSERT_TRUE(driver.tap("注销账号"));
    platform::NotificationCenter::defaultCenter().removeObserver(id);

    ASSERT_TRUE(storedAtPost) << "kRefreshLogoutMenu was posted";
    EXPECT_EQ(*storedAtPost, before) << "observers still see the signed-in user";

    Json expected = before;
    for (const auto& key : kTenSignInKeys) expected.erase(key);
    EXPECT_EQ(defaults().dictionaryRepresentation(), expected);

    EXPECT_EQ(settingsToasts(), std::vector<std::string>{"注销成功"});
    EXPECT_FALSE(showsSignOutButton());
    EXPECT_FALSE(settings()->logOutButton());
    EXPECT_FALSE(driver.find("注销账号"));

    // The removal reached the disk, not only the process.
    relaunch();
    Json afterRelaunch = defaults().dictionaryRepresentation();
    for (const auto& key : kTenSignInKeys) EXPECT_FALSE(afterRelaunch.contains(key)) << key;
    EXPECT_EQ(defaults().stringForKey(SignInKey::kDeviceToken), "device-token-1");
}

TEST_F(SettingsTest, AfterASignInOnAnotherTabTheButtonIsThereAndSignOutGatesTheTabsAgain) {
    openSettings();
    EXPECT_FALSE(showsSignOutButton());

    // Sign in where a user would: a gated home tile presents the sign-in page.
    ASSERT_TRUE(driver.tap("tab0"));
    settle();
    ASSERT_TRUE(driver.tap("通知公告"));
    settle();
    auto login = std::dynamic_pointer_cast<LoginViewController>(presented());
    ASSERT_TRUE(login) << driver.outline();
    ASSERT_TRUE(driver.type("account", kTeacher));
    ASSERT_TRUE(driver.type("password", kTeacherPassword));
    ASSERT_TRUE(driver.pressReturn());
    ASSERT_TRUE(driver.tap("login"));
    ASSERT_TRUE(waitFor([&] { return login->isBeingDismissed() || !presented(); }));
    settle(1.5);

    ASSERT_TRUE(driver.tap("tab3"));
    settle();
    EXPECT_TRUE(showsSignOutButton()) << driver.outline();

    // Coming back keeps the one button.
    ASSERT_TRUE(driver.tap("tab0"));
    settle();
    ASSERT_TRUE(driver.tap("tab3"));
    settle();
    EXPECT_EQ(
        std::count_if(settings()->view()->subviews().begin(), settings()->view()->subviews().end(),
                      [](const auto& v) {
                          return std::dynamic_pointer_cast<platform::Button>(v) != nullptr;
                      }),
        1);

    ASSERT_TRUE(driver.tap("注销账号"));
    settle(1.5);
    EXPECT_FALSE(showsSignOutButton());
    ASSERT_TRUE(driver.tap("tab1"));
    settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<LoginViewController>(driver.currentScreen()))
        << "the meeting tab is gated again";
}

TEST_F(SettingsTest, AboutShowsTheBundleVersionAndGoesBack) {
    openSettings();
    ASSERT_TRUE(driver.tap("关于我们"));
    settle();
    auto about =
        std::dynamic_pointer_cast<AboutUSViewController>(settingsStack()->topViewController());
    ASSERT_TRUE(about) << driver.outline();
    EXPECT_TRUE(about->hidesBottomBarWhenPushed());
    EXPECT_EQ(about->title(), "关于");
    EXPECT_EQ(about->versionsLabel()->text(), "版本：2.0.4");
    EXPECT_TRUE(driver.find("版本：2.0.4"));

    ASSERT_TRUE(driver.back());
    settle();
    EXPECT_EQ(settingsStack()->topViewController(), settings());
}

// --- Feedback ---------------------------------------------------------------------------------

class FeedbackTest : public SettingsTest {
protected:
    void openFeedback() {
        storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
        openSettings();
        ASSERT_TRUE(driver.tap("意见反馈"));
        settle();
        page =
            std::dynamic_pointer_cast<FeedbackViewController>(settingsStack()->topViewController());
        ASSERT_TRUE(page) << driver.outline();
        server.clearRequests();
    }

    // Types the text (unless empty), taps submit and waits until the reply has been handled.
    void submit(const std::string& text) {
        if (!text.empty()) {
            ASSERT_TRUE(driver.type("feedback", text));
        }
        ASSERT_TRUE(driver.tap("submit")) << driver.outline();
        ASSERT_TRUE(page->HUD());
        EXPECT_EQ(page->HUD()->labelText(), "正在提交...");
        ASSERT_TRUE(waitFor([&] { return !page->HUD()->isShowing(); }));
    }

    std::vector<std::string> pageToasts() const { return overlayTexts(*page->view()); }
    bool placeholderShows() const { return !page->labelText()->isHidden(); }

    std::shared_ptr<FeedbackViewController> page;
};

TEST_F(FeedbackTest, TheTextArrivesIntactWithTheAccountAndTitle) {
    openFeedback();
    EXPECT_TRUE(page->hidesBottomBarWhenPushed());
    EXPECT_EQ(page->title(), "意见反馈");

    submit("a&b=c+d 中文 100%#?");
    const auto posted = server.requestsTo(kFeedbackPath);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].method, "POST");
    EXPECT_EQ(posted[0].queryValue("userId"), kTeacher);
    EXPECT_EQ(posted[0].queryValue("title"), "意见反馈");
    EXPECT_EQ(posted[0].queryValue("contents"), "a&b=c+d 中文 100%#?");
    EXPECT_EQ(posted[0].query.size(), 3u) << posted[0].target;

    EXPECT_EQ(pageToasts(), std::vector<std::string>{"提交成功"});
    // A submission keeps the text and the page.
    EXPECT_EQ(page->myTextView()->text(), "a&b=c+d 中文 100%#?");
    EXPECT_EQ(settingsStack()->topViewController(), page);
}

TEST_F(FeedbackTest, AnEmptyTextIsSentWithEmptyContents) {
    openFeedback();
    submit("");
    const auto posted = server.requestsTo(kFeedbackPath);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].queryValue("contents"), "");
}

TEST_F(FeedbackTest, OnlyTheTextTrueCountsAsSubmitted) {
    openFeedback();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"({"res":"true","msg":{}})", "提交成功"},
        {R"({"res":"false","msg":{}})", "提交失败"},
        {R"({"res":true})", "提交失败"},
        {R"({"res":"True"})", "提交失败"},
        {R"({"msg":{}})", "提交失败"},
        {R"([])", "提交失败"},
    };
    for (const auto& [body, toast] : cases) {
        SCOPED_TRACE(body);
        fakes::Reply reply;
        reply.body = body;
        server.setReply("POST", kFeedbackPath, reply);
        submit("x");
        EXPECT_EQ(pageToasts(), std::vector<std::string>{toast});
        settle(1.5);  // the toast goes
    }
}

TEST_F(FeedbackTest, AFailedRequestTakesTheOverlayAwayAtOnceAndSaysSo) {
    openFeedback();
    for (int status : {500, 404}) {
        SCOPED_TRACE(status);
        fakes::Reply reply;
        reply.status = status;
        reply.body = "{}";
        server.setReply("POST", kFeedbackPath, reply);
        submit("x");  // waits on real time only: the clock stays before the 20 s
        EXPECT_EQ(pageToasts(), std::vector<std::string>{"提交失败"});
        settle(1.5);
    }
    // No service at all.
    server.stop();
    submit("x");
    EXPECT_EQ(pageToasts(), std::vector<std::string>{"提交失败"});
}

TEST_F(FeedbackTest, WithoutAReplyTheOverlayGoesAfterTwentySeconds) {
    openFeedback();
    fakes::Reply reply;
    reply.body = R"({"res":"true"})";
    reply.delay = std::chrono::milliseconds(10000);
    server.setReply("POST", kFeedbackPath, reply);
    ASSERT_TRUE(driver.tap("submit"));
    ASSERT_TRUE(page->HUD()->isShowing());
    scope.advance(19.9);
    EXPECT_TRUE(page->HUD()->isShowing());
    scope.advance(0.2);
    EXPECT_FALSE(page->HUD()->isShowing());
    EXPECT_FALSE(page->HUD()->superview());
}

TEST_F(FeedbackTest, ThePlaceholderShowsExactlyWhenTheTextIsEmpty) {
    openFeedback();
    const auto& text = page->myTextView();
    EXPECT_EQ(page->labelText()->text(), "欢迎在这儿发表宝贵意见哦~");
    EXPECT_EQ(page->labelText()->superview(), text);
    EXPECT_TRUE(placeholderShows());

    ASSERT_TRUE(text->typeText("a"));
    EXPECT_FALSE(placeholderShows());
    ASSERT_TRUE(text->deleteBackward());
    EXPECT_TRUE(placeholderShows()) << "the only character deleted";
    text->deleteBackward();
    EXPECT_TRUE(placeholderShows()) << "deleting nothing changes nothing";

    ASSERT_TRUE(text->typeText("abc"));
    ASSERT_TRUE(text->replaceText({0, 3}, ""));
    EXPECT_EQ(text->text(), "");
    EXPECT_TRUE(placeholderShows()) << "a selection of several characters deleted";

    ASSERT_TRUE(text->replaceText({0, 0}, "粘贴的文字"));
    EXPECT_FALSE(placeholderShows()) << "pasted into the empty text";
    ASSERT_TRUE(text->replaceText({0, 5}, "新"));
    EXPECT_FALSE(placeholderShows()) << "the whole text replaced by another";
}

}  // namespace
