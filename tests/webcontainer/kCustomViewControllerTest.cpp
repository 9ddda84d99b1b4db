#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "client/ServiceConfig.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Image.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Window.h"
#include "tests/support/TempHome.h"
#include "webcontainer/ItemScanViewController.h"

using namespace platform;

namespace {

class ScannerBaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        UserDefaults::resetStandard();
        window->setRootViewController(screen);
        window->makeKeyAndVisible();
    }
    void TearDown() override { UserDefaults::resetStandard(); }

    void signIn(const Json& info) { UserDefaults::standard().setObject(info, "UserInfo"); }
    std::string overlayText() const {
        auto hud = components::ProgressHUD::HUDForView(*window);
        return hud ? hud->labelText() : "";
    }

    testsupport::TempHome home;
    platform::testing::UiTestScope scope;
    std::shared_ptr<Window> window = View::make<Window>();
    std::shared_ptr<ItemScanViewController> screen = std::make_shared<ItemScanViewController>();
};

TEST_F(ScannerBaseTest, TheHeadPictureIsSavedUnderThePlainAccountNameOnly) {
    signIn(Json{{"userAccount", "2021213045"}});
    ASSERT_TRUE(screen->saveHeadPicWithData("PNG bytes"));
    std::ifstream in(paths::cachesDirectory() / "2021213045", std::ios::binary);
    std::stringstream saved;
    saved << in.rdbuf();
    EXPECT_EQ(saved.str(), "PNG bytes");

    for (const char* account : {"../Documents/x", "a/b", "..", ""}) {
        signIn(Json{{"userAccount", account}});
        EXPECT_FALSE(screen->saveHeadPicWithData("x")) << account;
    }
    EXPECT_FALSE(std::filesystem::exists(paths::cachesDirectory() / ".." / "Documents" / "x"));
}

TEST_F(ScannerBaseTest, TheHeadImageAddressFollowsTheAppServiceRoot) {
    signIn(Json{{"headImg", "upload/head/7.jpg"}});
    EXPECT_EQ(screen->setHeadImage(), ServiceConfig::shared().appServiceRoot + "upload/head/7.jpg");
    signIn(Json{{"headImg", nullptr}});
    EXPECT_EQ(screen->setHeadImage(), ServiceConfig::shared().appServiceRoot + " ");
}

TEST_F(ScannerBaseTest, TextThatIsNotJsonShowsTheInvalidCodeOverlay) {
    auto parsed = screen->dictionaryWithJsonString(R"({"room":"A204"})");
    ASSERT_TRUE(parsed);
    EXPECT_EQ((*parsed)["room"], "A204");
    EXPECT_FALSE(screen->dictionaryWithJsonString("http://not.json.example/"));
    EXPECT_EQ(overlayText(), "无效二维码");
}

TEST_F(ScannerBaseTest, TheLoadingOverlayReplacesAnEarlierOneAndGoesOnEnd) {
    screen->loading();
    auto first = screen->hud();
    screen->loading();
    EXPECT_NE(screen->hud(), first);
    EXPECT_EQ(screen->hud()->labelText(), "努力加载中");
    screen->endLoading();
    EXPECT_EQ(screen->hud(), nullptr);
}

TEST_F(ScannerBaseTest, AnAlertSaysTipWithOneConfirmButton) {
    screen->showAlertViewStr("已保存");
    platform::testing::UIDriver driver;
    EXPECT_NE(driver.outline().find("提示"), std::string::npos);
    EXPECT_TRUE(driver.pressAlertButton("确认").ok);
}

TEST(ScannerBaseImages, ScalingAndCroppingFillsTheTargetFromTheMiddle) {
    // Left half red, right half blue, 40x20: filling a 10x10 square keeps the middle, half
    // of each colour.
    std::vector<std::uint32_t> argb(40 * 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) argb[y * 40 + x] = x < 20 ? 0xFFFF0000u : 0xFF0000FFu;
    auto scaled = kCustomViewController::imageByScalingAndCroppingForSize(
        Image::fromARGB(40, 20, argb), Size{10, 10});
    ASSERT_FALSE(scaled.isNull());
    EXPECT_EQ(scaled.pixelWidth(), 10);
    EXPECT_EQ(scaled.pixelHeight(), 10);
    EXPECT_EQ(scaled.pixelAt(1, 5), 0xFFFF0000u);
    EXPECT_EQ(scaled.pixelAt(8, 5), 0xFF0000FFu);
    EXPECT_TRUE(
        kCustomViewController::imageByScalingAndCroppingForSize(Image(), Size{10, 10}).isNull());
}

}  // namespace
