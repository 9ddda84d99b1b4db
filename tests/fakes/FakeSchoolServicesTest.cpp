#include <gtest/gtest.h>

#include <future>

#include "fakes/FakeSchoolServices.h"
#include "tests/fakes/FakesTestSupport.h"

namespace {

using fakes::FakeSchoolServices;
using fakes::Reply;
using fakestest::clientFor;
using fakestest::getJson;
using platform::Json;

constexpr auto kWait = std::chrono::seconds(5);
constexpr const char* kNews = "/vobels/services/api/news/getNews.do";
constexpr const char* kUserInfo = "//manage/user/queryUserInfoForOldApp";

class FakeSchoolServicesTest : public ::testing::Test {
protected:
    FakeSchoolServices m_services;
    int m_port = m_services.start();
    httplib::Client client = clientFor(m_port);
};

TEST_F(FakeSchoolServicesTest, UnknownPathIsNotFoundWithJsonError) {
    const auto result = client.Get("/vobels/services/api/nothing.do");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 404);
    const Json body = Json::parse(result->body, nullptr, false);
    ASSERT_TRUE(body.is_object());
    EXPECT_TRUE(body.contains("error"));
}

TEST_F(FakeSchoolServicesTest, ReplacedRouteAnswersForItsMethodUntilOverridesAreCleared) {
    const std::string page = std::string(kNews) + "?pageNo=1&pageSize=10";
    m_services.setReply("GET", kNews, Reply{500, "text/plain", "service down"});
    m_services.setReply("POST", kNews, Reply{503, "text/plain", "no"});
    const auto result = client.Get(page);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 500);
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/plain");
    EXPECT_EQ(result->body, "service down");

    m_services.clearOverrides();
    const Json body = getJson(client, page);
    ASSERT_TRUE(body.contains("News"));
    EXPECT_EQ(body["News"].size(), 10u);
}

TEST_F(FakeSchoolServicesTest, DelayedReplyIsHeldBackUntilReleasedAndArrivesWhole) {
    Reply slow{201, "text/html", "{\"late\":true}", std::chrono::minutes(10)};
    m_services.setReply("GET", "/slow", slow);
    auto pending = std::async(std::launch::async, [port = m_port] {
        auto client = clientFor(port);
        client.set_read_timeout(600);
        return client.Get("/slow");
    });
    ASSERT_TRUE(m_services.waitForRequests(1, kWait));
    // The request is on record while its reply is still being held back.
    EXPECT_EQ(pending.wait_for(std::chrono::seconds(0)), std::future_status::timeout);

    m_services.stop();  // releases the held reply rather than waiting ten minutes
    const auto result = pending.get();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 201);
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/html");
    EXPECT_EQ(result->body, "{\"late\":true}");
}

