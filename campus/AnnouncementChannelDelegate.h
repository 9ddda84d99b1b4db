#pragma once

#include <string>
#include <vector>

#include "campus/Announcement.h"
#include "platform/ui/IndexPath.h"

// What a notice channel page asks of its hub: open the notice of the tapped row, from the
// page's records, under the channel's title for the detail page.
class AnnouncementChannelDelegate {
public:
    virtual ~AnnouncementChannelDelegate() = default;
    virtual void pushVC(const platform::IndexPath& indexPath,
                        const std::vector<Announcement>& array, const std::string& naviTitile) = 0;
};

// Each channel page names its own protocol; all five are this one operation.
using pushVCOneDelegate = AnnouncementChannelDelegate;
using pushVCTwoDelegate = AnnouncementChannelDelegate;
using pushVCThreeDelegate = AnnouncementChannelDelegate;
using pushVCFourDelegate = AnnouncementChannelDelegate;
using pushVCFiveDelegate = AnnouncementChannelDelegate;
