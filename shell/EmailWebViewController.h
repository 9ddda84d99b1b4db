#pragma once

#include "platform/ui/ViewController.h"

// The mailbox page. Its web view comes with the mailbox screen; for now it shows its title.
class EmailWebViewController : public platform::ViewController {
public:
    static constexpr const char* kTitle = "邮箱";

    void viewDidLoad() override;
};
