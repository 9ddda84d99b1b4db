#include "SocialSDK/service/SHSocialControllerService.h"

#include <algorithm>
#include <mutex>

#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

namespace {

struct DefaultControllerService {
    std::mutex lock;
    std::shared_ptr<SHSocialControllerService> service;
};

DefaultControllerService& defaultSlot() {
    static DefaultControllerService slot;
    return slot;
}

std::weak_ptr<SHSocialIconSheetStandIn>& lastSheet() {
    static std::weak_ptr<SHSocialIconSheetStandIn> sheet;
    return sheet;
}

}  // namespace

SHSocialControllerService::Screens& SHSocialControllerService::screens() {
    static Screens screens;
    return screens;
}

SHSocialControllerService::SHSocialControllerService(std::shared_ptr<SHSocialData> data)
    : socialData(std::move(data)) {}

std::shared_ptr<SHSocialControllerService> SHSocialControllerService::defaultControllerService() {
    auto& slot = defaultSlot();
    std::lock_guard guard(slot.lock);
    if (!slot.service)
        slot.service = std::make_shared<SHSocialControllerService>(SHSocialData::defaultData());
    return slot.service;
}

void SHSocialControllerService::resetDefaultControllerService() {
    std::shared_ptr<SHSocialControllerService> old;
    auto& slot = defaultSlot();
    std::lock_guard guard(slot.lock);
    old = std::move(slot.service);
}

std::shared_ptr<SHSocialIconActionSheet>
SHSocialControllerService::getSocialIconActionSheetInControllerInternal(
    const std::shared_ptr<platform::ViewController>& controller) {
    if (screens().iconSheet)
        return screens().iconSheet(*this, controller);
    auto sheet = std::make_shared<SHSocialIconSheetStandIn>(weak_from_this(), controller);
    lastSheet() = sheet;
    return sheet;
}

std::shared_ptr<platform::ViewController>
SHSocialControllerService::getSocialShareEditControllerInternal(
    const std::string& platformName, const std::optional<std::string>& sourceOpType) {
    currentSnsPlatformName = platformName;
    return screens().shareEdit ? screens().shareEdit(*this, platformName, sourceOpType) : nullptr;
}

std::shared_ptr<platform::ViewController>
SHSocialControllerService::getSocialOauthControllerInternal(
    const std::string& platformName, const std::optional<std::string>& sourceOpType) {
    currentSnsPlatformName = platformName;
    return screens().oauth ? screens().oauth(*this, platformName, sourceOpType) : nullptr;
}

std::shared_ptr<platform::NavigationController>
SHSocialControllerService::getSocialShareListControllerInternal() {
    return screens().shareList ? screens().shareList(*this) : nullptr;
}

// --- The sheet's stand-in ---------------------------------------------------------------------

SHSocialIconSheetStandIn::SHSocialIconSheetStandIn(
    std::weak_ptr<SHSocialControllerService> service,
    std::weak_ptr<platform::ViewController> controller)
    : m_service(std::move(service)), m_controller(std::move(controller)) {}

void SHSocialIconSheetStandIn::setSnsNames(const std::vector<std::string>& names) {
    auto& registry = SHSocialSnsPlatformManager::sharedInstance();
    m_names.clear();
    for (const auto& name : names) {
        if (!registry.isRegistered(name))
            continue;
        auto internal = registry.getSnsPlatformWithName(name)->platformInternal();
        internal->shareStatus = "1";
        if (internal->isHidden && !(internal->socialLoginDelegate &&
                                    internal->socialLoginDelegate->isClientInstall(name)))
            continue;
        m_names.push_back(name);
    }
}

void SHSocialIconSheetStandIn::showInView(const std::shared_ptr<platform::View>& view) {
    m_view = view;
}

bool SHSocialIconSheetStandIn::tapPlatform(const std::string& name) {
    if (std::find(m_names.begin(), m_names.end(), name) == m_names.end())
        return false;
    auto platform = SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithName(name);
    if (!platform || !platform->snsClickHandler)
        return false;
    platform->snsClickHandler(m_controller.lock(), m_service.lock(), true);
    return true;
}

std::shared_ptr<SHSocialIconSheetStandIn> SHSocialIconSheetStandIn::lastShown() {
    return lastSheet().lock();
}
