#include "SocialSDK/service/SHSocialExtConfig.h"

SHSocialExtConfig::SHSocialExtConfig()
    : snsDataDictionary{{"sina", sinaData},
                        {"tencent", tencentData},
                        {"wxsession", wechatSessionData},
                        {"wxtimeline", wechatTimelineData},
                        {"wxfavorite", wechatFavoriteData},
                        {"alipaysession", alipaySessionData},
                        {"qq", qqData},
                        {"qzone", qzoneData},
                        {"renren", renrenData},
                        {"douban", doubanData},
                        {"laiwang", lwsessionData},
                        {"laiwang_dynamic", lwtimelineData},
                        {"yixin", yxsessionData},
                        {"yixin_circle", yxtimelineData},
                        {"facebook", facebookData},
                        {"twitter", twitterData},
                        {"instagram", instagramData},
                        {"tumblr", tumblrData},
                        {"sms", smsData},
                        {"email", emailData}} {}
