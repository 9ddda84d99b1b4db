#pragma once

#include <optional>
#include <string>

#include "SocialSDK/service/SHSSharedInstance.h"
#include "platform/foundation/Json.h"

class SHSBaseEntity;

// The share service's address where the host gives none (the "SocialSDK-config" resource).
inline constexpr const char* SHSBuiltInBaseURL = "http://api.ruzar-social.example/";

// The settings of the share protocol and the makers of the common request fields.
class SHSProtocol {
public:
    static SHSProtocol& sharedInstance() { return SHSSharedInstance<SHSProtocol>::get(); }
    static void resetSharedInstance() { SHSSharedInstance<SHSProtocol>::reset(); }

    std::string protocolVersionStr = "2.0";
    std::string sdkVersionStr = "5.0";
    std::string typeString = "0";
    // Read once, when this object is made: "baseURL" of the bundle's "SocialSDK-config.plist",
    // else the built-in address. Every request address is this followed by the action's path.
    std::string baseURL;
    // One-shot extra fields: the next base dictionary takes `wid`, the next base query
    // `cuid`, and each is then cleared.
    std::optional<std::string> wid;
    std::optional<std::string> cuid;

    // "1" until the user manager has a uid; from then on "0" for good.
    std::string firstUse();
    void setFirstUse(std::string value) { m_firstUse = std::move(value); }

    // A fresh base query: the device pairs, then tp, ak, ek, uid (once known), cuid (once),
    // sdkv.
    std::string baseString();
    // A fresh base dictionary: the device fields, sdkv, pcv, tp, uid (once known), ek, ak,
    // wid (once).
    platform::Json baseDictionary();
    // Type, entity key ("-1" until the service assigned one), uid, application key and SDK
    // version of this moment.
    void setBaseEntity(SHSBaseEntity& entity) const;

private:
    friend class SHSSharedInstance<SHSProtocol>;
    SHSProtocol();

    std::string m_firstUse = "1";
};
