#include "SocialSDK/service/SHSSNSEntity.h"

#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialSnsPlatformManagerInternal.h"

SHSSNSEntity::SHSSNSEntity(int type)
    : platformName(SHSocialSnsPlatformManagerInternal::getSnsPlatformString(type)),
      shareToType(type) {
    const auto accounts = SHSUserManager::shareInstance().snsAccountDictionary();
    if (const auto it = accounts.find(platformName); it != accounts.end())
        snsAccount = it->second;
}
