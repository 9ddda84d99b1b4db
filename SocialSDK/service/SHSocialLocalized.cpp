#include "SocialSDK/service/SHSocialLocalized.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"

std::string SHSocialLocalizedString(const std::string& key, const std::string& defaultText) {
    const auto path = platform::Bundle::main().pathForResource("SHSocialLocalizable", "plist");
    if (!path)
        return defaultText;
    const auto table = platform::readPropertyList(*path);
    if (!table || !table->is_object())
        return defaultText;
    const auto it = table->find(key);
    if (it == table->end() || !it->is_string())
        return defaultText;
    return it->get<std::string>();
}
