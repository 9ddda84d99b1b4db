#pragma once

#include <memory>
#include <string>
#include <vector>

#include "campus/AnnouncementChannelDelegate.h"
#include "platform/ui/ViewController.h"

class AnnouncemeScrollViewer;
class AnnouncementChannelView;

// The notice hub "通知公告": the school's notices in five channels, each a paged list on its
// own page of the tab pager. All five channels ask for their first page as the hub opens;
// a tapped notice opens the detail page under its channel's title.
class AnnouncementViewController : public platform::ViewController,
                                   public AnnouncementChannelDelegate {
public:
    static constexpr const char* kTitle = "通知公告";

    AnnouncementViewController();
    ~AnnouncementViewController() override;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // Opens the notice at the row of the array, with the title on the detail page's bar.
    void pushVC(const platform::IndexPath& indexPath, const std::vector<Announcement>& array,
                const std::string& naviTitile) override;

    const std::shared_ptr<AnnouncemeScrollViewer>& annScrollViewer() const {
        return m_annScrollViewer;
    }
    // The five channel pages, in tab order.
    const std::vector<std::shared_ptr<AnnouncementChannelView>>& pages() const { return m_pages; }

    // The tab titles, in tab order (each with a space on either side).
    static const std::vector<std::string>& tabTitles();

private:
    void createTabBar();
    void createUI();
    void backBtnWithAction();

    std::shared_ptr<AnnouncemeScrollViewer> m_annScrollViewer;
    std::vector<std::shared_ptr<AnnouncementChannelView>> m_pages;
};
