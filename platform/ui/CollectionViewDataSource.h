#pragma once

#include <memory>
#include <string>

#include "platform/ui/CollectionReusableView.h"
#include "platform/ui/CollectionViewCell.h"
#include "platform/ui/IndexPath.h"

namespace platform {

class CollectionView;

// The phone's UICollectionViewDataSource. The item count and the cells are required.
class CollectionViewDataSource {
public:
    virtual ~CollectionViewDataSource() = default;

    virtual int numberOfSections(CollectionView& /*collectionView*/) { return 1; }
    virtual int numberOfItemsInSection(CollectionView& collectionView, int section) = 0;
    // Usually a cell from collectionView.dequeueReusableCellWithReuseIdentifier, filled.
    virtual std::shared_ptr<CollectionViewCell> cellForItemAtIndexPath(
        CollectionView& collectionView, const IndexPath& indexPath) = 0;
    // A header or footer (kind kCollectionElementKindSectionHeader / ...Footer) the layout
    // asked for; none shows nothing there.
    virtual std::shared_ptr<CollectionReusableView> viewForSupplementaryElementOfKind(
        CollectionView& /*collectionView*/, const std::string& /*kind*/,
        const IndexPath& /*indexPath*/) {
        return nullptr;
    }

    // Whether the item may be moved interactively (beginInteractiveMovement).
    virtual bool canMoveItemAtIndexPath(CollectionView& /*collectionView*/,
                                        const IndexPath& /*indexPath*/) {
        return true;
    }
    // An interactive move ended: the data source moves the item in its data.
    virtual void moveItemAtIndexPath(CollectionView& /*collectionView*/,
                                     const IndexPath& /*source*/,
                                     const IndexPath& /*destination*/) {}
};

}  // namespace platform
