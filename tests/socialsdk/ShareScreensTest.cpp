#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/screens/SHSOauthViewController.h"
#include "SocialSDK/screens/SHShareEditCounter.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/screens/SHSocialFriendSections.h"
#include "SocialSDK/screens/SHSocialScreens.h"
#include "SocialSDK/service/SHSFriendEntity.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialCryptor.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextView.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

using sharetest::ShareServiceTest;

namespace {

std::string repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

}  // namespace

TEST(ShareEditCounter, CountsChineseWholeLatinHalfAndLinksByPlatform) {
    EXPECT_EQ(SHShareEditCounter::counterText(repeat("分", 141), "sina", false), "-1");
    EXPECT_EQ(SHShareEditCounter::counterText(repeat("a", 281), "sina", false), "-1");
    EXPECT_EQ(SHShareEditCounter::counterText("anything", "facebook", false), "");
    // Every scheme the pattern names is a link, written as the user typed it ("看 " is 3
    // GB 18030 bytes, half of that rounded up with the link's share is 2).
    for (std::string link :
         {"http://campus.lanxi-campus.test/news/1?id=2", "https://campus.lanxi-campus.test/a",
          "ftp://files.lanxi.test/x", "www.lanxi-campus.test/page"}) {
        SCOPED_TRACE(link);
        int rest =
            SHShareEditCounter::halfLength("看 " + link) - SHShareEditCounter::halfLength(link);
        EXPECT_EQ(SHShareEditCounter::charactersLeft("看 " + link, "sina", false), 140 - rest - 10);
        EXPECT_EQ(SHShareEditCounter::charactersLeft("看 " + link, "qzone", false),
                  140 - rest - 11);
        EXPECT_EQ(SHShareEditCounter::charactersLeft("看 " + link + " " + link, "qzone", false),
                  140 - SHShareEditCounter::halfLength("看 " + link + " " + link) +
                      2 * (SHShareEditCounter::halfLength(link) - 11));
    }
    // A link only counts as one when it is the whole piece between spaces.
    EXPECT_EQ(SHShareEditCounter::charactersLeft("xhttp://a.lanxi.test", "qzone", false),
              140 - SHShareEditCounter::halfLength("xhttp://a.lanxi.test"));
}

TEST(ShareEditCounter, TwitterCountsLinksAs23AndAPictureAs24) {
    std::string link = "https://campus.lanxi-campus.test/a/very/long/path/indeed";
    EXPECT_EQ(SHShareEditCounter::charactersLeft("hi " + link, "twitter", false), 140 - 3 - 23);
    EXPECT_EQ(SHShareEditCounter::charactersLeft("hi " + link, "twitter", true), 140 - 3 - 23 - 24);
    EXPECT_EQ(SHShareEditCounter::charactersLeft("HTTP://A.LANXI.TEST", "twitter", false),
              140 - 23);
}

TEST(ShareEditResult, EachPlatformSubCodeHasItsToast) {
    auto result = [](int code, std::optional<platform::Json> data) {
        SHSocialResponseEntity response;
        response.responseCode = code;
        response.data = std::move(data);
        return SHShareEditViewController::resultToastText(response, "qzone");
    };
    auto sub = [](auto st) { return platform::Json{{"qzone", {{"st", st}}}}; };
    EXPECT_EQ(result(200, std::nullopt), "发送成功");
    EXPECT_EQ(result(510, sub(5027)), "授权过期");
    EXPECT_EQ(result(510, sub(5007)), "分享内容为空，分享失败");
    EXPECT_EQ(result(510, sub(5016)), "文字内容重复");
    EXPECT_EQ(result(510, sub(505)), "对不起，因为违反了用户协议您已被禁言");
    EXPECT_EQ(result(510, sub(510)), "分享失败");
    EXPECT_EQ(result(510, sub(100031)), "没有授权");
    EXPECT_EQ(result(510, sub("5016")), "文字内容重复");
    EXPECT_EQ(result(510, sub(5027.0)), "授权过期");
    EXPECT_EQ(result(510, sub("5007.0")), "分享内容为空，分享失败");
    EXPECT_EQ(result(510, sub(4242)), "分享失败");
    EXPECT_EQ(result(510, platform::Json{{"sina", {{"st", 5027}}}}), "网络不给力");
    EXPECT_EQ(result(5050, std::nullopt), "网络不给力");
}

