#pragma once

#include <memory>
#include <string>

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Button;
class Control;
class TableView;
}  // namespace platform

// The root of the "设置" tab: a two-row table ("意见反馈", for signed-in users, and "关于我们")
// and, while someone is signed in, the red "注销账号" button that signs the user out.
//
// The page lives as long as the tab bar, so the button follows the sign-in state each time the
// page appears: a sign-in made elsewhere (home tile, gated tab) brings it back.
class OptionsViewController : public platform::ViewController,
                              public platform::TableViewDataSource,
                              public platform::TableViewDelegate {
public:
    OptionsViewController();
    ~OptionsViewController() override;

    // Null until the view has loaded.
    const std::shared_ptr<platform::TableView>& myTableView() const { return m_myTableView; }
    // The sign-out button while it is on the page, else null.
    const std::shared_ptr<platform::Button>& logOutButton() const { return m_logOutButton; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

    void createTabBar();
    void createUI();
    // Sign-out: the session tells the home grid and forgets the user, then the page says so
    // and takes its button away.
    void buttonAction(platform::Control& sender);
    // A one-second text toast on the page's own view.
    void showHUDWithStr(const std::string& text);

    // platform::TableViewDataSource
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    // platform::TableViewDelegate
    double heightForRowAtIndexPath(platform::TableView& tableView,
                                   const platform::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;

private:
    std::shared_ptr<OptionsViewController> self();
    void openFeedback();
    void openAbout();
    void push(const std::shared_ptr<platform::ViewController>& page);

    std::shared_ptr<platform::TableView> m_myTableView;
    std::shared_ptr<platform::Button> m_logOutButton;
};
