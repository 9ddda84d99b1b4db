#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "client/SignInState.h"
#include "components/hud/ProgressHUD.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/WebView.h"
#include "signin/LoginViewController.h"
#include "tests/shell/ShellTestSupport.h"
#include "webcontainer/WebDetailViewController.h"

using platform::Json;

namespace {

// A screen that opens a web page, as the home page does.
class OpenerScreen : public platform::ViewController {};

class WebDetailTest : public shelltest::ShellTest {
protected:
    WebDetailTest() {
        navigation = std::make_shared<platform::NavigationController>(opener);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
    }

    std::shared_ptr<WebDetailViewController> open(const std::string& title,
                                                  const std::string& url) {
        auto page = std::make_shared<WebDetailViewController>();
        page->setTitleStr(title);
        page->setUrlStr(url);
        navigation->pushViewController(page, false);
        return page;
    }
    // The page's load (or its failure) and what it started have come back.
    bool waitForLoad(const WebDetailViewController& page) {
        return waitForWeb([&] {
            return !page.webView()->isBusy() && platform::HttpClient::shared().inFlight() == 0;
        });
    }
    std::shared_ptr<LoginViewController> signInPage() const {
        return std::dynamic_pointer_cast<LoginViewController>(
            navigation->presentedViewController());
    }
    static void postLoginSuccess() {
        platform::NotificationCenter::defaultCenter().post(SignInNotification::LoginSuccess);
    }
    // The argument of the page's "callback(...)" script, as the page's script engine reads it.
    static std::string callbackArgument(const std::string& script) {
        EXPECT_TRUE(script.starts_with("callback(") && script.ends_with(")")) << script;
        if (script.size() < 10)
            return {};
        return script.substr(9, script.size() - 10);
    }

