#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/devices/ImagePickerController.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Window.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/TempHome.h"

using namespace platform;

namespace {

using testsupport::onScreen;
using testsupport::takesTouch;

struct PickerDelegate : ImagePickerControllerDelegate {
    void imagePickerControllerDidFinishPickingMediaWithInfo(
        ImagePickerController& picker, const ImagePickerMediaInfo& info) override {
        taken.push_back(info.originalImage);
        picker.dismissViewController(false);
    }
    void imagePickerControllerDidCancel(ImagePickerController& picker) override {
        ++cancelled;
        picker.dismissViewController(false);
    }
    std::vector<Image> taken;
    int cancelled = 0;
};

// The camera's screen over a window, its camera seeing a picture of sky over grass.
class CameraScreenTest : public ::testing::Test {
protected:
    static constexpr std::uint32_t kSky = 0xFF5A9FE6u;
    static constexpr std::uint32_t kGrass = 0xFF288C3Cu;

    CameraScreenTest() {
        std::vector<std::uint32_t> pixels(120 * 160);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = i < 120 * 100 ? kSky : kGrass;
        const auto file = home.path() / "view.png";
        std::ofstream(file, std::ios::binary)
            << Image::fromARGB(120, 160, std::move(pixels)).pngData();
        EXPECT_TRUE(ImagePickerController::setCamera(true, file));
    }

    void show(double width, double height) {
        picker = std::make_shared<ImagePickerController>();
        picker->setSourceType(ImagePickerSourceType::Camera);
        picker->setDelegate(delegate);
        window = testsupport::presentOnScreen(width, height, root, picker);
    }

    Image screen() { return testsupport::screenImage(*window); }

    static int count(const Image& image, std::uint32_t colour) {
        int found = 0;
        for (int y = 0; y < image.pixelHeight(); ++y)
            for (int x = 0; x < image.pixelWidth(); ++x) found += image.pixelAt(x, y) == colour;
        return found;
    }

    platform::testing::UiTestScope scope;
    testsupport::TempHome home;
    std::shared_ptr<ViewController> root = std::make_shared<ViewController>();
    std::shared_ptr<Window> window;
    std::shared_ptr<ImagePickerController> picker;
    std::shared_ptr<PickerDelegate> delegate = std::make_shared<PickerDelegate>();
    platform::testing::UIDriver driver;
};

TEST_F(CameraScreenTest, ShowsWhatTheCameraSeesWithItsShutterAndCancelBelow) {
    for (auto [width, height] : testsupport::kPhoneAndTabletScreens) {
        SCOPED_TRACE(std::to_string(int(width)));
        show(width, height);
        const Image shown = screen();
        // The picture fills most of the screen: sky above grass, as the camera sees it.
        const double area = width * height;
        EXPECT_GT(count(shown, kSky) + count(shown, kGrass), area * 0.6);
        EXPECT_EQ(shown.pixelAt(int(width / 2), int(height * 0.2)), kSky);
        EXPECT_EQ(shown.pixelAt(int(width / 2), int(height * 0.7)), kGrass);

        // The shutter and cancel below it, reachable, and the shutter's ring drawn white.
        for (const char* title : {"拍照", "取消"}) {
            auto control = driver.find(title);
            ASSERT_TRUE(control) << driver.outline();
            EXPECT_TRUE(takesTouch(*window, control)) << title;
            EXPECT_GT(onScreen(*control).minY(), height * 0.8);
        }
        auto shutter = driver.find("拍照");
        const Rect ring = onScreen(*shutter);
        EXPECT_EQ(shown.pixelAt(int(ring.midX()), int(ring.minY() + 2)), 0xFFFFFFFFu);
        EXPECT_EQ(shown.pixelAt(int(ring.midX()), int(ring.midY())), 0xFFFFFFFFu);

        ASSERT_TRUE(driver.tap("取消").ok);
        EXPECT_EQ(root->presentedViewController(), nullptr);
    }
    EXPECT_EQ(delegate->cancelled, 3);
    EXPECT_TRUE(delegate->taken.empty());
}

TEST_F(CameraScreenTest, TheViewfinderFillsItsWholeAreaWithoutBandsAsThePhonesDoes) {
    // The camera's picture is taller than wide (3:4); no screen has that shape, so a picture
    // merely fitted in would leave black bands at the sides or above and below.
    auto near = [](std::uint32_t pixel, std::uint32_t colour) {
        for (int shift : {0, 8, 16})
            if (std::abs(int((pixel >> shift) & 0xFF) - int((colour >> shift) & 0xFF)) > 24)
                return false;
        return true;
    };
    for (auto [width, height] : testsupport::kPhoneAndTabletScreens) {
        SCOPED_TRACE(std::to_string(int(width)));
        show(width, height);
        auto preview = driver.findByHandle("camera-preview");
        ASSERT_TRUE(preview) << driver.outline();
        const Rect area = onScreen(*preview);
        EXPECT_EQ(area.size.width, width) << "edge to edge";
        const Image shown = screen();
        auto at = [&](double x, double y) { return shown.pixelAt(int(x), int(y)); };
        // Every corner of the viewfinder shows the picture: sky at the top, grass below.
        for (double x : {area.minX() + 3, area.midX(), area.maxX() - 4}) {
            EXPECT_TRUE(near(at(x, area.minY() + 3), kSky))
                << x << " " << std::hex << at(x, area.minY() + 3);
            EXPECT_TRUE(near(at(x, area.maxY() - 4), kGrass))
                << x << " " << std::hex << at(x, area.maxY() - 4);
        }
        ASSERT_TRUE(driver.tap("取消").ok);
    }
}

TEST_F(CameraScreenTest, TheShutterTakesThePictureTheCameraShows) {
    show(375, 667);
    ASSERT_TRUE(driver.tap("拍照").ok);
    ASSERT_EQ(delegate->taken.size(), 1u);
    EXPECT_EQ(delegate->taken[0].pixelAt(60, 20), kSky);
    EXPECT_EQ(delegate->taken[0].pixelAt(60, 150), kGrass);
    EXPECT_EQ(root->presentedViewController(), nullptr);
}

}  // namespace