class ShareScreensTest : public ShareServiceTest {};

// A signed-in account on the platform, so the service opens the edit screen, not the sign-in.
void signedInOn(const std::string& platformName) {
    auto account = std::make_shared<SHSocialAccountEntity>(platformName);
    account->usid = "u1";
    SHSocialAccountManager::setSnsAccount(account);
}

// The service hands a screen over inside a navigation controller of its own.
std::shared_ptr<platform::ViewController> unwrapped(
    const std::shared_ptr<platform::ViewController>& handed) {
    if (auto navigation = std::dynamic_pointer_cast<platform::NavigationController>(handed))
        return navigation->topViewController();
    return handed;
}

TEST_F(ShareScreensTest, ExpiredAuthorisationForgetsTheAccount) {
    auto account = std::make_shared<SHSocialAccountEntity>("qzone");
    account->usid = "u1";
    SHSUserManager::shareInstance().setSnsAccountDictionary({{"qzone", account}});
    platform::testing::UiTestScope scope;
    auto window = sharetest::makeKeyWindow();
    auto response = std::make_shared<SHSocialResponseEntity>();
    response->responseCode = 510;
    response->data = platform::Json{{"qzone", {{"st", 5027}}}};
    SHShareEditViewController::handleResult(response, "qzone");
    EXPECT_EQ(sharetest::toastsOnScreen(), std::vector<std::string>{"授权过期"});
    EXPECT_EQ(SHSUserManager::shareInstance().snsAccountDictionary().count("qzone"), 0u);
}

TEST_F(ShareScreensTest, EditScreenRefusesTooLongAndEmptyShares) {
    // Sina has no handler in this system, so the service would not open it: the screen is
    // made as the service's maker makes it.
    service->currentSnsPlatformName = "sina";
    auto edit = std::make_shared<SHShareEditViewController>(service);
    ASSERT_TRUE(edit);
    edit->loadViewIfNeeded();
    EXPECT_EQ(edit->countLabel()->text(), "140");
    edit->textView()->setText(repeat("分", 141));
    edit->updateCountLabel();
    EXPECT_EQ(edit->countLabel()->text(), "-1");
    EXPECT_EQ(edit->validationError(), "分享内容超过长度限制");
    edit->textView()->setText("  ");
    edit->deleteAttachment();
    EXPECT_EQ(edit->validationError(), "分享内容为空");
}

TEST(OauthCallback, QueryIsSplitAtAmpersandsThenAtTheFirstEquals) {
    auto info = SHSOauthViewController::parseUrl("access_key=a=b==&uid=42&expires_in=3600&flag");
    EXPECT_EQ(info["access_key"], "a=b==");
    EXPECT_EQ(info["uid"], "42");
    EXPECT_EQ(info["expires_in"], "3600");
    EXPECT_EQ(info["flag"], "");
    EXPECT_TRUE(SHSOauthViewController::carriesSms("SMS:12345"));
    EXPECT_TRUE(SHSOauthViewController::carriesSms("https://x.example/?next=Sms:1"));
    EXPECT_FALSE(SHSOauthViewController::carriesSms("https://x.example/sms/1"));
}

TEST_F(ShareScreensTest, PlainAndEncryptedCallbacksStoreTheAccountAnHourAhead) {
    for (bool encrypted : {false, true}) {
        SCOPED_TRACE(encrypted);
        SHSUserManager::shareInstance().setSnsAccountDictionary({});
        auto page = std::make_shared<SHSOauthViewController>(service);
        std::string query = "access_key=tok%3D&uid=9001&expires_in=3600";
        if (encrypted)
            query = "ud_get=" + *SHSocialCryptor::AES128Encrypt(query);
        EXPECT_FALSE(page->shouldStartLoad("http://127.0.0.1:1/qzone/main?" + query));
        EXPECT_TRUE(page->haveOauth());
        SHSUserManager::resetSharedInstance();  // read back from the archive
        auto account = SHSUserManager::shareInstance().snsAccountDictionary()["qzone"];
        ASSERT_TRUE(account);
        EXPECT_EQ(account->usid, "9001");
        EXPECT_EQ(account->accessToken, "tok%3D");
        ASSERT_TRUE(account->expirationDate);
        EXPECT_EQ(*account->expirationDate,
                  std::chrono::floor<std::chrono::seconds>(now) + std::chrono::hours(1));
    }
}

