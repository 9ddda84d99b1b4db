#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "platform/testing/UIDriver.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TextField.h"

using namespace platform;

namespace {

class Listener : public SearchBarDelegate {
public:
    void searchBarTextDidChange(SearchBar& /*bar*/, const std::string& text) override {
        events.push_back("changed:" + text);
    }
    void searchBarSearchButtonClicked(SearchBar& bar) override {
        events.push_back("search:" + bar.text());
    }
    std::vector<std::string> events;
};

class SearchBarTest : public uitest::UiTest {
protected:
    void SetUp() override {
        screen = std::make_shared<ViewController>();
        window = showWindow(screen);
        bar = View::make<SearchBar>(Rect{{0, 64}, {375, 50}});
        bar->searchField()->setHandle("search");
        bar->setDelegate(listener);
        screen->view()->addSubview(bar);
    }

    std::shared_ptr<ViewController> screen;
    std::shared_ptr<Window> window;
    std::shared_ptr<SearchBar> bar;
    std::shared_ptr<Listener> listener = std::make_shared<Listener>();
    platform::testing::UIDriver driver;
};

TEST_F(SearchBarTest, TheDelegateHearsEachChangeTheClearButtonAndTheSearchKey) {
    ASSERT_TRUE(driver.type("search", "li"));
    EXPECT_TRUE(bar->isFirstResponder());
    ASSERT_TRUE(bar->searchField()->deleteBackward());
    ASSERT_TRUE(driver.pressReturn());
    ASSERT_TRUE(bar->searchField()->pressClearButton());
    EXPECT_EQ(listener->events, (std::vector<std::string>{"changed:l", "changed:li", "changed:l",
                                                          "search:l", "changed:"}));
    // Text set in code tells no one.
    bar->setText("wang");
    EXPECT_EQ(bar->text(), "wang");
    EXPECT_EQ(listener->events.size(), 5u);
}

TEST_F(SearchBarTest, TheFieldFillsTheBarInsideItsInsetsAndFollowsItsSize) {
    EXPECT_EQ(bar->searchField()->frame(), (Rect{{8, 8}, {359, 34}}));
    bar->setFrame(Rect{{0, 0}, {320, 44}});
    bar->layoutSubviews();
    EXPECT_EQ(bar->searchField()->frame(), (Rect{{8, 8}, {304, 28}}));
    // A bar gone leaves a field that is still held harmless.
    auto field = bar->searchField();
    bar->removeFromSuperview();
    bar.reset();
    EXPECT_TRUE(field->typeText("x"));
    EXPECT_EQ(listener->events.size(), 0u);
}

}  // namespace
