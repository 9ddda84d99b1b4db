#pragma once

#include <memory>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace platform {
class Label;
}

// One row of a notice channel: the title on up to two lines of its 40-point box, the
// publication time under it at the right.
class AnnouncementTableViewCell : public platform::TableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "cell";

    AnnouncementTableViewCell(platform::TableViewCellStyle style, std::string reuseIdentifier);
    ~AnnouncementTableViewCell() override;

    const std::shared_ptr<platform::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<platform::Label>& timeLabel() const { return m_timeLabel; }

private:
    void createSub();

    std::shared_ptr<platform::Label> m_titleLabel;
    std::shared_ptr<platform::Label> m_timeLabel;
};
