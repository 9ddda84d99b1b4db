#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "campus/AddressBookDetailedTableViewCell.h"
#include "campus/AddressBookDetailedViewController.h"
#include "platform/devices/AddressBook.h"
#include "platform/devices/MessageComposeViewController.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/URLEscaping.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/TableView.h"
#include "tests/campus/CampusTestSupport.h"

namespace {

using platform::AddressBook;
using platform::ContactsAuthorization;
using platform::Json;
using platform::MessageComposeResult;
using platform::MessageComposeViewController;
using Page = AddressBookDetailedViewController;
using Cell = AddressBookDetailedTableViewCell;

// Every key the page reads, all empty; tests fill in what they need.
Json emptyMember() {
    Json member = Json::object();
    for (const char* key :
         {"xm", "zzmc", "xzzw", "unicom", "cmcc", "chinaNet", "officePhone", "officePhone2",
          "housePhone", "cmccShort", "chinanetShort", "unicomShort"})
        member[key] = "";
    member["rybh"] = "20000074";
    return member;
}

// A member with a number under every phone key, each different and some with characters a
// URL must escape.
Json memberWithEveryPhone() {
    Json member = emptyMember();
    member["xm"] = "张立华";
    member["zzmc"] = "校领导";
    member["xzzw"] = "校长";
    member["unicom"] = "13010036202";
    member["cmcc"] = "+86 138 5002 4101";
    member["chinaNet"] = "13360018800";
    member["officePhone"] = "0571-86291022";
    member["officePhone2"] = "0571-86292014#8";
    member["housePhone"] = "0571 8888 0000";
    member["cmccShort"] = "660201";
    member["chinanetShort"] = "690100";
    member["unicomShort"] = "630302";
    return member;
}

const std::vector<std::string> kPhoneKeys = {"unicom",      "cmcc",          "chinaNet",
                                             "officePhone", "officePhone2",  "housePhone",
                                             "cmccShort",   "chinanetShort", "unicomShort"};

class MemberDetailTest : public campustest::CampusTest {
protected:
    std::shared_ptr<Page> open(const Json& member, double width = 375) {
        showWindow(width);
        auto page = std::make_shared<Page>();
        page->setDic(member);
        push(page);
        return page;
    }

    // The rows on screen, top to bottom, with their cells.
    static std::vector<std::shared_ptr<Cell>> shownRows(const Page& page) {
        std::vector<std::shared_ptr<Cell>> rows;
        for (const auto& cell : page.myTabelView()->visibleCells())
            rows.push_back(std::dynamic_pointer_cast<Cell>(cell));
        return rows;
    }

    static std::shared_ptr<platform::ModalAlert> topAlert() {
        return platform::AlertPresenter::shared().topAlert();
    }

    void showRow(const Page& page, int row) {
        page.myTabelView()->scrollToRowAtIndexPath(
            platform::IndexPath::forRow(row, 0), platform::TableViewScrollPosition::Middle, false);
        settle(0.1);
    }

    // Taps the save button and confirms the question.
    void save(const Page& page) {
        page.myTabelView()->scrollToRowAtIndexPath(
            platform::IndexPath::forRow(int(page.detailArr().size()) - 1, 0),
            platform::TableViewScrollPosition::Bottom, false);
        ASSERT_TRUE(driver.tap(Page::kSaveHandle).ok) << driver.outline();
        ASSERT_TRUE(topAlert());
        EXPECT_EQ(topAlert()->alertMessage(), "保存到本地通讯录");
        ASSERT_TRUE(driver.pressAlertButton("确定").ok);
        settle(0.1);
    }

    static std::vector<std::string> opened() {
        return platform::Application::shared().openedURLs();
    }
};

TEST_F(MemberDetailTest, RowsShowNamePostAndEachPhoneUnderItsCaption) {
    Json member = emptyMember();
    member["xm"] = "张立华";
    member["zzmc"] = "校领导";
    member["xzzw"] = "校长";
    member["unicom"] = "13010036202";
    member["cmcc"] = "13850024101";
    member["officePhone2"] = "0571-86292014";
    member["cmccShort"] = "660201";
    auto page = open(member);

    const std::vector<std::string> rows = {
        "姓名：张立华",          "部门：校领导",          "职务：校长",
        "中国联通：13010036202", "中国移动：13850024101", "办公电话2：0571-86292014",
        "移动短号：660201"};
    EXPECT_EQ(page->detailArr(), rows);
    EXPECT_EQ(page->phonesArr(),
              (std::vector<std::string>{"13010036202", "13850024101", "0571-86292014", "660201"}));
    EXPECT_EQ(page->typeArr(),
              (std::vector<std::string>{"中国联通", "中国移动", "办公电话2", "移动短号"}));
    EXPECT_EQ(page->title(), "联系人信息");

    auto shown = shownRows(*page);
    ASSERT_EQ(shown.size(), rows.size());
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i]->nameLebel()->text(), rows[i]);
        const bool phoneRow = i >= 3;
        EXPECT_EQ(!shown[i]->phoneButton()->isHidden(), phoneRow) << rows[i];
        EXPECT_EQ(!shown[i]->SMSButton()->isHidden(), phoneRow) << rows[i];
    }
    // The save button right under the last row.
    auto saveButton = driver.findByHandle(Page::kSaveHandle);
    ASSERT_TRUE(saveButton);
    EXPECT_EQ(page->addButton()->currentTitle(), "添加到手机通讯录");
    auto lastRow = page->myTabelView()->rectForRowAtIndexPath(platform::IndexPath::forRow(6, 0));
    EXPECT_DOUBLE_EQ(
        saveButton->convertRectTo(saveButton->bounds(), page->myTabelView().get()).origin.y,
        lastRow.origin.y + lastRow.size.height);
}

