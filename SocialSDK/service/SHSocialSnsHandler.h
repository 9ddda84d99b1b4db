#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/base/SHSImageObject.h"
#include "SocialSDK/service/SHSSharedInstance.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"
#include "platform/devices/MailComposeViewControllerDelegate.h"
#include "platform/devices/MessageComposeViewControllerDelegate.h"
#include "platform/foundation/Json.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

namespace platform {
class ViewController;
struct HttpRequest;
struct HttpResponse;
}  // namespace platform
class SHSocialControllerService;
class SHSocialData;
class SHSocialExternalHandler;
class SHSocialSnsPlatform;
class SHSocialSnsHandlerDelegate;
class SHSocialUIDelegate;
class SHSocialiToast;

// The platform handlers' shared base: finds the handler of a platform, reports taps and
// results to the host's UI delegate, counts usage, records a share a system composer made
// and keeps the application's platform keys. Main thread.
class SHSocialSnsHandler {
public:
    static SHSocialSnsHandler& shareInstance() {
        return SHSSharedInstance<SHSocialSnsHandler>::get();
    }
    static void resetSharedInstance() { SHSSharedInstance<SHSocialSnsHandler>::reset(); }
    virtual ~SHSocialSnsHandler() = default;

    // What takes a platform's taps: the mail handler ("email", "sms"), the composer handler
    // ("facebook", "twitter") or a class found by name; null for none.
    struct Target {
        SHSocialSnsHandler* builtIn = nullptr;
        std::shared_ptr<SHSocialExternalHandler> external;
        explicit operator bool() const { return builtIn || external; }
    };
    static Target getSocialSnsHandler(const std::string& platformName);

    virtual void clickHandlerWithSnsName(
        const std::string& platformName,
        const std::shared_ptr<platform::ViewController>& controller,
        const std::shared_ptr<SHSocialControllerService>& service);
    static void handleClickHandler(const std::shared_ptr<SHSocialControllerService>& service,
                                   const std::string& platformName);
    // ... then counts op "3".
    static void handleClickHandler(const std::shared_ptr<SHSocialControllerService>& service,
                                   const std::string& platformName,
                                   const std::optional<std::string>& sourceOpType);
    static void postOpWithSnsName(const std::string& platformName);
    // Records a share made outside the service (source op "3").
    static void postOpWithText(const std::optional<std::string>& text,
                               const std::string& platformName);
    static void handleUIDelegate(const std::shared_ptr<SHSocialUIDelegate>& delegate,
                                 const std::string& platformName, int responseCode,
                                 const std::optional<std::string>& message,
                                 const std::optional<std::string>& error,
                                 const platform::Json& context = nullptr);
    bool handleOpenURL(const std::string& url);
    // Back from another application: the single-sign-on handler waiting for it (then no
    // longer waiting) takes the address; NO when none waits. The delegate is the chat
    // platform's, for a handler that wants it.
    bool handleOpenURL(const std::string& url, const std::shared_ptr<void>& wxApiDelegate);

    // --- Helpers for single-sign-on handlers (SHSocialSnsHandlerHelpers.cpp) -----------------
    // The image unchanged when smaller than the size both ways, else redrawn at its size times
    // the smaller of the two ratios.
    static platform::Image scaleImage(const platform::Image& image, platform::Size size);
    // That image as JPEG data at quality 0.8.
    static std::string scaleAndComplessImage(const platform::Image& image, platform::Size size);
    // The longest prefix whose bytes in the encoding (an ICU converter name, e.g. "UTF-8",
    // "GB18030") fit in the limit, never splitting a character; the text itself when the
    // limit is 0 or it fits; nothing for an empty text or an unknown encoding.
    static std::optional<std::string> subString(const std::string& text,
                                                const std::string& encoding,
                                                std::size_t bytesLength);
    // The picture a platform shares: the picture behind the platform's media link (or the
    // subject's when the platform's is of type 0) when it is an image link, from the picture
    // cache or fetched synchronously; else the platform's own picture; else the subject's.
    static SHSImageObject getShareImage(const SHSocialData& subject,
                                        const std::string& platformName);
    // The application's own URL types (Info "CFBundleURLTypes"): whether one is named so;
    // "<scheme>://" of the first scheme with the prefix (the last URL type that has one
    // wins); whether such a scheme exists. Each warns in the system log when nothing is found.
    static bool searchForURLSchemeWithURLName(const std::string& urlName);
    static std::optional<std::string> getUrlSchemeWithPrefix(const std::string& prefix);
    static bool searchForURLSchemeWithPrefix(const std::string& prefix);
    // The search the two above share, over a list of URL types.
    static std::optional<std::string> searchForURLSchemeWithPrefix(
        const std::string& prefix, const platform::Json& urlObjectArray);

