#include "campus/OneWeekTableViewCell.h"

#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

OneWeekTableViewCell::OneWeekTableViewCell(platform::TableViewCellStyle style,
                                           std::string reuseIdentifier)
    : TableViewCell(style, std::move(reuseIdentifier)) {
    createSub();
}

OneWeekTableViewCell::~OneWeekTableViewCell() = default;

void OneWeekTableViewCell::createSub() {
    const double width = platform::Screen::main().size().width - 54;

    m_nrLabel = platform::View::make<platform::Label>(platform::Rect{{17, 5}, {width, 50}});
    m_nrLabel->setTextColor(MyTool::colorWithString("4c4949"));
    m_nrLabel->setFont(platform::Font::systemFont(16));
    m_nrLabel->setNumberOfLines(0);
    contentView()->addSubview(m_nrLabel);

    m_dateLabel = platform::View::make<platform::Label>(platform::Rect{{17, 55}, {width, 20}});
    m_dateLabel->setTextColor(platform::Color::lightGray());
    m_dateLabel->setFont(platform::Font::systemFont(14));
    m_dateLabel->setTextAlignment(platform::TextAlignment::Right);
    contentView()->addSubview(m_dateLabel);
}
