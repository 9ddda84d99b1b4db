#include "client/DictionaryUtility.h"

using platform::Json;

std::optional<Json> objectForKeyNotNull(const Json& dict, const std::string& key) {
    if (!dict.is_object())
        return std::nullopt;
    auto it = dict.find(key);
    if (it == dict.end())
        return std::nullopt;
    if (it->is_null())
        return Json(" ");
    return *it;
}

Json objectForKeyNotBackNull(const Json& dict, const std::string& key) {
    auto value = objectForKeyNotNull(dict, key);
    return value ? *value : Json("");
}

Json deleteNull(const Json& dict) {
    if (!dict.is_object())
        return Json::object();
    Json copy = Json::object();
    for (const auto& [key, value] : dict.items()) copy[key] = value.is_null() ? Json(" ") : value;
    return copy;
}
