#include "platform/foundation/Paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

#include "platform/foundation/Log.h"

namespace platform::paths {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::filesystem::path homeDirectory() {
    std::string home = environment("HOME");
    if (!home.empty())
        return home;
    // A service started without HOME still has a password-database entry.
    struct passwd entry {};
    struct passwd* found = nullptr;
    std::string buffer(16384, '\0');
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir)
        return found->pw_dir;
    return std::filesystem::temp_directory_path();
}

// The data directory and its folders hold personal data (names, card numbers, balances): only
// their owner may enter them. One made before this rule, or loosened since, is tightened each
// time it is asked for; a directory of someone else's (a shared CAMPUS_HOME) is left alone.
void makePrivate(const std::filesystem::path& dir) {
    struct stat info {};
    if (::stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
        (info.st_mode & 07777) != 0700 && ::chmod(dir.c_str(), 0700) != 0)
        platform::log("cannot make directory %@ private: %@", dir.string(), std::strerror(errno));
}

std::filesystem::path ensureDirectory(const std::filesystem::path& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        platform::log("cannot create directory %@: %@", dir.string(), ec.message());
        return dir;
    }
    makePrivate(dir);
    return dir;
}

constexpr const char* kSandboxFolders[] = {"Documents", "Library", "Caches", "tmp"};

}  // namespace

std::filesystem::path dataDirectoryLocation() {
    std::string campusHome = environment("CAMPUS_HOME");
    if (!campusHome.empty())
        return campusHome;
    // The XDG rules ignore a relative XDG_DATA_HOME.
    std::filesystem::path xdg = environment("XDG_DATA_HOME");
    if (!xdg.empty() && xdg.is_absolute())
        return xdg / "campus-client";
    return homeDirectory() / ".local" / "share" / "campus-client";
}

std::filesystem::path dataDirectory() {
    auto root = ensureDirectory(dataDirectoryLocation());
    // Whichever folder is asked for first, the ones that already exist are tightened too.
    for (const char* folder : kSandboxFolders) makePrivate(root / folder);
    return root;
}

std::filesystem::path documentsDirectory() {
    return ensureDirectory(dataDirectory() / "Documents");
}

std::filesystem::path libraryDirectory() {
    return ensureDirectory(dataDirectory() / "Library");
}

std::filesystem::path cachesDirectory() {
    return ensureDirectory(dataDirectory() / "Caches");
}

std::filesystem::path temporaryDirectory() {
    return ensureDirectory(dataDirectory() / "tmp");
}

}  // namespace platform::paths
