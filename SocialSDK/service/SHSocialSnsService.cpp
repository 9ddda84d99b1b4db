#include "SocialSDK/service/SHSocialSnsService.h"

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "SocialSDK/service/SHSocialShareList.h"
#include "SocialSDK/service/SHSocialSnsHandler.h"
#include "platform/foundation/Log.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/ViewController.h"

void SHSocialSnsService::presentSnsIconSheetView(
    const std::shared_ptr<platform::ViewController>& controller,
    const std::optional<std::string>& appKey, const std::optional<std::string>& shareText,
    const SHSImageObject& shareImage, const PlatformNames& snsNames,
    std::weak_ptr<SHSocialUIDelegate> delegate) {
    sharedInstance().showSnsIconSheetView(controller, appKey, shareText, shareImage, snsNames,
                                          std::move(delegate));
    SHSocialOpAnalytics::postSocialAnalytics("2");
}

void SHSocialSnsService::presentSnsController(
    const std::shared_ptr<platform::ViewController>& controller,
    const std::optional<std::string>& appKey, const std::optional<std::string>& shareText,
    const SHSImageObject& shareImage, const PlatformNames& snsNames,
    std::weak_ptr<SHSocialUIDelegate> delegate) {
    sharedInstance().presentSnsControllerInstance(controller, appKey, shareText, shareImage,
                                                  snsNames, std::move(delegate));
    SHSocialOpAnalytics::postSocialAnalytics("1");
}

bool SHSocialSnsService::handleOpenURL(const std::string& url) {
    return SHSocialSnsHandler::shareInstance().handleOpenURL(url, nullptr);
}

bool SHSocialSnsService::handleOpenURL(const std::string& url,
                                       const std::shared_ptr<void>& wxApiDelegate) {
    return SHSocialSnsHandler::shareInstance().handleOpenURL(url, wxApiDelegate);
}

void SHSocialSnsService::setSocialDataWithController(
    const std::shared_ptr<platform::ViewController>& controller,
    const std::optional<std::string>& appKey, const std::optional<std::string>& shareText,
    const SHSImageObject& shareImage, std::weak_ptr<SHSocialUIDelegate> delegate) {
    presentingController = controller;
    if (appKey)
        SHSocialData::setAppKey(appKey);
    else if (!SHSocialData::appKey())
        platform::log("you should set Ruzar Appkey!");
    if (!socialControllerService)
        socialControllerService = SHSocialControllerService::defaultControllerService();
    if (!socialControllerService->socialData) {
        SHSocialUtils::outLog("set social content fail!");
        return;
    }
    socialControllerService->socialData->setShareText(shareText);
    socialControllerService->socialData->setShareImage(shareImage);
    socialControllerService->setSocialUIDelegate(std::move(delegate));
}

std::shared_ptr<SHSocialIconActionSheet> SHSocialSnsService::showSnsIconSheetView(
    const std::shared_ptr<platform::ViewController>& controller,
    const std::optional<std::string>& appKey, const std::optional<std::string>& shareText,
    const SHSImageObject& shareImage, const PlatformNames& snsNames,
    std::weak_ptr<SHSocialUIDelegate> delegate) {
    setSocialDataWithController(controller, appKey, shareText, shareImage, std::move(delegate));
    auto sheet = socialControllerService->getSocialIconActionSheetInControllerInternal(controller);
    iconSheet = sheet;
    if (!sheet)
        return nullptr;
    if (snsNames)
        sheet->setSnsNames(*snsNames);
    std::shared_ptr<platform::View> view;
    if (!controller) {
        SHSocialUtils::outLog("you must pass the controller !!");
    } else if (auto tabs = controller->tabBarController()) {
        view = tabs->view();
    } else if (auto navigation = controller->navigationController();
               navigation && !navigation->isNavigationBarHidden()) {
        view = navigation->view();
    } else {
        view = controller->view();
    }
    sheet->showInView(view);
    return sheet;
}

void SHSocialSnsService::presentSnsControllerInstance(
    const std::shared_ptr<platform::ViewController>& controller,
    const std::optional<std::string>& appKey, const std::optional<std::string>& shareText,
    const SHSImageObject& shareImage, const PlatformNames& snsNames,
    std::weak_ptr<SHSocialUIDelegate> delegate) {
    setSocialDataWithController(controller, appKey, shareText, shareImage, std::move(delegate));
    auto list = socialControllerService->getSocialShareListControllerInternal();
    if (list && snsNames)
        if (auto screen =
                std::dynamic_pointer_cast<SHSocialShareList>(list->visibleViewController()))
            screen->setAllSnsArray(*snsNames);
    if (list && controller)
        controller->presentViewController(list, true);
}
