#include "SocialSDK/service/SHSBaseEntity.h"

#include "SocialSDK/base/SHSProtocolKeys.h"
#include "SocialSDK/base/SHSocialProtocolData.h"

namespace keys = SHSProtocolKeys;

SHSBaseEntity::SHSBaseEntity() {
    // A value the device cannot give goes out as "" rather than breaking the query.
    const std::string mac = SHSocialProtocolData::deviceMacString().value_or("");
    const std::string openUDID = SHSocialProtocolData::openUDIDString();
    const std::string access = SHSocialProtocolData::accessString();
    const std::string model = SHSocialProtocolData::deviceModelString();
    const std::string os = SHSocialProtocolData::osString();
    const std::string time = std::to_string(SHSocialProtocolData::nowMillis());
    const std::string protocolVersion = "2.0";

    baseString = std::string(keys::mac) + "=" + mac + "&" + keys::openudid + "=" + openUDID + "&" +
                 keys::protocolVersion + "=" + protocolVersion + "&" + keys::access + "=" + access +
                 "&" + keys::device + "=" + model + "&" + keys::os + "=" + os + "&" + keys::date +
                 "=" + time;
    baseDic = platform::Json::object();
    baseDic[keys::mac] = mac;
    baseDic[keys::openudid] = openUDID;
    baseDic[keys::sdkVersion] = keys::sdkVersionValue;
    baseDic[keys::protocolVersion] = protocolVersion;
    baseDic[keys::access] = access;
    baseDic[keys::device] = model;
    baseDic[keys::os] = os;
    baseDic[keys::date] = time;
}

std::string SHSBaseEntity::toString() const {
    std::string query = baseString + "&" + keys::type + "=" + type.value_or("") + "&" +
                        keys::appkey + "=" + appkey.value_or("");
    const auto append = [&query](const char* key, const std::optional<std::string>& value) {
        if (value)
            query += std::string("&") + key + "=" + *value;
    };
    append(keys::entityKey, entityKey);
    append(keys::uid, uid);
    append(keys::cuid, cuid);
    append(keys::sdkVersion, sdkVersion);
    return query;
}

platform::Json SHSBaseEntity::toDictionary() const {
    platform::Json dictionary = baseDic;
    dictionary[keys::type] = type.value_or("");
    if (uid)
        dictionary[keys::uid] = *uid;
    if (entityKey)
        dictionary[keys::entityKey] = *entityKey;
    dictionary[keys::appkey] = appkey.value_or("");
    if (wid)
        dictionary["wid"] = *wid;
    return dictionary;
}
