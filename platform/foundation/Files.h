#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Replaces the file as a whole: a temporary file in the same directory is written, flushed to
// disk and renamed over the target, so a crash leaves either the old or the new contents.
// Missing parent directories are created. With a mode, the file has exactly that mode from
// its creation on (secrets are never readable by others, not even briefly).
bool writeFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         std::optional<std::filesystem::perms> mode = std::nullopt);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readFile(const std::filesystem::path& path);

// Renames a file that could not be understood to "<name>.damaged-<UTC time>[-n]" beside it,
// so that it is kept for inspection and a fresh file can take its place. Returns the new path,
// or nothing when the file could not be moved.
std::optional<std::filesystem::path> moveAsideDamagedFile(const std::filesystem::path& path);

}  // namespace platform
