#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/CollectionView.h"
#include "platform/ui/CollectionViewDataSource.h"
#include "platform/ui/CollectionViewDelegateFlowLayout.h"
#include "platform/ui/CollectionViewFlowLayout.h"
#include "platform/ui/Label.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

// A tile showing its name in a label.
class TileCell : public CollectionViewCell {
public:
    TileCell() {
        label = View::make<Label>();
        contentView()->addSubview(label);
    }
    std::shared_ptr<Label> label;
};

// Named items per section, served through reused cells; records what the view asks and
// tells, and moves items as the view asks.
class Tiles : public CollectionViewDataSource, public CollectionViewDelegateFlowLayout {
public:
    explicit Tiles(std::vector<std::vector<std::string>> sections) : names(std::move(sections)) {}

    int numberOfSections(CollectionView&) override { return int(names.size()); }
    int numberOfItemsInSection(CollectionView&, int section) override {
        return int(names[size_t(section)].size());
    }
    std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(CollectionView& view,
                                                               const IndexPath& path) override {
        requested.push_back(path);
        auto cell = std::static_pointer_cast<TileCell>(
            view.dequeueReusableCellWithReuseIdentifier("tile", path));
        cell->label->setText(names[size_t(path.section)][size_t(path.row)]);
        return cell;
    }
    std::shared_ptr<CollectionReusableView> viewForSupplementaryElementOfKind(
        CollectionView& view, const std::string& kind, const IndexPath& path) override {
        headersAsked.push_back(path.section);
        return view.dequeueReusableSupplementaryViewOfKind(kind, "header", path);
    }
    void moveItemAtIndexPath(CollectionView&, const IndexPath& from, const IndexPath& to) override {
        auto name = names[size_t(from.section)][size_t(from.row)];
        auto& source = names[size_t(from.section)];
        source.erase(source.begin() + from.row);
        auto& target = names[size_t(to.section)];
        target.insert(target.begin() + to.row, name);
        events.push_back("move " + name);
    }

    Size sizeForItemAtIndexPath(CollectionView& view, CollectionViewFlowLayout& layout,
                                const IndexPath& path) override {
        if (path == wideItem) {
            return {200, 50};
        }
        return CollectionViewDelegateFlowLayout::sizeForItemAtIndexPath(view, layout, path);
    }
    void didSelectItemAtIndexPath(CollectionView&, const IndexPath& path) override {
        events.push_back("select " + names[size_t(path.section)][size_t(path.row)]);
    }
    void didDeselectItemAtIndexPath(CollectionView&, const IndexPath& path) override {
        events.push_back("deselect " + names[size_t(path.section)][size_t(path.row)]);
    }

    std::vector<std::vector<std::string>> names;
    std::vector<IndexPath> requested;
    std::vector<int> headersAsked;
    IndexPath wideItem{-1, -1};
    Log events;
};

using Sections = std::vector<std::vector<std::string>>;

std::vector<std::string> numbered(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        // Appended: "literal" + string trips GCC 12's false -Wrestrict.
        names.push_back(std::string("t").append(std::to_string(i)));
    }
    return names;
}

std::string shownAt(const CollectionView& view, const IndexPath& path) {
    auto cell = std::dynamic_pointer_cast<TileCell>(view.cellForItemAtIndexPath(path));
    return cell ? cell->label->text() : "(none)";
}

class CollectionViewTest : public UiTest {
protected:
    std::shared_ptr<CollectionView> makeView(std::shared_ptr<Tiles> tiles, Size size,
                                             std::shared_ptr<CollectionViewFlowLayout> layout) {
        auto view = View::make<CollectionView>(Rect{{0, 0}, size}, std::move(layout));
        view->registerClass<TileCell>("tile");
        view->registerClassForSupplementaryViewOfKind<CollectionReusableView>(
            kCollectionElementKindSectionHeader, "header");
        view->setDataSource(tiles);
        view->setDelegate(tiles);
        view->reloadData();
        return view;
    }

    // A flow layout of `item`-sized items, `spacing` apart between lines and within them.
    static std::shared_ptr<CollectionViewFlowLayout> flow(Size item, double spacing = 10,
                                                          bool horizontal = false) {
        auto layout = std::make_shared<CollectionViewFlowLayout>();
        layout->setItemSize(item);
        layout->setMinimumLineSpacing(spacing);
        layout->setMinimumInteritemSpacing(spacing);
        if (horizontal) {
            layout->setScrollDirection(CollectionViewScrollDirection::Horizontal);
        }
        return layout;
    }

