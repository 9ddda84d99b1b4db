#include "SocialSDK/service/SHSocialSnsHandler.h"

#include <algorithm>
#include <mutex>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSCacheManager.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialHandlerClasses.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "platform/devices/MailComposeViewController.h"
#include "platform/devices/MessageComposeViewController.h"
#include "platform/devices/SocialComposeViewController.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"

namespace {

constexpr const char* kAppInfoKey = "appInfo";
constexpr const char* kIconPrefix = "SHSocialSDKResourcesNew.bundle/SnsPlatform/SHS_";

void showAlert(const std::string& title, const std::string& message, const std::string& button) {
    auto alert = platform::View::make<platform::AlertView>(
        title, message, std::weak_ptr<platform::AlertViewDelegate>(), button,
        std::vector<std::string>());
    alert->show();
}

std::optional<platform::Bytes> pictureData(const SHSImageObject& picture) {
    if (const auto* image = std::get_if<platform::Image>(&picture)) {
        if (image->isNull())
            return std::nullopt;
        return platform::toBytes(image->jpegData(0.9));
    }
    if (const auto* data = std::get_if<platform::Bytes>(&picture))
        return *data;
    return std::nullopt;
}

std::pair<std::string, std::string> attachmentLabel(const platform::Bytes& bytes) {
    auto startsWith = [&bytes](std::initializer_list<std::uint8_t> signature) {
        return bytes.size() >= signature.size() &&
               std::equal(signature.begin(), signature.end(), bytes.begin());
    };
    if (startsWith({0x89, 'P', 'N', 'G'}))
        return {"image/png", "Image.png"};
    if (startsWith({'G', 'I', 'F', '8'}))
        return {"image/gif", "Image.gif"};
    return {"image/jpeg", "Image.jpg"};
}

}  // namespace

// --- Base --------------------------------------------------------------------------------------

SHSocialSnsHandler::Target SHSocialSnsHandler::getSocialSnsHandler(const std::string& name) {
    Target target;
    if (name == "email" || name == "sms")
        target.builtIn = &SHSocialMailHandler::shareInstance();
    else if (name == "facebook" || name == "twitter")
        target.builtIn = &SHSocialFacebookSnsHandler::shareInstance();
    else if (name == "wxsession" || name == "wxtimeline")
        target.external = SHSocialHandlerClasses::classNamed("SHSocialWechatHandler");
    else if (name == "qq")
        target.external = SHSocialHandlerClasses::classNamed("SHSocialQQHandler");
    return target;
}

void SHSocialSnsHandler::clickHandlerWithSnsName(
    const std::string& platformName, const std::shared_ptr<platform::ViewController>& controller,
    const std::shared_ptr<SHSocialControllerService>& service) {
    const auto target = getSocialSnsHandler(platformName);
    if (target.builtIn && target.builtIn != this)
        target.builtIn->clickHandlerWithSnsName(platformName, controller, service);
    else if (target.external)
        target.external->clickHandlerWithSnsName(platformName, controller, service);
}

void SHSocialSnsHandler::handleClickHandler(
    const std::shared_ptr<SHSocialControllerService>& service, const std::string& platformName) {
    if (!service)
        return;
    if (auto delegate = service->socialUIDelegate())
        delegate->didSelectSocialPlatform(platformName, service->socialData);
}

void SHSocialSnsHandler::handleClickHandler(
    const std::shared_ptr<SHSocialControllerService>& service, const std::string& platformName,
    const std::optional<std::string>& sourceOpType) {
    handleClickHandler(service, platformName);
    SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("3", sourceOpType, platformName);
}

void SHSocialSnsHandler::postOpWithSnsName(const std::string& platformName) {
    SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("3", std::nullopt, platformName);
}

void SHSocialSnsHandler::postOpWithText(const std::optional<std::string>& text,
                                        const std::string& platformName) {
    SHSocialDataService::ContentDictionary content;
    content.content = text.value_or("");
    content.sourceOpType = "3";
    SHSocialDataService::defaultDataService()->postSNSWithTypesInternal({platformName},
                                                                        std::move(content));
}

