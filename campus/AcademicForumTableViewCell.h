#pragma once

#include <memory>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace platform {
class Label;
}
struct AcademicForum;

// One row of the lecture list: the title on as many lines as it needs, and under it the
// organiser on the left and the start date on the right. The cell sizes itself to its title.
class AcademicForumTableViewCell : public platform::TableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "cell";
    static constexpr double kTitleFontSize = 15;
    // 10 above the title, 10 between it and the second line, 20 for that line, 10 below.
    static constexpr double kHeightBesideTitle = 50;

    AcademicForumTableViewCell(platform::TableViewCellStyle style, std::string reuseIdentifier);
    ~AcademicForumTableViewCell() override;

    const std::shared_ptr<platform::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<platform::Label>& zbdwLabel() const { return m_zbdwLabel; }
    const std::shared_ptr<platform::Label>& timeLabel() const { return m_timeLabel; }

    // Sets the title and lays out the labels and the cell's own height for the lecture.
    void setCellDataText(const AcademicForum& lecture);

    // The height of the title's label: the title measured at the label's width.
    static double titleHeight(const std::string& title);

private:
    void createSub();

    std::shared_ptr<platform::Label> m_titleLabel;
    std::shared_ptr<platform::Label> m_zbdwLabel;
    std::shared_ptr<platform::Label> m_timeLabel;
};