    Rect frameOf(const CollectionView& view, const IndexPath& path) {
        auto attributes = view.layoutAttributesForItemAtIndexPath(path);
        return attributes ? attributes->frame : Rect{};
    }
};

TEST_F(CollectionViewTest, HorizontalFlowFillsColumnsDownThenAcross) {
    auto tiles = std::make_shared<Tiles>(Sections{numbered(9)});
    auto view = makeView(tiles, {375, 190}, flow({75, 95}, 0, true));

    // Two to a column, four columns for eight items.
    EXPECT_EQ(frameOf(*view, {0, 0}), (Rect{{0, 0}, {75, 95}}));
    EXPECT_EQ(frameOf(*view, {0, 1}), (Rect{{0, 95}, {75, 95}}));
    EXPECT_EQ(frameOf(*view, {0, 2}), (Rect{{75, 0}, {75, 95}}));
    EXPECT_EQ(frameOf(*view, {0, 7}), (Rect{{225, 95}, {75, 95}}));
    // The ninth starts a fifth column, alone in it and so centred in its height.
    EXPECT_EQ(frameOf(*view, {0, 8}), (Rect{{300, 47.5}, {75, 95}}));
    EXPECT_EQ(view->contentSize(), (Size{375, 190}));
}

// Pages of a screen's width, as the home page's grid: one page-wide item per section.
class CollectionViewPagedGridTest : public CollectionViewTest,
                                    public ::testing::WithParamInterface<double> {};

TEST_P(CollectionViewPagedGridTest, EachSectionIsAPageAndLaterPagesLoadWhenSwipedTo) {
    double width = GetParam();
    auto tiles = std::make_shared<Tiles>(Sections{{"page 1"}, {"page 2"}});
    auto view = makeView(tiles, {width, 190}, flow({width, 190}, 0, true));
    view->setPagingEnabled(true);

    EXPECT_EQ(frameOf(*view, {1, 0}), (Rect{{width, 0}, {width, 190}}));
    EXPECT_EQ(view->contentSize(), (Size{2 * width, 190}));
    EXPECT_EQ(tiles->requested, (std::vector<IndexPath>{{0, 0}}));

    ASSERT_TRUE(view->dragBy({-width / 3, 0}));
    EXPECT_EQ(view->contentOffset(), (Point{width, 0}));
    EXPECT_EQ(shownAt(*view, {1, 0}), "page 2");
    EXPECT_EQ(view->visibleCells().size(), 1u);
}

TEST_P(CollectionViewPagedGridTest, TileGridWrapsFourToARowWithinItsInsets) {
    double width = GetParam();
    double height = width == 320 ? 568 : (width == 375 ? 667 : 736);
    double unit = width / 375;
    auto layout = flow({60, 80});
    layout->setMinimumLineSpacing(unit * 18);
    layout->setMinimumInteritemSpacing(height / 667 * 20);
    layout->setSectionInset({14, unit * 12, 14, unit * 12});
    auto tiles = std::make_shared<Tiles>(Sections{numbered(8)});
    auto view = makeView(tiles, {width, 190}, layout);

    // Four to a row: the first against the left inset, the fourth against the right one.
    EXPECT_EQ(frameOf(*view, {0, 0}).origin, (Point{unit * 12, 14}));
    EXPECT_DOUBLE_EQ(frameOf(*view, {0, 3}).maxX(), width - unit * 12);
    EXPECT_EQ(frameOf(*view, {0, 3}).origin.y, 14);
    // The second row follows after the line spacing.
    EXPECT_EQ(frameOf(*view, {0, 4}).origin, (Point{unit * 12, 14 + 80 + unit * 18}));
    EXPECT_DOUBLE_EQ(view->contentSize().height, 14 + 80 + unit * 18 + 80 + 14);
}

INSTANTIATE_TEST_SUITE_P(ScreenWidths, CollectionViewPagedGridTest,
                         ::testing::Values(320.0, 375.0, 414.0));

