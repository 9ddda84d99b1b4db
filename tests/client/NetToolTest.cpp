#include <gtest/gtest.h>

#include <optional>

#include "client/ActionReply.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "client/ServiceConfig.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "platform/net/Reachability.h"

using platform::Json;
using platform::RunLoop;

namespace {

// One request's outcome as the callers see it.
struct Outcome {
    int successes = 0;
    int failures = 0;
    bool onMainThread = true;
    Json reply;
    NetError error;
    int calls() const { return successes + failures; }
};

class NetToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.start();
        ServiceConfig::shared().pointAllAt(server.baseUrl());
    }
    void TearDown() override { ServiceConfig::shared().reload(); }

    NetSuccessBlock onSuccess(Outcome& o) {
        return [&o](const Json& reply) {
            o.onMainThread = o.onMainThread && RunLoop::main().isCurrent();
            ++o.successes;
            o.reply = reply;
        };
    }
    NetFailureBlock onFailure(Outcome& o) {
        return [&o](const NetError& error) {
            o.onMainThread = o.onMainThread && RunLoop::main().isCurrent();
            ++o.failures;
            o.error = error;
        };
    }
    void get(const ServiceURL& url, Outcome& o) {
        NetTool::shareInstance().getWithURL(url, onSuccess(o), onFailure(o));
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return o.calls() > 0; }));
        // The reply's completion has returned and nothing it posted waits: a second call would
        // show by then.
        ASSERT_TRUE(RunLoop::main().runUntil([] {
            return platform::HttpClient::shared().inFlight() == 0 &&
                   !RunLoop::main().hasWorkDueNow();
        }));
    }
    std::string path(const std::string& rest) { return "/vobels/services/" + rest; }

    fakes::FakeSchoolServices server;
};

TEST_F(NetToolTest, DecodesJSONLabelledAsHTMLKeepingNullsOnceOnTheMainThread) {
    server.setReply(
        "GET", path("api/news/getNews.do"),
        {200, "text/html;charset=UTF-8", R"({"News":[{"xwbt":"校运会","imgUrl":null}]})"});
    Outcome o;
    get(NetRequest::tarnwhisleWithPageNum(1, 10), o);
    EXPECT_EQ(o.successes, 1);
    EXPECT_EQ(o.failures, 0);
    EXPECT_EQ(o.reply["News"][0]["xwbt"], "校运会");
    EXPECT_TRUE(o.reply["News"][0].contains("imgUrl"));
    EXPECT_TRUE(o.reply["News"][0]["imgUrl"].is_null());
    EXPECT_TRUE(o.onMainThread);
}

TEST_F(NetToolTest, RefusedRepliesReachTheFailureBlockOnce) {
    struct Case {
        const char* why;
        fakes::Reply reply;
    };
    const Case cases[] = {
        {"status 500 with a JSON body", {500, "application/json", R"({"res":"true"})"}},
        {"a content type the client does not read", {200, "image/png", R"({"res":"true"})"}},
        {"a body that is not JSON", {200, "application/json", "<html>oops</html>"}},
        {"an empty body", {200, "application/json", ""}},
        {"a field nested 70,000 levels deep",
         {200, "application/json",
          R"({"orgcategory":[{"name":)" + std::string(70000, '[') + std::string(70000, ']') +
              "}]}"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        server.setReply("GET", path("api/org/getOrgCategory.do"), c.reply);
        Outcome o;
        get(NetRequest::organizationWithUserType("teacher"), o);
        EXPECT_EQ(o.failures, 1);
        EXPECT_EQ(o.successes, 0);
        EXPECT_TRUE(o.onMainThread);
    }
}

TEST_F(NetToolTest, DeadServerFails) {
    int port = server.port();
    server.stop();
    ServiceConfig::shared().pointAllAt("http://127.0.0.1:" + std::to_string(port));
    Outcome o;
    get(NetRequest::oneWeekMeeting(), o);
    EXPECT_EQ(o.failures, 1);
    EXPECT_EQ(o.error.status, 0);
    EXPECT_FALSE(describe(o.error).empty());
}

TEST_F(NetToolTest, PostSendsNoBodyAndCarriesTheQuery) {
    Outcome o;
    NetTool::shareInstance().postWithURL(NetRequest::userLoginWithUserAccount("t001", "a&b=c+d"),
                                         onSuccess(o), onFailure(o));
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return o.calls() > 0; }));
    auto received = server.requestsTo(path("api/user/login.do"));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].method, "POST");
    EXPECT_TRUE(received[0].body.empty());
    EXPECT_EQ(received[0].queryValue("userName"), "t001");
    EXPECT_EQ(received[0].queryValue("password"), "a&b=c+d");
}

