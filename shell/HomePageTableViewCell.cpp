#include "shell/HomePageTableViewCell.h"

#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

constexpr double kImageX = 12;
constexpr double kImageWidth = 79;
constexpr double kTextX = kImageX + kImageWidth + 12;
constexpr double kTitleY = 18;
constexpr double kTitleHeight = 20;

}  // namespace

HomePageTableViewCell::HomePageTableViewCell(platform::TableViewCellStyle style,
                                             std::string reuseIdentifier)
    : TableViewCell(style, std::move(reuseIdentifier)) {
    const double textWidth = platform::Screen::main().size().width - 36 - kImageWidth;

    m_newImageView =
        platform::View::make<platform::ImageView>(platform::Rect{{kImageX, 10}, {kImageWidth, 55}});
    m_newImageView->setBackgroundColor(platform::Color::clear());
    contentView()->addSubview(m_newImageView);

    m_titleLabel = platform::View::make<platform::Label>(
        platform::Rect{{kTextX, kTitleY}, {textWidth, kTitleHeight}});
    m_titleLabel->setTextColor(MyTool::colorWithString("333333"));
    m_titleLabel->setBackgroundColor(platform::Color::clear());
    contentView()->addSubview(m_titleLabel);

    m_timeLabel = platform::View::make<platform::Label>(
        platform::Rect{{kTextX, kTitleY + kTitleHeight + 10}, {textWidth, 15}});
    m_timeLabel->setTextColor(MyTool::colorWithString("93939a"));
    m_timeLabel->setFont(platform::Font::systemFont(13));
    m_timeLabel->setTextAlignment(platform::TextAlignment::Right);
    m_timeLabel->setBackgroundColor(platform::Color::clear());
    contentView()->addSubview(m_timeLabel);
}

HomePageTableViewCell::~HomePageTableViewCell() = default;
