#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/service/SHSSharedInstance.h"

class SHSDataManager;

// The application key and one data manager per share subject, with the subject that is
// current. All on the main thread.
class SHSDataManagerSet {
public:
    static SHSDataManagerSet& shareInstance() {
        return SHSSharedInstance<SHSDataManagerSet>::get();
    }
    static void resetSharedInstance() { SHSSharedInstance<SHSDataManagerSet>::reset(); }

    // Kept, and stored in the SDK's document store under "appkey" (none stores nothing).
    void setAppkey(const std::optional<std::string>& appkey);
    // The kept key; only when none is kept, the document store's.
    std::optional<std::string> appkey() const;

    std::optional<std::string> currentDataHash;
    std::optional<std::string> cocos2dxVersion;
    std::optional<std::string> sdkType;

    // Makes the subject current, creating its data manager the first time; none does nothing.
    void setDataManagerWithHash(const std::optional<std::string>& identifier);
    // The current subject's data manager, or null.
    std::shared_ptr<SHSDataManager> dataManager() const;
    // Makes the subject current and answers its data manager (null when it has none).
    std::shared_ptr<SHSDataManager> getDataManager(const std::string& identifier);
    // The subject's data manager without changing the current one; null when it has none.
    std::shared_ptr<SHSDataManager> existingDataManager(const std::string& identifier) const;

private:
    friend class SHSSharedInstance<SHSDataManagerSet>;
    SHSDataManagerSet() = default;

    std::optional<std::string> m_appkey = std::string();
    std::map<std::string, std::shared_ptr<SHSDataManager>> m_managers;
};
