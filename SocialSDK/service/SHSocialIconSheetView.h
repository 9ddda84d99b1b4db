#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SocialSDK/service/SHSocialControllerService.h"
#include "platform/ui/View.h"

namespace platform {
class ImageView;
class ScrollView;
}  // namespace platform

// The share sheet: a panel that rises from the bottom of the host's screen over a dimmed
// backdrop with one icon and caption per platform, in a grid. A tap on an icon closes the
// panel and hands the platform's name to the handler; a tap on the backdrop only closes it.
class SHSocialIconSheetView : public platform::View, public SHSocialIconActionSheet {
public:
    static constexpr int kBackdropTag = 100;
    static constexpr int kSheetTag = 1013;
    static constexpr double kRowHeight = 80;
    static constexpr double kAnimationSeconds = 0.3;

    SHSocialIconSheetView(const std::vector<std::string>& items,
                          std::function<void(const std::string&)> handler);

    void setSnsNames(const std::vector<std::string>& names) override;
    const std::vector<std::string>& snsNames() const override { return m_snsNames; }
    // Puts the backdrop and the sheet into the view and lets the sheet rise into place.
    void showInView(const std::shared_ptr<platform::View>& view) override;
    // Lets the sheet sink and removes it with its backdrop; only the first call of a shown
    // sheet acts, so the completion runs once however the sheet is closed.
    void dismiss();
    // The icon of the platform type was tapped.
    void actionToSnsButton(int tag);
    // The user taps the platform's icon; false when the sheet does not show that name.
    bool tapPlatform(const std::string& name);

    std::function<void()> dismissCompletion;
    std::weak_ptr<platform::ViewController> presentingViewController;
    std::weak_ptr<SHSocialControllerService> socialControllerService;

    void layoutSubviews() override;
    std::string describe() const override;

    // The sheet shown last (tests, the front end).
    static std::shared_ptr<SHSocialIconSheetView> lastShown();

private:
    // Lays the grid out for the screen as it stands; a rotation's layout pass runs it again.
    void layoutGrid();
    // Whether the interface of the controller the sheet was made for is landscape.
    bool presentedInLandscape() const;
    void drawGrid(double column, double gridHeight);

    std::function<void(const std::string&)> m_handler;
    std::vector<std::string> m_snsNames;
    std::shared_ptr<platform::ScrollView> m_scroll;
    std::shared_ptr<platform::ImageView> m_background;
    int m_columns = 4;
    std::array<double, 4> m_gridKey{};
    bool m_shown = false;
    bool m_dismissed = false;
};
