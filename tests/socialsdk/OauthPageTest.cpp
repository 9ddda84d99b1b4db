// The platform sign-in page as a user meets it: opened by the controller service over a host
// screen, loading the fake share service's sign-in page on 127.0.0.1, and closing with a
// result, a cancel or an alert.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/screens/SHSOauthViewController.h"
#include "SocialSDK/screens/SHSShareListController.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/screens/SHSocialFriendViewController.h"
#include "SocialSDK/screens/SHSocialScreens.h"
#include "SocialSDK/service/SHSFriendEntity.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSViewControllerFactory.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialUIDelegate.h"
#include "SocialSDK/service/SHSocialUIHelper.h"
#include "platform/foundation/CookieStorage.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"
#include "tests/support/RefusingPort.h"

namespace {

constexpr const char* kUid = "lanxi-u-000128";  // the demo bar's user
const std::string kProfilePath =
    std::string("/share/user/profile/get/") + sharetest::kAppKey + "/" + kUid + "/";

// The host's UI delegate: what it heard, and (optionally) a page it closes itself.
class ClosingUIDelegate : public sharetest::RecordingUIDelegate {
public:
    std::optional<bool> closeOauthWebViewController(
        const std::shared_ptr<platform::NavigationController>&,
        const std::shared_ptr<SHSocialControllerService>&) override {
        return closesPageItself;
    }

    std::optional<bool> closesPageItself;
};

class OauthPageTest : public sharetest::ShareSdkTest {
protected:
    void SetUp() override {
        ShareSdkTest::SetUp();
        scope.emplace();
        driver.emplace();
        startShareService();
        setAppKey(sharetest::kAppKey);
        SHSocialInstallScreens();
        SHSUserManager::shareInstance().setUid(kUid);
        SHSUserManager::shareInstance().setSnsAccountDictionary({});
        service = SHSocialControllerService::defaultControllerService();
        service->setSocialUIDelegate(delegate);
        window = platform::View::make<platform::Window>();
        host = std::make_shared<platform::ViewController>();
        window->setRootViewController(host);
        window->makeKeyAndVisible();
    }
    void TearDown() override {
        platform::AlertPresenter::shared().reset();
        page.reset();
        wrapper.reset();
        host.reset();
        window.reset();
        service.reset();
        driver.reset();
        scope.reset();
        ShareSdkTest::TearDown();
    }

    // The page for the platform as the service makes it, presented over the host screen.
    void present(const std::string& platformName) {
        wrapper = std::dynamic_pointer_cast<platform::NavigationController>(
            service->getSocialOauthControllerInternal(platformName, std::nullopt));
        ASSERT_TRUE(wrapper);
        page = std::dynamic_pointer_cast<SHSOauthViewController>(wrapper->topViewController());
        ASSERT_TRUE(page);
        host->presentViewController(wrapper, false);
    }
    // The page pushed on a host's own navigation stack, as a host may show it.
    void push(const std::string& platformName) {
        service->currentSnsPlatformName = platformName;
        page = std::make_shared<SHSOauthViewController>(service);
        wrapper = std::make_shared<platform::NavigationController>(
            std::make_shared<platform::ViewController>());
        service->currentNavigationController = wrapper;
        host->presentViewController(wrapper, false);
        wrapper->pushViewController(page, false);
    }
    bool pageShown() {
        return driver
            ->runUntil(
                [this] {
                    // Loaded, and its outline read: what the page shows can be tapped.
                    return page->webView() && page->webView()->hasPage() &&
                           !page->webView()->isBusy();
                },
                10)
            .ok;
    }
    bool presented() const { return host->presentedViewController() != nullptr; }
    std::shared_ptr<platform::ModalAlert> alert() const {
        return platform::AlertPresenter::shared().topAlert();
    }
    // Runs the sign-in page's "授权并登录" and waits for the accounts reply.
    void signIn() {
        ASSERT_TRUE(pageShown()) << driver->outline();
        ASSERT_TRUE(driver->tap("授权并登录")) << driver->outline();
        ASSERT_TRUE(driver->runUntil([this] { return page->haveOauth(); }, 10));
        ASSERT_TRUE(
            driver->runUntil([this] { return !services->requestsTo(kProfilePath).empty(); }, 10));
        // The reply's completion, and what it starts, have run.
        ASSERT_TRUE(driver->runUntil(quiet, 10));
    }

