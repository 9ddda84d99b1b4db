#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "fakes/FakeSchoolServices.h"
#include "tests/fakes/FakesTestSupport.h"

namespace {

using fakestest::clientFor;
using fakestest::getJson;
using fakestest::jsonOf;
using fakestest::postJson;
using platform::Json;

constexpr const char* kApp = "/vobels/services/";
constexpr const char* kCareer = "/edu/";

// The routes only read the sample data, so one server serves the whole suite.
class SchoolRoutesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_services = std::make_unique<fakes::FakeSchoolServices>();
        s_services->start();
    }
    static void TearDownTestSuite() { s_services.reset(); }

    Json app(const std::string& rest) { return getJson(c, kApp + rest); }
    Json career(const std::string& rest) { return getJson(c, kCareer + rest); }
    // The list under `key`, by value, so a range-for over it owns what it walks.
    Json appList(const std::string& rest, const char* key) { return app(rest)[key]; }
    Json careerList(const std::string& rest, const char* key) { return career(rest)[key]; }

    static std::unique_ptr<fakes::FakeSchoolServices> s_services;
    httplib::Client c = clientFor(s_services->port());
};

std::unique_ptr<fakes::FakeSchoolServices> SchoolRoutesTest::s_services;

// ------------------------------------------------------------------ paging

TEST_F(SchoolRoutesTest, NewsPagesThroughTwentyFiveRows) {
    auto page = [this](const std::string& query) {
        return app("api/news/getNews.do" + query)["News"];
    };
    const Json first = page("?pageNo=1&pageSize=10");
    const Json second = page("?pageNo=2&pageSize=10");
    EXPECT_EQ(first.size(), 10u);
    EXPECT_EQ(second.size(), 10u);
    EXPECT_EQ(page("?pageNo=3&pageSize=10").size(), 5u);
    EXPECT_NE(first[0].at("id"), second[0].at("id"));
    EXPECT_EQ(page("?pageNo=1&pageSize=30")[10], second[0]);
    EXPECT_EQ(page("").size(), 10u);  // defaults: page 1 of 10
    // Past the end, and page numbers that are not positive, give empty pages.
    for (const char* number : {"4", "0", "-1", "x"}) {
        const Json rows = page(std::string("?pageSize=10&pageNo=") + number);
        ASSERT_TRUE(rows.is_array()) << number;
        EXPECT_TRUE(rows.empty()) << number;
    }
}

TEST_F(SchoolRoutesTest, EachNoticeChannelHasItsOwnRowsAndTheFirstMoreThanOnePage) {
    auto page = [this](int category, int number) {
        return app("api/news/getNewsByCategory.do?category=" + std::to_string(category) +
                   "&pageNo=" + std::to_string(number) + "&pageSize=10")["News"];
    };
    std::set<std::string> titles;
    for (int category = 1; category <= 5; ++category) {
        const Json rows = page(category, 1);
        ASSERT_FALSE(rows.empty()) << "category " << category;
        titles.insert(rows[0].at("xwbt").get<std::string>());
    }
    EXPECT_EQ(titles.size(), 5u);
    EXPECT_TRUE(page(6, 1).empty());
    EXPECT_EQ(page(1, 1).size(), 10u);
    EXPECT_FALSE(page(1, 2).empty());
}

TEST_F(SchoolRoutesTest, CareerListsAreNumberedAcrossPages) {
    for (const char* type : {"zp", "sx", "zph", "xjh"}) {
        const Json rows = career(std::string("getEmploymentInfo?type=") + type +
                                 "&pageNo=1&pageSize=10")["ListOrderedMap"];
        ASSERT_FALSE(rows.empty()) << type;
        EXPECT_EQ(rows[0].at("RN"), "1") << type;
    }
    const Json second = career("getEmploymentInfo?type=zp&pageNo=2&pageSize=10")["ListOrderedMap"];
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(second[0].at("RN"), "11");
    EXPECT_TRUE(
        career("getEmploymentInfo?type=other&pageNo=1&pageSize=10")["ListOrderedMap"].empty());
}

// ------------------------------------------------------------------ every path and its key

