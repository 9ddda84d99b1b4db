#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/base/SHSImageObject.h"
#include "SocialSDK/service/SHSocialExtConfig.h"
#include "SocialSDK/service/SHSocialUrlResource.h"
#include "platform/foundation/Json.h"

// A share subject's social counters as the service last told them, with the subject's share
// content. Only the counters, the like state and the service's keys are archived.
class SHSBarEntity {
public:
    int viewCount = 0;
    int likeCount = 0;
    int commentCount = 0;
    int shareCount = 0;
    bool isLike = false;
    std::optional<std::string> entityKey;  // none until the first bar reply
    std::optional<std::string> sessionId;
    std::optional<std::string> shareText;
    std::optional<std::string> commentText;
    SHSImageObject shareImage;
    std::optional<platform::Image> commentImage;
    std::shared_ptr<SHSocialUrlResource> urlResource;
    std::shared_ptr<SHSocialExtConfig> extConfig;

    // Keys "likeCount", "commentCount", "shareCount", "isLike", "entityKey", "sessionId".
    platform::Json toArchive() const;
    static std::shared_ptr<SHSBarEntity> fromArchive(const platform::Json& archive);

    // The platform's share data object, by platform name; null for a name without one.
    std::shared_ptr<SHSocialSnsData> getSnsData(const std::string& platformName) const;
    // The platform's value when it has one, else the subject's.
    std::optional<std::string> shareTextFor(const std::string& platformName) const;
    SHSImageObject shareImageFor(const std::string& platformName) const;
    std::shared_ptr<SHSocialUrlResource> urlResourceFor(const std::string& platformName) const;

    // Stores the current data manager's bar entity again.
    void writeToCache() const;
};
