#include "platform/devices/MessageComposeViewController.h"

#include <algorithm>

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextView.h"
#include "platform/ui/TextViewDelegate.h"
#include "platform/ui/View.h"

namespace platform {

namespace {

// The new message screen's geometry and look, as the phone's.
constexpr double kMargin = 15;
constexpr double kRowHeight = 44;
constexpr double kEntryMargin = 7;
constexpr double kFieldPadding = 7;
constexpr double kFieldRadius = 16;
constexpr double kMinimumFieldHeight = 34;
constexpr double kMostOfHeight = 0.4;
constexpr double kSendWidth = 56;
constexpr double kSendHeight = 48;
const Font kBodyFont = Font::systemFont(16);
const Color kHairline = Color::whiteAlpha(0, 0.2f);
const Color kEntryBarColour = Color::whiteAlpha(0.97f, 1);
const Color kFieldBorder = Color::whiteAlpha(0.7f, 1);

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

// Keeps the message's body as the user types it, and the field's height with it.
class MessageComposeViewController::BodyWatcher final : public TextViewDelegate {
public:
    explicit BodyWatcher(std::weak_ptr<ViewController> composer)
        : m_composer(std::move(composer)) {}

    void textViewDidChange(TextView& textView) override {
        auto composer = std::static_pointer_cast<MessageComposeViewController>(m_composer.lock());
        if (!composer) {
            return;
        }
        composer->m_message.body = textView.text();
        composer->updateSendButton();
        composer->view()->setNeedsLayout();
    }

private:
    std::weak_ptr<ViewController> m_composer;
};

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
    std::weak_ptr<ViewController> weak = weak_from_this();
    auto answering = [weak](MessageComposeResult result) {
        return [weak, result](auto&) {
            if (auto self = std::static_pointer_cast<MessageComposeViewController>(weak.lock()))
                self->answer(result);
        };
    };

    m_bar = View::make<NavigationBar>();
    auto item = std::make_shared<NavigationItem>(kTitle);
    item->setRightBarButtonItem(std::make_shared<BarButtonItem>(
        kCancelTitle, BarButtonItemStyle::Plain, answering(MessageComposeResult::Cancelled)));
    m_bar->setItems({item});

    m_recipientsLabel = View::make<Label>();
    m_recipientsLabel->setFont(Font::systemFont(15));
    m_recipientsLine = View::make<View>();
    m_recipientsLine->setBackgroundColor(kHairline);

    m_entryBar = View::make<View>();
    m_entryBar->setBackgroundColor(kEntryBarColour);
    m_bodyField = View::make<View>();
    m_bodyField->setBackgroundColor(Color::white());
    m_bodyField->setBorderWidth(0.5);
    m_bodyField->setBorderColor(kFieldBorder);
    m_bodyField->setCornerRadius(kFieldRadius);
    m_bodyField->setClipsToBounds(true);
    m_bodyView = View::make<TextView>();
    m_bodyView->setFont(kBodyFont);
    m_bodyView->setHandle("body");
    m_bodyView->setBackgroundColor(Color::clear());
    m_bodyWatcher = std::make_shared<BodyWatcher>(weak);
    m_bodyView->setDelegate(m_bodyWatcher);
    m_bodyField->addSubview(m_bodyView);
    m_sendButton = View::make<Button>(ButtonType::System);
    m_sendButton->setTitle(kSendTitle);
    m_sendButton->titleLabel()->setFont(Font::boldSystemFont(17));
    m_sendButton->addTarget(answering(MessageComposeResult::Sent), ControlEvent::TouchUpInside);
    m_entryBar->addSubview(m_bodyField);
    m_entryBar->addSubview(m_sendButton);
    // The bar rises above the keyboard and comes down with it.
    for (const char* name : {"UIKeyboardDidShowNotification", "UIKeyboardDidHideNotification"}) {
        NotificationCenter::defaultCenter().addObserver(weak, name, [weak](const auto&) {
            if (auto self = weak.lock()) {
                self->view()->setNeedsLayout();
            }
        });
    }

