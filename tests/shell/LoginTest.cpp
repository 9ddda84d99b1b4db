#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "client/CollectionViewCellModel.h"
#include "client/SignInState.h"
#include "components/shaker/ViewShaker.h"
#include "platform/foundation/Json.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "signin/LoginViewController.h"
#include "signin/loginPopViewDelegeta.h"
#include "tests/shell/ShellTestSupport.h"

using namespace shelltest;
using platform::Json;
using platform::Rect;

namespace {

constexpr const char* kStudent = "2021213045";

// The web container's side of a web sign-in: records the pop and whether the sign-in page
// was already gone when it came.
class WebContainerStandIn : public loginPopViewDelegeta {
public:
    explicit WebContainerStandIn(std::shared_ptr<platform::ViewController> host)
        : m_host(std::move(host)) {}
    void popViewController() override {
        ++pops;
        pageGoneAtPop = m_host->presentedViewController() == nullptr;
    }
    int pops = 0;
    bool pageGoneAtPop = false;

private:
    std::shared_ptr<platform::ViewController> m_host;
};

// The sign-in page presented over a plain screen, as the shell and the web container do.
class LoginTest : public ShellTest {
protected:
    void SetUp() override {
        // Every case starts signed out, on defaults of its own.
        ASSERT_FALSE(defaults().objectForKey(SignInKey::isLogin));
        ASSERT_FALSE(defaults().objectForKey(SignInKey::LoginTypeTeacher));
        ASSERT_FALSE(defaults().objectForKey(SignInKey::LoginTypeStudent));
        window->setRootViewController(host);
        window->makeKeyAndVisible();
    }

    // Back to signed out, as on a fresh install, keeping the stored tile lists.
    static void signOut() {
        for (const char* key : {SignInKey::isLogin, SignInKey::UserId, SignInKey::UserInfo,
                                SignInKey::WebViewUserInfo, SignInKey::LoginTypeTeacher,
                                SignInKey::LoginTypeStudent}) {
            defaults().removeObjectForKey(key);
        }
        defaults().synchronize();
    }
    static void storeTiles(const char* key, const TileList& tiles) {
        defaults().setData(archiveTileList(tiles), key);
        defaults().synchronize();
    }

    void present(bool isWebLogin = false) {
        page = std::make_shared<LoginViewController>();
        page->setIsWebLogin(isWebLogin);
        host->presentViewController(page, true);
        settle();
        ASSERT_EQ(driver.currentScreen(), page);
    }

    void fillIn(const std::string& account, const std::string& password) {
        if (!account.empty()) {
            ASSERT_TRUE(driver.type("account", account));
        }
        if (!password.empty()) {
            ASSERT_TRUE(driver.type("password", password));
        }
        // The keyboard covers the sign-in button until the return key hides it.
        if (!account.empty() || !password.empty()) {
            ASSERT_TRUE(driver.pressReturn());
        }
    }

    // Taps the sign-in button and waits until the reply has been handled.
    void signIn(const std::string& account, const std::string& password) {
        fillIn(account, password);
        ASSERT_TRUE(driver.tap("login"));
        ASSERT_TRUE(waitFor([&] { return !page->HUD() || !page->HUD()->isShowing(); }));
    }

    // After a stored sign-in: waits until the user information has closed the page.
    void waitUntilClosing() {
        ASSERT_TRUE(waitFor([&] { return page->isBeingDismissed() || !isOpen(); }));
    }
    // After a stored sign-in: waits until the user-information fetch has failed.
    void waitForToast(const std::string& text) {
        ASSERT_TRUE(waitFor([&] {
            auto toasts = windowToasts();
            return std::find(toasts.begin(), toasts.end(), text) != toasts.end();
        }));
    }

    bool isOpen() const { return host->presentedViewController() == page; }

