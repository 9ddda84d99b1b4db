#pragma once

#include <memory>
#include <string>
#include <vector>

#include "client/Organization.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

struct NetError;
namespace platform {
class ImageView;
class Label;
class TableView;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// The root of the "通讯录" tab: the staff directory. A teacher sees the organisation
// categories the app service lists for teachers under a search strip that opens the member
// search; a tapped category opens the list of its members. Any other user sees a white cover
// with the picture "Telephonebook-nopermissions" instead, and nothing is sent.
//
// Who is signed in is asked on loading and again each time the tab appears, so a sign-out or
// a sign-in in between shows the right state; each categories reply replaces the list.
class AddressBookViewController : public platform::ViewController,
                                  public platform::TableViewDataSource,
                                  public platform::TableViewDelegate {
public:
    static constexpr const char* kCoverImage = "Telephonebook-nopermissions";
    static constexpr const char* kSearchStripText = "搜索";
    // Handles for the driver and the terminal front end.
    static constexpr const char* kSearchHandle = "search";
    static constexpr const char* kCoverHandle = "no-permission";
    static constexpr double kRowHeight = 45;

    AddressBookViewController();
    ~AddressBookViewController() override;

    // The screen's layout, built in code in place of its interface layout file.
    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    const std::shared_ptr<platform::View>& view1() const { return m_view1; }
    const std::shared_ptr<platform::Label>& label1() const { return m_label1; }
    const std::shared_ptr<platform::TableView>& listTableView() const { return m_listTableView; }
    const std::vector<Organization>& organizationArr() const { return m_organizationArr; }
    const std::shared_ptr<platform::View>& studentView() const { return m_studentView; }
    // The loading overlay of the first visit while it shows, else null.
    std::shared_ptr<platform::components::ProgressHUD> HUD() const;

    void getAddBookDataWithUserType(const std::string& userType);
    // The search strip was tapped: the member search is pushed.
    void tapAction();

    // platform::TableViewDataSource / TableViewDelegate
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(platform::TableView& tableView,
                                   const platform::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;

private:
    void createTabBar();
    void createStudentView();
    // Shows the cover to anyone but a teacher; asks for a teacher's categories.
    void applyRole();
    void categoriesArrived(const platform::Json& reply);
    void categoriesFailed(const NetError& error);

    std::shared_ptr<platform::View> m_view1;
    std::shared_ptr<platform::Label> m_label1;
    std::shared_ptr<platform::TableView> m_listTableView;
    std::vector<Organization> m_organizationArr;
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
    std::shared_ptr<platform::View> m_studentView;
};
