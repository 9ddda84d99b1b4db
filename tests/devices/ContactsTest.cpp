#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/devices/AddressBook.h"
#include "platform/devices/VCard.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "tests/support/TempHome.h"

using namespace platform;

namespace {

class ContactsTest : public ::testing::Test {
protected:
    void TearDown() override { setLogSink(nullptr); }

    testsupport::TempHome m_home;
    platform::testing::UiTestScope m_scope;
};

Contact teacher() {
    Contact contact;
    contact.lastName = "张三丰";
    contact.organization = "信息学院; 网络中心";
    contact.jobTitle = "主任, 教授";
    contact.phones = {{"中国联通", "186-0000-1111"}, {"办公电话", "0571 8888 0000"}};
    contact.emails = {{kContactLabelWork, "zhang@lanxi-campus.example"}};
    return contact;
}

TEST_F(ContactsTest, SavedContactsComeBackWhole) {
    AddressBook::setAuthorizationStatus(ContactsAuthorization::Authorized);
    Contact first = teacher();
    Contact second;
    second.firstName = "Ann";
    second.lastName = "Lee";
    second.phones = {{kContactLabelMobile, "+86 139 0000 4567"},
                     {kContactLabelHome, "1234"},
                     {kContactLabelWork, "5678"},
                     {kContactLabelOther, "110"}};
    // Long enough to be folded, with CJK text across the fold.
    second.jobTitle = std::string(70, 'x') + "研究员研究员研究员";
    DeviceError error;
    ASSERT_TRUE(AddressBook().addContact(first, &error)) << error.description;
    ASSERT_TRUE(AddressBook().addContact(second, &error)) << error.description;
    EXPECT_NE(first.identifier, second.identifier);

    auto file = m_home.path() / "Contacts" / (first.identifier + ".vcf");
    auto mode = std::filesystem::status(file).permissions();
    EXPECT_EQ(mode & std::filesystem::perms::all, kOwnerOnlyFile);
    auto text = readFile(file);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->rfind("BEGIN:VCARD\r\nVERSION:3.0\r\n", 0), 0u);
    for (size_t start = 0, end; (end = text->find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        EXPECT_LE(end - start, 75u) << "lines are folded";
    }

    // A new address book, as after a restart, reads the same contacts in saving order.
    auto contacts = AddressBook().allContacts();
    ASSERT_EQ(contacts.size(), 2u);
    EXPECT_EQ(contacts[0].identifier, first.identifier);
    EXPECT_EQ(contacts[0].firstName, "");
    EXPECT_EQ(contacts[0].lastName, "张三丰");
    EXPECT_EQ(contacts[0].organization, "信息学院; 网络中心");
    EXPECT_EQ(contacts[0].jobTitle, "主任, 教授");
    EXPECT_EQ(contacts[0].phones, first.phones) << "both numbers, with their own labels";
    EXPECT_EQ(contacts[0].emails, first.emails);
    EXPECT_EQ(contacts[1].firstName, "Ann");
    EXPECT_EQ(contacts[1].lastName, "Lee");
    EXPECT_EQ(contacts[1].jobTitle, second.jobTitle);
    EXPECT_EQ(contacts[1].phones, second.phones);
}

TEST_F(ContactsTest, OthersVCardsAreReadAndDamagedFilesSkipped) {
    auto folder = m_home.path() / "Contacts";
    // Another writer's card: LF line ends, a folded name, lower-case names, bare types,
    // grouped labels before their value and properties we do not know.
    ASSERT_TRUE(writeFileAtomically(folder / "a-other.vcf",
                                    "BEGIN:VCARD\nVERSION:3.0\nPRODID:-//Invented//EN\n"
                                    "n:Wang;Wu\n fei;;;\nitem7.X-LABEL:中国移动\n"
                                    "item7.TEL;type=voice:139 0000 0000\nTEL;CELL:135\n"
                                    "X-UNKNOWN;A=\"x:y\":z\nEND:VCARD\n"));
    ASSERT_TRUE(writeFileAtomically(folder / "b-no-end.vcf", "BEGIN:VCARD\nN:Gone;;;;\n"));
    ASSERT_TRUE(writeFileAtomically(folder / "c-binary.vcf", std::string("\xff\xfe\x00\x01", 4)));
    ASSERT_TRUE(writeFileAtomically(folder / "d-empty.vcf", ""));
    ASSERT_TRUE(writeFileAtomically(folder / "notes.txt", "BEGIN:VCARD\nN:Txt;;;;\nEND:VCARD\n"));

    std::vector<std::string> logged;
    setLogSink([&](const std::string& line) { logged.push_back(line); });
    auto contacts = ContactStore().loadAll();
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(contacts[0].lastName, "Wang");
    EXPECT_EQ(contacts[0].firstName, "Wufei");
    EXPECT_EQ(contacts[0].phones, (std::vector<LabeledValue>{{"中国移动", "139 0000 0000"},
                                                             {kContactLabelMobile, "135"}}));
    EXPECT_EQ(logged.size(), 3u) << "one line for each damaged file";
    EXPECT_TRUE(std::filesystem::exists(folder / "c-binary.vcf")) << "damaged files are kept";

    // New contacts are still numbered and saved beside them.
    Contact added;
    added.lastName = "李四";
    ASSERT_TRUE(ContactStore().add(added));
    EXPECT_EQ(added.identifier, "000001");
    const auto stored = ContactStore().loadAll();
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(stored.front().lastName, "李四");
}

TEST_F(ContactsTest, AccessIsAskedOnTheMainLoopAndRefusalStopsReadsAndSaves) {
    auto& loop = RunLoop::main();
    EXPECT_EQ(AddressBook::authorizationStatus(), ContactsAuthorization::NotDetermined);
    std::vector<bool> answers;
    AddressBook book;
    book.requestAccess([&](bool granted) { answers.push_back(granted); });
    EXPECT_TRUE(answers.empty()) << "never answered inside the call";
    loop.runPending();
    EXPECT_EQ(answers, std::vector<bool>{true}) << "the prompt grants by default";
    EXPECT_EQ(AddressBook::authorizationStatus(), ContactsAuthorization::Authorized);

    AddressBook::resetDevice();
    AddressBook::setAccessRequestAnswer(false);
    book.requestAccess([&](bool granted) { answers.push_back(granted); });
    loop.runPending();
    EXPECT_EQ(answers.back(), false);
    EXPECT_EQ(AddressBook::authorizationStatus(), ContactsAuthorization::Denied);

    Contact contact = teacher();
    DeviceError error;
    EXPECT_FALSE(book.addContact(contact, &error));
    EXPECT_EQ(error.code, static_cast<int>(ContactsErrorCode::NotAuthorized));
    EXPECT_FALSE(std::filesystem::exists(m_home.path() / "Contacts")) << "nothing written";

    ASSERT_TRUE(ContactStore().add(contact));
    EXPECT_TRUE(book.allContacts(&error).empty()) << "a refused reader sees nobody";
    AddressBook::setAuthorizationStatus(ContactsAuthorization::Restricted);
    book.requestAccess([&](bool granted) { answers.push_back(granted); });
    loop.runPending();
    EXPECT_EQ(answers.back(), false);
    AddressBook::setAuthorizationStatus(ContactsAuthorization::Authorized);
    EXPECT_EQ(book.allContacts().size(), 1u);
}

TEST_F(ContactsTest, AFailedWriteIsReportedNotPassedAsSaved) {
    AddressBook::setAuthorizationStatus(ContactsAuthorization::Authorized);
    // A file where the folder should be: nothing can be written there.
    ASSERT_TRUE(writeFileAtomically(m_home.path() / "blocked", "x"));
    AddressBook book{ContactStore(m_home.path() / "blocked" / "Contacts")};
    Contact contact = teacher();
    DeviceError error;
    EXPECT_FALSE(book.addContact(contact, &error));
    EXPECT_EQ(error.code, static_cast<int>(ContactsErrorCode::WriteFailed));
    EXPECT_TRUE(contact.identifier.empty());
}

}  // namespace
