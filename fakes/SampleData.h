#pragma once

#include <filesystem>

#include "platform/foundation/Json.h"

namespace fakes {

// The demo school's records, one JSON file per kind in the sample directory, read once.
struct SampleData {
    platform::Json accounts;           // accounts.json: "accounts", "refusal"
    platform::Json users;              // user-info.json: "users" by account
    platform::Json news;               // news.json: "News"
    platform::Json notices;            // notices.json: "categories" "1".."5" with "News"
    platform::Json orgCategories;      // org-categories.json: "orgcategory"
    platform::Json members;            // members.json: "members" by organisation id
    platform::Json meetings;           // meetings.json: "currentWeek", "maxWeek", "weeks"
    platform::Json lectures;           // lectures.json: "Lecture"
    platform::Json employment;         // employment.json: rows by list type
    platform::Json employmentDetails;  // employment-details.json: "companies" by name
    platform::Json statistics;         // statistics.json: "DQNF", "colleges"
    platform::Json weather;            // weather.json: documents by city id
    platform::Json storeLookup;        // store-lookup.json: the lookup reply

    // Throws std::runtime_error naming the file when one is missing, unreadable, not JSON
    // or without the member the services need.
    static SampleData load(const std::filesystem::path& directory);
};

}  // namespace fakes
