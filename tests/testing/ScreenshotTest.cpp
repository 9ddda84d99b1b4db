#include <gtest/gtest.h>

#include <filesystem>

#include "platform/graphics/Image.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/AlertView.h"
#include "tests/support/TempHome.h"
#include "tests/testing/DriverTestSupport.h"

namespace drivertest {
namespace {

using namespace platform;

class ScreenshotTest : public DriverTest {
protected:
    Image shoot() {
        auto path = std::filesystem::path(home.path()) / "screen.png";
        auto shot = driver.screenshot(path);
        EXPECT_TRUE(shot.ok) << shot;
        return Image::fromFile(path.string());
    }

    testsupport::TempHome home;
};

TEST_F(ScreenshotTest, FollowsEachPhoneSize) {
    for (const auto& phone : platform::testing::phoneScreens()) {
        platform::testing::ScreenSize size(phone.size);
        showSample();
        Image image = shoot();
        ASSERT_FALSE(image.isNull()) << phone.name;
        EXPECT_EQ(image.size().width, phone.size.width) << phone.name;
        EXPECT_EQ(image.size().height, phone.size.height) << phone.name;
    }
}

TEST_F(ScreenshotTest, WithoutAWindowOrAWritablePathThereIsNoShot) {
    EXPECT_EQ(driver.screenshot(std::filesystem::path(home.path()) / "x.png").error,
              "no key window");
    showSample();
    auto shot = driver.screenshot(std::filesystem::path(home.path()) / "missing" / "x.png");
    EXPECT_FALSE(shot.ok);
    EXPECT_NE(shot.error.find("cannot write"), std::string::npos);
}

}  // namespace
}  // namespace drivertest
