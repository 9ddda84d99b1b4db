#include "widgets/MeetingScrollView.h"

#include <array>
#include <string_view>

#include "platform/ui/Button.h"

namespace {

// The weekdays that open on a later page; any other text opens on page 0.
constexpr std::array<std::string_view, 6> kLaterWeekdays{"周二", "周三", "周四",
                                                         "周五", "周六", "周日"};

}  // namespace

std::shared_ptr<MeetingScrollView> MeetingScrollView::scrollWithFrame(const platform::Rect& frame,
                                                                      Views views,
                                                                      Titles buttonNames,
                                                                      int animationCode) {
    return make<MeetingScrollView>(frame, std::move(views), std::move(buttonNames), animationCode);
}

void MeetingScrollView::willSetUpTab(const std::shared_ptr<platform::Button>& tab) {
    m_temp = tab;
}

void MeetingScrollView::selectFirstTab(platform::Button& tab) {
    // Its unselected colour stays the usual one.
    tab.setSelected(true);
    tab.setTitleColor(current ? platform::Color::black() : platform::Color::white(),
                      platform::ControlState::Selected);
}

void MeetingScrollView::didBuild() {
    for (std::size_t i = 0; i < kLaterWeekdays.size(); ++i) {
        std::size_t page = i + 1;
        if (currentDate != kLaterWeekdays[i] || page >= buttons().size()) {
            continue;
        }
        // Set with the delegate attached, so the slider moves under that day's tab; the
        // selected tab stays tab 0 until the user taps or swipes.
        scroll2()->setContentOffset({double(page) * screenWidth(), 0});
    }
}
