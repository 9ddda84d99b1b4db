#pragma once

#include <functional>
#include <string>

#include "SocialSDK/service/SHSSharedInstance.h"
#include "platform/net/HttpClient.h"

// The share SDK's way onto the project's HTTP client: the service's base address and the
// time-out of the request being made. Each job sends its own request; completions run on the
// main loop.
class SHSocialHttpClient {
public:
    static constexpr double kJobTimeoutInterval = 60;  // seconds

    static SHSocialHttpClient& sharedInstance() {
        return SHSSharedInstance<SHSocialHttpClient>::get();
    }
    static void resetSharedInstance() { SHSSharedInstance<SHSocialHttpClient>::reset(); }

    // The protocol's base address, taken when this client is made.
    std::string baseURL;
    // Seconds; each new job sets it to jobTimeoutInterval.
    double timeoutInterval = kJobTimeoutInterval;
    // What each new job sets: 60 seconds. Tests shorten it to see a time-out without waiting.
    double jobTimeoutInterval = kJobTimeoutInterval;

    platform::HttpClient::RequestId send(platform::HttpRequest request,
                                         std::function<void(platform::HttpResponse)> completion);

private:
    friend class SHSSharedInstance<SHSocialHttpClient>;
    SHSocialHttpClient();
};
