#pragma once

#include <string>

#include "campus/Announcement.h"
#include "campus/NewsDetailsViewController.h"

// The notice twin of the news detail page: the hub hands it the notice and its channel's name,
// which it shows as the navigation title; headline, time and body come from the notice.
class AnnouncementDetailViewController : public NewsDetailsViewController {
public:
    const Announcement& announcement() const { return m_announcement; }
    void setAnnouncement(Announcement notice) {
        setTitleStr(notice.xwbt);
        setTimeStr(notice.fbsj);
        setContentStr(notice.xwnr);
        m_announcement = std::move(notice);
    }

    // The notice's web view, by the name the notice page gives it.
    const std::shared_ptr<platform::WebView>& myWebView() const { return contentWebView(); }

private:
    Announcement m_announcement;
};
