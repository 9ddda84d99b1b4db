#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/foundation/Json.h"

// One record of the store lookup's "results": the version on offer, its download size, its
// release notes and its store page.
struct StoreRecord {
    std::string version;
    std::int64_t fileSizeBytes{0};  // 0 when absent or not a number
    std::string releaseNotes;       // "" when absent or not text
    std::string trackViewUrl;

    // The first element of a "results" array, when it is an object whose "version" and
    // "trackViewUrl" are text: without them there is nothing to announce or to open.
    // "fileSizeBytes" may be a number or numeric text.
    static std::optional<StoreRecord> firstOf(const platform::Json& results);

    // Whole mebibytes plus one, so that a small or unknown size still reads as 1.
    std::int64_t downloadMegabytes() const;
};

// A count or size the store sends as a number or as numeric text, read as an integer:
// fractions are cut off, text counts up to its first non-digit, anything else is 0.
std::int64_t storeInteger(const platform::Json& value);
