#include "platform/ui/CollectionReusableView.h"

#include "platform/ui/CollectionViewLayoutAttributes.h"

namespace platform {

CollectionReusableView::CollectionReusableView() = default;

CollectionReusableView::CollectionReusableView(const Rect& frame) : View(frame) {}

void CollectionReusableView::applyLayoutAttributes(
    const CollectionViewLayoutAttributes& attributes) {
    setFrame(attributes.frame);
    setHidden(attributes.hidden);
    setAlpha(attributes.alpha);
}

}  // namespace platform
