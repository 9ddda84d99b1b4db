#pragma once

#include <string>

// Builds the URL of each school-service endpoint. Sends nothing.
//
// Each URL is root + path + query, percent-escaped as UTF-8 the way the services expect.
// Argument values are escaped as query components first, so an "&", "=" or "+" inside a
// password or a search text arrives as part of the value instead of splitting the query.
class NetRequest {
public:
    static std::string installTimesWithDeviceTypy(const std::string& deviceType);
    static std::string userLoginWithUserAccount(const std::string& account,
                                                const std::string& password);
    static std::string getUserInfoWithUserID(const std::string& account);
    static std::string tarnwhisleWithPageNum(long page, long pageSize);
    static std::string organizationWithUserType(const std::string& userType);
    static std::string membersWithOrgId(const std::string& orgId);
    static std::string searchWithSearchStr(const std::string& searchText);
    static std::string oneWeekMeeting();
    static std::string getMeetingWeek(const std::string& week);
    static std::string addAdviceWithUserAccount(const std::string& account,
                                                const std::string& title,
                                                const std::string& contents);
    static std::string getLectureList(long page, long pageSize);
    static std::string getAnnouncement(long category, long page, long pageSize);
    static std::string getEmployment(const std::string& type, long page, long pageSize);
    static std::string getEmploymentDetail(const std::string& type, const std::string& company);
    static std::string getNewStudentStat(const std::string& type, const std::string& code);
    static std::string WebViewUpLoadUrl();
    // The weather document the side menu shows, on the weather service. The school's city
    // is the only one the menu reports, so it is part of the path.
    static std::string getWeatherInfo();
};
