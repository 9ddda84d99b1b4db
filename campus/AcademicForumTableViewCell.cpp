#include "campus/AcademicForumTableViewCell.h"

#include "campus/AcademicForum.h"
#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

constexpr double kLeft = 17;
constexpr double kTop = 10;
constexpr double kSecondLineHeight = 20;
constexpr double kTimeWidth = 80;

double screenWidth() {
    return platform::Screen::main().size().width;
}

// The title wraps inside this width.
double titleWidth() {
    return screenWidth() - 51;
}

std::shared_ptr<platform::Label> secondLineLabel() {
    auto label = platform::View::make<platform::Label>();
    label->setFont(platform::Font::systemFont(13));
    label->setTextColor(MyTool::colorWithString("93939a"));
    label->setBackgroundColor(platform::Color::clear());
    return label;
}

}  // namespace

AcademicForumTableViewCell::AcademicForumTableViewCell(platform::TableViewCellStyle style,
                                                       std::string reuseIdentifier)
    : TableViewCell(style, std::move(reuseIdentifier)) {
    createSub();
}

AcademicForumTableViewCell::~AcademicForumTableViewCell() = default;

void AcademicForumTableViewCell::createSub() {
    m_titleLabel = View::make<platform::Label>();
    m_titleLabel->setFont(platform::Font::systemFont(kTitleFontSize));
    m_titleLabel->setTextColor(MyTool::colorWithString("333333"));
    m_titleLabel->setNumberOfLines(0);
    m_titleLabel->setBackgroundColor(platform::Color::clear());
    contentView()->addSubview(m_titleLabel);

    m_zbdwLabel = secondLineLabel();
    contentView()->addSubview(m_zbdwLabel);

    m_timeLabel = secondLineLabel();
    m_timeLabel->setTextAlignment(platform::TextAlignment::Right);
    contentView()->addSubview(m_timeLabel);
}

double AcademicForumTableViewCell::titleHeight(const std::string& title) {
    return MyTool::heightOfLabel(title, platform::Font::systemFont(kTitleFontSize), titleWidth());
}

void AcademicForumTableViewCell::setCellDataText(const AcademicForum& lecture) {
    const double width = screenWidth();
    const double height = titleHeight(lecture.jzmc);
    m_titleLabel->setText(lecture.jzmc);
    m_titleLabel->setFrame({{kLeft, kTop}, {titleWidth(), height}});

    const double secondLineY = height + 20;
    const double organiserWidth = width - 131;
    m_zbdwLabel->setFrame({{kLeft, secondLineY}, {organiserWidth, kSecondLineHeight}});
    m_timeLabel->setFrame({{kLeft + organiserWidth, secondLineY}, {kTimeWidth, kSecondLineHeight}});

    setFrame({frame().origin, {width, height + kHeightBesideTitle}});
}
