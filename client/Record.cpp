#include "client/Record.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

std::string recordText(const platform::Json& value) {
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_boolean())
        return value.get<bool>() ? "1" : "0";
    if (value.is_number_float()) {
        // Whole numbers read as the platform shows them: 3.0 is "3".
        double number = value.get<double>();
        if (std::isfinite(number) && std::trunc(number) == number && std::fabs(number) < 1e15)
            return std::to_string(static_cast<long long>(number));
    }
    if (value.is_number())
        return value.dump();
    return "";
}

namespace {

long clampedWholePart(double number) {
    if (!std::isfinite(number))
        return 0;
    const double whole = std::trunc(number);
    if (whole >= static_cast<double>(std::numeric_limits<long>::max()))
        return std::numeric_limits<long>::max();
    if (whole <= static_cast<double>(std::numeric_limits<long>::min()))
        return std::numeric_limits<long>::min();
    return static_cast<long>(whole);
}

// The whole text, spaces around it aside, as a number; else 0.
long countFromText(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const char* end = text.data() + text.size();
    long whole = 0;
    if (auto [ptr, ec] = std::from_chars(text.data(), end, whole); ec == std::errc() && ptr == end)
        return whole;
    double number = 0;
    if (auto [ptr, ec] = std::from_chars(text.data(), end, number, std::chars_format::fixed);
        ec == std::errc() && ptr == end)
        return clampedWholePart(number);
    return 0;
}

}  // namespace

long recordCount(const platform::Json& value) {
    if (value.is_number_integer()) {
        if (value.is_number_unsigned()) {
            const auto number = value.get<unsigned long long>();
            return number > static_cast<unsigned long long>(std::numeric_limits<long>::max())
                       ? std::numeric_limits<long>::max()
                       : static_cast<long>(number);
        }
        return static_cast<long>(value.get<long long>());
    }
    if (value.is_number_float())
        return clampedWholePart(value.get<double>());
    if (value.is_string())
        return countFromText(value.get_ref<const std::string&>());
    return 0;
}