void SHSocialSnsHandler::handleUIDelegate(const std::shared_ptr<SHSocialUIDelegate>& delegate,
                                          const std::string& platformName, int responseCode,
                                          const std::optional<std::string>& message,
                                          const std::optional<std::string>& error,
                                          const platform::Json& context) {
    if (!delegate)
        return;
    auto response = std::make_shared<SHSocialResponseEntity>();
    response->responseCode = responseCode;
    response->message = message;
    response->viewControllerType = 3;
    response->responseType = SHSActionTypeShareMulti;
    response->data = platform::Json{{platformName, ""}};
    response->error = error;
    if (!context.is_null())
        response->thirdPlatformResponse = context;
    delegate->didFinishGetSHSocialDataInViewController(response);
}

bool SHSocialSnsHandler::handleOpenURL(const std::string& url) {
    return handleOpenURL(url, nullptr);
}

bool SHSocialSnsHandler::handleOpenURL(const std::string& url, const std::shared_ptr<void>&) {
    auto waiting = currentSnsHandler.lock();
    if (!waiting)
        return false;
    currentSnsHandler.reset();
    return waiting->handleOpenURL(url);
}

void SHSocialSnsHandler::requestAppInfo(SHSocialResponseCompletion completion) {
    SHSUserManager::shareInstance().requestAppInfo(std::move(completion));
}

void SHSocialSnsHandler::setAppInfo(const std::optional<platform::Json>& appInfo) {
    if (!appInfo || !appInfo->is_object())
        return;
    m_appInfo = *appInfo;
    SHSCacheManager::shareInstance().setCacheData(*appInfo, kAppInfoKey);
}

platform::Json SHSocialSnsHandler::appInfo() {
    if (auto stored = SHSCacheManager::shareInstance().cachedObject(kAppInfoKey);
        stored && stored->is_object())
        m_appInfo = *stored;
    return m_appInfo ? *m_appInfo : platform::Json::object();
}

void SHSocialSnsHandler::mergeAppInfoReply(const SHSocialResponseEntity& reply) {
    if (reply.error || !reply.data)
        return;
    // A reply whose data is not a dictionary of platforms has nothing to merge.
    if (!reply.data->is_object()) {
        SHSocialUtils::outLog("app info data is not a dictionary: %@", reply.data->dump());
        return;
    }
    platform::Json merged = appInfo();
    bool keepLocalSina = false;
    if (const auto it = merged.find("sina"); it != merged.end() && it->is_object()) {
        const auto key = it->find("key");
        keepLocalSina = key != it->end() && key->is_string() && !key->get<std::string>().empty();
    }
    for (const auto& [name, value] : reply.data->items()) {
        if (name == "sina" && keepLocalSina)
            continue;
        merged[name] = value;
    }
    setAppInfo(merged);
}

void SHSocialSnsHandler::upLoadSnsAccount(const std::shared_ptr<SHSocialAccountEntity>& account,
                                          SHSocialResponseCompletion completion) {
    SHSocialUtils::outLog("snsAccount is %@", account ? account->toArchive().dump() : "");
    SHSocialAccountManager::postSnsAccountInternal(
        account,
        [account, completion](std::shared_ptr<SHSocialResponseEntity> response) {
            if (!response || response->responseCode != SHSResponseCodeSuccess) {
                if (completion) {
                    auto failed = std::make_shared<SHSocialResponseEntity>();
                    failed->responseType = SHSActionTypeAuthPage;
                    failed->viewControllerType = 7;
                    failed->responseCode = SHSResponseCodePostAccountFail;
                    failed->message = "post sns info fail!";
                    completion(failed);
                }
                showAlert(SHSocialLocalizedString("oauth_error_title", "授权失败"),
                          SHSocialLocalizedString("oauth_error_message",
                                                  "服务器繁忙，授权失败，请稍后再试"),
                          SHSocialLocalizedString("button_ok", "好"));
                return;
            }
            response->responseCode = SHSResponseCodeSuccess;
            response->message = "no error";
            SHSocialAccountManager::setSnsAccount(account);
            if (!completion)
                return;
            SHSocialDataService::defaultDataService()->requestSocialAccountWithCompletionInternal(
                [response, account, completion](std::shared_ptr<SHSocialResponseEntity>) {
                    response->responseType = SHSActionTypeAuthPage;
                    response->viewControllerType = 7;
                    const auto accounts = SHSocialAccountManager::socialAccountDictionary();
                    const auto it = accounts.find(account->platformName);
                    platform::Json fields = platform::Json::object();
                    if (it != accounts.end() && it->second) {
                        fields["usid"] = it->second->usid.value_or("");
                        fields["accessToken"] = it->second->accessToken.value_or("");
                        fields["username"] = it->second->userName.value_or("");
                    }
                    response->data = platform::Json{{account->platformName, fields}};
                    completion(response);
                });
        },
        "4");
}

