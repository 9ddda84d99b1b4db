#pragma once

namespace platform::components {

// What the overlay shows above its label.
enum class ProgressHUDMode {
    // A spinning activity indicator.
    Indeterminate,
    // A ring that fills with `progress`.
    Determinate,
    // The custom view (an icon, say).
    CustomView,
    // Only the labels.
    Text,
};

}  // namespace platform::components
