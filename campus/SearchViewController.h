#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Json.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/TextFieldDelegate.h"
#include "platform/ui/ViewController.h"

struct NetError;
namespace platform {
class Button;
class ImageView;
class TableView;
class TextField;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// The staff directory's member search: a text field and a button over the results of the
// latest search; a tapped result opens the member's detail page. A search without results
// shows the picture "暂无内容".
//
// The text is sent as typed (spaces included) and arrives at the service intact, "&", "="
// and "+" too. Only the latest search counts: a reply to an earlier search that arrives
// after a newer one was started is dropped, so the list always shows what was searched last.
class SearchViewController : public platform::ViewController,
                             public platform::TextFieldDelegate,
                             public platform::TableViewDataSource,
                             public platform::TableViewDelegate {
public:
    static constexpr const char* kPlaceholder = "请输入姓名";
    static constexpr const char* kButtonTitle = "搜索";
    // Handles for the driver and the terminal front end.
    static constexpr const char* kFieldHandle = "search-text";
    static constexpr const char* kButtonHandle = "search-button";

    SearchViewController();
    ~SearchViewController() override;

    // The screen's layout, built in code in place of its interface layout file.
    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

    const std::shared_ptr<platform::View>& view1() const { return m_view1; }
    const std::shared_ptr<platform::TextField>& myTextField() const { return m_myTextField; }
    const std::shared_ptr<platform::Button>& senderButton() const { return m_senderButton; }
    // The result list of the latest search; null before the first, and once a search found
    // nobody.
    const std::shared_ptr<platform::TableView>& myTableView() const { return m_myTableView; }
    const std::vector<std::string>& nameArr() const { return m_nameArr; }
    const std::vector<platform::Json>& resultMembers() const { return m_members; }
    // The overlay of the running search while it shows, else null.
    std::shared_ptr<platform::components::ProgressHUD> HUD() const;
    // The picture "暂无内容" while it shows, else null.
    std::shared_ptr<platform::ImageView> emptyImage() const;

    void searchButton();
    void getsenderData(const std::string& text);
    void backBtnWithAction();

    // platform::TextFieldDelegate: the return key starts a search.
    bool textFieldShouldReturn(platform::TextField& field) override;
    // platform::TableViewDataSource / TableViewDelegate
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;
    // Dragging the results puts the keyboard away.
    void scrollViewWillBeginDragging(platform::ScrollView& scrollView) override;

private:
    void createTabBar();
    void startSearch();
    void searchArrived(std::uint64_t search, const platform::Json& reply);
    void searchFailed(const NetError& error);

    std::shared_ptr<platform::View> m_view1;
    std::shared_ptr<platform::TextField> m_myTextField;
    std::shared_ptr<platform::Button> m_senderButton;
    std::shared_ptr<platform::TableView> m_myTableView;
    std::vector<std::string> m_nameArr;
    std::vector<platform::Json> m_members;
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
    std::shared_ptr<platform::ImageView> m_emptyImage;
    // Counts the searches started; a reply is shown only if it answers the latest.
    std::uint64_t m_latestSearch{0};
};
