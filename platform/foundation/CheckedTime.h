#pragma once

#include <chrono>
#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>

// Times that come from outside (a service's reply, a stored file, a command) are numbers of any
// size, while the clocks count nanoseconds in 64 bits: about 292 years either way. Converting
// or adding past that is undefined behaviour, not a far-off date. Every such time goes through
// these, and a time beyond the clock's reach is nothing (the caller's "no value") instead.
namespace platform {

// `seconds` as a duration of the given type; nothing when it is not a finite number or lies
// beyond the type's range.
template <typename Duration>
std::optional<Duration> durationFromSeconds(double seconds) {
    static_assert(std::is_integral_v<typename Duration::rep>);
    using Period = typename Duration::period;
    if (!std::isfinite(seconds))
        return std::nullopt;
    const double ticks =
        seconds * static_cast<double>(Period::den) / static_cast<double>(Period::num);
    // The range as a double rounds up to a power of two, which itself does not fit: the
    // comparisons are strict.
    constexpr double kMax = static_cast<double>(std::numeric_limits<typename Duration::rep>::max());
    constexpr double kMin = static_cast<double>(std::numeric_limits<typename Duration::rep>::min());
    if (!(ticks < kMax) || !(ticks > kMin))
        return std::nullopt;
    return Duration(static_cast<typename Duration::rep>(ticks));
}

// `time` moved by `by`; nothing when the result lies beyond the clock's range.
template <typename Clock, typename Duration>
std::optional<std::chrono::time_point<Clock, Duration>> checkedAdd(
    std::chrono::time_point<Clock, Duration> time, Duration by) {
    typename Duration::rep sum{};
    if (__builtin_add_overflow(time.time_since_epoch().count(), by.count(), &sum))
        return std::nullopt;
    return std::chrono::time_point<Clock, Duration>(Duration(sum));
}

// `time` moved by `seconds`, each checked as above.
template <typename Clock, typename Duration>
std::optional<std::chrono::time_point<Clock, Duration>> checkedAddSeconds(
    std::chrono::time_point<Clock, Duration> time, double seconds) {
    auto by = durationFromSeconds<Duration>(seconds);
    if (!by)
        return std::nullopt;
    return checkedAdd(time, *by);
}

// `step` taken `count` times; nothing past the duration's range.
template <typename Duration>
std::optional<Duration> checkedMultiply(Duration step, long long count) {
    typename Duration::rep product{};
    if (__builtin_mul_overflow(step.count(), count, &product))
        return std::nullopt;
    return Duration(product);
}

// Dates from outside are held to half the system clock's range (about the years 1824 to
// 2116), so that the difference of any two of them, or of one and now, is in range as well.
inline bool isWithinDateRange(std::chrono::system_clock::time_point date) {
    constexpr auto kLimit = std::numeric_limits<std::chrono::system_clock::rep>::max() / 2;
    const auto ticks = date.time_since_epoch().count();
    return ticks < kLimit && ticks > -kLimit;
}

// Seconds since 1970 (as stored files and replies give dates) as a date; nothing beyond the
// range above.
inline std::optional<std::chrono::system_clock::time_point> timePointFromSeconds(
    double secondsSince1970) {
    auto since = durationFromSeconds<std::chrono::system_clock::duration>(secondsSince1970);
    if (!since || !isWithinDateRange(std::chrono::system_clock::time_point(*since)))
        return std::nullopt;
    return std::chrono::system_clock::time_point(*since);
}

// `seconds` after `date` (a lifetime a reply gives, say); nothing beyond the range above.
inline std::optional<std::chrono::system_clock::time_point> dateAfterSeconds(
    std::chrono::system_clock::time_point date, double seconds) {
    auto later = checkedAddSeconds(date, seconds);
    if (!later || !isWithinDateRange(*later))
        return std::nullopt;
    return later;
}

}  // namespace platform
