// The caret of a page's field in the desktop window, found by its pixels there: in the
// questionnaire's text area after a line that wraps, after the return key and a character,
// and in the mailbox's account field after an address longer than the field.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/ui/View.h"
#include "tests/support/InkTestSupport.h"
#include "tests/window/WindowTestSupport.h"

using namespace windowtest;
using platform::Rect;
using shelltest::kTeacher;

namespace {

// How far in from a field's box its empty caret stands: inside the field's border and padding,
// as the browser's own style gives them (1 or 2 px of each), well short of a character.
constexpr double kCaretInset = 5;
// The corner of a text area where the browser draws its resize grip.
constexpr double kResizeGrip = 16;

// The caret, and a field's text, by their pixels in the window's picture (`scale` pixels a
// point); in points.
Rect inPoints(const Rect& pixels, double scale) {
    return pixels.isEmpty() ? Rect{}
                            : Rect{{pixels.minX() / scale, pixels.minY() / scale},
                                   {pixels.width() / scale, pixels.height() / scale}};
}

Rect caretIn(const platform::Image& image, const Rect& area, double scale) {
    const Rect pixels{{area.minX() * scale, area.minY() * scale},
                      {area.width() * scale, area.height() * scale}};
    return inPoints(testsupport::inkBounds(image, pixels, testsupport::isCaretBlue), scale);
}

Rect textIn(const platform::Image& image, const Rect& area, double scale) {
    const Rect pixels{{area.minX() * scale, area.minY() * scale},
                      {area.width() * scale, area.height() * scale}};
    return inPoints(testsupport::inkBounds(image, pixels, testsupport::isFieldText), scale);
}

class FieldCaretWindowTest : public WindowTest {
protected:
    // The field's text box on the screen, and the caret drawn in the window near it.
    static Rect boxOf(const platform::View& field) {
        return field.convertRectTo(field.bounds(), nullptr);
    }
    // What was typed reaches the page, and the page's paint the window, on later turns: the
    // caret is looked for once the page has come to rest.
    Rect caretNear(const Rect& box) {
        window->pump(kNoWait);
        awaitWebRest();
        window->pump(kNoWait);
        return caretIn(window->pixels(), box.insetBy(-12, -12), window->scale());
    }
};

TEST_F(FieldCaretWindowTest, TheTextAreasCaretFollowsAWrappedLineAndAReturn) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    open();
    click(centreOf(*driver.find("问卷调查")));
    auto next = awaitShown("下一页");
    ASSERT_TRUE(next) << driver.outline();
    click(centreOf(*next));
    auto advice = awaitShown("advice");
    ASSERT_TRUE(advice) << driver.outline();
    click(centreOf(*advice));
    ASSERT_TRUE(driver.outline().find("(editing)") != std::string::npos) << driver.outline();
    const Rect box = boxOf(*advice);

    Rect caret = caretNear(box);
    ASSERT_FALSE(caret.isEmpty()) << "no caret in the empty text area";
    EXPECT_LE(caret.minX(), box.minX() + kCaretInset);
    EXPECT_LE(caret.minY(), box.minY() + 4);
    const double line = caret.height();

    window->postTextInput("食堂饭菜可口价格合理实惠服务周到环境整洁明亮");
    caret = caretNear(box);
    ASSERT_FALSE(caret.isEmpty()) << "no caret after the wrapped line";
    EXPECT_GT(caret.minY(), box.minY() + line * 0.6) << "the caret stayed on the first line";
    EXPECT_LE(caret.maxY(), box.maxY() + 1);
    const double scale = window->scale();
    // The line's text in the caret's row, left of the browser's resize grip (drawn dark in
    // the text area's lower right corner).
    const double textWidth = box.width() - kResizeGrip;
    Rect row = textIn(window->pixels(),
                      Rect{{box.minX(), caret.minY()}, {textWidth, caret.height()}}, scale);
    EXPECT_GE(caret.minX(), row.maxX() - 1);
    EXPECT_LE(caret.minX(), row.maxX() + 4) << "the caret stands away from the line's end";
    const double second = caret.minY();

    window->postKey(platform::desktop::Key::Return);
    window->postTextInput("好");
    caret = caretNear(box);
    ASSERT_FALSE(caret.isEmpty()) << "no caret after the return";
    EXPECT_GT(caret.minY(), second + line * 0.6) << "the caret stayed on the line above";
    row = textIn(window->pixels(), Rect{{box.minX(), caret.minY()}, {textWidth, caret.height()}},
                 scale);
    EXPECT_GE(caret.minX(), row.maxX() - 1);
    EXPECT_LE(caret.minX(), row.maxX() + 4);
    EXPECT_EQ(boxOf(*advice), box) << "the text area changed its size";
}

TEST_F(FieldCaretWindowTest, ALongAddressScrollsInTheMailboxsFieldWithTheCaretAtItsEnd) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    open();
    auto tile = driver.find("电子邮箱");
    ASSERT_TRUE(tile) << driver.outline();
    click(centreOf(*tile));
    auto other = awaitShown("切换账号");
    ASSERT_TRUE(other) << driver.outline();
    click(centreOf(*other));
    auto account = awaitShown("account");
    ASSERT_TRUE(account) << driver.outline();
    const Rect box = boxOf(*account);
    click(centreOf(*account));
    Rect caret = caretNear(box);
    ASSERT_FALSE(caret.isEmpty()) << "no caret in the empty field";
    EXPECT_LE(caret.minX(), box.minX() + kCaretInset)
        << "the empty field's caret is not at its start";
    EXPECT_LE(caret.maxY(), box.maxY() + 1) << "the caret runs down onto the border";

    window->postTextInput("zhangsan.teacher.informationengineering@lanxi.test");
    caret = caretNear(box);
    ASSERT_FALSE(caret.isEmpty()) << "no caret after the address";
    EXPECT_GE(caret.minX(), box.maxX() - 6);
    EXPECT_LE(caret.maxX(), box.maxX() + 1);
    EXPECT_EQ(boxOf(*account), box) << "the field changed its size";
}

}  // namespace
