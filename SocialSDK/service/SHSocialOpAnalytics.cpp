#include "SocialSDK/service/SHSocialOpAnalytics.h"

#include <exception>

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSArchive.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSocialSnsPlatformManagerInternal.h"
#include "platform/foundation/UserDefaults.h"

namespace {

constexpr const char* kDictionaryKey = "SHSocialOpDictioanry";
constexpr const char* kCountKey = "SHSocialOpCount";

}  // namespace

SHSocialOpAnalytics::SHSocialOpAnalytics() {
    auto& defaults = platform::UserDefaults::standard();
    if (auto stored = defaults.dictionaryForKey(kDictionaryKey)) {
        stored->erase("count");
        m_opDictionary = std::move(*stored);
        m_count = static_cast<int>(defaults.integerForKey(kCountKey));
    }
}

void SHSocialOpAnalytics::postSocialAnalytics(const std::string& opCode) {
    postSocialAnalyticsSnsName(opCode, std::nullopt);
}

void SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType(
    const std::string& opCode, const std::optional<std::string>& sourceOpType) {
    postSocialAnalyticsFromSourceOpType(opCode, sourceOpType, std::nullopt);
}

void SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType(
    const std::string& opCode, const std::optional<std::string>& sourceOpType,
    const std::optional<std::string>& snsName) {
    postSocialAnalyticsSnsName(sourceOpType ? *sourceOpType + "+" + opCode : opCode, snsName);
}

void SHSocialOpAnalytics::postSocialAnalyticsSnsName(const std::string& opCode,
                                                     const std::optional<std::string>& snsName) {
    try {
        shareInstance().countOperation(opCode, snsName);
    } catch (const std::exception&) {
        SHSocialUtils::outLog("postSocialAnalytics exception");
    }
}

void SHSocialOpAnalytics::countOperation(const std::string& opKey,
                                         const std::optional<std::string>& snsName) {
    ++m_count;
    std::string key = opKey;
    if (snsName)
        key +=
            "-" + std::to_string(SHSocialSnsPlatformManagerInternal::getSnsPlatformType(*snsName));
    const auto it = m_opDictionary.find(key);
    const int counted = it == m_opDictionary.end() ? 0 : shsarchive::replyInt(*it);
    m_opDictionary[key] = std::to_string(counted + 1);
    if (m_count >= kHandOverCount) {
        const platform::Json handed = m_opDictionary;
        // Cleared at once, whatever becomes of the request.
        m_opDictionary = platform::Json::object();
        m_count = 0;
        SHSDataManager::currentDataManager()->postOpAnalyticsWithDictionary(handed, nullptr);
    }
    auto& defaults = platform::UserDefaults::standard();
    defaults.setObject(m_opDictionary, kDictionaryKey);
    defaults.setInteger(m_count, kCountKey);
    defaults.synchronize();
}
