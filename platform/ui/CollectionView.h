#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/CollectionReusableView.h"
#include "platform/ui/CollectionViewCell.h"
#include "platform/ui/CollectionViewLayoutAttributes.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/ReusePool.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/VisibleCells.h"
#include "platform/ui/VisibleViews.h"

namespace platform {

class CollectionViewDataSource;
class CollectionViewDelegate;
class CollectionViewFlowLayout;

enum class CollectionViewScrollPosition {
    None,
    Top,
    CenteredVertically,
    Bottom,
    Left,
    CenteredHorizontally,
    Right,
};

// The phone's UICollectionView with a flow layout. Like a table it asks its data source
// for cells (and header/footer views) only for what is in view and reuses what leaves the
// view, by reuse identifier. It loads its data on its first layout, on reloadData, and
// follows the item updates below. Items can be moved interactively (the tile editor's
// long-press drag): begin, update the target position as the finger moves, end or cancel.
class CollectionView : public ScrollView {
public:
    explicit CollectionView(std::shared_ptr<CollectionViewFlowLayout> layout);
    CollectionView(const Rect& frame, std::shared_ptr<CollectionViewFlowLayout> layout);
    ~CollectionView() override;

    const std::shared_ptr<CollectionViewFlowLayout>& collectionViewLayout() const {
        return m_layout;
    }
    void setCollectionViewLayout(std::shared_ptr<CollectionViewFlowLayout> layout,
                                 bool animated = false);
    std::shared_ptr<CollectionViewDataSource> dataSource() const { return m_dataSource.lock(); }
    void setDataSource(std::weak_ptr<CollectionViewDataSource> dataSource);
    std::shared_ptr<CollectionViewDelegate> delegate() const;
    void setDelegate(std::weak_ptr<CollectionViewDelegate> delegate);

    // Behind everything, filling the view (not scrolling).
    const std::shared_ptr<View>& backgroundView() const { return m_backgroundView; }
    void setBackgroundView(std::shared_ptr<View> view);
    bool allowsSelection() const { return m_allowsSelection; }
    void setAllowsSelection(bool allows) { m_allowsSelection = allows; }
    bool allowsMultipleSelection() const { return m_allowsMultipleSelection; }
    void setAllowsMultipleSelection(bool allows) { m_allowsMultipleSelection = allows; }

    // --- Reuse ------------------------------------------------------------------------------
    using CellFactory = std::function<std::shared_ptr<CollectionViewCell>()>;
    using SupplementaryFactory = std::function<std::shared_ptr<CollectionReusableView>()>;
    template <typename T>
    void registerClass(const std::string& identifier) {
        registerCellFactory(identifier, [] { return View::make<T>(); });
    }
    void registerCellFactory(const std::string& identifier, CellFactory factory);
    template <typename T>
    void registerClassForSupplementaryViewOfKind(const std::string& kind,
                                                 const std::string& identifier) {
        registerSupplementaryFactory(kind, identifier, [] { return View::make<T>(); });
    }
    void registerSupplementaryFactory(const std::string& kind, const std::string& identifier,
                                      SupplementaryFactory factory);
    // A cell that left the view (made ready by prepareForReuse), else a new one of the
    // registered class; an unregistered identifier gets a plain cell.
    std::shared_ptr<CollectionViewCell> dequeueReusableCellWithReuseIdentifier(
        const std::string& identifier, const IndexPath& indexPath);
    std::shared_ptr<CollectionReusableView> dequeueReusableSupplementaryViewOfKind(
        const std::string& kind, const std::string& identifier, const IndexPath& indexPath);

    // --- Data -------------------------------------------------------------------------------
    // Asks afresh for the counts, clears the selection and fills the view with new cells.
    void reloadData();
    // The data source has already changed; the view follows it, asking only for the items
    // that are new or reloaded. Selected items follow their item.
    void insertItemsAtIndexPaths(const std::vector<IndexPath>& indexPaths);
    void deleteItemsAtIndexPaths(const std::vector<IndexPath>& indexPaths);
    void reloadItemsAtIndexPaths(const std::vector<IndexPath>& indexPaths);
    void moveItemAtIndexPath(const IndexPath& from, const IndexPath& to);
    void insertSections(const std::vector<int>& sections);
    void deleteSections(const std::vector<int>& sections);
    void reloadSections(const std::vector<int>& sections);
    // Runs `updates` (calls of the above), then lays out once; the completion runs with true.
    void performBatchUpdates(const std::function<void()>& updates,
                             const std::function<void(bool)>& completion = {});

    // Counts as of the last load (and the updates since).
    int numberOfSections() const { return int(m_counts.size()); }
    int numberOfItemsInSection(int section) const;

