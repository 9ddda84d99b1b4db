#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <string>

#include "campus/QuestionnaireViewController.h"
#include "client/SignInState.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/WebView.h"
#include "tests/campus/CampusTestSupport.h"
#include "tests/support/RefusingPort.h"

namespace {

constexpr const char* kQuestionnairePath = "/function/interaction/questionnaire_add.jsp";

class QuestionnaireTest : public campustest::CampusTest {
protected:
    QuestionnaireTest() {
        platform::UserDefaults::resetStandard();
        platform::UserDefaults::standard().setBool(true, SignInKey::isLogin);
        platform::UserDefaults::standard().setString("20050031", SignInKey::UserId);
    }
    ~QuestionnaireTest() override { platform::UserDefaults::resetStandard(); }

    std::shared_ptr<QuestionnaireViewController> open() {
        auto page = std::make_shared<QuestionnaireViewController>();
        push(page);
        EXPECT_TRUE(waitForReplies());
        settle();
        return page;
    }
    std::string sentinel() const { return ServiceConfig::shared().questionnaireSentinelURL; }
};

TEST_F(QuestionnaireTest, OpensTheQuestionnaireOfTheSignedInAccountUnderAnOverlay) {
    showWindow();
    // The page's reply waits until the overlay has been seen, however fast the server is.
    server.holdReplies("GET", kQuestionnairePath);
    auto page = std::make_shared<QuestionnaireViewController>();
    push(page);
    ASSERT_TRUE(page->HUD());
    EXPECT_EQ(page->HUD()->labelText(), "加载中");
    EXPECT_FALSE(side->needSwipeShowMenu());
    // The page's load is asked of the screen on the main loop before it is sent.
    ASSERT_TRUE(driver
                    .runUntil([&] { return !server.heldRequests(kQuestionnairePath).empty(); },
                              kPageBoundSeconds)
                    .ok);
    ASSERT_TRUE(server.releaseHeld(kQuestionnairePath));
    ASSERT_TRUE(waitForReplies());
    settle();

    EXPECT_EQ(page->title(), "问卷调查");
    EXPECT_FALSE(page->HUD());
    const auto requests = server.requestsTo(kQuestionnairePath);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target,
              std::string(kQuestionnairePath) + "?confferenceId=&userAccount=20050031");
    EXPECT_EQ(page->myWebView()->pageTitle(), "问卷调查");
}

TEST_F(QuestionnaireTest, TheAccountIsEscapedAsAQueryValue) {
    EXPECT_EQ(QuestionnaireViewController::questionnaireURL("a&b=c+d"),
              server.baseUrl() + kQuestionnairePath + "?confferenceId=&userAccount=a%26b%3Dc%2Bd");
}

TEST_F(QuestionnaireTest, TheSentinelAnywhereInAnAddressGivesAFreshQuestionnaire) {
    auto page = open();
    for (const std::string& address :
         {sentinel(), server.baseUrl() + "/jump?to=" + sentinel() + "thanks.html"}) {
        auto before = page->myWebView();
        server.clearRequests();

        // The page navigates by script; the screen is asked on a later turn of the loop.
        EXPECT_TRUE(before->simulateNavigation(address, platform::WebViewNavigationType::Other));
        ASSERT_TRUE(waitForReplies());
        settle();

        EXPECT_NE(page->myWebView(), before) << address;
        EXPECT_FALSE(before->superview());
        EXPECT_EQ(page->myWebView()->superview(), page->view());
        // Nothing but the fresh questionnaire was asked for; it starts a history of its own.
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), 1u) << address;
        EXPECT_EQ(requests[0].path, kQuestionnairePath);
        EXPECT_FALSE(page->myWebView()->canGoBack());
    }
    EXPECT_TRUE(windowOverlays().empty());
}

TEST_F(QuestionnaireTest, BackWalksTheQuestionnairesPagesThenLeaves) {
    auto page = open();
    page->myWebView()->simulateNavigation(server.baseUrl() + kQuestionnairePath +
                                          "?page=2&userAccount=20050031");
    ASSERT_TRUE(waitForReplies());
    settle();
    ASSERT_TRUE(page->myWebView()->canGoBack());

    ASSERT_TRUE(driver.back());
    ASSERT_TRUE(waitForReplies());
    settle();
    EXPECT_EQ(navigation->topViewController(), page);
    EXPECT_EQ(page->myWebView()->pageURL().find("page=2"), std::string::npos);

    ASSERT_TRUE(driver.back());
    settle();
    EXPECT_EQ(navigation->topViewController(), opener);
}

TEST_F(QuestionnaireTest, AFailedLoadSaysNetworkErrorButACancelledOneDoesNot) {
    // The service holds the questionnaire's second page, and every fresh questionnaire after
    // the first, until the test lets them go, so the next steps arrive while they load.
    std::promise<void> release;
    auto released = release.get_future().share();
    auto fresh = std::make_shared<std::atomic<int>>(0);
    server.setHandler("GET", kQuestionnairePath,
                      [released, fresh](const fakes::RecordedRequest& r) {
                          const std::string pageNumber = r.queryValue("page").value_or("");
                          if (pageNumber == "2" || (pageNumber.empty() && ++*fresh > 1))
                              released.wait();
                          return fakes::Reply{200, "text/html", "<title>问卷调查</title>"};
                      });
    auto page = open();
    auto arrived = [&](const std::string& query, std::size_t count) {
        return driver
            .runUntil(
                [&] {
                    std::size_t seen = 0;
                    for (const auto& request : server.requestsTo(kQuestionnairePath))
                        seen += request.target.find(query) != std::string::npos;
                    return seen >= count;
                },
                kPageBoundSeconds)
            .ok;
    };
    const std::string questionnaire = server.baseUrl() + kQuestionnairePath;

    // A link followed while the page loads cancels that load.
    ASSERT_TRUE(page->myWebView()->simulateNavigation(questionnaire + "?page=2"));
    ASSERT_TRUE(arrived("page=2", 1));
    ASSERT_TRUE(page->myWebView()->simulateNavigation(questionnaire + "?page=3"));
    ASSERT_TRUE(waitForReplies());
    settle(0.5);
    EXPECT_NE(page->myWebView()->pageURL().find("page=3"), std::string::npos);
    EXPECT_TRUE(windowOverlays().empty());
    // So does the swap of web views at the sentinel, while the fresh questionnaire is held.
    ASSERT_TRUE(page->myWebView()->simulateNavigation(questionnaire + "?page=2"));
    ASSERT_TRUE(arrived("page=2", 2));
    ASSERT_TRUE(page->myWebView()->simulateNavigation(sentinel()));
    ASSERT_TRUE(arrived("userAccount=20050031", 2));
    settle(0.5);
    EXPECT_TRUE(windowOverlays().empty());
    release.set_value();
    ASSERT_TRUE(waitForReplies());
    settle(0.5);
    EXPECT_TRUE(windowOverlays().empty());

    // A load that does fail says so, once, and takes the loading overlay down.
    // (Not port 1: a browser refuses to go to such restricted ports at all.)
    testsupport::RefusingPort down;
    ASSERT_TRUE(page->myWebView()->simulateNavigation(
        "http://127.0.0.1:" + std::to_string(down.port()) + "/next.jsp"));
    ASSERT_TRUE(waitFor([&] { return page->myWebView()->lastError().has_value(); }));
    settle(0.5);
    EXPECT_EQ(windowOverlays(), std::vector<std::string>{"网络错误"});
    EXPECT_FALSE(page->HUD());
}

}  // namespace
