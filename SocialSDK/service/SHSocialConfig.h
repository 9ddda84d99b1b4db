#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/service/SHSSharedInstance.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

class SHSocialSnsPlatform;

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

    bool showTheNotInstalledPlatform(const std::string& name) const;
    bool hiddenTheNotInstalledPlatform(const std::string& name) const;
    bool shouldAutorotateToInterfaceOrientation(int orientation) const;
    static int defaultInterfaceOrientations();

private:
    friend class SHSSharedInstance<SHSocialConfigInternal>;
    SHSocialConfigInternal() = default;
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
    // Marks the registered platforms of the names as shown (not hidden).
    static void showNotInstallPlatforms(const std::vector<std::string>& names);
    // Marks them hidden; none hides the default list of client-app platforms.
    static void hiddenNotInstallPlatforms(const std::optional<std::vector<std::string>>& names);
    static void hiddenLoadingHUDFlag(bool hidden) { shareInstance().hiddenLoadingHUD = hidden; }
    static void hiddenStatusTipFlag(bool hidden) { shareInstance().hiddenStatusTip = hidden; }

private:
    friend class SHSSharedInstance<SHSocialConfig>;
    SHSocialConfig() = default;
};
