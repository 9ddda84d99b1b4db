#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/devices/MessageComposeViewControllerDelegate.h"
#include "platform/foundation/Bytes.h"
#include "platform/ui/ViewController.h"

namespace platform {

class Button;
class Label;
class NavigationBar;
class TextView;

// The phone's text-message composer. The stand-in device cannot send texts unless tests or
// the front end say it can. When presented it records the recipients and body it was given
// and shows them as the phone's new message screen does: a bar titled "新信息" with "取消", the
// recipients ("收件人："), and the body in the message field at the bottom beside "发送", which
// is disabled while the body is blank. It opens with the body being edited and the keyboard
// up; the user types into it: the field grows with the text up to a share of the
// screen, then scrolls, and rises above the keyboard; body() is what it holds, so the delegate
// of a sent message reads what was typed. It waits for the device's user to send or cancel
// (those buttons, or tests and the front end through finishOpenComposer) or fail it; the result
// reaches the delegate on the main run loop. Main thread only.
class MessageComposeViewController : public ViewController {
public:
    struct Attachment {
        Bytes data;
        std::string typeIdentifier;
        std::string fileName;
    };
    struct Message {
        std::vector<std::string> recipients;
        std::string body;
        std::vector<Attachment> attachments;
    };

    // --- The device (process-wide) ------------------------------------------------------
    static bool canSendText();
    static void setCanSendText(bool canSend);
    // Whether messages may carry pictures; off unless configured.
    static bool canSendAttachments();
    static void setCanSendAttachments(bool canSend);
    // The composer on screen that has not been answered yet, if any.
    static std::shared_ptr<MessageComposeViewController> openComposer();
    // The user's answer to the open composer; false when none is open.
    static bool finishOpenComposer(MessageComposeResult result);
    // What every composer shown so far was given, oldest first.
    static const std::vector<Message>& presentedMessages();
    // Unable to send, nothing recorded, no composer open.
    static void resetDevice();

    // --- One composer -------------------------------------------------------------------
    const std::vector<std::string>& recipients() const { return m_message.recipients; }
    void setRecipients(std::vector<std::string> recipients);
    const std::string& body() const { return m_message.body; }
    void setBody(std::string body);
    // Whether the body holds more than blanks: only then can the user send it.
    bool hasMessage() const;
    const std::vector<Attachment>& attachments() const { return m_message.attachments; }
    // False (nothing kept) when the device cannot send attachments.
    bool addAttachmentData(Bytes data, std::string typeIdentifier, std::string fileName);
    void setMessageComposeDelegate(std::weak_ptr<MessageComposeViewControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    // Answers this composer: the delegate hears the result later on the main run loop, once.
    void finish(MessageComposeResult result);
    bool isFinished() const { return m_finished; }

    static constexpr const char* kTitle = "新信息";
    static constexpr const char* kSendTitle = "发送";
    static constexpr const char* kCancelTitle = "取消";

protected:
    void loadView() override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    void viewDidLayoutSubviews() override;

private:
    class BodyWatcher;

    void updateLabels();
    void updateSendButton();
    // The user's answer through the screen's own buttons: the same as finishOpenComposer,
    // so only the open composer answers, once.
    void answer(MessageComposeResult result);

    Message m_message;
    std::weak_ptr<MessageComposeViewControllerDelegate> m_delegate;
    bool m_finished{false};
    bool m_recorded{false};
    std::shared_ptr<NavigationBar> m_bar;
    std::shared_ptr<Label> m_recipientsLabel;
    std::shared_ptr<View> m_recipientsLine;
    std::shared_ptr<View> m_entryBar;
    std::shared_ptr<View> m_bodyField;
    std::shared_ptr<TextView> m_bodyView;
    std::shared_ptr<BodyWatcher> m_bodyWatcher;
    std::shared_ptr<Button> m_sendButton;
};

}  // namespace platform
