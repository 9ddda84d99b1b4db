#pragma once

#include <string>

#include "platform/ui/View.h"

namespace platform {

struct CollectionViewLayoutAttributes;

// The phone's UICollectionReusableView: a view a collection view hands out again by its
// reuse identifier (headers, footers, and cells through CollectionViewCell).
class CollectionReusableView : public View {
public:
    CollectionReusableView();
    explicit CollectionReusableView(const Rect& frame);

    // Set by the collection view that made the view.
    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }

    // Clears the view's state before the collection view hands it out again; subclasses
    // reset what they show and call this.
    virtual void prepareForReuse() {}
    // The layout's geometry for the view.
    virtual void applyLayoutAttributes(const CollectionViewLayoutAttributes& attributes);

private:
    friend class CollectionView;

    std::string m_reuseIdentifier;
};

}  // namespace platform
