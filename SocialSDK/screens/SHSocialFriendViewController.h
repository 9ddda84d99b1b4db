#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/screens/SHSocialFriendSections.h"
#include "SocialSDK/service/SHSNetworkDelegate.h"
#include "platform/graphics/Image.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

class SHSFriendEntity;
class SHSGridViewItemClickedDelegate;
class SHSocialControllerService;
namespace platform {
class TableView;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// The friend picker: the user's friends on the current platform, grouped by the first letter
// of their pinyin under an index, with the recently mentioned friends on top, searchable by
// name. A picked friend goes to the delegate as "@" and the friend's link name, joins the
// recent ones, and the picker returns. Made by the controller service as screen type 9 and
// pushed by the edit screen, which is its delegate.
class SHSocialFriendViewController : public platform::ViewController,
                                     public SHSocialDataDelegate,
                                     public platform::TableViewDataSource,
                                     public platform::TableViewDelegate,
                                     public platform::SearchBarDelegate {
public:
    SHSocialFriendViewController() = default;

    // Not owned.
    std::weak_ptr<SHSocialControllerService> socialControllerService;
    std::weak_ptr<SHSGridViewItemClickedDelegate> shsDelegate;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Asks the share service for the platform's friends under the loading overlay.
    void refreshFriends();
    // Rebuilds the sections from the user manager's friends and recent mentions.
    void filterFriendArray();
    // The friend list has arrived (or failed): the sections show what the user manager holds.
    void didFinishGetSHSocialDataResponse(
        std::shared_ptr<SHSocialResponseEntity> response) override;
    // Searches the friends' names for the text, case ignored; nothing before friends are known.
    void searchFrinds(const std::string& text);
    // Back without a pick.
    void close();
    // The image redrawn at the size, at double resolution into an opaque picture on a screen
    // of scale 2.
    static platform::Image scaleToSize(platform::Size size, const platform::Image& image);
    // Search bar above, table below, across the view (whatever the previous orientation).
    void didRotateFromInterfaceOrientation(platform::InterfaceOrientation from) override;
    // The settings decide the orientations.
    bool shouldAutorotateToInterfaceOrientation(
        platform::InterfaceOrientation orientation) override;

    bool isSearch() const { return m_isSearch; }
    const SHSocialFriendSections& sections() const { return m_sections; }
    const std::vector<std::shared_ptr<SHSFriendEntity>>& searchResults() const {
        return m_searchResults;
    }
    const std::shared_ptr<platform::SearchBar>& searchBar() const { return m_searchBar; }
    const std::shared_ptr<platform::TableView>& tableView() const { return m_tableView; }
    const std::shared_ptr<platform::components::ProgressHUD>& hudView() const { return m_hud; }

    // platform::SearchBarDelegate
    void searchBarTextDidChange(platform::SearchBar& searchBar, const std::string& text) override;
    void searchBarSearchButtonClicked(platform::SearchBar& searchBar) override;
    // platform::TableViewDataSource
    int numberOfSections(platform::TableView& tableView) override;
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::optional<std::string> titleForHeaderInSection(platform::TableView& tableView,
                                                       int section) override;
    std::vector<std::string> sectionIndexTitlesForTableView(
        platform::TableView& tableView) override;
    int sectionForSectionIndexTitle(platform::TableView& tableView, const std::string& title,
                                    int index) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    // platform::TableViewDelegate
    double heightForRowAtIndexPath(platform::TableView& tableView,
                                   const platform::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;
    void scrollViewWillBeginDragging(platform::ScrollView& scrollView) override;

    static constexpr const char* kCellIdentifier = "SocialFriendListCell";
    static constexpr double kSearchBarHeight = 50;
    static constexpr double kRowHeight = 44;
    static constexpr double kAvatarSide = 35;

private:
    std::string platformName() const;
    std::shared_ptr<SHSFriendEntity> friendAt(const platform::IndexPath& indexPath) const;
    void friendsArrived(const std::shared_ptr<SHSocialResponseEntity>& response);

    SHSocialFriendSections m_sections;
    std::vector<std::shared_ptr<SHSFriendEntity>> m_searchResults;
    bool m_isSearch = false;
    // A friend request is out and its answer not yet shown.
    bool m_fetching = false;
    std::shared_ptr<platform::SearchBar> m_searchBar;
    std::shared_ptr<platform::TableView> m_tableView;
    std::shared_ptr<platform::components::ProgressHUD> m_hud;
};
