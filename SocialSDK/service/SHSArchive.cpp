#include "SocialSDK/service/SHSArchive.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/foundation/CheckedTime.h"

namespace shsarchive {

void putText(platform::Json& archive, const char* key, const std::optional<std::string>& value) {
    if (value)
        archive[key] = *value;
}

void putDate(platform::Json& archive, const char* key, const std::optional<Date>& value) {
    if (value)
        archive[key] = std::chrono::duration<double>(value->time_since_epoch()).count();
}

std::optional<std::string> text(const platform::Json& archive, const char* key) {
    const auto it = archive.find(key);
    if (it == archive.end() || !it->is_string())
        return std::nullopt;
    return it->get<std::string>();
}

std::optional<Date> date(const platform::Json& archive, const char* key) {
    const auto it = archive.find(key);
    if (it == archive.end() || !it->is_number())
        return std::nullopt;
    return platform::timePointFromSeconds(it->get<double>());
}

std::vector<std::string> texts(const platform::Json& archive, const char* key) {
    std::vector<std::string> values;
    const auto it = archive.find(key);
    if (it == archive.end() || !it->is_array())
        return values;
    for (const auto& element : *it) {
        if (element.is_string())
            values.push_back(element.get<std::string>());
    }
    return values;
}

long long integer(const platform::Json& archive, const char* key) {
    const auto it = archive.find(key);
    if (it == archive.end() || !it->is_number())
        return 0;
    if (it->is_number_float()) {
        const double value = it->get<double>();
        if (!std::isfinite(value) || std::fabs(value) > 9e18)
            return 0;
        return static_cast<long long>(value);
    }
    return it->get<long long>();
}

bool boolean(const platform::Json& archive, const char* key) {
    const auto it = archive.find(key);
    if (it == archive.end())
        return false;
    if (it->is_boolean())
        return it->get<bool>();
    return it->is_number() && it->get<double>() != 0;
}

std::optional<std::string> replyText(const platform::Json& value) {
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_number_integer())
        return value.dump();
    if (value.is_number_float()) {
        const double number = value.get<double>();
        if (std::isfinite(number) && number == std::floor(number) && std::fabs(number) < 1e15)
            return std::to_string(static_cast<long long>(number));
        return value.dump();
    }
    return std::nullopt;
}

int replyInt(const platform::Json& value) {
    double number = 0;
    if (value.is_number()) {
        number = value.get<double>();
    } else if (value.is_string()) {
        const std::string text = value.get<std::string>();
        const char* first = text.data();
        while (first < text.data() + text.size() && *first == ' ') ++first;
        if (std::from_chars(first, text.data() + text.size(), number).ec != std::errc())
            return 0;
    } else if (value.is_boolean()) {
        return value.get<bool>() ? 1 : 0;
    }
    if (!std::isfinite(number) || number > std::numeric_limits<int>::max() ||
        number < std::numeric_limits<int>::min())
        return 0;
    return static_cast<int>(number);
}

}  // namespace shsarchive
