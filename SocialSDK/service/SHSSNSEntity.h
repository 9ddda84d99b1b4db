#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/base/SHSImageObject.h"
#include "SocialSDK/base/SHSLocation.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialUrlResource.h"

class SHSocialSnsPlatform;

// The share in hand, read by the share requests.
class SHSSNSEntity {
public:
    // For the platform of that type: its name and the user's stored account there.
    explicit SHSSNSEntity(int shareToType);

    std::shared_ptr<SHSocialAccountEntity> snsAccount;
    // The platform's web sign-in address, made with the entity; nothing here opens it.
    const std::string& oauthURLString() const { return m_oauthURLString; }
    // The registry's descriptor of the platform; none for a type no platform has.
    std::shared_ptr<SHSocialSnsPlatform> scSnsDescriptor;
    std::string platformName;  // "" for a type no platform has
    int shareToType = 0;
    std::optional<SHSLocation> location;
    bool isSendImage = false;
    bool isSendUrlResource = false;
    bool isShake = false;  // came from a shake gesture
    std::optional<std::string> accessToken;
    std::optional<std::string> usid;
    std::optional<std::string> shareText;
    SHSImageObject shareImage;
    std::shared_ptr<SHSocialUrlResource> urlResource;

private:
    std::string m_oauthURLString;
};
