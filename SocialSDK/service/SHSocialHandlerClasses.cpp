#include "SocialSDK/service/SHSocialHandlerClasses.h"

#include <map>
#include <mutex>

namespace {

struct Classes {
    std::mutex lock;
    std::map<std::string, std::shared_ptr<SHSocialExternalHandler>> byName;
};

Classes& classes() {
    static Classes table;
    return table;
}

}  // namespace

std::shared_ptr<SHSocialExternalHandler> SHSocialHandlerClasses::classNamed(
    const std::string& name) {
    auto& table = classes();
    std::lock_guard guard(table.lock);
    const auto it = table.byName.find(name);
    return it == table.byName.end() ? nullptr : it->second;
}

void SHSocialHandlerClasses::registerClass(const std::string& name,
                                           std::shared_ptr<SHSocialExternalHandler> instance) {
    auto& table = classes();
    std::lock_guard guard(table.lock);
    table.byName[name] = std::move(instance);
}

void SHSocialHandlerClasses::removeAll() {
    auto& table = classes();
    std::lock_guard guard(table.lock);
    table.byName.clear();
}
