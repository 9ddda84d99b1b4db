#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Json.h"

// Reading and writing the fields of the SDK's archived records. A field of the wrong type
// reads as absent, so a damaged archive never fails a launch.
namespace shsarchive {

using Date = std::chrono::system_clock::time_point;

void putText(platform::Json& archive, const char* key, const std::optional<std::string>& value);
void putDate(platform::Json& archive, const char* key, const std::optional<Date>& value);
std::optional<std::string> text(const platform::Json& archive, const char* key);
std::optional<Date> date(const platform::Json& archive, const char* key);
std::vector<std::string> texts(const platform::Json& archive, const char* key);
long long integer(const platform::Json& archive, const char* key);
bool boolean(const platform::Json& archive, const char* key);

// A reply value as text: text as it is, a number as its decimal text, anything else nothing.
std::optional<std::string> replyText(const platform::Json& value);
// A reply value as an int: a number, or text that is a number; 0 otherwise.
int replyInt(const platform::Json& value);

}  // namespace shsarchive
