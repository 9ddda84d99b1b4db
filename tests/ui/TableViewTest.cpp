#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "platform/graphics/BitmapContext.h"
#include "platform/ui/Label.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/TableViewIndex.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

// A cell that counts how often it was handed out again.
class CountingCell : public TableViewCell {
public:
    using TableViewCell::TableViewCell;
    void prepareForReuse() override {
        TableViewCell::prepareForReuse();
        ++reuses;
    }
    int reuses = 0;
};

// Rows named "s.r", served through reused cells; records what the table asks and tells.
class Rows : public TableViewDataSource, public TableViewDelegate {
public:
    explicit Rows(std::vector<int> sections) : counts(std::move(sections)) {}

    int numberOfSections(TableView&) override { return int(counts.size()); }
    int numberOfRowsInSection(TableView&, int section) override { return counts[size_t(section)]; }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table,
                                                         const IndexPath& path) override {
        requested.push_back(path);
        auto cell = table.dequeueReusableCellWithIdentifier("cell");
        if (!cell) {
            ++created;
            cell = View::make<CountingCell>(TableViewCellStyle::Default, "cell");
        }
        cell->textLabel()->setText(name(path));
        return cell;
    }
    std::optional<std::string> titleForHeaderInSection(TableView&, int section) override {
        auto it = headerTitles.find(section);
        return it == headerTitles.end() ? std::nullopt : std::optional(it->second);
    }
    std::vector<std::string> sectionIndexTitlesForTableView(TableView&) override {
        return indexTitles;
    }
    int sectionForSectionIndexTitle(TableView&, const std::string& title, int index) override {
        return title == "#" ? 0 : index;
    }
    void commitEditingStyle(TableView& table, TableViewCellEditingStyle style,
                            const IndexPath& path) override {
        if (style == TableViewCellEditingStyle::Delete) {
            --counts[size_t(path.section)];
            table.deleteRowsAtIndexPaths({path});
        }
    }

    double heightForRowAtIndexPath(TableView& table, const IndexPath& path) override {
        auto it = rowHeights.find(path);
        return it == rowHeights.end() ? TableViewDelegate::heightForRowAtIndexPath(table, path)
                                      : it->second;
    }
    double heightForHeaderInSection(TableView& table, int section) override {
        auto it = headerHeights.find(section);
        return it == headerHeights.end()
                   ? TableViewDelegate::heightForHeaderInSection(table, section)
                   : it->second;
    }
    void didSelectRowAtIndexPath(TableView&, const IndexPath& path) override {
        events.push_back("select " + name(path));
    }
    void didDeselectRowAtIndexPath(TableView&, const IndexPath& path) override {
        events.push_back("deselect " + name(path));
    }

    static std::string name(const IndexPath& path) {
        return std::to_string(path.section) + "." + std::to_string(path.row);
    }

    std::vector<int> counts;
    std::map<IndexPath, double> rowHeights;
    std::map<int, double> headerHeights;
    std::map<int, std::string> headerTitles;
    std::vector<std::string> indexTitles;
    std::vector<IndexPath> requested;
    Log events;
    int created = 0;
};

std::vector<std::string> shownTexts(const TableView& table) {
    std::vector<std::string> texts;
    for (const auto& cell : table.visibleCells()) {
        texts.push_back(cell->textLabel()->text());
    }
    return texts;
}

int cellSubviews(const TableView& table) {
    int count = 0;
    for (const auto& view : table.subviews()) {
        count += dynamic_cast<TableViewCell*>(view.get()) != nullptr;
    }
    return count;
}

class TableViewTest : public UiTest {
protected:
    std::shared_ptr<TableView> makeTable(std::shared_ptr<Rows> rows, Size size,
                                         TableViewStyle style = TableViewStyle::Plain) {
        auto table = View::make<TableView>(Rect{{0, 0}, size}, style);
        table->setDataSource(rows);
        table->setDelegate(rows);
        table->reloadData();
        return table;
    }
};

// A full-screen list on each phone.
class ScreenTableTest : public TableViewTest, public ::testing::WithParamInterface<Size> {};

