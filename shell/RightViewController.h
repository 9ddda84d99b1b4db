#pragma once

#include "platform/ui/ViewController.h"

// The side menu: the panel the side-menu container uncovers at the right. For now a plain
// panel; the user's name, the weather and the rows arrive with the side menu itself.
class RightViewController : public platform::ViewController {
public:
    // The panel's layout, built in code in place of its interface layout file.
    void loadView() override;
};
