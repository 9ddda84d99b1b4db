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

}  // namespace