TEST_P(ScreenTableTest, OnlyRowsInViewAreAskedFor) {
    Size screen = GetParam();
    auto rows = std::make_shared<Rows>(std::vector<int>{100});
    auto table = makeTable(rows, screen);

    int inView = int(std::ceil(screen.height / 44));
    ASSERT_EQ(int(rows->requested.size()), inView);
    EXPECT_EQ(rows->requested.back(), (IndexPath{0, inView - 1}));
    EXPECT_EQ(table->contentSize(), (Size{screen.width, 4400}));
    EXPECT_EQ(table->rectForRowAtIndexPath({0, 3}), (Rect{{0, 132}, {screen.width, 44}}));
    const auto fourth = table->cellForRowAtIndexPath({0, 3});
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(fourth->frame().size.width, screen.width);
    EXPECT_EQ(table->cellForRowAtIndexPath({0, inView}), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Phones, ScreenTableTest,
                         ::testing::Values(Size{320, 568}, Size{375, 667}, Size{414, 736}));

TEST_F(TableViewTest, ScrollingReusesCellsThatLeftTheView) {
    auto rows = std::make_shared<Rows>(std::vector<int>{100});
    auto table = makeTable(rows, {320, 440});
    ASSERT_EQ(rows->created, 10);

    table->setContentOffset({0, 44 * 30});
    EXPECT_EQ(rows->created, 10) << "rows 30 to 39 reuse the ten cells of rows 0 to 9";
    const auto shown = shownTexts(*table);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), "0.30");
    EXPECT_EQ(shown.back(), "0.39");
    EXPECT_EQ(cellSubviews(*table), 10);
    auto cell = std::dynamic_pointer_cast<CountingCell>(table->cellForRowAtIndexPath({0, 30}));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->reuses, 1);

    // Half a row further, eleven rows show: one more cell is made.
    table->setContentOffset({0, 44 * 30 + 22});
    EXPECT_EQ(table->indexPathsForVisibleRows().size(), 11u);
    EXPECT_EQ(rows->created, 11);
}

TEST_F(TableViewTest, CellsAreReusedOnlyUnderTheirOwnIdentifier) {
    auto table = View::make<TableView>(Rect{{0, 0}, {320, 440}});
    table->registerClass<TableViewCell>("plain");
    auto made = table->dequeueReusableCellWithIdentifier("plain");
    ASSERT_TRUE(made);
    EXPECT_EQ(made->reuseIdentifier(), "plain");
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("other"), nullptr);
    auto fallback = table->dequeueReusableCellWithIdentifier("other", IndexPath{0, 0});
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback->reuseIdentifier(), "other");
}

TEST_F(TableViewTest, DelegateRowHeightsShapeTheContentAndRowRects) {
    auto rows = std::make_shared<Rows>(std::vector<int>{5});
    for (int r = 0; r < 5; ++r) {
        rows->rowHeights[{0, r}] = 30 + 10 * r;
    }
    auto table = View::make<TableView>(Rect{{0, 0}, {375, 600}});
    auto header = View::make<View>(Rect{{0, 0}, {10, 100}});
    table->setTableHeaderView(header);
    table->setDataSource(rows);
    table->setDelegate(rows);
    table->reloadData();

    EXPECT_EQ(table->contentSize(), (Size{375, 100 + 30 + 40 + 50 + 60 + 70}));
    EXPECT_EQ(table->rectForRowAtIndexPath({0, 3}), (Rect{{0, 220}, {375, 60}}));
    EXPECT_EQ(header->frame(), (Rect{{0, 0}, {375, 100}}));
    EXPECT_EQ(table->indexPathForRowAtPoint({10, 225}), (IndexPath{0, 3}));
    EXPECT_EQ(table->indexPathForRowAtPoint({10, 50}), std::nullopt) << "the header is no row";

    // A taller header set again moves every row down.
    header->setFrame(Rect{{0, 0}, {375, 150}});
    table->setTableHeaderView(header);
    EXPECT_EQ(table->rectForRowAtIndexPath({0, 3}).origin.y, 270);
}

TEST_F(TableViewTest, GroupedSectionsTakeTheirHeaderHeights) {
    auto rows = std::make_shared<Rows>(std::vector<int>{2, 3, 1});
    rows->headerHeights[0] = 40;
    rows->headerTitles[1] = "Staff";
    auto table = View::make<TableView>(Rect{{0, 0}, {320, 600}}, TableViewStyle::Grouped);
    table->setSectionHeaderHeight(30);
    table->setSectionFooterHeight(10);
    table->setDataSource(rows);
    table->setDelegate(rows);
    table->reloadData();

    // Section 0: header 40, rows 0..88, footer 10. Section 1: header 30 from 138.
    EXPECT_EQ(table->rectForSection(0), (Rect{{0, 0}, {320, 138}}));
    EXPECT_EQ(table->rectForHeaderInSection(1), (Rect{{0, 138}, {320, 30}}));
    EXPECT_EQ(table->rectForRowAtIndexPath({1, 0}).origin.y, 168);
    EXPECT_EQ(table->rectForRowAtIndexPath({2, 0}).origin.y, 168 + 132 + 10 + 30);
    EXPECT_EQ(table->numberOfRowsInSection(1), 3);

    auto header = table->headerViewForSection(1);
    ASSERT_TRUE(header);
    ASSERT_FALSE(header->subviews().empty());
    auto label = std::dynamic_pointer_cast<Label>(header->subviews().front());
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "Staff");
}