TEST_F(SchoolRoutesTest, EveryQueryPathAnswersWithItsListKey) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {kApp + std::string("api/news/getNews.do?pageNo=1&pageSize=10"), "News"},
        {kApp + std::string("api/news/getNewsByCategory.do?category=3&pageNo=1&pageSize=10"),
         "News"},
        {kApp + std::string("api/org/getOrgCategory.do?userType=teacher"), "orgcategory"},
        {kApp + std::string("api/org/getMembersByOrgId.do?orgId=1005"), "members"},
        {kApp + std::string("api/org/queryMembersInfo.do?param=%E7%8E%8B"), "membersInfo"},
        {kApp + std::string("api/meeting/fetchCurrentMeeting.do"), "Meetings"},
        {kApp + std::string("api/meeting/getMeetingWeek.do?weeks=9"), "Meetings"},
        {kApp + std::string("api/activity/getLectureList.do?pageNo=1&pageSize=10"), "Lecture"},
        {kCareer + std::string("getEmploymentInfo?type=xjh&pageNo=1&pageSize=10"),
         "ListOrderedMap"},
        {kCareer + std::string("getNewStudentStat?type=xytj&code=00000000"), "xytj"},
    };
    for (const auto& [target, key] : cases) {
        const auto result = c.Get(target);
        ASSERT_TRUE(result) << target;
        EXPECT_EQ(result->status, 200) << target;
        EXPECT_EQ(result->get_header_value("Content-Type"), "application/json;charset=UTF-8");
        const Json list = jsonOf(result)[key];
        ASSERT_TRUE(list.is_array()) << target;
        EXPECT_FALSE(list.empty()) << target;
    }
}

TEST_F(SchoolRoutesTest, ActionPathsAnswerPostAndRefuseGet) {
    const std::string feedback = std::string(kApp) +
                                 "api/edu/sendLeaveword.do?userId=20050031&title=%E6%84%8F%E8%A7%81"
                                 "%E5%8F%8D%E9%A6%88&contents=";
    EXPECT_EQ(postJson(c, feedback), Json::parse(R"({"res":"true","msg":{}})"));
    const auto wrong = c.Get(feedback);
    ASSERT_TRUE(wrong);
    EXPECT_EQ(wrong->status, 405);
    EXPECT_EQ(app("api/installTimes?devicetype=iPhone")["res"], "true");
}

// ------------------------------------------------------------------ sign-in and user information

TEST_F(SchoolRoutesTest, SampleAccountsSignInAndOthersAreRefusedWithAMessage) {
    auto login = [&](const std::string& query) {
        return postJson(c, std::string(kApp) + "api/user/login.do" + query);
    };
    const Json teacher = login("?userName=20050031&password=teacher123");
    EXPECT_EQ(teacher.at("res"), "true");
    EXPECT_EQ(teacher.at("msg").at("userType"), "teacher");
    EXPECT_EQ(teacher.at("msg").at("message"), "登录成功");
    EXPECT_EQ(teacher.at("msg").at("userName"), "王建国");
    bool hasNull = false;
    for (const auto& [key, value] : teacher.at("msg").items()) hasNull = hasNull || value.is_null();
    EXPECT_TRUE(hasNull) << "the client must cope with null user fields";
    const Json student = login("?userName=2021213045&password=student123");
    EXPECT_EQ(student.at("res"), "true");
    EXPECT_EQ(student.at("msg").at("userType"), "student");
    EXPECT_EQ(student.at("msg").at("userName"), "李晓雯");

    const Json refusal = Json::parse(R"({"res":"false","msg":{"message":"用户名或密码错误"}})");
    EXPECT_EQ(login("?userName=20050031&password=teacher124"), refusal);
    EXPECT_EQ(login("?userName=nobody&password=x"), refusal);
    EXPECT_EQ(login(""), refusal);
}

