#pragma once

#include "platform/ui/ViewController.h"

// The root of the "设置" tab: the settings page. For now it shows its title only; the rows,
// sign-out and the pages behind them arrive with the settings screens.
class OptionsViewController : public platform::ViewController {
public:
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
};