TEST_F(ShareScreensTest, CallbackWithoutUidIsLetThroughAndStoresNothing) {
    SHSUserManager::shareInstance().setSnsAccountDictionary({});
    auto page = std::make_shared<SHSOauthViewController>(service);
    EXPECT_TRUE(page->shouldStartLoad("http://127.0.0.1:1/qzone/main?access_key=t"));
    EXPECT_TRUE(page->shouldStartLoad("http://127.0.0.1:1/other?uid=1"));
    EXPECT_FALSE(page->haveOauth());
    EXPECT_TRUE(SHSUserManager::shareInstance().snsAccountDictionary().empty());
}

TEST_F(ShareScreensTest, NextScreenComesAfterSevenTenthsOfASecond) {
    auto& loop = platform::RunLoop::main();
    loop.useManualClock();
    auto page = std::make_shared<SHSOauthViewController>(service);
    auto navigation = std::make_shared<platform::NavigationController>(page);
    signedInOn("qzone");
    service->nextViewController = 3;
    auto response = std::make_shared<SHSocialResponseEntity>();
    response->responseCode = 200;
    response->data = platform::Json{{"accounts", {{"qzone", {{"usid", "9001"}}}}}};
    page->accountsArrived(response);
    loop.advance(platform::seconds(0.69));
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
    loop.advance(platform::seconds(0.02));
    ASSERT_EQ(navigation->viewControllers().size(), 2u);
    EXPECT_TRUE(
        std::dynamic_pointer_cast<SHShareEditViewController>(navigation->viewControllers().back()));
    loop.useRealClock();
}

TEST_F(ShareScreensTest, SignInPageOfTheShareServiceEndsInTheEditScreen) {
    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    startShareService();
    setAppKey(sharetest::kAppKey);
    SHSocialUtils::setOpenLog(true);
    SHSUserManager::shareInstance().setSnsAccountDictionary({});
    auto window = platform::View::make<platform::Window>();
    service->nextViewController = 3;
    auto wrapper = std::dynamic_pointer_cast<platform::NavigationController>(
        service->getSocialOauthControllerInternal("qzone", std::nullopt));
    ASSERT_TRUE(wrapper);
    auto page = wrapper->topViewController();
    wrapper->setViewControllers({}, false);
    auto navigation = std::make_shared<platform::NavigationController>(page);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    auto oauth = std::dynamic_pointer_cast<SHSOauthViewController>(page);
    ASSERT_TRUE(oauth);
    ASSERT_TRUE(driver.runUntil(
        [&] {
            return oauth->webView() && !oauth->webView()->isBusy() && oauth->webView()->hasPage();
        },
        10));
    ASSERT_TRUE(driver.tap("授权并登录")) << driver.outline();
    ASSERT_TRUE(driver.runUntil([&] { return oauth->haveOauth(); }, 10)) << driver.outline();
    auto account = SHSUserManager::shareInstance().snsAccountDictionary()["qzone"];
    ASSERT_TRUE(account);
    EXPECT_EQ(account->usid, "qz-550121");
    EXPECT_EQ(account->accessToken, "demo-token-qzone");
    // The accounts request ends, then the edit screen follows 0.7 s later.
    ASSERT_TRUE(driver.runUntil(
        [] {
            auto stored = SHSUserManager::shareInstance().snsAccountDictionary()["qzone"];
            // The accounts are asked twice (after the stored account's upload, then by the
            // page): the wire is quiet only once the page's own request has been answered.
            return stored && stored->userName == "兰溪同学" &&
                   platform::HttpClient::shared().inFlight() == 0;
        },
        10));
    // That answer reaches the page on the next turn of the loop, before the clock moves, so
    // the 0.7 s count from now.
    platform::RunLoop::main().runPending();
    scope.advance(0.69);
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
    scope.advance(0.02);
    ASSERT_EQ(navigation->viewControllers().size(), 2u);
    EXPECT_TRUE(
        std::dynamic_pointer_cast<SHShareEditViewController>(navigation->viewControllers().back()));
    driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }, 10);
}

