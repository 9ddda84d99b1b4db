#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/devices/Contact.h"

namespace platform {

// The device's contacts as files: one vCard per contact ("000001.vcf", numbered in saving
// order) in the folder "Contacts" of the data directory, each written atomically and readable
// by its owner only. No authorisation here: AddressBook asks before it reaches the store; the
// front end and tests use the store directly as the device's owner would.
class ContactStore {
public:
    // The folder of the data directory in force at each call (tests move it).
    ContactStore() = default;
    explicit ContactStore(std::filesystem::path directory) : m_directory(std::move(directory)) {}

    std::filesystem::path directory() const;

    // Every contact, in saving order; files of other names follow by name. A file that cannot
    // be read or is not a vCard is skipped with a log line and left where it is.
    std::vector<Contact> loadAll() const;

    // Saves a new contact under a new identifier (written into `contact`). False (with the
    // reason) when the file could not be written; nothing is left half-written.
    bool add(Contact& contact, std::string* error = nullptr) const;

private:
    std::optional<std::filesystem::path> m_directory;
};

}  // namespace platform
