#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The device and time values of the share protocol. Device values come from
// SHSocialDeviceInfo::current(); the time from the wall clock, which a test may replace.
class SHSocialProtocolData {
public:
    using WallClock = std::function<std::chrono::system_clock::time_point()>;

    // An empty clock is the system's.
    static void setClock(WallClock clock);
    static std::chrono::system_clock::time_point now();
    // Now as milliseconds since 1970 (seconds times 1000, truncated).
    static long long nowMillis();

    static std::string dateString();    // "yyyy-MM-dd", device time zone
    static std::string timeString();    // "HH:mm:ss"
    static std::string timeMSString();  // "HH:mm:ss.SSS"
    static std::string latString() { return {}; }
    static std::string lngString() { return {}; }
    static std::string cpuString() { return {}; }
    static std::string deviceIDVendorString();  // "" when the device has none
    // The "en0" link-layer address as "%02X:%02X:%02X:%02X:%02X:%02X"; nothing when it cannot
    // be read, after writing to standard output why: "Error: if_nametoindex error" (no such
    // interface), "Error: sysctl, take 1" (its address cannot be read), "Could not allocate
    // memory. error!" or "Error: sysctl, take 2" (what was read is not an address).
    static std::optional<std::string> deviceMacString();
    static std::string openUDIDString();  // "" when there is none
    static std::string UUIDString();
    static std::string UUIDMD5String();
    static std::string deviceModelString();          // the machine ("hw.machine"), "" when unknown
    static std::string osString() { return "iOS"; }  // what the service knows the SDK by
    static std::string osVersionString();
    // "WiFi", "CellNetwork" or "".
    static std::string accessString();
    // MD5 of the UTF-8 bytes as 32 upper-case hexadecimal digits.
    static std::string md5Value(std::string_view text);
};