    std::shared_ptr<platform::Window> window = platform::View::make<platform::Window>();
    std::shared_ptr<platform::ViewController> host = std::make_shared<platform::ViewController>();
    std::shared_ptr<LoginViewController> page;
};

// --- Blank fields ---------------------------------------------------------------------------

TEST_F(LoginTest, ABlankAccountOrPasswordShakesTheFieldsThenAsksForItAndSendsNothing) {
    present();
    fillIn("   ", "teacher123");
    ASSERT_TRUE(driver.tap("login"));

    EXPECT_FALSE(page->AccountTextField()->transform().isIdentity() &&
                 page->passwordTextField()->transform().isIdentity())
        << "the fields shake";
    EXPECT_TRUE(overlayTexts(*page->view()).empty()) << "the toast waits for the shake";
    EXPECT_FALSE(page->HUD()) << "no sign-in started";

    settle(0.6);
    EXPECT_TRUE(page->AccountTextField()->transform().isIdentity());
    EXPECT_EQ(overlayTexts(*page->view()), (std::vector<std::string>{"请输入账号"}));
    settle(1.0);
    EXPECT_TRUE(overlayTexts(*page->view()).empty());

    page->AccountTextField()->setText(kTeacher);
    page->passwordTextField()->setText("");
    ASSERT_TRUE(driver.tap("login"));
    EXPECT_FALSE(page->HUD()) << "no sign-in started";
    settle(0.6);
    EXPECT_EQ(overlayTexts(*page->view()), (std::vector<std::string>{"请输入密码"}));
    EXPECT_TRUE(isOpen());
    settle(1.0);

    // Nothing was sent: the first request the service sees is the real sign-in below.
    signIn("", kTeacherPassword);
    auto requests = signInRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].queryValue("userName"), kTeacher);
    EXPECT_EQ(requests[0].queryValue("password"), kTeacherPassword);
}

// --- Sign-in replies ------------------------------------------------------------------------

TEST_F(LoginTest, ARefusalShowsTheServicesMessageAndStoresNothing) {
    present();
    signIn(" 20050031", "a&b=c+d");

    // The account and password are sent as typed.
    auto requests = signInRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].queryValue("userName"), " 20050031");
    EXPECT_EQ(requests[0].queryValue("password"), "a&b=c+d");

    EXPECT_EQ(windowToasts(), (std::vector<std::string>{"用户名或密码错误"}));
    EXPECT_TRUE(isOpen());
    EXPECT_FALSE(defaults().boolForKey(SignInKey::isLogin));
    EXPECT_FALSE(defaults().objectForKey(SignInKey::UserId));
    EXPECT_FALSE(defaults().objectForKey(SignInKey::UserInfo));
    EXPECT_TRUE(server.requestsTo(kUserInfoPath).empty());
    // The fields stay as typed for another try.
    EXPECT_EQ(page->passwordTextField()->text(), "a&b=c+d");
}

TEST_F(LoginTest, ATeacherIsStoredThenTheUserInformationThenLoginSuccessThenThePageCloses) {
    present();
    bool storedAtNotice = false;
    bool openAtNotice = false;
    auto id = platform::NotificationCenter::defaultCenter().addObserver(
        SignInNotification::LoginSuccess, [&](const platform::Notification&) {
            storedAtNotice = defaults().dictionaryForKey(SignInKey::WebViewUserInfo).has_value();
            openAtNotice = isOpen() && !page->isBeingDismissed();
        });
    NotificationLog notices({SignInNotification::kRefreshLoginMenu});

    signIn(kTeacher, kTeacherPassword);
    EXPECT_EQ(windowToasts(), (std::vector<std::string>{"登录成功"}));
    waitUntilClosing();
    platform::NotificationCenter::defaultCenter().removeObserver(id);

    EXPECT_TRUE(storedAtNotice);
    EXPECT_TRUE(openAtNotice);
    EXPECT_TRUE(page->isBeingDismissed());
    settle();
    EXPECT_FALSE(isOpen());

    EXPECT_TRUE(defaults().boolForKey(SignInKey::isLogin));
    EXPECT_EQ(defaults().stringForKey(SignInKey::UserId), kTeacher);
    EXPECT_TRUE(defaults().boolForKey(SignInKey::LoginTypeTeacher));
    EXPECT_FALSE(defaults().boolForKey(SignInKey::LoginTypeStudent));
    auto info = defaults().dictionaryForKey(SignInKey::UserInfo);
    ASSERT_TRUE(info);
    EXPECT_EQ((*info)["userName"], "王建国");
    EXPECT_EQ((*info)["email"], "") << "a null is stored as empty text";
    auto webInfo = defaults().dictionaryForKey(SignInKey::WebViewUserInfo);
    ASSERT_TRUE(webInfo);
    EXPECT_EQ((*webInfo)["userId"], kTeacher);
    EXPECT_EQ((*webInfo)["idCardNo"], "");
    // A teacher without stored tile lists keeps the grid as it is.
    EXPECT_FALSE(notices.saw(SignInNotification::kRefreshLoginMenu));
}

