#pragma once

#include "platform/ui/ViewController.h"

// The notice hub. Its channels come with the campus screens; for now it shows its title.
class AnnouncementViewController : public platform::ViewController {
public:
    static constexpr const char* kTitle = "通知公告";

    void viewDidLoad() override;
};
