#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/base/SHSImageObject.h"
#include "SocialSDK/service/SHSocialUrlResource.h"
#include "platform/foundation/Json.h"

// A share subject's values for one platform; a value not set falls back to the subject's own.
// The media link counts only when its type is not 0.
class SHSocialSnsData {
public:
    explicit SHSocialSnsData(std::string snsName) : snsName(std::move(snsName)) {}
    virtual ~SHSocialSnsData() = default;

    std::string snsName;  // the object's own platform word (not always the dictionary key)
    std::optional<std::string> shareText;
    SHSImageObject shareImage;
    std::shared_ptr<SHSocialUrlResource> urlResource = std::make_shared<SHSocialUrlResource>();
};

class SHSocialSinaData : public SHSocialSnsData {
public:
    SHSocialSinaData() : SHSocialSnsData("sina") {}
};

class SHSocialTencentData : public SHSocialSnsData {
public:
    SHSocialTencentData() : SHSocialSnsData("tencent") {}
    std::optional<std::string> title;
    std::optional<std::string> author;
};

class SHSocialWechatSessionData : public SHSocialSnsData {
public:
    SHSocialWechatSessionData() : SHSocialSnsData("wxsession") {}
    std::optional<std::string> title;
    int wxMessageType = 0;
    std::optional<std::string> url;
    std::optional<platform::Bytes> fileData;
    std::optional<std::string> extInfo;
};

class SHSocialWechatTimelineData : public SHSocialSnsData {
public:
    SHSocialWechatTimelineData() : SHSocialSnsData("wxtimeline") {}
    std::optional<std::string> title;
    std::optional<platform::Bytes> fileData;
    int wxMessageType = 0;
    std::optional<std::string> extInfo;
    std::optional<std::string> url;
};

class SHSocialWechatFavorite : public SHSocialSnsData {
public:
    SHSocialWechatFavorite() : SHSocialSnsData("wxfavorate") {}
    std::optional<std::string> title;
    std::optional<platform::Bytes> fileData;
    int wxMessageType = 0;
    std::optional<std::string> extInfo;
    std::optional<std::string> url;
};

class SHSocialAlipaySessionData : public SHSocialSnsData {
public:
    SHSocialAlipaySessionData() : SHSocialSnsData("alipay") {}
    std::optional<std::string> title;
    int alipayMessageType = 0;
    std::optional<std::string> url;
};

class SHSocialQQData : public SHSocialSnsData {
public:
    SHSocialQQData() : SHSocialSnsData("qq") {}
    std::optional<std::string> url;
    std::optional<std::string> title;
    int qqMessageType = 0;
};

class SHSocialQzoneData : public SHSocialSnsData {
public:
    SHSocialQzoneData() : SHSocialSnsData("qzone") {}
    std::optional<std::string> title;
    std::optional<std::string> url;
};

class SHSocialLWSessionData : public SHSocialSnsData {
public:
    SHSocialLWSessionData() : SHSocialSnsData("lwsession") {}
    std::optional<std::string> url;
};

class SHSocialLWTimelineData : public SHSocialSnsData {
public:
    SHSocialLWTimelineData() : SHSocialSnsData("lwtimeline") {}
    std::optional<std::string> url;
};

class SHSocialYXSessionData : public SHSocialSnsData {
public:
    SHSocialYXSessionData() : SHSocialSnsData("yxsession") {}
    int yxMessageType = 0;
    std::optional<std::string> url;
};

class SHSocialYXTimelineData : public SHSocialSnsData {
public:
    SHSocialYXTimelineData() : SHSocialSnsData("yxtimeline") {}
    int yxMessageType = 0;
    std::optional<std::string> url;
};

class SHSocialRenrenData : public SHSocialSnsData {
public:
    SHSocialRenrenData() : SHSocialSnsData("renren") {}
    std::optional<std::string> url;
    std::optional<std::string> appName;
};

class SHSocialDoubanData : public SHSocialSnsData {
public:
    SHSocialDoubanData() : SHSocialSnsData("douban") {}
};

class SHSocialEmailData : public SHSocialSnsData {
public:
    SHSocialEmailData() : SHSocialSnsData("email") {}
    std::optional<std::string> title;  // the mail's subject line
};

class SHSocialSmsData : public SHSocialSnsData {
public:
    SHSocialSmsData() : SHSocialSnsData("sms") {}
};

class SHSocialFacebookData : public SHSocialSnsData {
public:
    SHSocialFacebookData() : SHSocialSnsData("facebook") {}
    std::optional<std::string> title;
    std::optional<std::string> linkDescription;
    std::optional<std::string> url;
};

class SHSocialTwitterData : public SHSocialSnsData {
public:
    SHSocialTwitterData() : SHSocialSnsData("twitter") {}
};

class SHSocialInstagramData : public SHSocialSnsData {
public:
    SHSocialInstagramData() : SHSocialSnsData("instagram") {}
};

class SHSocialTumblrData : public SHSocialSnsData {
public:
    SHSocialTumblrData() : SHSocialSnsData("tumblr") {}
    std::optional<std::string> title;
    std::optional<std::string> link;
    std::optional<std::string> linkDescription;
    std::vector<std::string> tags;
    std::optional<std::string> callbackScheme;
};