TEST_F(LoginTest, TheSignInSurvivesARestart) {
    present();
    signIn(kStudent, "student123");
    waitUntilClosing();

    platform::UserDefaults::resetStandard();
    EXPECT_TRUE(defaults().boolForKey(SignInKey::isLogin));
    EXPECT_TRUE(defaults().boolForKey(SignInKey::LoginTypeStudent));
    EXPECT_EQ(defaults().stringForKey(SignInKey::UserId), kStudent);
    EXPECT_TRUE(defaults().dictionaryForKey(SignInKey::WebViewUserInfo));
}

TEST_F(LoginTest, AUserOfNeitherTypeSignsInWithoutTypeKeysOrAGridRefresh) {
    // Tile lists stored for both kinds: only a typed user would apply them.
    TileList tiles{std::make_shared<CollectionViewCellModel>("校园新闻", "新闻", "news")};
    for (const char* key : {SignInKey::kTeacherSelectItemUp, SignInKey::kTeacherSelectItemDown,
                            SignInKey::kStudentSelectItemUp, SignInKey::kStudentSelectItemDown}) {
        defaults().setData(archiveTileList(tiles), key);
    }
    server.setHandler("POST", kLoginPath, [](const fakes::RecordedRequest&) {
        return fakes::Reply{200, "application/json",
                            R"({"res":"true","msg":{"userType":"alumni","message":"欢迎",)"
                            R"("userName":"校友","mobile":null}})"};
    });
    // The user-information fetch (which fails for this account) waits, so the toast seen is
    // the sign-in's own.
    server.holdReplies("GET", kUserInfoPath);
    NotificationLog notices({SignInNotification::kRefreshLoginMenu});
    present();

    signIn("alumnus", "pw");

    EXPECT_EQ(windowToasts(), (std::vector<std::string>{"欢迎"}));
    EXPECT_TRUE(defaults().boolForKey(SignInKey::isLogin));
    EXPECT_EQ(defaults().stringForKey(SignInKey::UserId), "alumnus");
    auto info = defaults().dictionaryForKey(SignInKey::UserInfo);
    ASSERT_TRUE(info);
    EXPECT_EQ((*info)["userName"], "校友");
    EXPECT_EQ((*info)["mobile"], "");
    EXPECT_FALSE(defaults().objectForKey(SignInKey::LoginTypeTeacher));
    EXPECT_FALSE(defaults().objectForKey(SignInKey::LoginTypeStudent));
    EXPECT_FALSE(notices.saw(SignInNotification::kRefreshLoginMenu));
}

TEST_F(LoginTest, OnlyATeacherWithBothTileListsStoredWithTilesRefreshesTheGrid) {
    TileList tiles{std::make_shared<CollectionViewCellModel>("校园新闻", "新闻", "news")};
    storeTiles(SignInKey::kTeacherSelectItemUp, tiles);
    NotificationLog notices({SignInNotification::kRefreshLoginMenu});
    struct Case {
        platform::Bytes down;
        bool refreshes;
    };
    for (const auto& c : {Case{archiveTileList({}), false}, Case{platform::toBytes("nope"), false},
                          Case{archiveTileList(tiles), true}}) {
        signOut();
        notices.posted.clear();
        defaults().setData(c.down, SignInKey::kTeacherSelectItemDown);
        present();
        signIn(kTeacher, kTeacherPassword);
        EXPECT_EQ(notices.saw(SignInNotification::kRefreshLoginMenu), c.refreshes);
        waitUntilClosing();
        settle();
    }
}