    std::optional<platform::testing::UiTestScope> scope;
    std::optional<platform::testing::UIDriver> driver;
    std::shared_ptr<ClosingUIDelegate> delegate = std::make_shared<ClosingUIDelegate>();
    std::shared_ptr<SHSocialControllerService> service;
    std::shared_ptr<platform::Window> window;
    std::shared_ptr<platform::ViewController> host;
    std::shared_ptr<platform::NavigationController> wrapper;
    std::shared_ptr<SHSOauthViewController> page;
};

std::string pathOf(const std::string& url) {
    auto path = url.substr(url.find('/', url.find("://") + 3));
    return path.substr(0, path.find('?'));
}

bool cookieThere(const std::string& domain) {
    for (const auto& cookie : platform::CookieStorage::shared().cookies()) {
        if (cookie.domain == domain)
            return true;
    }
    return false;
}

}  // namespace

TEST_F(OauthPageTest, MaskCoversThePageWhileItLoadsAndWhileTheCallbackIsHandled) {
    auto signInPath = [&] {
        auto probe = std::make_shared<SHSOauthViewController>(service);
        service->currentSnsPlatformName = "qzone";
        return pathOf(*probe->signInURL());
    }();
    services->holdReplies("GET", signInPath);
    present("qzone");
    auto mask = page->maskView();
    ASSERT_TRUE(mask);
    EXPECT_EQ(page->title(), "授权");
    EXPECT_TRUE(mask->isActivity());
    EXPECT_FALSE(mask->isHidden());
    EXPECT_TRUE(mask->activityIndicatorView()->isAnimating());
    EXPECT_EQ(mask->statusLabel()->text(), "正在连接授权页面，请稍等...");
    EXPECT_TRUE(driver->runUntil(
        [] { return platform::Application::shared().isNetworkActivityIndicatorVisible(); }));
    ASSERT_TRUE(services->waitForHeld(signInPath, 1, std::chrono::seconds(10)));
    EXPECT_TRUE(mask->isActivity());
    ASSERT_TRUE(services->releaseHeld(signInPath));

    ASSERT_TRUE(pageShown()) << driver->outline();
    EXPECT_FALSE(mask->isActivity());
    EXPECT_TRUE(mask->isHidden());
    EXPECT_FALSE(mask->activityIndicatorView()->isAnimating());
    EXPECT_FALSE(platform::Application::shared().isNetworkActivityIndicatorVisible());
    // No follow bar on this platform: the web view takes the whole page below the bar.
    EXPECT_FALSE(page->followView());
    EXPECT_EQ(page->webView()->frame(), page->view()->bounds());

    // The page's script goes to the callback: the mask is back while the accounts come.
    ASSERT_TRUE(driver->tap("授权并登录"));
    ASSERT_TRUE(driver->runUntil([this] { return page->haveOauth(); }, 10));
    EXPECT_TRUE(mask->isActivity());
    EXPECT_FALSE(mask->isHidden());
}

