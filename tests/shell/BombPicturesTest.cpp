#include <gtest/gtest.h>

#include <string>

#include "components/webimage/ImageCache.h"
#include "platform/graphics/DecodeBudget.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "shell/HomePageTableViewCell.h"
#include "tests/shell/HomeTestSupport.h"
#include "tests/support/BombPicture.h"

using namespace hometest;
using platform::Json;

namespace {

// A page of news whose every thumbnail is a picture that decodes to 256 MB: each row holds no
// more of it than its image view shows, and the pictures held together stay within the budget.
class BombPicturesTest : public HomeTest {
protected:
    void TearDown() override { platform::components::ImageCache::shared().clearMemory(); }
};

TEST_F(BombPicturesTest, TenNewsRowsOfHugePicturesHoldOnlyWhatTheyShow) {
    const std::string bomb = testsupport::bombPng(8192, 8192);
    Json news = Json::array();
    for (int i = 0; i < 10; ++i) {
        const std::string path = "/bomb/" + std::to_string(i) + ".png";
        news.push_back(Json{{"xwbt", "新闻" + std::to_string(i)}, {"imgUrl", path}});
        server.setReply("GET", path, {200, "image/png", bomb});
    }
    server.setReply("GET", kNewsPath, {200, "application/json", Json{{"News", news}}.dump()});
    launch();
    settleScreen();

    const auto cells = home()->newsTableView()->visibleCells();
    ASSERT_FALSE(cells.empty());
    const double scale = platform::Screen::main().scale();
    for (const auto& cell : cells) {
        auto row = std::dynamic_pointer_cast<HomePageTableViewCell>(cell);
        ASSERT_TRUE(row);
        const auto& view = *row->NewImageView();
        const platform::Image& image = view.image();
        ASSERT_TRUE(image.isReduced()) << "the bomb, not the placeholder";
        // Enough to fill the view (turned either way), and no more.
        const double side = std::max(view.bounds().size.width, view.bounds().size.height) * scale;
        EXPECT_LE(image.pixelWidth(), std::ceil(side));
        EXPECT_LE(image.pixelHeight(), std::ceil(side));
        EXPECT_GE(image.pixelWidth(), std::floor(view.bounds().size.width * scale));
    }
    EXPECT_LE(platform::DecodeBudget::held(), 16u << 20);
}

TEST_F(BombPicturesTest, NewsRowsWhoseDecodersWouldPassTheBudgetKeepTheirPlaceholders) {
    // Every other thumbnail is a progressive CMYK picture whose decoder would hold 512 MB; the
    // others a progressive one whose decoder holds 192 MB, decoded one after another.
    const std::string refused = testsupport::bombProgressiveJpeg(8192, 8192, 4);
    const std::string decoded = testsupport::bombProgressiveJpeg(8192, 8192, 3, true);
    Json news = Json::array();
    for (int i = 0; i < 6; ++i) {
        const std::string path = "/bomb/" + std::to_string(i) + ".jpg";
        news.push_back(Json{{"xwbt", "新闻" + std::to_string(i)}, {"imgUrl", path}});
        server.setReply("GET", path, {200, "image/jpeg", i % 2 == 0 ? refused : decoded});
    }
    server.setReply("GET", kNewsPath, {200, "application/json", Json{{"News", news}}.dump()});
    platform::DecodeBudget::resetPeak();
    launch();
    settleScreen();

    const auto cells = home()->newsTableView()->visibleCells();
    const auto paths = home()->newsTableView()->indexPathsForVisibleRows();
    ASSERT_EQ(cells.size(), paths.size());
    ASSERT_GE(cells.size(), 4u);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        auto row = std::dynamic_pointer_cast<HomePageTableViewCell>(cells[i]);
        ASSERT_TRUE(row);
        const platform::Image& image = row->NewImageView()->image();
        if (paths[i].row % 2 == 0) {
            EXPECT_FALSE(image.name().empty())
                << "row " << paths[i].row << " keeps its placeholder";
        } else {
            EXPECT_TRUE(image.isReduced()) << "row " << paths[i].row << " shows its picture";
        }
    }
    EXPECT_LE(platform::DecodeBudget::peak(), platform::DecodeBudget::limit());
    EXPECT_LE(platform::DecodeBudget::held(), 16u << 20);
}

}  // namespace
