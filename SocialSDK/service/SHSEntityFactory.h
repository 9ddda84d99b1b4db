#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/service/SHSParamDictionary.h"
#include "SocialSDK/service/SHSSharedInstance.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"
#include "platform/foundation/Json.h"

class SHSDataManager;

// Turns a decrypted reply of the share service into the SDK's objects: the response entity
// every completion receives, and for the bar (3), accounts (10) and friends (12) actions the
// local state the payload describes. A payload is applied only from a reply whose "st" is 200
// and only in the shape the action expects; a value of another type counts as absent. No
// reply clears a stored uid.
class SHSEntityFactory {
public:
    static SHSEntityFactory& sharedInstance() { return SHSSharedInstance<SHSEntityFactory>::get(); }

    int config = 0;  // the action of the reply being read

    // By config: 3 the bar, 10 the accounts, 12 the friends of the parameter "displayName";
    // nothing for other actions. The manager is the reply's own (the current one when null).
    void saveObjects(const platform::Json& payload, const SHSParamDictionary& params,
                     const std::shared_ptr<SHSDataManager>& manager = nullptr);
    // A new response entity of the whole reply ("st", "msg", "data"; code 0 without a reply
    // object), which also becomes the manager's latest responseEntity.
    std::shared_ptr<SHSocialResponseEntity> makeResponse(
        const std::optional<platform::Json>& reply,
        const std::shared_ptr<SHSDataManager>& manager = nullptr);

    void makeSocialBarDataFromDictionary(const platform::Json& payload,
                                         const std::shared_ptr<SHSDataManager>& manager = nullptr);
    void makeAccountDicFromDictionry(const platform::Json& payload);
    void makeFriendDicFromDictioanry(const platform::Json& payload,
                                     const std::string& platformName);

private:
    friend class SHSSharedInstance<SHSEntityFactory>;
    SHSEntityFactory() = default;
};
