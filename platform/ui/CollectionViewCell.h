#pragma once

#include <memory>
#include <string>

#include "platform/ui/CollectionReusableView.h"

namespace platform {

// The phone's UICollectionViewCell: one item of a collection view. Its content lives in
// contentView; the selected background shows while selected or highlighted.
class CollectionViewCell : public CollectionReusableView {
public:
    CollectionViewCell();
    explicit CollectionViewCell(const Rect& frame);
    ~CollectionViewCell() override;

    const std::shared_ptr<View>& contentView() const { return m_contentView; }

    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted);

    const std::shared_ptr<View>& backgroundView() const { return m_backgroundView; }
    void setBackgroundView(std::shared_ptr<View> view);
    const std::shared_ptr<View>& selectedBackgroundView() const { return m_selectedBackgroundView; }
    void setSelectedBackgroundView(std::shared_ptr<View> view);

    void prepareForReuse() override;
    void layoutSubviews() override;
    std::string describe() const override;

private:
    void init();
    void updateSelectionDisplay();

    std::shared_ptr<View> m_contentView;
    std::shared_ptr<View> m_backgroundView;
    std::shared_ptr<View> m_selectedBackgroundView;
    bool m_selected{false};
    bool m_highlighted{false};
};

}  // namespace platform
