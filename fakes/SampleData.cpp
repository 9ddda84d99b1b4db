#include "fakes/SampleData.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace fakes {

namespace {

platform::Json readObject(const std::filesystem::path& directory, const std::string& name,
                          const char* requiredKey) {
    const auto file = directory / name;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("sample data: cannot read " + file.string());
    std::ostringstream text;
    text << in.rdbuf();
    auto doc = platform::Json::parse(text.str(), nullptr, false);
    if (doc.is_discarded() || !doc.is_object())
        throw std::runtime_error("sample data: " + file.string() + " is not a JSON object");
    if (requiredKey && !doc.contains(requiredKey))
        throw std::runtime_error("sample data: " + file.string() + " has no \"" + requiredKey +
                                 "\"");
    return doc;
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
