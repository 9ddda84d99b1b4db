#pragma once

namespace platform::components {

class ProgressHUD;

// Hears when an overlay has finished hiding. The overlay holds its delegate weakly.
class ProgressHUDDelegate {
public:
    virtual ~ProgressHUDDelegate() = default;
    virtual void hudWasHidden(ProgressHUD& /*hud*/) {}
};

}  // namespace platform::components