TEST_F(FakeSchoolServicesTest, HeldRepliesGoOutInTheOrderTheTestReleasesThem) {
    m_services.holdReplies("GET", kNews);
    auto fetch = [port = m_port](const std::string& target) {
        return std::async(std::launch::async, [port, target] {
            auto client = clientFor(port);
            client.set_read_timeout(600);
            return client.Get(target);
        });
    };
    auto first = fetch(std::string(kNews) + "?pageNo=1&pageSize=10");
    ASSERT_TRUE(m_services.waitForHeld(kNews, 1, kWait));
    auto second = fetch(std::string(kNews) + "?pageNo=2&pageSize=10");
    ASSERT_TRUE(m_services.waitForHeld(kNews, 2, kWait));
    const auto held = m_services.heldRequests(kNews);
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[1].queryValue("pageNo"), "2");
    EXPECT_TRUE(m_services.heldRequests("/elsewhere").empty());

    EXPECT_TRUE(m_services.releaseHeld(kNews, 1));
    ASSERT_EQ(second.wait_for(kWait), std::future_status::ready);
    EXPECT_EQ(first.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
    EXPECT_EQ(m_services.heldRequests(kNews).size(), 1u);
    EXPECT_FALSE(m_services.releaseHeld(kNews, 1)) << "only one is left";
    const auto secondResult = second.get();
    ASSERT_TRUE(secondResult);
    const Json secondPage = Json::parse(secondResult->body, nullptr, false);

    m_services.clearOverrides();  // holds nothing more, and the one held stays held
    EXPECT_EQ(secondPage, getJson(client, std::string(kNews) + "?pageNo=2&pageSize=10"))
        << "the held reply is the route's own";
    EXPECT_EQ(first.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
    m_services.stop();  // sends what is still held
    const auto firstResult = first.get();
    ASSERT_TRUE(firstResult);
    EXPECT_EQ(firstResult->status, 200);
}

TEST_F(FakeSchoolServicesTest, HandlerSeesTheDecodedRequestAndAThrowingOneGivesServerError) {
    m_services.setHandler("GET", "/echo", [](const fakes::RecordedRequest& request) {
        return Reply{200, "text/plain", request.queryValue("name").value_or("?")};
    });
    m_services.setHandler("GET", "/broken", [](const fakes::RecordedRequest&) -> Reply {
        throw std::runtime_error("broken on purpose");
    });
    const auto echoed = client.Get("/echo?name=%E6%9D%8E%E6%99%93%E9%9B%AF");
    ASSERT_TRUE(echoed);
    EXPECT_EQ(echoed->body, "李晓雯");
    const auto broken = client.Get("/broken");
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->status, 500);
}

TEST_F(FakeSchoolServicesTest, DoubleSlashAndSingleSlashNameOneRoute) {
    m_services.setReply("GET", "/manage/user/queryUserInfoForOldApp",
                        Reply{200, "application/json", "{\"userId\":\"x\"}"});
    EXPECT_EQ(getJson(client, std::string(kUserInfo) + "?userId=1")["userId"], "x");
    EXPECT_EQ(m_services.requestsTo("/manage/user/queryUserInfoForOldApp").size(), 1u);
    EXPECT_EQ(m_services.requestsTo(kUserInfo).size(), 1u);
    const auto requests = m_services.requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.front().path, kUserInfo);  // kept as received
}

TEST_F(FakeSchoolServicesTest, LogKeepsMethodRawTargetDecodedQueryBodyAndHeaders) {
    const std::string target =
        "/vobels/services/api/org/queryMembersInfo.do?param=%E7%8E%8B&company=a%26b&empty=&"
        "plus=1%2B1&space=a%20b";
    ASSERT_TRUE(client.Get(target));
    const auto log = m_services.requests();
    ASSERT_EQ(log.size(), 1u);
    const auto& request = log.front();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.path, "/vobels/services/api/org/queryMembersInfo.do");
    EXPECT_EQ(request.target, target);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"param", "王"}, {"company", "a&b"}, {"empty", ""}, {"plus", "1+1"}, {"space", "a b"}};
    EXPECT_EQ(request.query, expected);
    EXPECT_EQ(request.queryValue("company"), "a&b");
    EXPECT_FALSE(request.queryValue("missing").has_value());

    ASSERT_TRUE(client.Post("/vobels/services/api/edu/sendLeaveword.do?userId=20050031",
                            {{"X-Trace", "42"}}, "contents=hello", "text/plain"));
    const auto posted = m_services.requestsTo("/vobels/services/api/edu/sendLeaveword.do");
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].method, "POST");
    EXPECT_EQ(posted[0].body, "contents=hello");
    EXPECT_EQ(posted[0].header("x-trace"), "42");
    EXPECT_EQ(posted[0].header("Content-Type"), "text/plain");
}