TEST_F(ShareScreensTest, SendingAShareWithALinkReachesTheServiceAndToastsAfterTheScreenIsGone) {
    startShareService();
    setAppKey(sharetest::kAppKey);
    auto account = std::make_shared<SHSocialAccountEntity>("qzone");
    account->usid = "qz-550121";
    account->accessToken = "demo-token-qzone";
    SHSUserManager::shareInstance().setSnsAccountDictionary({{"qzone", account}});
    platform::testing::UiTestScope scope;
    auto window = sharetest::makeKeyWindow();
    {
        auto edit = std::dynamic_pointer_cast<SHShareEditViewController>(
            unwrapped(service->getSocialShareEditControllerInternal("qzone", std::nullopt)));
        ASSERT_TRUE(edit);
        edit->loadViewIfNeeded();
        edit->textView()->setText("开放日 http://open.lanxi-campus.test/day");
        edit->pressSend();
    }  // the screen is gone before the answer comes
    ASSERT_TRUE(
        platform::RunLoop::main().runUntil([] { return !sharetest::toastsOnScreen().empty(); }));
    EXPECT_EQ(sharetest::toastsOnScreen(), std::vector<std::string>{"发送成功"});
    bool sent = false;
    for (const auto& request : services->shareRequests()) {
        if (request.action == 5 || request.action == 4)
            sent =
                request.body.dump().find("http://open.lanxi-campus.test/day") != std::string::npos;
    }
    EXPECT_TRUE(sent);
}

namespace {

std::shared_ptr<SHSFriendEntity> friendNamed(const std::string& usid,
                                             std::optional<std::string> pinyin) {
    auto entry = std::make_shared<SHSFriendEntity>();
    entry->usid = usid;
    entry->name = usid;
    entry->linkName = "link-" + usid;
    entry->pinyin = std::move(pinyin);
    return entry;
}

}  // namespace

TEST(FriendSections, FriendsWithoutPinyinAreSkippedOneByOneAndIndexTitlesFindTheirSections) {
    auto sections = SHSocialFriendSections::build(
        {friendNamed("zhang", "zhangsan"), friendNamed("nopinyin", std::nullopt),
         friendNamed("li", "lisi"), friendNamed("digit", "9ge"), friendNamed("an", "anna")},
        {});
    EXPECT_EQ(sections.indexTitles(), (std::vector<std::string>{"A", "L", "Z", "符"}));
    for (const auto& title : sections.indexTitles()) {
        auto at = sections.sectionForIndexTitle(title);
        ASSERT_TRUE(at) << title;
        EXPECT_EQ(sections.sections()[*at].title, title);
    }
    std::size_t listed = 0;
    for (const auto& section : sections.sections()) listed += section.friends.size();
    EXPECT_EQ(listed, 4u);  // everyone but the friend without pinyin
}

TEST(FriendSections, RecentMentionsShowTheNewestFiveAndAPickMovesOneToTheFront) {
    std::vector<std::shared_ptr<SHSFriendEntity>> recent;
    for (int i = 1; i <= 7; ++i) recent.push_back(friendNamed("r" + std::to_string(i), "r"));
    auto sections = SHSocialFriendSections::build({}, recent);
    ASSERT_EQ(sections.sections().front().title, "常");
    const auto& shown = sections.sections().front().friends;
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(*shown[0]->usid, "r7");
    EXPECT_EQ(*shown[4]->usid, "r3");
    // r5 is shown third: picking it leaves one entry of it, now the newest.
    auto after = sections.recentAfterPicking(0, 2, recent);
    ASSERT_EQ(after.size(), 7u);
    EXPECT_EQ(*after.back()->usid, "r5");
    EXPECT_EQ(
        std::count_if(after.begin(), after.end(), [](const auto& f) { return *f->usid == "r5"; }),
        1);
    EXPECT_EQ(SHSocialFriendSections::mentionText(*after.back()), "@link-r5");
}
