#pragma once

#include <string>

#include "platform/ui/ViewController.h"

// The base of the scanner screen: a light grey background under no bars, and a short text
// overlay on the application's last window.
class kCustomViewController : public platform::ViewController {
public:
    static constexpr double kHUDSeconds = 1.0;

    void viewDidLoad() override;
    // Text only, hidden after a second and then removed.
    void showHUDWithStr(const std::string& text);
};