TEST_F(SchoolRoutesTest, UserInformationAnswersOnTheDoubleSlashPath) {
    const Json doc = getJson(c, "//manage/user/queryUserInfoForOldApp?userId=20050031");
    EXPECT_EQ(doc.at("userId"), "20050031");
    bool hasNull = false;
    for (const auto& [key, value] : doc.items()) hasNull = hasNull || value.is_null();
    EXPECT_TRUE(hasNull);
    EXPECT_EQ(getJson(c, "/manage/user/queryUserInfoForOldApp?userId=20050031"), doc);
    const auto unknown = c.Get("//manage/user/queryUserInfoForOldApp?userId=nobody");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);
}

// ------------------------------------------------------------------ staff directory

TEST_F(SchoolRoutesTest, DirectoryIsListedForTeachersOnlyAndEveryCategoryOpensItsMembers) {
    EXPECT_TRUE(app("api/org/getOrgCategory.do?userType=student")["orgcategory"].empty());
    int withMembers = 0;
    int without = 0;
    for (const auto& category :
         appList("api/org/getOrgCategory.do?userType=teacher", "orgcategory")) {
        const Json members = app("api/org/getMembersByOrgId.do?orgId=" +
                                 category.at("lbdm").get<std::string>())["members"];
        ASSERT_TRUE(members.is_array());
        for (const auto& member : members) EXPECT_EQ(member.at("zzmc"), category.at("zzmc"));
        (members.empty() ? without : withMembers)++;
    }
    EXPECT_GT(withMembers, 0);
    EXPECT_GT(without, 0) << "one organisation shows the empty-result picture";
}

TEST_F(SchoolRoutesTest, SearchFindsMembersByPartOfTheirName) {
    const Json found = app("api/org/queryMembersInfo.do?param=%E7%8E%8B")["membersInfo"];  // 王
    ASSERT_GE(found.size(), 2u);
    for (const auto& member : found)
        EXPECT_NE(member.at("xm").get<std::string>().find("王"), std::string::npos);
    // The sample holds names with spaces ("张 三"), which a search for a space finds.
    const Json spaced = app("api/org/queryMembersInfo.do?param=%20")["membersInfo"];
    ASSERT_FALSE(spaced.empty());
    for (const auto& member : spaced)
        EXPECT_NE(member.at("xm").get<std::string>().find(' '), std::string::npos);
    EXPECT_TRUE(app("api/org/queryMembersInfo.do?param=")["membersInfo"].empty());
}

// ------------------------------------------------------------------ meetings

TEST_F(SchoolRoutesTest, EachWeekNamesItsRangeAndTheCurrentOneToday) {
    const Json week = app("api/meeting/fetchCurrentMeeting.do");
    const std::set<std::string> days = {"周一", "周二", "周三", "周四", "周五", "周六", "周日"};
    EXPECT_TRUE(week.at("currentWeek").is_number_integer());
    EXPECT_GE(week.at("maxWeek").get<int>(), week.at("currentWeek").get<int>());
    EXPECT_FALSE(week.at("scope").get<std::string>().empty());
    EXPECT_TRUE(days.count(week.at("currentDate").get<std::string>()));
    for (const auto& meeting : week.at("Meetings"))
        EXPECT_TRUE(days.count(meeting.at("week").get<std::string>())) << meeting.dump();

    const int number = week.at("currentWeek").get<int>();
    const Json previous = app("api/meeting/getMeetingWeek.do?weeks=" + std::to_string(number - 1));
    EXPECT_FALSE(previous.at("Meetings").empty());
    EXPECT_NE(previous.at("scope"), week.at("scope"));
    EXPECT_NE(previous.at("Meetings"), week.at("Meetings"));
    const Json quiet = app("api/meeting/getMeetingWeek.do?weeks=1");
    EXPECT_TRUE(quiet.at("Meetings").empty());
    EXPECT_FALSE(quiet.at("scope").get<std::string>().empty());
    EXPECT_TRUE(app("api/meeting/getMeetingWeek.do?weeks=99")["Meetings"].empty());
}

// ------------------------------------------------------------------ career services