TEST_F(OauthPageTest, CloseButtonCancelsTheRoadAndABackButtonPopsThePageWithACancel) {
    present("qzone");
    ASSERT_TRUE(pageShown());
    auto left = page->navigationItem().leftBarButtonItem();
    ASSERT_TRUE(left);
    EXPECT_EQ(left->customView()->handle(), "share-close");
    ASSERT_TRUE(driver->tap("share-close")) << driver->outline();
    ASSERT_EQ(delegate->results.size(), 1u);
    EXPECT_EQ(delegate->results[0]->responseCode, 5052);
    EXPECT_EQ(delegate->results[0]->message, "user cancel the operation");
    EXPECT_EQ(delegate->results[0]->viewControllerType, 7);
    EXPECT_EQ(delegate->results[0]->data, (platform::Json{{"qzone", ""}}));
    scope->advance(1);
    EXPECT_FALSE(presented());
    EXPECT_EQ(delegate->closed, std::vector<int>{7});

    delegate->results.clear();
    push("qzone");
    ASSERT_TRUE(pageShown());
    ASSERT_EQ(wrapper->viewControllers().size(), 2u);
    // Below the host's translucent bar, not under it.
    EXPECT_EQ(page->view()->convertPointTo({0, 0}, nullptr).y, 64);
    EXPECT_EQ(page->webView()->frame(), page->view()->bounds());
    ASSERT_TRUE(driver->tap("oauth-back")) << driver->outline();
    scope->advance(1);
    EXPECT_EQ(wrapper->viewControllers().size(), 1u);
    ASSERT_EQ(delegate->results.size(), 1u);
    EXPECT_EQ(delegate->results[0]->responseCode, 5052);
    EXPECT_EQ(delegate->results[0]->message, "user cancel the operation");
    EXPECT_EQ(delegate->results[0]->viewControllerType, 7);
    EXPECT_EQ(delegate->results[0]->data, (platform::Json{{"qzone", ""}}));
    EXPECT_TRUE(presented());  // popping the page leaves the host's stack up
}

TEST_F(OauthPageTest, SignInClosesWithTheAccountOrHandsThePageToADelegateThatClosesIt) {
    present("qzone");
    signIn();
    ASSERT_EQ(delegate->results.size(), 1u);
    const auto& result = *delegate->results[0];
    EXPECT_EQ(result.responseCode, 200);
    EXPECT_EQ(result.viewControllerType, 7);
    ASSERT_TRUE(result.data);
    EXPECT_EQ((*result.data)["qzone"]["usid"], "qz-550121");
    EXPECT_EQ(result.data->size(), 1u);
    EXPECT_TRUE(SHSocialAccountManager::isOauthWithPlatform("qzone"));
    scope->advance(1);
    EXPECT_FALSE(presented());

    // A delegate that closes the page itself gets no result from the page.
    delegate->results.clear();
    delegate->closesPageItself = true;
    SHSUserManager::shareInstance().setSnsAccountDictionary({});
    present("qzone");
    signIn();
    EXPECT_TRUE(delegate->results.empty());
    scope->advance(1);
    EXPECT_TRUE(presented());
}

TEST_F(OauthPageTest, SigningInAgainToTheSameAccountKeepsItsFriendsAndRecentMentions) {
    present("qzone");
    signIn();
    scope->advance(1);
    auto& users = SHSUserManager::shareInstance();
    auto friendOf = [](const std::string& name, const std::string& usid) {
        auto entity = std::make_shared<SHSFriendEntity>();
        entity->name = name;
        entity->linkName = name;
        entity->usid = usid;
        return entity;
    };
    users.setFriendsDictionary(
        {{"f-1", friendOf("林小溪", "f-1")}, {"f-2", friendOf("陈子涵", "f-2")}}, "qzone");
    users.setAtFriendsArray({friendOf("林小溪", "f-1")}, "qzone");

    // The same account signs in again: nothing the user picked is lost.
    present("qzone");
    signIn();
    scope->advance(1);
    const auto friends = users.friendsDictionaryWithSnsName("qzone");
    ASSERT_TRUE(friends);
    EXPECT_EQ(friends->size(), 2u);
    const auto recent = users.atFriendsDictionaryWithSnsName("qzone");
    ASSERT_TRUE(recent);
    ASSERT_EQ(recent->size(), 1u);
    EXPECT_EQ(recent->front()->name, "林小溪");

    // Another account signing in sees none of them; the first account's stay kept for it.
    auto accounts = users.snsAccountDictionary();
    accounts["qzone"]->usid = "qz-other";
    users.setSnsAccountDictionary(accounts);
    users.forgetFriends("qzone");
    EXPECT_FALSE(users.atFriendsDictionaryWithSnsName("qzone"));
    accounts["qzone"]->usid = "qz-550121";
    users.setSnsAccountDictionary(accounts);
    EXPECT_TRUE(users.atFriendsDictionaryWithSnsName("qzone"));
}

