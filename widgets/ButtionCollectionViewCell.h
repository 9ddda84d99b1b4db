#pragma once

#include <memory>

#include "platform/ui/CollectionViewCell.h"

class CollectionViewCellModel;

namespace platform {
class ImageView;
class Label;
}  // namespace platform

// A function button of a grid: a round 40-point badge holding an icon, with a short bold
// caption under it, at the cell's top-left corner whatever the cell's size. The caller fills
// the icon, the caption and the badge's colour; the tile record is carried, not shown.
class ButtionCollectionViewCell : public platform::CollectionViewCell {
public:
    ButtionCollectionViewCell();
    explicit ButtionCollectionViewCell(const platform::Rect& frame);
    ~ButtionCollectionViewCell() override;

    // The badge: a plain round view, not a button.
    const std::shared_ptr<platform::View>& imgBtn() const { return m_imgBtn; }
    const std::shared_ptr<platform::ImageView>& imageView() const { return m_imageView; }
    const std::shared_ptr<platform::Label>& titleLabel() const { return m_titleLabel; }

    const std::shared_ptr<CollectionViewCellModel>& dataModel() const { return m_dataModel; }
    void setDataModel(std::shared_ptr<CollectionViewCellModel> model) {
        m_dataModel = std::move(model);
    }

private:
    void createSubviews();

    std::shared_ptr<platform::View> m_imgBtn;
    std::shared_ptr<platform::ImageView> m_imageView;
    std::shared_ptr<platform::Label> m_titleLabel;
    std::shared_ptr<CollectionViewCellModel> m_dataModel;
};
