#pragma once

#include <memory>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace platform {
class ImageView;
class Label;
}  // namespace platform

// One row of the home news list: the thumbnail, the headline and the publication time.
class HomePageTableViewCell : public platform::TableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "cell";

    HomePageTableViewCell(platform::TableViewCellStyle style, std::string reuseIdentifier);
    ~HomePageTableViewCell() override;

    const std::shared_ptr<platform::ImageView>& NewImageView() const { return m_newImageView; }
    const std::shared_ptr<platform::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<platform::Label>& timeLabel() const { return m_timeLabel; }

private:
    std::shared_ptr<platform::ImageView> m_newImageView;
    std::shared_ptr<platform::Label> m_titleLabel;
    std::shared_ptr<platform::Label> m_timeLabel;
};
