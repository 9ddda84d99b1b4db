#pragma once

#include <string>

// The platform type numbers of the share platforms this system registers: qzone 10,
// tencent 11, renren 12, douban 13, email 17, sms 18, facebook 20, twitter 21; 0 for any
// other name (not registered).
class SHSocialSnsPlatformManagerInternal {
public:
    static int getSnsPlatformType(const std::string& platformName);
    // The registered platform's name for a type; "" for a type without one.
    static std::string getSnsPlatformString(int type);
};
