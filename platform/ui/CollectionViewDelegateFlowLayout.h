#pragma once

#include "platform/graphics/Geometry.h"
#include "platform/ui/CollectionViewDelegate.h"
#include "platform/ui/CollectionViewFlowLayout.h"

namespace platform {

// The phone's UICollectionViewDelegateFlowLayout: per-item and per-section overrides of a
// flow layout's settings. The defaults are the layout's own values.
class CollectionViewDelegateFlowLayout : public virtual CollectionViewDelegate {
public:
    virtual Size sizeForItemAtIndexPath(CollectionView& /*collectionView*/,
                                        CollectionViewFlowLayout& layout,
                                        const IndexPath& /*indexPath*/) {
        return layout.itemSize();
    }
    virtual EdgeInsets insetForSectionAtIndex(CollectionView& /*collectionView*/,
                                              CollectionViewFlowLayout& layout, int /*section*/) {
        return layout.sectionInset();
    }
    virtual double minimumLineSpacingForSectionAtIndex(CollectionView& /*collectionView*/,
                                                       CollectionViewFlowLayout& layout,
                                                       int /*section*/) {
        return layout.minimumLineSpacing();
    }
    virtual double minimumInteritemSpacingForSectionAtIndex(CollectionView& /*collectionView*/,
                                                            CollectionViewFlowLayout& layout,
                                                            int /*section*/) {
        return layout.minimumInteritemSpacing();
    }
    virtual Size referenceSizeForHeaderInSection(CollectionView& /*collectionView*/,
                                                 CollectionViewFlowLayout& layout,
                                                 int /*section*/) {
        return layout.headerReferenceSize();
    }
    virtual Size referenceSizeForFooterInSection(CollectionView& /*collectionView*/,
                                                 CollectionViewFlowLayout& layout,
                                                 int /*section*/) {
        return layout.footerReferenceSize();
    }
};

}  // namespace platform
