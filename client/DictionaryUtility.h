#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Json.h"

// Null-safe reads of reply dictionaries. A JSON null reads as one space " ", which screens
// show as blank; a value that is not a dictionary reads as a dictionary without the key.

// The value; " " for null; nothing for a missing key.
std::optional<platform::Json> objectForKeyNotNull(const platform::Json& dict,
                                                  const std::string& key);
// The value; " " for null; "" for a missing key.
platform::Json objectForKeyNotBackNull(const platform::Json& dict, const std::string& key);
// A copy with each top-level null replaced by " "; nested containers are left as they are.
platform::Json deleteNull(const platform::Json& dict);
