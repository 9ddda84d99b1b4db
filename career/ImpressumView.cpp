#include "career/ImpressumView.h"

#include <algorithm>
#include <optional>
#include <string>

#include "client/MyTool.h"
#include "client/Record.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"

namespace {

struct Row {
    const char* caption;
    const char* key;
    double captionWidth;
};
constexpr Row kRows[] = {{"所属行业", "sshy", 70},    {"单位性质", "dwxz", 70},
                         {"机构类型", "jglx", 70},    {"单位地址", "dwdz", 70},
                         {"单位联系人", "dwlxr", 80}, {"联系电话", "lxdh", 80}};
constexpr int kAddressRow = 3;

constexpr double kCaptionX = 14;
constexpr double kCaptionHeight = 20;
constexpr double kFirstRowTop = 14;
// Values start 25 after a 70-point caption, also where the caption is wider.
constexpr double kValueX = kCaptionX + 70 + 25;
constexpr double kValueHeight = 20;
// The first value is a little taller, though its separator keeps to the others' spacing.
constexpr double kFirstValueHeight = 25;
// A separator lies this far below its row's value, and the next row this far below it.
constexpr double kValueToSeparator = 13.5;
constexpr double kSeparatorToRow = 14;
constexpr double kSeparatorHeight = 0.5;
// Everything but the address's own height: the rows, their spacing and the bottom margin.
constexpr double kFixedHeight = 268;

const char* const kCaptionColor = "333333";
const char* const kValueColor = "777777";
const char* const kSeparatorColor = "dadada";
const char* const kNullText = "null";

}  // namespace

ImpressumView::ImpressumView(const platform::Rect& frame, const platform::Json& allDetailDic)
    : View(frame) {
    createUI(allDetailDic);
}

ImpressumView::~ImpressumView() = default;

const std::shared_ptr<platform::Label>& ImpressumView::valueLabel(int row) const {
    return m_valueLabels[std::clamp(row, 0, 5)];
}

void ImpressumView::createUI(const platform::Json& detail) {
    const double width = frame().size.width;
    setBackgroundColor(MyTool::colorWithString("ffffff"));
    const platform::Font valueFont = platform::Font::systemFont(kValueFontSize);

    double top = kFirstRowTop;
    double addressHeight = 0;
    for (int i = 0; i < 6; ++i) {
        const Row& row = kRows[i];
        auto caption = View::make<platform::Label>(
            platform::Rect{{kCaptionX, top}, {row.captionWidth, kCaptionHeight}});
        caption->setText(row.caption);
        caption->setFont(platform::Font::systemFont(16));
        caption->setTextColor(MyTool::colorWithString(kCaptionColor));
        addSubview(caption);

        // Absent (or null) stays empty, and an absent address needs no room at all.
        const bool present =
            detail.is_object() && detail.contains(row.key) && !detail[row.key].is_null();
        std::string value = present ? recordText(detail[row.key]) : "";
        double valueWidth = width - 123;
        double valueHeight = kValueHeight;
        if (i == 0) {
            valueWidth = width - 118;
            valueHeight = kFirstValueHeight;
        } else if (i == kAddressRow) {
            if (value == kNullText)
                value = kNoAddress;
            // Measured 15 points wider than the label is, as the service's pages always were.
            valueHeight = MyTool::heightOfLabel(
                present ? std::optional<std::string>(value) : std::nullopt, valueFont, width - 108);
            addressHeight = valueHeight;
        }
        auto valueLabel =
            View::make<platform::Label>(platform::Rect{{kValueX, top}, {valueWidth, valueHeight}});
        valueLabel->setText(value);
        valueLabel->setFont(valueFont);
        valueLabel->setTextColor(MyTool::colorWithString(kValueColor));
        if (i >= kAddressRow)
            valueLabel->setNumberOfLines(0);
        addSubview(valueLabel);
        m_valueLabels[i] = valueLabel;

        if (i == 5)
            break;
        const double spacedHeight = i == 0 ? kValueHeight : valueHeight;
        const double separatorTop = top + spacedHeight + kValueToSeparator;
        auto separator =
            View::make<View>(platform::Rect{{0, separatorTop}, {width, kSeparatorHeight}});
        separator->setBackgroundColor(MyTool::colorWithString(kSeparatorColor));
        addSubview(separator);
        top = separatorTop + kSeparatorToRow;
    }
    m_size = static_cast<int>(addressHeight + kFixedHeight);
}