TEST_F(MemberDetailTest, AnEmptyPostIsUnknownAndMissingValuesShowNothingNeverNull) {
    Json member = Json::object();
    member["xm"] = "";
    member["xzzw"] = "";
    member["cmcc"] = nullptr;
    member["officePhone"] = 86291011;
    member["housePhone"] = "0571 8888 0000";
    auto page = open(member);

    EXPECT_EQ(page->detailArr(), (std::vector<std::string>{"职务：不详", "办公电话：86291011",
                                                           "家庭电话：0571 8888 0000"}));
    EXPECT_FALSE(page->name());
    for (const auto& text : driver.visibleTexts())
        EXPECT_EQ(text.find("(null)"), std::string::npos) << text;

    // Without a name or department the phone rows stand at positions 1 and 2; the buttons
    // still go with them, not with the post.
    auto shown = shownRows(*page);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_TRUE(shown[0]->phoneButton()->isHidden());
    EXPECT_TRUE(shown[0]->SMSButton()->isHidden());
    for (size_t i : {1u, 2u}) {
        EXPECT_FALSE(shown[i]->phoneButton()->isHidden());
        EXPECT_FALSE(shown[i]->SMSButton()->isHidden());
    }
    EXPECT_EQ(shown[1]->phoneNumber(), "86291011");
}

TEST_F(MemberDetailTest, EachCallButtonDialsExactlyItsOwnRowsNumber) {
    Json member = memberWithEveryPhone();
    auto page = open(member);

    // Cancelling dials nothing.
    ASSERT_TRUE(driver.tap("call.unicom").ok);
    ASSERT_TRUE(driver.pressAlertButton("取消").ok);
    settle(0.1);
    EXPECT_TRUE(opened().empty());

    for (size_t i = 0; i < kPhoneKeys.size(); ++i) {
        const std::string& key = kPhoneKeys[i];
        const std::string number = member[key];
        showRow(*page, int(3 + i));
        ASSERT_TRUE(driver.tap("call." + key).ok) << key << "\n" << driver.outline();
        ASSERT_TRUE(topAlert());
        EXPECT_EQ(topAlert()->alertMessage(), number);
        EXPECT_EQ(topAlert()->buttonTitles(), (std::vector<std::string>{"取消", "呼叫"}));
        ASSERT_TRUE(driver.pressAlertButton("呼叫").ok);
        settle(0.1);
        ASSERT_EQ(opened().size(), i + 1) << key;
        const std::string url = opened().back();
        EXPECT_EQ(url, "tel://" + platform::escapeWholeURL(number)) << key;
        EXPECT_EQ(platform::urlDecodedString(url.substr(6)), number) << key;
    }
    EXPECT_EQ(opened()[3], "tel://0571-86291022");
    EXPECT_EQ(opened()[4], "tel://0571-86292014%238");
}

TEST_F(MemberDetailTest, ReusedRowsKeepTheButtonsOnPhoneRowsOnly) {
    auto page = open(memberWithEveryPhone(), 320);
    auto table = page->myTabelView();
    auto check = [&] {
        for (const auto& indexPath : table->indexPathsForVisibleRows()) {
            auto cell = std::dynamic_pointer_cast<Cell>(table->cellForRowAtIndexPath(indexPath));
            ASSERT_TRUE(cell);
            const bool phoneRow = indexPath.row >= 3;
            EXPECT_EQ(cell->phoneButton()->isHidden(), !phoneRow) << indexPath.row;
            EXPECT_EQ(cell->SMSButton()->isHidden(), !phoneRow) << indexPath.row;
            if (phoneRow) {
                const std::string& key = kPhoneKeys[size_t(indexPath.row - 3)];
                EXPECT_EQ(cell->phoneButton()->handle(), "call." + key);
                EXPECT_EQ(cell->phoneNumber(), page->phonesArr()[size_t(indexPath.row - 3)]);
            }
        }
    };
    check();
    showRow(*page, 11);
    check();
    showRow(*page, 0);
    check();
}

