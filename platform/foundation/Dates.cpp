#include "platform/foundation/Dates.h"

#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cstdlib>
#include <ctime>
#include <memory>

#include "platform/foundation/CheckedTime.h"

namespace platform {

namespace {

using Clock = std::chrono::system_clock;

std::unique_ptr<icu::TimeZone> makeZone(std::string_view id) {
    if (id.empty())
        return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createDefault());
    return std::unique_ptr<icu::TimeZone>(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(
            icu::StringPiece(id.data(), static_cast<int32_t>(id.size())))));
}

std::unique_ptr<icu::SimpleDateFormat> makeFormat(std::string_view pattern,
                                                  std::string_view timeZoneId,
                                                  std::string_view localeId) {
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale(std::string(localeId).c_str());
    auto format = std::make_unique<icu::SimpleDateFormat>(
        icu::UnicodeString::fromUTF8(
            icu::StringPiece(pattern.data(), static_cast<int32_t>(pattern.size()))),
        locale, status);
    if (U_FAILURE(status))
        return nullptr;
    format->adoptTimeZone(makeZone(timeZoneId).release());
    return format;
}

icu::UnicodeString unicode(std::string_view text) {
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

}  // namespace

std::string formatDate(Clock::time_point time, std::string_view icuPattern,
                       std::string_view timeZoneId, std::string_view localeId) {
    auto format = makeFormat(icuPattern, timeZoneId, localeId);
    if (!format)
        return {};
    auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch());
    icu::UnicodeString formatted;
    format->format(static_cast<UDate>(millis.count()), formatted);
    std::string out;
    formatted.toUTF8String(out);
    return out;
}

std::optional<Clock::time_point> parseDate(std::string_view text, std::string_view icuPattern,
                                           std::string_view timeZoneId, std::string_view localeId) {
    auto format = makeFormat(icuPattern, timeZoneId, localeId);
    if (!format)
        return std::nullopt;
    format->setLenient(false);
    icu::UnicodeString input = unicode(text);
    icu::ParsePosition position(0);
    UDate date = format->parse(input, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != input.length())
        return std::nullopt;
    return timePointFromSeconds(date / 1000);
}

int weekdayOfCivilDate(long year, long month, long day) {
    // Beyond these the calendar types cannot hold the date; no service sends such dates.
    constexpr long kYears = 30000;
    constexpr long kDays = 10000000;
    if (std::labs(year) > kYears || std::labs(month) > 12 * kYears || std::labs(day) > kDays)
        return 0;
    // Months out of 1...12 carry into the year, days beyond the month into the next ones.
    long months = month - 1;
    long carried = months >= 0 ? months / 12 : -((11 - months) / 12);
    year += carried;
    months -= carried * 12;
    if (std::labs(year) > kYears)
        return 0;
    std::chrono::year_month_day first{std::chrono::year(static_cast<int>(year)),
                                      std::chrono::month(static_cast<unsigned>(months + 1)),
                                      std::chrono::day(1)};
    auto date = std::chrono::sys_days(first) + std::chrono::days(day - 1);
    return static_cast<int>(std::chrono::weekday(date).c_encoding()) + 1;
}

std::string deviceTimeZoneId() {
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createDefault());
    icu::UnicodeString id;
    zone->getID(id);
    std::string out;
    id.toUTF8String(out);
    return out;
}

void refreshDeviceTimeZone() {
    tzset();
    icu::TimeZone::adoptDefault(icu::TimeZone::detectHostTimeZone());
}

}  // namespace platform
