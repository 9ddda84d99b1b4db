#include "career/PositionTableViewCell.h"

#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

constexpr double kCardMargin = 7;
constexpr double kLineWidth = 0.5;
const char* const kLineColor = "dadada";

}  // namespace

PositionTableViewCell::PositionTableViewCell(platform::TableViewCellStyle style,
                                             std::string reuseIdentifier)
    : TableViewCell(style, std::move(reuseIdentifier)) {
    createSub();
}

PositionTableViewCell::~PositionTableViewCell() = default;

void PositionTableViewCell::createSub() {
    const double cardWidth = platform::Screen::main().size().width - 2 * kCardMargin;
    auto card = View::make<View>(platform::Rect{{kCardMargin, 0}, {cardWidth, kHeight}});
    card->setBackgroundColor(MyTool::colorWithString("ffffff"));
    contentView()->addSubview(card);

    const platform::Rect lines[] = {
        {{0, kHeight - kLineWidth}, {cardWidth, kLineWidth}},  // bottom
        {{0, 0}, {kLineWidth, kHeight}},                       // left
        {{cardWidth - kLineWidth, 0}, {kLineWidth, kHeight}},  // right
    };
    for (const auto& frame : lines) {
        auto line = View::make<View>(frame);
        line->setBackgroundColor(MyTool::colorWithString(kLineColor));
        card->addSubview(line);
    }

    m_titleLabel = View::make<platform::Label>(platform::Rect{{14, 0}, {70, kHeight}});
    m_titleLabel->setBackgroundColor(platform::Color::clear());
    m_titleLabel->setTextColor(MyTool::colorWithString("333333"));
    m_titleLabel->setFont(platform::Font::systemFont(16));
    card->addSubview(m_titleLabel);

    m_contentLabel =
        View::make<platform::Label>(platform::Rect{{109, 0}, {cardWidth - 123, kHeight}});
    m_contentLabel->setFont(platform::Font::systemFont(15));
    m_contentLabel->setTextColor(MyTool::colorWithString("777777"));
    m_contentLabel->setBackgroundColor(platform::Color::clear());
    card->addSubview(m_contentLabel);
}
