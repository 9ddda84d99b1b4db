#include <gtest/gtest.h>

#include "client/CollectionViewCellModel.h"
#include "client/DefaultModuleTable.h"
#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/support/TempHome.h"

using platform::Json;

namespace {

std::vector<std::string> methods(const TileList& tiles) {
    std::vector<std::string> out;
    for (const auto& tile : tiles) out.push_back(tile->methodName);
    return out;
}

TEST(TileListArchiveTest, AStoredListComesBackInOrderWithEveryField) {
    auto tiles = DefaultModuleTable::tiles();
    tiles.push_back(DefaultModuleTable::addMoreTile());

    auto back = unarchiveTileList(archiveTileList(tiles));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 9u);
    EXPECT_EQ(methods(*back), methods(tiles));
    EXPECT_EQ((*back)[7]->titleName, "移动考勤");
    EXPECT_EQ((*back)[7]->imageName, "app_icon");
    EXPECT_EQ((*back)[8]->methodName, "addNewMethod");
    // Records are new objects: a tile is only ever the same as itself.
    EXPECT_NE((*back)[0], tiles[0]);
}

TEST(TileListArchiveTest, TheArchiveKeepsTheFieldsUnderTheirKeys) {
    const auto root = platform::unarchiveObject(archiveTileList(
        {std::make_shared<CollectionViewCellModel>("通知公告", "通知公告", "announcement")}));
    ASSERT_TRUE(root);
    EXPECT_EQ(*root, Json::array({Json{{"titleName", "通知公告"},
                                       {"imageName", "通知公告"},
                                       {"methodName", "announcement"}}}));
}

TEST(TileListArchiveTest, DataThatIsNotAListOfTilesReadsAsAbsentAndOddElementsAreLeftOut) {
    EXPECT_FALSE(unarchiveTileList(platform::toBytes("garbage")));
    EXPECT_FALSE(unarchiveTileList({}));
    EXPECT_FALSE(unarchiveTileList(platform::archiveRootObject(Json{{"titleName", "x"}})));
    auto damaged = archiveTileList(DefaultModuleTable::tiles());
    damaged.back() ^= 0x20;
    EXPECT_FALSE(unarchiveTileList(damaged));

    // Elements that are not tiles are left out; odd fields read empty.
    auto tiles = unarchiveTileList(platform::archiveRootObject(
        Json::array({7, Json{{"titleName", "讲座"}, {"methodName", 3}}, "x"})));
    ASSERT_TRUE(tiles);
    ASSERT_EQ(tiles->size(), 1u);
    EXPECT_EQ((*tiles)[0]->titleName, "讲座");
    EXPECT_EQ((*tiles)[0]->imageName, "");
    EXPECT_EQ((*tiles)[0]->methodName, "");
}

TEST(TileListArchiveTest, StoredListsAreReadFromTheUserDefaults) {
    testsupport::TempHome home;
    platform::UserDefaults::resetStandard();
    auto& defaults = platform::UserDefaults::standard();

    EXPECT_FALSE(storedTileList(defaults, "kTeacherSelectItemUp"));
    defaults.setData(archiveTileList({}), "kTeacherSelectItemUp");
    ASSERT_TRUE(storedTileList(defaults, "kTeacherSelectItemUp"));
    EXPECT_FALSE(storedTileListHasTiles(defaults, "kTeacherSelectItemUp"));

    defaults.setData(archiveTileList(DefaultModuleTable::tiles()), "kTeacherSelectItemDown");
    EXPECT_TRUE(storedTileListHasTiles(defaults, "kTeacherSelectItemDown"));
    defaults.setString("not data", "kStudentSelectItemUp");
    EXPECT_FALSE(storedTileList(defaults, "kStudentSelectItemUp"));
    platform::UserDefaults::resetStandard();
}

}  // namespace
