#pragma once

#include <memory>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace platform {
class Label;
}

// One meeting of a day page: the subject over the date, which stands at the right.
class OneWeekTableViewCell : public platform::TableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "cell";

    OneWeekTableViewCell(platform::TableViewCellStyle style, std::string reuseIdentifier);
    ~OneWeekTableViewCell() override;

    const std::shared_ptr<platform::Label>& nrLabel() const { return m_nrLabel; }
    const std::shared_ptr<platform::Label>& dateLabel() const { return m_dateLabel; }

private:
    void createSub();

    std::shared_ptr<platform::Label> m_nrLabel;
    std::shared_ptr<platform::Label> m_dateLabel;
};
