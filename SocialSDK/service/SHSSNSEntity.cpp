#include "SocialSDK/service/SHSSNSEntity.h"

#include "SocialSDK/service/SHSBarEntity.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSProtocol.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialSnsPlatformManagerInternal.h"

SHSSNSEntity::SHSSNSEntity(int type)
    : platformName(SHSocialSnsPlatformManagerInternal::getSnsPlatformString(type)),
      shareToType(type) {
    if (!platformName.empty())
        scSnsDescriptor =
            SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithName(platformName);
    auto& users = SHSUserManager::shareInstance();
    const auto accounts = users.snsAccountDictionary();
    if (const auto it = accounts.find(platformName); it != accounts.end())
        snsAccount = it->second;

    // The platform's web sign-in address; absent parts stay empty, never "(null)".
    const auto& protocol = SHSProtocol::sharedInstance();
    const std::string appKey = SHSDataManagerSet::shareInstance().appkey().value_or("");
    auto bar = SHSDataManager::currentDataManager()->barEntity();
    const std::string entityKey = bar ? bar->entityKey.value_or("") : std::string();
    std::string url = protocol.baseURL;
    if (scSnsDescriptor)
        url += scSnsDescriptor->oauthBaseURLString.value_or("");
    url += "/" + appKey + "/" + entityKey;
    url += "?ak=" + appKey;
    if (auto uid = users.uid())
        url += "&uid=" + *uid;
    url += "&via=" + platformName;
    url += "&sdkv=" + protocol.sdkVersionStr;
    m_oauthURLString = std::move(url);
}