    view->addSubview(m_recipientsLabel);
    view->addSubview(m_recipientsLine);
    view->addSubview(m_entryBar);
    view->addSubview(m_bar);
    setView(view);
    updateLabels();
}

void MessageComposeViewController::viewDidLayoutSubviews() {
    ViewController::viewDidLayoutSubviews();
    const Size size = view()->bounds().size;
    const double top = topLayoutGuideLength();
    m_bar->setFrame(Rect{{0, top}, {size.width, NavigationBar::kHeight}});
    const double rowTop = m_bar->frame().maxY();
    m_recipientsLabel->setFrame(
        Rect{{kMargin, rowTop}, {std::max(0.0, size.width - 2 * kMargin), kRowHeight}});
    m_recipientsLine->setFrame(Rect{{kMargin, rowTop + kRowHeight}, {size.width - kMargin, 0.5}});

    // The message field grows with the body, up to a share of the screen and never over the
    // recipients' row; then the body scrolls. The bar holding it and "发送" keeps the bottom
    // edge, or the keyboard's top while the keyboard is up.
    double bottom = size.height;
    if (Keyboard::isVisible()) {
        bottom = std::min(bottom, view()->convertRectFrom(Keyboard::frame(), nullptr).minY());
    }
    const double fieldWidth = std::max(0.0, size.width - 2 * kEntryMargin - kSendWidth);
    const double bodyWidth = std::max(0.0, fieldWidth - 2 * kFieldPadding);
    m_bodyView->setFrame(Rect{{kFieldPadding, 0}, {bodyWidth, m_bodyView->frame().size.height}});
    const double roomBelowRow = bottom - (rowTop + kRowHeight) - 2 * kEntryMargin;
    const double fieldHeight = std::clamp(
        m_bodyView->contentSize().height, kMinimumFieldHeight,
        std::max(kMinimumFieldHeight, std::min(size.height * kMostOfHeight, roomBelowRow)));
    const double barHeight = fieldHeight + 2 * kEntryMargin;
    m_entryBar->setFrame(Rect{{0, bottom - barHeight}, {size.width, barHeight}});
    m_bodyField->setFrame(Rect{{kEntryMargin, kEntryMargin}, {fieldWidth, fieldHeight}});
    m_bodyView->setFrame(Rect{{kFieldPadding, 0}, {bodyWidth, fieldHeight}});
    m_sendButton->setFrame(Rect{{size.width - kEntryMargin - kSendWidth, barHeight - kSendHeight},
                                {kSendWidth, kSendHeight}});
}

void MessageComposeViewController::answer(MessageComposeResult result) {
    if (openComposer().get() == this)
        finish(result);
}

void MessageComposeViewController::updateLabels() {
    if (m_recipientsLabel) {
        m_recipientsLabel->setText("收件人：" + joined(m_message.recipients));
    }
    if (m_bodyView && m_bodyView->text() != m_message.body) {
        m_bodyView->setText(m_message.body);
    }
    updateSendButton();
    if (m_bodyView && isViewLoaded()) {
        view()->setNeedsLayout();
    }
}

bool MessageComposeViewController::hasMessage() const {
    return m_message.body.find_first_not_of(" \t\r\n") != std::string::npos;
}

// As on the phone, a message of nothing (or only blanks) cannot be sent.
void MessageComposeViewController::updateSendButton() {
    if (m_sendButton) {
        m_sendButton->setEnabled(hasMessage());
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
    // The phone's composer opens ready for typing: the body edited, the caret after what the
    // app wrote, the keyboard up.
    m_bodyView->becomeFirstResponder();
}

void MessageComposeViewController::viewDidDisappear(bool animated) {
    ViewController::viewDidDisappear(animated);
    auto& open = device().open;
    if (open.lock().get() == this) {
        open.reset();
    }
}

}  // namespace platform