TEST_F(CollectionViewTest, SectionsStartOnNewLinesAfterTheirHeaders) {
    auto layout = flow({100, 50});
    layout->setHeaderReferenceSize({0, 30});
    layout->setSectionInset({5, 0, 5, 0});
    auto tiles = std::make_shared<Tiles>(Sections{numbered(4), numbered(2)});
    auto view = makeView(tiles, {320, 600}, layout);

    // Section 0: header 30, inset 5, a line of three and a line of one (50 + 10 + 50),
    // inset 5; section 1's header follows at 150.
    auto header = view->layoutAttributesForSupplementaryElementOfKind(
        kCollectionElementKindSectionHeader, {1, 0});
    ASSERT_TRUE(header);
    EXPECT_EQ(header->frame, (Rect{{0, 150}, {320, 30}}));
    EXPECT_EQ(frameOf(*view, {1, 0}).origin.y, 185);
    EXPECT_EQ(frameOf(*view, {0, 3}).origin.y, 95);
    EXPECT_EQ(tiles->headersAsked, (std::vector<int>{0, 1}));
    EXPECT_TRUE(view->supplementaryViewForElementKind(kCollectionElementKindSectionHeader, {1, 0}));
}

TEST_F(CollectionViewTest, DelegateSizesOverrideTheItemSizeAndALoneItemIsCentredInItsLine) {
    auto tiles = std::make_shared<Tiles>(Sections{numbered(4)});
    tiles->wideItem = {0, 1};
    auto view = makeView(tiles, {320, 600}, flow({100, 50}));
    // 100 + 10 + 200 fills the first line; the third item wraps.
    EXPECT_EQ(frameOf(*view, {0, 1}).size, (Size{200, 50}));
    EXPECT_EQ(frameOf(*view, {0, 2}).origin.y, 60);

    auto layout = flow({60, 80});
    layout->setSectionInset({14, 12, 14, 12});
    auto lone = makeView(std::make_shared<Tiles>(Sections{{"添加更多"}}), {375, 190}, layout);
    EXPECT_EQ(frameOf(*lone, {0, 0}), (Rect{{157.5, 14}, {60, 80}}));
}

TEST_F(CollectionViewTest, OnlyItemsInViewAreAskedForAndCellsAreReused) {
    auto tiles = std::make_shared<Tiles>(Sections{numbered(60)});
    auto view = makeView(tiles, {300, 300}, flow({100, 100}, 0));
    EXPECT_EQ(tiles->requested.size(), 9u);

    view->setContentOffset({0, 900});
    EXPECT_EQ(view->visibleCells().size(), 9u);
    EXPECT_EQ(shownAt(*view, {0, 27}), "t27");
    int tileCells = 0;
    for (const auto& subview : view->subviews()) {
        tileCells += dynamic_cast<TileCell*>(subview.get()) != nullptr;
    }
    EXPECT_EQ(tileCells, 9) << "the cells of rows that left the view were reused";
}

TEST_F(CollectionViewTest, InteractiveMovementReordersThroughTheDataSourceUnlessCancelled) {
    auto tiles = std::make_shared<Tiles>(Sections{{"A", "B", "C", "D", "E"}});
    auto view = makeView(tiles, {300, 300}, flow({75, 75}, 0));

    ASSERT_TRUE(view->beginInteractiveMovementForItemAtIndexPath({0, 0}));
    // Over the fourth slot, the others make room and "A" takes it.
    Point overD = frameOf(*view, {0, 3}).origin;
    view->updateInteractiveMovementTargetPosition({overD.x + 30, overD.y + 30});
    EXPECT_EQ(shownAt(*view, {0, 0}), "B");
    EXPECT_EQ(shownAt(*view, {0, 3}), "A");
    auto moving = view->cellForItemAtIndexPath({0, 3});
    ASSERT_NE(moving, nullptr);
    EXPECT_EQ(moving->center(), (Point{overD.x + 30, overD.y + 30}));
    EXPECT_TRUE(tiles->events.empty()) << "nothing moves in the data before the drop";

    view->endInteractiveMovement();
    EXPECT_EQ(tiles->events, (Log{"move A"}));
    EXPECT_FALSE(view->beginInteractiveMovementForItemAtIndexPath({0, 9}));
    EXPECT_EQ(tiles->names[0], (std::vector<std::string>{"B", "C", "D", "A", "E"}));
    auto dropped = view->cellForItemAtIndexPath({0, 3});
    ASSERT_NE(dropped, nullptr);
    EXPECT_EQ(dropped->frame(), frameOf(*view, {0, 3}));
    EXPECT_EQ(shownAt(*view, {0, 3}), "A");

    // A cancelled movement puts everything back.
    ASSERT_TRUE(view->beginInteractiveMovementForItemAtIndexPath({0, 4}));
    Point overB = frameOf(*view, {0, 0}).origin;
    view->updateInteractiveMovementTargetPosition({overB.x + 10, overB.y + 10});
    EXPECT_EQ(shownAt(*view, {0, 0}), "E");
    view->cancelInteractiveMovement();
    EXPECT_EQ(shownAt(*view, {0, 0}), "B");
    EXPECT_EQ(shownAt(*view, {0, 4}), "E");
    EXPECT_EQ(tiles->events, (Log{"move A"}));
}

