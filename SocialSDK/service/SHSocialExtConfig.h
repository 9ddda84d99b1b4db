#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/service/SHSocialSnsData.h"

// A share subject's per-platform extras: one data object per platform, as a named member and
// in snsDataDictionary under the platform's name.
class SHSocialExtConfig {
public:
    SHSocialExtConfig();

    std::optional<std::string> title;
    int wxMessageType = 0;

    std::shared_ptr<SHSocialSinaData> sinaData = std::make_shared<SHSocialSinaData>();
    std::shared_ptr<SHSocialTencentData> tencentData = std::make_shared<SHSocialTencentData>();
    std::shared_ptr<SHSocialWechatSessionData> wechatSessionData =
        std::make_shared<SHSocialWechatSessionData>();
    std::shared_ptr<SHSocialWechatTimelineData> wechatTimelineData =
        std::make_shared<SHSocialWechatTimelineData>();
    std::shared_ptr<SHSocialWechatFavorite> wechatFavoriteData =
        std::make_shared<SHSocialWechatFavorite>();
    std::shared_ptr<SHSocialAlipaySessionData> alipaySessionData =
        std::make_shared<SHSocialAlipaySessionData>();
    std::shared_ptr<SHSocialQQData> qqData = std::make_shared<SHSocialQQData>();
    std::shared_ptr<SHSocialQzoneData> qzoneData = std::make_shared<SHSocialQzoneData>();
    std::shared_ptr<SHSocialRenrenData> renrenData = std::make_shared<SHSocialRenrenData>();
    std::shared_ptr<SHSocialDoubanData> doubanData = std::make_shared<SHSocialDoubanData>();
    std::shared_ptr<SHSocialLWSessionData> lwsessionData =
        std::make_shared<SHSocialLWSessionData>();
    std::shared_ptr<SHSocialLWTimelineData> lwtimelineData =
        std::make_shared<SHSocialLWTimelineData>();
    std::shared_ptr<SHSocialYXSessionData> yxsessionData =
        std::make_shared<SHSocialYXSessionData>();
    std::shared_ptr<SHSocialYXTimelineData> yxtimelineData =
        std::make_shared<SHSocialYXTimelineData>();
    std::shared_ptr<SHSocialFacebookData> facebookData = std::make_shared<SHSocialFacebookData>();
    std::shared_ptr<SHSocialTwitterData> twitterData = std::make_shared<SHSocialTwitterData>();
    std::shared_ptr<SHSocialInstagramData> instagramData =
        std::make_shared<SHSocialInstagramData>();
    std::shared_ptr<SHSocialTumblrData> tumblrData = std::make_shared<SHSocialTumblrData>();
    std::shared_ptr<SHSocialSmsData> smsData = std::make_shared<SHSocialSmsData>();
    std::shared_ptr<SHSocialEmailData> emailData = std::make_shared<SHSocialEmailData>();

    // Platform name -> the same objects as the members above.
    std::map<std::string, std::shared_ptr<SHSocialSnsData>> snsDataDictionary;
};
