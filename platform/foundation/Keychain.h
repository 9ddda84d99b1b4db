#pragma once

#include <optional>
#include <string>

namespace platform {

// Generic-password items keyed by account and service (the phone's keychain, as the client
// reaches it). All items live in libraryDirectory()/keychain.plist, readable and writable by
// the owner only (mode 0600). Error texts: "item not found", "item already exists",
// "account and service must not be empty", "keychain could not be written".
class Keychain {
public:
    static std::optional<std::string> password(const std::string& account,
                                               const std::string& service,
                                               std::string* error = nullptr);
    // Fails with "item already exists" when the item exists and updateExisting is false.
    static bool storePassword(const std::string& account, const std::string& password,
                              const std::string& service, bool updateExisting,
                              std::string* error = nullptr);
    // Fails with "item not found" when there was nothing to delete.
    static bool deleteItem(const std::string& account, const std::string& service,
                           std::string* error = nullptr);
};

}  // namespace platform