TEST_F(NetToolTest, FormPostEncodesParametersInTheBody) {
    Outcome o;
    NetTool::shareInstance().postWithURL(NetRequest::addAdviceWithUserAccount("t", "x", "y"),
                                         Json{{"name", "张三"}, {"n", 5}}, onSuccess(o),
                                         onFailure(o));
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return o.calls() > 0; }));
    auto received = server.requestsTo(path("api/edu/sendLeaveword.do"));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_NE(received[0].body.find("n=5"), std::string::npos);
    EXPECT_NE(received[0].body.find("name=%E5%BC%A0%E4%B8%89"), std::string::npos);
}

TEST_F(NetToolTest, MultipartSendsFieldsThenFilesInOrder) {
    Outcome o;
    std::vector<FormDataItem> files = {
        {std::string("\x89PNG\0\1", 6), "file", "a.png", "image/png"},
        {"RIFF", "voice", "v.caf", "audio/x-caf"}};
    NetTool::shareInstance().postWithURL(NetRequest::WebViewUpLoadUrl(), Json{{"userId", "t001"}},
                                         files, onSuccess(o), onFailure(o));
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return o.calls() > 0; }));
    auto received = server.requestsTo(path("fileUploadMportal"));
    ASSERT_EQ(received.size(), 1u);
    const auto& parts = received[0].parts;
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].name, "userId");
    EXPECT_EQ(parts[0].data, "t001");
    EXPECT_EQ(parts[1].name, "file");
    EXPECT_EQ(parts[1].filename, "a.png");
    EXPECT_EQ(parts[1].contentType, "image/png");
    EXPECT_EQ(parts[1].data, std::string("\x89PNG\0\1", 6));
    EXPECT_EQ(parts[2].filename, "v.caf");
}

TEST_F(NetToolTest, RequestsWithoutBlocksCompleteAndLeaveTheToolWorking) {
    NetTool::shareInstance().getWithURL(NetRequest::tarnwhisleWithPageNum(1, 10), nullptr, nullptr);
    server.setReply("GET", path("api/activity/getLectureList.do"), {500, "text/html", ""});
    NetTool::shareInstance().getWithURL(NetRequest::getLectureList(1, 10), nullptr, nullptr);
    // Both were sent and both completions ran (a reply and a failure, with nothing to call).
    ASSERT_TRUE(
        RunLoop::main().runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }));
    EXPECT_EQ(server.requestsTo(path("api/news/getNews.do")).size(), 1u);
    EXPECT_EQ(server.requestsTo(path("api/activity/getLectureList.do")).size(), 1u);

    Outcome o;
    get(NetRequest::tarnwhisleWithPageNum(2, 10), o);
    EXPECT_EQ(o.successes, 1);
    EXPECT_EQ(o.failures, 0);
}

TEST(ActionReplyTest, OnlyTheStringTrueSucceeds) {
    EXPECT_TRUE(ActionReply::succeeded(Json::parse(R"({"res":"true","msg":{}})")));
    for (const char* reply : {R"({"res":"True"})", R"({"res":"1"})", R"({"res":true})",
                              R"({"msg":{}})", R"([1])", "null"})
        EXPECT_FALSE(ActionReply::succeeded(Json::parse(reply))) << reply;
    EXPECT_EQ(ActionReply::message(Json::parse(R"({"res":"false","msg":{"message":"密码错误"}})")),
              "密码错误");
    EXPECT_EQ(ActionReply::message(Json::parse(R"({"res":"false","msg":"oops"})")), "");
}

TEST(ReachabilityAnswersTest, FollowTheInjectedStatus) {
    using platform::NetworkStatus;
    using platform::Reachability;
    auto& tool = NetTool::shareInstance();
    Reachability::setOverride(Reachability::Kind::Host, NetworkStatus::NotReachable);
    Reachability::setOverride(Reachability::Kind::LocalWiFi, NetworkStatus::ReachableViaWiFi);
    Reachability::setOverride(Reachability::Kind::Internet, NetworkStatus::ReachableViaWiFi);
    EXPECT_FALSE(tool.isConnectionAvailable());
    EXPECT_TRUE(tool.IsEnableWiFi());
    EXPECT_TRUE(tool.IsEnable3G());  // Wi-Fi alone answers yes too
    Reachability::setOverride(Reachability::Kind::Host, NetworkStatus::ReachableViaWWAN);
    Reachability::setOverride(Reachability::Kind::LocalWiFi, NetworkStatus::NotReachable);
    EXPECT_TRUE(tool.isConnectionAvailable());
    EXPECT_FALSE(tool.IsEnableWiFi());
    for (auto kind :
         {Reachability::Kind::Host, Reachability::Kind::LocalWiFi, Reachability::Kind::Internet})
        Reachability::setOverride(kind, std::nullopt);
}

}  // namespace
