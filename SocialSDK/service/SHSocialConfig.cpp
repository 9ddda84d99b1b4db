#include "SocialSDK/service/SHSocialConfig.h"

#include <algorithm>

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialTheme.h"
#include "SocialSDK/service/SHSocialToast.h"
#include "platform/ui/Application.h"

namespace {

bool listAnswer(const std::optional<std::vector<std::string>>& list, const std::string& name) {
    if (!list)
        return true;
    return std::find(list->begin(), list->end(), name) != list->end();
}

void markHidden(const std::vector<std::string>& names, bool hidden) {
    auto& registry = SHSocialSnsPlatformManager::sharedInstance();
    for (const auto& name : names) {
        if (!registry.isRegistered(name))
            continue;
        if (auto platform = registry.getSnsPlatformWithName(name))
            platform->platformInternal()->isHidden = hidden;
    }
}

}  // namespace

SHSocialConfigInternal::SHSocialConfigInternal() {
    setSocialTheme(socialTheme);
}

void SHSocialConfigInternal::setSocialTheme(int theme) {
    socialTheme = theme;
    if (theme == 0) {
        navigationbarConfig = SHSocialTheme::otherNavigationStyle;
        gridViewConfig = SHSocialTheme::otherGridStyle;
    } else {
        navigationbarConfig = SHSocialTheme::defaultNavigationStyle;
        tableViewCellConfig = SHSocialTheme::defaultCellStyle;
    }
}

void SHSocialConfigInternal::configureNavigationBar(
    const std::shared_ptr<platform::NavigationBar>& bar,
    const std::shared_ptr<platform::Button>& closeButton,
    const std::shared_ptr<platform::Button>& backButton,
    const std::shared_ptr<platform::Button>& postButton,
    const std::shared_ptr<platform::Button>& refreshButton, platform::NavigationItem* item) const {
    // A copy: the hook may set another one.
    if (auto config = navigationbarConfig)
        config(bar, closeButton, backButton, postButton, refreshButton, item);
}

bool SHSocialConfigInternal::showTheNotInstalledPlatform(const std::string& name) const {
    return listAnswer(showSnsPlatforms, name);
}

bool SHSocialConfigInternal::hiddenTheNotInstalledPlatform(const std::string& name) const {
    return listAnswer(hiddenSnsPlatforms, name);
}

bool SHSocialConfigInternal::shouldAutorotateToInterfaceOrientation(int orientation) const {
    const int bit = orientation >= 0 && orientation < 32 ? (1 << orientation) : 0;
    SHSocialUtils::outLog("mask is %d", bit);
    return bit != 0 && (socialInterfaceOrientations & bit) != 0;
}

int SHSocialConfigInternal::defaultInterfaceOrientations() {
    return platform::Application::shared().userInterfaceIdiom() == platform::UserInterfaceIdiom::Pad
               ? static_cast<int>(platform::OrientationMask::All)
               : static_cast<int>(platform::OrientationMask::Portrait);
}

void SHSocialConfig::setSnsPlatformNames(std::vector<std::vector<std::string>> names) {
    SHSocialConfigInternal::shareInstance().snsPlatformNames = std::move(names);
    SHSocialOpAnalytics::postSocialAnalytics("29");
}

void SHSocialConfig::setSupportedInterfaceOrientations(int mask) {
    SHSocialConfigInternal::shareInstance().socialInterfaceOrientations = mask;
    SHSocialOpAnalytics::postSocialAnalytics("30");
}

void SHSocialConfig::setFollowWeiboUids(std::map<std::string, std::vector<std::string>> uids) {
    SHSocialConfigInternal::shareInstance().followSnsUids = std::move(uids);
    SHSocialOpAnalytics::postSocialAnalytics("31");
}

