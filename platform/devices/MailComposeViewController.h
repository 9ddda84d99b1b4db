#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/devices/MailComposeViewControllerDelegate.h"
#include "platform/foundation/Bytes.h"
#include "platform/ui/ViewController.h"

namespace platform {

class Label;

// The phone's mail composer. The stand-in device has no mail account unless tests or the
// front end give it one. When presented it records what it was given and waits for the
// device's user to send, save, cancel or fail it; the result reaches the delegate on the main
// run loop. Main thread only.
class MailComposeViewController : public ViewController {
public:
    struct Attachment {
        Bytes data;
        std::string mimeType;
        std::string fileName;
    };
    struct Mail {
        std::string subject;
        std::string body;
        bool isHTML = false;
        std::vector<Attachment> attachments;
    };

    // --- The device (process-wide) ------------------------------------------------------
    static bool canSendMail();
    static void setCanSendMail(bool canSend);
    static std::shared_ptr<MailComposeViewController> openComposer();
    static bool finishOpenComposer(MailComposeResult result);
    static const std::vector<Mail>& presentedMails();
    static void resetDevice();

    // --- One composer -------------------------------------------------------------------
    const Mail& mail() const { return m_mail; }
    void setSubject(std::string subject);
    void setMessageBody(std::string body, bool isHTML);
    void addAttachmentData(Bytes data, std::string mimeType, std::string fileName);
    void setMailComposeDelegate(std::weak_ptr<MailComposeViewControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    void finish(MailComposeResult result);
    bool isFinished() const { return m_finished; }

protected:
    void loadView() override;
    void viewDidAppear(bool animated) override;

private:
    Mail m_mail;
    std::weak_ptr<MailComposeViewControllerDelegate> m_delegate;
    bool m_finished{false};
    bool m_recorded{false};
    std::shared_ptr<Label> m_subjectLabel;
};

}  // namespace platform
