#include "career/NewStatisiticsTableViewCell.h"

#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

NewStatisiticsTableViewCell::NewStatisiticsTableViewCell(platform::TableViewCellStyle style,
                                                         std::string reuseIdentifier)
    : TableViewCell(style, std::move(reuseIdentifier)) {
    createSub();
}

NewStatisiticsTableViewCell::~NewStatisiticsTableViewCell() = default;

double NewStatisiticsTableViewCell::columnWidth() {
    return (platform::Screen::main().size().width - 2 * kColumnsLeft) / 4;
}

void NewStatisiticsTableViewCell::createSub() {
    const double width = columnWidth();
    double x = kColumnsLeft;
    auto column = [&] {
        auto label = View::make<platform::Label>(platform::Rect{{x, 0}, {width, kRowHeight}});
        label->setTextAlignment(platform::TextAlignment::Center);
        label->setTextColor(MyTool::colorWithString("4d4a4a"));
        label->setFont(platform::Font::systemFont(14));
        label->setNumberOfLines(0);
        contentView()->addSubview(label);
        x += width;
        return label;
    };
    m_xyLabel = column();
    m_lqLabel = column();
    m_bdLabel = column();
    m_cwLabel = column();
}