// --- System social composer ("facebook", "twitter") ---------------------------------------------

std::shared_ptr<SHSocialSnsPlatform> SHSocialFacebookSnsHandler::getFacebookTwitterPlatform(
    const std::string& name) {
    if (name != "facebook" && name != "twitter")
        return nullptr;
    auto platform = std::make_shared<SHSocialSnsPlatform>(name);
    platform->bigImageName = std::string(kIconPrefix) + name + "_icon";
    platform->smallImageName = std::string(kIconPrefix) + name + "_on.png";
    platform->smallImageOffName = std::string(kIconPrefix) + name + "_off.png";
    platform->displayName =
        SHSocialLocalizedString(name, name == "facebook" ? "Facebook" : "Twitter");
    platform->shareToType = name == "facebook" ? 20 : 21;
    platform->snsClickHandler = [name](const auto& controller, const auto& service, bool) {
        postOpWithSnsName(name);
        shareInstance().clickHandlerWithSnsName(name, controller, service);
    };
    return platform;
}

void SHSocialFacebookSnsHandler::clickHandlerWithSnsName(
    const std::string& platformName, const std::shared_ptr<platform::ViewController>& controller,
    const std::shared_ptr<SHSocialControllerService>& service) {
    if (platformName != "facebook" && platformName != "twitter")
        return;
    std::optional<std::string> text;
    SHSImageObject picture;
    SHSImageObject fallback;
    std::optional<std::string> linkPicture;
    if (service && service->socialData) {
        const auto& subject = service->socialData;
        const auto ext = subject->extConfig();
        const std::shared_ptr<SHSocialSnsData> data =
            platformName == "facebook" ? std::shared_ptr<SHSocialSnsData>(ext->facebookData)
                                       : std::shared_ptr<SHSocialSnsData>(ext->twitterData);
        text = data->shareText ? data->shareText : subject->shareText();
        auto link = data->urlResource && data->urlResource->resourceType != 0
                        ? data->urlResource
                        : subject->urlResource();
        picture = data->shareImage;
        if (!SHSImageObjectIsSet(picture) && link && link->resourceType == 1 && link->url &&
            !link->url->empty())
            linkPicture = *link->url;
        fallback = subject->shareImage();
    }
    // The service type of the device's composer is the platform's name.
    if (!platform::SocialComposeViewController::isAvailableForServiceType(platformName)) {
        auto delegate = service ? service->socialUIDelegate() : nullptr;
        handleUIDelegate(delegate, platformName, SHSResponseCodeNotLogin, SHSNotLoginMessage,
                         std::nullopt);
        showAlert(SHSocialLocalizedString("share_facebook_not_login", "账号未登录"),
                  SHSocialLocalizedString("share_facebook_not_login_message", "账号未登录"),
                  SHSocialLocalizedString("button_ok", "好"));
        return;
    }
    if (!service)
        return;
    if (!SHSImageObjectIsSet(picture) && !linkPicture)
        picture = fallback;
    if (!linkPicture) {
        presentComposer(platformName, text, picture, controller, service);
        return;
    }
    // The link's picture is fetched only once the composer can be shown, and off the main
    // thread: the composer comes up when it has arrived (or failed, with the subject's own).
    auto request = imageRequest(*linkPicture);
    std::weak_ptr<platform::ViewController> weakController = controller;
    std::weak_ptr<SHSocialControllerService> weakService = service;
    platform::HttpClient::shared().send(
        std::move(request), [platformName, text, fallback, weakController,
                             weakService](platform::HttpResponse response) {
            auto service = weakService.lock();
            if (!service)
                return;
            auto loaded = imageFromResponse(response);
            shareInstance().presentComposer(platformName, text,
                                            loaded.isNull() ? fallback : SHSImageObject(loaded),
                                            weakController.lock(), service);
        });
}

