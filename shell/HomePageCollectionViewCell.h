#pragma once

#include <memory>

#include "platform/ui/CollectionViewCell.h"

class CollectionViewCellModel;

namespace platform {
class ImageView;
class Label;
}  // namespace platform

// One tile of the home grid: its icon above its caption.
class HomePageCollectionViewCell : public platform::CollectionViewCell {
public:
    static constexpr const char* kReuseIdentifier = "NewCollectionCell";

    HomePageCollectionViewCell();
    explicit HomePageCollectionViewCell(const platform::Rect& frame);
    ~HomePageCollectionViewCell() override;

    const std::shared_ptr<platform::ImageView>& imageView() const { return m_imageView; }
    const std::shared_ptr<platform::Label>& title_label() const { return m_titleLabel; }

    const std::shared_ptr<CollectionViewCellModel>& dataModel() const { return m_dataModel; }
    // Shows the tile: the bundle icon of its image name (none when missing) and its caption.
    void setDataModel(std::shared_ptr<CollectionViewCellModel> model);

private:
    void creatSubViews();

    std::shared_ptr<platform::ImageView> m_imageView;
    std::shared_ptr<platform::Label> m_titleLabel;
    std::shared_ptr<CollectionViewCellModel> m_dataModel;
};
