#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "fakes/FakeSchoolServices.h"
#include "platform/graphics/DecodeBudget.h"
#include "platform/graphics/Image.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Screen.h"
#include "tests/support/BombPicture.h"
#include "tests/webcontainer/PicturesNow.h"
#include "webcontainer/PreviewImages.h"
#include "webcontainer/ZoomScrollView.h"

using namespace platform;

namespace {

// A preview of ten pictures that each decode to 256 MB: every one gets a page, none is held
// larger than the page at its deepest zoom, and all of them together keep within half of the
// decoded-picture budget. Ordinary pictures are shown at their own size.
class PreviewBombTest : public ::testing::Test {
protected:
    void SetUp() override { services.start(); }
    std::string url(const std::string& path) const { return services.baseUrl() + path; }

    platform::testing::UiTestScope scope;
    fakes::FakeSchoolServices services;
};

TEST_F(PreviewBombTest, TenHugePicturesAllGetAPageWithinTheZoomLimitAndTheBudget) {
    const std::string bomb = testsupport::bombPng(8192, 8192);
    std::vector<std::string> urls;
    for (int i = 0; i < 10; ++i) {
        const std::string path = "/upload/bomb/" + std::to_string(i) + ".png";
        services.setReply("GET", path, fakes::Reply{200, "image/png", bomb});
        urls.push_back(url(path));
    }
    const std::size_t heldBefore = DecodeBudget::held();
    // Decoding ten bombs takes seconds on a busy machine: the overall limit is not what this
    // test is about, so it is set far beyond any machine's pace.
    const auto images =
        testsupport::picturesNow(urls, previewShownPixels(urls.size()),
                                 {kPreviewDownloadSeconds, 3600}, std::chrono::minutes(10));
    ASSERT_EQ(images.size(), 10u);
    const auto& screen = Screen::main();
    const double deepest = std::max(screen.size().width, screen.size().height) * screen.scale() *
                           ZoomScrollView::kMaximumZoom;
    std::size_t bytes = 0;
    for (const auto& image : images) {
        EXPECT_TRUE(image.isReduced());
        EXPECT_LE(image.pixelWidth(), std::ceil(deepest));
        EXPECT_NEAR(image.size().width, 8192, 1);
        bytes += std::size_t(image.pixelWidth()) * std::size_t(image.pixelHeight()) * 4;
    }
    EXPECT_LE(bytes, DecodeBudget::limit() / 2);
    EXPECT_EQ(DecodeBudget::held(), heldBefore + bytes);
}

TEST_F(PreviewBombTest, OrdinaryPicturesKeepEveryPixel) {
    const auto images =
        testsupport::picturesNow({url("/upload/preview/a.jpg"), url("/upload/preview/b.png")},
                                 previewShownPixels(2), kPreviewLimits);
    ASSERT_EQ(images.size(), 2u);
    for (const auto& image : images) EXPECT_FALSE(image.isReduced());
}

}  // namespace