void SHSocialFacebookSnsHandler::presentComposer(
    const std::string& platformName, const std::optional<std::string>& text,
    const SHSImageObject& picture, const std::shared_ptr<platform::ViewController>& controller,
    const std::shared_ptr<SHSocialControllerService>& service) {
    auto composer = std::make_shared<platform::SocialComposeViewController>(platformName);
    handleClickHandler(service, platformName);
    composer->setInitialText(text.value_or(""));
    if (const auto* image = std::get_if<platform::Image>(&picture))
        composer->addImage(*image);
    else if (const auto* bytes = std::get_if<platform::Bytes>(&picture))
        composer->addImage(platform::Image::decode(platform::toString(*bytes)));
    std::weak_ptr<platform::SocialComposeViewController> weakComposer = composer;
    std::weak_ptr<SHSocialControllerService> weakService = service;
    composer->setCompletionHandler(
        [platformName, text, weakComposer, weakService](platform::SocialComposeResult result) {
            int code = static_cast<int>(result);
            std::optional<std::string> message;
            if (result == platform::SocialComposeResult::Cancelled) {
                code = SHSResponseCodeCancel;
                message = "user cancel the operation";
            } else if (result == platform::SocialComposeResult::Done) {
                postOpWithText(text, platformName);
                code = SHSResponseCodeSuccess;
            }
            auto service = weakService.lock();
            // A named empty value rather than std::nullopt: GCC 12 at -O3 wrongly warns that
            // the temporary such a conversion makes may be used uninitialised.
            const std::optional<std::string> noData;
            handleUIDelegate(service ? service->socialUIDelegate() : nullptr, platformName, code,
                             message, noData);
            if (auto composer = weakComposer.lock())
                composer->dismissViewController(true);
        });
    if (controller)
        controller->presentViewController(composer, true);
}

// --- Mail and message composers ("email", "sms") ------------------------------------------------

