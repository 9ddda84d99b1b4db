#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/devices/MessageComposeViewController.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/ScreenSize.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "tests/support/ScreenCheck.h"

using namespace platform;

namespace {

struct RecordingDelegate : MessageComposeViewControllerDelegate {
    void didFinishWithResult(MessageComposeViewController& controller,
                             MessageComposeResult result) override {
        results.push_back(result);
        controller.dismissViewController(false);
    }
    std::vector<MessageComposeResult> results;
};

class MessagesTest : public ::testing::Test {
protected:
    MessagesTest() {
        m_window = View::make<Window>();
        m_window->setRootViewController(m_root);
        m_window->makeKeyAndVisible();
    }

    std::shared_ptr<MessageComposeViewController> present(std::vector<std::string> recipients,
                                                          std::string body) {
        auto composer = std::make_shared<MessageComposeViewController>();
        composer->setRecipients(std::move(recipients));
        composer->setBody(std::move(body));
        composer->setMessageComposeDelegate(m_delegate);
        m_root->presentViewController(composer, false);
        return composer;
    }

    platform::testing::UiTestScope m_scope;
    std::shared_ptr<ViewController> m_root = std::make_shared<ViewController>();
    std::shared_ptr<Window> m_window;
    std::shared_ptr<RecordingDelegate> m_delegate = std::make_shared<RecordingDelegate>();
};

TEST_F(MessagesTest, UnavailableUnlessConfiguredAndNeverPassesAsSent) {
    EXPECT_FALSE(MessageComposeViewController::canSendText());
    present({"12345"}, "");
    EXPECT_FALSE(MessageComposeViewController::finishOpenComposer(MessageComposeResult::Sent));
    RunLoop::main().runPending();
    EXPECT_EQ(m_delegate->results, std::vector<MessageComposeResult>{MessageComposeResult::Failed});
    EXPECT_TRUE(MessageComposeViewController::presentedMessages().empty());
}

TEST_F(MessagesTest, RecordsWhatItWasGivenAndReportsTheUsersAnswerOnce) {
    MessageComposeViewController::setCanSendText(true);
    auto composer = present({"13900004567", "0571-1234"}, "会议改到三点");
    ASSERT_EQ(MessageComposeViewController::presentedMessages().size(), 1u);
    const auto& message = MessageComposeViewController::presentedMessages()[0];
    EXPECT_EQ(message.recipients, (std::vector<std::string>{"13900004567", "0571-1234"}));
    EXPECT_EQ(message.body, "会议改到三点");
    EXPECT_EQ(MessageComposeViewController::openComposer(), composer);

    EXPECT_TRUE(MessageComposeViewController::finishOpenComposer(MessageComposeResult::Sent));
    EXPECT_TRUE(m_delegate->results.empty()) << "answered on the main loop, not inside the call";
    EXPECT_FALSE(MessageComposeViewController::finishOpenComposer(MessageComposeResult::Failed))
        << "an answered composer takes no second answer";
    RunLoop::main().runPending();
    EXPECT_EQ(m_delegate->results, std::vector<MessageComposeResult>{MessageComposeResult::Sent});
    EXPECT_EQ(m_root->presentedViewController(), nullptr);

    present({"110"}, "");
    EXPECT_TRUE(MessageComposeViewController::finishOpenComposer(MessageComposeResult::Cancelled));
    RunLoop::main().runPending();
    EXPECT_EQ(m_delegate->results.back(), MessageComposeResult::Cancelled);
    EXPECT_EQ(MessageComposeViewController::presentedMessages().size(), 2u);
    EXPECT_EQ(MessageComposeViewController::openComposer(), nullptr);
}

}  // namespace

// --- The composer's own screen ------------------------------------------------------------

namespace {

using testsupport::onScreen;
using testsupport::takesTouch;

class ComposerScreenTest : public MessagesTest {
protected:
    Image screen() { return testsupport::screenImage(*m_window); }
    // The rows of the picture with dark ink between the two heights, at any column.
    static bool hasInkBetween(const Image& image, double top, double bottom) {
        for (int y = int(top); y < int(bottom); ++y)
            for (int x = 0; x < image.pixelWidth(); ++x)
                if ((image.pixelAt(x, y) & 0xFF) < 100)
                    return true;
        return false;
    }
    platform::testing::UIDriver driver;
};

TEST_F(ComposerScreenTest, ShowsTheRecipientsTheBodyAndSendAndCancelOnEveryScreen) {
    MessageComposeViewController::setCanSendText(true);
    for (auto [width, height] : testsupport::kPhoneAndTabletScreens) {
        SCOPED_TRACE(std::to_string(int(width)));
        platform::testing::useScreen(width, height);
        auto composer = present({"13900004567"}, "会议改到三点，请准时参加。");
        m_window->layoutIfNeeded();
        const std::string outline = driver.outline();
        EXPECT_NE(outline.find("navigation bar \"新信息\""), std::string::npos) << outline;
        EXPECT_NE(outline.find("收件人：13900004567"), std::string::npos) << outline;
        EXPECT_NE(outline.find("会议改到三点，请准时参加。"), std::string::npos) << outline;
        for (const char* title : {"发送", "取消"}) {
            auto button = driver.find(title);
            ASSERT_TRUE(button) << outline;
            EXPECT_TRUE(takesTouch(*m_window, button)) << title;
            // Wholly on the screen.
            const Rect frame = onScreen(*button);
            EXPECT_TRUE(Rect({0, 0}, Screen::main().size()).contains(frame.origin)) << title;
            EXPECT_LE(frame.maxY(), height) << title;
        }
        // The body is drawn in its field at the bottom, above which the page is blank.
        auto body = driver.find("会议改到三点，请准时参加。");
        ASSERT_TRUE(body);
        const Rect bodyFrame = onScreen(*body);
        const Image shown = screen();
        EXPECT_GT(bodyFrame.minY(), height / 2);
        EXPECT_TRUE(hasInkBetween(shown, bodyFrame.minY(), bodyFrame.maxY()));
        EXPECT_FALSE(hasInkBetween(shown, 120, bodyFrame.minY() - 20));
        ASSERT_TRUE(driver.tap("取消").ok);
        RunLoop::main().runPending();
        m_delegate->results.clear();
    }
}

TEST_F(ComposerScreenTest, ItsButtonsAnswerAsTheDevicesUserDoes) {
    MessageComposeViewController::setCanSendText(true);
    present({"13900004567"}, "到了");
    ASSERT_TRUE(driver.tap("发送").ok);
    RunLoop::main().runPending();
    EXPECT_EQ(m_delegate->results, std::vector<MessageComposeResult>{MessageComposeResult::Sent});
    EXPECT_FALSE(MessageComposeViewController::openComposer());

    present({"13900004567"}, "到了");
    ASSERT_TRUE(driver.tap("取消").ok);
    // Answered once: the device's user cannot answer it again.
    EXPECT_FALSE(MessageComposeViewController::finishOpenComposer(MessageComposeResult::Sent));
    RunLoop::main().runPending();
    EXPECT_EQ(m_delegate->results,
              (std::vector<MessageComposeResult>{MessageComposeResult::Sent,
                                                 MessageComposeResult::Cancelled}));
}

}  // namespace
