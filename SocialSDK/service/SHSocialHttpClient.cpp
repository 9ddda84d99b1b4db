#include "SocialSDK/service/SHSocialHttpClient.h"

#include "SocialSDK/service/SHSProtocol.h"

SHSocialHttpClient::SHSocialHttpClient() : baseURL(SHSProtocol::sharedInstance().baseURL) {}

platform::HttpClient::RequestId SHSocialHttpClient::send(
    platform::HttpRequest request, std::function<void(platform::HttpResponse)> completion) {
    return platform::HttpClient::shared().send(std::move(request), std::move(completion));
}
