#include "platform/ui/CollectionViewCell.h"

namespace platform {

CollectionViewCell::CollectionViewCell() {
    init();
}

CollectionViewCell::CollectionViewCell(const Rect& frame) : CollectionReusableView(frame) {
    init();
}

CollectionViewCell::~CollectionViewCell() = default;

void CollectionViewCell::init() {
    m_contentView = View::make<View>(Rect{{0, 0}, bounds().size});
    m_contentView->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                       AutoresizingMask::FlexibleHeight);
    addSubview(m_contentView);
}

void CollectionViewCell::setSelected(bool selected) {
    m_selected = selected;
    updateSelectionDisplay();
}

void CollectionViewCell::setHighlighted(bool highlighted) {
    m_highlighted = highlighted;
    updateSelectionDisplay();
}

void CollectionViewCell::updateSelectionDisplay() {
    if (!m_selectedBackgroundView) {
        return;
    }
    if (m_selected || m_highlighted) {
        if (m_selectedBackgroundView->superview().get() != this) {
            insertSubviewBelow(m_selectedBackgroundView, m_contentView.get());
        }
        m_selectedBackgroundView->setFrame(Rect{{0, 0}, bounds().size});
    } else {
        m_selectedBackgroundView->removeFromSuperview();
    }
}

void CollectionViewCell::setBackgroundView(std::shared_ptr<View> view) {
    if (m_backgroundView && m_backgroundView != view) {
        m_backgroundView->removeFromSuperview();
    }
    m_backgroundView = std::move(view);
    if (m_backgroundView) {
        insertSubview(m_backgroundView, 0);
        m_backgroundView->setFrame(Rect{{0, 0}, bounds().size});
    }
}

void CollectionViewCell::setSelectedBackgroundView(std::shared_ptr<View> view) {
    if (m_selectedBackgroundView && m_selectedBackgroundView != view) {
        m_selectedBackgroundView->removeFromSuperview();
    }
    m_selectedBackgroundView = std::move(view);
    updateSelectionDisplay();
}

void CollectionViewCell::prepareForReuse() {
    m_selected = false;
    m_highlighted = false;
    updateSelectionDisplay();
}

void CollectionViewCell::layoutSubviews() {
    Rect local{{0, 0}, bounds().size};
    m_contentView->setFrame(local);
    if (m_backgroundView) {
        m_backgroundView->setFrame(local);
    }
    if (m_selectedBackgroundView && m_selectedBackgroundView->superview().get() == this) {
        m_selectedBackgroundView->setFrame(local);
    }
}

std::string CollectionViewCell::describe() const {
    return m_selected ? "item (selected)" : "item";
}

}  // namespace platform
