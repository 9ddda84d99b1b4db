#include "SocialSDK/service/SHSocialControllerService.h"

#include <algorithm>
#include <mutex>

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSBarEntity.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSViewControllerFactory.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialIconSheetView.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "SocialSDK/service/SHSocialNavigationController.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialUIHelper.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace {

struct DefaultControllerService {
    std::mutex lock;
    std::shared_ptr<SHSocialControllerService> service;
};

// The application delegate's window; the key window for a host whose delegate keeps none.
std::shared_ptr<platform::Window> applicationWindow() {
    if (auto delegate = platform::Application::shared().delegate())
        if (auto window = delegate->window())
            return window;
    return platform::Application::shared().keyWindow();
}

DefaultControllerService& defaultSlot() {
    static DefaultControllerService slot;
    return slot;
}

}  // namespace

SHSocialControllerService::Screens& SHSocialControllerService::screens() {
    return SHSViewControllerFactory::sharedInstance().screens;
}

SHSocialControllerService::SHSocialControllerService(std::shared_ptr<SHSocialData> data)
    : socialData(std::move(data)) {
    // Releasing a data service drops the completion its subject is waiting with, so a road's
    // service that goes with its screens must not own one of its own for the default subject:
    // a share sent as the edit screen closes would lose its result. The default subject uses
    // the process's service (asked for when needed, never kept alive past it); any other
    // subject gets its own.
    if (socialData && socialData != SHSocialData::defaultData())
        m_ownDataService = std::make_shared<SHSocialDataService>(socialData);
}

std::shared_ptr<SHSocialDataService> SHSocialControllerService::socialDataService() const {
    return m_ownDataService ? m_ownDataService : SHSocialDataService::defaultDataService();
}

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

std::shared_ptr<SHSocialIconActionSheet> SHSocialControllerService::makeIconSheet(
    SHSocialControllerService& service,
    const std::shared_ptr<platform::ViewController>& controller) {
    std::weak_ptr<SHSocialControllerService> weakService = service.weak_from_this();
    std::weak_ptr<platform::ViewController> host = controller;
    auto sheet = std::make_shared<SHSocialIconSheetView>(
        SHSocialSnsPlatformManager::sharedInstance().allSnsValuesArray(),
        [weakService, host](const std::string& name) {
            auto self = weakService.lock();
            auto platform = SHSocialSnsPlatformManager::getSocialPlatformWithName(name);
            auto delegate = self ? self->socialUIDelegate() : nullptr;
            if (delegate && delegate->isDirectShareInIconActionSheet()) {
                SHSocialDataService::defaultDataService()->postSnsWithDictionary(
                    self->directShareDictionary(name, host.lock()));
                return;
            }
            if (platform && platform->snsClickHandler)
                platform->snsClickHandler(host.lock(), self, true);
        });
    sheet->setTag(SHSocialIconSheetView::kSheetTag);
    sheet->setHandle("share-sheet");
    sheet->presentingViewController = controller;
    sheet->socialControllerService = weakService;
    sheet->dismissCompletion = [weakService] {
        if (auto self = weakService.lock())
            if (auto delegate = self->socialUIDelegate())
                delegate->didCloseUIViewController(SHSViewControllerIconActionSheet);
    };
    return sheet;
}

std::shared_ptr<SHSocialIconActionSheet>
SHSocialControllerService::getSocialIconActionSheetInController(
    const std::shared_ptr<platform::ViewController>& controller) {
    SHSocialOpAnalytics::postSocialAnalytics("6");
    return getSocialIconActionSheetInControllerInternal(controller);
}

std::shared_ptr<platform::NavigationController>
SHSocialControllerService::getSocialShareListController() {
    SHSocialOpAnalytics::postSocialAnalytics("5");
    return getSocialShareListControllerInternal();
}

std::shared_ptr<SHSocialIconActionSheet>
SHSocialControllerService::getSocialIconActionSheetInControllerInternal(
    const std::shared_ptr<platform::ViewController>& controller) {
    currentViewController = controller;
    return screens().iconSheet ? screens().iconSheet(*this, controller) : nullptr;
}

SHSocialDataService::ContentDictionary SHSocialControllerService::directShareDictionary(
    const std::string& name, const std::shared_ptr<platform::ViewController>& controller) const {
    SHSocialDataService::ContentDictionary content;
    content.snsType = name;
    auto bar = SHSDataManager::currentDataManager()->barEntity();
    content.content = bar ? bar->shareTextFor(name) : std::nullopt;
    if (!content.content && socialData)
        content.content = socialData->shareText();
    if (bar)
        content.image = bar->shareImageFor(name);
    if (!SHSImageObjectIsSet(content.image) && socialData)
        content.image = socialData->shareImage();
    auto link = bar ? bar->urlResourceFor(name) : nullptr;
    if ((!link || link->resourceType == 0) && socialData)
        link = socialData->urlResource();
    if (link && link->resourceType != 0)
        content.urlResource = link;
    content.controller = controller;
    // The host's delegate is not owned: a result that comes after it has gone is dropped.
    std::weak_ptr<SHSocialUIDelegate> delegate = socialUIDelegate();
    content.completion = [delegate](std::shared_ptr<SHSocialResponseEntity> response) {
        if (auto listener = delegate.lock())
            listener->didFinishGetSHSocialDataInViewController(std::move(response));
    };
    return content;
}

