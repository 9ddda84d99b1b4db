#include "platform/ui/CollectionViewFlowLayout.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/ui/CollectionView.h"
#include "platform/ui/CollectionViewDelegateFlowLayout.h"

namespace platform {

namespace {

constexpr double kEpsilon = 1e-6;

double finiteOr(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

Size sanitized(Size size) {
    return {std::max(0.0, finiteOr(size.width, 0)), std::max(0.0, finiteOr(size.height, 0))};
}

}  // namespace

CollectionViewFlowLayout::~CollectionViewFlowLayout() = default;

void CollectionViewFlowLayout::setScrollDirection(CollectionViewScrollDirection direction) {
    m_scrollDirection = direction;
    invalidateLayout();
}

void CollectionViewFlowLayout::setItemSize(Size size) {
    m_itemSize = sanitized(size);
    invalidateLayout();
}

void CollectionViewFlowLayout::setMinimumLineSpacing(double spacing) {
    m_minimumLineSpacing = finiteOr(spacing, 0);
    invalidateLayout();
}

void CollectionViewFlowLayout::setMinimumInteritemSpacing(double spacing) {
    m_minimumInteritemSpacing = finiteOr(spacing, 0);
    invalidateLayout();
}

void CollectionViewFlowLayout::setSectionInset(const EdgeInsets& inset) {
    m_sectionInset = inset;
    invalidateLayout();
}

void CollectionViewFlowLayout::setHeaderReferenceSize(Size size) {
    m_headerReferenceSize = sanitized(size);
    invalidateLayout();
}

void CollectionViewFlowLayout::setFooterReferenceSize(Size size) {
    m_footerReferenceSize = sanitized(size);
    invalidateLayout();
}

void CollectionViewFlowLayout::invalidateLayout() {
    if (m_collectionView) {
        m_collectionView->layoutDidInvalidate();
    }
}

void CollectionViewFlowLayout::prepareLayout(CollectionView& collectionView) {
    m_collectionView = &collectionView;
    m_items.clear();
    m_supplementary.clear();

    bool vertical = m_scrollDirection == CollectionViewScrollDirection::Vertical;
    Size viewSize = collectionView.bounds().size;
    EdgeInsets viewInset = collectionView.contentInset();
    // The extent across the scrolling direction that lines fill.
    double across = std::max(0.0, vertical ? viewSize.width - viewInset.left - viewInset.right
                                           : viewSize.height - viewInset.top - viewInset.bottom);
    auto flow =
        std::dynamic_pointer_cast<CollectionViewDelegateFlowLayout>(collectionView.delegate());

    // Frames are built in (along, across) terms and turned into rects at the end.
    auto makeRect = [vertical](double along, double acrossPos, double alongSize,
                               double acrossSize) {
        return vertical ? Rect{{acrossPos, along}, {acrossSize, alongSize}}
                        : Rect{{along, acrossPos}, {alongSize, acrossSize}};
    };

    double along = 0;
    int sections = collectionView.numberOfSections();
    m_items.resize(size_t(std::max(0, sections)));
    for (int s = 0; s < sections; ++s) {
        EdgeInsets inset =
            flow ? flow->insetForSectionAtIndex(collectionView, *this, s) : m_sectionInset;
        double lineSpacing =
            finiteOr(flow ? flow->minimumLineSpacingForSectionAtIndex(collectionView, *this, s)
                          : m_minimumLineSpacing,
                     0);
        double itemSpacing =
            finiteOr(flow ? flow->minimumInteritemSpacingForSectionAtIndex(collectionView, *this, s)
                          : m_minimumInteritemSpacing,
                     0);
        Size header =
            sanitized(flow ? flow->referenceSizeForHeaderInSection(collectionView, *this, s)
                           : m_headerReferenceSize);
        Size footer =
            sanitized(flow ? flow->referenceSizeForFooterInSection(collectionView, *this, s)
                           : m_footerReferenceSize);

        double headerExtent = vertical ? header.height : header.width;
        if (headerExtent > 0) {
            CollectionViewLayoutAttributes attributes;
            attributes.indexPath = IndexPath{s, 0};
            attributes.category = CollectionElementCategory::SupplementaryView;
            attributes.kind = kCollectionElementKindSectionHeader;
            attributes.frame = makeRect(along, 0, headerExtent, across);
            m_supplementary.push_back(attributes);
            along += headerExtent;
        }

        double insetBefore = vertical ? inset.top : inset.left;
        double insetAfter = vertical ? inset.bottom : inset.right;
        double acrossStart = vertical ? inset.left : inset.top;
        double available =
            std::max(0.0, across - acrossStart - (vertical ? inset.right : inset.bottom));
        along += insetBefore;

        int count = collectionView.numberOfItemsInSection(s);
        std::vector<Size> sizes;
        sizes.reserve(size_t(count));
        for (int i = 0; i < count; ++i) {
            sizes.push_back(sanitized(
                flow ? flow->sizeForItemAtIndexPath(collectionView, *this, IndexPath{s, i})
                     : m_itemSize));
        }
        auto acrossOf = [vertical](Size size) { return vertical ? size.width : size.height; };
        auto alongOf = [vertical](Size size) { return vertical ? size.height : size.width; };

        auto& items = m_items[size_t(s)];
        items.reserve(size_t(count));
        int first = 0;
        while (first < count) {
            // Gather one line: as many items as fit, at least one.
            int end = first;
            double used = 0;
            double lineExtent = 0;
            double itemsExtent = 0;
            while (end < count) {
                double extent = acrossOf(sizes[size_t(end)]);
                double needed = end == first ? extent : used + itemSpacing + extent;
                if (end > first && needed > available + kEpsilon) {
                    break;
                }
                used = needed;
                itemsExtent += extent;
                lineExtent = std::max(lineExtent, alongOf(sizes[size_t(end)]));
                ++end;
            }
            int inLine = end - first;
            double position = acrossStart;
            double gap = 0;
            if (inLine == 1) {
                position += std::max(0.0, (available - itemsExtent) / 2);
            } else {
                gap = (available - itemsExtent) / (inLine - 1);
            }
            for (int i = first; i < end; ++i) {
                Size size = sizes[size_t(i)];
                CollectionViewLayoutAttributes attributes;
                attributes.indexPath = IndexPath{s, i};
                attributes.frame = makeRect(along + (lineExtent - alongOf(size)) / 2, position,
                                            alongOf(size), acrossOf(size));
                items.push_back(attributes);
                position += acrossOf(size) + gap;
            }
            along += lineExtent;
            first = end;
            if (first < count) {
                along += lineSpacing;
            }
        }
        along += insetAfter;

        double footerExtent = vertical ? footer.height : footer.width;
        if (footerExtent > 0) {
            CollectionViewLayoutAttributes attributes;
            attributes.indexPath = IndexPath{s, 0};
            attributes.category = CollectionElementCategory::SupplementaryView;
            attributes.kind = kCollectionElementKindSectionFooter;
            attributes.frame = makeRect(along, 0, footerExtent, across);
            m_supplementary.push_back(attributes);
            along += footerExtent;
        }
    }
    m_contentSize = vertical ? Size{across, along} : Size{along, across};
}

std::vector<CollectionViewLayoutAttributes>
CollectionViewFlowLayout::layoutAttributesForElementsInRect(const Rect& rect) const {
    std::vector<CollectionViewLayoutAttributes> result;
    for (const auto& section : m_items) {
        for (const auto& attributes : section) {
            if (attributes.frame.intersects(rect)) {
                result.push_back(attributes);
            }
        }
    }
    for (const auto& attributes : m_supplementary) {
        if (attributes.frame.intersects(rect)) {
            result.push_back(attributes);
        }
    }
    return result;
}

std::optional<CollectionViewLayoutAttributes>
CollectionViewFlowLayout::layoutAttributesForItemAtIndexPath(const IndexPath& indexPath) const {
    if (indexPath.section < 0 || indexPath.section >= int(m_items.size())) {
        return std::nullopt;
    }
    const auto& section = m_items[size_t(indexPath.section)];
    if (indexPath.row < 0 || indexPath.row >= int(section.size())) {
        return std::nullopt;
    }
    return section[size_t(indexPath.row)];
}

std::optional<CollectionViewLayoutAttributes>
CollectionViewFlowLayout::layoutAttributesForSupplementaryViewOfKind(
    const std::string& kind, const IndexPath& indexPath) const {
    for (const auto& attributes : m_supplementary) {
        if (attributes.kind == kind && attributes.indexPath == indexPath) {
            return attributes;
        }
    }
    return std::nullopt;
}

}  // namespace platform
