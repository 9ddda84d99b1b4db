#pragma once

#include "platform/ui/ViewController.h"

// The lecture list. Its table comes with the campus screens; for now it shows its title.
class AcademicForumViewController : public platform::ViewController {
public:
    static constexpr const char* kTitle = "学术讲座";

    void viewDidLoad() override;
};
