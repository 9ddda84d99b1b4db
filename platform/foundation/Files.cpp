#include "platform/foundation/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <sstream>
#include <system_error>
#include <vector>

#include "platform/foundation/Log.h"

namespace platform {

namespace {

std::string errnoText() {
    return std::strerror(errno);
}

bool writeAll(int fd, std::string_view contents) {
    const char* data = contents.data();
    size_t left = contents.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

// Makes the rename itself durable; failure here is not worth failing the write for.
void syncDirectory(const std::filesystem::path& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// O_EXCL with a name unique to this process and call, so concurrent writers of the same target
// never share a temporary file. Unlike mkstemp it lets the umask decide the default mode.
int createTemporary(const std::filesystem::path& target, mode_t mode, std::filesystem::path& made) {
    static std::atomic<unsigned long> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << "." << target.filename().string() << ".tmp-" << ::getpid() << "-"
             << counter.fetch_add(1);
        made = target.parent_path() / name.str();
        int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Like create_directories, but what it makes is private to the owner: every folder the client
// makes holds the user's data.
bool makeDirectories(const std::filesystem::path& dir, std::string& failure) {
    std::vector<std::filesystem::path> missing;
    std::error_code ec;
    for (auto p = dir; !p.empty() && !std::filesystem::exists(p, ec); p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path())
            break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (::mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) {
            failure = errnoText();
            return false;
        }
    }
    if (!std::filesystem::is_directory(dir, ec)) {
        failure = "not a directory";
        return false;
    }
    return true;
}

}  // namespace

namespace {

enum class Placing { Replace, CreateOnly };

NewFileResult writeAndPlace(const std::filesystem::path& path, std::string_view contents,
                            std::filesystem::perms mode, Placing placing) {
    std::filesystem::path target = path.is_absolute() ? path : std::filesystem::absolute(path);
    std::string failure;
    if (!makeDirectories(target.parent_path(), failure)) {
        log("cannot create directory %@: %@", target.parent_path().string(), failure);
        return NewFileResult::Failed;
    }
    mode_t createMode = static_cast<mode_t>(mode) & 07777;
    std::filesystem::path temporary;
    int fd = createTemporary(target, createMode, temporary);
    if (fd < 0) {
        log("cannot create temporary file for %@: %@", target.string(), errnoText());
        return NewFileResult::Failed;
    }
    // The umask may have taken bits away from a requested mode; set it exactly.
    bool ok = ::fchmod(fd, createMode) == 0;
    ok = ok && writeAll(fd, contents) && ::fsync(fd) == 0;
    if (!ok)
        failure = errnoText();
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errnoText();
    }
    bool exists = false;
    if (ok && placing == Placing::Replace && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        failure = errnoText();
    }
    // A hard link is made only where no name is: the exclusive creation of O_EXCL, for a file
    // that is already complete.
    if (ok && placing == Placing::CreateOnly && ::link(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        exists = errno == EEXIST;
        failure = errnoText();
    }
    if (!ok || placing == Placing::CreateOnly)
        ::unlink(temporary.c_str());
    if (exists)
        return NewFileResult::Exists;
    if (!ok) {
        log("cannot write %@: %@", target.string(), failure);
        return NewFileResult::Failed;
    }
    syncDirectory(target.parent_path());
    return NewFileResult::Written;
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         std::filesystem::perms mode) {
    return writeAndPlace(path, contents, mode, Placing::Replace) == NewFileResult::Written;
}

NewFileResult writeNewFileAtomically(const std::filesystem::path& path, std::string_view contents,
                                     std::filesystem::perms mode) {
    return writeAndPlace(path, contents, mode, Placing::CreateOnly);
}

namespace {

// openRegularFile, giving also what fstat said of the opened file, so that a reader need not
// ask again.
int openRegularFileWithStat(const std::filesystem::path& path, std::uintmax_t maxSize,
                            std::string* error, struct stat& info) {
    auto refuse = [&](std::string why) {
        if (error)
            *error = std::move(why);
        return -1;
    };
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer;
    // for a regular file the flag changes nothing.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refuse(errnoText());
    // The opened descriptor, not the name, is checked: the name may be swapped in between.
    info = {};
    std::string why;
    if (::fstat(fd, &info) != 0)
        why = errnoText();
    else if (!S_ISREG(info.st_mode))
        why = "not a regular file";
    else if (static_cast<std::uintmax_t>(info.st_size) > maxSize)
        why = "larger than " + std::to_string(maxSize) + " bytes";
    if (why.empty()) {
        int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
            why = errnoText();
    }
    if (!why.empty()) {
        ::close(fd);
        return refuse(std::move(why));
    }
    return fd;
}

}  // namespace

int openRegularFile(const std::filesystem::path& path, std::uintmax_t maxSize, std::string* error) {
    struct stat info {};
    return openRegularFileWithStat(path, maxSize, error, info);
}

std::optional<std::string> readFile(const std::filesystem::path& path, std::string* error) {
    return readFile(path, kMaxStoredFileSize, error);
}

std::optional<std::string> readFile(const std::filesystem::path& path, std::uintmax_t maxSize,
                                    std::string* error) {
    auto refuse = [&](std::string why) -> std::optional<std::string> {
        if (error)
            *error = std::move(why);
        return std::nullopt;
    };
    struct stat info {};
    int fd = openRegularFileWithStat(path, maxSize, error, info);
    if (fd < 0)
        return std::nullopt;
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    std::string contents(static_cast<size_t>(info.st_size), '\0');
    size_t filled = 0;
    for (;;) {
        // Room past the size fstat gave tells a file that grew since from one that did not.
        if (filled == contents.size()) {
            if (contents.size() > maxSize)
                return refuse("larger than " + std::to_string(maxSize) + " bytes");
            contents.resize(contents.size() + 4096);
        }
        ssize_t got = ::read(fd, contents.data() + filled, contents.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return refuse(errnoText());
        }
        if (got == 0)
            break;
        filled += static_cast<size_t>(got);
    }
    contents.resize(filled);
    return contents;
}

std::optional<std::filesystem::path> moveAsideDamagedFile(const std::filesystem::path& path) {
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc);
    std::string base = path.filename().string() + ".damaged-" + stamp;
    for (int n = 0; n < 1000; ++n) {
        std::filesystem::path aside =
            path.parent_path() / (n == 0 ? base : base + "-" + std::to_string(n));
        std::error_code ec;
        if (std::filesystem::exists(aside, ec))
            continue;
        std::filesystem::rename(path, aside, ec);
        if (ec) {
            log("cannot move damaged file %@ aside: %@", path.string(), ec.message());
            return std::nullopt;
        }
        return aside;
    }
    return std::nullopt;
}

}  // namespace platform
