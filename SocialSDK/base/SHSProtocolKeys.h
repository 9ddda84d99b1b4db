#pragma once

// The short wire keys of the share service, in the protocol's order. Further keys ("st",
// "sns", "to", "wid" ...) are written out where they are used.
namespace SHSProtocolKeys {

inline constexpr const char* mac = "mac";            // device link-layer address
inline constexpr const char* openudid = "openudid";  // device OpenUDID
inline constexpr const char* uid = "uid";            // the SDK's user id, assigned by the service
inline constexpr const char* usid = "usid";          // the user's id on a platform
inline constexpr const char* access = "en";          // network access kind
inline constexpr const char* device = "de";          // device model
inline constexpr const char* os = "os";              // operating system
inline constexpr const char* date = "dt";            // request time, ms since 1970
inline constexpr const char* opid = "opid";          // operation id of the action
inline constexpr const char* appkey = "ak";
inline constexpr const char* entityKey = "ek";  // "-1" until the service assigned one
inline constexpr const char* sessionId = "sid";
inline constexpr const char* protocolVersion = "pcv";
inline constexpr const char* type = "tp";
inline constexpr const char* sdkVersion = "sdkv";
inline constexpr const char* descriptor = "dc";
inline constexpr const char* name = "name";
inline constexpr const char* firstUse = "ni";
inline constexpr const char* viewCount = "pv";
inline constexpr const char* commentCount = "cm";
inline constexpr const char* likeCount = "lk";
inline constexpr const char* shareCount = "sn";
inline constexpr const char* isLike = "fr";
inline constexpr const char* cuid = "cuid";
inline constexpr const char* shareKind = "type";  // "shake" or "common"
inline constexpr const char* appWebsite = "app_website";
inline constexpr const char* appName = "app_name";
inline constexpr const char* lastCommentTime = "lct";
inline constexpr const char* content = "ct";
inline constexpr const char* templateText = "tpt";
inline constexpr const char* picture = "pic";
inline constexpr const char* location = "lc";  // "(%f,%f)": longitude, then latitude
inline constexpr const char* via = "via";
inline constexpr const char* contentText = "ct";
inline constexpr const char* sdkVersionValue = "5.0";

}  // namespace SHSProtocolKeys
