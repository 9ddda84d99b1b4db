#include "SocialSDK/service/SHSProtocol.h"

#include "SocialSDK/service/SHSBaseEntity.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialJobFactory.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"

namespace {

std::string configuredBaseURL() {
    const auto file = platform::Bundle::main().pathForResource("SocialSDK-config", "plist");
    if (!file)
        return SHSBuiltInBaseURL;
    std::string error;
    const auto config = platform::readPropertyList(*file, &error);
    if (config && config->is_object()) {
        const auto it = config->find("baseURL");
        if (it != config->end() && it->is_string() && !it->get<std::string>().empty())
            return it->get<std::string>();
    }
    // A configuration without a usable address must not leave the SDK without one.
    platform::log("SocialSDK-config has no baseURL, using %@", SHSBuiltInBaseURL);
    return SHSBuiltInBaseURL;
}

}  // namespace

SHSProtocol::SHSProtocol() : baseURL(configuredBaseURL()) {}

std::string SHSProtocol::firstUse() {
    static const std::string kUsed = "0";
    if (SHSUserManager::shareInstance().uid())
        m_firstUse = kUsed;
    return m_firstUse;
}

void SHSProtocol::setBaseEntity(SHSBaseEntity& entity) const {
    entity.wid.reset();
    entity.type = typeString;
    entity.entityKey = SHSocialJobFactory::sharedInstance().getEntityKey();
    entity.uid = SHSUserManager::shareInstance().uid();
    entity.appkey = SHSDataManagerSet::shareInstance().appkey();
    entity.sdkVersion = sdkVersionStr;
}

std::string SHSProtocol::baseString() {
    SHSBaseEntity entity;
    setBaseEntity(entity);
    if (cuid) {
        entity.cuid = cuid;
        cuid.reset();
    }
    return entity.toString();
}

platform::Json SHSProtocol::baseDictionary() {
    SHSBaseEntity entity;
    setBaseEntity(entity);
    if (wid) {
        entity.wid = wid;
        wid.reset();
    }
    return entity.toDictionary();
}
