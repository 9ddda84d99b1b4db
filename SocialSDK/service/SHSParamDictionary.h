#pragma once

#include <memory>

#include "SocialSDK/service/SHSocialResponseEntity.h"
#include "platform/foundation/Json.h"

class SHSocialAccountEntity;
class SHSocialCustomAccount;
class SHSSNSEntity;

// The parameters a request is made from, kept by its job so that the job can be rebuilt just
// before it is sent. Text, lists and dictionaries go in `values` under the wire protocol's
// parameter keys ("descriptor", "like", "snsNames", "opDic" ...); the objects that are not
// plain values have members of their own.
struct SHSParamDictionary {
    platform::Json values = platform::Json::object();
    SHSocialResponseCompletion completion;                 // "completion"
    std::shared_ptr<SHSocialAccountEntity> snsAccount;     // "snsAccount" (action 15)
    std::shared_ptr<SHSocialCustomAccount> customAccount;  // "customAccount" (action 14)
    // The share a share job sends (actions 4 and 5), kept with the job: a job that waits
    // behind the entity-key request still sends its own text and picture, not those of a
    // share queued after it.
    std::shared_ptr<SHSSNSEntity> snsEntity;

    // The text under the key; nothing when absent or not text.
    std::optional<std::string> text(const std::string& key) const;
    bool has(const std::string& key) const { return values.contains(key); }
};
