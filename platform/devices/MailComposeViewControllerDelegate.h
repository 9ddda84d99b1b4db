#pragma once

#include <optional>
#include <string>

namespace platform {

class MailComposeViewController;

enum class MailComposeResult { Cancelled = 0, Saved = 1, Sent = 2, Failed = 3 };

class MailComposeViewControllerDelegate {
public:
    virtual ~MailComposeViewControllerDelegate() = default;
    // The user sent, saved or cancelled the mail, or it failed (with the error). The composer
    // stays on screen until the delegate dismisses it.
    virtual void mailDidFinishWithResult(MailComposeViewController& controller,
                                         MailComposeResult result,
                                         const std::optional<std::string>& error) = 0;
};

}  // namespace platform
