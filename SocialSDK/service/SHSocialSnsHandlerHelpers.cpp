// The platform handlers' image, text and URL-scheme helpers, for single-sign-on handlers.

#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>

#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialExtConfig.h"
#include "SocialSDK/service/SHSocialImageLoader.h"
#include "SocialSDK/service/SHSocialSnsData.h"
#include "SocialSDK/service/SHSocialSnsHandler.h"
#include "SocialSDK/service/SHSocialToast.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/net/HttpClient.h"

namespace {

// A picture the share needs at once is fetched on the main thread: it must not hold the
// screen for long.
constexpr double kSynchronousImageTimeoutSeconds = 10;

// Bytes of a text in an ICU encoding; nothing when the converter cannot be opened.
struct Encoder {
    explicit Encoder(const std::string& name) {
        UErrorCode status = U_ZERO_ERROR;
        converter = ucnv_open(name.c_str(), &status);
        if (U_FAILURE(status))
            converter = nullptr;
    }
    ~Encoder() {
        if (converter)
            ucnv_close(converter);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    std::size_t length(const icu::UnicodeString& text) const {
        UErrorCode status = U_ZERO_ERROR;
        ucnv_resetFromUnicode(converter);
        const int32_t needed =
            ucnv_fromUChars(converter, nullptr, 0, text.getBuffer(), text.length(), &status);
        return needed > 0 ? static_cast<std::size_t>(needed) : 0;
    }
    UConverter* converter = nullptr;
};

void warnURLScheme() {
    platform::log(
        "\n****************************************************************\n"
        "Single sign-on needs the application's URL scheme: add it to the URL types of the "
        "application's Info.plist as the share SDK's documentation describes.\n"
        "****************************************************************");
}

platform::Json urlTypes() {
    auto types = platform::Bundle::main().objectForInfoDictionaryKey("CFBundleURLTypes");
    return types && types->is_array() ? *types : platform::Json::array();
}

}  // namespace

platform::Image SHSocialSnsHandler::scaleImage(const platform::Image& image, platform::Size size) {
    const auto actual = image.size();
    if (image.isNull() || actual.width <= 0 || actual.height <= 0)
        return image;
    if (actual.width < size.width && actual.height < size.height)
        return image;
    const double ratio = std::min(size.width / actual.width, size.height / actual.height);
    const platform::Size target{actual.width * ratio, actual.height * ratio};
    platform::BitmapContext context(target);
    context.drawImageUpright(image, platform::Rect{{0, 0}, target});
    return context.makeImage();
}

std::string SHSocialSnsHandler::scaleAndComplessImage(const platform::Image& image,
                                                      platform::Size size) {
    return scaleImage(image, size).jpegData(0.8);
}

std::optional<std::string> SHSocialSnsHandler::subString(const std::string& text,
                                                         const std::string& encoding,
                                                         std::size_t bytesLength) {
    if (text.empty())
        return std::nullopt;
    Encoder encoder(encoding);
    if (!encoder.converter)
        return std::nullopt;
    const auto whole = icu::UnicodeString::fromUTF8(text);
    if (bytesLength == 0 || encoder.length(whole) <= bytesLength)
        return text;
    // Grow the prefix one code point at a time while its encoding still fits.
    int32_t end = 0;
    while (end < whole.length()) {
        const int32_t next = whole.moveIndex32(end, 1);
        if (encoder.length(icu::UnicodeString(whole, 0, next)) > bytesLength)
            break;
        end = next;
    }
    std::string prefix;
    icu::UnicodeString(whole, 0, end).toUTF8String(prefix);
    return prefix;
}

platform::HttpRequest SHSocialSnsHandler::imageRequest(const std::string& url) {
    platform::HttpRequest request;
    request.url = url;
    request.timeoutSeconds = kSynchronousImageTimeoutSeconds;
    return request;
}

platform::Image SHSocialSnsHandler::imageFromResponse(const platform::HttpResponse& response) {
    if (response.status != 200 || response.body.empty())
        return {};
    return platform::Image::decode(response.body);
}

platform::Image SHSocialSnsHandler::loadImageSynchronously(const std::string& url) {
    return imageFromResponse(platform::HttpClient::shared().sendSync(imageRequest(url)));
}

platform::Image SHSocialSnsHandler::cachedOrLoadedImage(const std::string& url) {
    auto cached = SHSocialImageLoader::sharedImageLoader()->imageForURL(url, nullptr, false);
    return cached.isNull() ? loadImageSynchronously(url) : cached;
}

SHSImageObject SHSocialSnsHandler::getShareImage(const SHSocialData& subject,
                                                 const std::string& platformName) {
    std::shared_ptr<SHSocialSnsData> data;
    if (auto ext = subject.extConfig()) {
        auto it = ext->snsDataDictionary.find(platformName);
        if (it != ext->snsDataDictionary.end())
            data = it->second;
    }
    auto link = data && data->urlResource && data->urlResource->resourceType != 0
                    ? data->urlResource
                    : subject.urlResource();
    if (link && link->resourceType == 1 && link->url && !link->url->empty()) {
        if (auto image = cachedOrLoadedImage(*link->url); !image.isNull())
            return image;
    }
    if (data && SHSImageObjectIsSet(data->shareImage))
        return data->shareImage;
    return subject.shareImage();
}

// Of several URL types that have a scheme with the prefix, the last one's.
std::optional<std::string> SHSocialSnsHandler::searchForURLSchemeWithPrefix(
    const std::string& prefix, const platform::Json& urlObjectArray) {
    std::optional<std::string> found;
    if (!urlObjectArray.is_array())
        return found;
    for (const auto& type : urlObjectArray) {
        if (!type.is_object() || !type.contains("CFBundleURLSchemes") ||
            !type["CFBundleURLSchemes"].is_array())
            continue;
        for (const auto& scheme : type["CFBundleURLSchemes"]) {
            if (scheme.is_string() && scheme.get<std::string>().rfind(prefix, 0) == 0) {
                found = scheme.get<std::string>() + "://";
                break;
            }
        }
    }
    return found;
}

bool SHSocialSnsHandler::searchForURLSchemeWithURLName(const std::string& urlName) {
    for (const auto& type : urlTypes()) {
        if (type.is_object() && type.contains("CFBundleURLName") &&
            type["CFBundleURLName"].is_string() && type["CFBundleURLName"] == urlName)
            return true;
    }
    warnURLScheme();
    return false;
}

std::optional<std::string> SHSocialSnsHandler::getUrlSchemeWithPrefix(const std::string& prefix) {
    auto found = searchForURLSchemeWithPrefix(prefix, urlTypes());
    if (!found)
        warnURLScheme();
    return found;
}

bool SHSocialSnsHandler::searchForURLSchemeWithPrefix(const std::string& prefix) {
    if (searchForURLSchemeWithPrefix(prefix, urlTypes()))
        return true;
    warnURLScheme();
    return false;
}

void SHSocialSnsHandler::removeMaskView() {
    if (toast)
        toast->removeToast();
}
