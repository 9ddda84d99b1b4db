#pragma once

#include <string>

#include "platform/ui/CollectionReusableView.h"
#include "platform/ui/CollectionViewCell.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollViewDelegate.h"

namespace platform {

class CollectionView;

// The phone's UICollectionViewDelegate, with the scroll view's callbacks. Every method is
// optional.
class CollectionViewDelegate : public virtual ScrollViewDelegate {
public:
    virtual bool shouldHighlightItemAtIndexPath(CollectionView& /*collectionView*/,
                                                const IndexPath& /*indexPath*/) {
        return true;
    }
    virtual void didHighlightItemAtIndexPath(CollectionView& /*collectionView*/,
                                             const IndexPath& /*indexPath*/) {}
    virtual void didUnhighlightItemAtIndexPath(CollectionView& /*collectionView*/,
                                               const IndexPath& /*indexPath*/) {}
    virtual bool shouldSelectItemAtIndexPath(CollectionView& /*collectionView*/,
                                             const IndexPath& /*indexPath*/) {
        return true;
    }
    virtual void didSelectItemAtIndexPath(CollectionView& /*collectionView*/,
                                          const IndexPath& /*indexPath*/) {}
    virtual bool shouldDeselectItemAtIndexPath(CollectionView& /*collectionView*/,
                                               const IndexPath& /*indexPath*/) {
        return true;
    }
    virtual void didDeselectItemAtIndexPath(CollectionView& /*collectionView*/,
                                            const IndexPath& /*indexPath*/) {}

    virtual void willDisplayCell(CollectionView& /*collectionView*/, CollectionViewCell& /*cell*/,
                                 const IndexPath& /*indexPath*/) {}
    virtual void didEndDisplayingCell(CollectionView& /*collectionView*/,
                                      CollectionViewCell& /*cell*/,
                                      const IndexPath& /*indexPath*/) {}
    virtual void willDisplaySupplementaryView(CollectionView& /*collectionView*/,
                                              CollectionReusableView& /*view*/,
                                              const std::string& /*kind*/,
                                              const IndexPath& /*indexPath*/) {}

    // Where an item being moved interactively goes when the finger is over `proposed`.
    virtual IndexPath targetIndexPathForMoveFromItemAtIndexPath(CollectionView& /*collectionView*/,
                                                                const IndexPath& /*original*/,
                                                                const IndexPath& proposed) {
        return proposed;
    }
};

}  // namespace platform
