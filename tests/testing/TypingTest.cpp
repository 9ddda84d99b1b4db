#include <gtest/gtest.h>

#include "platform/ui/TextField.h"
#include "platform/ui/TextFieldDelegate.h"
#include "platform/ui/TextView.h"
#include "tests/testing/DriverTestSupport.h"

namespace drivertest {
namespace {

using namespace platform;

class ReturnCounter : public TextFieldDelegate {
public:
    bool textFieldShouldReturn(TextField& field) override {
        ++returns;
        field.resignFirstResponder();
        return true;
    }
    int returns = 0;
};

class TypingTest : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        screen = showSample();
        account = View::make<TextField>(Rect{{20, 420}, {200, 30}});
        account->setPlaceholder("Account");
        account->setDelegate(delegate);
        screen->view()->addSubview(account);
    }

    std::shared_ptr<SampleScreen> screen;
    std::shared_ptr<TextField> account;
    std::shared_ptr<ReturnCounter> delegate = std::make_shared<ReturnCounter>();
};

TEST_F(TypingTest, TypesIntoAFieldByHandleOrPlaceholder) {
    std::string handle = driver.handleOf(*account);
    ASSERT_EQ(handle, "f1");
    ASSERT_TRUE(driver.type(handle, "alice").ok);
    EXPECT_EQ(account->text(), "alice");
    EXPECT_TRUE(account->isEditing());
    EXPECT_NE(driver.outline().find("f1  field \"alice\" (editing)"), std::string::npos);

    // An empty field is found by its placeholder.
    account->setText("");
    ASSERT_TRUE(driver.type("Account", "bob").ok);
    EXPECT_EQ(account->text(), "bob");
}

TEST_F(TypingTest, ReturnGoesToTheFieldBeingEdited) {
    EXPECT_EQ(driver.pressReturn().error, "no field is being edited");
    ASSERT_TRUE(driver.type("f1", "carol").ok);
    ASSERT_TRUE(driver.pressReturn().ok);
    EXPECT_EQ(delegate->returns, 1);
    EXPECT_FALSE(account->isEditing());
}

TEST_F(TypingTest, TypesLinesIntoATextView) {
    auto notes = View::make<TextView>(Rect{{220, 120}, {140, 50}});
    screen->view()->addSubview(notes);
    ASSERT_TRUE(driver.type(driver.handleOf(*notes), "one").ok);
    ASSERT_TRUE(driver.pressReturn().ok);
    ASSERT_TRUE(driver.type(driver.handleOf(*notes), "two").ok);
    EXPECT_EQ(notes->text(), "one\ntwo");
}

TEST_F(TypingTest, RefusesWhatIsNotAField) {
    EXPECT_EQ(driver.type("b1", "x").error, "not a text field: b1");
    account->setEnabled(false);
    EXPECT_EQ(driver.type("f1", "x").error, "not tappable: disabled");
    EXPECT_EQ(account->text(), "");
}

}  // namespace
}  // namespace drivertest