TEST_F(FakeSchoolServicesTest, LogKeepsEveryMultipartPart) {
    const httplib::MultipartFormDataItems items = {
        {"note", "上传说明", "", ""},
        {"file", std::string("\x89PNG\r\n\x1a\n\0data", 13), "photo.png", "image/png"},
    };
    ASSERT_TRUE(client.Post("/vobels/services/fileUploadMportal", items));
    const auto log = m_services.requestsTo("/vobels/services/fileUploadMportal");
    ASSERT_EQ(log.size(), 1u);
    ASSERT_EQ(log[0].parts.size(), 2u);
    EXPECT_EQ(log[0].parts[0].name, "note");
    EXPECT_EQ(log[0].parts[0].data, "上传说明");
    EXPECT_EQ(log[0].parts[1].name, "file");
    EXPECT_EQ(log[0].parts[1].filename, "photo.png");
    EXPECT_EQ(log[0].parts[1].contentType, "image/png");
    EXPECT_EQ(log[0].parts[1].data, std::string("\x89PNG\r\n\x1a\n\0data", 13));
    EXPECT_NE(log[0].header("Content-Type")->find("multipart/form-data"), std::string::npos);
}

TEST_F(FakeSchoolServicesTest, HandBuiltUploadIsRecordedAndServedBack) {
    // The web container's format: a boundary with blanks, no quotes around the file name.
    const std::string boundary = "---------- 2024-04-15 10:00:00 +0800";
    const std::string bytes("\xff\xd8\xff\xe0jpeg\0bytes", 13);
    const std::string body = "--" + boundary +
                             "\r\nContent-Disposition: form-data;name=\"file\";filename=123.jpg\r\n"
                             "Content-Type:application/octet-stream\r\n\r\n" +
                             bytes + "\r\n--" + boundary + "--\r\n";
    const auto result = client.Post("/vobels/services/fileUploadMportal", body,
                                    ("multipart/form-data; boundary=" + boundary).c_str());
    ASSERT_TRUE(result);
    const Json reply = Json::parse(result->body, nullptr, false);
    ASSERT_TRUE(reply.contains("path"));

    const auto log = m_services.requestsTo("/vobels/services/fileUploadMportal");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].body, body);
    ASSERT_EQ(log[0].parts.size(), 1u);
    EXPECT_EQ(log[0].parts[0].name, "file");
    EXPECT_EQ(log[0].parts[0].filename, "123.jpg");
    EXPECT_EQ(log[0].parts[0].contentType, "application/octet-stream");
    EXPECT_EQ(log[0].parts[0].data, bytes);

    const auto stored = client.Get(reply.at("path").get<std::string>());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->status, 200);
    EXPECT_EQ(stored->body, bytes);

    const auto empty = client.Post("/vobels/services/fileUploadMportal");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->status, 400) << "an upload without a file is refused";
}

TEST_F(FakeSchoolServicesTest, WaitingForRequestsCountsArrivalsSinceClear) {
    EXPECT_FALSE(m_services.waitForRequests(1, std::chrono::milliseconds(1)));
    ASSERT_TRUE(client.Get("/a.html"));
    ASSERT_TRUE(client.Get("/b.html"));
    EXPECT_TRUE(m_services.waitForRequests(2, kWait));
    m_services.clearRequests();
    EXPECT_TRUE(m_services.requests().empty());
    ASSERT_TRUE(client.Get("/c.html"));
    ASSERT_TRUE(m_services.waitForRequests(1, kWait));
    EXPECT_EQ(m_services.requests().front().path, "/c.html");
}

TEST_F(FakeSchoolServicesTest, StoppedServicesRefuseConnectionsAndCanStartAgain) {
    m_services.stop();
    m_services.stop();  // a second stop is harmless
    EXPECT_FALSE(client.Get("/a.html"));
    const int port = m_services.start();
    auto again = clientFor(port);
    const auto result = again.Get("/a.html");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
}

TEST(FakeSchoolServicesSampleTest, MissingSampleDirectoryIsReportedByName) {
    try {
        FakeSchoolServices services("/nonexistent/sample");
        FAIL() << "expected the missing sample data to be reported";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent/sample"), std::string::npos);
    }
}

}  // namespace
