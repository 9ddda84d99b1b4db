#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ScrollView.h"

namespace platform {
class Label;
}
struct JobFairModel;

// The card of the job-fair and career-talk detail pages: captioned rows one under the other,
// separated by lines, each value on one line, wrapped within its 20 points, or growing to the
// height its text needs. The two cards are this one design with their own row tables; the
// card's height (`size`) is the growing rows' heights plus a constant of its kind.
class EventDetailScrollView : public platform::ScrollView {
public:
    static constexpr double kValueFontSize = 15;

    enum class Lines {
        One,    // one line, 20 high
        Wraps,  // any number of lines within 20 points
        Grows,  // any number of lines, as high as the text needs (0 without a text)
    };
    using Label = std::shared_ptr<platform::Label>;
    struct Row {
        const char* caption;
        double captionWidth;
        std::string (*value)(const JobFairModel& event);
        Label EventDetailScrollView::*label;  // where the value label is kept
        Lines lines;
        double valueRaise = 0;  // how far the value stands above its caption
    };
    struct Design {
        std::vector<Row> rows;
        // The card's height without its growing rows' text: 14 above the first row, the rows'
        // fixed heights and spacing, and the room below the last value.
        double fixedHeight;
    };

    ~EventDetailScrollView() override;

    // The card's height in whole points.
    long size() const { return m_size; }
    // The width the values wrap at.
    static double valueWidth();

    // The value labels by row; typeLabel is the job fair's only.
    const Label& typeLabel() const { return m_typeLabel; }
    const Label& unitsLabel() const { return m_unitsLabel; }
    const Label& siteLabel() const { return m_siteLabel; }
    const Label& timeLabel() const { return m_timeLabel; }
    const Label& degreeLabel() const { return m_degreeLabel; }
    const Label& specialtyLabel() const { return m_specialtyLabel; }
    const Label& contactsLabel() const { return m_contactsLabel; }
    const Label& workPhoneLabel() const { return m_workPhoneLabel; }
    const Label& phoneLabel() const { return m_phoneLabel; }
    const Label& faxesLabel() const { return m_faxesLabel; }
    const Label& emialLabel() const { return m_emialLabel; }
    const Label& releaseLabel() const { return m_releaseLabel; }

    // "%@  %@-%@": the date, two blanks, the start's first five characters, "-", the end.
    static std::string timeLine(const JobFairModel& event);

protected:
    EventDetailScrollView(const platform::Rect& frame, const JobFairModel& event,
                          const Design& design);

    // The job fair's type, which wraps within its row and stands one point above its caption.
    static Row typeRow();
    // "单位", of the given caption width and value.
    static Row unitsRow(double captionWidth, std::string (*value)(const JobFairModel& event));
    // The rows both cards end with, from "地点" on.
    static std::vector<Row> commonRows();

private:
    void createUI(const JobFairModel& event, const Design& design);

    Label m_typeLabel;
    Label m_unitsLabel;
    Label m_siteLabel;
    Label m_timeLabel;
    Label m_degreeLabel;
    Label m_specialtyLabel;
    Label m_contactsLabel;
    Label m_workPhoneLabel;
    Label m_phoneLabel;
    Label m_faxesLabel;
    Label m_emialLabel;
    Label m_releaseLabel;
    long m_size{0};
};
