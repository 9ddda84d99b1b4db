#include "tests/socialsdk/ShareSdkTestSupport.h"

#include <string>

#include "SocialSDK/base/SHSocialProtocolData.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/screens/SHSocialScreens.h"
#include "SocialSDK/service/SHSCacheManager.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSProtocol.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSViewControllerFactory.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialCryptor.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialHandlerClasses.h"
#include "SocialSDK/service/SHSocialHttpClient.h"
#include "SocialSDK/service/SHSocialImageLoader.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "SocialSDK/service/SHSocialSnsHandler.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialSnsService.h"
#include "SocialSDK/service/SHSocialToast.h"
#include "SocialSDK/service/SHSocialUIHelper.h"
#include "components/hud/ProgressHUD.h"
#include "platform/devices/MailComposeViewController.h"
#include "platform/devices/MessageComposeViewController.h"
#include "platform/devices/SocialComposeViewController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/ScreenOutline.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"

namespace sharetest {

void resetShareSdk() {
    SHSocialSnsService::resetSharedInstance();
    SHSocialDataService::resetDefaultDataService();
    SHSocialControllerService::resetDefaultControllerService();
    SHSocialData::resetDefaultData();
    SHSocialMailHandler::resetSharedInstance();
    SHSocialFacebookSnsHandler::resetSharedInstance();
    SHSocialSnsHandler::resetSharedInstance();
    SHSocialSnsPlatformManager::resetSharedInstance();
    SHSocialConfigInternal::resetSharedInstance();
    SHSocialConfig::resetSharedInstance();
    SHSocialHandlerClasses::removeAll();
    SHSocialiToastSettings::resetSharedSettings();
    SHSocialImageLoader::resetSharedImageLoader();
    SHSocialUIHelper::resetSharedInstance();
    SHSViewControllerFactory::resetSharedInstance();
    SHSocialControllerService::screens() = {};
    platform::AlertPresenter::shared().reset();
    platform::MailComposeViewController::resetDevice();
    platform::MessageComposeViewController::resetDevice();
    platform::SocialComposeViewController::resetDevice();
    SHSDataManagerSet::resetSharedInstance();
    SHSUserManager::resetSharedInstance();
    SHSocialOpAnalytics::resetSharedInstance();
    SHSCacheManager::resetSharedInstance();
    SHSProtocol::resetSharedInstance();
    SHSocialCryptor::resetSharedInstance();
    SHSocialHttpClient::resetSharedInstance();
}

std::vector<std::string> toastsOnScreen() {
    std::vector<std::string> texts;
    auto window = platform::Application::shared().keyWindow();
    if (!window)
        return texts;
    const auto outline = platform::testing::ScreenOutline::capture(window);
    // The SDK's toasts are its only text-only overlays.
    for (const auto& entry : outline.entries()) {
        auto overlay = std::dynamic_pointer_cast<platform::components::ProgressHUD>(entry.view);
        if (overlay && overlay->mode() == platform::components::ProgressHUDMode::Text)
            texts.insert(texts.end(), entry.texts.begin(), entry.texts.end());
    }
    return texts;
}

std::shared_ptr<platform::Window> makeKeyWindow() {
    auto window = platform::View::make<platform::Window>();
    window->setRootViewController(std::make_shared<platform::ViewController>());
    window->makeKeyAndVisible();
    return window;
}

void ShareSdkTest::SetUp() {
    platform::UserDefaults::resetStandard();
    resetShareSdk();
    SHSocialDeviceInfo::setCurrent(device);
    SHSocialProtocolData::setClock([this] { return now; });
    setAppKey(kAppKey);
    // Before anything can be asked: the SDK or a screen may ask the service on its own.
    pointSdkAt("http://127.0.0.1:" + std::to_string(m_refusing.port()) + "/share/");
}

void ShareSdkTest::TearDown() {
    auto& loop = platform::RunLoop::main();
    // No reply may reach a later case: wait for the wire to be quiet, then drop what waits.
    loop.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; });
    loop.runPending();
    loop.reset();
    resetShareSdk();
    platform::Bundle::main().setOverlayDirectory({});
    SHSocialDeviceInfo::setCurrent(nullptr);
    SHSocialProtocolData::setClock({});
    SHSocialUtils::setLogSink({});
    SHSocialUtils::setOpenLog(false);
    if (services)
        services->stop();
    platform::UserDefaults::resetStandard();
}

