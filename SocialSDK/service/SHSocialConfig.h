#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/service/SHSSharedInstance.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

class SHSocialSnsPlatform;
enum class SHSocialiToastGravity : int;

namespace platform {
class BitmapContext;
class Button;
class Label;
class NavigationBar;
class NavigationItem;
class TableViewCell;
class View;
}  // namespace platform

// The host's hook on every SDK navigation bar: the bar, the close, back, post and refresh
// buttons and the navigation item whose title shows. Callers pass null for what they lack.
using SHSocialNavigationBarStyle = void(const std::shared_ptr<platform::NavigationBar>& bar,
                                        const std::shared_ptr<platform::Button>& closeButton,
                                        const std::shared_ptr<platform::Button>& backButton,
                                        const std::shared_ptr<platform::Button>& postButton,
                                        const std::shared_ptr<platform::Button>& refreshButton,
                                        platform::NavigationItem* item);
using SHSocialNavigationBarConfig = std::function<SHSocialNavigationBarStyle>;
// The host's hook on the share sheet's grid: the drawing context of the grid lines (the lines
// are stroked after it), the panel's background view and the caption template. Callers pass
// null for what they lack.
using SHSocialGridViewStyle = void(platform::BitmapContext* context,
                                   const std::shared_ptr<platform::View>& background,
                                   const std::shared_ptr<platform::Label>& captionTemplate);
using SHSocialGridViewConfig = std::function<SHSocialGridViewStyle>;
// The host's hook on a new cell of an SDK table, with the screen type that made it.
using SHSocialTableViewCellStyle = void(const std::shared_ptr<platform::TableViewCell>& cell,
                                        int screenType);
using SHSocialTableViewCellConfig = std::function<SHSocialTableViewCellStyle>;

// The share SDK's settings. Main thread.
class SHSocialConfigInternal {
public:
    static SHSocialConfigInternal& shareInstance() {
        return SHSSharedInstance<SHSocialConfigInternal>::get();
    }
    static void resetSharedInstance() { SHSSharedInstance<SHSocialConfigInternal>::reset(); }

    // Each entry a platform name or a list of names.
    std::vector<std::vector<std::string>> snsPlatformNames{{"sina"},   {"tencent"},  {"qzone"},
                                                           {"renren"}, {"douban"},   {"email"},
                                                           {"sms"},    {"facebook"}, {"twitter"}};
    platform::Color defaultColor = platform::Color::white();
    bool shouldCommentWithLocation = true;
    bool shouldCommentWithShare = true;
    bool shouldShareSynchronous = false;
    bool supportSinaSSO = false;
    bool supportTencentSSO = false;
    bool supportQzoneSSO = false;
    bool shareQzoneWithQQSDK = true;
    int qqType = 0;
    bool shouldShowAllPlatforms = false;
    int socialTheme = 1;
    // The size the SDK's screens take in their sheet on a tablet.
    platform::Rect boundsForiPad{{0, 0}, {533, 590}};
    std::optional<std::vector<std::string>> showSnsPlatforms = std::vector<std::string>();
    std::optional<std::vector<std::string>> hiddenSnsPlatforms = std::vector<std::string>();
    // Interface-orientation mask: all four (30) on a tablet, portrait (2) elsewhere.
    int socialInterfaceOrientations = defaultInterfaceOrientations();
    std::map<std::string, std::vector<std::string>> followSnsUids;
    SHSocialNavigationBarConfig navigationbarConfig;
    SHSocialGridViewConfig gridViewConfig;
    SHSocialTableViewCellConfig tableViewCellConfig;

    // Stores the theme and installs its styles: theme 0 its bar and grid styles, any other
    // theme the default bar and cell styles; the hooks it does not name keep their values.
    void setSocialTheme(int theme);
    // Runs the navigation-bar hook, when one is set, with what the caller has.
    void configureNavigationBar(const std::shared_ptr<platform::NavigationBar>& bar,
                                const std::shared_ptr<platform::Button>& closeButton,
                                const std::shared_ptr<platform::Button>& backButton,
                                const std::shared_ptr<platform::Button>& postButton,
                                const std::shared_ptr<platform::Button>& refreshButton,
                                platform::NavigationItem* item) const;

    bool showTheNotInstalledPlatform(const std::string& name) const;
    bool hiddenTheNotInstalledPlatform(const std::string& name) const;
    bool shouldAutorotateToInterfaceOrientation(int orientation) const;
    static int defaultInterfaceOrientations();

private:
    friend class SHSSharedInstance<SHSocialConfigInternal>;
    SHSocialConfigInternal();
};

// The host's settings API; the marked setters count their usage operation.
class SHSocialConfig {
public:
    static SHSocialConfig& shareInstance() { return SHSSharedInstance<SHSocialConfig>::get(); }
    static void resetSharedInstance() { SHSSharedInstance<SHSocialConfig>::reset(); }

    bool hiddenLoadingHUD = false;
    bool hiddenStatusTip = false;

    static void setSnsPlatformNames(std::vector<std::vector<std::string>> names);          // "29"
    static void setSupportedInterfaceOrientations(int mask);                               // "30"
    static void setFollowWeiboUids(std::map<std::string, std::vector<std::string>> uids);  // "31"
    // Adds the platforms whose names are not registered yet; those of type 0 get 34, 35, ...
    static void addSocialSnsPlatform(
        const std::vector<std::shared_ptr<SHSocialSnsPlatform>>& platforms);  // "32"
    static void setDefaultColor(const platform::Color& color);                // "33"
    static void setBoundsSizeForiPad(double width, double height);            // "34"
    static void setShouldShareSynchronous(bool value);                        // "35"
    static void setShouldCommentWithShare(bool value);                        // "36"
    static void setShouldCommentWithLocation(bool value);                     // "37"
    static void setSupportTencentSSO(bool value);                             // "42"
    static void setTheme(int theme);
    static void setShareGridViewTheme(SHSocialGridViewConfig config);
    static void setNavigationBarConfig(SHSocialNavigationBarConfig config);
    static void setTableViewCellConfig(SHSocialTableViewCellConfig config);
    // Marks the registered platforms of the names as shown (not hidden).
    static void showNotInstallPlatforms(const std::vector<std::string>& names);
    // Marks them hidden; none hides the default list of client-app platforms.
    static void hiddenNotInstallPlatforms(const std::optional<std::vector<std::string>>& names);
    // Whether the SDK's toasts show, and where.
    static void setFinishToastIsHidden(bool hidden, SHSocialiToastGravity position);
    static void hiddenLoadingHUDFlag(bool hidden) { shareInstance().hiddenLoadingHUD = hidden; }
    static void hiddenStatusTipFlag(bool hidden) { shareInstance().hiddenStatusTip = hidden; }

private:
    friend class SHSSharedInstance<SHSocialConfig>;
    // Puts the SDK's toasts at the top.
    SHSocialConfig();
};
