#include "shell/StoreRecord.h"

#include <cmath>
#include <limits>

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMebibyte = 1048576;

std::int64_t leadingInteger(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        const int digit = text[i++] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

std::string textOf(const platform::Json& record, const char* key) {
    const auto it = record.find(key);
    return it != record.end() && it->is_string() ? it->get<std::string>() : std::string();
}

}  // namespace

std::int64_t storeInteger(const platform::Json& value) {
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        return number > static_cast<std::uint64_t>(kMax) ? kMax : static_cast<std::int64_t>(number);
    }
    if (value.is_number_integer())
        return value.get<std::int64_t>();
    if (value.is_number_float()) {
        const double number = std::trunc(value.get<double>());
        if (!std::isfinite(number))
            return 0;
        if (number >= 9.2e18)
            return kMax;
        if (number <= -9.2e18)
            return -kMax;
        return static_cast<std::int64_t>(number);
    }
    if (value.is_string())
        return leadingInteger(value.get<std::string>());
    return 0;
}

std::optional<StoreRecord> StoreRecord::firstOf(const platform::Json& results) {
    if (!results.is_array() || results.empty() || !results.front().is_object())
        return std::nullopt;
    const platform::Json& first = results.front();
    const auto version = first.find("version");
    const auto page = first.find("trackViewUrl");
    if (version == first.end() || !version->is_string() || page == first.end() ||
        !page->is_string())
        return std::nullopt;
    StoreRecord record;
    record.version = version->get<std::string>();
    record.trackViewUrl = page->get<std::string>();
    record.releaseNotes = textOf(first, "releaseNotes");
    if (const auto size = first.find("fileSizeBytes"); size != first.end())
        record.fileSizeBytes = storeInteger(*size);
    return record;
}

std::int64_t StoreRecord::downloadMegabytes() const {
    // A negative size is no size.
    return (fileSizeBytes > 0 ? fileSizeBytes : 0) / kMebibyte + 1;
}