TEST_F(SchoolRoutesTest, EmployerDetailIsFoundByItsListNameEvenWithAnAmpersand) {
    auto detail = [this](const std::string& name) {
        return career("getEmploymentDetail?type=zp&company=" +
                      httplib::detail::encode_query_param(name));
    };
    const Json rows = career("getEmploymentInfo?type=zp&pageNo=1&pageSize=10")["ListOrderedMap"];
    const std::string name = rows[0].at("YRDWMC").get<std::string>();
    EXPECT_EQ(detail(name)["yrdwmc"], name);
    EXPECT_FALSE(detail(name)["employDetailList"].empty());
    EXPECT_EQ(detail("南屿信息&数据服务有限公司")["yrdwmc"], "南屿信息&数据服务有限公司");
    const Json unknown = detail("nobody");
    ASSERT_TRUE(unknown.at("employDetailList").is_array());
    EXPECT_TRUE(unknown.at("employDetailList").empty());
}

// ------------------------------------------------------------------ enrolment statistics

long sumOf(const Json& rows, const char* key) {
    long sum = 0;
    for (const auto& row : rows) sum += row.at(key).get<long>();
    return sum;
}

TEST_F(SchoolRoutesTest, StatisticsDrillDownFromCollegeToClass) {
    const Json school = career("getNewStudentStat?type=xytj&code=00000000");
    ASSERT_EQ(school.at("info").size(), 1u);
    EXPECT_EQ(school.at("info")[0].at("ZSZRS").get<long>(), sumOf(school.at("xytj"), "LQ"));
    EXPECT_EQ(school.at("info")[0].at("BDZRS").get<long>(), sumOf(school.at("xytj"), "BD"));
    EXPECT_EQ(school.at("info")[0].at("CWJFZRS").get<long>(), sumOf(school.at("xytj"), "CW"));
    EXPECT_EQ(school.at("info")[0].at("WDRS").get<long>(),
              sumOf(school.at("xytj"), "LQ") - sumOf(school.at("xytj"), "BD"));

    const Json& college = school.at("xytj")[0];
    const Json specialties =
        career("getNewStudentStat?type=zytj&code=" + college.at("YXSH").get<std::string>());
    ASSERT_FALSE(specialties.at("xytj").empty());
    EXPECT_EQ(sumOf(specialties.at("xytj"), "LQ"), college.at("LQ").get<long>());
    EXPECT_EQ(specialties.at("info")[0].at("ZSZRS"), college.at("LQ"));

    const Json& specialty = specialties.at("xytj")[0];
    const Json classes =
        career("getNewStudentStat?type=bjtj&code=" + specialty.at("LQZYDM").get<std::string>());
    ASSERT_FALSE(classes.at("xytj").empty());
    EXPECT_EQ(sumOf(classes.at("xytj"), "LQ"), specialty.at("LQ").get<long>());
    for (const auto& row : classes.at("xytj"))
        EXPECT_FALSE(row.at("BJ").get<std::string>().empty());

    const Json none = career("getNewStudentStat?type=zytj&code=999");
    EXPECT_TRUE(none.at("info").empty());
    EXPECT_TRUE(none.at("xytj").empty());
}

// ------------------------------------------------------------------ weather and store lookup

TEST_F(SchoolRoutesTest, WeatherIsJsonLabelledAsHtmlAndTheStoreOffersTheBundledVersion) {
    const auto result = c.Get("/adat/cityinfo/101210101.html");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->get_header_value("Content-Type").rfind("text/html", 0), 0u);
    const Json info = jsonOf(result)["weatherinfo"];
    EXPECT_EQ(info.at("city"), "岚溪");
    EXPECT_EQ(info.at("weather"), "多云");
    EXPECT_EQ(info.at("temp1"), "15℃");
    EXPECT_EQ(info.at("temp2"), "8℃");

    const Json lookup = postJson(c, "/lookup?id=20240001");
    EXPECT_EQ(lookup.at("resultCount"), 1);
    EXPECT_EQ(lookup.at("results")[0].at("version"), "2.0.4");
    EXPECT_TRUE(lookup.at("results")[0].contains("trackViewUrl"));
}

// ------------------------------------------------------------------ web pages and images

