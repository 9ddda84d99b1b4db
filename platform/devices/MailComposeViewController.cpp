#include "platform/devices/MailComposeViewController.h"

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"

namespace platform {

namespace {

struct MailDevice {
    bool canSendMail = false;
    std::weak_ptr<MailComposeViewController> open;
    std::vector<MailComposeViewController::Mail> presented;
};

MailDevice& device() {
    static MailDevice state;
    return state;
}

}  // namespace

bool MailComposeViewController::canSendMail() {
    return device().canSendMail;
}

void MailComposeViewController::setCanSendMail(bool canSend) {
    device().canSendMail = canSend;
}

std::shared_ptr<MailComposeViewController> MailComposeViewController::openComposer() {
    auto composer = device().open.lock();
    return composer && !composer->isFinished() ? composer : nullptr;
}

bool MailComposeViewController::finishOpenComposer(MailComposeResult result) {
    auto composer = openComposer();
    if (!composer)
        return false;
    composer->finish(result);
    return true;
}

const std::vector<MailComposeViewController::Mail>& MailComposeViewController::presentedMails() {
    return device().presented;
}

void MailComposeViewController::resetDevice() {
    device() = MailDevice{};
}

void MailComposeViewController::setSubject(std::string subject) {
    m_mail.subject = std::move(subject);
    if (m_subjectLabel)
        m_subjectLabel->setText(m_mail.subject);
}

void MailComposeViewController::setMessageBody(std::string body, bool isHTML) {
    m_mail.body = std::move(body);
    m_mail.isHTML = isHTML;
}

void MailComposeViewController::addAttachmentData(Bytes data, std::string mimeType,
                                                  std::string fileName) {
    m_mail.attachments.push_back({std::move(data), std::move(mimeType), std::move(fileName)});
}

void MailComposeViewController::finish(MailComposeResult result) {
    if (m_finished)
        return;
    m_finished = true;
    std::weak_ptr<MailComposeViewController> weak =
        std::static_pointer_cast<MailComposeViewController>(shared_from_this());
    RunLoop::main().post([weak, result] {
        auto self = weak.lock();
        if (!self)
            return;
        if (auto delegate = self->m_delegate.lock()) {
            std::optional<std::string> error;
            if (result == MailComposeResult::Failed)
                error = "the mail could not be sent";
            delegate->mailDidFinishWithResult(*self, result, error);
        }
    });
}

void MailComposeViewController::loadView() {
    auto view = View::make<View>();
    view->setFrame(Screen::main().bounds());
    view->setBackgroundColor(Color::white());
    auto subject = View::make<Label>();
    subject->setFrame(Rect{{15, 80}, {Screen::main().bounds().size.width - 30, 30}});
    subject->setFont(Font::systemFont(15));
    view->addSubview(subject);
    m_subjectLabel = subject;
    setView(view);
    subject->setText(m_mail.subject);
}

void MailComposeViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    if (m_recorded || m_finished)
        return;
    m_recorded = true;
    // A device without a mail account has nothing to send from: the mail fails.
    if (!canSendMail()) {
        finish(MailComposeResult::Failed);
        return;
    }
    device().presented.push_back(m_mail);
    device().open = std::static_pointer_cast<MailComposeViewController>(shared_from_this());
}

}  // namespace platform
