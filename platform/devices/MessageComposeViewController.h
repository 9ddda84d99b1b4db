#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/devices/MessageComposeViewControllerDelegate.h"
#include "platform/foundation/Bytes.h"
#include "platform/ui/ViewController.h"

namespace platform {

class Label;

// The phone's text-message composer. The stand-in device cannot send texts unless tests or
// the front end say it can. When presented it records the recipients and body it was given
// and waits for the device's user (tests, the front end) to send, cancel or fail it; the
// result reaches the delegate on the main run loop. Main thread only.
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
    const std::vector<Attachment>& attachments() const { return m_message.attachments; }
    // False (nothing kept) when the device cannot send attachments.
    bool addAttachmentData(Bytes data, std::string typeIdentifier, std::string fileName);
    void setMessageComposeDelegate(std::weak_ptr<MessageComposeViewControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    // Answers this composer: the delegate hears the result later on the main run loop, once.
    void finish(MessageComposeResult result);
    bool isFinished() const { return m_finished; }

protected:
    void loadView() override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

private:
    void updateLabels();

    Message m_message;
    std::weak_ptr<MessageComposeViewControllerDelegate> m_delegate;
    bool m_finished{false};
    bool m_recorded{false};
    std::shared_ptr<Label> m_recipientsLabel;
    std::shared_ptr<Label> m_bodyLabel;
};

}  // namespace platform
