#pragma once

#include <string>

#include "client/URLTemplate.h"

// Builds the URL of each school-service endpoint. Sends nothing.
//
// Each URL is root + path + query, percent-escaped as UTF-8 the way the services expect.
// Argument values are escaped as query components first, so an "&", "=" or "+" inside a
// password or a search text arrives as part of the value instead of splitting the query.
// The password is marked secret: a log line that gives the address shows "***" for it.
class NetRequest {
public:
    static ServiceURL installTimesWithDeviceTypy(const std::string& deviceType);
    static ServiceURL userLoginWithUserAccount(const std::string& account,
                                               const std::string& password);
    static ServiceURL getUserInfoWithUserID(const std::string& account);
    static ServiceURL tarnwhisleWithPageNum(long page, long pageSize);
    static ServiceURL organizationWithUserType(const std::string& userType);
    static ServiceURL membersWithOrgId(const std::string& orgId);
    static ServiceURL searchWithSearchStr(const std::string& searchText);
    static ServiceURL oneWeekMeeting();
    static ServiceURL getMeetingWeek(const std::string& week);
    static ServiceURL addAdviceWithUserAccount(const std::string& account, const std::string& title,
                                               const std::string& contents);
    static ServiceURL getLectureList(long page, long pageSize);
    static ServiceURL getAnnouncement(long category, long page, long pageSize);
    static ServiceURL getEmployment(const std::string& type, long page, long pageSize);
    static ServiceURL getEmploymentDetail(const std::string& type, const std::string& company);
    static ServiceURL getNewStudentStat(const std::string& type, const std::string& code);
    static ServiceURL WebViewUpLoadUrl();
    // The weather document the side menu shows, on the weather service. The school's city
    // is the only one the menu reports, so it is part of the path.
    static ServiceURL getWeatherInfo();
};