TEST_F(OauthPageTest, SignedInWithANextScreenGoesOnAndComingBackClosesThePage) {
    service->nextViewController = 3;
    present("qzone");
    signIn();
    const auto made = SHSViewControllerFactory::sharedInstance().viewControllerStack;
    scope->advance(0.71);
    ASSERT_EQ(wrapper->viewControllers().size(), 2u);
    EXPECT_TRUE(
        std::dynamic_pointer_cast<SHShareEditViewController>(wrapper->viewControllers().back()));
    EXPECT_EQ(service->currentViewControllerType(), 3);
    // The factory made it, and recorded it.
    auto expected = made;
    expected.push_back(SHSViewControllerShareEdit);
    EXPECT_EQ(SHSViewControllerFactory::sharedInstance().viewControllerStack, expected);
    EXPECT_TRUE(delegate->results.empty());
    wrapper->popViewController(false);  // back from the edit screen
    scope->advance(1);
    EXPECT_FALSE(presented());
    EXPECT_TRUE(delegate->results.empty());  // closed without a result
}

TEST_F(OauthPageTest, OtherNextScreensComeFromTheFactoryAndATypeWithoutOneClosesTheRoad) {
    // The friend picker.
    service->nextViewController = SHSViewControllerFriend;
    present("qzone");
    signIn();
    scope->advance(0.71);
    ASSERT_EQ(wrapper->viewControllers().size(), 2u);
    EXPECT_TRUE(
        std::dynamic_pointer_cast<SHSocialFriendViewController>(wrapper->viewControllers().back()));
    EXPECT_EQ(SHSViewControllerFactory::sharedInstance().viewControllerStack.back(),
              SHSViewControllerFriend);
    EXPECT_TRUE(presented());
    host->dismissViewController(false);

    // The share list, which the factory hands in a navigation controller of its own, goes
    // onto the page's bare.
    service->nextViewController = SHSViewControllerShareList;
    present("qzone");
    signIn();
    scope->advance(0.71);
    ASSERT_EQ(wrapper->viewControllers().size(), 2u);
    EXPECT_TRUE(
        std::dynamic_pointer_cast<SHSShareListController>(wrapper->viewControllers().back()));
    host->dismissViewController(false);

    // The account screen does not exist: the road closes without a result.
    delegate->results.clear();
    service->nextViewController = SHSViewControllerAccount;
    present("qzone");
    signIn();
    scope->advance(0.71);
    EXPECT_EQ(SHSViewControllerFactory::sharedInstance().viewControllerStack.back(),
              SHSViewControllerAccount);
    scope->advance(1);
    EXPECT_FALSE(presented());
    EXPECT_TRUE(delegate->results.empty());
}

TEST_F(OauthPageTest, ARefusedSignInEndsAtTheCallbackWithoutAnAccountAndThePageStays) {
    present("qzone");
    ASSERT_TRUE(pageShown());
    ASSERT_TRUE(driver->tap("拒绝"));
    ASSERT_TRUE(driver->runUntil(
        [this] {
            return page->webView()->pageTitle() == "授权未完成" && !page->webView()->isBusy();
        },
        10))
        << driver->outline();
    EXPECT_FALSE(page->haveOauth());
    EXPECT_FALSE(SHSocialAccountManager::isOauthWithPlatform("qzone"));
    EXPECT_EQ(SHSUserManager::shareInstance().snsAccountDictionary().count("qzone"), 0u);
    EXPECT_FALSE(page->maskView()->isActivity());
    EXPECT_TRUE(delegate->results.empty());
    EXPECT_FALSE(alert());
    scope->advance(1);
    EXPECT_TRUE(presented());
}