    // --- What shows -------------------------------------------------------------------------
    std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(const IndexPath& indexPath) const;
    // In index path order.
    std::vector<std::shared_ptr<CollectionViewCell>> visibleCells() const;
    std::vector<IndexPath> indexPathsForVisibleItems() const;
    std::optional<IndexPath> indexPathForCell(const CollectionViewCell& cell) const;
    // The item whose frame holds the point (content coordinates).
    std::optional<IndexPath> indexPathForItemAtPoint(Point point) const;
    std::optional<CollectionViewLayoutAttributes> layoutAttributesForItemAtIndexPath(
        const IndexPath& indexPath) const;
    std::optional<CollectionViewLayoutAttributes> layoutAttributesForSupplementaryElementOfKind(
        const std::string& kind, const IndexPath& indexPath) const;
    std::shared_ptr<CollectionReusableView> supplementaryViewForElementKind(
        const std::string& kind, const IndexPath& indexPath) const;
    std::vector<std::shared_ptr<CollectionReusableView>> visibleSupplementaryViewsOfKind(
        const std::string& kind) const;
    void scrollToItemAtIndexPath(const IndexPath& indexPath, CollectionViewScrollPosition position,
                                 bool animated);

    // --- Selection ----------------------------------------------------------------------------
    std::vector<IndexPath> indexPathsForSelectedItems() const {
        return m_cells.selectedIndexPaths();
    }
    // Selects without telling the delegate (none deselects all).
    void selectItemAtIndexPath(const std::optional<IndexPath>& indexPath, bool animated,
                               CollectionViewScrollPosition position);
    void deselectItemAtIndexPath(const IndexPath& indexPath, bool animated);
    // A user's tap on the item: should-highlight, should-select, deselection of the previous
    // item (with its delegate calls), selection and did-select. Returns whether it selected.
    bool tapItemAtIndexPath(const IndexPath& indexPath);

    // --- Interactive movement
    // --------------------------------------------------------------------- Starts moving the item
    // (false when it is not there or may not move).
    bool beginInteractiveMovementForItemAtIndexPath(const IndexPath& indexPath);
    // The finger is at `position` (content coordinates): the moving cell follows it, and over
    // another item the items make room, the moving one taking that slot.
    void updateInteractiveMovementTargetPosition(Point position);
    // Drops the item in its current slot and tells the data source (moveItemAtIndexPath).
    void endInteractiveMovement();
    // Puts everything back where it was.
    void cancelInteractiveMovement();
    bool isMovingItem() const { return m_moving.has_value(); }

    // --- View -------------------------------------------------------------------------------
    void setFrame(const Rect& frame) override;
    void layoutSubviews() override;
    std::string describe() const override;
    void touchesBegan(const Touches& touches) override;
    void touchesMoved(const Touches& touches) override;
    void touchesEnded(const Touches& touches) override;
    void touchesCancelled(const Touches& touches) override;

protected:
    void contentOffsetDidChange() override;

private:
    friend class CollectionViewFlowLayout;

    struct Movement {
        IndexPath original;
        IndexPath current;
        Point position;
    };
    using SupplementaryKey = std::pair<std::string, IndexPath>;

    void init();
    // Called by the layout.
    void layoutDidInvalidate();

    bool isValid(const IndexPath& indexPath) const;
    void loadCounts();
    void relayout();
    void tile();
    void recycleCell(const IndexPath& indexPath, const std::shared_ptr<CollectionViewCell>& cell);
    void recycleSupplementary(const SupplementaryKey& key,
                              const std::shared_ptr<CollectionReusableView>& view);
    void deselectWithDelegate(const IndexPath& indexPath);
    // Re-keys cells and selection after items moved in the data.
    void relocate(const IndexPath& from, const IndexPath& to);
    void applyUpdates();

    std::shared_ptr<CollectionViewFlowLayout> m_layout;
    std::weak_ptr<CollectionViewDataSource> m_dataSource;
    std::shared_ptr<View> m_backgroundView;
    bool m_allowsSelection{true};
    bool m_allowsMultipleSelection{false};

    std::vector<int> m_counts;
    bool m_loaded{false};
    bool m_tiling{false};
    int m_batchDepth{0};
    bool m_updatesPending{false};

    // The shown cells and the selection.
    VisibleCells<CollectionViewCell> m_cells;
    VisibleViews<SupplementaryKey, CollectionReusableView> m_visibleSupplementary;
    ReusePool<CollectionViewCell> m_cellPool;
    // By element kind.
    std::map<std::string, ReusePool<CollectionReusableView>> m_supplementaryPools;
    std::optional<Movement> m_moving;
    // The item a finger went down on, and where (window coordinates), until the finger lifts or
    // wanders off as a drag.
    std::optional<IndexPath> m_touchedItem;
    Point m_touchBegan;
};

}  // namespace platform
