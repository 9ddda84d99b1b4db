#include <gtest/gtest.h>

#include <memory>

#include "client/CollectionViewCellModel.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/ButtionCollectionViewCell.h"

namespace {

using widgettest::expectRectNear;
using widgettest::WidgetTest;

using ButtionCollectionViewCellTest = WidgetTest;

TEST_F(ButtionCollectionViewCellTest, BadgeAndCaptionKeepTheirFramesAtTheTopLeftOfAnyCell) {
    for (const platform::Size size : {platform::Size{40, 60}, platform::Size{120, 90}}) {
        auto cell = platform::View::make<ButtionCollectionViewCell>(platform::Rect{{10, 20}, size});

        expectRectNear(cell->imgBtn()->frame(), {{0, 0}, {40, 40}});
        EXPECT_EQ(cell->imgBtn()->cornerRadius(), 20);
        EXPECT_EQ(cell->imgBtn()->superview(), cell);

        expectRectNear(cell->imageView()->frame(), {{4, 4}, {32, 32}});
        EXPECT_EQ(cell->imageView()->superview(), cell->imgBtn());
        EXPECT_EQ(cell->imageView()->contentMode(), platform::ContentMode::ScaleAspectFit);

        const auto& caption = cell->titleLabel();
        expectRectNear(caption->frame(), {{0, 40}, {40, 20}});
        EXPECT_EQ(caption->superview(), cell);
        EXPECT_EQ(caption->textAlignment(), platform::TextAlignment::Center);
        EXPECT_EQ(caption->font(), platform::Font::boldSystemFont(10));
        const float grey = 136.0f / 255.0f;
        EXPECT_EQ(caption->textColor(), platform::Color::rgba(grey, grey, grey, 1));
        // A long caption stays on one line.
        EXPECT_EQ(caption->numberOfLines(), 1);
    }
}

TEST_F(ButtionCollectionViewCellTest, TheTileRecordIsCarriedButNotShown) {
    auto cell = platform::View::make<ButtionCollectionViewCell>(platform::Rect{{0, 0}, {40, 60}});
    cell->setDataModel(
        std::make_shared<CollectionViewCellModel>("通知公告", "通知公告", "announcement"));

    ASSERT_TRUE(cell->dataModel());
    EXPECT_EQ(cell->dataModel()->methodName, "announcement");
    EXPECT_EQ(cell->titleLabel()->text(), "");
    EXPECT_TRUE(cell->imageView()->image().isNull());
}

}  // namespace