void ShareSdkTest::startShareService() {
    services = std::make_unique<fakes::FakeSchoolServices>();
    services->start(0);
    pointSdkAt(services->shareServiceBase());
}

void ShareSdkTest::pointSdkAt(const std::string& baseURL) {
    const auto overlay = home.path() / "bundle-overlay";
    ASSERT_TRUE(platform::writePropertyList(overlay / "SocialSDK-config.plist",
                                            platform::Json{{"baseURL", baseURL}}));
    platform::Bundle::main().setOverlayDirectory(overlay);
    // The address is read when the protocol object is made.
    SHSProtocol::resetSharedInstance();
    SHSocialHttpClient::resetSharedInstance();
}

void ShareSdkTest::setAppKey(const std::string& appKey) {
    SHSDataManagerSet::shareInstance().setAppkey(appKey);
    SHSocialCryptor::updateAESKey(appKey);
}

void ShareSdkTest::answerWith(const std::string& method, const std::string& path,
                              const platform::Json& reply) {
    services->setHandler(method, path, [reply](const fakes::RecordedRequest&) {
        fakes::Reply sealed;
        sealed.contentType = "text/plain";
        sealed.body = fakes::ShareRoutes::seal(kAppKey, reply.dump());
        return sealed;
    });
}

bool ShareSdkTest::waitFor(const std::shared_ptr<SHSocialResponseEntity>& slot) {
    return platform::RunLoop::main().runUntil([&slot] { return slot != nullptr; });
}

bool ShareSdkTest::waitForShareRequests(std::size_t count) {
    return platform::RunLoop::main().runUntil(
        [&] { return services->shareRequests().size() >= count; });
}

bool ShareSdkTest::quiet() {
    // Background work first: a block posts its result before it counts as finished, and the
    // result is then waiting on the loop.
    return platform::dispatch::backgroundWorkInFlight() == 0 &&
           platform::HttpClient::shared().inFlight() == 0 && !platform::WebView::anyBusy() &&
           !platform::RunLoop::main().hasWorkDueNow();
}

bool ShareSdkTest::waitUntilQuiet() {
    return platform::RunLoop::main().runUntil(quiet);
}

std::size_t ShareSdkTest::requestsOf(int action) const {
    std::size_t count = 0;
    for (const auto& request : services->shareRequests()) count += request.action == action ? 1 : 0;
    return count;
}

SHSocialResponseCompletion ShareSdkTest::storeIn(std::shared_ptr<SHSocialResponseEntity>& slot,
                                                 int* calls) {
    return [&slot, calls](std::shared_ptr<SHSocialResponseEntity> response) {
        slot = std::move(response);
        if (calls)
            ++*calls;
    };
}

void ShareServiceTest::SetUp() {
    ShareSdkTest::SetUp();
    SHSocialInstallScreens();
    service = SHSocialControllerService::defaultControllerService();
    service->currentSnsPlatformName = "qzone";
}

void ShareServiceTest::TearDown() {
    service.reset();
    SHSocialControllerService::screens() = {};
    ShareSdkTest::TearDown();
}

void ShareHostTest::SetUp() {
    ShareSdkTest::SetUp();
    scope.emplace(platform::Size{320, 480});
    startShareService();
    // resetShareSdk() forgot the screens the SDK registered as the program loaded.
    SHSocialInstallScreens();
    host = std::make_shared<platform::ViewController>();
    window = platform::View::make<platform::Window>();
    window->setRootViewController(host);
    window->makeKeyAndVisible();
}

void ShareHostTest::TearDown() {
    driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; });
    platform::AlertPresenter::shared().reset();
    window.reset();
    host.reset();
    scope.reset();
    ShareSdkTest::TearDown();
}

std::shared_ptr<platform::NavigationController> ShareHostTest::presentedNavigation() const {
    return std::dynamic_pointer_cast<platform::NavigationController>(
        host->presentedViewController());
}

void ShareHostTest::signIn(const std::string& platformName) {
    auto account = std::make_shared<SHSocialAccountEntity>(platformName);
    account->usid = "demo-" + platformName;
    account->accessToken = "demo-token-" + platformName;
    SHSocialAccountManager::setSnsAccount(account);
}

}  // namespace sharetest
