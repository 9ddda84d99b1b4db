#include "shell/RightTableViewCell.h"

#include "client/MyTool.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

using platform::Rect;

namespace {

constexpr const char* kRuleColor = "5e554d";

// The row's geometry; the rule spans the panel (300 points on a 375-point screen) less its
// margins.
struct RowLayout {
    Rect rule;
    Rect icon;
    Rect title;

    static RowLayout forScreenWidth(double width) {
        const double u = width / 375;
        RowLayout l;
        l.rule = {{22, 51}, {300 * u - 44, 1}};
        l.icon = {{40, 13}, {250.0 / 9, 235.0 / 9}};
        l.title = {{l.icon.maxX() + 30, 13}, {120, l.icon.size.height}};
        return l;
    }
};

}  // namespace

RightTableViewCell::RightTableViewCell(platform::TableViewCellStyle style,
                                       std::string reuseIdentifier)
    : TableViewCell(style, std::move(reuseIdentifier)) {
    creatSubViews();
}

RightTableViewCell::~RightTableViewCell() = default;

void RightTableViewCell::creatSubViews() {
    const RowLayout layout = RowLayout::forScreenWidth(platform::Screen::main().size().width);

    auto rule = platform::View::make<platform::View>(layout.rule);
    rule->setBackgroundColor(MyTool::colorWithString(kRuleColor));
    contentView()->addSubview(rule);

    m_headImageView = platform::View::make<platform::ImageView>(layout.icon);
    m_headImageView->setBackgroundColor(platform::Color::clear());
    contentView()->addSubview(m_headImageView);

    m_nameLabel = platform::View::make<platform::Label>(layout.title);
    m_nameLabel->setBackgroundColor(platform::Color::clear());
    m_nameLabel->setTextColor(platform::Color::white());
    contentView()->addSubview(m_nameLabel);
}
