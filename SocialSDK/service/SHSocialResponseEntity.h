#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Json.h"

// Response codes of the share SDK beside the service's own "st" codes.
inline constexpr int SHSResponseCodeSuccess = 200;
inline constexpr int SHSResponseCodeNetworkError = 5050;
inline constexpr int SHSResponseCodePostAccountFail = 5051;
inline constexpr int SHSResponseCodeCancel = 5052;
inline constexpr int SHSResponseCodeNotLogin = 5053;
inline constexpr const char* SHSNetworkErrorMessage = "network error, you can get details in error";
inline constexpr const char* SHSNotLoginMessage = "user not login";

// The one result of every share SDK completion and delegate call. Each completion gets its
// own, so a result kept by a caller never changes under it.
struct SHSocialResponseEntity {
    int responseCode = 0;  // 200 success; the service's "st"; 5050 ... 5053 above
    int responseType = 0;  // the action number of the request
    int viewControllerType = 0;
    std::optional<std::string> message;
    std::optional<platform::Json> data;
    std::optional<std::string> error;  // the transport or local failure
    std::optional<platform::Json> thirdPlatformUserProfile;
    std::optional<platform::Json> thirdPlatformResponse;

    // The fields that are set (numbers when not zero) as a dictionary's text.
    std::string description() const;
};

using SHSocialResponseCompletion = std::function<void(std::shared_ptr<SHSocialResponseEntity>)>;
