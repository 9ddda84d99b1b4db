#pragma once

#include <memory>
#include <string>

#include "platform/ui/View.h"

namespace platform {
class ActivityIndicatorView;
class Button;
class Image;
class Label;
class NavigationBar;
class NavigationItem;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// The SDK's loading overlay is the progress overlay component under a name of its own.
using SHSocialMBProgressHUD = platform::components::ProgressHUD;

// Gives the SDK's navigation bars and bar buttons the look of the configured theme, keeps and
// restores the host's bar translucency, and shows or hides the loading overlay.
class SHSocialUIHelper {
public:
    static SHSocialUIHelper& shareInstance();
    static void resetSharedInstance();

    static void customNavBar(const std::shared_ptr<platform::NavigationBar>& bar);
    static void setTranslucent(const std::shared_ptr<platform::NavigationBar>& bar);
    static void setNavigationBarTranslucent(const std::shared_ptr<platform::NavigationBar>& bar);
    // The colour of the SDK's titles in the default theme.
    static const platform::Color kTitleColor;
    // The item's title as a label of the colour, sized to the title, as its title view.
    static void customNavigationItem(platform::NavigationItem& item,
                                     const platform::Color& color = kTitleColor);
    // An image of the other theme's bar and buttons.
    static platform::Image otherThemeImage(const std::string& name);
    static void customNavBackButton(platform::Button& button, const std::string& title);
    static void customNavPostButton(platform::Button& button);
    static void customNavRefreshButton(platform::Button& button);
    static void customNavButton(platform::Button& button, const std::string& title);
    static void showHUD();
    static void hideHUD();

    bool isSetTranslucent = false;
    bool isTranslucent = false;
    std::shared_ptr<SHSocialMBProgressHUD> hud;
};

// The rounded grey please-wait panel with a status line and a spinner, shown by the sign-in
// page while its page loads.
class SHMaskView : public platform::View {
public:
    explicit SHMaskView(const platform::Rect& frame);
    // The fixed-size variant.
    static std::shared_ptr<SHMaskView> makeRoundedView();

    const std::shared_ptr<platform::Label>& statusLabel() const { return m_statusLabel; }
    const std::shared_ptr<platform::ActivityIndicatorView>& activityIndicatorView() const {
        return m_spinner;
    }
    bool isActivity() const { return m_isActivity; }
    void setIsActivity(bool activity);
    const std::string& statusText() const { return m_statusText; }
    void setStatusText(const std::string& text);

    void layoutSubviews() override;

private:
    std::shared_ptr<platform::Label> m_statusLabel;
    std::shared_ptr<platform::ActivityIndicatorView> m_spinner;
    bool m_isActivity = false;
    std::string m_statusText;
};
