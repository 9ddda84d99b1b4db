#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// Extended attributes of a file (the "user." namespace of the file system). False when the
// file is missing or its file system refuses them.
bool setExtendedAttribute(const std::filesystem::path& path, const std::string& name,
                          std::string_view value);

// The phone's "excluded from backup" resource value of a file, kept as an extended attribute.
// Setting it answers false for a missing file.
bool setExcludedFromBackup(const std::filesystem::path& path, bool excluded);
bool isExcludedFromBackup(const std::filesystem::path& path);

}  // namespace platform