TEST_F(LoginTest, AFirstTeacherSignInRefreshesTheGridOnlyOnceTheUserTypeIsStored) {
    TileList tiles{std::make_shared<CollectionViewCellModel>("校园新闻", "新闻", "news")};
    storeTiles(SignInKey::kTeacherSelectItemUp, tiles);
    storeTiles(SignInKey::kTeacherSelectItemDown, tiles);
    // The grid reads the user type when it rebuilds on the notice.
    std::vector<bool> teacherAtNotice;
    auto id = platform::NotificationCenter::defaultCenter().addObserver(
        SignInNotification::kRefreshLoginMenu, [&](const platform::Notification&) {
            teacherAtNotice.push_back(defaults().boolForKey(SignInKey::LoginTypeTeacher) &&
                                      defaults().boolForKey(SignInKey::isLogin));
        });
    present();
    signIn(kTeacher, kTeacherPassword);
    platform::NotificationCenter::defaultCenter().removeObserver(id);

    EXPECT_EQ(teacherAtNotice, std::vector<bool>{true});
}

// --- Failures -------------------------------------------------------------------------------

TEST_F(LoginTest, AFailedUserInformationFetchSaysSoAndLeavesTheSignedInPageOpen) {
    server.setReply("GET", kUserInfoPath, {500, "text/plain", "down"});
    NotificationLog notices({SignInNotification::LoginSuccess});
    present();
    signIn(kTeacher, kTeacherPassword);
    waitForToast("网络错误");

    EXPECT_TRUE(isOpen());
    EXPECT_FALSE(page->isBeingDismissed());
    EXPECT_TRUE(defaults().boolForKey(SignInKey::isLogin));
    EXPECT_FALSE(defaults().objectForKey(SignInKey::WebViewUserInfo));
    EXPECT_FALSE(notices.saw(SignInNotification::LoginSuccess));
}

TEST_F(LoginTest, AFetchThatFailsAfterThePageWasClosedShowsNothing) {
    server.setReply("GET", kUserInfoPath, {500, "text/plain", "down"});
    server.holdReplies("GET", kUserInfoPath);
    present();
    signIn(kTeacher, kTeacherPassword);
    ASSERT_TRUE(defaults().boolForKey(SignInKey::isLogin));
    ASSERT_TRUE(server.waitForHeld(kUserInfoPath, 1, std::chrono::seconds(10)));
    settle(1.0);  // the success toast has gone; the fetch is still on its way
    ASSERT_TRUE(driver.tap("close"));
    settle(1.0);  // closed
    ASSERT_FALSE(isOpen());

    ASSERT_TRUE(server.releaseHeld(kUserInfoPath));
    ASSERT_TRUE(waitFor([] { return platform::HttpClient::shared().inFlight() == 0; }))
        << "the client has handled the failed fetch";
    EXPECT_TRUE(windowToasts().empty());
    EXPECT_FALSE(defaults().objectForKey(SignInKey::WebViewUserInfo));
}

TEST_F(LoginTest, AFailedRequestOrAReplyOfTheWrongShapeIsAFailedSignIn) {
    struct Case {
        fakes::Reply reply;
        std::string toast;
    };
    auto json = [](const char* body) { return fakes::Reply{200, "application/json", body}; };
    present();
    for (const auto& c : std::vector<Case>{
             {{500, "text/plain", "down"}, "网络错误"},
             // The error toast shows "msg"."message" when it is text, else the icon alone.
             {json(R"(["res","true"])"), ""},
             {json(R"({"res":"true"})"), ""},
             {json(R"({"res":"true","msg":"账号已停用"})"), ""},
             {json(R"({"res":true,"msg":{"message":"x","userType":"teacher"}})"), "x"},
             {json(R"({"res":"false"})"), ""},
             {json(R"({"res":"false","msg":{"message":null}})"), ""},
         }) {
        SCOPED_TRACE(c.reply.body);
        server.setReply("POST", kLoginPath, c.reply);
        signIn(kTeacher, kTeacherPassword);
        EXPECT_EQ(windowToasts(), (std::vector<std::string>{c.toast}));
        EXPECT_TRUE(isOpen());
        EXPECT_FALSE(defaults().boolForKey(SignInKey::isLogin));
        EXPECT_FALSE(defaults().objectForKey(SignInKey::UserInfo));
        settle(1.0);
        page->AccountTextField()->setText("");
        page->passwordTextField()->setText("");
    }
    EXPECT_TRUE(server.requestsTo(kUserInfoPath).empty());
}

// --- Closing --------------------------------------------------------------------------------

