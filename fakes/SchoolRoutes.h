#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <string>

#include "fakes/RecordedRequest.h"
#include "fakes/Reply.h"
#include "fakes/SampleData.h"

namespace fakes {

// The built-in answers of the fake school services: every documented path of the app service,
// the career and statistics service, the user-information service, the weather service, the
// store lookup and the school's web pages, answered from the sample data. Safe to call from
// several server threads at once.
class SchoolRoutes {
public:
    explicit SchoolRoutes(const std::filesystem::path& sampleDirectory);

    // The reply for one request: 404 with a JSON error for an unknown path, 405 for a known
    // path asked with the wrong method.
    Reply answer(const RecordedRequest& request);
    // The store lookup offers this version instead of the sample's.
    void offerStoreVersion(std::string version);

private:
    Reply login(const RecordedRequest& request) const;
    Reply news(const RecordedRequest& request) const;
    Reply noticesOfCategory(const RecordedRequest& request) const;
    Reply orgCategories(const RecordedRequest& request) const;
    Reply membersOfOrg(const RecordedRequest& request) const;
    Reply searchMembers(const RecordedRequest& request) const;
    Reply currentMeetings() const;
    Reply meetingsOfWeek(const RecordedRequest& request) const;
    Reply lectures(const RecordedRequest& request) const;
    Reply upload(const RecordedRequest& request);
    Reply employmentInfo(const RecordedRequest& request) const;
    Reply employmentDetail(const RecordedRequest& request) const;
    Reply newStudentStat(const RecordedRequest& request) const;
    Reply userInfo(const RecordedRequest& request) const;
    Reply weather(const std::string& path) const;
    Reply storeLookup(const RecordedRequest& request);
    Reply image(const std::string& path);

    SampleData m_data;
    std::mutex m_mutex;                      // guards the members below
    std::map<std::string, Reply> m_uploads;  // by the path handed out in the upload reply
    std::map<std::string, Reply> m_images;   // generated once per path
    std::string m_storeVersion;              // empty: the sample's
    int m_uploadCount = 0;
};

// Collapses the leading run of slashes, so "//manage/x" and "/manage/x" name one route.
std::string canonicalPath(std::string_view path);

}  // namespace fakes
