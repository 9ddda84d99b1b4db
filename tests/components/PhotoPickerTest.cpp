#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "components/photopicker/PhotoGridView.h"
#include "components/photopicker/PhotoPickerViewController.h"
#include "platform/devices/PhotoLibrary.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Window.h"
#include "tests/support/ScreenCheck.h"
#include "tests/support/TempHome.h"

using namespace platform;
using platform::components::PhotoGridView;
using platform::components::PhotoPickerViewController;

namespace {

using testsupport::onScreen;
using testsupport::takesTouch;

struct Picked : platform::components::PhotoPickerViewControllerDelegate {
    void pickerViewControllerDoneAsstes(const std::vector<PhotoAsset>& assets) override {
        for (const auto& asset : assets) names.push_back(asset.name());
    }
    void pickerViewControllerDidCancel() override { ++cancelled; }
    std::vector<std::string> names;
    int cancelled{0};
};

// An album of 100 photos (more than a tablet's screen holds), each of one colour of its own,
// in the picker on a fresh window.
class PhotoPickerTest : public ::testing::Test {
protected:
    static constexpr int kPhotos = 100;

    PhotoPickerTest() {
        const auto album = home.path() / "album";
        std::filesystem::create_directories(album);
        for (int i = 0; i < kPhotos; ++i) {
            std::vector<std::uint32_t> pixels(60 * 40, colourOf(i));
            std::ofstream(album / name(i), std::ios::binary)
                << Image::fromARGB(60, 40, std::move(pixels)).pngData();
        }
        EXPECT_TRUE(PhotoLibrary::shared().setFolder(album));
    }

    static std::uint32_t colourOf(int i) {
        return 0xFF000000u | std::uint32_t(10 + i * 2) << 16 | std::uint32_t(220 - i * 2) << 8 |
               0x40u;
    }
    static std::string name(int i) { return "photo" + std::to_string(1000 + i) + ".png"; }

    void show(double width, double height) {
        picker = std::make_shared<PhotoPickerViewController>();
        picker->setDelegate(picked);
        window = testsupport::presentOnScreen(width, height, root, picker);
    }

    Image screen() { return testsupport::screenImage(*window); }