void SHSocialControllerService::pushType(int type) {
    m_typeStack.push_back(type);
    m_currentType = type;
}

void SHSocialControllerService::rollBackType() {
    // A builder that yields no screen leaves no trace on the stack, so the next close still
    // reports the screen that is really open.
    if (!m_typeStack.empty())
        m_typeStack.pop_back();
    if (!m_typeStack.empty())
        m_currentType = m_typeStack.back();
}

std::shared_ptr<platform::NavigationController> SHSocialControllerService::wrap(
    const std::shared_ptr<platform::ViewController>& screen) {
    if (auto navigation = std::dynamic_pointer_cast<platform::NavigationController>(screen))
        return navigation;
    auto navigation = std::make_shared<SHSocialNavigationController>(screen);
    // The bar is themed before the view loads: loading it loads the screen's, whose own
    // styling (the host's bar hook among it) comes last, as when the screen appears.
    SHSocialUIHelper::customNavBar(navigation->navigationBar());
    navigation->view()->setBackgroundColor(SHSocialConfigInternal::shareInstance().defaultColor);
    if (platform::Application::shared().userInterfaceIdiom() == platform::UserInterfaceIdiom::Pad) {
        navigation->setModalPresentationStyle(platform::ModalPresentationStyle::FormSheet);
        navigation->setModalTransitionStyle(platform::ModalTransitionStyle::CoverVertical);
    }
    return navigation;
}

int SHSocialControllerService::transformViewControllerType(int type, int snsType) {
    if (snsType == 0)
        return type;
    // Every accepted platform is named, so the screens and the cancel report know it; only
    // the platforms signed in through the service's pages need a token first.
    if (auto name = SHSocialSnsPlatformManager::getSnsPlatformString(snsType))
        currentSnsPlatformName = *name;
    const bool signsIn = snsType == 20 || (snsType >= 1 && snsType <= 16);
    if (signsIn && type == SHSViewControllerShareEdit && currentSnsPlatformName &&
        !SHSocialAccountManager::isOauthAndTokenNotExpired(*currentSnsPlatformName)) {
        nextViewController = SHSViewControllerShareEdit;
        return SHSViewControllerOauth;
    }
    return type;
}

std::shared_ptr<platform::ViewController> SHSocialControllerService::getSocialViewController(
    int type, const std::optional<std::string>& platformName,
    const std::optional<std::string>& sourceOpType) {
    const int snsType =
        platformName ? SHSocialSnsPlatformManager::getSnsPlatformType(*platformName) : 0;
    if (type == SHSViewControllerShareEdit) {
        m_currentType = SHSViewControllerShareEdit;
        if (!(snsType == 20 || (snsType >= 10 && snsType <= 18)))
            return nullptr;
    }
    const int screenType = transformViewControllerType(type, snsType);
    return SHSViewControllerFactory::sharedInstance().createSocialViewController(
        screenType, snsType, *this, sourceOpType);
}

std::shared_ptr<platform::ViewController>
SHSocialControllerService::getSocialShareEditControllerInternal(
    const std::string& platformName, const std::optional<std::string>& sourceOpType) {
    SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("9", sourceOpType, platformName);
    auto screen = makeCountedScreen(SHSViewControllerShareEdit, platformName, sourceOpType);
    if (!screen)
        return nullptr;
    if (platformName == "email" || platformName == "sms")
        return screen;
    return wrapAsCurrent(screen);
}

std::shared_ptr<platform::ViewController>
SHSocialControllerService::getSocialOauthControllerInternal(
    const std::string& platformName, const std::optional<std::string>& sourceOpType) {
    SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("7", sourceOpType, platformName);
    auto screen = makeCountedScreen(SHSViewControllerOauth, platformName, sourceOpType);
    return screen ? wrapAsCurrent(screen) : nullptr;
}

std::shared_ptr<platform::ViewController>
SHSocialControllerService::getSocialAccountControllerInternal() {
    // The factory has no account screen: nothing opens, and nothing stays counted as open.
    auto screen = makeCountedScreen(SHSViewControllerAccount);
    return screen ? wrapAsCurrent(screen) : nullptr;
}

std::shared_ptr<platform::ViewController> SHSocialControllerService::makeCountedScreen(
    int type, const std::optional<std::string>& platformName,
    const std::optional<std::string>& sourceOpType) {
    pushType(type);
    auto screen = getSocialViewController(type, platformName, sourceOpType);
    if (!screen)
        rollBackType();
    return screen;
}

