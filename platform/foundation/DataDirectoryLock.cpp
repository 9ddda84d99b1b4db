#include "platform/foundation/DataDirectoryLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace platform {

std::optional<DataDirectoryLock> DataDirectoryLock::acquire(const std::filesystem::path& directory,
                                                            std::string* error) {
    const auto fail = [&](const std::string& reason) {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    // Close-on-exec: a program the client starts must not carry the claim past the client.
    const int descriptor =
        ::open((directory / kFileName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return fail("cannot lock the data directory " + directory.string() + ": " +
                    std::strerror(errno));
    }
    int result = 0;
    do {
        result = ::flock(descriptor, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int cause = errno;
        ::close(descriptor);
        if (cause == EWOULDBLOCK) {
            return fail("the data directory " + directory.string() +
                        " is in use by another campus client; quit that one first, or give "
                        "this one another data directory");
        }
        return fail("cannot lock the data directory " + directory.string() + ": " +
                    std::strerror(cause));
    }
    return DataDirectoryLock(directory, descriptor);
}

DataDirectoryLock::DataDirectoryLock(DataDirectoryLock&& other) noexcept
    : m_directory(std::move(other.m_directory)),
      m_descriptor(std::exchange(other.m_descriptor, -1)) {}

DataDirectoryLock& DataDirectoryLock::operator=(DataDirectoryLock&& other) noexcept {
    if (this != &other) {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        m_directory = std::move(other.m_directory);
        m_descriptor = std::exchange(other.m_descriptor, -1);
    }
    return *this;
}

DataDirectoryLock::~DataDirectoryLock() {
    // Closing the only descriptor of the lock file lets go of the lock.
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

}  // namespace platform
