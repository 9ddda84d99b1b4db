#include "SocialSDK/service/SHSocialSnsPlatformManagerInternal.h"

#include "SocialSDK/service/SHSocialSnsPlatform.h"

int SHSocialSnsPlatformManagerInternal::getSnsPlatformType(const std::string& platformName) {
    return SHSocialSnsPlatformManager::sharedInstance().typeOfRegistered(platformName);
}

std::string SHSocialSnsPlatformManagerInternal::getSnsPlatformString(int type) {
    auto platform = SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithType(type);
    return platform ? platform->platformName : std::string();
}
