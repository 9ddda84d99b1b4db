#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "campus/MSMDelegate.h"
#include "platform/devices/MessageComposeViewControllerDelegate.h"
#include "platform/foundation/Json.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Button;
class TableView;
struct Contact;
}  // namespace platform

// The member detail page "联系人信息": one staff member of the directory, opened by the
// member lists and the search with the member object as the service sent it. It shows the
// name, department and post, then one row per phone number with a call and a text-message
// button, and under the rows a button that saves the member to the phone's address book.
class AddressBookDetailedViewController : public platform::ViewController,
                                          public platform::TableViewDataSource,
                                          public platform::TableViewDelegate,
                                          public platform::AlertViewDelegate,
                                          public platform::MessageComposeViewControllerDelegate,
                                          public MSMDelegate {
public:
    static constexpr const char* kTitle = "联系人信息";
    // What the walk scripts and tests tap: the save button, and the buttons of the phone
    // row made from a key, "call." or "sms." followed by the key (such as "call.cmcc").
    static constexpr const char* kSaveHandle = "save";
    static constexpr const char* kCallHandlePrefix = "call.";
    static constexpr const char* kMessageHandlePrefix = "sms.";
    static constexpr int kSaveAlertTag = 1000;
    static constexpr int kSettingsAlertTag = 1001;

    AddressBookDetailedViewController();
    ~AddressBookDetailedViewController() override;

    // The member, set by the opener before the screen is pushed.
    void setDic(platform::Json member) { m_dic = std::move(member); }
    const platform::Json& dic() const { return m_dic; }

    // The rows as built from the member, in display order.
    const std::vector<std::string>& detailArr() const { return m_detailArr; }
    // The member's phone numbers in row order, and the label each is saved under.
    const std::vector<std::string>& phonesArr() const { return m_phonesArr; }
    const std::vector<std::string>& typeArr() const { return m_typeArr; }
    // The member's name when it has one.
    const std::optional<std::string>& name() const { return m_name; }

    // Null until the view has loaded.
    const std::shared_ptr<platform::TableView>& myTabelView() const { return m_myTabelView; }
    const std::shared_ptr<platform::Button>& addButton() const { return m_addButton; }

    void loadView() override;
    void viewDidLoad() override;

    // Builds the rows, numbers, labels and name from the member.
    void getPeopleData();

    void backBtnWithAction();
    // Asks whether to save the member to the phone's address book.
    void addButtonAction();
    // Saves one new contact: the name as last name, each number under its label. The
    // address book asks for access first; the save goes on when the answer arrives.
    void addAddBook(const std::optional<std::string>& name, const std::vector<std::string>& phones,
                    const std::vector<std::string>& types);
    // A text message to the recipients, when the phone can send texts.
    void sendSMS(const std::string& body, std::vector<std::string> recipients);
    // The one-second text message.
    void showHUDWithStr(const std::string& text);

    // --- MSMDelegate ----------------------------------------------------------------------
    void MSM(const std::string& body, const std::string& recipient) override;

    // --- Table ----------------------------------------------------------------------------
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;

    // --- Alerts and composer --------------------------------------------------------------
    void didDismissWithButtonIndex(platform::AlertView& alert, int index) override;
    void didFinishWithResult(platform::MessageComposeViewController& controller,
                             platform::MessageComposeResult result) override;

private:
    std::shared_ptr<AddressBookDetailedViewController> self();
    void createTabBar();
    void setExtraCellLineHidden();
    void addSaveButton();
    void openSettings();
    // Where a save ends: the contact is written when access has been granted, and the page,
    // while it is still there, says how it went.
    static void finishSaving(std::weak_ptr<AddressBookDetailedViewController> page,
                             platform::Contact contact);
    void savingFinished(bool saved);

    platform::Json m_dic = platform::Json::object();
    std::vector<std::string> m_detailArr;
    std::vector<std::string> m_phonesArr;
    std::vector<std::string> m_typeArr;
    // For each row, its phone's place in m_phonesArr; none for the name, department and post.
    // Buttons follow this, never the row's position.
    std::vector<std::optional<size_t>> m_rowPhone;
    // For each phone, the key of the member it came from (the buttons' handles name it).
    std::vector<std::string> m_phoneKeys;
    std::optional<std::string> m_name;

    std::shared_ptr<platform::TableView> m_myTabelView;
    std::shared_ptr<platform::Button> m_addButton;
};