    platform::testing::UiTestScope scope;
    testsupport::TempHome home;
    std::shared_ptr<ViewController> root = std::make_shared<ViewController>();
    std::shared_ptr<Window> window;
    std::shared_ptr<PhotoPickerViewController> picker;
    std::shared_ptr<Picked> picked = std::make_shared<Picked>();
    platform::testing::UIDriver driver;
};

TEST_F(PhotoPickerTest, ALongAlbumScrollsAsAGridBetweenBarsThatStayOnScreen) {
    for (auto [width, height] : testsupport::kPhoneAndTabletScreens) {
        SCOPED_TRACE(std::to_string(int(width)));
        show(width, height);
        const Rect screenRect{{0, 0}, {width, height}};
        // Its bars and buttons are on the screen and take taps.
        for (const char* title : {"完成", "取消"}) {
            auto button = driver.find(title);
            ASSERT_TRUE(button) << driver.outline();
            EXPECT_TRUE(takesTouch(*window, button)) << title;
            EXPECT_TRUE(screenRect.contains(onScreen(*button).origin)) << title;
            EXPECT_LE(onScreen(*button).maxY(), height) << title;
        }
        // The title stands in the bar, clear of the screen's edge and of the status bar.
        auto bars = driver.findAll<NavigationBar>();
        ASSERT_EQ(bars.size(), 1u);
        auto title = bars[0]->titleLabel();
        EXPECT_EQ(title->text(), PhotoLibrary::kCameraRollName);
        EXPECT_GT(onScreen(*title).minX(), 40);
        EXPECT_GE(onScreen(*title).minY(), 20);

        // The photos are square thumbnails, several to a row; the album is longer than the
        // room for it, so it scrolls.
        auto grid = picker->grid();
        const auto& cells = grid->thumbnails();
        ASSERT_EQ(cells.size(), size_t(kPhotos));
        const int columns = PhotoGridView::columnsFor(width);
        EXPECT_GE(columns, 4);
        EXPECT_EQ(cells[1]->frame().minY(), cells[0]->frame().minY());
        EXPECT_EQ(cells[size_t(columns)]->frame().minX(), 0);
        EXPECT_NEAR(cells[0]->frame().size.width, cells[0]->frame().size.height, 0.01);
        EXPECT_GT(grid->contentSize().height, grid->bounds().size.height);

        // Each thumbnail in sight shows its photo.
        Image shown = screen();
        const Rect first = onScreen(*cells[0]);
        EXPECT_EQ(shown.pixelAt(int(first.midX()), int(first.midY())), colourOf(0));
        const Rect fifth = onScreen(*cells[4]);
        EXPECT_EQ(shown.pixelAt(int(fifth.midX()), int(fifth.midY())), colourOf(4));

        // The last photo lies below the room at first; scrolled to, it shows and is picked.
        std::shared_ptr<View> last = cells.back();
        EXPECT_FALSE(takesTouch(*window, last));
        grid->setContentOffset(grid->maximumContentOffset());
        window->layoutIfNeeded();
        ASSERT_TRUE(takesTouch(*window, last)) << driver.outline();
        shown = screen();
        const Rect lastRect = onScreen(*last);
        EXPECT_EQ(shown.pixelAt(int(lastRect.minX() + 4), int(lastRect.minY() + 4)),
                  colourOf(kPhotos - 1));
        EXPECT_LE(lastRect.maxY(), onScreen(*driver.find("完成")).minY());
        ASSERT_TRUE(driver.tap(name(kPhotos - 1)).ok);
        EXPECT_TRUE(picker->isAssetSelected(size_t(kPhotos - 1)));
        EXPECT_NE(driver.outline().find("photo \"" + name(kPhotos - 1) + "\" (selected)"),
                  std::string::npos);
        ASSERT_TRUE(driver.tap("完成").ok);
        scope.advance(1);
        EXPECT_EQ(root->presentedViewController(), nullptr);
    }
    EXPECT_EQ(picked->names, (std::vector<std::string>(3, name(kPhotos - 1))));
}

TEST_F(PhotoPickerTest, WhereOnePhotoIsWantedATickMovesToTheLastPhotoTapped) {
    show(375, 667);
    picker->setAllowsMultipleSelection(false);
    ASSERT_TRUE(driver.tap(name(0)).ok);
    ASSERT_TRUE(driver.tap(name(2)).ok);
    EXPECT_FALSE(picker->isAssetSelected(0));
    EXPECT_TRUE(picker->isAssetSelected(2));
    EXPECT_EQ(driver.outline().find("photo \"" + name(0) + "\" (selected)"), std::string::npos);
    ASSERT_TRUE(driver.tap("完成").ok);
    EXPECT_EQ(picked->names, std::vector<std::string>{name(2)});
    EXPECT_EQ(picked->cancelled, 0);
}

TEST_F(PhotoPickerTest, ClosedWithoutPhotosTheDelegateIsToldSo) {
    // "取消", with a photo ticked.
    show(375, 667);
    ASSERT_TRUE(driver.tap(name(1)).ok);
    ASSERT_TRUE(driver.tap("取消").ok);
    scope.advance(1);
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_EQ(picked->cancelled, 1);
    // "完成" with none ticked.
    show(375, 667);
    ASSERT_TRUE(driver.tap("完成").ok);
    scope.advance(1);
    EXPECT_EQ(picked->cancelled, 2);
    EXPECT_TRUE(picked->names.empty());
}

TEST_F(PhotoPickerTest, OnlyThumbnailsNearSightAreDecoded) {
    PhotoLibrary::shared().reset();
    const auto album = home.path() / "long";
    std::filesystem::create_directories(album);
    for (int i = 0; i < 200; ++i) {
        std::vector<std::uint32_t> pixels(30 * 30, colourOf(i % kPhotos));
        std::ofstream(album / ("p" + std::to_string(1000 + i) + ".png"), std::ios::binary)
            << Image::fromARGB(30, 30, std::move(pixels)).pngData();
    }
    ASSERT_TRUE(PhotoLibrary::shared().setFolder(album));
    show(375, 667);
    auto grid = picker->grid();
    auto loaded = [&] {
        int n = 0;
        for (const auto& cell : grid->thumbnails()) n += cell->hasThumbnail();
        return n;
    };
    EXPECT_TRUE(grid->thumbnails().front()->hasThumbnail());
    EXPECT_FALSE(grid->thumbnails().back()->hasThumbnail());
    EXPECT_LT(loaded(), 100);
    grid->setContentOffset(grid->maximumContentOffset());
    window->layoutIfNeeded();
    EXPECT_TRUE(grid->thumbnails().back()->hasThumbnail());
    EXPECT_FALSE(grid->thumbnails().front()->hasThumbnail());
    EXPECT_LT(loaded(), 100);
}

}  // namespace
