#pragma once

#include <memory>

#include "client/OneWeekMeeting.h"
#include "platform/ui/ScrollView.h"

namespace platform {
class Label;
}

// The content of the meeting detail page: the subject as a centred heading, a line, then the
// captioned date, time, place, host, department and participants. Each row is as tall as its
// value's text, so values of several lines push the rows below down, and the content size
// reaches the end of the participants, so a long list can be scrolled to its end.
class MeetingDetailsScrollView : public platform::ScrollView {
public:
    static constexpr double kMargin = 18;
    static constexpr double kCaptionHeight = 17.895;
    static constexpr double kFontSize = 15;
    static constexpr double kHeadingFontSize = 18;
    static constexpr double kBottomMargin = 20;

    MeetingDetailsScrollView(const platform::Rect& frame, const OneWeekMeeting& oneWeekMeeting);
    ~MeetingDetailsScrollView() override;

    const std::shared_ptr<platform::Label>& nrLabel() const { return m_nrLabel; }
    const std::shared_ptr<platform::Label>& rqLabel() const { return m_rqLabel; }
    const std::shared_ptr<platform::Label>& sjLabel() const { return m_sjLabel; }
    const std::shared_ptr<platform::Label>& ddLabel() const { return m_ddLabel; }
    const std::shared_ptr<platform::Label>& zcrLabel() const { return m_zcrLabel; }
    const std::shared_ptr<platform::Label>& zjbmLabel() const { return m_zjbmLabel; }
    const std::shared_ptr<platform::Label>& cjryLabel() const { return m_cjryLabel; }

private:
    void createUI(const OneWeekMeeting& meeting);

    std::shared_ptr<platform::Label> m_nrLabel;
    std::shared_ptr<platform::Label> m_rqLabel;
    std::shared_ptr<platform::Label> m_sjLabel;
    std::shared_ptr<platform::Label> m_ddLabel;
    std::shared_ptr<platform::Label> m_zcrLabel;
    std::shared_ptr<platform::Label> m_zjbmLabel;
    std::shared_ptr<platform::Label> m_cjryLabel;
};
