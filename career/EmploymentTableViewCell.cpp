#include "career/EmploymentTableViewCell.h"

#include "career/JobFairModel.h"
#include "career/RecruitmentModel.h"
#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

constexpr double kLeft = 17;
constexpr platform::Rect kTitleBox{{kLeft, 10}, {0, 40}};  // width: the screen's less 54
constexpr double kLineHeight = 15;
constexpr double kTimeWidth = 80;
constexpr platform::Size kPinSize{10, 12};
// The pin sits two points lower than the line it marks, and its text three points after it.
constexpr double kPinDrop = 2;
constexpr double kPinGap = 3;

const char* const kTitleColor = "333333";
const char* const kLineColor = "93939a";
const char* const kPinImage = "地址";
const char* const kBlankAddress = "  ";
const char* const kNoAddress = "暂无";

}  // namespace

EmploymentTableViewCell::EmploymentTableViewCell(platform::TableViewCellStyle style,
                                                 std::string reuseIdentifier)
    : TableViewCell(style, std::move(reuseIdentifier)) {
    createSub();
}

EmploymentTableViewCell::~EmploymentTableViewCell() = default;

void EmploymentTableViewCell::createSub() {
    const double width = platform::Screen::main().size().width;
    const auto lineFont = platform::Font::systemFont(13);
    const auto lineColor = MyTool::colorWithString(kLineColor);
    // The line under the title starts the title box's height plus 15 down the row.
    const double lineTop = kTitleBox.size.height + 15;

    m_titleLabel = platform::View::make<platform::Label>(
        platform::Rect{kTitleBox.origin, {width - 54, kTitleBox.size.height}});
    m_titleLabel->setFont(platform::Font::systemFont(15));
    m_titleLabel->setTextColor(MyTool::colorWithString(kTitleColor));
    m_titleLabel->setNumberOfLines(0);
    m_titleLabel->setBackgroundColor(platform::Color::clear());
    contentView()->addSubview(m_titleLabel);

    const double timeLeft = width - 120;
    m_timeLabel = platform::View::make<platform::Label>(
        platform::Rect{{timeLeft, lineTop}, {kTimeWidth, kLineHeight}});
    m_timeLabel->setFont(lineFont);
    m_timeLabel->setTextColor(lineColor);
    m_timeLabel->setTextAlignment(platform::TextAlignment::Right);
    m_timeLabel->setBackgroundColor(platform::Color::clear());
    contentView()->addSubview(m_timeLabel);

    m_placeImageView = platform::View::make<platform::ImageView>(
        platform::Rect{{kLeft, lineTop + kPinDrop}, kPinSize});
    m_placeImageView->setImage(platform::Image::named(kPinImage));
    contentView()->addSubview(m_placeImageView);

    // The address runs from after the pin to 33 points short of the date.
    const double placeLeft = kPinSize.width + kLeft + kPinGap;
    m_placeLabel = platform::View::make<platform::Label>(
        platform::Rect{{placeLeft, lineTop}, {timeLeft - kPinSize.width - 43, kLineHeight}});
    m_placeLabel->setFont(lineFont);
    m_placeLabel->setTextColor(lineColor);
    m_placeLabel->setBackgroundColor(platform::Color::clear());
    contentView()->addSubview(m_placeLabel);

    m_organizerLabel = platform::View::make<platform::Label>(
        platform::Rect{{kLeft, lineTop}, {width - 120, kLineHeight}});
    m_organizerLabel->setFont(lineFont);
    m_organizerLabel->setTextColor(lineColor);
    m_organizerLabel->setBackgroundColor(platform::Color::clear());
    contentView()->addSubview(m_organizerLabel);
}

void EmploymentTableViewCell::show(const RecruitmentModel& record) {
    m_titleLabel->setText(record.YRDWMC);
    m_timeLabel->setText(record.JZSJ);
    m_placeLabel->setText(record.DWDZ == kBlankAddress ? kNoAddress : record.DWDZ);
    m_placeImageView->setHidden(false);
    m_placeLabel->setHidden(false);
    m_organizerLabel->setHidden(true);
}

void EmploymentTableViewCell::show(const JobFairModel& record) {
    m_titleLabel->setText(record.ZT);
    m_timeLabel->setText(record.APRQ);
    m_organizerLabel->setText(record.ZBDW);
    m_placeImageView->setHidden(true);
    m_placeLabel->setHidden(true);
    m_organizerLabel->setHidden(false);
}