TEST_F(SchoolRoutesTest, WebPagesAreHtmlAndShowParametersEscaped) {
    for (const std::string target :
         {"/CM/login.html",
          "/function/interaction/questionnaire_add.jsp?confferenceId=&userAccount=20050031",
          "/vobels/services/api/user/emailLogin.do?userId=0A1B&type=teacher",
          "/about/intro.html"}) {
        const auto result = c.Get(target);
        ASSERT_TRUE(result) << target;
        EXPECT_EQ(result->status, 200) << target;
        EXPECT_EQ(result->get_header_value("Content-Type").rfind("text/html", 0), 0u) << target;
        EXPECT_NE(result->body.find("<html>"), std::string::npos) << target;
    }
    // The questionnaire shows the account escaped.
    const auto result = c.Get(
        "/function/interaction/questionnaire_add.jsp?confferenceId=&userAccount=%3Cb%3E20050031");
    ASSERT_TRUE(result);
    EXPECT_NE(result->body.find("&lt;b&gt;20050031"), std::string::npos);
    EXPECT_EQ(result->body.find("<b>20050031"), std::string::npos);
}

TEST_F(SchoolRoutesTest, PaymentPageAcceptsOnlyTheSignedCustomer) {
    const std::string json =
        "%7B%22custno%22%3A%2220050031%22%2C%22accounttype%22%3A%22custno%22%2C%22front_skip_"
        "url%22%3Anull%7D";
    const auto good = c.Get("/school/interface/toPay?json=" + json +
                            "&signature=0313971c507df29ceeaaf316996c1f25");
    ASSERT_TRUE(good);
    EXPECT_NE(good->body.find("20050031"), std::string::npos);
    EXPECT_EQ(good->body.find("签名错误"), std::string::npos);
    const auto forged = c.Get("/school/interface/toPay?json=" + json +
                              "&signature=00000000000000000000000000000000");
    ASSERT_TRUE(forged);
    EXPECT_NE(forged->body.find("签名错误"), std::string::npos);
}

TEST_F(SchoolRoutesTest, NewsPicturesAreRealImages) {
    const auto jpeg = c.Get("/upload/news/2024/0416/xw001.jpg");
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->get_header_value("Content-Type"), "image/jpeg");
    ASSERT_GE(jpeg->body.size(), 3u);
    EXPECT_EQ(jpeg->body.substr(0, 3), "\xff\xd8\xff");
    const auto png = c.Get("/upload/news/2024/0416/xw004.png");
    ASSERT_TRUE(png);
    EXPECT_EQ(png->get_header_value("Content-Type"), "image/png");
    EXPECT_EQ(png->body.substr(0, 8), "\x89PNG\r\n\x1a\n");
    // Chinese and blanks in a thumbnail path arrive escaped and still find a picture.
    const auto named = c.Get("/upload/news/2024/0228/%E6%A0%A1%E5%BA%86%20%E6%B5%B7%E6%8A%A5.jpg");
    ASSERT_TRUE(named);
    EXPECT_EQ(named->status, 200);
}

// ------------------------------------------------------------------ the records the client reads

void expectStringFields(const Json& row, std::initializer_list<const char*> keys,
                        const std::string& where) {
    for (const char* key : keys) {
        ASSERT_TRUE(row.contains(key)) << where << " lacks " << key;
        EXPECT_TRUE(row.at(key).is_string()) << where << "." << key;
    }
}

