#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// Dates and calendars through ICU. Patterns are ICU (and the phone's date formatter)
// patterns, such as "yyyyMMddHHmmss". An empty zone id means the device's zone; the locale
// defaults to "en_US_POSIX", which keeps fixed formats fixed whatever the user's settings.
namespace platform {

std::string formatDate(std::chrono::system_clock::time_point time, std::string_view icuPattern,
                       std::string_view timeZoneId = {}, std::string_view localeId = "en_US_POSIX");

// The whole text must match the pattern; nothing otherwise (no lenient guessing).
std::optional<std::chrono::system_clock::time_point> parseDate(
    std::string_view text, std::string_view icuPattern, std::string_view timeZoneId = {},
    std::string_view localeId = "en_US_POSIX");

// 1 = Sunday ... 7 = Saturday for a proleptic Gregorian calendar date, whatever the time zone.
// Like a calendar given date components, parts out of range carry over (30 February 2015 is
// 2 March, month 13 is January of the next year); 0 for years beyond the calendar's reach.
int weekdayOfCivilDate(long year, long month, long day);

// The device's zone: ICU's default zone, e.g. "Asia/Shanghai".
std::string deviceTimeZoneId();

// Reads the host's zone again ($TZ first) and makes it the device zone. ICU fixes its default
// zone on first use; a test that changes TZ calls this afterwards.
void refreshDeviceTimeZone();

}  // namespace platform
