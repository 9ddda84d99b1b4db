// The share SDK's friend picker, reached from the edit screen's "@" as a user reaches it:
// the friend list from the fake share service, the sections and index, the recent mentions,
// the search and the mention handed back to the edit screen.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/screens/SHSGridViewItemClickedDelegate.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/screens/SHSocialFriendViewController.h"
#include "SocialSDK/screens/SHSocialScreens.h"
#include "SocialSDK/service/SHSFriendEntity.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialNavigationController.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewIndex.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Window.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

namespace {

using FriendList = std::vector<std::shared_ptr<SHSFriendEntity>>;

std::shared_ptr<SHSFriendEntity> makeFriend(const std::string& usid, const std::string& name,
                                            std::optional<std::string> pinyin) {
    auto entry = std::make_shared<SHSFriendEntity>();
    entry->usid = usid;
    entry->name = name;
    entry->linkName = "link-" + usid;
    entry->pinyin = std::move(pinyin);
    return entry;
}

// Hears the mentions the picker hands back.
class MentionRecorder : public SHSGridViewItemClickedDelegate {
public:
    void itemClicked(const std::string& mention) override { mentions.push_back(mention); }
    std::vector<std::string> mentions;
};

std::vector<std::string> usids(const FriendList& friends) {
    std::vector<std::string> out;
    for (const auto& entry : friends) out.push_back(entry->usid.value_or("?"));
    return out;
}

class FriendPickerTest : public sharetest::ShareSdkTest {
protected:
    void SetUp() override {
        ShareSdkTest::SetUp();
        SHSocialInstallScreens();
        service = SHSocialControllerService::defaultControllerService();
        service->currentSnsPlatformName = "tencent";
    }
    void TearDown() override {
        window.reset();
        picker.reset();
        service.reset();
        SHSocialControllerService::screens() = {};
        ShareSdkTest::TearDown();
    }

    // Signed in on the platform as the fake service's sign-in page signs in.
    static void signedIn(const std::string& platformName) {
        auto account = std::make_shared<SHSocialAccountEntity>(platformName);
        account->usid = "demo-" + platformName;
        account->accessToken = "demo-token-" + platformName;
        SHSocialAccountManager::setSnsAccount(account);
    }

    // The picker made by the controller service, pushed over a plain screen in a window.
    // The SDK sends its jobs one after another, each when the reply before it is handled: the
    // loop runs while the request is awaited.
    bool heldOnce(const std::string& path) {
        return driver.runUntil([&] { return !services->heldRequests(path).empty(); }, 10).ok;
    }

    void showPicker() {
        picker = std::dynamic_pointer_cast<SHSocialFriendViewController>(
            service->getSocialViewController(SHSViewControllerFriend));
        ASSERT_TRUE(picker);
        picker->shsDelegate = recorder;
        base = std::make_shared<platform::ViewController>();
        navigation = std::make_shared<platform::NavigationController>(base);
        window = platform::View::make<platform::Window>();
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        navigation->pushViewController(picker, true);
        scope.advance(1);
    }

    std::vector<std::string> rowTexts(int section) {
        std::vector<std::string> texts;
        auto& table = *picker->tableView();
        for (int row = 0; row < table.numberOfRowsInSection(section); ++row) {
            auto entry = picker->tableView()->dataSource()->cellForRowAtIndexPath(
                table, platform::IndexPath::forRow(row, section));
            texts.push_back(entry->textLabel()->text());
        }
        return texts;
    }

    bool overlayShowing() const { return picker->hudView() && picker->hudView()->isShowing(); }

    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    std::shared_ptr<SHSocialControllerService> service;
    std::shared_ptr<MentionRecorder> recorder = std::make_shared<MentionRecorder>();
    std::shared_ptr<SHSocialFriendViewController> picker;
    std::shared_ptr<platform::ViewController> base;
    std::shared_ptr<platform::NavigationController> navigation;
    std::shared_ptr<platform::Window> window;
};

TEST_F(FriendPickerTest, FetchesTheFriendsUnderTheOverlayAndGroupsThemUnderAnIndex) {
    startShareService();
    setAppKey(sharetest::kAppKey);
    signedIn("tencent");
    const std::string path =
        std::string("/share/share/friends/") + sharetest::kAppKey + "/demo-tencent/";
    services->holdReplies("GET", path);
    showPicker();
    ASSERT_TRUE(heldOnce(path));
    EXPECT_TRUE(overlayShowing());
    EXPECT_EQ(picker->hudView()->labelText(), "加载中");
    ASSERT_TRUE(services->releaseHeld(path));
    ASSERT_TRUE(driver.runUntil([&] { return !overlayShowing(); }, 10)) << driver.outline();

    std::optional<fakes::ShareServiceRequest> asked;
    for (const auto& request : services->shareRequests())
        if (request.action == 12)
            asked = request;
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->queryValue("to"), "tencent");

