#include "career/EventDetailScrollView.h"

#include "career/JobFairModel.h"
#include "client/MyTool.h"
#include "platform/foundation/ComposedCharacters.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

constexpr double kCaptionX = 14;
constexpr double kFirstRowTop = 14;
constexpr double kLineHeight = 20;
constexpr double kValueX = 100;
// Between a value and the separator under it, and between the separator and the next row.
constexpr double kRowGap = 13;
constexpr double kSeparatorHeight = 1;
// The start time shows only its hours and minutes.
constexpr std::size_t kStartCharacters = 5;

const char* const kCaptionColor = "333333";
const char* const kValueColor = "666666";
const char* const kSeparatorColor = "dadada";

}  // namespace

EventDetailScrollView::EventDetailScrollView(const platform::Rect& frame, const JobFairModel& event,
                                             const Design& design)
    : ScrollView(frame) {
    createUI(event, design);
}

EventDetailScrollView::~EventDetailScrollView() = default;

double EventDetailScrollView::valueWidth() {
    return platform::Screen::main().size().width - 128;
}

std::string EventDetailScrollView::timeLine(const JobFairModel& event) {
    return event.APRQ + "  " + platform::substringOfCharacters(event.KSSJ, 0, kStartCharacters) +
           "-" + event.JSSJ;
}

EventDetailScrollView::Row EventDetailScrollView::typeRow() {
    return {"类型",
            40,
            [](const JobFairModel& e) { return e.ZPHLX; },
            &EventDetailScrollView::m_typeLabel,
            Lines::Wraps,
            1};
}

EventDetailScrollView::Row EventDetailScrollView::unitsRow(
    double captionWidth, std::string (*value)(const JobFairModel& event)) {
    return {"单位", captionWidth, value, &EventDetailScrollView::m_unitsLabel, Lines::One};
}

std::vector<EventDetailScrollView::Row> EventDetailScrollView::commonRows() {
    using E = EventDetailScrollView;
    return {
        {"地点", 60, [](const JobFairModel& e) { return e.JBDD; }, &E::m_siteLabel, Lines::One},
        {"时间", 60, &timeLine, &E::m_timeLabel, Lines::One},
        {"学历", 60, [](const JobFairModel& e) { return e.XL; }, &E::m_degreeLabel, Lines::One},
        {"专业", 85, [](const JobFairModel& e) { return e.ZY; }, &E::m_specialtyLabel,
         Lines::Grows},
        {"联系人", 70, [](const JobFairModel& e) { return e.LXR; }, &E::m_contactsLabel,
         Lines::One},
        {"联系电话", 70, [](const JobFairModel& e) { return e.LXDH; }, &E::m_workPhoneLabel,
         Lines::Grows},
        {"手机", 70, [](const JobFairModel& e) { return e.SJ; }, &E::m_phoneLabel, Lines::Wraps},
        {"传真", 70, [](const JobFairModel& e) { return e.CZ; }, &E::m_faxesLabel, Lines::Grows},
        {"E-mail", 70, [](const JobFairModel& e) { return e.EMAIL; }, &E::m_emialLabel,
         Lines::Wraps},
        {"发布人", 70, [](const JobFairModel& e) { return e.FBR; }, &E::m_releaseLabel,
         Lines::Wraps},
    };
}

void EventDetailScrollView::createUI(const JobFairModel& event, const Design& design) {
    const double cardWidth = frame().size.width;
    const platform::Font valueFont = platform::Font::systemFont(kValueFontSize);
    double top = kFirstRowTop;
    double grownHeights = 0;
    for (size_t i = 0; i < design.rows.size(); ++i) {
        const Row& row = design.rows[i];
        auto caption = View::make<platform::Label>(
            platform::Rect{{kCaptionX, top}, {row.captionWidth, kLineHeight}});
        caption->setText(row.caption);
        caption->setTextColor(MyTool::colorWithString(kCaptionColor));
        caption->setFont(platform::Font::systemFont(16));
        caption->setBackgroundColor(platform::Color::clear());
        caption->setNumberOfLines(1);
        addSubview(caption);

        const std::string text = row.value(event);
        double height = kLineHeight;
        if (row.lines == Lines::Grows) {
            // An empty value needs no room.
            height = text.empty() ? 0 : MyTool::heightOfLabel(text, valueFont, valueWidth());
            grownHeights += height;
        }
        const double valueTop = top - row.valueRaise;
        auto value = View::make<platform::Label>(
            platform::Rect{{kValueX, valueTop}, {valueWidth(), height}});
        value->setText(text);
        value->setTextColor(MyTool::colorWithString(kValueColor));
        value->setFont(valueFont);
        value->setBackgroundColor(platform::Color::clear());
        value->setTextAlignment(platform::TextAlignment::Left);
        value->setNumberOfLines(row.lines == Lines::One ? 1 : 0);
        addSubview(value);
        this->*row.label = value;

        if (i + 1 == design.rows.size())
            break;
        const double separatorTop = valueTop + height + kRowGap;
        auto separator =
            View::make<View>(platform::Rect{{0, separatorTop}, {cardWidth, kSeparatorHeight}});
        separator->setBackgroundColor(MyTool::colorWithString(kSeparatorColor));
        addSubview(separator);
        top = separatorTop + kSeparatorHeight + kRowGap;
    }
    m_size = static_cast<long>(grownHeights + design.fixedHeight);
}
