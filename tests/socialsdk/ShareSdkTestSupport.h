#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/base/SHSocialDeviceInfo.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"
#include "SocialSDK/service/SHSocialUIDelegate.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Json.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "tests/support/RefusingPort.h"
#include "tests/support/TempHome.h"

class SHSocialControllerService;

namespace platform {
class NavigationController;
class ViewController;
class Window;
}  // namespace platform

namespace sharetest {

inline constexpr const char* kAppKey = "lanxi-demo-appkey";
// 2023-11-14 22:13:20.123 UTC
inline constexpr long long kNowMillis = 1'700'000'000'123;

// Device values a test fixes: a phone on a cellular link.
class FixedDeviceInfo : public SHSocialDeviceInfo {
public:
    std::optional<std::string> mac = std::string("\x0a\x1b\x2c\x3d\x4e\x5f", 6);
    std::vector<std::string> ipv4Names{"pdp_ip0"};
    std::optional<std::string> machineName = std::string("iPhone8,1");

    std::string primaryInterfaceName() const override { return "en0"; }
    std::optional<std::string> linkLayerAddress() const override { return mac; }
    std::vector<std::string> ipv4InterfaceNames() const override { return ipv4Names; }
    std::optional<std::string> machine() const override { return machineName; }
    std::optional<std::string> model() const override { return std::string("iPhone"); }
    std::optional<std::string> systemVersion() const override { return std::string("9.3"); }
    std::optional<std::string> vendorIdentifier() const override {
        return std::string("5A0D7F4C-1E2B-4C3D-9A8B-7C6D5E4F3A2B");
    }
    std::optional<std::string> openUDID() const override {
        return std::string("4f1c0e5ad2b3c4d5e6f708192a3b4c5d6e7f8091");
    }
};

// Drops every process-wide object of the share SDK, as a restart of the app would.
void resetShareSdk();

// The texts of the SDK's toasts that the key window shows now, as its outline reads them, in
// drawing order (toasts shown together stand one over the other); empty without a key window.
std::vector<std::string> toastsOnScreen();
// A visible key window with a plain screen, for toasts to show on.
std::shared_ptr<platform::Window> makeKeyWindow();

// A fresh share SDK for each case: its own data directory, fixed device values and wall
// clock, the application key set, and its service address set before anything is asked (so
// nothing ever goes to the SDK's built-in host): a refusing port on 127.0.0.1 until the case
// starts the fake services (on 127.0.0.1 too), then their share service. The address reaches
// the SDK through the "SocialSDK-config" resource.
class ShareSdkTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the fake services and points the SDK at them.
    void startShareService();
    void setAppKey(const std::string& appKey);
    // The share service answers the route with this document, sealed as it seals its replies.
    void answerWith(const std::string& method, const std::string& path,
                    const platform::Json& reply);
    // Pumps the main loop until the slot is filled (bounded in real time).
    bool waitFor(const std::shared_ptr<SHSocialResponseEntity>& slot);
    bool waitForShareRequests(std::size_t count);
    // Pumps the main loop until no request is on its way and no background work runs (bounded
    // in real time): what the case started has been answered, so a check that nothing more was
    // sent or announced is not decided before the network had its chance.
    bool waitUntilQuiet();
    // No request on its way, no background work running, no web view with work under way and
    // nothing waiting on the main loop.
    static bool quiet();
    // How many requests of the action the share service has received.
    std::size_t requestsOf(int action) const;
    // A completion that stores its result in the slot and counts its calls.
    SHSocialResponseCompletion storeIn(std::shared_ptr<SHSocialResponseEntity>& slot,
                                       int* calls = nullptr);

    testsupport::TempHome home;
    std::shared_ptr<FixedDeviceInfo> device = std::make_shared<FixedDeviceInfo>();
    std::chrono::system_clock::time_point now{std::chrono::milliseconds(kNowMillis)};
    std::unique_ptr<fakes::FakeSchoolServices> services;

private:
    void pointSdkAt(const std::string& baseURL);

    testsupport::RefusingPort m_refusing;
};

// The SDK's screens and its default controller service, with qzone as the current platform.
class ShareServiceTest : public ShareSdkTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::shared_ptr<SHSocialControllerService> service;
};

// A host's UI delegate that records what the SDK tells it and answers whether the sheet shares
// directly.
class RecordingUIDelegate : public SHSocialUIDelegate {
public:
    bool didFinishGetSHSocialDataInViewController(
        std::shared_ptr<SHSocialResponseEntity> response) override {
        results.push_back(std::move(response));
        return true;
    }
    void didCloseUIViewController(int type) override { closed.push_back(type); }
    bool isDirectShareInIconActionSheet() override { return directShare; }

    bool directShare = false;
    std::vector<std::shared_ptr<SHSocialResponseEntity>> results;
    std::vector<int> closed;
};

// A host screen in a key window of 320x480 points on the manual clock, with the SDK's share
// service the fake one; requests still on their way and alerts are let go at the end.
class ShareHostTest : public ShareSdkTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void settle(double seconds = 1) { scope->advance(seconds); }
    // What the host presents, as the navigation controller the SDK's screens come in; null
    // when it presents nothing or something else.
    std::shared_ptr<platform::NavigationController> presentedNavigation() const;
    // A signed-in account on the platform, with a token.
    static void signIn(const std::string& platformName);

    std::optional<platform::testing::UiTestScope> scope;
    platform::testing::UIDriver driver;
    std::shared_ptr<platform::ViewController> host;
    std::shared_ptr<platform::Window> window;
};

}  // namespace sharetest