    // The demo's friends: one without pinyin is left out, one whose pinyin begins with a
    // digit stands under "符", the last section.
    EXPECT_EQ(picker->tableView()->sectionIndexTitles(),
              (std::vector<std::string>{"C", "H", "L", "O", "S", "W", "Z", "符"}));
    EXPECT_EQ(rowTexts(2), (std::vector<std::string>{"李思远", "刘一帆", "林小溪"}));
    EXPECT_EQ(rowTexts(7), std::vector<std::string>{"7号楼宿舍"});
    EXPECT_FALSE(driver.find("岚溪校园电台"));
    // The avatars are addresses of the service that sent the list.
    auto stored = SHSUserManager::shareInstance().friendsDictionaryWithSnsName("tencent");
    ASSERT_TRUE(stored && stored->count("f-1001"));
    EXPECT_EQ(stored->at("f-1001")->imageURL,
              services->baseUrl() + "/upload/share/avatar-f-1001.png");

    // The refresh button asks again, under the overlay until the answer comes.
    ASSERT_TRUE(driver.tap("friend-refresh"));
    ASSERT_TRUE(heldOnce(path));
    scope.advance(1);
    EXPECT_TRUE(overlayShowing());
    ASSERT_TRUE(services->releaseHeld(path));
    ASSERT_TRUE(driver.runUntil([&] { return !overlayShowing(); }, 10));
    const auto requests = services->shareRequests();
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                            [](const auto& request) { return request.action == 12; }),
              2);
    driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }, 10);
}

TEST_F(FriendPickerTest, ARequestThatIsNeverAnsweredLeavesNoOverlayUp) {
    // No account on the platform: the request cannot be made and the service hears nothing.
    startShareService();
    setAppKey(sharetest::kAppKey);
    showPicker();
    EXPECT_TRUE(driver.runUntil([&] { return !overlayShowing(); }, 10));
    EXPECT_EQ(picker->tableView()->numberOfSections(), 0);
    picker.reset();
    window.reset();

    // A platform the account actions refuse sends nothing either.
    service->currentSnsPlatformName = "sina";
    showPicker();
    EXPECT_FALSE(overlayShowing());
    for (const auto& request : services->shareRequests()) EXPECT_NE(request.action, 12);
}

TEST_F(FriendPickerTest, AFriendListThatComesAfterTheBackButtonLeavesThePickerAlone) {
    startShareService();
    setAppKey(sharetest::kAppKey);
    signedIn("tencent");
    const std::string path =
        std::string("/share/share/friends/") + sharetest::kAppKey + "/demo-tencent/";
    services->holdReplies("GET", path);
    showPicker();
    ASSERT_TRUE(heldOnce(path));
    ASSERT_TRUE(driver.tap("friend-back"));
    scope.advance(1);
    EXPECT_EQ(navigation->topViewController(), base);
    EXPECT_FALSE(overlayShowing());
    ASSERT_TRUE(services->releaseHeld(path));
    // The list is still stored for the next picker, but this one shows nothing of it.
    ASSERT_TRUE(driver.runUntil(
        [] {
            return SHSUserManager::shareInstance()
                .friendsDictionaryWithSnsName("tencent")
                .has_value();
        },
        10));
    driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }, 10);
    EXPECT_TRUE(picker->sections().sections().empty());
    EXPECT_FALSE(overlayShowing());
}

