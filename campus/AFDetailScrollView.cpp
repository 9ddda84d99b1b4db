#include "campus/AFDetailScrollView.h"

#include "campus/AcademicForum.h"
#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

constexpr double kCaptionX = 11;
constexpr double kCaptionHeight = 20;
constexpr double kValueX = 100;
constexpr double kFirstRowTop = 13;
// Between a value and the separator under it, and between the separator and the next row.
constexpr double kRowGap = 13;
constexpr double kSeparatorHeight = 1;
// 13 above the first row, 27 between rows six times, 21 below the last value.
constexpr double kSpacing = 196;

const char* const kCaptionColor = "333333";
const char* const kValueColor = "666666";
const char* const kSeparatorColor = "dadada";

}  // namespace

AFDetailScrollView::AFDetailScrollView(const platform::Rect& frame,
                                       const AcademicForum& academicForum)
    : ScrollView(frame) {
    createUI(academicForum);
}

AFDetailScrollView::~AFDetailScrollView() = default;

double AFDetailScrollView::valueWidth() {
    // The card is 7 in from either screen edge; values start at 100 and stop 7 short of it.
    return platform::Screen::main().size().width - 121;
}

double AFDetailScrollView::addRow(double top, const char* caption, double captionWidth,
                                  std::shared_ptr<platform::Label>& valueLabel,
                                  const std::string& value) {
    auto captionLabel = View::make<platform::Label>(
        platform::Rect{{kCaptionX, top}, {captionWidth, kCaptionHeight}});
    captionLabel->setText(caption);
    captionLabel->setTextColor(MyTool::colorWithString(kCaptionColor));
    captionLabel->setFont(platform::Font::systemFont(16));
    captionLabel->setBackgroundColor(platform::Color::clear());
    addSubview(captionLabel);

    const platform::Font font = platform::Font::systemFont(kValueFontSize);
    const double height = MyTool::heightOfLabel(value, font, valueWidth());
    valueLabel =
        View::make<platform::Label>(platform::Rect{{kValueX, top}, {valueWidth(), height}});
    valueLabel->setText(value);
    valueLabel->setTextColor(MyTool::colorWithString(kValueColor));
    valueLabel->setFont(font);
    valueLabel->setNumberOfLines(0);
    valueLabel->setTextAlignment(platform::TextAlignment::Left);
    valueLabel->setBackgroundColor(platform::Color::clear());
    addSubview(valueLabel);
    return top + height;
}

void AFDetailScrollView::createUI(const AcademicForum& lecture) {
    struct Row {
        const char* caption;
        double captionWidth;
        std::shared_ptr<platform::Label>& label;
        std::string value;
    };
    Row rows[] = {
        {"标题", 40, m_titleLabel, lecture.jzmc},
        {"日期", 60, m_timeLabel, lecture.timeRange()},
        {"承办单位", 70, m_unitLabel, lecture.jzzbdw},
        {"地点", 60, m_placeLabel, lecture.jzdd},
        {"讲座人", 70, m_lecturerLabel, lecture.jzrxm},
        {"讲座人简介", 85, m_introduceLabel, lecture.jzrms},
        {"讲座内容", 70, m_contentLabel, lecture.jznr},
    };
    const double cardWidth = frame().size.width;
    double top = kFirstRowTop;
    double valueHeights = 0;
    for (size_t i = 0; i < std::size(rows); ++i) {
        const double bottom =
            addRow(top, rows[i].caption, rows[i].captionWidth, rows[i].label, rows[i].value);
        valueHeights += bottom - top;
        if (i + 1 == std::size(rows))
            break;
        auto separator =
            View::make<View>(platform::Rect{{0, bottom + kRowGap}, {cardWidth, kSeparatorHeight}});
        separator->setBackgroundColor(MyTool::colorWithString(kSeparatorColor));
        addSubview(separator);
        top = bottom + kRowGap + kSeparatorHeight + kRowGap;
    }
    m_size = static_cast<int>(valueHeights + kSpacing);
}
