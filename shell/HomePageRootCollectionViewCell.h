#pragma once

#include <memory>

#include "client/CollectionViewCellModel.h"
#include "platform/ui/CollectionViewCell.h"
#include "platform/ui/CollectionViewDataSource.h"
#include "platform/ui/CollectionViewDelegate.h"

class HomePageRootCVCellDelegate;

namespace platform {
class CollectionView;
}

// One page of the home grid: up to eight tiles, four to a row, in an inner grid that does not
// scroll. A tap on a tile hands its operation name to the delegate.
class HomePageRootCollectionViewCell : public platform::CollectionViewCell,
                                       public platform::CollectionViewDataSource,
                                       public platform::CollectionViewDelegate {
public:
    static constexpr const char* kReuseIdentifier = "RootCollectionCell";
    static constexpr double kGridHeight = 190;

    HomePageRootCollectionViewCell();
    explicit HomePageRootCollectionViewCell(const platform::Rect& frame);
    ~HomePageRootCollectionViewCell() override;

    const TileList& modelArr() const { return m_modelArr; }
    // The page's tiles; reloadData() shows them.
    void setModelArr(TileList tiles);
    void reloadData();

    const std::shared_ptr<platform::CollectionView>& myCollectionView() const {
        return m_myCollectionView;
    }

    std::shared_ptr<HomePageRootCVCellDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<HomePageRootCVCellDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    // The inner grid's data source and delegate.
    int numberOfItemsInSection(platform::CollectionView& collectionView, int section) override;
    std::shared_ptr<platform::CollectionViewCell> cellForItemAtIndexPath(
        platform::CollectionView& collectionView, const platform::IndexPath& indexPath) override;
    void didSelectItemAtIndexPath(platform::CollectionView& collectionView,
                                  const platform::IndexPath& indexPath) override;

private:
    void creatSubViews();
    // The inner grid reports to this cell; done once the cell is owned, not in the constructor.
    void adoptInnerGrid();

    TileList m_modelArr;
    std::shared_ptr<platform::CollectionView> m_myCollectionView;
    std::weak_ptr<HomePageRootCVCellDelegate> m_delegate;
    bool m_adopted{false};
};