class KnownFriendsTest : public FriendPickerTest {
protected:
    void SetUp() override {
        FriendPickerTest::SetUp();
        SHSUserManager::FriendDictionary friends;
        for (const auto& entry :
             {makeFriend("a1", "Anna", "anna"), makeFriend("a2", "ANNIE", "Annie"),
              makeFriend("b1", "包子", "baozi"), makeFriend("n1", "无拼音", std::nullopt),
              makeFriend("d1", "9班", "9ban"), makeFriend("h1", "张三", "张san"),
              makeFriend("e1", "空", ""), makeFriend("z1", "朱小安", "zhuxiaoan")})
            friends[*entry->usid] = entry;
        SHSUserManager::shareInstance().setFriendsDictionary(friends, "tencent");
    }
};

TEST_F(KnownFriendsTest, FriendsByPinyinInitialWithoutPinyinSkippedAndIndexTitlesFindTheirSection) {
    // Enough friends under "B" that the table scrolls.
    auto& users = SHSUserManager::shareInstance();
    auto friends = *users.friendsDictionaryWithSnsName("tencent");
    for (int i = 0; i < 20; ++i) {
        auto entry = makeFriend("b" + std::to_string(10 + i), "包" + std::to_string(i), "bao");
        friends[*entry->usid] = entry;
    }
    users.setFriendsDictionary(friends, "tencent");
    showPicker();  // the friends are known: no request, no overlay
    EXPECT_FALSE(overlayShowing());
    EXPECT_EQ(picker->tableView()->sectionIndexTitles(),
              (std::vector<std::string>{"A", "B", "Z", "符"}));
    EXPECT_EQ(rowTexts(0), (std::vector<std::string>{"Anna", "ANNIE"}));
    // Digits, Chinese characters and an empty pinyin go to the catch-all group.
    auto others = rowTexts(3);
    std::sort(others.begin(), others.end());
    EXPECT_EQ(others, (std::vector<std::string>{"9班", "张三", "空"}));
    EXPECT_FALSE(driver.find("无拼音"));
    // A tap on an index title brings its section up.
    auto& table = *picker->tableView();
    ASSERT_TRUE(table.tapSectionIndexTitle(1));
    auto visible = table.indexPathsForVisibleRows();
    ASSERT_FALSE(visible.empty());
    EXPECT_EQ(visible.front().section, 1);
    EXPECT_GT(table.contentOffset().y, 0);
    ASSERT_TRUE(table.tapSectionIndexTitle(3));
    visible = table.indexPathsForVisibleRows();
    EXPECT_EQ(std::count_if(visible.begin(), visible.end(),
                            [](const auto& path) { return path.section == 3; }),
              3);
}

TEST_F(KnownFriendsTest, SearchMatchesNamesIgnoringCaseAndAnEmptyTextReturnsToTheIndex) {
    // A recent mention is not searched twice.
    auto anna = SHSUserManager::shareInstance().friendsDictionaryWithSnsName("tencent")->at("a1");
    SHSUserManager::shareInstance().setAtFriendsArray({anna}, "tencent");
    showPicker();
    ASSERT_TRUE(driver.type("friend-search", "an")) << driver.outline();
    // Every key reloaded the shrinking list, and the typing went on.
    EXPECT_EQ(picker->searchBar()->text(), "an");
    EXPECT_TRUE(picker->searchBar()->isFirstResponder());
    EXPECT_TRUE(picker->isSearch());
    EXPECT_EQ(usids(picker->searchResults()), (std::vector<std::string>{"a1", "a2"}));
    EXPECT_TRUE(picker->tableView()->sectionIndexTitles().empty());
    ASSERT_TRUE(driver.type("friend-search", "安"));  // "an安" matches nobody
    EXPECT_TRUE(picker->searchResults().empty());

    ASSERT_TRUE(picker->searchBar()->searchField()->pressClearButton());
    EXPECT_FALSE(picker->isSearch());
    EXPECT_EQ(picker->tableView()->sectionIndexTitles(),
              (std::vector<std::string>{"常", "A", "B", "Z", "符"}));

    ASSERT_TRUE(driver.type("friend-search", "小安"));
    ASSERT_TRUE(driver.pressReturn());
    EXPECT_EQ(usids(picker->searchResults()), std::vector<std::string>{"z1"});
    EXPECT_FALSE(picker->searchBar()->isFirstResponder());
    // A picked search result is mentioned like any other.
    ASSERT_TRUE(driver.tap("朱小安"));
    EXPECT_EQ(recorder->mentions, std::vector<std::string>{"@link-z1"});
}

