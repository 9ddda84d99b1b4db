#pragma once

#include <memory>
#include <string>
#include <vector>

#include "SocialSDK/service/SHSocialShareList.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

class SHSocialControllerService;
namespace platform {
class TableView;
}

// The table form of the platform choice: one row per share platform with its icon and
// display name, closed by the controller service's close button. A row does what the icon
// sheet's icon does: a direct share when the host asks for one, else the platform's click
// road, pushing onto this list's navigation controller since the list is already presented.
class SHSShareListController : public platform::ViewController,
                               public platform::TableViewDataSource,
                               public platform::TableViewDelegate,
                               public SHSocialShareList {
public:
    static constexpr const char* kCellIdentifier = "SHSocialListCell";
    static constexpr double kRowHeight = 43;
    static constexpr double kSectionHeaderHeight = 10;
    static constexpr double kIconSide = 25;

    SHSShareListController();
    ~SHSShareListController() override;

    // The service that made the screen; not owned.
    std::shared_ptr<SHSocialControllerService> socialControllerService() const {
        return m_service.lock();
    }
    void setSocialControllerService(std::weak_ptr<SHSocialControllerService> service) {
        m_service = std::move(service);
    }

    // Keeps, in order, the registered platforms of the names whose companion is not hidden
    // (the list makes no installation test, unlike the sheet). Shown at once when the table
    // is already up.
    void setAllSnsArray(const std::vector<std::string>& names) override;
    // The configuration's form, where an entry may be a list of names: only single names are
    // rows; a list is not a name and is left out.
    void setAllSnsArray(const std::vector<std::vector<std::string>>& entries);
    const std::vector<std::string>& allSnsArray() const override { return m_allSnsArray; }

    // The image redrawn at that size, drawn from (0, 0) over the whole size.
    static platform::Image changeImage(const platform::Image& image, platform::Size size);

    // Null until the view has loaded.
    const std::shared_ptr<platform::TableView>& tableView() const { return m_tableView; }

    void loadView() override;
    void viewDidLoad() override;
    // On a tablet the sheet the list is presented in takes the configured size.
    void viewWillAppear(bool animated) override;
    // The settings decide the orientations; after a rotation the bar is styled again.
    bool shouldAutorotateToInterfaceOrientation(
        platform::InterfaceOrientation orientation) override;
    void didRotateFromInterfaceOrientation(platform::InterfaceOrientation from) override;

    // platform::TableViewDataSource
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    // platform::TableViewDelegate
    double heightForRowAtIndexPath(platform::TableView& tableView,
                                   const platform::IndexPath& indexPath) override;
    double heightForHeaderInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::View> viewForHeaderInSection(platform::TableView& tableView,
                                                           int section) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;

private:
    void fillCell(platform::TableViewCell& cell, const std::string& name);
    void directShare(const std::string& name,
                     const std::shared_ptr<SHSocialControllerService>& service);

    std::weak_ptr<SHSocialControllerService> m_service;
    std::vector<std::string> m_allSnsArray;
    std::shared_ptr<platform::TableView> m_tableView;
};