std::shared_ptr<platform::NavigationController> SHSocialControllerService::wrapAsCurrent(
    const std::shared_ptr<platform::ViewController>& screen) {
    auto navigation = wrap(screen);
    currentNavigationController = navigation;
    currentViewController = screen;
    return navigation;
}

void SHSocialControllerService::setShareText(const std::optional<std::string>& shareText,
                                             const SHSImageObject& shareImage,
                                             std::weak_ptr<SHSocialUIDelegate> delegate) {
    if (socialData) {
        socialData->setShareText(shareText);
        socialData->setShareImage(shareImage);
    }
    setSocialUIDelegate(std::move(delegate));
}

std::shared_ptr<platform::NavigationController>
SHSocialControllerService::getSocialShareListControllerInternal() {
    auto screen = makeCountedScreen(SHSViewControllerShareList);
    if (!screen)
        return nullptr;
    auto navigation = wrap(screen);
    currentNavigationController = navigation;
    if (!navigation->viewControllers().empty())
        currentViewController = navigation->viewControllers().front();
    return navigation;
}

void SHSocialControllerService::addCloseButton(platform::ViewController& screen) {
    auto button = std::make_shared<platform::Button>(platform::ButtonType::Custom);
    const std::string title = SHSocialLocalizedString("button_close", "关闭");
    SHSocialUIHelper::customNavButton(*button, title);
    SHSocialConfigInternal::shareInstance().configureNavigationBar(nullptr, button, nullptr,
                                                                   nullptr, nullptr, nullptr);
    button->setHandle("share-close");
    std::weak_ptr<SHSocialControllerService> weak = weak_from_this();
    button->addTarget(
        [weak](platform::Control&) {
            if (auto self = weak.lock())
                self->closeWithCancelResponse();
        },
        platform::ControlEvent::TouchUpInside);
    screen.navigationItem().setLeftBarButtonItem(
        std::make_shared<platform::BarButtonItem>(std::move(button)));
}

void SHSocialControllerService::closeWithCancelResponse() {
    SHSocialUtils::outLog(std::string("closeWithCancelResponse delegate is ") +
                          (socialUIDelegate() ? "set" : "(null)"));
    const bool tell =
        m_currentType == SHSViewControllerShareEdit ||
        (m_currentType == SHSViewControllerOauth &&
         !SHSocialAccountManager::isOauthWithPlatform(currentSnsPlatformName.value_or("")));
    if (tell) {
        if (auto delegate = socialUIDelegate()) {
            auto response = std::make_shared<SHSocialResponseEntity>();
            response->responseCode = 5052;
            response->message = "user cancel the operation";
            response->viewControllerType = m_currentType;
            platform::Json data = platform::Json::object();
            if (currentSnsPlatformName)
                data[*currentSnsPlatformName] = "";
            response->data = std::move(data);
            delegate->didFinishGetSHSocialDataInViewController(response);
        }
    }
    closeInternal();
}

void SHSocialControllerService::closeWithResponse(
    std::shared_ptr<SHSocialResponseEntity> response) {
    if (!response) {
        closeWithCancelResponse();
        return;
    }
    if (auto delegate = socialUIDelegate())
        delegate->didFinishGetSHSocialDataInViewController(std::move(response));
    closeInternal();
}

void SHSocialControllerService::close() {
    closeInternal();
}

void SHSocialControllerService::closeInternal() {
    auto dataService = socialDataService();
    dataService->setSHSocialDelegate({});
    if (!(m_currentType == SHSViewControllerShareEdit &&
          !SHSocialConfigInternal::shareInstance().shouldShareSynchronous))
        dataService->cancelAllRequestInQueueInternal();
    // The closed screen leaves the stack before any dismissal is reported, so every report
    // names the screen that is open afterwards (the outer one, or the closed one when it was
    // the only one).
    if (!m_typeStack.empty())
        m_typeStack.pop_back();
    if (!m_typeStack.empty())
        m_currentType = m_typeStack.back();
    std::weak_ptr<SHSocialControllerService> weak = weak_from_this();
    auto finished = [weak] {
        if (auto self = weak.lock())
            self->didFinishedDismissViewController();
    };
    // Only a screen this service opened is dismissed: without one, the host's own modal
    // screens are left alone.
    if (auto navigation = currentNavigationController.lock()) {
        if (navigation->presentingViewController()) {
            navigation->dismissViewController(true, finished);
        } else if (navigation->parentViewController()) {
            navigation->dismissViewController(true);
            finished();
        } else if (auto window = applicationWindow(); window && window->rootViewController()) {
            window->rootViewController()->dismissViewController(true);
            finished();
        }
    }
}

void SHSocialControllerService::didFinishedDismissViewController() {
    if (auto delegate = socialUIDelegate())
        delegate->didCloseUIViewController(m_currentType);
    currentNavigationController.reset();
    currentViewController.reset();
}
