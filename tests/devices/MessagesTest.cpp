#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/devices/MessageComposeViewController.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

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
