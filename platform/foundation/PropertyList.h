#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Json.h"

// XML property lists in the phone's format, mapped onto Json:
//   <dict> <-> object (member order kept), <array> <-> array, <string> <-> string,
//   <integer> <-> integer, <real> <-> floating-point number, <true/>/<false/> <-> boolean,
//   <data> (Base64) <-> Json::binary, <date> -> its ISO 8601 text (a string; written back as
//   <string>).
// A property list has no null: null dictionary members and null array elements are left out
// when writing, and a null root writes an empty <plist/>, which reads back as null. XML cannot
// hold a NUL character either: text is written up to its first NUL.
// A document nested deeper than kMaxNestingDepth dictionaries and arrays is refused as damaged.
// A file is read only when it is a regular file within kMaxStoredFileSize (see readFile).
namespace platform {

std::optional<Json> parsePropertyList(std::string_view xml, std::string* error = nullptr);
std::optional<Json> readPropertyList(const std::filesystem::path& path,
                                     std::string* error = nullptr);

std::string serializePropertyList(const Json& value);
// Replaces the file atomically (see writeFileAtomically).
bool writePropertyList(const std::filesystem::path& path, const Json& value);

}  // namespace platform
