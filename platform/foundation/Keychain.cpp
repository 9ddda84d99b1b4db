#include "platform/foundation/Keychain.h"

#include <filesystem>
#include <mutex>

#include "platform/foundation/Files.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/PropertyList.h"

namespace platform {

namespace {

constexpr auto kOwnerOnly =
    std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;

// The file holds {service: {account: password}}.
std::mutex& keychainMutex() {
    static std::mutex mutex;
    return mutex;
}

std::filesystem::path keychainFile() {
    return paths::libraryDirectory() / "keychain.plist";
}

void setError(std::string* error, const char* text) {
    if (error)
        *error = text;
}

// The items on disk. A file that is not a readable keychain is moved aside (never deleted)
// and the keychain starts empty. Nothing when a damaged file could not be moved: then it must
// not be written over either.
std::optional<Json> loadItems(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return Json::object();
    // Keep the file private even if something loosened its mode.
    if ((std::filesystem::status(file, ec).permissions() & std::filesystem::perms::all) !=
        kOwnerOnly)
        std::filesystem::permissions(file, kOwnerOnly, ec);
    std::string error;
    auto items = readPropertyList(file, &error);
    if (items && items->is_object()) {
        bool wellFormed = true;
        for (const auto& [service, accounts] : items->items()) {
            if (!accounts.is_object())
                wellFormed = false;
        }
        if (wellFormed)
            return items;
        error = "unexpected layout";
    }
    if (auto aside = moveAsideDamagedFile(file)) {
        log("keychain %@ damaged (%@); moved to %@", file.string(), error, aside->string());
        return Json::object();
    }
    log("keychain %@ damaged (%@) and could not be moved aside", file.string(), error);
    return std::nullopt;
}

bool saveItems(const std::filesystem::path& file, const Json& items) {
    return writeFileAtomically(file, serializePropertyList(items), kOwnerOnly);
}

}  // namespace

std::optional<std::string> Keychain::password(const std::string& account,
                                              const std::string& service, std::string* error) {
    if (account.empty() || service.empty()) {
        setError(error, "account and service must not be empty");
        return std::nullopt;
    }
    std::lock_guard lock(keychainMutex());
    auto items = loadItems(keychainFile());
    if (items) {
        auto accounts = items->find(service);
        if (accounts != items->end()) {
            auto item = accounts->find(account);
            if (item != accounts->end() && item->is_string())
                return item->get<std::string>();
        }
    }
    setError(error, "item not found");
    return std::nullopt;
}

bool Keychain::storePassword(const std::string& account, const std::string& password,
                             const std::string& service, bool updateExisting, std::string* error) {
    if (account.empty() || service.empty()) {
        setError(error, "account and service must not be empty");
        return false;
    }
    std::lock_guard lock(keychainMutex());
    auto file = keychainFile();
    auto items = loadItems(file);
    if (!items) {
        setError(error, "keychain could not be written");
        return false;
    }
    Json& accounts = (*items)[service];
    if (!accounts.is_object())
        accounts = Json::object();
    if (accounts.contains(account) && !updateExisting) {
        setError(error, "item already exists");
        return false;
    }
    accounts[account] = password;
    if (!saveItems(file, *items)) {
        setError(error, "keychain could not be written");
        return false;
    }
    return true;
}

bool Keychain::deleteItem(const std::string& account, const std::string& service,
                          std::string* error) {
    if (account.empty() || service.empty()) {
        setError(error, "account and service must not be empty");
        return false;
    }
    std::lock_guard lock(keychainMutex());
    auto file = keychainFile();
    auto items = loadItems(file);
    if (!items || !items->contains(service) || !(*items)[service].contains(account)) {
        setError(error, "item not found");
        return false;
    }
    Json& accounts = (*items)[service];
    accounts.erase(account);
    if (accounts.empty())
        items->erase(service);
    if (!saveItems(file, *items)) {
        setError(error, "keychain could not be written");
        return false;
    }
    return true;
}

}  // namespace platform