TEST_F(TableViewTest, PlainHeadersShowForTitlesOnlyAndStayAtTheTopOverTheirSection) {
    auto rows = std::make_shared<Rows>(std::vector<int>{2, 20, 20});
    rows->headerTitles = {{1, "A"}, {2, "B"}};
    auto table = makeTable(rows, {320, 400});
    EXPECT_EQ(table->rectForHeaderInSection(0).size.height, 0);
    EXPECT_EQ(table->rectForHeaderInSection(1).size.height, 22);
    EXPECT_EQ(table->rectForRowAtIndexPath({1, 0}).origin.y, 88 + 22);

    double sectionTop = table->rectForSection(2).origin.y;
    table->setContentOffset({0, sectionTop + 100});
    auto header = table->headerViewForSection(2);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->frame().origin.y, sectionTop + 100);
    EXPECT_EQ(table->headerViewForSection(1), nullptr);
}

TEST_F(TableViewTest, SectionIndexTitlesScrollToTheirSectionByTouchOrInCode) {
    auto rows = std::make_shared<Rows>(std::vector<int>{5, 5, 5, 5});
    rows->headerTitles = {{0, "#"}, {1, "L"}, {2, "W"}, {3, "Z"}};
    rows->indexTitles = {"#", "L", "W", "Z"};
    auto window = View::make<Window>(Rect{{0, 0}, {320, 400}});
    window->makeKeyAndVisible();
    auto table = makeTable(rows, {320, 400});
    window->addSubview(table);
    ASSERT_EQ(table->sectionIndexTitles(), rows->indexTitles);
    auto index = table->sectionIndexView();
    ASSERT_TRUE(index);
    EXPECT_EQ(index->describe(), "index # L W Z");

    Rect title = index->rectForTitle(2);
    window->tap(index->convertPointTo({title.midX(), title.midY()}, nullptr));
    EXPECT_EQ(table->contentOffset().y, table->rectForSection(2).origin.y);
    EXPECT_TRUE(rows->events.empty()) << "the index is no row";
    ASSERT_TRUE(table->tapSectionIndexTitle(0));
    EXPECT_EQ(table->contentOffset().y, 0);
    EXPECT_FALSE(table->tapSectionIndexTitle(4));

    // The last section cannot come higher than the end of the content allows.
    table->tapSectionIndexTitle(3);
    EXPECT_EQ(table->contentOffset().y, table->contentSize().height - 400);
}

TEST_F(TableViewTest, TappingARowSelectsItAndTellsTheDelegate) {
    auto rows = std::make_shared<Rows>(std::vector<int>{3, 30});
    auto window = View::make<Window>(Rect{{0, 0}, {375, 667}});
    window->makeKeyAndVisible();
    auto table = View::make<TableView>(Rect{{0, 64}, {375, 603}});
    table->setDataSource(rows);
    table->setDelegate(rows);
    window->addSubview(table);
    window->layoutIfNeeded();
    table->setContentOffset({0, 100});

    // Row 1.2 starts at 3 * 44 + 2 * 44 = 220 in the content: 120 into the view.
    Point point = table->convertPointTo({200, 220 + 20}, nullptr);
    ASSERT_TRUE(window->tap(point));
    EXPECT_EQ(rows->events, (Log{"select 1.2"}));
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{1, 2}));
    const auto selected = table->cellForRowAtIndexPath({1, 2});
    ASSERT_NE(selected, nullptr);
    EXPECT_TRUE(selected->isSelected());

    ASSERT_TRUE(table->tapRowAtIndexPath({0, 2}));
    EXPECT_EQ(rows->events, (Log{"select 1.2", "deselect 1.2", "select 0.2"}));
    EXPECT_FALSE(selected->isSelected());

    table->deselectRowAtIndexPath({0, 2}, true);
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
    EXPECT_EQ(rows->events.size(), 3u) << "deselecting in code tells nobody";

    table->setAllowsSelection(false);
    EXPECT_FALSE(table->tapRowAtIndexPath({0, 1}));
    EXPECT_EQ(rows->events.size(), 3u);
}

TEST_F(TableViewTest, DraggingOverRowsScrollsWithoutSelecting) {
    auto rows = std::make_shared<Rows>(std::vector<int>{50});
    auto window = View::make<Window>(Rect{{0, 0}, {375, 667}});
    window->makeKeyAndVisible();
    auto table = makeTable(rows, {375, 667});
    window->addSubview(table);

    window->drag({100, 400}, {100, 200}, 5);
    EXPECT_EQ(table->contentOffset().y, 200);
    EXPECT_TRUE(rows->events.empty());
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
}

