#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/base/SHSLocation.h"
#include "platform/foundation/Json.h"

// A comment on a share subject.
class SHSCommentEntity {
public:
    std::optional<std::string> uid;
    std::optional<std::string> content;
    std::optional<std::string> nickName;
    std::optional<std::string> userAvatar;
    std::optional<SHSLocation> location;
    long long dateInterval = 0;  // milliseconds since 1970

    platform::Json toArchive() const;
    static std::shared_ptr<SHSCommentEntity> fromArchive(const platform::Json& archive);

    // The comment's age: "%d 秒前", "%d 分钟前", "%d 小时前" or "%d 天前".
    std::string getDateString() const;
    std::string description() const;
};
