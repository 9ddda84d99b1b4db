// The page's "onMenuShare": the share SDK's icon sheet with the page's text and picture, and
// the page's address and title set on each platform's share data, which the sheet reads when
// the user picks a platform. The sheet shows once its picture is in or has failed.

#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialExtConfig.h"
#include "SocialSDK/service/SHSocialSnsService.h"
#include "platform/foundation/Json.h"
#include "platform/graphics/Image.h"
#include "webcontainer/WebDetailViewController.h"

namespace {

// The application's key at the share service.
constexpr const char* kShareAppKey = "3f9c01d7a2b84e65c0d19a7e";
// The platforms the page offers, in the sheet's order; the SDK keeps those it registers.
const std::vector<std::string> kShareTargets = {"wxtimeline", "wxsession", "qq", "qzone"};
// The picture is fetched before the sheet shows, so a dead address must not hold the page
// for long.
constexpr CommandPictures::Limits kShareImageLimits{10, 10};

std::string textOf(const platform::Json& argument, const char* key) {
    const auto found = argument.find(key);
    return found != argument.end() && found->is_string() ? found->get<std::string>() : "";
}

}  // namespace

void WebDetailViewController::presentShareSheet(const platform::Json& argument) {
    const std::string targetUrl = textOf(argument, "targetUrl");
    const std::string title = textOf(argument, "title");
    const std::string shareContent = textOf(argument, "shareContent");

    std::weak_ptr<WebDetailViewController> weakSelf =
        std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    // The sheet waits for its picture, as it always has; only the main thread no longer does.
    awaitCommandPictures(
        {textOf(argument, "shareImage")}, {}, kShareImageLimits,
        [weakSelf, targetUrl, title, shareContent](std::vector<platform::Image> images) {
            auto page = weakSelf.lock();
            if (!page)
                return;
            SHSImageObject picture;
            if (!images.empty() && !images.front().isNull())
                picture = std::move(images.front());
            SHSocialSnsService::presentSnsIconSheetView(
                std::static_pointer_cast<platform::ViewController>(page), kShareAppKey,
                shareContent, picture, kShareTargets, {});

            auto config = SHSocialData::defaultData()->extConfig();
            config->wechatSessionData->url = targetUrl;
            config->qqData->url = targetUrl;
            config->qzoneData->url = targetUrl;
            config->wechatTimelineData->url = targetUrl;
            config->qqData->title = title;
            config->wechatSessionData->title = title;
            config->qzoneData->title = title;
            config->wechatTimelineData->title = title;
        });
}
