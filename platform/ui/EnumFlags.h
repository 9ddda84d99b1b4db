#pragma once

#include <type_traits>

namespace platform {

// Bit-set operators for the scoped enums that the phone's APIs combine with "|" (control
// events, control states, resizing masks, rect edges, animation options). An enum opts in by
// specialising EnableFlags.
template <typename E>
struct EnableFlags : std::false_type {};

template <typename E>
concept FlagEnum = EnableFlags<E>::value;

template <FlagEnum E>
constexpr E operator|(E a, E b) {
    using U = std::underlying_type_t<E>;
    return static_cast<E>(static_cast<U>(a) | static_cast<U>(b));
}

template <FlagEnum E>
constexpr E operator&(E a, E b) {
    using U = std::underlying_type_t<E>;
    return static_cast<E>(static_cast<U>(a) & static_cast<U>(b));
}

template <FlagEnum E>
constexpr E operator~(E a) {
    using U = std::underlying_type_t<E>;
    return static_cast<E>(~static_cast<U>(a));
}

template <FlagEnum E>
constexpr E& operator|=(E& a, E b) {
    return a = a | b;
}

template <FlagEnum E>
constexpr E& operator&=(E& a, E b) {
    return a = a & b;
}

// True when any bit of `flags` is set in `set`.
template <FlagEnum E>
constexpr bool hasAny(E set, E flags) {
    using U = std::underlying_type_t<E>;
    return (static_cast<U>(set) & static_cast<U>(flags)) != 0;
}

}  // namespace platform
