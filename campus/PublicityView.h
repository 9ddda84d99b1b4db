#pragma once

#include <memory>

#include "campus/AnnouncementChannelView.h"

// Notice channel 3: the public announcements (its detail pages are titled with the two words the
// other way round from its tab).
class PublicityView : public AnnouncementChannelView {
public:
    static constexpr Channel kChannel{3, "公示公告", "公告公示：%@", false};

    PublicityView() : AnnouncementChannelView(kChannel) {}
    static std::shared_ptr<PublicityView> create() {
        return AnnouncementChannelView::create<PublicityView>();
    }
};
