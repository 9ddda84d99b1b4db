#pragma once

#include <memory>
#include <string>

namespace platform {
class View;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// Short forms for the overlays the screens show: toasts with an icon, a waiting overlay and
// the one-second text message. A null view means the application's last window (the one on
// top), for hiding as well as for showing, so that hideHUD finds what showMessage put up.
// Without any window, nothing is shown or hidden. Main thread only.
class ProgressHUDConveniences {
public:
    // How long toasts and text messages stay, in seconds.
    static constexpr double kToastDuration = 1.0;

    // An overlay of its own with the icon "MBProgressHUD.bundle/<icon>" above the text (no
    // label for an empty text), taken away after one second.
    static void show(const std::string& text, const std::string& icon,
                     const std::shared_ptr<platform::View>& view);
    static void showSuccess(const std::string& text);
    static void showSuccessToView(const std::string& text,
                                  const std::shared_ptr<platform::View>& view);
    static void showError(const std::string& text);
    static void showErrorToView(const std::string& text,
                                const std::shared_ptr<platform::View>& view);

    // A dimmed overlay with a spinner and the text that stays until hidden; taken off its
    // view when hidden.
    static std::shared_ptr<platform::components::ProgressHUD> showMessage(const std::string& text);
    static std::shared_ptr<platform::components::ProgressHUD> showMessageToView(
        const std::string& text, const std::shared_ptr<platform::View>& view);

    // Hides the topmost overlay still up on the view.
    static void hideHUD();
    static void hideHUDForView(const std::shared_ptr<platform::View>& view);

    // The screens' one-second text message: a text-only overlay with the text, taken off the
    // view when hidden. Returned so that a screen may restyle it (colour, font) at once.
    static std::shared_ptr<platform::components::ProgressHUD> showHUDWithStr(
        const std::shared_ptr<platform::View>& view, const std::string& text);
};
