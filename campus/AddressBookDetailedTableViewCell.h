#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/TableViewCell.h"

class MSMDelegate;

namespace platform {
class Button;
class Label;
}  // namespace platform

// One row of the member detail page: its text and, on a phone row, a call button and a
// text-message button for that row's own number.
class AddressBookDetailedTableViewCell : public platform::TableViewCell,
                                         public platform::AlertViewDelegate {
public:
    static constexpr const char* kReuseIdentifier = "cell";
    // The call alert's buttons: cancel at 0, call at 1.
    static constexpr const char* kCancel = "取消";
    static constexpr const char* kCall = "呼叫";
    static constexpr int kCallAlertTag = 1001;

    AddressBookDetailedTableViewCell(platform::TableViewCellStyle style,
                                     std::string reuseIdentifier);
    ~AddressBookDetailedTableViewCell() override;

    const std::shared_ptr<platform::Label>& nameLebel() const { return m_nameLebel; }
    const std::shared_ptr<platform::Button>& phoneButton() const { return m_phoneButton; }
    const std::shared_ptr<platform::Button>& SMSButton() const { return m_SMSButton; }

    // The screen the text-message button reports to; not kept alive by the row.
    void setMyDelegate(std::weak_ptr<MSMDelegate> delegate) { m_myDelegate = std::move(delegate); }

    // The number the row calls and texts, exactly as the service sent it. Only a row that
    // has one shows the two buttons; a row of other facts (name, department, post) has none.
    // Set each time the row is handed out, so a reused cell never keeps another row's
    // number or buttons.
    void setPhoneNumber(std::optional<std::string> number);
    const std::optional<std::string>& phoneNumber() const { return m_phoneNumber; }

    // Asks before calling: an alert showing the number, "取消" and "呼叫".
    void phoneButtonAction();
    // Hands the number to the screen for a text message with an empty body.
    void SMSButtonAction();

    // "呼叫" on the call alert dials the number the alert showed.
    void didDismissWithButtonIndex(platform::AlertView& alert, int index) override;

    void prepareForReuse() override;

    // The URL that dials the number: "tel://" and the number, escaped as a whole URL, so
    // that every character of the number (a "#" or a space included) reaches the dialler.
    static std::string callURL(const std::string& number);

private:
    void createSub();

    std::shared_ptr<platform::Label> m_nameLebel;
    std::shared_ptr<platform::Button> m_phoneButton;
    std::shared_ptr<platform::Button> m_SMSButton;
    std::weak_ptr<MSMDelegate> m_myDelegate;
    std::optional<std::string> m_phoneNumber;
};
