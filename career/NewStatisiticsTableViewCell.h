#pragma once

#include <memory>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace platform {
class Label;
}

// One row of the enrolment statistics: name, admitted, reported and paid, in four centred
// columns under the screen's four captions. The reported and paid columns take two lines.
class NewStatisiticsTableViewCell : public platform::TableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "cell";
    static constexpr double kRowHeight = 54;

    NewStatisiticsTableViewCell(platform::TableViewCellStyle style, std::string reuseIdentifier);
    ~NewStatisiticsTableViewCell() override;

    const std::shared_ptr<platform::Label>& xyLabel() const { return m_xyLabel; }
    const std::shared_ptr<platform::Label>& lqLabel() const { return m_lqLabel; }
    const std::shared_ptr<platform::Label>& bdLabel() const { return m_bdLabel; }
    const std::shared_ptr<platform::Label>& cwLabel() const { return m_cwLabel; }

    // The width of one column on this screen; the captions use it too, so the two line up.
    static double columnWidth();
    static constexpr double kColumnsLeft = 20;

private:
    void createSub();

    std::shared_ptr<platform::Label> m_xyLabel;
    std::shared_ptr<platform::Label> m_lqLabel;
    std::shared_ptr<platform::Label> m_bdLabel;
    std::shared_ptr<platform::Label> m_cwLabel;
};