TEST_F(OauthPageTest, AccountsWithoutThePlatformOrAFailedAccountsRequestEndInAnAlert) {
    // The demo service knows no account of the user on this platform.
    present("douban");
    signIn();
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->alertTitle(), "授权失败");
    EXPECT_EQ(alert()->alertMessage(),
              "由于没有在开放平台添加此账号作为测试账号或者没有通过审核等原因授权失败");
    EXPECT_EQ(alert()->buttonTitles(), std::vector<std::string>{"好"});
    ASSERT_EQ(delegate->results.size(), 1u);
    EXPECT_EQ(delegate->results[0]->responseCode, 5051);
    EXPECT_EQ(delegate->results[0]->message, "get user profile data failed!");
    EXPECT_EQ(delegate->results[0]->viewControllerType, 7);
    ASSERT_TRUE(driver->pressAlertButton("好"));
    scope->advance(1);
    EXPECT_EQ(delegate->results.size(), 1u);
    EXPECT_FALSE(presented());

    // The service fails the accounts request: an alert whose button closes the page, and no
    // result for the host.
    delegate->results.clear();
    delegate->closed.clear();
    SHSUserManager::shareInstance().setSnsAccountDictionary({});
    fakes::Reply busy;
    busy.status = 503;
    busy.body = "busy";
    services->setReply("GET", kProfilePath, busy);
    present("qzone");
    signIn();
    ASSERT_TRUE(alert()) << driver->outline();
    EXPECT_EQ(alert()->alertTitle(), "授权失败");
    EXPECT_EQ(alert()->alertMessage(), "服务器繁忙，授权失败，请稍后再试");
    EXPECT_TRUE(delegate->results.empty());
    EXPECT_TRUE(presented());
    ASSERT_TRUE(driver->pressAlertButton("好"));
    scope->advance(1);
    EXPECT_FALSE(presented());
    EXPECT_TRUE(delegate->results.empty());
    EXPECT_EQ(delegate->closed, std::vector<int>{7});
}

TEST_F(OauthPageTest, ANetworkFailureShowsTheAlertWhoseButtonClosesThePage) {
    present("qzone");
    ASSERT_TRUE(pageShown());
    // A cancelled load is no failure: the page's reload, stopped while its reply is held.
    const std::string signInPath = pathOf(page->webView()->pageURL());
    services->holdReplies("GET", signInPath);
    page->webView()->reload();
    // The reload is asked of the page on the main loop before it is sent.
    ASSERT_TRUE(driver->runUntil(
        [&] { return !services->heldRequests(signInPath).empty() && page->webView()->isLoading(); },
        10));
    page->webView()->stopLoading();
    ASSERT_TRUE(driver->runUntil(quiet, 10));
    EXPECT_FALSE(alert());
    EXPECT_FALSE(page->webView()->isLoading());
    services->clearOverrides();
    ASSERT_TRUE(services->releaseHeld(signInPath));

    // The platform's account site is down: it sends the browser on to a host that refuses the
    // connection.
    testsupport::RefusingPort down;
    fakes::Reply moved;
    moved.status = 302;
    moved.location = "http://127.0.0.1:" + std::to_string(down.port()) + "/switch";
    services->setReply("GET", "/signin-site/qzone/switch", moved);
    ASSERT_TRUE(driver->tap("其他账号登录")) << driver->outline();
    ASSERT_TRUE(driver->runUntil([this] { return alert() != nullptr; }, 10)) << driver->outline();
    EXPECT_EQ(alert()->alertTitle(), "温馨提示");
    EXPECT_EQ(alert()->alertMessage(), "网络不给力");
    EXPECT_EQ(alert()->buttonTitles(), std::vector<std::string>{"好"});
    EXPECT_FALSE(page->maskView()->isActivity());
    EXPECT_TRUE(presented());
    ASSERT_TRUE(driver->pressAlertButton("好"));
    scope->advance(1);
    EXPECT_FALSE(presented());
    EXPECT_TRUE(delegate->results.empty());
    EXPECT_EQ(delegate->closed, std::vector<int>{7});
}