namespace {

std::shared_ptr<SHSocialMailHandler>& mailHandlerSlot() {
    static std::shared_ptr<SHSocialMailHandler> slot;
    return slot;
}

std::mutex& mailHandlerLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

SHSocialMailHandler& SHSocialMailHandler::shareInstance() {
    std::lock_guard guard(mailHandlerLock());
    auto& slot = mailHandlerSlot();
    if (!slot)
        slot = std::make_shared<SHSocialMailHandler>();
    return *slot;
}

void SHSocialMailHandler::resetSharedInstance() {
    std::shared_ptr<SHSocialMailHandler> old;
    std::lock_guard guard(mailHandlerLock());
    old = std::move(mailHandlerSlot());
}

std::shared_ptr<SHSocialSnsPlatform> SHSocialMailHandler::getEmailSmsPlatform(
    const std::string& name) {
    auto platform = std::make_shared<SHSocialSnsPlatform>(name);
    if (name != "email" && name != "sms")
        return platform;
    platform->bigImageName = std::string(kIconPrefix) + name + "_icon";
    platform->smallImageName = std::string(kIconPrefix) + name + "_on";
    platform->smallImageOffName = std::string(kIconPrefix) + name + "_off";
    if (name == "email") {
        platform->displayName = SHSocialLocalizedString("email", "邮件");
        platform->loginName = "邮箱账号";
        platform->shareToType = 17;
    } else {
        platform->displayName = SHSocialLocalizedString("sms", "短信");
        platform->loginName = "手机号";
        platform->shareToType = 18;
    }
    platform->snsClickHandler = [name](const auto& controller, const auto& service, bool) {
        postOpWithSnsName(name);
        shareInstance().clickHandlerWithSnsName(name, controller, service);
    };
    return platform;
}

void SHSocialMailHandler::clickHandlerWithSnsName(
    const std::string& platformName, const std::shared_ptr<platform::ViewController>& controller,
    const std::shared_ptr<SHSocialControllerService>& service) {
    handleClickHandler(service, platformName);
    if (platformName == "email") {
        if (platform::MailComposeViewController::canSendMail()) {
            if (auto composer = getEditEmailController(service); composer && controller)
                controller->presentViewController(composer, true);
        } else {
            showAlert(SHSocialLocalizedString("share_email_no_osSupport", "邮件功能未开启"),
                      SHSocialLocalizedString("share_email_no_osSupport_message",
                                              "U您当前的邮件服务处于未启用状态，请先前往系统设置中"
                                              "配置邮件服务后，再进行分享"),
                      SHSocialLocalizedString("button_ok", "好"));
        }
    } else if (platformName == "sms") {
        if (platform::MessageComposeViewController::canSendText()) {
            if (auto composer = getEditSMSController(service); composer && controller)
                controller->presentViewController(composer, true);
        } else {
            // The table has no texts of its own for these keys: the mail alert's defaults
            // stand in, so the user never sees a bare key.
            showAlert(SHSocialLocalizedString("share_sms_no_osSupport", "短信功能未开启"),
                      SHSocialLocalizedString("share_sms_no_osSupport_message",
                                              "您的设备当前无法发送短信"),
                      SHSocialLocalizedString("button_ok", "好"));
        }
    }
}

std::shared_ptr<platform::MailComposeViewController> SHSocialMailHandler::getEditEmailController(
    const std::shared_ptr<SHSocialControllerService>& service) {
    if (!platform::MailComposeViewController::canSendMail() || !service || !service->socialData)
        return nullptr;
    socialControllerService = service;
    auto composer = std::make_shared<platform::MailComposeViewController>();
    composer->setMailComposeDelegate(
        std::static_pointer_cast<SHSocialMailHandler>(mailHandlerSlot()));
    const auto& subject = service->socialData;
    const auto ext = subject->extConfig();
    const auto data = ext->emailData;
    std::shared_ptr<SHSocialUrlResource> link;
    if (data->urlResource && data->urlResource->resourceType != 0)
        link = data->urlResource;
    else if (!SHSImageObjectIsSet(data->shareImage))
        link = subject->urlResource();
    shareText = data->shareText ? data->shareText : subject->shareText();
    std::string body = shareText.value_or("");
    const SHSImageObject picture =
        SHSImageObjectIsSet(data->shareImage) ? data->shareImage : subject->shareImage();
    composer->setSubject(data->title ? *data->title : ext->title ? *ext->title : "分享给你");
    if (link && link->resourceType == 1 && link->url && !link->url->empty()) {
        body += "<br><img src='" + *link->url + "'>";
        composer->setMessageBody(body, true);
        return composer;
    }
    // The attachment is labelled as what it is: an image goes as JPEG; the host's data as
    // given, by its own signature.
    if (auto bytes = pictureData(picture)) {
        const auto [mimeType, fileName] = attachmentLabel(*bytes);
        composer->addAttachmentData(std::move(*bytes), mimeType, fileName);
    }
    composer->setMessageBody(body, true);
    return composer;
}

std::shared_ptr<platform::MessageComposeViewController> SHSocialMailHandler::getEditSMSController(
    const std::shared_ptr<SHSocialControllerService>& service) {
    if (!platform::MessageComposeViewController::canSendText() || !service || !service->socialData)
        return nullptr;
    const auto& subject = service->socialData;
    const auto data = subject->extConfig()->smsData;
    const bool ownPictureOnly = SHSImageObjectIsSet(data->shareImage) &&
                                (!data->urlResource || data->urlResource->resourceType == 0);
    if (data->shareText)
        shareText = data->shareText;
    else if (ownPictureOnly)
        shareText = std::nullopt;
    else
        shareText = subject->shareText();
    const SHSImageObject picture =
        SHSImageObjectIsSet(data->shareImage) ? data->shareImage : subject->shareImage();
    auto isImageLink = [](const std::shared_ptr<SHSocialUrlResource>& link) {
        return link && link->resourceType == 1 && link->url && !link->url->empty();
    };
    std::shared_ptr<SHSocialUrlResource> link;
    if (isImageLink(data->urlResource))
        link = data->urlResource;
    else if (isImageLink(subject->urlResource()))
        link = subject->urlResource();
    socialControllerService = service;
    auto composer = std::make_shared<platform::MessageComposeViewController>();
    composer->setMessageComposeDelegate(
        std::static_pointer_cast<SHSocialMailHandler>(mailHandlerSlot()));
    composer->setBody(shareText.value_or(""));
    if (platform::MessageComposeViewController::canSendAttachments()) {
        auto bytes = pictureData(picture);
        if (link) {
            if (auto loaded = pictureData(cachedOrLoadedImage(*link->url)))
                bytes = std::move(loaded);
        }
        if (bytes)
            composer->addAttachmentData(std::move(*bytes), "public.jpeg", "picture.jpg");
    }
    return composer;
}

void SHSocialMailHandler::closeFromMessageOrMail(
    const std::shared_ptr<platform::ViewController>& composer) {
    auto navigation = socialControllerService
                          ? socialControllerService->currentNavigationController.lock()
                          : nullptr;
    if (navigation) {
        auto presenter = navigation->presentingViewController();
        if (!presenter)
            presenter = navigation->parentViewController();
        if (presenter) {
            presenter->dismissViewController(true);
            return;
        }
    }
    if (composer)
        composer->dismissViewController(true);
}

void SHSocialMailHandler::mailDidFinishWithResult(platform::MailComposeViewController& controller,
                                                  platform::MailComposeResult result,
                                                  const std::optional<std::string>& error) {
    int code = static_cast<int>(result);
    std::optional<std::string> message;
    if (result == platform::MailComposeResult::Cancelled) {
        code = SHSResponseCodeCancel;
        message = "user cancel the operation";
    } else if (result == platform::MailComposeResult::Sent) {
        postOpWithText(shareText, "email");
        code = SHSResponseCodeSuccess;
    }
    auto delegate = socialControllerService ? socialControllerService->socialUIDelegate() : nullptr;
    handleUIDelegate(delegate, "email", code, message, error,
                     platform::Json(static_cast<int>(result)));
    closeFromMessageOrMail(
        std::static_pointer_cast<platform::ViewController>(controller.shared_from_this()));
}

void SHSocialMailHandler::didFinishWithResult(platform::MessageComposeViewController& controller,
                                              platform::MessageComposeResult result) {
    int code = static_cast<int>(result);
    std::optional<std::string> message;
    if (result == platform::MessageComposeResult::Cancelled) {
        code = SHSResponseCodeCancel;
        message = "user cancel the operation";
    } else if (result == platform::MessageComposeResult::Sent) {
        postOpWithText(shareText, "sms");
        code = SHSResponseCodeSuccess;
    }
    auto delegate = socialControllerService ? socialControllerService->socialUIDelegate() : nullptr;
    handleUIDelegate(delegate, "sms", code, message, std::nullopt,
                     platform::Json(static_cast<int>(result)));
    closeFromMessageOrMail(
        std::static_pointer_cast<platform::ViewController>(controller.shared_from_this()));
}
