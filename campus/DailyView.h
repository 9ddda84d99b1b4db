#pragma once

#include <memory>

#include "campus/AnnouncementChannelView.h"

// Notice channel 1: the daily notices; its first load shows the header refreshing.
class DailyView : public AnnouncementChannelView {
public:
    static constexpr Channel kChannel{1, "日常通知", "日常通知：%@", true};

    DailyView() : AnnouncementChannelView(kChannel) {}
    static std::shared_ptr<DailyView> create() {
        return AnnouncementChannelView::create<DailyView>();
    }
};
