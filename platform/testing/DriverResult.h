#pragma once

#include <ostream>
#include <string>
#include <utility>

namespace platform::testing {

// What a driver action came to: done, or a one-line reason a user would understand
// ("no such handle: b9", "covered by an alert", "not tappable: hidden").
struct DriverResult {
    bool ok = false;
    std::string error;

    static DriverResult success() { return DriverResult{true, {}}; }
    static DriverResult failure(std::string error) { return DriverResult{false, std::move(error)}; }

    explicit operator bool() const { return ok; }
};

// So that a failed expectation shows the reason.
inline std::ostream& operator<<(std::ostream& out, const DriverResult& result) {
    return out << (result.ok ? std::string("ok") : "error: " + result.error);
}

}  // namespace platform::testing
