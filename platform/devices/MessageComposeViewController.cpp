#include "platform/devices/MessageComposeViewController.h"

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"

namespace platform {

namespace {

struct MessagesDevice {
    bool canSendText = false;
    bool canSendAttachments = false;
    std::weak_ptr<MessageComposeViewController> open;
    std::vector<MessageComposeViewController::Message> presented;
};

MessagesDevice& device() {
    static MessagesDevice state;
    return state;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const auto& part : parts) {
        text += (text.empty() ? "" : ", ") + part;
    }
    return text;
}

}  // namespace

bool MessageComposeViewController::canSendText() {
    return device().canSendText;
}

void MessageComposeViewController::setCanSendText(bool canSend) {
    device().canSendText = canSend;
}

std::shared_ptr<MessageComposeViewController> MessageComposeViewController::openComposer() {
    auto composer = device().open.lock();
    return composer && !composer->isFinished() ? composer : nullptr;
}

bool MessageComposeViewController::finishOpenComposer(MessageComposeResult result) {
    auto composer = openComposer();
    if (!composer) {
        return false;
    }
    composer->finish(result);
    return true;
}

const std::vector<MessageComposeViewController::Message>&
MessageComposeViewController::presentedMessages() {
    return device().presented;
}

void MessageComposeViewController::resetDevice() {
    device() = MessagesDevice{};
}

bool MessageComposeViewController::canSendAttachments() {
    return device().canSendAttachments;
}

void MessageComposeViewController::setCanSendAttachments(bool canSend) {
    device().canSendAttachments = canSend;
}

bool MessageComposeViewController::addAttachmentData(Bytes data, std::string typeIdentifier,
                                                     std::string fileName) {
    if (!canSendAttachments())
        return false;
    m_message.attachments.push_back(
        {std::move(data), std::move(typeIdentifier), std::move(fileName)});
    return true;
}

void MessageComposeViewController::setRecipients(std::vector<std::string> recipients) {
    m_message.recipients = std::move(recipients);
    updateLabels();
}

void MessageComposeViewController::setBody(std::string body) {
    m_message.body = std::move(body);
    updateLabels();
}

void MessageComposeViewController::finish(MessageComposeResult result) {
    if (m_finished) {
        return;
    }
    m_finished = true;
    std::weak_ptr<MessageComposeViewController> weak =
        std::static_pointer_cast<MessageComposeViewController>(shared_from_this());
    RunLoop::main().post([weak, result] {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        if (auto delegate = self->m_delegate.lock()) {
            delegate->didFinishWithResult(*self, result);
        }
    });
}

void MessageComposeViewController::loadView() {
    auto view = View::make<View>();
    view->setFrame(Screen::main().bounds());
    view->setBackgroundColor(Color::white());
    double width = Screen::main().bounds().size.width;
    auto recipients = View::make<Label>();
    recipients->setFrame(Rect{{15, 80}, {width - 30, 30}});
    recipients->setFont(Font::systemFont(15));
    auto body = View::make<Label>();
    body->setFrame(Rect{{15, 120}, {width - 30, 120}});
    body->setFont(Font::systemFont(15));
    body->setNumberOfLines(0);
    view->addSubview(recipients);
    view->addSubview(body);
    m_recipientsLabel = recipients;
    m_bodyLabel = body;
    setView(view);
    updateLabels();
}

void MessageComposeViewController::updateLabels() {
    if (m_recipientsLabel) {
        m_recipientsLabel->setText("收件人：" + joined(m_message.recipients));
    }
    if (m_bodyLabel) {
        m_bodyLabel->setText(m_message.body);
    }
}

void MessageComposeViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    if (m_recorded || m_finished) {
        return;
    }
    m_recorded = true;
    // A device that cannot send texts has nothing to show: the message fails, never passes
    // as sent.
    if (!canSendText()) {
        finish(MessageComposeResult::Failed);
        return;
    }
    device().presented.push_back(m_message);
    device().open = std::static_pointer_cast<MessageComposeViewController>(shared_from_this());
}

void MessageComposeViewController::viewDidDisappear(bool animated) {
    ViewController::viewDidDisappear(animated);
    auto& open = device().open;
    if (open.lock().get() == this) {
        open.reset();
    }
}

}  // namespace platform