TEST_F(OauthPageTest, AnAddressCarryingSmsGoesToTheSystemTwoAndAHalfSecondsAfterThePageCloses) {
    present("qzone");
    ASSERT_TRUE(pageShown());
    page->webView()->simulateNavigation("sms:12345");
    ASSERT_TRUE(driver->runUntil([this] { return page->webView()->lastError().has_value(); }, 10));
    scope->advance(0.5);
    EXPECT_FALSE(presented());
    EXPECT_FALSE(alert());
    scope->advance(1.9);
    EXPECT_TRUE(platform::Application::shared().openedURLs().empty());
    scope->advance(0.2);
    EXPECT_EQ(platform::Application::shared().openedURLs(), std::vector<std::string>{"sms:12345"});

    // "sms:" anywhere in the failing address, in any case, takes the same road.
    present("qzone");
    ASSERT_TRUE(pageShown());
    // The platform's account site, down: its host refuses the connection.
    testsupport::RefusingPort down;
    const std::string carrying = "http://127.0.0.1:" + std::to_string(down.port()) +
                                 "/signin-site/qzone/switch?next=SMS:12345";
    page->webView()->simulateNavigation(carrying);
    ASSERT_TRUE(driver->runUntil([this] { return page->webView()->lastError().has_value(); }, 10));
    scope->advance(3);
    EXPECT_FALSE(alert()) << "no network alert";
    EXPECT_FALSE(presented());
    EXPECT_EQ(platform::Application::shared().openedURLs(),
              (std::vector<std::string>{"sms:12345", carrying}));
}

TEST_F(OauthPageTest, OnlyThePlatformThatNeedsItHasItsSignInCookiesCleared) {
    auto& jar = platform::CookieStorage::shared();
    const std::vector<std::string> domains{".rr-platform.example", "graph.rr-platform.example",
                                           ".graph.rr-platform.example",
                                           "campus.lanxi-campus.example"};
    for (const auto& domain : domains) jar.setCookie({domain, "/", "session", "s1", {}});
    present("qzone");
    for (const auto& domain : domains) EXPECT_TRUE(cookieThere(domain)) << domain;
    ASSERT_TRUE(pageShown());
    page->closeWithCancel();
    scope->advance(1);

    present("renren");
    EXPECT_FALSE(cookieThere(".rr-platform.example"));
    EXPECT_FALSE(cookieThere("graph.rr-platform.example"));
    EXPECT_FALSE(cookieThere(".graph.rr-platform.example"));
    EXPECT_TRUE(cookieThere("campus.lanxi-campus.example"));
    ASSERT_TRUE(pageShown());
    for (const auto& cookie : jar.cookies()) jar.deleteCookie(cookie);
}

TEST_F(OauthPageTest, TheFollowBarOffersTheOfficialAccountAndSignInFollowsItWhenChecked) {
    SHSocialConfigInternal::shareInstance().followSnsUids = {{"tencent", {"tw-official-01"}},
                                                             {"qzone", {"qz-official-01"}}};
    present("qzone");  // only the two microblog platforms offer it
    EXPECT_FALSE(page->followView());
    page->closeWithCancel();
    scope->advance(1);

    present("tencent");
    ASSERT_TRUE(pageShown());
    auto bar = page->followView();
    ASSERT_TRUE(bar);
    const auto web = page->webView()->frame();
    EXPECT_EQ(web.size.height, page->view()->bounds().size.height - 40);
    EXPECT_EQ(bar->frame(),
              (platform::Rect{{0, web.size.height}, {page->view()->bounds().size.width, 40}}));
    EXPECT_TRUE(driver->find("关注官方微博")) << driver->outline();
    EXPECT_TRUE(page->isAddFollow());
    signIn();
    ASSERT_TRUE(driver->runUntil(
        [] { return platform::UserDefaults::standard().boolForKey("SHSocial_Follow_tencent"); },
        10));
    bool followed = false;
    for (const auto& request : services->shareRequests())
        if (request.action == 13)
            followed = request.queryValue("fusid") == "tw-official-01" ||
                       request.body.dump().find("tw-official-01") != std::string::npos;
    EXPECT_TRUE(followed);
    platform::AlertPresenter::shared().reset();
    page->closeWithCancel();
    scope->advance(1);

    // Unchecked, the sign-in follows nobody.
    services->clearRequests();
    SHSUserManager::shareInstance().setSnsAccountDictionary({});
    present("tencent");
    ASSERT_TRUE(pageShown());
    ASSERT_TRUE(driver->tap("oauth-follow")) << driver->outline();
    EXPECT_FALSE(page->isAddFollow());
    signIn();
    for (const auto& request : services->shareRequests()) EXPECT_NE(request.action, 13);
}
