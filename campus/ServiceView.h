#pragma once

#include <memory>

#include "campus/AnnouncementChannelView.h"

// Notice channel 5: the service guides.
class ServiceView : public AnnouncementChannelView {
public:
    static constexpr Channel kChannel{5, "办事指南", "办事指南：%@", false};

    ServiceView() : AnnouncementChannelView(kChannel) {}
    static std::shared_ptr<ServiceView> create() {
        return AnnouncementChannelView::create<ServiceView>();
    }
};