TEST_F(CollectionViewTest, TappingATileSelectsItThroughHitTesting) {
    auto window = View::make<Window>(Rect{{0, 0}, {375, 667}});
    window->makeKeyAndVisible();
    auto tiles = std::make_shared<Tiles>(Sections{numbered(8)});
    auto view = makeView(tiles, {375, 190}, flow({60, 80}));
    view->setFrame(Rect{{0, 64}, {375, 190}});
    window->addSubview(view);

    Rect tile = frameOf(*view, {0, 5});
    ASSERT_TRUE(window->tap(view->convertPointTo({tile.midX(), tile.midY()}, nullptr)));
    EXPECT_EQ(tiles->events, (Log{"select t5"}));
    EXPECT_EQ(view->indexPathsForSelectedItems(), (std::vector<IndexPath>{{0, 5}}));

    ASSERT_TRUE(view->tapItemAtIndexPath({0, 1}));
    EXPECT_EQ(tiles->events, (Log{"select t5", "deselect t5", "select t1"}));
    EXPECT_FALSE(view->tapItemAtIndexPath({0, 8}));
}

TEST_F(CollectionViewTest, AFingerThatWandersOffATileIsADragAndSelectsNothing) {
    auto window = View::make<Window>(Rect{{0, 0}, {375, 667}});
    window->makeKeyAndVisible();
    auto tiles = std::make_shared<Tiles>(Sections{numbered(8)});
    auto view = makeView(tiles, {375, 190}, flow({60, 80}));
    view->setFrame(Rect{{0, 64}, {375, 190}});
    window->addSubview(view);

    Rect tile = frameOf(*view, {0, 5});
    const Point centre = view->convertPointTo({tile.midX(), tile.midY()}, nullptr);
    window->drag(centre, {centre.x, centre.y + 30}, 4);
    window->drag(centre, {centre.x + 11, centre.y}, 1);
    EXPECT_TRUE(tiles->events.empty());
    auto cell = view->cellForItemAtIndexPath({0, 5});
    ASSERT_NE(cell, nullptr);
    EXPECT_FALSE(cell->isHighlighted());

    window->drag(centre, {centre.x + 3, centre.y - 3}, 1);
    EXPECT_EQ(tiles->events, (Log{"select t5"}));
}

TEST_F(CollectionViewTest, DeletingAndInsertingItemsKeepsTheOtherCells) {
    auto tiles = std::make_shared<Tiles>(Sections{{"A", "B", "C"}});
    auto view = makeView(tiles, {300, 300}, flow({100, 100}, 0));
    auto cellC = view->cellForItemAtIndexPath({0, 2});
    tiles->requested.clear();

    tiles->names[0].erase(tiles->names[0].begin() + 1);
    view->deleteItemsAtIndexPaths({{0, 1}});
    EXPECT_EQ(view->numberOfItemsInSection(0), 2);
    EXPECT_EQ(view->cellForItemAtIndexPath({0, 1}), cellC);
    EXPECT_EQ(cellC->frame(), frameOf(*view, {0, 1}));
    EXPECT_TRUE(tiles->requested.empty());

    tiles->names[0].insert(tiles->names[0].begin(), "Z");
    view->insertItemsAtIndexPaths({{0, 0}});
    EXPECT_EQ(tiles->requested, (std::vector<IndexPath>{{0, 0}}));
    EXPECT_EQ(shownAt(*view, {0, 0}), "Z");
    EXPECT_EQ(view->cellForItemAtIndexPath({0, 2}), cellC);
}

TEST_F(CollectionViewTest, ReloadWithFewerItemsDropsStaleCells) {
    auto tiles = std::make_shared<Tiles>(Sections{numbered(9), numbered(9)});
    auto view = makeView(tiles, {300, 300}, flow({100, 100}));
    view->tapItemAtIndexPath({0, 4});

    tiles->names = {{"only"}};
    view->reloadData();
    EXPECT_EQ(view->visibleCells().size(), 1u);
    EXPECT_EQ(view->numberOfSections(), 1);
    EXPECT_TRUE(view->indexPathsForSelectedItems().empty());
    EXPECT_EQ(view->cellForItemAtIndexPath({0, 4}), nullptr);
}

}  // namespace
}  // namespace uitest
