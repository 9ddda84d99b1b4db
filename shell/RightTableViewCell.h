#pragma once

#include <memory>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace platform {
class ImageView;
class Label;
}  // namespace platform

// One row of the side menu: an icon, the row's title in white, and a rule along the bottom.
class RightTableViewCell : public platform::TableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "cell";

    RightTableViewCell(platform::TableViewCellStyle style, std::string reuseIdentifier);
    ~RightTableViewCell() override;

    const std::shared_ptr<platform::ImageView>& headImageView() const { return m_headImageView; }
    const std::shared_ptr<platform::Label>& nameLabel() const { return m_nameLabel; }

private:
    void creatSubViews();

    std::shared_ptr<platform::ImageView> m_headImageView;
    std::shared_ptr<platform::Label> m_nameLabel;
};
