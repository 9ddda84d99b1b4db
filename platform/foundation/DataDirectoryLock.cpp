#include "platform/foundation/DataDirectoryLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    // The lock file is never reached through a symbolic link: whoever could plant one in the
    // directory would otherwise have the client create or open a file of their choosing. A
    // FIFO or device under the name would not block or lock as a file does, so only a plain
    // file is taken (non-blocking so that opening one of those cannot hang the start).
    const int descriptor = ::open((directory / kFileName).c_str(),
                                  O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (descriptor < 0) {
        const int cause = errno;
        if (cause == ELOOP) {
            return fail("cannot lock the data directory " + directory.string() +
                        ": its lock file " + kFileName +
                        " is a symbolic link; remove the link and start again");
        }
        return fail("cannot lock the data directory " + directory.string() + ": " +
                    std::strerror(cause));
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return fail("cannot lock the data directory " + directory.string() + ": its lock file " +
                    kFileName + " is not a plain file; remove it and start again");
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
