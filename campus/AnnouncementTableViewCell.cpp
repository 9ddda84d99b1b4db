#include "campus/AnnouncementTableViewCell.h"

#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

constexpr double kTitleX = 17;
constexpr double kTitleY = 10;
constexpr double kTitleHeight = 40;
constexpr double kTimeWidth = 80;
constexpr double kTimeHeight = 15;

}  // namespace

AnnouncementTableViewCell::AnnouncementTableViewCell(platform::TableViewCellStyle style,
                                                     std::string reuseIdentifier)
    : TableViewCell(style, std::move(reuseIdentifier)) {
    createSub();
}

AnnouncementTableViewCell::~AnnouncementTableViewCell() = default;

void AnnouncementTableViewCell::createSub() {
    const double width = platform::Screen::main().size().width;

    m_titleLabel = platform::View::make<platform::Label>(
        platform::Rect{{kTitleX, kTitleY}, {width - 54, kTitleHeight}});
    m_titleLabel->setFont(platform::Font::systemFont(15));
    m_titleLabel->setTextColor(MyTool::colorWithString("333333"));
    m_titleLabel->setNumberOfLines(0);
    m_titleLabel->setBackgroundColor(platform::Color::clear());
    contentView()->addSubview(m_titleLabel);

    m_timeLabel = platform::View::make<platform::Label>(
        platform::Rect{{width - 120, kTitleHeight + 10}, {kTimeWidth, kTimeHeight}});
    m_timeLabel->setFont(platform::Font::systemFont(13));
    m_timeLabel->setTextColor(MyTool::colorWithString("93939a"));
    m_timeLabel->setTextAlignment(platform::TextAlignment::Right);
    m_timeLabel->setBackgroundColor(platform::Color::clear());
    contentView()->addSubview(m_timeLabel);
}
