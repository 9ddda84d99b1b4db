#pragma once

#include <optional>
#include <string>

#include "SocialSDK/service/SHSSharedInstance.h"
#include "platform/foundation/Json.h"

// Counts how often each SDK operation is used, keeps the counts in the user defaults
// ("SHSocialOpDictioanry", "SHSocialOpCount") and hands them to the share service with every
// sixth counted operation (request action 18), clearing them at once.
class SHSocialOpAnalytics {
public:
    static constexpr int kHandOverCount = 6;

    static SHSocialOpAnalytics& shareInstance() {
        return SHSSharedInstance<SHSocialOpAnalytics>::get();
    }
    static void resetSharedInstance() { SHSSharedInstance<SHSocialOpAnalytics>::reset(); }

    // Counts the op code.
    static void postSocialAnalytics(const std::string& opCode);
    // Counts the key "<source>+<op code>" (the op code alone without a source).
    static void postSocialAnalyticsFromSourceOpType(const std::string& opCode,
                                                    const std::optional<std::string>& sourceOpType);
    // ... and, with a platform, "<key>-<platform type>".
    static void postSocialAnalyticsFromSourceOpType(const std::string& opCode,
                                                    const std::optional<std::string>& sourceOpType,
                                                    const std::optional<std::string>& snsName);
    // Counts "<op code>-<platform type>" (the op code alone without a platform).
    static void postSocialAnalyticsSnsName(const std::string& opCode,
                                           const std::optional<std::string>& snsName);

    // Counter key -> count as decimal text.
    const platform::Json& opDictionary() const { return m_opDictionary; }
    void setOpDictionary(platform::Json dictionary) { m_opDictionary = std::move(dictionary); }
    int count() const { return m_count; }
    void setCount(int count) { m_count = count; }

private:
    friend class SHSSharedInstance<SHSocialOpAnalytics>;
    SHSocialOpAnalytics();

    void countOperation(const std::string& key, const std::optional<std::string>& snsName);

    platform::Json m_opDictionary = platform::Json::object();
    int m_count = 0;
};
