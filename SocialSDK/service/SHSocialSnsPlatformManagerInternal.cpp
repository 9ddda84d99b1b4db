#include "SocialSDK/service/SHSocialSnsPlatformManagerInternal.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<const char*, int>, 8> kRegistered{{{"qzone", 10},
                                                                  {"tencent", 11},
                                                                  {"renren", 12},
                                                                  {"douban", 13},
                                                                  {"email", 17},
                                                                  {"sms", 18},
                                                                  {"facebook", 20},
                                                                  {"twitter", 21}}};

}  // namespace

int SHSocialSnsPlatformManagerInternal::getSnsPlatformType(const std::string& platformName) {
    for (const auto& [name, type] : kRegistered) {
        if (platformName == name)
            return type;
    }
    return 0;
}

std::string SHSocialSnsPlatformManagerInternal::getSnsPlatformString(int type) {
    for (const auto& [name, registeredType] : kRegistered) {
        if (registeredType == type)
            return name;
    }
    return {};
}