TEST_F(SchoolRoutesTest, RecordsCarryTheKeysTheScreensRead) {
    for (const auto& row : appList("api/news/getNews.do?pageNo=1&pageSize=100", "News"))
        expectStringFields(row, {"id", "imgUrl", "xwbt", "fbsj", "xwnr"}, "news");
    for (int category = 1; category <= 5; ++category) {
        for (const auto& row : appList("api/news/getNewsByCategory.do?category=" +
                                           std::to_string(category) + "&pageNo=1&pageSize=100",
                                       "News"))
            expectStringFields(row, {"xwbt", "fbsj", "xwnr"}, "notice");
    }
    for (const auto& row :
         appList("api/activity/getLectureList.do?pageNo=1&pageSize=100", "Lecture")) {
        expectStringFields(row,
                           {"jzjssj", "jzdd", "jzmc", "jzsqxy", "jzzbdw", "jzid", "jzkssj", "jznr",
                            "jzrxm", "jzrms"},
                           "lecture");
        EXPECT_GE(row.at("jzkssj").get<std::string>().size(), 16u);
        EXPECT_GE(row.at("jzjssj").get<std::string>().size(), 16u);
    }
    for (const auto& row : appList("api/org/getOrgCategory.do?userType=teacher", "orgcategory"))
        expectStringFields(row, {"zzbh", "zzmc", "lbdm"}, "organisation");
    for (const auto& row : appList("api/org/getMembersByOrgId.do?orgId=1003", "members"))
        expectStringFields(
            row,
            {"xm", "zzmc", "xzzw", "unicom", "cmcc", "chinaNet", "officePhone", "officePhone2",
             "housePhone", "cmccShort", "chinanetShort", "unicomShort", "rybh", "jgdm"},
            "member");
    for (const auto& row : appList("api/meeting/getMeetingWeek.do?weeks=8", "Meetings"))
        expectStringFields(
            row,
            {"startTime", "startDate", "compere", "subject", "attendee", "roomId", "part", "week"},
            "meeting");
    for (const char* type : {"zp", "sx"}) {
        for (const auto& row :
             careerList(std::string("getEmploymentInfo?type=") + type + "&pageNo=1&pageSize=100",
                        "ListOrderedMap"))
            expectStringFields(row, {"RN", "YRDWMC", "DWDZ", "JZSJ"}, type);
    }
    for (const char* type : {"zph", "xjh"}) {
        for (const auto& row :
             careerList(std::string("getEmploymentInfo?type=") + type + "&pageNo=1&pageSize=100",
                        "ListOrderedMap"))
            expectStringFields(row,
                               {"RN", "ID", "ZT", "ZPHLX", "ZBDW", "JBDD", "APRQ", "KSSJ", "JSSJ",
                                "XL", "ZY", "LXR", "LXDH", "SJ", "CZ", "EMAIL", "FBR", "YRDW"},
                               type);
    }
    const Json detail = career("getEmploymentDetail?type=sx&company=" +
                               httplib::detail::encode_query_param("澈泉信息技术有限公司"));
    expectStringFields(detail, {"dwjj", "yrdwmc", "sshy", "dwxz", "jglx", "dwdz", "dwlxr", "lxdh"},
                       "employer");
    for (const auto& row : detail.at("employDetailList"))
        expectStringFields(row, {"ZWMC", "XQRS", "GZLX", "PYFS", "YXJB", "JZSJ"}, "position");
    for (const auto& row : careerList("getNewStudentStat?type=bjtj&code=080901", "xytj")) {
        expectStringFields(row, {"YXSH", "XY", "BDBFB", "CWBFB", "LQZYDM", "LQZYMC", "BJ"},
                           "statistics");
        for (const char* count : {"LQ", "BD", "CW"})
            EXPECT_TRUE(row.at(count).is_number_integer()) << count;
    }
}

TEST_F(SchoolRoutesTest, SampleHoldsTheCasesScreensTreatSpecially) {
    // An address of two blanks shows "暂无" in the career lists; the employer block shows "暂无"
    // for the text "null"; a member with no phone at all shows no call buttons.
    bool twoBlanks = false;
    for (const auto& row :
         careerList("getEmploymentInfo?type=zp&pageNo=1&pageSize=100", "ListOrderedMap"))
        twoBlanks = twoBlanks || row.at("DWDZ") == "  ";
    EXPECT_TRUE(twoBlanks);
    const Json nullAddress = career("getEmploymentDetail?type=zp&company=" +
                                    httplib::detail::encode_query_param("霁光电气股份有限公司"));
    EXPECT_EQ(nullAddress.at("dwdz"), "null");
    bool noPhones = false;
    for (const auto& member : appList("api/org/getMembersByOrgId.do?orgId=1007", "members"))
        noPhones = noPhones || (member.at("cmcc") == "" && member.at("officePhone") == "" &&
                                member.at("unicom") == "" && member.at("chinaNet") == "");
    EXPECT_TRUE(noPhones);
}

}  // namespace
