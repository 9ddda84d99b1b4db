#pragma once

#include <memory>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace platform {
class Label;
}

// One row of an open position section: a caption and its value on a white strip outlined at
// the sides and the bottom, so that the header card and the six rows read as one card.
class PositionTableViewCell : public platform::TableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "cell";
    static constexpr double kHeight = 48;

    PositionTableViewCell(platform::TableViewCellStyle style, std::string reuseIdentifier);
    ~PositionTableViewCell() override;

    const std::shared_ptr<platform::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<platform::Label>& contentLabel() const { return m_contentLabel; }

private:
    void createSub();

    std::shared_ptr<platform::Label> m_titleLabel;
    std::shared_ptr<platform::Label> m_contentLabel;
};
