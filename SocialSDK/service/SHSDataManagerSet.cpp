#include "SocialSDK/service/SHSDataManagerSet.h"

#include "SocialSDK/service/SHSCacheManager.h"
#include "SocialSDK/service/SHSDataManager.h"

void SHSDataManagerSet::setAppkey(const std::optional<std::string>& appkey) {
    m_appkey = appkey;
    if (appkey)
        SHSCacheManager::shareInstance().setValueInDocument(*appkey, "appkey");
}

std::optional<std::string> SHSDataManagerSet::appkey() const {
    if (m_appkey)
        return m_appkey;
    return SHSCacheManager::shareInstance().getValueFromDocument("appkey");
}

void SHSDataManagerSet::setDataManagerWithHash(const std::optional<std::string>& identifier) {
    if (!identifier)
        return;
    currentDataHash = identifier;
    if (!m_managers.count(*identifier))
        m_managers[*identifier] = std::make_shared<SHSDataManager>(*identifier);
}

std::shared_ptr<SHSDataManager> SHSDataManagerSet::dataManager() const {
    return currentDataHash ? existingDataManager(*currentDataHash) : nullptr;
}

std::shared_ptr<SHSDataManager> SHSDataManagerSet::getDataManager(const std::string& identifier) {
    currentDataHash = identifier;
    return existingDataManager(identifier);
}

std::shared_ptr<SHSDataManager> SHSDataManagerSet::existingDataManager(
    const std::string& identifier) const {
    const auto it = m_managers.find(identifier);
    return it == m_managers.end() ? nullptr : it->second;
}
