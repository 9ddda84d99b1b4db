#pragma once

#include "platform/ui/ViewController.h"

// The root of the "通讯录" tab: the staff directory. For now it shows its title only; the
// categories, members and search arrive with the campus screens.
class AddressBookViewController : public platform::ViewController {
public:
    // The screen's layout, built in code in place of its interface layout file.
    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
};
