#include "SocialSDK/service/SHSParamDictionary.h"

std::optional<std::string> SHSParamDictionary::text(const std::string& key) const {
    const auto it = values.find(key);
    if (it == values.end() || !it->is_string())
        return std::nullopt;
    return it->get<std::string>();
}
