#pragma once

#include <memory>
#include <string>
#include <vector>

#include "campus/ChineseString.h"
#include "platform/foundation/Json.h"
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

// The members of one organisation grouped by the pinyin initial of their names: one section
// per initial, headed by it, with the initials as the index down the table's right edge
// ("#" first, for names that start with anything but a Chinese character or a Latin-only
// name, and for names that are empty once cleaned). Each row opens its own member's
// detail page. An organisation without members shows the picture "暂无内容".
class MembersViewController : public platform::ViewController,
                              public platform::TableViewDataSource,
                              public platform::TableViewDelegate {
public:
    MembersViewController();
    ~MembersViewController() override;

    // The organisation whose members are listed, set by the opener before the screen loads.
    const std::string& orgIdString() const { return m_orgIdString; }
    void setOrgIdString(std::string orgId) { m_orgIdString = std::move(orgId); }

    // The screen's layout, built in code in place of its interface layout file.
    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    const std::shared_ptr<platform::TableView>& myTableView() const { return m_myTableView; }
    // The initials, one per section, in order.
    const std::vector<std::string>& indexArray() const { return m_sections.initials; }
    // The cleaned names of the section, in sorted order.
    std::vector<std::string> namesInSection(std::size_t section) const;
    // The member a row opens.
    const platform::Json& memberAt(const platform::IndexPath& indexPath) const;
    // The loading overlay while it shows, else null.
    std::shared_ptr<platform::components::ProgressHUD> HUD() const;
    // The picture "暂无内容" once a reply without members has come, else null.
    const std::shared_ptr<platform::ImageView>& emptyImage() const { return m_emptyImage; }

    void getMembersData(const std::string& orgId);
    void backBtnWithAction();

    // platform::TableViewDataSource / TableViewDelegate
    int numberOfSections(platform::TableView& tableView) override;
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    std::optional<std::string> titleForHeaderInSection(platform::TableView& tableView,
                                                       int section) override;
    std::vector<std::string> sectionIndexTitlesForTableView(
        platform::TableView& tableView) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;

private:
    const ChineseString* entryAt(const platform::IndexPath& indexPath) const;
    void membersArrived(const platform::Json& reply);
    void membersFailed(const NetError& error);

    std::string m_orgIdString;
    std::shared_ptr<platform::TableView> m_myTableView;
    // The members in reply order; each entry's source is its member's position here.
    std::vector<platform::Json> m_members;
    ChineseString::Sections m_sections;
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
    std::shared_ptr<platform::ImageView> m_emptyImage;
};
