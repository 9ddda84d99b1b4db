#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/SignInState.h"
#include "platform/ui/WebView.h"
#include "shell/EmailWebViewController.h"
#include "tests/shell/HomeTestSupport.h"

using namespace shelltest;

namespace {

constexpr const char* kMailPath = "/vobels/services/api/user/emailLogin.do";

// Known answers from an independent source, the OpenSSL command line:
//   printf '%s' ACCOUNT | openssl enc -des-ecb -K 716b353833303237 -nosalt
//       -provider legacy -provider default | xxd -p -u
// (716b353833303237 is "qk583027", the first 8 bytes of the key text.)
struct KnownAnswer {
    std::string account;
    std::string hex;
};
const std::vector<KnownAnswer> kKnownAnswers = {
    {"", "3C2A592D006150AB"},
    {"7", "0BE1CDFD5BAB68E9"},  // the first byte is below 16: written "0B"
    {"2005003", "65ECA8ED075F17BD"},
    {"20050031", "6AC5D33F6000434D3C2A592D006150AB"},
    {"202121304512345", "1E38AA4A2AC289E3B24FA51B0A2CF215"},
    {"2021213045", "1E38AA4A2AC289E329526857F580BB19"},
    {"岚溪教师01", "635B25468E179DFCCFB4BE45E6BD8513"},
};

std::string knownAnswer(const std::string& account) {
    for (const auto& answer : kKnownAnswers)
        if (answer.account == account)
            return answer.hex;
    return {};
}

TEST(MailboxEncryption, MatchesTheOpenSSLCommandLine) {
    auto page = std::make_shared<EmailWebViewController>();
    for (const auto& [account, hex] : kKnownAnswers) {
        SCOPED_TRACE(account);
        EXPECT_EQ(page->encryptUseDES2Hex(account, EmailWebViewController::kKey), hex);
        // ECB under a fixed key: the same account always gives the same text.
        EXPECT_EQ(page->encryptUseDES2Hex(account, EmailWebViewController::kKey), hex);
    }
}

TEST(MailboxEncryption, ALongAccountIsEncryptedWhole) {
    // 2000 bytes encrypt to 2008, far past any fixed 1024-byte buffer. Ends from the command
    // line as above with the account of 2000 "x".
    auto page = std::make_shared<EmailWebViewController>();
    const auto hex = page->encryptUseDES2Hex(std::string(2000, 'x'), EmailWebViewController::kKey);
    ASSERT_TRUE(hex);
    EXPECT_EQ(hex->size(), 4016u);
    EXPECT_EQ(hex->substr(0, 16), "55C321ECD0F6E462");
    EXPECT_EQ(hex->substr(hex->size() - 16), "3C2A592D006150AB");
}

TEST(MailboxEncryption, AFailingCipherGivesNothing) {
    auto page = std::make_shared<EmailWebViewController>(
        [](std::string_view, std::string_view) { return std::optional<std::string>(); });
    EXPECT_FALSE(page->encryptUseDES2Hex("20050031", EmailWebViewController::kKey));
}

// The mailbox page as the home page's "电子邮箱" tile opens it.
class MailboxTest : public hometest::HomeTest {
protected:
    void openMailbox() {
        launch();
        ASSERT_TRUE(driver.tap("电子邮箱")) << driver.outline();
        settle();
        page = std::dynamic_pointer_cast<EmailWebViewController>(topOfHomeStack());
        ASSERT_TRUE(page) << driver.outline();
    }
    std::vector<fakes::RecordedRequest> mailRequests() const {
        return server.requestsTo(kMailPath);
    }
    std::vector<std::string> pageToasts() const { return overlayTexts(*page->view()); }

    std::shared_ptr<EmailWebViewController> page;
};

TEST_F(MailboxTest, ATeacherOpensTheMailboxWithTheEncryptedAccountAndTypeTeacher) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    openMailbox();
    EXPECT_EQ(page->title(), "邮箱");
    EXPECT_TRUE(page->hidesBottomBarWhenPushed());

    const std::string expected =
        server.baseUrl() + kMailPath + "?userId=" + knownAnswer(kTeacher) + "&type=teacher";
    EXPECT_EQ(page->myWebView()->request().url, expected);
    ASSERT_TRUE(
        waitForWeb([&] { return !page->myWebView()->isBusy() && page->myWebView()->hasPage(); }));
    EXPECT_FALSE(page->HUD()) << "the finished page takes the overlay away";
    ASSERT_EQ(mailRequests().size(), 1u);
    EXPECT_EQ(mailRequests()[0].queryValue("userId"), knownAnswer(kTeacher));
    EXPECT_EQ(mailRequests()[0].queryValue("type"), "teacher");
    EXPECT_EQ(page->myWebView()->pageTitle(), "校园邮箱");
    EXPECT_NE(page->myWebView()->pageHTML().find(knownAnswer(kTeacher)), std::string::npos);
}

TEST_F(MailboxTest, AStudentOpensItWithTypeStudent) {
    storeSignIn(SignInKey::LoginTypeStudent, "2021213045");
    openMailbox();
    ASSERT_TRUE(waitFor([&] { return mailRequests().size() == 1; }));
    EXPECT_EQ(mailRequests()[0].queryValue("userId"), knownAnswer("2021213045"));
    EXPECT_EQ(mailRequests()[0].queryValue("type"), "student");
}

TEST_F(MailboxTest, AUserOfBothKindsCountsAsATeacher) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    defaults().setBool(true, SignInKey::LoginTypeStudent);
    openMailbox();
    EXPECT_NE(page->myWebView()->request().url.find("&type=teacher"), std::string::npos);
}

TEST_F(MailboxTest, AUserOfNeitherKindIsToldAndNoPageIsAskedFor) {
    storeSignIn(nullptr, kTeacher);
    openMailbox();
    EXPECT_EQ(pageToasts(), std::vector<std::string>{"无法识别用户类型"});
    EXPECT_FALSE(page->HUD());
    EXPECT_TRUE(page->myWebView()->request().url.empty());
    ASSERT_TRUE(waitForQuiet());
    EXPECT_TRUE(mailRequests().empty());

    // The way back still works.
    ASSERT_TRUE(driver.back());
    settle();
    EXPECT_EQ(topOfHomeStack(), home());
}

TEST_F(MailboxTest, AFailedEncryptionIsToldAndNoPageIsAskedFor) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    launch();
    auto failing = std::make_shared<EmailWebViewController>(
        [](std::string_view, std::string_view) { return std::optional<std::string>(); });
    homeStack()->pushViewController(failing, false);
    settle();
    page = failing;
    EXPECT_EQ(pageToasts(), std::vector<std::string>{"账号加密失败"});
    EXPECT_FALSE(page->HUD());
    ASSERT_TRUE(waitForQuiet());
    EXPECT_TRUE(mailRequests().empty());
}

TEST_F(MailboxTest, TheOverlayShowsWhileThePageLoadsAndGoesWhenTheUserLeaves) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    fakes::Reply slow;
    slow.contentType = "text/html";
    slow.body = "<html><title>t</title></html>";
    slow.delay = std::chrono::milliseconds(10000);
    server.setReply("GET", kMailPath, slow);
    openMailbox();
    auto overlay = page->HUD();
    ASSERT_TRUE(overlay);
    EXPECT_EQ(overlay->labelText(), "加载中");
    ASSERT_TRUE(driver.back());
    settle();
    EXPECT_FALSE(overlay->superview());
    EXPECT_EQ(topOfHomeStack(), home());
}

}  // namespace
