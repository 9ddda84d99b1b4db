#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "client/ServiceConfig.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"

using platform::RunLoop;

namespace {

// A password the log must never show, in either its typed or its escaped form.
const std::string kPassword = "Tiger&Lily=42";
const std::string kEscapedPassword = "Tiger%26Lily%3D42";

class SecretLoggingTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.start();
        ServiceConfig::shared().pointAllAt(server.baseUrl());
        platform::setLogSink([this](const std::string& line) { logged.push_back(line); });
    }
    void TearDown() override {
        platform::setLogSink(nullptr);
        ServiceConfig::shared().reload();
    }

    std::string log() const {
        std::string all;
        for (const auto& line : logged) all += line + "\n";
        return all;
    }

    fakes::FakeSchoolServices server;
    std::vector<std::string> logged;
};

TEST_F(SecretLoggingTest, AFailedSignInLogsTheAddressWithThePasswordMasked) {
    server.setReply("POST", "/vobels/services/api/user/login.do", {500, "text/html", "down"});
    bool failed = false;
    // What the sign-in page does with a failure: log the error.
    NetTool::shareInstance().postWithURL(NetRequest::userLoginWithUserAccount("t001", kPassword),
                                         nullptr, [&](const NetError& error) {
                                             platform::log("error:%@", describe(error));
                                             failed = true;
                                         });
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return failed; }));

    // The request itself carried the password untouched.
    auto received = server.requestsTo("/vobels/services/api/user/login.do");
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].queryValue("password"), kPassword);

    std::string text = log();
    EXPECT_NE(text.find("login.do?userName=t001&password=***"), std::string::npos) << text;
    EXPECT_EQ(text.find("Tiger"), std::string::npos) << text;
    EXPECT_EQ(text.find(kEscapedPassword), std::string::npos) << text;
}

TEST_F(SecretLoggingTest, OnlyArgumentsMarkedSecretAreMasked) {
    ServiceURL url = formatServiceURL("http://h.lanxi-campus.example/a?user=%@&pin=%@&n=%ld",
                                      {std::string("王 五"), secret("1 2&3"), 7L});
    EXPECT_EQ(url.url,
              "http://h.lanxi-campus.example/a?user=%E7%8E%8B%20%E4%BA%94&pin=1%202%263&n=7");
    EXPECT_EQ(url.shown, "http://h.lanxi-campus.example/a?user=%E7%8E%8B%20%E4%BA%94&pin=***&n=7");

    // An address that marks nothing secret is shown as it is sent.
    EXPECT_EQ(NetRequest::getLectureList(1, 10).shown, NetRequest::getLectureList(1, 10).url);
}

}  // namespace