TEST_F(TableViewTest, AFingerThatWandersOffARowIsADragAndSelectsNothing) {
    auto rows = std::make_shared<Rows>(std::vector<int>{3});
    auto window = View::make<Window>(Rect{{0, 0}, {375, 667}});
    window->makeKeyAndVisible();
    auto table = makeTable(rows, {375, 667});
    window->addSubview(table);

    // Sideways across the row, where the list cannot scroll, and lifted on the same row.
    window->drag({300, 66}, {20, 66}, 5);
    EXPECT_TRUE(rows->events.empty());
    auto cell = table->cellForRowAtIndexPath({0, 1});
    ASSERT_NE(cell, nullptr);
    EXPECT_FALSE(cell->isHighlighted());
    // Away and back again: once a drag, always a drag.
    window->touchDown({100, 66});
    window->touchMove({160, 66});
    window->touchMove({100, 66});
    window->touchUp({100, 66});
    EXPECT_TRUE(rows->events.empty());

    // A finger that trembles a few points still taps.
    window->drag({100, 66}, {104, 69}, 2);
    EXPECT_EQ(rows->events, (Log{"select 0.1"}));
}

TEST_F(TableViewTest, ReloadWithFewerRowsDropsStaleCells) {
    auto rows = std::make_shared<Rows>(std::vector<int>{40});
    auto table = makeTable(rows, {320, 440});
    table->setContentOffset({0, 1000});
    table->selectRowAtIndexPath(IndexPath{0, 25}, false, TableViewScrollPosition::None);

    rows->counts = {3};
    table->reloadData();
    EXPECT_EQ(table->contentOffset().y, 0);
    EXPECT_EQ(shownTexts(*table), (std::vector<std::string>{"0.0", "0.1", "0.2"}));
    EXPECT_EQ(cellSubviews(*table), 3);
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
    EXPECT_EQ(table->contentSize().height, 132);
}

TEST_F(TableViewTest, DeletingARowKeepsTheOthersAndTheirSelection) {
    auto rows = std::make_shared<Rows>(std::vector<int>{6});
    auto table = makeTable(rows, {320, 440});
    table->selectRowAtIndexPath(IndexPath{0, 4}, false, TableViewScrollPosition::None);
    auto lastCell = table->cellForRowAtIndexPath({0, 5});
    rows->requested.clear();

    ASSERT_TRUE(table->swipeToDeleteRowAtIndexPath({0, 1}));
    EXPECT_EQ(table->numberOfRowsInSection(0), 5);
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 3}));
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 4}), lastCell);
    EXPECT_EQ(lastCell->frame().origin.y, 4 * 44);
    EXPECT_TRUE(rows->requested.empty()) << "no row had to be asked for again";
}

TEST_F(TableViewTest, EmptyRowsUnderAPlainListShowSeparators) {
    Screen::main().setScale(1);
    auto rows = std::make_shared<Rows>(std::vector<int>{2});
    auto table = makeTable(rows, {320, 300});
    table->setSeparatorColor(Color::redColor());
    table->setSeparatorInset({0, 0, 0, 0});
    table->layoutIfNeeded();

    Image image = renderToImage(*table);
    const std::uint32_t red = 0xFFFF0000;
    EXPECT_EQ(image.pixelAt(100, 43), red) << "under the first row";
    EXPECT_EQ(image.pixelAt(100, 3 * 44 - 1), red) << "under the first empty row";
    EXPECT_NE(image.pixelAt(100, 3 * 44 + 10), red);

    // A footer view ends the list: no separators below the rows.
    table->setTableFooterView(View::make<View>());
    Image footed = renderToImage(*table);
    EXPECT_EQ(footed.pixelAt(100, 43), red);
    EXPECT_NE(footed.pixelAt(100, 3 * 44 - 1), red);
}

TEST_F(TableViewTest, CellsDescribeTheirMarksAndShowTheirTextThroughLabels) {
    auto cell = View::make<TableViewCell>(TableViewCellStyle::Value1, "c");
    cell->textLabel()->setText("姓名");
    cell->detailTextLabel()->setText("张三");
    cell->setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
    EXPECT_EQ(cell->describe(), "cell >");
    EXPECT_EQ(cell->textLabel()->describe(), "label \"姓名\"");
    EXPECT_TRUE(cell->textLabel()->isDescendantOf(cell->contentView().get()));
    EXPECT_EQ(View::make<TableViewCell>()->detailTextLabel(), nullptr);

    cell->setFrame(Rect{{0, 0}, {375, 44}});
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->contentView()->frame().size.width, 375 - 33);
}

}  // namespace
}  // namespace uitest