TEST_F(FriendPickerTest, SearchingBeforeAnyFriendIsKnownDoesNothing) {
    startShareService();
    setAppKey(sharetest::kAppKey);
    showPicker();
    driver.runUntil([&] { return !overlayShowing(); }, 10);
    picker->searchFrinds("a");
    EXPECT_FALSE(picker->isSearch());
}

TEST_F(KnownFriendsTest, RecentMentionsShowTheNewestFiveAndAPickMovesOneToTheFront) {
    signedIn("tencent");  // the recent list is kept per account
    auto& users = SHSUserManager::shareInstance();
    FriendList recent;
    for (int i = 1; i <= 7; ++i)
        recent.push_back(makeFriend("r" + std::to_string(i), "最近" + std::to_string(i), "r"));
    users.setAtFriendsArray(recent, "tencent");
    showPicker();
    ASSERT_EQ(picker->tableView()->sectionIndexTitles().front(), "常");
    EXPECT_EQ(rowTexts(0), (std::vector<std::string>{"最近7", "最近6", "最近5", "最近4", "最近3"}));

    // "最近5" is shown among the recent ones: it moves to the front without a second entry.
    ASSERT_TRUE(driver.tap("最近5")) << driver.outline();
    EXPECT_EQ(recorder->mentions, std::vector<std::string>{"@link-r5"});
    EXPECT_EQ(usids(*users.atFriendsDictionaryWithSnsName("tencent")),
              (std::vector<std::string>{"r1", "r2", "r3", "r4", "r6", "r7", "r5"}));
    scope.advance(1);
    EXPECT_EQ(navigation->topViewController(), base);  // the picker returned

    // "最近1" is recent but older than the newest five: picked from its letter section, it
    // gets a second entry.
    users.setAtFriendsArray(recent, "tencent");
    SHSUserManager::FriendDictionary friends = *users.friendsDictionaryWithSnsName("tencent");
    friends["r1"] = recent.front();
    users.setFriendsDictionary(friends, "tencent");
    showPicker();
    ASSERT_TRUE(driver.tap("最近1")) << driver.outline();
    EXPECT_EQ(usids(*users.atFriendsDictionaryWithSnsName("tencent")),
              (std::vector<std::string>{"r1", "r2", "r3", "r4", "r5", "r6", "r7", "r1"}));
    // The list is kept between launches.
    sharetest::resetShareSdk();
    auto kept = SHSUserManager::shareInstance().atFriendsDictionaryWithSnsName("tencent");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->size(), 8u);
}

TEST_F(KnownFriendsTest, TheEditScreensAtButtonMentionsThePickedFriendAndRecounts) {
    signedIn("tencent");
    auto edit = std::make_shared<SHShareEditViewController>(service);
    navigation = std::make_shared<platform::NavigationController>(edit);
    window = platform::View::make<platform::Window>();
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    scope.advance(1);
    ASSERT_TRUE(driver.type("shareText", "周末去图书馆"));
    EXPECT_EQ(edit->countLabel()->text(), "134");
    ASSERT_TRUE(driver.tap("shareAt"));
    scope.advance(1);
    ASSERT_TRUE(
        std::dynamic_pointer_cast<SHSocialFriendViewController>(navigation->topViewController()));
    ASSERT_TRUE(driver.tap("包子")) << driver.outline();
    scope.advance(1);
    EXPECT_EQ(navigation->topViewController(), edit);
    EXPECT_EQ(edit->textView()->text(), "周末去图书馆 @link-b1 ");
    // Six characters and the ten of " @link-b1 " at half a character each: 11 in all.
    EXPECT_EQ(edit->countLabel()->text(), "129");

    // The back button returns without a mention.
    ASSERT_TRUE(driver.tap("shareAt"));
    scope.advance(1);
    ASSERT_TRUE(driver.tap("friend-back"));
    scope.advance(1);
    EXPECT_EQ(navigation->topViewController(), edit);
    EXPECT_EQ(edit->textView()->text(), "周末去图书馆 @link-b1 ");
}

// --- The edit screen after the picker --------------------------------------------------------

