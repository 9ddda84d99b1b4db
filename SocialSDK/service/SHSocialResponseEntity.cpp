#include "SocialSDK/service/SHSocialResponseEntity.h"

std::string SHSocialResponseEntity::description() const {
    platform::Json fields = platform::Json::object();
    if (responseCode)
        fields["responseCode"] = responseCode;
    if (data)
        fields["data"] = *data;
    if (message)
        fields["message"] = *message;
    if (responseType)
        fields["responseType"] = responseType;
    if (viewControllerType)
        fields["viewControllerType"] = viewControllerType;
    if (error)
        fields["error"] = *error;
    if (thirdPlatformResponse)
        fields["thirdPlatformResponse"] = *thirdPlatformResponse;
    if (thirdPlatformUserProfile)
        fields["thirdPlatformUserProfile"] = *thirdPlatformUserProfile;
    return fields.dump(2, ' ', false, platform::Json::error_handler_t::replace);
}
