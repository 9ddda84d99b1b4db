#include <gtest/gtest.h>

#include "platform/ui/AlertController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/TextField.h"
#include "tests/testing/DriverTestSupport.h"

namespace drivertest {
namespace {

using namespace platform;

class ClickRecorder : public AlertViewDelegate {
public:
    void clickedButtonAtIndex(AlertView&, int index) override { clicked.push_back(index); }
    std::vector<int> clicked;
};

class AlertButtonTest : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        screen = showSample();
    }

    std::shared_ptr<AlertView> showAlert() {
        auto alert = View::make<AlertView>("Delete?", "It cannot be undone.", delegate, "Cancel",
                                           std::vector<std::string>{"Delete"});
        alert->show();
        return alert;
    }

    std::shared_ptr<SampleScreen> screen;
    std::shared_ptr<ClickRecorder> delegate = std::make_shared<ClickRecorder>();
};

TEST_F(AlertButtonTest, PressingAButtonByTitleReachesTheDelegate) {
    auto alert = showAlert();
    ASSERT_TRUE(driver.pressAlertButton("Delete").ok);
    EXPECT_EQ(delegate->clicked, std::vector<int>{1});
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(driver.outline().find("alert"), std::string::npos);
}

TEST_F(AlertButtonTest, TappingTheButtonsHandleTitleOrIndexPressesItAndTheErrorsAreClear) {
    EXPECT_EQ(driver.pressAlertButton("OK").error, "no alert is showing");
    showAlert();
    EXPECT_EQ(driver.pressAlertButton("Keep").error, "no such alert button: Keep");
    EXPECT_EQ(driver.pressAlertButton(2).error, "no such alert button: 2");
    ASSERT_TRUE(driver.pressAlertButton(0).ok);
    showAlert();
    ASSERT_TRUE(driver.tap("a0").ok);
    showAlert();
    ASSERT_TRUE(driver.tap("Delete").ok);
    EXPECT_EQ(delegate->clicked, (std::vector<int>{0, 0, 1}));
}

TEST_F(AlertButtonTest, TypesIntoTheAlertsFieldThenPressesItsButton) {
    auto alert = showAlert();
    alert->setAlertViewStyle(AlertViewStyle::PlainTextInput);
    ASSERT_TRUE(driver.type("af0", "yes").ok);
    EXPECT_EQ(alert->textFieldAtIndex(0)->text(), "yes");
    ASSERT_TRUE(driver.tap("a1").ok);
    EXPECT_EQ(delegate->clicked, std::vector<int>{1});
}

TEST_F(AlertButtonTest, AnAlertControllersActionRunsItsHandler) {
    int handled = 0;
    auto sheet = AlertController::make("Share", "", AlertControllerStyle::ActionSheet);
    sheet->addAction("Copy link", AlertActionStyle::Default, [&] { ++handled; });
    sheet->addAction("Cancel", AlertActionStyle::Cancel);
    screen->presentViewController(sheet, false);

    EXPECT_NE(driver.outline().find("action sheet \"Share\" [Copy link] [Cancel]"),
              std::string::npos)
        << driver.outline();
    // The screen under the sheet still shows, but cannot be used.
    EXPECT_EQ(driver.tap("Go").error, "covered by an alert");
    EXPECT_EQ(driver.dragFinger({300, 300}, {60, 300}).error, "covered by an alert");
    ASSERT_TRUE(driver.tap("Copy link").ok);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(driver.currentScreen(), navigation);
}

}  // namespace
}  // namespace drivertest
