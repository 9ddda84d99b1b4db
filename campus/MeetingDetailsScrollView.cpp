#include "campus/MeetingDetailsScrollView.h"

#include <algorithm>

#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"

using platform::Rect;

namespace {

constexpr const char* kTextColor = "555555";
constexpr const char* kHeadingColor = "333333";
constexpr const char* kLineColor = "c1c4d6";

// One captioned field: its caption and width, where its value starts and how much it takes
// off the width, and the gap above its caption.
struct Field {
    const char* caption;
    double captionWidth;
    double valueX;
    double widthLess;  // value width = W - widthLess
    double gapAbove;
    bool valueBelowCaption;
};

constexpr Field kDate{"日期：", 45, 68, 87, 17, false};
constexpr Field kTime{"时间：", 45, 68, 87, 5, false};
constexpr Field kPlace{"地点：", 45, 68, 87, 5, false};
constexpr Field kHost{"主持人：", 65, 83, 102, 5, false};
constexpr Field kDepartment{"执行部门：", 80, 98, 117, 5, false};
constexpr Field kParticipants{"参与者：", 80, 18, 37, 30, true};
// Between the participants' caption and their list.
constexpr double kParticipantsGap = 10;

}  // namespace

MeetingDetailsScrollView::MeetingDetailsScrollView(const Rect& frame,
                                                   const OneWeekMeeting& oneWeekMeeting)
    : ScrollView(frame) {
    createUI(oneWeekMeeting);
}

MeetingDetailsScrollView::~MeetingDetailsScrollView() = default;

void MeetingDetailsScrollView::createUI(const OneWeekMeeting& meeting) {
    setBackgroundColor(platform::Color::white());
    const double W = bounds().size.width;
    const platform::Font font = platform::Font::systemFont(kFontSize);
    const platform::Color textColor = MyTool::colorWithString(kTextColor);

    const platform::Font headingFont = platform::Font::systemFont(kHeadingFontSize);
    const double headingWidth = W - 37;
    m_nrLabel = make<platform::Label>(
        Rect{{kMargin, 17},
             {headingWidth, MyTool::heightOfLabel(meeting.subject, headingFont, headingWidth)}});
    m_nrLabel->setText(meeting.subject);
    m_nrLabel->setFont(headingFont);
    m_nrLabel->setTextColor(MyTool::colorWithString(kHeadingColor));
    m_nrLabel->setTextAlignment(platform::TextAlignment::Center);
    m_nrLabel->setNumberOfLines(0);
    m_nrLabel->setBackgroundColor(platform::Color::clear());
    addSubview(m_nrLabel);

    auto line = make<platform::View>(Rect{{kMargin, m_nrLabel->frame().maxY() + 17}, {W - 37, 1}});
    line->setBackgroundColor(MyTool::colorWithString(kLineColor));
    addSubview(line);

    // Each row starts below the taller of the previous caption and its value, so a value of
    // several lines never runs into the next row.
    double previousBottom = line->frame().maxY();
    auto addField = [&](const Field& field, const std::string& text) {
        const double top = previousBottom + field.gapAbove;
        auto caption =
            make<platform::Label>(Rect{{kMargin, top}, {field.captionWidth, kCaptionHeight}});
        caption->setText(field.caption);
        caption->setFont(font);
        caption->setTextColor(textColor);
        caption->setBackgroundColor(platform::Color::clear());
        addSubview(caption);

        const double valueTop =
            field.valueBelowCaption ? top + kCaptionHeight + kParticipantsGap : top;
        const double width = W - field.widthLess;
        auto value = make<platform::Label>(
            Rect{{field.valueX, valueTop}, {width, MyTool::heightOfLabel(text, font, width)}});
        value->setText(text);
        value->setFont(font);
        value->setTextColor(textColor);
        value->setTextAlignment(platform::TextAlignment::Left);
        value->setNumberOfLines(0);
        value->setBackgroundColor(platform::Color::clear());
        addSubview(value);
        previousBottom = std::max(caption->frame().maxY(), value->frame().maxY());
        return value;
    };

    m_rqLabel = addField(kDate, meeting.startDate + " " + meeting.week);
    m_sjLabel = addField(kTime, meeting.startTime);
    m_ddLabel = addField(kPlace, meeting.roomId);
    m_zcrLabel = addField(kHost, meeting.compere);
    m_zjbmLabel = addField(kDepartment, meeting.part);
    m_cjryLabel = addField(kParticipants, meeting.attendee);

    setContentSize({W, previousBottom + kBottomMargin});
}
