#include "fakes/SampleData.h"

#include <stdexcept>
#include <string>

#include "platform/foundation/Files.h"
#include "platform/foundation/JsonParse.h"

namespace fakes {

namespace {

platform::Json readObject(const std::filesystem::path& directory, const std::string& name,
                          const char* requiredKey) {
    const auto file = directory / name;
    std::string why;
    auto text = platform::readFile(file, &why);
    if (!text)
        throw std::runtime_error("sample data: cannot read " + file.string() + ": " + why);
    auto doc = platform::parseJson(*text);
    if (!doc || !doc->is_object())
        throw std::runtime_error("sample data: " + file.string() + " is not a JSON object");
    if (requiredKey && !doc->contains(requiredKey))
        throw std::runtime_error("sample data: " + file.string() + " has no \"" + requiredKey +
                                 "\"");
    return std::move(*doc);
}

}  // namespace

SampleData SampleData::load(const std::filesystem::path& directory) {
    SampleData data;
    data.accounts = readObject(directory, "accounts.json", "accounts");
    data.users = readObject(directory, "user-info.json", "users");
    data.news = readObject(directory, "news.json", "News");
    data.notices = readObject(directory, "notices.json", "categories");
    data.orgCategories = readObject(directory, "org-categories.json", "orgcategory");
    data.members = readObject(directory, "members.json", "members");
    data.meetings = readObject(directory, "meetings.json", "weeks");
    data.lectures = readObject(directory, "lectures.json", "Lecture");
    data.employment = readObject(directory, "employment.json", nullptr);
    data.employmentDetails = readObject(directory, "employment-details.json", "companies");
    data.statistics = readObject(directory, "statistics.json", "colleges");
    data.weather = readObject(directory, "weather.json", nullptr);
    data.storeLookup = readObject(directory, "store-lookup.json", "results");
    return data;
}

}  // namespace fakes