class EditScreenAfterPickerTest : public KnownFriendsTest {
protected:
    // The edit screen in the SDK's navigation controller, its keyboard up.
    void openEditScreen() {
        signedIn("tencent");
        edit = std::make_shared<SHShareEditViewController>(service);
        navigation = std::make_shared<SHSocialNavigationController>(edit);
        window = platform::View::make<platform::Window>();
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        scope.advance(1);
        ASSERT_TRUE(platform::Keyboard::isVisible());
    }
    void openPicker() {
        ASSERT_TRUE(driver.tap("shareAt"));
        scope.advance(1);
        ASSERT_TRUE(std::dynamic_pointer_cast<SHSocialFriendViewController>(
            navigation->topViewController()));
    }
    void leavePickerBy(const std::string& tapped) {
        ASSERT_TRUE(driver.tap(tapped)) << driver.outline();
        scope.advance(1);
        ASSERT_EQ(navigation->topViewController(), edit);
    }
    static void turn(platform::DeviceOrientation orientation) {
        platform::Device::current().setOrientation(orientation);
    }
    // The keyboard is down, and the account panel fills its place under the tool bar.
    void expectPanelInTheKeyboardsPlace() {
        const auto view = edit->view()->bounds().size;
        const double keyboard = platform::Keyboard::kHeight;
        EXPECT_FALSE(platform::Keyboard::isVisible());
        EXPECT_FALSE(edit->changeAccountBackgroundView()->isHidden());
        EXPECT_EQ(edit->changeAccountBackgroundView()->frame(),
                  (platform::Rect{{0, view.height - keyboard}, {view.width, keyboard}}));
        EXPECT_EQ(edit->toolBarView()->frame(),
                  (platform::Rect{{0, view.height - keyboard - 44}, {view.width, 44}}));
        EXPECT_NE(driver.outline().find("切换账号"), std::string::npos) << driver.outline();
    }

    std::shared_ptr<SHShareEditViewController> edit;
};

TEST_F(EditScreenAfterPickerTest, BackFromThePickerTheAccountPanelStandsInTheKeyboardsPlace) {
    openEditScreen();
    // After a pick, and after the back button.
    for (const char* tapped : {"包子", "friend-back"}) {
        SCOPED_TRACE(tapped);
        openPicker();
        leavePickerBy(tapped);
        expectPanelInTheKeyboardsPlace();
        // The account button raises the keyboard over the panel, and lowers it again.
        ASSERT_TRUE(driver.tap("shareAccount"));
        EXPECT_TRUE(platform::Keyboard::isVisible());
        EXPECT_TRUE(edit->changeAccountBackgroundView()->isHidden());
        ASSERT_TRUE(driver.tap("shareAccount"));
        expectPanelInTheKeyboardsPlace();
        ASSERT_TRUE(driver.tap("shareAccount"));
    }
}

TEST_F(EditScreenAfterPickerTest, TurnedWhileThePickerShowsTheScreenIsLaidOutForItsWidthOnReturn) {
    SHSocialConfig::setSupportedInterfaceOrientations(30);
    openEditScreen();
    // Turned and turned back while the picker shows: the same width as before, the panel.
    openPicker();
    turn(platform::DeviceOrientation::LandscapeLeft);
    scope.advance(1);
    turn(platform::DeviceOrientation::Portrait);
    scope.advance(1);
    leavePickerBy("friend-back");
    expectPanelInTheKeyboardsPlace();

    // Back in landscape: the tool bar was laid out for the upright width, so the keyboard
    // comes up and the screen is laid out over it for the turned one.
    openPicker();
    turn(platform::DeviceOrientation::LandscapeLeft);
    scope.advance(1);
    leavePickerBy("friend-back");
    const auto view = edit->view()->bounds().size;
    ASSERT_GT(view.width, view.height);
    EXPECT_TRUE(platform::Keyboard::isVisible());
    const double keyboard = platform::Keyboard::kLandscapeHeight;
    EXPECT_EQ(edit->keyboardHeight(), keyboard);
    EXPECT_EQ(edit->toolBarView()->center(),
              (platform::Point{view.width / 2, view.height - keyboard - 22}));
    EXPECT_EQ(edit->textView()->frame().height(), view.height - keyboard - 44);
    turn(platform::DeviceOrientation::Portrait);
    scope.advance(1);
    const auto upright = edit->view()->bounds().size;
    EXPECT_EQ(edit->toolBarView()->frame().maxY(), upright.height - platform::Keyboard::kHeight);
}

