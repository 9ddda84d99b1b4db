#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Json.h"

// The common fields of one request, made afresh for each: the device values and the time
// when it is made, and the session values SHSProtocol::setBaseEntity gives it.
class SHSBaseEntity {
public:
    // Reads the device values and the time now. A value the device cannot give is sent as "".
    SHSBaseEntity();

    std::optional<std::string> type;
    std::optional<std::string> entityKey;
    std::optional<std::string> uid;
    std::optional<std::string> appkey;
    std::optional<std::string> cuid;
    std::optional<std::string> wid;
    std::optional<std::string> sdkVersion;
    platform::Json baseDic;  // mac, openudid, sdkv, pcv, en, de, os, dt
    std::string baseString;  // mac, openudid, pcv, en, de, os, dt as a query

    // The base query: baseString, tp, ak, then ek, uid, cuid, sdkv where set.
    std::string toString() const;
    // The base dictionary: baseDic with tp, uid and ek where set, ak, and "wid" where set.
    platform::Json toDictionary() const;
};
