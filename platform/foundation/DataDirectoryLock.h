#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// One client per data directory. Two clients on one directory would each save over the other's
// changes (a tile hidden in one comes back with the other's next save; a sign-out is undone),
// so a client claims its directory before it reads anything there and keeps the claim for its
// life. The claim is an advisory lock (flock) on a file in the directory: the system lets go of
// it when the holder ends, however it ends, so a crash leaves no stale claim behind. Locks
// belong to an open file, so a second claim fails in the same process as well.
class DataDirectoryLock {
public:
    static constexpr const char* kFileName = "campus.lock";

    // The claim on the directory (which must exist), or nothing with the reason in `error`,
    // naming the directory.
    static std::optional<DataDirectoryLock> acquire(const std::filesystem::path& directory,
                                                    std::string* error = nullptr);

    DataDirectoryLock(DataDirectoryLock&& other) noexcept;
    DataDirectoryLock& operator=(DataDirectoryLock&& other) noexcept;
    DataDirectoryLock(const DataDirectoryLock&) = delete;
    DataDirectoryLock& operator=(const DataDirectoryLock&) = delete;
    // Lets go of the claim.
    ~DataDirectoryLock();

    const std::filesystem::path& directory() const { return m_directory; }

private:
    DataDirectoryLock(std::filesystem::path directory, int descriptor)
        : m_directory(std::move(directory)), m_descriptor(descriptor) {}

    std::filesystem::path m_directory;
    int m_descriptor = -1;
};

}  // namespace platform
