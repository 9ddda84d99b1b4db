#pragma once

#include <memory>

#include "platform/ui/ViewController.h"

namespace platform {
class Label;
}

// The about page: the app's version, "版本：" followed by the bundle's short version string.
// Pushed from the settings page over the tab bar.
class AboutUSViewController : public platform::ViewController {
public:
    AboutUSViewController();
    ~AboutUSViewController() override;

    // Null until the view has loaded.
    const std::shared_ptr<platform::Label>& versionsLabel() const { return m_versionsLabel; }

    // The page's root view and its label, built in code in place of its interface layout file.
    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    void createTabBar();
    void backBtnWithAction();

private:
    std::shared_ptr<platform::Label> m_versionsLabel;
};