TEST_F(LoginTest, BackClosesThePageAndOnlyInWebSignInModeAtOnceThenLeavesTheWebPage) {
    auto container = std::make_shared<WebContainerStandIn>(host);
    present(false);
    page->setLoginPopViewDelegeta(container);
    ASSERT_TRUE(driver.type("account", "2005"));
    ASSERT_TRUE(driver.pressReturn());
    ASSERT_TRUE(driver.tap("close"));
    EXPECT_TRUE(page->isBeingDismissed());
    settle();
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(container->pops, 0);

    present(true);
    page->setLoginPopViewDelegeta(container);
    ASSERT_TRUE(driver.tap("close"));
    EXPECT_FALSE(isOpen()) << "closed without animation";
    EXPECT_EQ(container->pops, 1);
    EXPECT_TRUE(container->pageGoneAtPop);

    // The web container may have gone before the user backs out.
    present(true);
    page->setLoginPopViewDelegeta(container);
    container.reset();
    ASSERT_TRUE(driver.tap("close"));
    EXPECT_FALSE(isOpen());
}

TEST_F(LoginTest, TheReturnKeyOrATouchOnThePageOnlyHidesTheKeyboard) {
    present();
    ASSERT_TRUE(driver.type("account", kTeacher));
    EXPECT_EQ(page->AccountTextField()->returnKeyType(), platform::ReturnKeyType::Done);
    ASSERT_TRUE(driver.pressReturn());
    EXPECT_FALSE(page->AccountTextField()->isEditing());
    EXPECT_FALSE(page->passwordTextField()->isEditing());
    EXPECT_FALSE(page->HUD()) << "no sign-in started";

    ASSERT_TRUE(driver.type("password", "secret"));
    EXPECT_EQ(page->passwordTextField()->displayedText(), "••••••") << "the password is hidden";
    window->tap({10, 120});
    EXPECT_FALSE(page->passwordTextField()->isEditing());
}

// --- Layout ---------------------------------------------------------------------------------

TEST_F(LoginTest, OnTheStandardPhoneTheFormSitsUnderTheLogo) {
    present();
    EXPECT_EQ(page->imageView1()->frame(), (Rect{{105.5, 82}, {164, 215}}));
    EXPECT_EQ(page->AccountTextField()->frame(), (Rect{{42, 323}, {291, 50}}));
    EXPECT_EQ(page->passwordTextField()->frame(), (Rect{{42, 390}, {291, 50}}));
    EXPECT_EQ(page->loginButton()->frame(), (Rect{{42, 457}, {291, 50}}));
    EXPECT_EQ(driver.findByHandle("close")->frame(), (Rect{{328, 32}, {30, 30}}));
}

TEST_F(LoginTest, OnANarrowPhoneTheLogoShrinksToTwoThirds) {
    platform::testing::useScreen(320, 568);
    present();
    auto logo = page->imageView1()->frame();
    EXPECT_NEAR(logo.origin.x, 105.33, 0.01);
    EXPECT_DOUBLE_EQ(logo.origin.y, 60);
    EXPECT_NEAR(logo.size.width, 109.33, 0.01);
    EXPECT_NEAR(logo.size.height, 143.33, 0.01);
    EXPECT_NEAR(page->AccountTextField()->frame().origin.y, logo.maxY() + 26, 1e-9);
    EXPECT_EQ(page->AccountTextField()->frame().size.width, 236);
}

TEST_F(LoginTest, TheMottoKeepsClearOfTheBottomOfEveryScreen) {
    struct Case {
        double width, height, mottoY;
    };
    for (const auto& c : std::vector<Case>{{320, 480, 430}, {320, 568, 508}, {414, 736, 676}}) {
        platform::testing::useScreen(c.width, c.height);
        page = std::make_shared<LoginViewController>();
        page->loadViewIfNeeded();
        std::shared_ptr<platform::ImageView> motto;
        for (const auto& view : page->view()->subviews().front()->subviews()) {
            if (view->frame().size == platform::Size{240, 24}) {
                motto = std::dynamic_pointer_cast<platform::ImageView>(view);
            }
        }
        ASSERT_TRUE(motto) << c.width << "x" << c.height;
        EXPECT_EQ(motto->frame(), (Rect{{c.width / 2 - 120, c.mottoY}, {240, 24}}));
        // The sign-in button stays above it.
        EXPECT_LT(page->loginButton()->frame().maxY(), motto->frame().minY());
    }
}

}  // namespace
