#include "client/NetRequest.h"

#include "client/ServiceConfig.h"
#include "client/URLTemplate.h"
#include "platform/foundation/Log.h"

namespace {

const std::string& appRoot() {
    return ServiceConfig::shared().appServiceRoot;
}
const std::string& careerRoot() {
    return ServiceConfig::shared().careerServiceRoot;
}

}  // namespace

ServiceURL NetRequest::installTimesWithDeviceTypy(const std::string& deviceType) {
    return formatServiceURL(appRoot() + "api/installTimes?" + "devicetype=%@", {deviceType});
}

ServiceURL NetRequest::userLoginWithUserAccount(const std::string& account,
                                                const std::string& password) {
    return formatServiceURL(appRoot() + "api/user/login.do?" + "userName=%@&password=%@",
                            {account, secret(password)});
}

ServiceURL NetRequest::getUserInfoWithUserID(const std::string& account) {
    return formatServiceURL(ServiceConfig::shared().userInfoServiceURL, {account});
}

ServiceURL NetRequest::tarnwhisleWithPageNum(long page, long pageSize) {
    return formatServiceURL(appRoot() + "api/news/getNews.do?" + "pageNo=%ld&pageSize=%ld",
                            {page, pageSize});
}

ServiceURL NetRequest::organizationWithUserType(const std::string& userType) {
    return formatServiceURL(appRoot() + "api/org/getOrgCategory.do?" + "userType=%@", {userType});
}

ServiceURL NetRequest::membersWithOrgId(const std::string& orgId) {
    return formatServiceURL(appRoot() + "api/org/getMembersByOrgId.do?" + "orgId=%@", {orgId});
}

ServiceURL NetRequest::searchWithSearchStr(const std::string& searchText) {
    return formatServiceURL(appRoot() + "api/org/queryMembersInfo.do?" + "param=%@", {searchText});
}

ServiceURL NetRequest::oneWeekMeeting() {
    return formatServiceURL(appRoot() + "api/meeting/fetchCurrentMeeting.do", {});
}

ServiceURL NetRequest::getMeetingWeek(const std::string& week) {
    return formatServiceURL(appRoot() + "api/meeting/getMeetingWeek.do?" + "weeks=%@", {week});
}

ServiceURL NetRequest::addAdviceWithUserAccount(const std::string& account,
                                                const std::string& title,
                                                const std::string& contents) {
    return formatServiceURL(
        appRoot() + "api/edu/sendLeaveword.do?" + "userId=%@&title=%@&contents=%@",
        {account, title, contents});
}

ServiceURL NetRequest::getLectureList(long page, long pageSize) {
    return formatServiceURL(
        appRoot() + "api/activity/getLectureList.do?" + "pageNo=%ld&pageSize=%ld",
        {page, pageSize});
}

ServiceURL NetRequest::getAnnouncement(long category, long page, long pageSize) {
    return formatServiceURL(
        appRoot() + "api/news/getNewsByCategory.do?" + "category=%ld&pageNo=%ld&pageSize=%ld",
        {category, page, pageSize});
}

ServiceURL NetRequest::getEmployment(const std::string& type, long page, long pageSize) {
    return formatServiceURL(careerRoot() + "getEmploymentInfo?" + "type=%@&pageNo=%ld&pageSize=%ld",
                            {type, page, pageSize});
}

ServiceURL NetRequest::getEmploymentDetail(const std::string& type, const std::string& company) {
    return formatServiceURL(careerRoot() + "getEmploymentDetail?" + "type=%@&company=%@",
                            {type, company});
}

ServiceURL NetRequest::getNewStudentStat(const std::string& type, const std::string& code) {
    return formatServiceURL(careerRoot() + "getNewStudentStat?" + "type=%@&code=%@", {type, code});
}

ServiceURL NetRequest::WebViewUpLoadUrl() {
    ServiceURL url = formatServiceURL(appRoot() + "fileUploadMportal", {});
    platform::log("%@", url.shown);
    return url;
}

ServiceURL NetRequest::getWeatherInfo() {
    return formatServiceURL(ServiceConfig::shared().weatherRoot + "adat/cityinfo/101210101.html",
                            {});
}
