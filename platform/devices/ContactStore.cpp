#include "platform/devices/ContactStore.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <set>

#include "platform/devices/VCard.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

namespace platform {

namespace {

constexpr const char* kExtension = ".vcf";

// The number of a file we named, or nothing for any other name.
std::optional<unsigned long> sequenceNumber(const std::string& stem) {
    unsigned long number = 0;
    auto [end, error] = std::from_chars(stem.data(), stem.data() + stem.size(), number);
    if (stem.empty() || error != std::errc() || end != stem.data() + stem.size()) {
        return std::nullopt;
    }
    return number;
}

struct Entry {
    std::filesystem::path path;
    std::optional<unsigned long> number;
};

std::vector<Entry> listEntries(const std::filesystem::path& directory) {
    std::vector<Entry> entries;
    std::error_code ec;
    std::filesystem::directory_iterator it(directory, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const auto& path = it->path();
        if (path.extension() != kExtension || !it->is_regular_file(ec)) {
            continue;
        }
        entries.push_back({path, sequenceNumber(path.stem().string())});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        auto key = [](const Entry& e) {
            return e.number.value_or(std::numeric_limits<unsigned long>::max());
        };
        if (key(a) != key(b)) {
            return key(a) < key(b);
        }
        return a.path.filename() < b.path.filename();
    });
    return entries;
}

}  // namespace

std::filesystem::path ContactStore::directory() const {
    return m_directory ? *m_directory : paths::dataDirectory() / "Contacts";
}

std::vector<Contact> ContactStore::loadAll() const {
    std::vector<Contact> contacts;
    for (const auto& entry : listEntries(directory())) {
        std::string reason;
        auto text = readFile(entry.path, &reason);
        std::optional<Contact> contact;
        if (text) {
            contact = parseVCard(*text, &reason);
        }
        if (!contact) {
            log("contacts: skipped %@: %@", entry.path.filename().string(), reason);
            continue;
        }
        contact->identifier = entry.path.stem().string();
        contacts.push_back(std::move(*contact));
    }
    return contacts;
}

bool ContactStore::add(Contact& contact, std::string* error) const {
    const auto folder = directory();
    std::set<unsigned long> taken;
    for (const auto& entry : listEntries(folder)) {
        if (entry.number) {
            taken.insert(*entry.number);
        }
    }
    // The number after the highest, as long as there is one; past the largest number the
    // lowest free one (so saving order is no longer kept, but no contact is lost). A file that
    // appears meanwhile is never replaced: the file is created only where no name is yet.
    // Upwards from `from`, then upwards from 1 (0 is no number of ours).
    auto nextFree = [&taken](unsigned long from) -> std::optional<unsigned long> {
        for (unsigned long n = from; n != 0; ++n) {
            if (!taken.count(n)) {
                return n;
            }
        }
        for (unsigned long n = 1; n != from && n != 0; ++n) {
            if (!taken.count(n)) {
                return n;
            }
        }
        return std::nullopt;
    };
    const std::string text = formatVCard(contact);
    auto number = nextFree(taken.empty() ? 1 : *taken.rbegin() + 1);
    for (int attempt = 0; number && attempt < 1000; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "%06lu", *number);
        switch (writeNewFileAtomically(folder / (std::string(name) + kExtension), text)) {
            case NewFileResult::Written:
                contact.identifier = name;
                return true;
            case NewFileResult::Exists:
                taken.insert(*number);
                number = nextFree(*number + 1);
                continue;
            case NewFileResult::Failed:
                number.reset();
                break;
        }
    }
    if (error) {
        *error = "the contact could not be written in " + folder.string();
    }
    return false;
}

}  // namespace platform
