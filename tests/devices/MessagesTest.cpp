#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/devices/MessageComposeViewController.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/ScreenSize.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextView.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "tests/support/ScreenCheck.h"

using namespace platform;

namespace {

struct RecordingDelegate : MessageComposeViewControllerDelegate {
    void didFinishWithResult(MessageComposeViewController& controller,
                             MessageComposeResult result) override {
        results.push_back(result);
        bodies.push_back(controller.body());
        controller.dismissViewController(false);
    }
    std::vector<MessageComposeResult> results;
    std::vector<std::string> bodies;
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

// The body the user types into, found as a user finds it: the screen's text input.
class ComposerBodyTest : public ComposerScreenTest {
protected:
    std::shared_ptr<TextView> body() {
        auto inputs = driver.findAll<TextView>();
        return inputs.size() == 1 ? inputs.front() : nullptr;
    }
    static bool samePixels(const Image& a, const Image& b, const Rect& area) {
        for (int y = int(area.minY()); y < int(area.maxY()); ++y)
            for (int x = int(area.minX()); x < int(area.maxX()); ++x)
                if (a.pixelAt(x, y) != b.pixelAt(x, y))
                    return false;
        return true;
    }
};

TEST_F(ComposerBodyTest, TheUserTypesTheBodyAndSendHandsTheDelegateWhatWasTyped) {
    MessageComposeViewController::setCanSendText(true);
    present({"13900004567"}, "");
    auto input = body();
    ASSERT_TRUE(input) << driver.outline();
    const std::string handle = driver.handleOf(*input);
    ASSERT_FALSE(handle.empty()) << "the body has a handle to type into";

    ASSERT_TRUE(driver.type(handle, "会议改到三点").ok);
    EXPECT_TRUE(input->isEditing());
    EXPECT_TRUE(Keyboard::isVisible());
    // The message bar rises above the keyboard, so "发送" can still be reached.
    EXPECT_LE(onScreen(*input).maxY(), Keyboard::frame().minY());
    ASSERT_TRUE(driver.type(handle, "\n请准时").ok);
    ASSERT_TRUE(driver.tap("发送").ok);
    RunLoop::main().runPending();
    EXPECT_EQ(m_delegate->results, std::vector<MessageComposeResult>{MessageComposeResult::Sent});
    EXPECT_EQ(m_delegate->bodies, std::vector<std::string>{"会议改到三点\n请准时"});

    // A body given by the app is there to be added to.
    present({"13900004567"}, "到了");
    ASSERT_TRUE(driver.type(driver.handleOf(*body()), "，在门口").ok);
    EXPECT_TRUE(MessageComposeViewController::finishOpenComposer(MessageComposeResult::Sent));
    RunLoop::main().runPending();
    EXPECT_EQ(m_delegate->bodies.back(), "到了，在门口");
}

TEST_F(ComposerBodyTest, ALongBodyGrowsToItsShareOfTheScreenThenScrollsBelowTheRecipients) {
    MessageComposeViewController::setCanSendText(true);
    std::string lines;
    for (int i = 1; i <= 30; ++i) lines += (i > 1 ? "\n第" : "第") + std::to_string(i) + "行";
    for (auto [width, height] : testsupport::kPhoneAndTabletScreens) {
        SCOPED_TRACE(std::to_string(int(width)));
        platform::testing::useScreen(width, height);
        present({"13900004567"}, "");
        m_window->layoutIfNeeded();
        auto recipients = driver.find("收件人：13900004567");
        ASSERT_TRUE(recipients);
        const Rect row = onScreen(*recipients);
        const Image before = screen();
        ASSERT_TRUE(hasInkBetween(before, row.minY(), row.maxY()));

        auto input = body();
        ASSERT_TRUE(input);
        const double oneLine = onScreen(*input).size.height;
        ASSERT_TRUE(driver.type(driver.handleOf(*input), lines).ok);
        m_window->layoutIfNeeded();
        const Rect field = onScreen(*input);
        const Image after = screen();
        // Grown, but to no more than 40 % of the screen, and kept below the recipients.
        EXPECT_GT(field.size.height, 3 * oneLine);
        EXPECT_LE(field.size.height, 0.4 * height + 0.5);
        EXPECT_GE(field.minY(), row.maxY());
        EXPECT_TRUE(samePixels(before, after, row)) << "the recipients' line is still drawn";
        // The body scrolled to its last line, where the caret stands.
        EXPECT_GT(input->contentOffset().y, 0);
        EXPECT_GT(input->contentSize().height, field.size.height);
        bool caret = false;
        for (int y = int(field.minY()); y < int(field.maxY()); ++y)
            for (int x = int(field.minX()); x < int(field.maxX()); ++x) {
                const auto argb = after.pixelAt(x, y);
                caret = caret || (((argb >> 16) & 0xFF) < 60 && (argb & 0xFF) > 220 &&
                                  ((argb >> 8) & 0xFF) > 90 && ((argb >> 8) & 0xFF) < 160);
            }
        EXPECT_TRUE(caret) << "the caret shows in the body";
        ASSERT_TRUE(driver.tap("取消").ok);
        RunLoop::main().runPending();
    }
    EXPECT_EQ(m_delegate->bodies.size(), 3u);
    EXPECT_EQ(m_delegate->bodies.back(), lines);
}

// The body's field holds the caret: the tint's blue among its pixels, nowhere else drawn there.
bool caretIn(const Image& image, const Rect& field) {
    for (int y = int(field.minY()); y < int(field.maxY()); ++y)
        for (int x = int(field.minX()); x < int(field.maxX()); ++x) {
            const auto argb = image.pixelAt(x, y);
            if (((argb >> 16) & 0xFF) < 60 && (argb & 0xFF) > 220 && ((argb >> 8) & 0xFF) > 90 &&
                ((argb >> 8) & 0xFF) < 160)
                return true;
        }
    return false;
}

TEST_F(ComposerBodyTest, OpensReadyForTypingAndSendsNoBlankMessage) {
    MessageComposeViewController::setCanSendText(true);
    for (auto [width, height] : testsupport::kPhoneAndTabletScreens) {
        SCOPED_TRACE(std::to_string(int(width)));
        platform::testing::useScreen(width, height);
        present({"13900004567"}, "");
        m_window->layoutIfNeeded();
        auto input = body();
        ASSERT_TRUE(input);
        // The body is edited, the keyboard up below it, the caret in it.
        EXPECT_TRUE(input->isEditing());
        EXPECT_TRUE(Keyboard::isVisible());
        EXPECT_LE(onScreen(*input).maxY(), Keyboard::frame().minY() + 0.5);
        EXPECT_TRUE(caretIn(screen(), onScreen(*input)));
        // Nothing to send yet: 发送 is greyed and a tap sends nothing.
        auto send = driver.find("发送");
        ASSERT_TRUE(send);
        EXPECT_NE(driver.outline().find("\"发送\" (disabled)"), std::string::npos)
            << driver.outline();
        driver.tap("发送");
        RunLoop::main().runPending();
        EXPECT_TRUE(m_delegate->results.empty());
        EXPECT_TRUE(MessageComposeViewController::openComposer());
        // Blanks are no message either.
        ASSERT_TRUE(driver.type(driver.handleOf(*input), "  \n").ok);
        driver.tap("发送");
        RunLoop::main().runPending();
        EXPECT_TRUE(m_delegate->results.empty());
        ASSERT_TRUE(driver.type(driver.handleOf(*input), "到").ok);
        ASSERT_TRUE(driver.tap("发送").ok);
        RunLoop::main().runPending();
        EXPECT_EQ(m_delegate->results,
                  std::vector<MessageComposeResult>{MessageComposeResult::Sent});
        m_delegate->results.clear();

        // A body the app wrote is sendable at once, and typing goes after it.
        present({"13900004567"}, "到了");
        m_window->layoutIfNeeded();
        EXPECT_TRUE(body()->isEditing());
        EXPECT_EQ(driver.outline().find("\"发送\" (disabled)"), std::string::npos);
        ASSERT_TRUE(driver.type(driver.handleOf(*body()), "吗").ok);
        ASSERT_TRUE(driver.tap("发送").ok);
        RunLoop::main().runPending();
        EXPECT_EQ(m_delegate->bodies.back(), "到了吗");
        m_delegate->results.clear();
    }
}

}  // namespace
