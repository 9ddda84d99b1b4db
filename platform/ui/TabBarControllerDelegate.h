#pragma once

#include <memory>

namespace platform {

class TabBarController;
class ViewController;

// The tab bar controller's delegate; asked before a tapped tab is selected.
class TabBarControllerDelegate {
public:
    virtual ~TabBarControllerDelegate() = default;
    virtual bool shouldSelectViewController(TabBarController& /*tabBarController*/,
                                            const std::shared_ptr<ViewController>& /*controller*/) {
        return true;
    }
    virtual void didSelectViewController(TabBarController& /*tabBarController*/,
                                         const std::shared_ptr<ViewController>& /*controller*/) {}
};

}  // namespace platform
