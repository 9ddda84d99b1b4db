#include "components/diskcache/DiskCache.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "platform/foundation/Crypto.h"
#include "platform/foundation/Files.h"

namespace components {

namespace {

// Entry file: "<expiry, milliseconds since 1970> <key length>\n<key><data>". The key is kept
// so that a file can never answer for another key, whatever its name.
constexpr std::string_view kSuffix = ".cache";

struct Entry {
    long long expiresMillis = 0;
    std::string data;
};

std::optional<Entry> parseEntry(std::string_view file, std::string_view key) {
    const auto lineEnd = file.find('\n');
    if (lineEnd == std::string_view::npos)
        return std::nullopt;
    const std::string_view header = file.substr(0, lineEnd);
    const auto space = header.find(' ');
    if (space == std::string_view::npos)
        return std::nullopt;
    Entry entry;
    std::size_t keyLength = 0;
    const char* first = header.data();
    if (std::from_chars(first, first + space, entry.expiresMillis).ptr != first + space)
        return std::nullopt;
    const char* lengthStart = first + space + 1;
    if (std::from_chars(lengthStart, first + header.size(), keyLength).ptr != first + header.size())
        return std::nullopt;
    const std::string_view rest = file.substr(lineEnd + 1);
    if (rest.size() < keyLength || rest.substr(0, keyLength) != key)
        return std::nullopt;
    entry.data = std::string(rest.substr(keyLength));
    return entry;
}

long long millisSinceEpoch(std::chrono::system_clock::time_point time) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

}  // namespace

DiskCache::DiskCache(std::filesystem::path directory, WallClock clock)
    : m_directory(std::move(directory)), m_clock(std::move(clock)) {}

double DiskCache::defaultTimeoutInterval() const {
    std::lock_guard lock(m_mutex);
    return m_defaultTimeoutInterval;
}

void DiskCache::setDefaultTimeoutInterval(double seconds) {
    std::lock_guard lock(m_mutex);
    if (std::isfinite(seconds) && seconds >= 0)
        m_defaultTimeoutInterval = seconds;
}

bool DiskCache::setData(std::string_view key, std::string_view data) {
    return setData(key, data, defaultTimeoutInterval());
}

bool DiskCache::setData(std::string_view key, std::string_view data, double timeoutInterval) {
    if (!std::isfinite(timeoutInterval) || timeoutInterval < 0)
        timeoutInterval = 0;
    const auto expires = now() + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                                     std::chrono::duration<double>(timeoutInterval));
    std::string contents =
        std::to_string(millisSinceEpoch(expires)) + " " + std::to_string(key.size()) + "\n";
    // Refused before the copy: an entry too large to read back is not worth copying either.
    if (contents.size() + key.size() + data.size() > kMaxEntryFileBytes)
        return false;
    contents.reserve(contents.size() + key.size() + data.size());
    contents.append(key);
    contents.append(data);
    std::lock_guard lock(m_mutex);
    return platform::writeFileAtomically(fileFor(key), contents);
}

std::optional<std::string> DiskCache::dataForKey(std::string_view key) const {
    std::lock_guard lock(m_mutex);
    const auto file = fileFor(key);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return std::nullopt;
    const auto contents = platform::readFile(file, kMaxEntryFileBytes);
    if (!contents)
        return std::nullopt;
    auto entry = parseEntry(*contents, key);
    if (!entry || millisSinceEpoch(now()) >= entry->expiresMillis) {
        // Expired or damaged: gone for good, so the next write starts clean.
        std::filesystem::remove(file, ec);
        return std::nullopt;
    }
    return std::move(entry->data);
}

bool DiskCache::hasCacheForKey(std::string_view key) const {
    return dataForKey(key).has_value();
}

void DiskCache::removeCacheForKey(std::string_view key) {
    std::lock_guard lock(m_mutex);
    std::error_code ec;
    std::filesystem::remove(fileFor(key), ec);
}

void DiskCache::clearCache() {
    std::lock_guard lock(m_mutex);
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(m_directory, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (it->path().extension() == kSuffix) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

std::filesystem::path DiskCache::fileFor(std::string_view key) const {
    // Keys are free text ("SHSFriendEntity-qzone-1/2"); a digest makes any key a safe name.
    return m_directory / (platform::md5Hex(key) + std::string(kSuffix));
}

std::chrono::system_clock::time_point DiskCache::now() const {
    return m_clock ? m_clock() : std::chrono::system_clock::now();
}

}  // namespace components
