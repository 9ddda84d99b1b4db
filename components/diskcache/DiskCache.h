#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace components {

// A keyed store of bytes on disk whose entries expire, in the role of the keyed disk cache
// library a phone SDK carries: one file per entry below one directory, each written
// atomically and carrying its key and expiry date, so a crash or a damaged file costs at
// most that entry. Expired entries read as absent and are removed when met. Thread-safe.
class DiskCache {
public:
    using WallClock = std::function<std::chrono::system_clock::time_point()>;

    static constexpr double kDefaultTimeoutInterval = 86400;  // one day, in seconds
    // The largest entry file kept. What is written is always read back: a larger entry is
    // refused when it is written (the entry before it stays), never stored to be unreadable.
    static constexpr std::uintmax_t kMaxEntryFileBytes = std::uintmax_t{128} << 20;

    // The directory is created when the first entry is written. An empty clock is the
    // system's wall clock.
    explicit DiskCache(std::filesystem::path directory, WallClock clock = {});
    DiskCache(const DiskCache&) = delete;
    DiskCache& operator=(const DiskCache&) = delete;

    const std::filesystem::path& directory() const { return m_directory; }

    // How long an entry written without its own time-out lives, in seconds.
    double defaultTimeoutInterval() const;
    void setDefaultTimeoutInterval(double seconds);

    // False (and nothing changed) when the entry could not be written.
    bool setData(std::string_view key, std::string_view data);
    bool setData(std::string_view key, std::string_view data, double timeoutInterval);
    // Nothing for an absent, expired or damaged entry.
    std::optional<std::string> dataForKey(std::string_view key) const;
    bool hasCacheForKey(std::string_view key) const;
    void removeCacheForKey(std::string_view key);
    void clearCache();

private:
    std::filesystem::path fileFor(std::string_view key) const;
    std::chrono::system_clock::time_point now() const;

    std::filesystem::path m_directory;
    WallClock m_clock;
    mutable std::mutex m_mutex;
    double m_defaultTimeoutInterval = kDefaultTimeoutInterval;
};

}  // namespace components
