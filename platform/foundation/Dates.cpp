#include "platform/foundation/Dates.h"

#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <ctime>
#include <memory>

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
    return Clock::time_point(std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double, std::milli>(date)));
}

int weekdayOfCivilDate(int year, int month, int day) {
    if (year < -32767 || year > 32767 || month < 1 || month > 12 || day < 1 || day > 31)
        return 0;
    std::chrono::year_month_day date{std::chrono::year(year),
                                     std::chrono::month(static_cast<unsigned>(month)),
                                     std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok())
        return 0;
    return static_cast<int>(std::chrono::weekday(std::chrono::sys_days(date)).c_encoding()) + 1;
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
