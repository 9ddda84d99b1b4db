#pragma once

#include <memory>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace platform {
class ImageView;
class Label;
}  // namespace platform
struct JobFairModel;
struct RecruitmentModel;

// One row of a career list: the title on up to two lines, and under it either the address
// with its pin (recruitment, internships) or the organiser (job fairs, career talks), with the
// date at the right.
class EmploymentTableViewCell : public platform::TableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "cell";

    EmploymentTableViewCell(platform::TableViewCellStyle style, std::string reuseIdentifier);
    ~EmploymentTableViewCell() override;

    // A recruitment or internship row: the employer, the address by the pin (an address of
    // exactly two blanks, the service's way of saying it has none, shows "暂无") and the
    // closing date.
    void show(const RecruitmentModel& record);
    // A job-fair or career-talk row: the subject, the organiser and the date.
    void show(const JobFairModel& record);

    const std::shared_ptr<platform::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<platform::Label>& timeLabel() const { return m_timeLabel; }
    const std::shared_ptr<platform::ImageView>& placeImageView() const { return m_placeImageView; }
    const std::shared_ptr<platform::Label>& placeLabel() const { return m_placeLabel; }
    const std::shared_ptr<platform::Label>& organizerLabel() const { return m_organizerLabel; }

private:
    void createSub();

    std::shared_ptr<platform::Label> m_titleLabel;
    std::shared_ptr<platform::Label> m_timeLabel;
    std::shared_ptr<platform::ImageView> m_placeImageView;
    std::shared_ptr<platform::Label> m_placeLabel;
    std::shared_ptr<platform::Label> m_organizerLabel;
};
