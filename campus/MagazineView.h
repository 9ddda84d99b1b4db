#pragma once

#include <memory>

#include "campus/AnnouncementChannelView.h"

// Notice channel 4: the in-house magazines.
class MagazineView : public AnnouncementChannelView {
public:
    static constexpr Channel kChannel{4, "内刊参阅", "内刊参阅：%@", false};

    MagazineView() : AnnouncementChannelView(kChannel) {}
    static std::shared_ptr<MagazineView> create() {
        return AnnouncementChannelView::create<MagazineView>();
    }
};
