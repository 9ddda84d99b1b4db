#include <gtest/gtest.h>

#include "client/NetRequest.h"
#include "client/ServiceConfig.h"

namespace {

class NetRequestTest : public ::testing::Test {
protected:
    void SetUp() override { ServiceConfig::shared().pointAllAt("http://127.0.0.1:8080"); }
    void TearDown() override { ServiceConfig::shared().reload(); }
    const std::string app = "http://127.0.0.1:8080/vobels/services/";
    const std::string career = "http://127.0.0.1:8080/edu/";
};

TEST_F(NetRequestTest, BuildsEveryEndpointFromRootPathAndQuery) {
    EXPECT_EQ(NetRequest::getAnnouncement(2, 1, 10).url,
              app + "api/news/getNewsByCategory.do?category=2&pageNo=1&pageSize=10");
    EXPECT_EQ(NetRequest::tarnwhisleWithPageNum(3, 10).url,
              app + "api/news/getNews.do?pageNo=3&pageSize=10");
    EXPECT_EQ(NetRequest::userLoginWithUserAccount("t001", "pw").url,
              app + "api/user/login.do?userName=t001&password=pw");
    EXPECT_EQ(NetRequest::organizationWithUserType("teacher").url,
              app + "api/org/getOrgCategory.do?userType=teacher");
    EXPECT_EQ(NetRequest::membersWithOrgId("12").url,
              app + "api/org/getMembersByOrgId.do?orgId=12");
    EXPECT_EQ(NetRequest::getMeetingWeek("15").url, app + "api/meeting/getMeetingWeek.do?weeks=15");
    EXPECT_EQ(NetRequest::getLectureList(2, 10).url,
              app + "api/activity/getLectureList.do?pageNo=2&pageSize=10");
    EXPECT_EQ(NetRequest::addAdviceWithUserAccount("t001", "title", "text").url,
              app + "api/edu/sendLeaveword.do?userId=t001&title=title&contents=text");
    EXPECT_EQ(NetRequest::installTimesWithDeviceTypy("ios").url,
              app + "api/installTimes?devicetype=ios");
    EXPECT_EQ(NetRequest::getEmployment("zph", 1, 10).url,
              career + "getEmploymentInfo?type=zph&pageNo=1&pageSize=10");
    EXPECT_EQ(NetRequest::getEmploymentDetail("zp", "acme").url,
              career + "getEmploymentDetail?type=zp&company=acme");
    EXPECT_EQ(NetRequest::getNewStudentStat("xytj", "").url,
              career + "getNewStudentStat?type=xytj&code=");
    EXPECT_EQ(NetRequest::WebViewUpLoadUrl().url, app + "fileUploadMportal");
    // The current meeting has no query at all, and the user information path keeps its "//".
    EXPECT_EQ(NetRequest::oneWeekMeeting().url, app + "api/meeting/fetchCurrentMeeting.do");
    EXPECT_EQ(NetRequest::getUserInfoWithUserID("s2019").url,
              "http://127.0.0.1:8080//manage/user/queryUserInfoForOldApp?userId=s2019");
}

TEST_F(NetRequestTest, TextIsEscapedAsUTF8AndReservedCharactersStayInsideTheirValue) {
    EXPECT_EQ(NetRequest::searchWithSearchStr("王 老师").url,
              app + "api/org/queryMembersInfo.do?param=%E7%8E%8B%20%E8%80%81%E5%B8%88");
    EXPECT_EQ(NetRequest::addAdviceWithUserAccount("t001", "意见反馈", "a/b?c:d").url,
              app +
                  "api/edu/sendLeaveword.do?userId=t001&title=%E6%84%8F%E8%A7%81%E5%8F%8D%E9%A6%88"
                  "&contents=a/b?c:d");
    EXPECT_EQ(NetRequest::userLoginWithUserAccount("t001", "a&b=c+d").url,
              app + "api/user/login.do?userName=t001&password=a%26b%3Dc%2Bd");
    EXPECT_EQ(NetRequest::searchWithSearchStr("50%").url,
              app + "api/org/queryMembersInfo.do?param=50%25");
    EXPECT_EQ(NetRequest::searchWithSearchStr("#1").url,
              app + "api/org/queryMembersInfo.do?param=%231");
}

TEST(ServiceConfigTest, DefaultsNameOnlyInventedHostsAndReachabilityAsksAboutTheAppService) {
    unsetenv("CAMPUS_SERVICES");
    ServiceConfig::shared().reload();
    const ServiceConfig& config = ServiceConfig::shared();
    for (const std::string& address :
         {config.appServiceRoot, config.careerServiceRoot, config.userInfoServiceURL,
          config.schoolSiteRoot, config.attendanceRoot, config.paymentRoot,
          config.questionnaireRoot, config.weatherRoot, config.storeLookupRoot, config.storeAppPage,
          config.probeURL, config.shareServiceBase}) {
        size_t host = address.find("://") + 3;
        size_t end = address.find_first_of(":/", host);
        EXPECT_TRUE(address.substr(host, end - host).ends_with(".lanxi-campus.example")) << address;
    }
    EXPECT_EQ(config.reachabilityHost, "app.lanxi-campus.example");
    EXPECT_NE(config.storeAppPage.find(config.storeAppId), std::string::npos);

    setenv("CAMPUS_APP_SERVICE", "http://127.0.0.2:8080/", 1);
    ServiceConfig::shared().reload();
    EXPECT_EQ(config.reachabilityHost, "127.0.0.2");
    unsetenv("CAMPUS_APP_SERVICE");
    ServiceConfig::shared().reload();
}

TEST(ServiceConfigTest, OneVariablePointsEveryServiceAtOneServer) {
    setenv("CAMPUS_SERVICES", "http://127.0.0.1:9/", 1);
    ServiceConfig::shared().reload();
    EXPECT_EQ(ServiceConfig::shared().appServiceRoot, "http://127.0.0.1:9/vobels/services/");
    EXPECT_EQ(ServiceConfig::shared().careerServiceRoot, "http://127.0.0.1:9/edu/");
    EXPECT_EQ(ServiceConfig::shared().weatherRoot, "http://127.0.0.1:9/");
    EXPECT_EQ(ServiceConfig::shared().reachabilityHost, "127.0.0.1");
    setenv("CAMPUS_CAREER_SERVICE", "http://10.0.0.2:81", 1);
    ServiceConfig::shared().reload();
    EXPECT_EQ(ServiceConfig::shared().careerServiceRoot, "http://10.0.0.2:81/edu/");
    EXPECT_EQ(ServiceConfig::shared().appServiceRoot, "http://127.0.0.1:9/vobels/services/");
    unsetenv("CAMPUS_SERVICES");
    unsetenv("CAMPUS_CAREER_SERVICE");
    ServiceConfig::shared().reload();
}

TEST(ServiceConfigTest, OnlyTheSchoolsOwnHostsAreSchoolAddresses) {
    unsetenv("CAMPUS_SERVICES");
    ServiceConfig::shared().reload();
    const ServiceConfig& config = ServiceConfig::shared();
    for (const char* school :
         {"http://kq.lanxi-campus.example/CM/login.html", "https://KQ.lanxi-campus.example/x",
          "http://app.lanxi-campus.example/", "http://career.lanxi-campus.example/q/1",
          "http://ids.lanxi-campus.example//manage/user/x", "http://www.lanxi-campus.example/",
          "http://pay.lanxi-campus.example:8082/school/interface/toPay"})
        EXPECT_TRUE(config.isSchoolAddress(school)) << school;
    for (const char* other :
         {"http://pay.lanxi-campus.example/", "http://kq.lanxi-campus.example:8080/",
          "http://weather.lanxi-campus.example/", "https://store.lanxi-campus.example/lookup",
          "http://share.lanxi-campus.example/", "http://done.lanxi-campus.example/",
          "http://kq.lanxi-campus.example.elsewhere.example/",
          "http://kq.lanxi-campus.example@elsewhere.example/", "about:blank", "",
          "lanxi-bridge://getUserInfo?kq.lanxi-campus.example"})
        EXPECT_FALSE(config.isSchoolAddress(other)) << other;

    // Pointed at one server, that server's port is the school; the loopback on another is not.
    ServiceConfig::shared().pointAllAt("http://127.0.0.1:40001");
    EXPECT_TRUE(config.isSchoolAddress("http://127.0.0.1:40001/bridge-demo.html"));
    EXPECT_FALSE(config.isSchoolAddress("http://127.0.0.1:40002/bridge-demo.html"));
    EXPECT_FALSE(config.isSchoolAddress("http://127.0.0.1/bridge-demo.html"));
    ServiceConfig::shared().reload();
}

}  // namespace
