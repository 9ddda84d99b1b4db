#include "SocialSDK/service/SHSocialToast.h"

#include <mutex>

#include "SocialSDK/base/SHSocialUtils.h"

namespace {

struct Shown {
    std::mutex lock;
    std::vector<std::string> texts;
};

Shown& shown() {
    static Shown list;
    return list;
}

}  // namespace

void SHSocialToast::makeTextAndShow(const std::string& text) {
    SHSocialUtils::outLog("toast: %@", text);
    auto& list = shown();
    std::lock_guard guard(list.lock);
    list.texts.push_back(text);
}

std::vector<std::string> SHSocialToast::shownTexts() {
    auto& list = shown();
    std::lock_guard guard(list.lock);
    return list.texts;
}

void SHSocialToast::clearShownTexts() {
    auto& list = shown();
    std::lock_guard guard(list.lock);
    list.texts.clear();
}
