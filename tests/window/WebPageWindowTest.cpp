#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/ui/View.h"
#include "tests/window/WindowTestSupport.h"

using namespace windowtest;
using shelltest::kTeacher;

namespace {

// The school's web pages in the desktop window: a page's form filled in with the mouse and
// the desktop keyboard, and a notice's picture where the page puts it.
class WebPageWindowTest : public WindowTest {
protected:
    // Waits for a page to show the text or the handle (its load and the layout after it).
    std::shared_ptr<platform::View> awaitShown(const std::string& text) {
        std::shared_ptr<platform::View> found;
        waitFor([&] {
            window->pump(kNoWait);
            found = driver.find(text);
            if (!found) {
                found = driver.findByHandle(text);
            }
            return found != nullptr;
        });
        pump();
        return found;
    }

    bool outlineShows(const std::string& text) const {
        return driver.outline().find(text) != std::string::npos;
    }
};

TEST_F(WebPageWindowTest, AQuestionnaireIsAnsweredWithClicksAndTypedText) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    open();
    click(centreOf(*driver.find("问卷调查")));
    auto next = awaitShown("下一页");
    ASSERT_TRUE(next) << driver.outline();
    click(centreOf(*next));
    auto advice = awaitShown("advice");
    ASSERT_TRUE(advice) << driver.outline();

    auto choice = driver.find("需改进");
    ASSERT_TRUE(choice);
    click(centreOf(*choice));
    EXPECT_TRUE(outlineShows("radio network \"需改进\" (checked)")) << driver.outline();
    // The window shows what the renderer draws: the page, its radio checked. (Once a field is
    // edited, the window blinks its caret on its own clock.)
    window->pump(kNoWait);
    EXPECT_EQ(differingPixels(window->pixels(), rendererPng()), 0);

    click(centreOf(*advice));
    EXPECT_TRUE(outlineShows("(editing)")) << driver.outline();
    window->postTextInput("食堂饭菜可口");
    window->postTextInput(" & 价格=合理+实惠!");
    window->postKey(platform::desktop::Key::Backspace);
    pump();
    EXPECT_TRUE(outlineShows("text area advice \"食堂饭菜可口 & 价格=合理+实惠\" (editing)"))
        << driver.outline();
}

TEST_F(WebPageWindowTest, ANoticesPictureStandsBetweenTheLinesAroundIt) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    open();
    click(centreOf(*driver.find("通知公告")));
    auto notice = awaitShown("关于2024年清明节放假安排的通知");
    ASSERT_TRUE(notice) << driver.outline();
    click(centreOf(*notice));
    auto above = awaitShown("各学院、各部门：");
    ASSERT_TRUE(above) << driver.outline();
    auto below = driver.find("关于2024年清明节放假安排的通知现予发布");
    ASSERT_TRUE(below) << driver.outline();

    window->pump(kNoWait);
    const platform::Image shown = window->pixels();
    EXPECT_EQ(differingPixels(shown, rendererPng()), 0);
    // Between the greeting and the paragraph under it the page holds the picture: ink down
    // the band at the picture's left, middle and right, and no white row across it.
    const platform::Rect top = above->convertRectTo(above->bounds(), nullptr);
    const platform::Rect bottom = below->convertRectTo(below->bounds(), nullptr);
    ASSERT_GT(bottom.minY() - top.maxY(), 100);
    const double scale = window->scale();
    int white = 0;
    int rows = 0;
    for (double y = top.maxY() + 30; y < bottom.minY() - 30; y += 10, ++rows) {
        for (double x : {20.0, 187.0, 350.0}) {
            white += shown.pixelAt(int(x * scale), int(y * scale)) == 0xFFFFFFFFu;
        }
    }
    EXPECT_GT(rows, 5);
    EXPECT_EQ(white, 0);
}

}  // namespace