    // The application's platform keys (action 16).
    void requestAppInfo(SHSocialResponseCompletion completion);
    // Kept and cached under "appInfo"; an absent or non-dictionary value is ignored.
    void setAppInfo(const std::optional<platform::Json>& appInfo);
    platform::Json appInfo();
    // Merges the data of an action-16 reply into appInfo (see the entry API); a "data" that
    // is not a dictionary changes nothing.
    void mergeAppInfoReply(const SHSocialResponseEntity& reply);

    // Uploads an account a single-sign-on handler brought back.
    void upLoadSnsAccount(const std::shared_ptr<SHSocialAccountEntity>& account,
                          SHSocialResponseCompletion completion);

    // A waiting message a single-sign-on handler may show; removeMaskView takes it away.
    std::shared_ptr<SHSocialiToast> toast;
    void removeMaskView();

    std::optional<std::string> appkey;
    std::optional<std::string> qqAppId;
    int sinaType = 0;
    // Not owned: the single-sign-on handler waiting for the switch back.
    std::weak_ptr<SHSocialSnsHandlerDelegate> currentSnsHandler;

protected:
    friend class SHSSharedInstance<SHSocialSnsHandler>;
    SHSocialSnsHandler() = default;

    // The request for a share picture, sent on the main thread or off it.
    static platform::HttpRequest imageRequest(const std::string& url);
    // The picture a reply carries: a 200 reply's decoded body; a null image otherwise.
    static platform::Image imageFromResponse(const platform::HttpResponse& response);
    // That picture fetched on the calling thread.
    static platform::Image loadImageSynchronously(const std::string& url);
    // A link's picture: the image cache's when it holds one, else fetched on the calling
    // thread.
    static platform::Image cachedOrLoadedImage(const std::string& url);

private:
    std::optional<platform::Json> m_appInfo;
};

// "facebook" and "twitter": shared through the system's social composer.
class SHSocialFacebookSnsHandler : public SHSocialSnsHandler {
public:
    static SHSocialFacebookSnsHandler& shareInstance() {
        return SHSSharedInstance<SHSocialFacebookSnsHandler>::get();
    }
    static void resetSharedInstance() { SHSSharedInstance<SHSocialFacebookSnsHandler>::reset(); }
    static std::shared_ptr<SHSocialSnsPlatform> getFacebookTwitterPlatform(const std::string& name);
    void clickHandlerWithSnsName(
        const std::string& platformName,
        const std::shared_ptr<platform::ViewController>& controller,
        const std::shared_ptr<SHSocialControllerService>& service) override;

private:
    friend class SHSSharedInstance<SHSocialFacebookSnsHandler>;
    void presentComposer(const std::string& platformName, const std::optional<std::string>& text,
                         const SHSImageObject& picture,
                         const std::shared_ptr<platform::ViewController>& controller,
                         const std::shared_ptr<SHSocialControllerService>& service);
    SHSocialFacebookSnsHandler() = default;
};

// "email" and "sms": shared through the system's mail and message composers.
class SHSocialMailHandler : public SHSocialSnsHandler,
                            public platform::MailComposeViewControllerDelegate,
                            public platform::MessageComposeViewControllerDelegate {
public:
    static SHSocialMailHandler& shareInstance();
    static void resetSharedInstance();
    static std::shared_ptr<SHSocialSnsPlatform> getEmailSmsPlatform(const std::string& name);

    void clickHandlerWithSnsName(
        const std::string& platformName,
        const std::shared_ptr<platform::ViewController>& controller,
        const std::shared_ptr<SHSocialControllerService>& service) override;
    // Null when the device cannot send mail (texts).
    std::shared_ptr<platform::MailComposeViewController> getEditEmailController(
        const std::shared_ptr<SHSocialControllerService>& service);
    std::shared_ptr<platform::MessageComposeViewController> getEditSMSController(
        const std::shared_ptr<SHSocialControllerService>& service);
    void closeFromMessageOrMail(const std::shared_ptr<platform::ViewController>& composer);

    void mailDidFinishWithResult(platform::MailComposeViewController& controller,
                                 platform::MailComposeResult result,
                                 const std::optional<std::string>& error) override;
    void didFinishWithResult(platform::MessageComposeViewController& controller,
                             platform::MessageComposeResult result) override;

    std::shared_ptr<SHSocialControllerService> socialControllerService;
    std::optional<std::string> shareText;

    SHSocialMailHandler() = default;
};
