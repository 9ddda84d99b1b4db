#pragma once

namespace platform {

class MessageComposeViewController;

enum class MessageComposeResult { Cancelled, Sent, Failed };

class MessageComposeViewControllerDelegate {
public:
    virtual ~MessageComposeViewControllerDelegate() = default;
    // The user sent or cancelled the message, or it could not be sent. The composer stays on
    // screen until the delegate dismisses it.
    virtual void didFinishWithResult(MessageComposeViewController& controller,
                                     MessageComposeResult result) = 0;
};

}  // namespace platform
