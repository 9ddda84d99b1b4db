#include "SocialSDK/base/SHSocialProtocolData.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "SocialSDK/base/SHSocialDeviceInfo.h"
#include "platform/foundation/Crypto.h"
#include "platform/foundation/Dates.h"
#include "platform/foundation/UUID.h"

namespace {

std::mutex g_clockMutex;
SHSocialProtocolData::WallClock g_clock;

}  // namespace

void SHSocialProtocolData::setClock(WallClock clock) {
    std::lock_guard lock(g_clockMutex);
    g_clock = std::move(clock);
}

std::chrono::system_clock::time_point SHSocialProtocolData::now() {
    WallClock clock;
    {
        std::lock_guard lock(g_clockMutex);
        clock = g_clock;
    }
    return clock ? clock() : std::chrono::system_clock::now();
}

long long SHSocialProtocolData::nowMillis() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(now().time_since_epoch()).count();
}

std::string SHSocialProtocolData::dateString() {
    return platform::formatDate(now(), "yyyy-MM-dd");
}

std::string SHSocialProtocolData::timeString() {
    return platform::formatDate(now(), "HH:mm:ss");
}

std::string SHSocialProtocolData::timeMSString() {
    return platform::formatDate(now(), "HH:mm:ss.SSS");
}

std::string SHSocialProtocolData::deviceIDVendorString() {
    return SHSocialDeviceInfo::current().vendorIdentifier().value_or("");
}

std::optional<std::string> SHSocialProtocolData::deviceMacString() {
    const auto& device = SHSocialDeviceInfo::current();
    const auto address = device.linkLayerAddress();
    if (!address || address->size() != 6) {
        using Failure = SHSocialDeviceInfo::LinkLayerFailure;
        switch (address ? Failure::NotAnAddress : device.linkLayerFailure()) {
            case Failure::NoInterface:
                std::fputs("Error: if_nametoindex error\n", stdout);
                break;
            case Failure::Unreadable:
                std::fputs("Error: sysctl, take 1\n", stdout);
                break;
            case Failure::NoMemory:
                std::fputs("Could not allocate memory. error!\n", stdout);
                break;
            case Failure::NotAnAddress:
                std::fputs("Error: sysctl, take 2\n", stdout);
                break;
        }
        return std::nullopt;
    }
    char text[18];
    const auto* b = reinterpret_cast<const unsigned char*>(address->data());
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", b[0], b[1], b[2], b[3], b[4],
                  b[5]);
    return std::string(text);
}

std::string SHSocialProtocolData::openUDIDString() {
    return SHSocialDeviceInfo::current().openUDID().value_or("");
}

std::string SHSocialProtocolData::UUIDString() {
    return platform::makeUUIDString();
}

std::string SHSocialProtocolData::UUIDMD5String() {
    return md5Value(UUIDString());
}

std::string SHSocialProtocolData::deviceModelString() {
    return SHSocialDeviceInfo::current().machine().value_or("");
}

std::string SHSocialProtocolData::osVersionString() {
    return SHSocialDeviceInfo::current().systemVersion().value_or("");
}

std::string SHSocialProtocolData::accessString() {
    const SHSocialDeviceInfo& device = SHSocialDeviceInfo::current();
    const std::string machine = device.machine().value_or("");
    // A simulator shares the computer's network, which counts as Wi-Fi.
    if (device.model().value_or("") == "iPhone Simulator" || machine == "x86_64" ||
        machine == "i386")
        return "WiFi";
    const auto names = device.ipv4InterfaceNames();
    const std::string primary = device.primaryInterfaceName();
    if (!primary.empty() && std::find(names.begin(), names.end(), primary) != names.end())
        return "WiFi";
    return names.empty() ? "" : "CellNetwork";
}

std::string SHSocialProtocolData::md5Value(std::string_view text) {
    return platform::hexEncode(platform::md5Digest(text), true);
}
