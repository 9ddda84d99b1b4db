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

std::string NetRequest::installTimesWithDeviceTypy(const std::string& deviceType) {
    return formatServiceURL(appRoot() + "api/installTimes?" + "devicetype=%@", {deviceType});
}

std::string NetRequest::userLoginWithUserAccount(const std::string& account,
                                                 const std::string& password) {
    return formatServiceURL(appRoot() + "api/user/login.do?" + "userName=%@&password=%@",
                            {account, password});
}

std::string NetRequest::getUserInfoWithUserID(const std::string& account) {
    return formatServiceURL(ServiceConfig::shared().userInfoServiceURL, {account});
}

std::string NetRequest::tarnwhisleWithPageNum(long page, long pageSize) {
    return formatServiceURL(appRoot() + "api/news/getNews.do?" + "pageNo=%ld&pageSize=%ld",
                            {page, pageSize});
}

std::string NetRequest::organizationWithUserType(const std::string& userType) {
    return formatServiceURL(appRoot() + "api/org/getOrgCategory.do?" + "userType=%@", {userType});
}

std::string NetRequest::membersWithOrgId(const std::string& orgId) {
    return formatServiceURL(appRoot() + "api/org/getMembersByOrgId.do?" + "orgId=%@", {orgId});
}

std::string NetRequest::searchWithSearchStr(const std::string& searchText) {
    return formatServiceURL(appRoot() + "api/org/queryMembersInfo.do?" + "param=%@", {searchText});
}

std::string NetRequest::oneWeekMeeting() {
    return formatServiceURL(appRoot() + "api/meeting/fetchCurrentMeeting.do", {});
}

std::string NetRequest::getMeetingWeek(const std::string& week) {
    return formatServiceURL(appRoot() + "api/meeting/getMeetingWeek.do?" + "weeks=%@", {week});
}

std::string NetRequest::addAdviceWithUserAccount(const std::string& account,
                                                 const std::string& title,
                                                 const std::string& contents) {
    return formatServiceURL(
        appRoot() + "api/edu/sendLeaveword.do?" + "userId=%@&title=%@&contents=%@",
        {account, title, contents});
}

std::string NetRequest::getLectureList(long page, long pageSize) {
    return formatServiceURL(
        appRoot() + "api/activity/getLectureList.do?" + "pageNo=%ld&pageSize=%ld",
        {page, pageSize});
}

std::string NetRequest::getAnnouncement(long category, long page, long pageSize) {
    return formatServiceURL(
        appRoot() + "api/news/getNewsByCategory.do?" + "category=%ld&pageNo=%ld&pageSize=%ld",
        {category, page, pageSize});
}

std::string NetRequest::getEmployment(const std::string& type, long page, long pageSize) {
    return formatServiceURL(careerRoot() + "getEmploymentInfo?" + "type=%@&pageNo=%ld&pageSize=%ld",
                            {type, page, pageSize});
}

std::string NetRequest::getEmploymentDetail(const std::string& type, const std::string& company) {
    return formatServiceURL(careerRoot() + "getEmploymentDetail?" + "type=%@&company=%@",
                            {type, company});
}

std::string NetRequest::getNewStudentStat(const std::string& type, const std::string& code) {
    return formatServiceURL(careerRoot() + "getNewStudentStat?" + "type=%@&code=%@", {type, code});
}

std::string NetRequest::WebViewUpLoadUrl() {
    std::string raw = appRoot() + "fileUploadMportal";
    platform::log("%@", raw);
    return formatServiceURL(raw, {});
}

std::string NetRequest::getWeatherInfo() {
    return formatServiceURL(ServiceConfig::shared().weatherRoot + "adat/cityinfo/101210101.html",
                            {});
}