void SHSocialConfig::addSocialSnsPlatform(
    const std::vector<std::shared_ptr<SHSocialSnsPlatform>>& platforms) {
    auto& registry = SHSocialSnsPlatformManager::sharedInstance();
    int nextType = 34;
    for (const auto& platform : platforms) {
        if (!platform) {
            SHSocialUtils::outLog("you must set a SHSocialSnsPlatform in snsPlatformArray!");
            continue;
        }
        if (registry.isRegistered(platform->platformName))
            continue;
        if (platform->shareToType == 0)
            platform->shareToType = nextType++;
        registry.addPlatform(platform);
    }
    SHSocialOpAnalytics::postSocialAnalytics("32");
}

void SHSocialConfig::setDefaultColor(const platform::Color& color) {
    SHSocialConfigInternal::shareInstance().defaultColor = color;
    SHSocialOpAnalytics::postSocialAnalytics("33");
}

void SHSocialConfig::setBoundsSizeForiPad(double width, double height) {
    auto& config = SHSocialConfigInternal::shareInstance();
    config.boundsForiPad = platform::Rect{{0, 0}, {width, height}};
    SHSocialOpAnalytics::postSocialAnalytics("34");
}

void SHSocialConfig::setShouldShareSynchronous(bool value) {
    SHSocialConfigInternal::shareInstance().shouldShareSynchronous = value;
    SHSocialOpAnalytics::postSocialAnalytics("35");
}

void SHSocialConfig::setShouldCommentWithShare(bool value) {
    SHSocialConfigInternal::shareInstance().shouldCommentWithShare = value;
    SHSocialOpAnalytics::postSocialAnalytics("36");
}

void SHSocialConfig::setShouldCommentWithLocation(bool value) {
    SHSocialConfigInternal::shareInstance().shouldCommentWithLocation = value;
    SHSocialOpAnalytics::postSocialAnalytics("37");
}

void SHSocialConfig::setSupportTencentSSO(bool value) {
    SHSocialConfigInternal::shareInstance().supportTencentSSO = value;
    SHSocialOpAnalytics::postSocialAnalytics("42");
}

SHSocialConfig::SHSocialConfig() {
    SHSocialiToastSettings::getSharedSettings().gravity = SHSocialiToastGravity::Top;
}

void SHSocialConfig::setTheme(int theme) {
    SHSocialConfigInternal::shareInstance().setSocialTheme(theme);
}

void SHSocialConfig::setShareGridViewTheme(SHSocialGridViewConfig config) {
    SHSocialConfigInternal::shareInstance().gridViewConfig = std::move(config);
}

void SHSocialConfig::setNavigationBarConfig(SHSocialNavigationBarConfig config) {
    SHSocialConfigInternal::shareInstance().navigationbarConfig = std::move(config);
}

void SHSocialConfig::setTableViewCellConfig(SHSocialTableViewCellConfig config) {
    SHSocialConfigInternal::shareInstance().tableViewCellConfig = std::move(config);
}

void SHSocialConfig::setFinishToastIsHidden(bool hidden, SHSocialiToastGravity position) {
    // The configuration's first use sets the position; it must not undo this one.
    shareInstance();
    auto& settings = SHSocialiToastSettings::getSharedSettings();
    settings.hidden = hidden;
    settings.gravity = position;
}

void SHSocialConfig::showNotInstallPlatforms(const std::vector<std::string>& names) {
    SHSocialConfigInternal::shareInstance().showSnsPlatforms = names;
    markHidden(names, false);
}

void SHSocialConfig::hiddenNotInstallPlatforms(
    const std::optional<std::vector<std::string>>& names) {
    const std::vector<std::string> list =
        names
            ? *names
            : std::vector<std::string>{"qq",           "qzone",    "wxsession",       "wxtimeline",
                                       "wxfavorite",   "laiwang",  "laiwang_dynamic", "yixin",
                                       "yixin_circle", "whatsapp", "tumblr",          "line",
                                       "instagram"};
    SHSocialConfigInternal::shareInstance().hiddenSnsPlatforms = list;
    markHidden(list, true);
}
