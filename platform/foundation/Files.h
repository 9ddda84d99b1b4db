#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Everything the client writes holds the user's data or derives from it (defaults, archives,
// caches, identifiers): readable by its owner only.
inline constexpr auto kOwnerOnlyFile =
    std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;

// The largest file of stored state the client reads. Generous for any real store; a file past
// it is not one of ours (or a device or pipe behind a link) and is refused unread.
inline constexpr std::uintmax_t kMaxStoredFileSize = 16 * 1024 * 1024;

// Replaces the file as a whole: a temporary file in the same directory is written, flushed to
// disk and renamed over the target, so a crash leaves either the old or the new contents.
// Missing parent directories are created. The file has exactly the given mode (owner-only by
// default) from its creation on: it is never readable by others, not even briefly.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         std::filesystem::perms mode = kOwnerOnlyFile);

// Like writeFileAtomically, but never replaces a file: the complete file appears under `path`
// only when no file of that name exists yet (Exists otherwise, leaving it untouched).
enum class NewFileResult { Written, Exists, Failed };
NewFileResult writeNewFileAtomically(const std::filesystem::path& path, std::string_view contents,
                                     std::filesystem::perms mode = kOwnerOnlyFile);

// The whole file, or nothing (with the reason) when it cannot be read. Only a regular file
// (a link to one is fine) of at most kMaxStoredFileSize bytes is read: a FIFO, a device or a
// directory in its place is refused at once, never waited on or read without end.
std::optional<std::string> readFile(const std::filesystem::path& path,
                                    std::string* error = nullptr);
// The same with a bound of the caller's, for stores that keep larger files of their own.
std::optional<std::string> readFile(const std::filesystem::path& path, std::uintmax_t maxSize,
                                    std::string* error = nullptr);

// The same checks without the reading, for a library that reads the file itself: an open
// descriptor (close-on-exec, blocking reads) of a regular file of at most `maxSize` bytes, which
// the caller closes; -1 (with the reason) otherwise. Opening never waits on a FIFO.
int openRegularFile(const std::filesystem::path& path, std::uintmax_t maxSize,
                    std::string* error = nullptr);

// Renames a file that could not be understood to "<name>.damaged-<UTC time>[-n]" beside it,
// so that it is kept for inspection and a fresh file can take its place. Returns the new path,
// or nothing when the file could not be moved.
std::optional<std::filesystem::path> moveAsideDamagedFile(const std::filesystem::path& path);

}  // namespace platform
