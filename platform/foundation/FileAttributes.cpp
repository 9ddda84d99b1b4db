#include "platform/foundation/FileAttributes.h"

#include <sys/xattr.h>

#include <cerrno>

namespace platform {
namespace {

constexpr const char* kExcludedFromBackup = "user.excluded-from-backup";

}  // namespace

bool setExtendedAttribute(const std::filesystem::path& path, const std::string& name,
                          std::string_view value) {
    return ::setxattr(path.c_str(), ("user." + name).c_str(), value.data(), value.size(), 0) == 0;
}

bool setExcludedFromBackup(const std::filesystem::path& path, bool excluded) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return false;
    }
    if (excluded) {
        return ::setxattr(path.c_str(), kExcludedFromBackup, "1", 1, 0) == 0;
    }
    return ::removexattr(path.c_str(), kExcludedFromBackup) == 0 || errno == ENODATA;
}

bool isExcludedFromBackup(const std::filesystem::path& path) {
    char value = 0;
    return ::getxattr(path.c_str(), kExcludedFromBackup, &value, 1) == 1 && value == '1';
}

}  // namespace platform
