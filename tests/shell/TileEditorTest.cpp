#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/DefaultModuleTable.h"
#include "components/sidemenu/SideViewController.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "shell/ItemsViewController.h"
#include "shell/TileEditorModel.h"
#include "shell/TileGrid.h"
#include "tests/shell/HomeTestSupport.h"

using namespace hometest;
using platform::Point;
using platform::Rect;

namespace {

// --- The arrangement on its own ------------------------------------------------------------

using Model = TileEditorModel<int>;
using Area = Model::Area;

// The centre of the slot at `index` of an area whose first row is at `top`.
Point centreOfSlot(const TileGrid& grid, std::size_t index, int startRow = 0) {
    const Rect slot = grid.hiddenSlot(index, startRow);
    return {slot.midX(), slot.midY()};
}

std::vector<int> numbers(int from, int to) {
    std::vector<int> out;
    for (int i = from; i <= to; ++i) out.push_back(i);
    return out;
}

TEST(TileGridTest, TheHiddenAreaStartsBelowTheShownRowsAndItsHeader) {
    EXPECT_EQ(TileGrid::rowCountForScreenWidth(320), 4);
    EXPECT_EQ(TileGrid::rowCountForScreenWidth(375), 5);
    EXPECT_EQ(TileGrid::rowCountForScreenWidth(414), 5);

    // Eight tiles: two full rows of four at 320 points, a full and a partial row of five at
    // 375; either way the hidden area starts at row 3.
    for (int k : {4, 5}) {
        SCOPED_TRACE(k);
        const TileGrid grid(k);
        EXPECT_EQ(grid.startRow(8), 3);
        EXPECT_EQ(grid.headerY(3), 202);
        EXPECT_EQ(grid.hiddenSlot(0, 3), (Rect{{25, 245}, {65, 65}}));
        EXPECT_EQ(grid.startRow(0), 1);
    }
    EXPECT_EQ(TileGrid(4).startRow(4), 2);
    EXPECT_EQ(TileGrid(4).startRow(5), 3);
    EXPECT_EQ(TileGrid(5).shownSlot(7), (Rect{{155, 115}, {65, 65}}));
    EXPECT_EQ(TileGrid(4).shownSlot(7), (Rect{{220, 115}, {65, 65}}));
}

TEST(TileGridTest, OnlyOccupiedSlotsOfTheLastPartialRowAreHits) {
    const TileGrid grid(5);
    // Eight shown: row 0 full, row 1 holds three.
    EXPECT_TRUE(grid.overShownTile(centreOfSlot(grid, 4), 8));
    EXPECT_TRUE(grid.overShownTile(centreOfSlot(grid, 7), 8));
    EXPECT_FALSE(grid.overShownTile(centreOfSlot(grid, 8), 8));
    EXPECT_FALSE(grid.overShownTile(centreOfSlot(grid, 10), 8));
    EXPECT_FALSE(grid.overShownTile({25, 82}, 8));  // on the left edge of the grid
    EXPECT_TRUE(grid.overShownTile({25.5, 82}, 8));
    EXPECT_FALSE(grid.overShownTile({57, 50}, 8));  // on the top edge

    // Three hidden, the area starting at row 3: only the first three slots of row 3.
    EXPECT_TRUE(grid.overHiddenTile(centreOfSlot(grid, 0, 3), 3, 3));
    EXPECT_TRUE(grid.overHiddenTile(centreOfSlot(grid, 2, 3), 3, 3));
    EXPECT_FALSE(grid.overHiddenTile(centreOfSlot(grid, 3, 3), 3, 3));
    EXPECT_FALSE(grid.overHiddenTile(centreOfSlot(grid, 5, 3), 3, 3));
    EXPECT_FALSE(grid.overHiddenTile(centreOfSlot(grid, 7), 3, 3));  // a shown slot
    // Exactly one full row: nothing below it.
    EXPECT_TRUE(grid.overShownTile(centreOfSlot(grid, 4), 5));
    EXPECT_FALSE(grid.overShownTile(centreOfSlot(grid, 5), 5));
}

TEST(TileGridTest, InsertIndicesStayInsideTheArea) {
    const TileGrid grid(5);
    EXPECT_EQ(grid.shownIndexAt(centreOfSlot(grid, 7), 8), 7u);
    EXPECT_EQ(grid.shownIndexAt(centreOfSlot(grid, 7), 7), 7u);  // the dragged tile left
    EXPECT_EQ(grid.shownIndexAt(centreOfSlot(grid, 9), 7), 7u);
    EXPECT_EQ(grid.shownIndexAt({-40, -40}, 7), 0u);
    EXPECT_EQ(grid.hiddenIndexAt(centreOfSlot(grid, 2, 3), 3, 3), 2u);
    EXPECT_EQ(grid.hiddenIndexAt(centreOfSlot(grid, 2, 3), 3, 1), 1u);
    // Truncation toward zero: a centre just left of the grid counts as column 0.
    EXPECT_EQ(grid.shownIndexAt({20, 130}, 8), 5u);
}

TEST(TileEditorModelTest, ATapSendsATileToTheEndOfTheOtherArea) {
    Model model(TileGrid(4), numbers(1, 5), {6, 7});
    ASSERT_EQ(model.startRow(), 3);

    EXPECT_EQ(model.tap(2), Area::Hidden);
    EXPECT_EQ(model.shown(), (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(model.hidden(), (std::vector<int>{6, 7, 2}));
    // The shown area lost its second row: the header moves up a row.
    EXPECT_EQ(model.startRow(), 2);
    EXPECT_EQ(model.headerY(), 137);
    EXPECT_EQ(model.slotOf(2), (Rect{{155, 180}, {65, 65}}));

    EXPECT_EQ(model.tap(6), Area::Shown);
    EXPECT_EQ(model.shown(), (std::vector<int>{1, 3, 4, 5, 6}));
    EXPECT_EQ(model.hidden(), (std::vector<int>{7, 2}));
    EXPECT_EQ(model.tap(99), std::nullopt);
}

TEST(TileEditorModelTest, DragStepsMoveTheTileIntoOccupiedSlotsOrToAnAreasEnd) {
    const TileGrid grid(5);
    Model model(grid, numbers(1, 8), {9, 10, 11});
    ASSERT_EQ(model.startRow(), 3);

    // Over the shown slot 2, the hidden tile 10 takes it.
    auto move = model.dragTo(10, centreOfSlot(grid, 2));
    ASSERT_TRUE(move);
    EXPECT_EQ(move->from, Area::Hidden);
    EXPECT_EQ(move->to, Area::Shown);
    EXPECT_FALSE(move->appended);
    EXPECT_EQ(model.shown(), (std::vector<int>{1, 2, 10, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(model.hidden(), (std::vector<int>{9, 11}));

    // Over the empty rest of the last shown row, it goes to the shown area's end.
    move = model.dragTo(10, centreOfSlot(grid, 9));
    ASSERT_TRUE(move);
    EXPECT_TRUE(move->appended);
    EXPECT_EQ(model.shown().back(), 10);

    // Over the hidden slot 1 (the area still starts at row 3), it takes that slot.
    move = model.dragTo(10, centreOfSlot(grid, 1, 3));
    ASSERT_TRUE(move);
    EXPECT_EQ(move->from, Area::Shown);
    EXPECT_EQ(move->to, Area::Hidden);
    EXPECT_EQ(model.hidden(), (std::vector<int>{9, 10, 11}));

    // Below the hidden tiles, to the hidden area's end.
    move = model.dragTo(4, centreOfSlot(grid, 8, 3));
    ASSERT_TRUE(move);
    EXPECT_TRUE(move->appended);
    EXPECT_EQ(model.hidden(), (std::vector<int>{9, 10, 11, 4}));
    EXPECT_EQ(model.shown(), (std::vector<int>{1, 2, 3, 5, 6, 7, 8}));
    EXPECT_EQ(model.startRow(), 3);
}

TEST(TileEditorModelTest, TheFirstShownSlotIsNeverTaken) {
    const TileGrid grid(5);
    Model model(grid, numbers(1, 4), {5, 6});

    EXPECT_FALSE(model.dragTo(5, centreOfSlot(grid, 0)));
    EXPECT_FALSE(model.dragTo(3, {30, 60}));
    // The first tile itself rearranges nothing wherever it is dragged.
    EXPECT_FALSE(model.dragTo(1, centreOfSlot(grid, 2)));
    EXPECT_FALSE(model.dragTo(1, centreOfSlot(grid, 0, 2)));
    EXPECT_EQ(model.shown(), numbers(1, 4));
    EXPECT_EQ(model.hidden(), (std::vector<int>{5, 6}));

    // With nothing shown, a drag moves nothing; only a tap brings a tile back.
    Model empty(grid, {}, {5, 6});
    EXPECT_FALSE(empty.dragTo(6, centreOfSlot(grid, 0)));
    EXPECT_FALSE(empty.dragTo(6, centreOfSlot(grid, 3)));
    EXPECT_EQ(empty.tap(6), Area::Shown);
    EXPECT_EQ(empty.shown(), std::vector<int>{6});
}

// --- The editor on screen ------------------------------------------------------------------

class TileEditorTest : public HomeTest {
protected:
    static std::vector<std::string> titles(const TileList& tiles) {
        std::vector<std::string> out;
        for (const auto& tile : tiles) out.push_back(tile->titleName);
        return out;
    }
    static std::vector<std::string> defaultTitles() { return titles(DefaultModuleTable::tiles()); }

    // Signs in, launches and opens the editor from the home page's add-more tile.
    std::shared_ptr<ItemsViewController> openEditor(
        const char* kindKey = SignInKey::LoginTypeTeacher,
        const std::string& account = shelltest::kTeacher) {
        storeSignIn(kindKey, account);
        launch();
        if (!driver.find("添加更多")) {
            EXPECT_TRUE(driver.swipeToPage("tiles", 1));
        }
        EXPECT_TRUE(driver.tap("添加更多")) << driver.outline();
        settle();
        auto editor = std::dynamic_pointer_cast<ItemsViewController>(topOfHomeStack());
        EXPECT_TRUE(editor) << driver.outline();
        return editor;
    }

    std::shared_ptr<TouchView> tileShowing(const std::string& title) const {
        return std::dynamic_pointer_cast<TouchView>(driver.find(title));
    }

    // A finger on the tile at `grab` (in the tile), moved in short steps to `to` (in the
    // editor's view) and lifted there.
    void fingerDrag(ItemsViewController& editor, const std::string& title, Point grab, Point to) {
        auto tile = tileShowing(title);
        ASSERT_TRUE(tile) << driver.outline();
        const Point from = tile->convertPointTo(grab, nullptr);
        const Point end = editor.view()->convertPointTo(to, nullptr);
        ASSERT_TRUE(driver.window()->drag(from, end, 40));
        settle();
    }

    void leaveAs(const char* kindKey, const std::string& account, const char* shownKey,
                 const char* hiddenKey, const char* otherShownKey);

    // What the editor shows is what it would store: every tile in the slot of its place in
    // the arrangement, the hidden area's header above the hidden area's first row.
    static void expectLaidOutFromTheArrangement(const ItemsViewController& editor) {
        const auto& model = *editor.model();
        const TileGrid& grid = model.grid();
        for (std::size_t i = 0; i < editor.viewArrUp().size(); ++i)
            EXPECT_EQ(editor.viewArrUp()[i]->frame(), grid.shownSlot(i)) << "shown " << i;
        for (std::size_t i = 0; i < editor.viewArrDown().size(); ++i)
            EXPECT_EQ(editor.viewArrDown()[i]->frame(), grid.hiddenSlot(i, model.startRow()))
                << "hidden " << i;
        EXPECT_EQ(editor.bottomTitleView()->frame().origin.y, model.headerY());
    }
};

TEST_F(TileEditorTest, TheEditorOpensFromThePlusTileAndMovesTilesByTapAndByDrag) {
    auto editor = openEditor();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->title(), "栏目订阅");
    EXPECT_TRUE(editor->navigationItem().hidesBackButton());
    EXPECT_TRUE(tabBarController()->tabBar()->isHidden());
    EXPECT_FALSE(delegate->sideViewController()->needSwipeShowMenu());
    EXPECT_EQ(editor->topTitleLabel()->text(), "已添加模块");
    EXPECT_EQ(titles(editor->shownTiles()), defaultTitles());
    EXPECT_TRUE(editor->hiddenTiles().empty());
    // Eight tiles in rows of five: the hidden area's header at row 3.
    EXPECT_EQ(editor->kRowNo(), 5);
    EXPECT_EQ(editor->bottomTitleView()->frame().origin.y, 202);
    EXPECT_TRUE(driver.find("(长按图标调整模块位置)"));
    EXPECT_TRUE(driver.find("未添加模块"));

    // A tap sends a shown tile to the end of the hidden area, and a hidden one back.
    ASSERT_TRUE(driver.tap("科研服务"));
    ASSERT_TRUE(driver.tap("问卷调查"));
    EXPECT_EQ(titles(editor->hiddenTiles()), (std::vector<std::string>{"科研服务", "问卷调查"}));
    ASSERT_TRUE(driver.tap("科研服务"));
    EXPECT_EQ(titles(editor->shownTiles()),
              (std::vector<std::string>{"通知公告", "学术讲座", "迎新统计", "就业服务", "电子邮箱",
                                        "移动考勤", "科研服务"}));
    EXPECT_EQ(titles(editor->hiddenTiles()), std::vector<std::string>{"问卷调查"});
    // The finger stays on the tile it pressed: a tap lays every tile out again.
    EXPECT_EQ(tileShowing("科研服务")->frame(), TileGrid(5).shownSlot(6));
    expectLaidOutFromTheArrangement(*editor);

    // A drag puts a tile where it is let go, the others making room.
    ASSERT_TRUE(driver.dragOnto("电子邮箱", "学术讲座")) << driver.outline();
    EXPECT_EQ(titles(editor->shownTiles()),
              (std::vector<std::string>{"通知公告", "电子邮箱", "学术讲座", "迎新统计", "就业服务",
                                        "移动考勤", "科研服务"}));
    expectLaidOutFromTheArrangement(*editor);
    // The outline says where each tile stands.
    EXPECT_NE(driver.outline().find("tile, shown 2 \"电子邮箱\""), std::string::npos)
        << driver.outline();

    ASSERT_TRUE(driver.tap("完成"));
    settle();
    EXPECT_EQ(homeStack()->viewControllers().size(), 1u);
    EXPECT_TRUE(delegate->sideViewController()->needSwipeShowMenu());
    std::vector<std::string> grid;
    for (const auto& tile : home()->modelArr()) grid.push_back(tile->titleName);
    EXPECT_EQ(grid, (std::vector<std::string>{"通知公告", "电子邮箱", "学术讲座", "迎新统计",
                                              "就业服务", "移动考勤", "科研服务", "添加更多"}));
}

// Opens the editor as a user of the kind, hides "学术讲座" and leaves; checks what was written
// under which keys, and that the write came before the refresh.
void TileEditorTest::leaveAs(const char* kindKey, const std::string& account, const char* shownKey,
                             const char* hiddenKey, const char* otherShownKey) {
    auto editor = openEditor(kindKey, account);
    ASSERT_TRUE(editor);
    ASSERT_TRUE(driver.tap("学术讲座"));

    std::optional<TileList> storedAtPost;
    int posts = 0;
    auto id = platform::NotificationCenter::defaultCenter().addObserver(
        SignInNotification::kRefreshLoginMenu, [&](const platform::Notification&) {
            ++posts;
            storedAtPost = storedTileList(defaults(), shownKey);
        });
    ASSERT_TRUE(driver.tap("完成"));
    settle();
    platform::NotificationCenter::defaultCenter().removeObserver(id);

    EXPECT_EQ(posts, 1);
    ASSERT_TRUE(storedAtPost);
    EXPECT_EQ(titles(*storedAtPost),
              (std::vector<std::string>{"通知公告", "科研服务", "问卷调查", "迎新统计", "就业服务",
                                        "电子邮箱", "移动考勤"}));
    EXPECT_FALSE(defaults().objectForKey(otherShownKey)) << "written under the other kind's key";
    // Synchronised: a fresh read of the file has it.
    platform::UserDefaults::resetStandard();
    auto hidden = storedTileList(defaults(), hiddenKey);
    ASSERT_TRUE(hidden);
    EXPECT_EQ(titles(*hidden), std::vector<std::string>{"学术讲座"});
}

TEST_F(TileEditorTest, AStudentsArrangementIsWrittenUnderTheStudentKeysOnly) {
    leaveAs(SignInKey::LoginTypeStudent, "2021213045", SignInKey::kStudentSelectItemUp,
            SignInKey::kStudentSelectItemDown, SignInKey::kTeacherSelectItemUp);
}

TEST_F(TileEditorTest, ATeachersArrangementIsWrittenUnderTheTeacherKeysOnly) {
    leaveAs(SignInKey::LoginTypeTeacher, shelltest::kTeacher, SignInKey::kTeacherSelectItemUp,
            SignInKey::kTeacherSelectItemDown, SignInKey::kStudentSelectItemUp);
}

TEST_F(TileEditorTest, TheFirstSlotIsNeverTakenAndADropOverItSendsEveryTileToItsSlot) {
    auto editor = openEditor();
    ASSERT_TRUE(editor);
    ASSERT_FALSE(editor->viewArrUp().empty());
    auto first = editor->viewArrUp().front();

    ASSERT_TRUE(driver.dragOnto("移动考勤", "通知公告"));
    EXPECT_EQ(editor->viewArrUp().front(), first);
    EXPECT_EQ(first->frame(), TileGrid(5).shownSlot(0));
    expectLaidOutFromTheArrangement(*editor);

    // The first tile itself, dragged over the others, changes nothing.
    const auto before = editor->shownTiles();
    ASSERT_TRUE(driver.dragOnto("通知公告", "问卷调查"));
    EXPECT_EQ(editor->shownTiles(), before);
    expectLaidOutFromTheArrangement(*editor);
}

TEST_F(TileEditorTest, ADropAwayFromTheTilesShowsEveryTileWhereTheArrangementHasIt) {
    auto editor = openEditor();
    ASSERT_TRUE(editor);

    // Over empty ground far below the tiles: the last moves put the tile at the hidden area's
    // end, and there it lands.
    ASSERT_TRUE(driver.drag("科研服务", editor->view()->convertPointTo(Point{300, 500}, nullptr)));
    EXPECT_EQ(titles(editor->hiddenTiles()), std::vector<std::string>{"科研服务"});
    expectLaidOutFromTheArrangement(*editor);

    // Held by its left edge and let go with the finger left of the grid, its centre over the
    // slot of "电子邮箱": the moves gave the tile that slot, so it does not go back to where
    // the touch began (where "电子邮箱" stands now).
    fingerDrag(*editor, "移动考勤", {4, 30}, {20, 145});
    EXPECT_EQ(titles(editor->shownTiles()),
              (std::vector<std::string>{"通知公告", "学术讲座", "问卷调查", "迎新统计", "就业服务",
                                        "移动考勤", "电子邮箱"}));
    expectLaidOutFromTheArrangement(*editor);
    EXPECT_EQ(tileShowing("移动考勤")->frame(), TileGrid(5).shownSlot(5));
}

TEST_F(TileEditorTest, OnANarrowScreenRowsHoldFourTiles) {
    platform::testing::useScreen(320, 568);
    storeTiles(SignInKey::kTeacherSelectItemUp, DefaultModuleTable::tiles());
    storeTiles(SignInKey::kTeacherSelectItemDown,
               {std::make_shared<CollectionViewCellModel>("校园支付", "app_icon", "quorvel")});
    auto editor = openEditor();
    ASSERT_TRUE(editor);

    EXPECT_EQ(editor->kRowNo(), 4);
    EXPECT_EQ(editor->bottomTitleView()->frame().origin.y, 202);
    EXPECT_EQ(tileShowing("校园支付")->frame(), (Rect{{25, 245}, {65, 65}}));
    EXPECT_EQ(tileShowing("移动考勤")->frame(), (Rect{{220, 115}, {65, 65}}));
    // A tap that empties the second row moves the header up a row.
    ASSERT_TRUE(driver.tap("移动考勤"));
    ASSERT_TRUE(driver.tap("电子邮箱"));
    ASSERT_TRUE(driver.tap("就业服务"));
    ASSERT_TRUE(driver.tap("迎新统计"));
    EXPECT_EQ(editor->bottomTitleView()->frame().origin.y, 137);
    expectLaidOutFromTheArrangement(*editor);
}

}  // namespace
