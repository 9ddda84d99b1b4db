#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Json.h"
#include "platform/ui/GestureRecognizerDelegate.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

struct NetError;
namespace platform {
class ImageView;
class TableView;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// The members of one organisation of the staff directory, in the order the service sends
// them; a tapped member opens the member's detail page. An organisation without members
// shows the picture "暂无内容".
//
// The screen stands in as the delegate of its stack's edge-swipe gesture while it is on the
// stack (so the swipe goes back despite the custom back button) and hands the gesture its
// own gate back when it is popped; the gesture only ever holds it weakly.
class NewMembersViewController : public platform::ViewController,
                                 public platform::TableViewDataSource,
                                 public platform::TableViewDelegate,
                                 public platform::GestureRecognizerDelegate {
public:
    NewMembersViewController();
    ~NewMembersViewController() override;

    // The organisation whose members are listed, set by the opener before the screen loads.
    const std::string& orgIdString() const { return m_orgIdString; }
    void setOrgIdString(std::string orgId) { m_orgIdString = std::move(orgId); }

    void viewDidLoad() override;
    void viewWillDisappear(bool animated) override;

    const std::shared_ptr<platform::TableView>& myTableView() const { return m_myTableView; }
    const std::vector<platform::Json>& allMembersArr() const { return m_allMembersArr; }
    const std::vector<std::string>& nameArr() const { return m_nameArr; }
    // The loading overlay while it shows, else null.
    std::shared_ptr<platform::components::ProgressHUD> HUD() const;
    // The picture "暂无内容" once a reply without members has come, else null.
    const std::shared_ptr<platform::ImageView>& emptyImage() const { return m_emptyImage; }

    void getMembersData(const std::string& orgId);
    void backBtnWithAction();

    // platform::TableViewDataSource / TableViewDelegate
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;

private:
    void takeOverEdgeSwipe();
    void handBackEdgeSwipe();
    void createTableView();
    void membersArrived(const platform::Json& reply);
    void membersFailed(const NetError& error);

    std::string m_orgIdString;
    std::shared_ptr<platform::TableView> m_myTableView;
    std::vector<platform::Json> m_allMembersArr;
    std::vector<std::string> m_nameArr;
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
    std::shared_ptr<platform::ImageView> m_emptyImage;
    // The edge swipe taken over, and the delegate it had before.
    std::weak_ptr<platform::GestureRecognizer> m_edgeSwipe;
    std::weak_ptr<platform::GestureRecognizerDelegate> m_edgeSwipeDelegate;
};
