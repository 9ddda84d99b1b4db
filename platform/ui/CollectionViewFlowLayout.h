#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/ui/CollectionViewLayoutAttributes.h"

namespace platform {

class CollectionView;

enum class CollectionViewScrollDirection { Vertical, Horizontal };

// The phone's UICollectionViewFlowLayout. Scrolling vertically, items fill lines from left
// to right, wrapping at the width the view and section insets leave; scrolling
// horizontally, they fill columns from top to bottom, and columns follow each other to the
// right. Each section starts on a new line after the previous one: header, top inset,
// lines, bottom inset, footer. Within a line, items are spread so the first touches the
// start and the last the end of the available extent (a line of one item is centred), and
// each item is centred across the line. A delegate that is a
// CollectionViewDelegateFlowLayout overrides sizes, insets and spacings per item/section.
class CollectionViewFlowLayout {
public:
    CollectionViewFlowLayout() = default;
    virtual ~CollectionViewFlowLayout();
    CollectionViewFlowLayout(const CollectionViewFlowLayout&) = delete;
    CollectionViewFlowLayout& operator=(const CollectionViewFlowLayout&) = delete;

    CollectionViewScrollDirection scrollDirection() const { return m_scrollDirection; }
    void setScrollDirection(CollectionViewScrollDirection direction);
    Size itemSize() const { return m_itemSize; }
    void setItemSize(Size size);
    // Between lines (rows when scrolling vertically, columns when horizontally).
    double minimumLineSpacing() const { return m_minimumLineSpacing; }
    void setMinimumLineSpacing(double spacing);
    // Between items of one line.
    double minimumInteritemSpacing() const { return m_minimumInteritemSpacing; }
    void setMinimumInteritemSpacing(double spacing);
    const EdgeInsets& sectionInset() const { return m_sectionInset; }
    void setSectionInset(const EdgeInsets& inset);
    // Only the height counts when scrolling vertically, only the width horizontally.
    Size headerReferenceSize() const { return m_headerReferenceSize; }
    void setHeaderReferenceSize(Size size);
    Size footerReferenceSize() const { return m_footerReferenceSize; }
    void setFooterReferenceSize(Size size);

    // The collection view using the layout, while one does.
    CollectionView* collectionView() const { return m_collectionView; }
    // Asks the collection view to lay its content out again.
    void invalidateLayout();

    // Works out every frame from the collection view's counts and size.
    virtual void prepareLayout(CollectionView& collectionView);
    virtual Size collectionViewContentSize() const { return m_contentSize; }
    // Everything whose frame intersects the rect (content coordinates), cells first.
    virtual std::vector<CollectionViewLayoutAttributes> layoutAttributesForElementsInRect(
        const Rect& rect) const;
    virtual std::optional<CollectionViewLayoutAttributes> layoutAttributesForItemAtIndexPath(
        const IndexPath& indexPath) const;
    virtual std::optional<CollectionViewLayoutAttributes>
    layoutAttributesForSupplementaryViewOfKind(const std::string& kind,
                                               const IndexPath& indexPath) const;

private:
    friend class CollectionView;

    CollectionViewScrollDirection m_scrollDirection{CollectionViewScrollDirection::Vertical};
    Size m_itemSize{50, 50};
    double m_minimumLineSpacing{10};
    double m_minimumInteritemSpacing{10};
    EdgeInsets m_sectionInset;
    Size m_headerReferenceSize;
    Size m_footerReferenceSize;

    CollectionView* m_collectionView{nullptr};
    // Per section, the items in order.
    std::vector<std::vector<CollectionViewLayoutAttributes>> m_items;
    std::vector<CollectionViewLayoutAttributes> m_supplementary;
    Size m_contentSize;
};

}  // namespace platform
