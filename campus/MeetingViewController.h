#pragma once

#include "platform/ui/ViewController.h"

// The root of the "会议" tab: the week's meetings. For now it shows its title only; the
// schedule itself arrives with the campus screens.
class MeetingViewController : public platform::ViewController {
public:
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
};
