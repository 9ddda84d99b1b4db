#pragma once

#include <memory>

#include "SocialSDK/service/SHSocialResponseEntity.h"

// Receives the result of every request job of a data manager.
class SHSNetworkDelegate {
public:
    virtual ~SHSNetworkDelegate() = default;
    virtual void didFinishGetResponseInSDK(std::shared_ptr<SHSocialResponseEntity>) {}
};

// A host's or a screen's listener for a share subject's results.
class SHSocialDataDelegate {
public:
    virtual ~SHSocialDataDelegate() = default;
    virtual void didFinishGetSHSocialDataResponse(std::shared_ptr<SHSocialResponseEntity>) {}
};