TEST_F(MemberDetailTest, SavingTwoPhonesMakesOneContactThatOutlivesARestart) {
    Json member = emptyMember();
    member["xm"] = "张立华";
    member["zzmc"] = "校领导";
    member["unicom"] = "13010036202";
    member["officePhone"] = "0571-86291022";
    auto page = open(member);

    // Saying no to the question saves nothing.
    ASSERT_TRUE(driver.tap(Page::kSaveHandle).ok);
    ASSERT_TRUE(driver.pressAlertButton("取消").ok);
    settle(0.1);
    EXPECT_EQ(AddressBook::authorizationStatus(), ContactsAuthorization::NotDetermined);
    EXPECT_TRUE(platform::ContactStore().loadAll().empty());

    // Access not yet decided: the prompt is answered on the main loop and the save follows.
    save(*page);
    EXPECT_EQ(AddressBook::authorizationStatus(), ContactsAuthorization::Authorized);
    EXPECT_EQ(overlayTexts(*page->view()), std::vector<std::string>{"添加成功"});
    EXPECT_FALSE(topAlert());

    // A restart: the device forgets everything but the data directory.
    platform::AddressBook::resetDevice();
    AddressBook::setAuthorizationStatus(ContactsAuthorization::Authorized);
    auto contacts = platform::AddressBook().allContacts();
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(contacts[0].lastName, "张立华");
    EXPECT_EQ(contacts[0].firstName, "");
    EXPECT_EQ(contacts[0].phones, (std::vector<platform::LabeledValue>{
                                      {"中国联通", "13010036202"}, {"办公电话", "0571-86291022"}}));
}

TEST_F(MemberDetailTest, RefusedAccessOrAFailedWriteSaysSoAndLeadsToTheSettings) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> prepare;
    };
    const std::vector<Case> cases = {
        {"denied when asked", [](auto&) { AddressBook::setAccessRequestAnswer(false); }},
        {"denied before",
         [](auto&) { AddressBook::setAuthorizationStatus(ContactsAuthorization::Denied); }},
        {"write fails",
         [](const std::filesystem::path& home) {
             AddressBook::setAuthorizationStatus(ContactsAuthorization::Authorized);
             // A file where the contacts folder belongs: nothing can be written.
             ASSERT_TRUE(platform::writeFileAtomically(home / "Contacts", "x"));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempHome caseHome;
        platform::AddressBook::resetDevice();
        platform::Application::shared().reset();
        c.prepare(caseHome.path());
        Json member = emptyMember();
        member["xm"] = "赵静";
        member["cmcc"] = "13850044103";
        auto page = open(member);

        save(*page);
        ASSERT_TRUE(topAlert());
        EXPECT_EQ(topAlert()->alertTitle(), "添加失败");
        EXPECT_EQ(topAlert()->alertMessage(), "请打开 设置-隐私-通讯录 来进行设置");
        EXPECT_EQ(topAlert()->buttonTitles(), std::vector<std::string>{"去设置"});
        EXPECT_TRUE(overlayTexts(*page->view()).empty());
        EXPECT_FALSE(std::filesystem::is_directory(caseHome.path() / "Contacts"));

        ASSERT_TRUE(driver.pressAlertButton("去设置").ok);
        settle(0.1);
        EXPECT_EQ(opened(), std::vector<std::string>{"app-settings:"});
        EXPECT_FALSE(topAlert());
    }
}

TEST_F(MemberDetailTest, TextMessagesNeedAPhoneThatCanSendThem) {
    Json member = memberWithEveryPhone();
    auto page = open(member);

    // Unavailable: the button does nothing.
    ASSERT_TRUE(driver.tap("sms.cmcc").ok);
    settle(1);
    EXPECT_FALSE(page->presentedViewController());
    EXPECT_TRUE(MessageComposeViewController::presentedMessages().empty());

    MessageComposeViewController::setCanSendText(true);
    struct Case {
        std::string key;
        MessageComposeResult result;
        std::vector<std::string> shown;
    };
    for (const auto& c :
         std::vector<Case>{{"cmcc", MessageComposeResult::Sent, {"发送成功"}},
                           {"officePhone2", MessageComposeResult::Failed, {"发送失败"}},
                           {"unicom", MessageComposeResult::Cancelled, {}}}) {
        SCOPED_TRACE(c.key);
        ASSERT_TRUE(driver.tap("sms." + c.key).ok) << driver.outline();
        settle(1);
        auto composer = MessageComposeViewController::openComposer();
        ASSERT_TRUE(composer);
        EXPECT_EQ(composer->recipients(), std::vector<std::string>{member[c.key]});
        EXPECT_EQ(composer->body(), "");

        ASSERT_TRUE(MessageComposeViewController::finishOpenComposer(c.result));
        settle(0.1);
        EXPECT_EQ(overlayTexts(*page->view()), c.shown);
        settle(2);
        EXPECT_FALSE(page->presentedViewController());
        EXPECT_EQ(driver.currentScreen(), window->rootViewController());
    }
    EXPECT_EQ(MessageComposeViewController::presentedMessages().size(), 3u);
}

}  // namespace
