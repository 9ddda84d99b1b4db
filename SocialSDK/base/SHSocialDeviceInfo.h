#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The device values the share SDK sends with its requests, from one place so that a test can
// give fixed ones. A value the device cannot give is nothing; the requests then send "".
class SHSocialDeviceInfo {
public:
    virtual ~SHSocialDeviceInfo() = default;

    // The name of the interface that plays the phone's "en0" (its Wi-Fi link).
    virtual std::string primaryInterfaceName() const = 0;
    // The six bytes of that interface's link-layer address.
    virtual std::optional<std::string> linkLayerAddress() const = 0;
    // Why the address cannot be read, in the order the reading goes: no such interface, its
    // address cannot be read, no memory for it, or what was read is not an address.
    enum class LinkLayerFailure { NoInterface, Unreadable, NoMemory, NotAnAddress };
    virtual LinkLayerFailure linkLayerFailure() const { return LinkLayerFailure::NoInterface; }
    // Interfaces that have an IPv4 address and are not loopback, by name.
    virtual std::vector<std::string> ipv4InterfaceNames() const = 0;
    // The hardware identifier ("hw.machine"), e.g. "x86_64".
    virtual std::optional<std::string> machine() const = 0;
    // The device's model name.
    virtual std::optional<std::string> model() const = 0;
    virtual std::optional<std::string> systemVersion() const = 0;
    // The per-vendor identifier as UUID text.
    virtual std::optional<std::string> vendorIdentifier() const = 0;
    // The device identifier shared by the SDKs of the device (OpenUDID).
    virtual std::optional<std::string> openUDID() const = 0;

    // What the share SDK reads: the injected provider, or the machine's.
    static const SHSocialDeviceInfo& current();
    // Null goes back to the machine's values.
    static void setCurrent(std::shared_ptr<const SHSocialDeviceInfo> info);
};

// The values of the Linux machine the client runs on: the first interface (by name) that is
// up, is not loopback and has a link-layer address plays "en0"; the machine and system version
// come from uname, the model from the firmware's product name, the vendor identifier from the
// platform, and the OpenUDID is made once and kept in the data directory. Every request reads
// them, so the interfaces are scanned at most once a second and the rest read once (per data
// directory for the two identifiers kept there). Thread-safe.
class SHSocialLinuxDeviceInfo final : public SHSocialDeviceInfo {
public:
    std::string primaryInterfaceName() const override;
    std::optional<std::string> linkLayerAddress() const override;
    LinkLayerFailure linkLayerFailure() const override;
    std::vector<std::string> ipv4InterfaceNames() const override;
    std::optional<std::string> machine() const override;
    std::optional<std::string> model() const override;
    std::optional<std::string> systemVersion() const override;
    std::optional<std::string> vendorIdentifier() const override;
    std::optional<std::string> openUDID() const override;
};