TEST_F(FriendPickerTest, OnlyPlatformsThatTakeMentionsShowTheAtButton) {
    for (const char* name : {"sina", "tencent", "renren", "douban", "qzone", "email"}) {
        SCOPED_TRACE(name);
        service->currentSnsPlatformName = name;
        auto edit = std::make_shared<SHShareEditViewController>(service);
        edit->loadViewIfNeeded();
        ASSERT_TRUE(edit->atButton());
        const std::string platform = name;
        EXPECT_EQ(edit->atButton()->isHidden(), platform == "qzone" || platform == "email");
    }
}

TEST_F(FriendPickerTest, TheServiceMakesThePickerForTypeNineOnly) {
    const auto stack = service->currentViewControllerArray();
    auto made = std::dynamic_pointer_cast<SHSocialFriendViewController>(
        service->getSocialViewController(SHSViewControllerFriend));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->socialControllerService.lock(), service);
    EXPECT_EQ(service->currentViewControllerArray(), stack);
    EXPECT_FALSE(service->getSocialViewController(5));
    EXPECT_FALSE(service->getSocialViewController(SHSViewControllerShareEdit, "twitter"));
}

TEST(FriendAvatar, RedrawnAtDoubleResolutionIntoAnOpaquePictureOnAScaleTwoScreen) {
    platform::testing::UiTestScope scope;
    // A fully transparent source shows whether the picture is opaque.
    auto clear = platform::Image::fromARGB(4, 4, std::vector<std::uint32_t>(16, 0x00000000u));
    platform::Screen::main().setScale(2);
    auto doubled = SHSocialFriendViewController::scaleToSize({35, 35}, clear);
    EXPECT_EQ(doubled.pixelWidth(), 70);
    EXPECT_EQ(doubled.pixelAt(10, 10) >> 24, 0xFFu);
    platform::Screen::main().setScale(3);
    auto plain = SHSocialFriendViewController::scaleToSize({35, 35}, clear);
    EXPECT_EQ(plain.pixelWidth(), 35);
    EXPECT_EQ(plain.pixelAt(10, 10) >> 24, 0u);
    // No picture (a missing placeholder) gives no picture, not a black square.
    EXPECT_TRUE(SHSocialFriendViewController::scaleToSize({35, 35}, {}).isNull());
}

}  // namespace

namespace {

// A share SDK of its own per case, without a screen: each case brings its own screen size.
class FriendPickerLayoutTest : public sharetest::ShareSdkTest {};

TEST_F(FriendPickerLayoutTest, SearchBarAndTableSpanTheScreenAt320375And414Points) {
    for (platform::Size screen :
         {platform::Size{320, 480}, platform::Size{375, 667}, platform::Size{414, 736}}) {
        SCOPED_TRACE(screen.width);
        platform::testing::UiTestScope scope(screen);
        SHSocialInstallScreens();
        auto service = SHSocialControllerService::defaultControllerService();
        service->currentSnsPlatformName = "tencent";
        SHSUserManager::shareInstance().setFriendsDictionary(
            {{"a1", makeFriend("a1", "Anna", "anna")}, {"b1", makeFriend("b1", "包子", "baozi")}},
            "tencent");
        auto picker = std::dynamic_pointer_cast<SHSocialFriendViewController>(
            service->getSocialViewController(SHSViewControllerFriend));
        ASSERT_TRUE(picker);
        auto navigation = std::make_shared<platform::NavigationController>(
            std::make_shared<platform::ViewController>());
        auto window = platform::View::make<platform::Window>();
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        navigation->pushViewController(picker, true);
        scope.advance(1);

        const platform::Rect area = picker->view()->bounds();
        const platform::Rect bar = picker->searchBar()->frame();
        const platform::Rect table = picker->tableView()->frame();
        EXPECT_EQ(bar.size.width, screen.width);
        EXPECT_EQ(table.size.width, screen.width);
        EXPECT_EQ(table.origin.y, bar.size.height);
        // The last row is never cut off below the screen.
        EXPECT_EQ(table.maxY(), area.maxY());
        auto index = picker->tableView()->sectionIndexView();
        ASSERT_TRUE(index);
        EXPECT_EQ(index->frame().maxX(), table.size.width);
        picker.reset();
        window.reset();
        sharetest::resetShareSdk();
    }
}

}  // namespace
