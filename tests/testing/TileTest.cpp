#include <gtest/gtest.h>

#include "platform/ui/CollectionView.h"
#include "platform/ui/CollectionViewCell.h"
#include "platform/ui/CollectionViewDataSource.h"
#include "platform/ui/CollectionViewDelegate.h"
#include "platform/ui/CollectionViewFlowLayout.h"
#include "tests/testing/DriverTestSupport.h"

namespace drivertest {
namespace {

using namespace platform;

// A grid of labelled tiles, like a home screen's services.
class TileGrid : public CollectionViewDataSource, public CollectionViewDelegate {
public:
    int numberOfItemsInSection(CollectionView&, int) override { return int(titles.size()); }

    std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(CollectionView& collection,
                                                               const IndexPath& path) override {
        auto cell = collection.dequeueReusableCellWithReuseIdentifier("tile", path);
        if (cell->contentView()->subviews().empty()) {
            cell->contentView()->addSubview(View::make<Label>(Rect{{0, 0}, {80, 20}}));
        }
        std::static_pointer_cast<Label>(cell->contentView()->subviews().front())
            ->setText(titles[size_t(path.item())]);
        return cell;
    }

    void didSelectItemAtIndexPath(CollectionView&, const IndexPath& path) override {
        selected.push_back(path);
    }

    std::vector<std::string> titles{"Timetable", "Grades", "Library", "Map"};
    std::vector<IndexPath> selected;
};

TEST_F(DriverTest, TilesAreListedInOrderAndTappedByHandle) {
    auto screen = showSample();
    auto layout = std::make_shared<CollectionViewFlowLayout>();
    layout->setItemSize(Size{80, 60});
    auto grid = std::make_shared<TileGrid>();
    auto collection = View::make<CollectionView>(Rect{{0, 420}, {375, 140}}, layout);
    collection->setDataSource(grid);
    collection->setDelegate(grid);
    screen->view()->addSubview(collection);

    std::string outline = driver.outline();
    EXPECT_NE(outline.find("  t0  item \"Timetable\"\n  t1  item \"Grades\"\n"), std::string::npos)
        << outline;
    ASSERT_TRUE(driver.tap("t2").ok);
    ASSERT_TRUE(driver.tap("Map").ok);
    EXPECT_EQ(grid->selected, (std::vector<IndexPath>{{0, 2}, {0, 3}}));
}

}  // namespace
}  // namespace drivertest