    std::shared_ptr<platform::Window> window = platform::View::make<platform::Window>();
    std::shared_ptr<OpenerScreen> opener = std::make_shared<OpenerScreen>();
    std::shared_ptr<platform::NavigationController> navigation;
};

TEST_F(WebDetailTest, LoadsTheAddressAsGivenIgnoringCachedDataWithinTenSeconds) {
    const std::string url = server.baseUrl() + "/CM/login.html?from=%E9%A6%96%E9%A1%B5";
    auto page = open("移动考勤", url);

    EXPECT_EQ(page->title(), "移动考勤");
    EXPECT_EQ(page->navigationItem().title(), "移动考勤");
    const auto& request = page->webView()->request();
    EXPECT_EQ(request.url, url);
    EXPECT_TRUE(request.ignoreCache);
    EXPECT_EQ(request.timeoutSeconds, 10);
    auto overlay = page->loadingOverlay();
    ASSERT_TRUE(overlay);
    EXPECT_EQ(overlay->labelText(), "加载中");

    ASSERT_TRUE(waitForLoad(*page));
    EXPECT_FALSE(page->loadingOverlay());
    EXPECT_EQ(page->webView()->pageTitle(), "移动考勤");
    ASSERT_EQ(server.requestsTo("/CM/login.html").size(), 1u);
    // Not escaped a second time.
    EXPECT_EQ(server.requestsTo("/CM/login.html").front().target,
              "/CM/login.html?from=%E9%A6%96%E9%A1%B5");
}

TEST_F(WebDetailTest, AFailedLoadTakesTheOverlayAway) {
    const std::string base = server.baseUrl();
    server.stop();
    auto page = open("校园支付", base + "/school/interface/toPay");
    ASSERT_TRUE(page->loadingOverlay());

    ASSERT_TRUE(waitForLoad(*page));
    EXPECT_TRUE(page->webView()->lastError());
    EXPECT_FALSE(page->loadingOverlay());
}

TEST_F(WebDetailTest, APendingRequestIsAnsweredOnSignInWithTheStoredUserInformation) {
    defaults().setBool(true, SignInKey::isLogin);
    const Json info = {{"userId", "20050031"},
                       {"userName", "王\"建国\");alert(1);//"},
                       {"note", "第一行\u2028第二行\u2029第三段</script>\\"},
                       {"email", ""}};
    defaults().setObject(info, SignInKey::WebViewUserInfo);
    auto page = open("移动考勤", server.baseUrl() + "/CM/login.html");
    ASSERT_TRUE(waitForLoad(*page));

    page->setUserInfoRequestPending(true);
    postLoginSuccess();

    const auto& scripts = page->webView()->evaluatedScripts();
    ASSERT_EQ(scripts.size(), 1u);
    const std::string argument = callbackArgument(scripts.front());
    EXPECT_EQ(Json::parse(argument), info);
    // Nothing in the values ends the script line or the string early: both line separators
    // travel escaped.
    EXPECT_EQ(argument.find("\xE2\x80\xA8"), std::string::npos);
    EXPECT_EQ(argument.find("\xE2\x80\xA9"), std::string::npos);
    EXPECT_NE(argument.find(R"(第一行\u2028第二行\u2029第三段)"), std::string::npos);
    EXPECT_NE(argument.find(R"(王\"建国\");alert(1);//)"), std::string::npos);
    EXPECT_FALSE(page->isUserInfoRequestPending());

    // Answered once: a later sign-in finds nothing waiting.
    postLoginSuccess();
    EXPECT_EQ(page->webView()->evaluatedScripts().size(), 1u);
    EXPECT_FALSE(signInPage());
}

TEST_F(WebDetailTest, AStoredValueWithBrokenUTF8IsAnsweredWithReplacementCharacters) {
    defaults().setBool(true, SignInKey::isLogin);
    defaults().setObject(Json{{"userId", "20050031"}, {"userName", "王\xFF建\xE5\x9B国"}},
                         SignInKey::WebViewUserInfo);
    auto page = open("移动考勤", server.baseUrl() + "/CM/login.html");
    ASSERT_TRUE(waitForLoad(*page));

    page->setUserInfoRequestPending(true);
    postLoginSuccess();

    const auto& scripts = page->webView()->evaluatedScripts();
    ASSERT_EQ(scripts.size(), 1u);
    const Json answer = Json::parse(callbackArgument(scripts.front()), nullptr, false);
    ASSERT_TRUE(answer.is_object()) << scripts.front();
    EXPECT_EQ(answer.value("userId", ""), "20050031");
    EXPECT_EQ(answer.value("userName", ""), "王\uFFFD建\uFFFD国");
    EXPECT_FALSE(page->isUserInfoRequestPending());
}

TEST_F(WebDetailTest, APendingRequestWithNobodySignedInPresentsTheSignInPageAgain) {
    auto page = open("移动考勤", server.baseUrl() + "/CM/login.html");
    ASSERT_TRUE(waitForLoad(*page));

    page->setUserInfoRequestPending(true);
    postLoginSuccess();

    auto login = signInPage();
    ASSERT_TRUE(login) << driver.outline();
    EXPECT_FALSE(login->isWebLogin());
    EXPECT_TRUE(page->isUserInfoRequestPending());
    EXPECT_TRUE(page->webView()->evaluatedScripts().empty());
}

TEST_F(WebDetailTest, BackingOutOfTheWebSignInLeavesThePage) {
    auto page = open("移动考勤", server.baseUrl() + "/CM/login.html");
    ASSERT_TRUE(waitForLoad(*page));

    page->presentWebSignIn();
    auto login = signInPage();
    ASSERT_TRUE(login);
    EXPECT_TRUE(login->isWebLogin());
    EXPECT_EQ(login->loginPopViewDelegeta().get(), static_cast<loginPopViewDelegeta*>(page.get()));

    ASSERT_TRUE(driver.tap("close")) << driver.outline();
    scope.advance(1);
    EXPECT_FALSE(signInPage());
    EXPECT_EQ(navigation->topViewController(), opener);
}

TEST_F(WebDetailTest, SigningInOnTheWebSignInPageAnswersTheWaitingPage) {
    auto page = open("移动考勤", server.baseUrl() + "/CM/login.html");
    ASSERT_TRUE(waitForLoad(*page));
    page->setUserInfoRequestPending(true);
    page->presentWebSignIn();
    ASSERT_TRUE(signInPage());

    ASSERT_TRUE(driver.type("account", "20050031"));
    ASSERT_TRUE(driver.type("password", "teacher123"));
    ASSERT_TRUE(driver.pressReturn());
    ASSERT_TRUE(driver.tap("login"));
    ASSERT_TRUE(driver.runUntil([&] { return !page->isUserInfoRequestPending(); }));

    const auto& scripts = page->webView()->evaluatedScripts();
    ASSERT_EQ(scripts.size(), 1u);
    const Json answer = Json::parse(callbackArgument(scripts.front()), nullptr, false);
    ASSERT_TRUE(answer.is_object()) << scripts.front();
    EXPECT_EQ(answer.value("userId", "?"), "20050031");
    EXPECT_EQ(answer.value("userName", "?"), "王建国");
    EXPECT_EQ(answer.value("idCardNo", "?"), "");  // stored without nulls
}

}  // namespace
