#include "SocialSDK/base/SHSocialDeviceInfo.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/utsname.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <new>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Crypto.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/Paths.h"

namespace {

std::mutex g_currentMutex;
std::shared_ptr<const SHSocialDeviceInfo> g_current;

std::string trimmed(std::string text) {
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    text.erase(text.begin(), std::find_if(text.begin(), text.end(), notSpace));
    text.erase(std::find_if(text.rbegin(), text.rend(), notSpace).base(), text.end());
    return text;
}

// "aa:bb:cc:dd:ee:ff" from sysfs as six bytes; nothing for another form or all zeros.
std::optional<std::string> parseLinkAddress(const std::string& text) {
    if (text.size() != 17)
        return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < 17; i += 3) {
        const int high = platform::hexDigitValue(text[i]);
        const int low = platform::hexDigitValue(text[i + 1]);
        if (high < 0 || low < 0 || (i + 2 < 17 && text[i + 2] != ':'))
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
    }
    if (bytes == std::string(6, '\0'))
        return std::nullopt;
    return bytes;
}

// An interface's link-layer address as sysfs gives it, or why there is none (NotAnAddress
// when the address was read).
struct LinkRead {
    std::optional<std::string> address;
    SHSocialDeviceInfo::LinkLayerFailure failure =
        SHSocialDeviceInfo::LinkLayerFailure::NotAnAddress;
};

LinkRead readLinkAddress(const std::string& name) {
    using Failure = SHSocialDeviceInfo::LinkLayerFailure;
    if (name.empty() || name.find('/') != std::string::npos)
        return {std::nullopt, Failure::NoInterface};
    const std::string directory = "/sys/class/net/" + name;
    std::error_code error;
    if (!std::filesystem::exists(directory, error))
        return {std::nullopt, Failure::NoInterface};
    try {
        const auto text = platform::readFile(directory + "/address");
        if (!text)
            return {std::nullopt, Failure::Unreadable};
        return {parseLinkAddress(trimmed(*text)), Failure::NotAnAddress};
    } catch (const std::bad_alloc&) {
        return {std::nullopt, Failure::NoMemory};
    }
}

}  // namespace

const SHSocialDeviceInfo& SHSocialDeviceInfo::current() {
    static const SHSocialLinuxDeviceInfo machine;
    std::lock_guard lock(g_currentMutex);
    return g_current ? *g_current : machine;
}

void SHSocialDeviceInfo::setCurrent(std::shared_ptr<const SHSocialDeviceInfo> info) {
    std::lock_guard lock(g_currentMutex);
    g_current = std::move(info);
}

namespace {

struct InterfaceScan {
    std::string primary;
    std::vector<std::string> ipv4Names;
};

InterfaceScan scanInterfaces() {
    InterfaceScan scan;
    std::vector<std::string> upNames;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return scan;
    for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_name || (entry->ifa_flags & IFF_LOOPBACK))
            continue;
        const std::string name(entry->ifa_name);
        if ((entry->ifa_flags & IFF_UP) &&
            std::find(upNames.begin(), upNames.end(), name) == upNames.end())
            upNames.push_back(name);
        if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET &&
            std::find(scan.ipv4Names.begin(), scan.ipv4Names.end(), name) == scan.ipv4Names.end())
            scan.ipv4Names.push_back(name);
    }
    freeifaddrs(list);
    std::sort(upNames.begin(), upNames.end());
    for (const auto& name : upNames) {
        if (readLinkAddress(name).address) {
            scan.primary = name;
            break;
        }
    }
    return scan;
}

// The machine's interfaces, scanned again once the last scan is a second old.
InterfaceScan currentInterfaces() {
    static std::mutex mutex;
    static InterfaceScan scan;
    static std::chrono::steady_clock::time_point scannedAt;
    static bool scanned = false;
    std::lock_guard lock(mutex);
    const auto now = std::chrono::steady_clock::now();
    if (!scanned || now - scannedAt >= std::chrono::seconds(1)) {
        scan = scanInterfaces();
        scannedAt = now;
        scanned = true;
    }
    return scan;
}

std::optional<std::string> unameValue(bool machine) {
    utsname name{};
    if (uname(&name) != 0)
        return std::nullopt;
    const char* value = machine ? name.machine : name.release;
    if (!*value)
        return std::nullopt;
    return std::string(value);
}

// A value kept in the data directory, read again only when the data directory moves.
class PerDataDirectory {
public:
    template <typename Read>
    std::optional<std::string> get(Read read) {
        std::lock_guard lock(m_mutex);
        const auto location = platform::paths::dataDirectoryLocation();
        if (!m_value || location != m_location) {
            m_value = read();
            m_location = location;
        }
        return *m_value;
    }

private:
    std::mutex m_mutex;
    std::filesystem::path m_location;
    std::optional<std::optional<std::string>> m_value;
};

}  // namespace

std::string SHSocialLinuxDeviceInfo::primaryInterfaceName() const {
    return currentInterfaces().primary;
}

std::optional<std::string> SHSocialLinuxDeviceInfo::linkLayerAddress() const {
    return readLinkAddress(primaryInterfaceName()).address;
}

SHSocialDeviceInfo::LinkLayerFailure SHSocialLinuxDeviceInfo::linkLayerFailure() const {
    return readLinkAddress(primaryInterfaceName()).failure;
}

std::vector<std::string> SHSocialLinuxDeviceInfo::ipv4InterfaceNames() const {
    return currentInterfaces().ipv4Names;
}

std::optional<std::string> SHSocialLinuxDeviceInfo::machine() const {
    static const auto value = unameValue(true);
    return value;
}

std::optional<std::string> SHSocialLinuxDeviceInfo::model() const {
    static const auto value = []() -> std::optional<std::string> {
        const auto text = platform::readFile("/sys/devices/virtual/dmi/id/product_name");
        if (!text || trimmed(*text).empty())
            return std::nullopt;
        return trimmed(*text);
    }();
    return value;
}

std::optional<std::string> SHSocialLinuxDeviceInfo::systemVersion() const {
    static const auto value = unameValue(false);
    return value;
}

std::optional<std::string> SHSocialLinuxDeviceInfo::vendorIdentifier() const {
    static PerDataDirectory value;
    return value.get([]() -> std::optional<std::string> {
        const std::string identifier = platform::identifierForVendor();
        if (identifier.empty())
            return std::nullopt;
        return identifier;
    });
}

std::optional<std::string> SHSocialLinuxDeviceInfo::openUDID() const {
    // Forty hexadecimal digits made once and kept with the installation's data, as the
    // phone's OpenUDID stays for the life of the device.
    static PerDataDirectory value;
    return value.get([]() -> std::optional<std::string> {
        const auto file = platform::paths::libraryDirectory() / "SHeSocialOpenUDID";
        if (auto stored = platform::readFile(file); stored && stored->size() == 40)
            return *stored;
        std::string made = platform::hexEncode(platform::randomBytes(20));
        if (!platform::writeFileAtomically(file, made))
            return std::nullopt;
        return made;
    });
}
