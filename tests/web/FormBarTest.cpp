// The keyboard of a page's field as the phone's web view has it: the form bar's 上一项, 下一项
// and 完成, the page scrolled so that the field stands above the keyboard and its bar and
// back within the page when it goes, and the editing ended by a tap elsewhere in the page.
// Read from the outline, the page's scripts and where things stand on the screen.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/testing/ScreenSize.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "tests/support/ScreenCheck.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

// Fields in the order the bar walks them, with what it passes over between them: a hidden
// field, a disabled one, a read-only one, a box, a field no style shows, and a select. Every
// field's focus, change and blur are written down.
constexpr const char* kFieldsPage = R"HTML(<title>Fields</title>
<form>
<p><input id="first" name="first"></p>
<input type="hidden" name="token" value="t1">
<p><input id="off" name="off" disabled></p>
<p><input id="code" name="code" value="A100" readonly></p>
<p><input type="checkbox" id="box" name="box"></p>
<p><textarea id="memo" name="memo"></textarea></p>
<p style="display:none"><input id="unseen" name="unseen"></p>
<p><select id="when" name="when"><option>现在</option></select></p>
<p><input type="tel" id="last" name="last"></p>
</form>
<p id="words">请填写以上各项</p>
<script>
var log = [];
['first', 'memo', 'last'].forEach(function (id) {
  ['focus', 'change', 'blur'].forEach(function (type) {
    document.getElementById(id).addEventListener(type, function () { log.push(id + ':' + type); });
  });
});
</script>)HTML";

// A page a little longer than the phone's screen whose two fields stand at its very end, the
// first of them on the screen at first.
constexpr const char* kLongPage = R"HTML(<title>Long</title>
<div style="height:540px">留言须知</div>
<form><p><input id="name" name="name"></p><p><textarea id="note" name="note"></textarea></p></form>)HTML";

class FormBarTest : public pagetest::PageEngineTest {
protected:
    // The phone's own screen, not the fixture's tall one: the keyboard covers a part of it.
    void onPhone() {
        platform::testing::useScreen(375, 667);
        window->layoutIfNeeded();
        web()->setFrame(screen->view()->bounds());
        web()->layoutIfNeeded();
    }

    std::string log() { return eval("log.join(' ')"); }
    std::string value(const std::string& id) {
        return eval("document.getElementById('" + id + "').value");
    }

    // The field's frame on the screen.
    Rect onScreen(const std::string& handle) {
        auto view = driver.findByHandle(handle);
        return view ? testsupport::onScreen(*view) : Rect{};
    }
};

TEST_F(FormBarTest, TheBarsKeysStepThroughTheFieldsThatTakeTypingAndDoneEndsTheEditing) {
    onPhone();
    open(serve("/forms/fields.html", kFieldsPage));
    ASSERT_TRUE(driver.type("first", "甲")) << driver.outline();
    // The first field has none before it.
    EXPECT_TRUE(outlineShows("  button \"上一项\" (disabled)\n")) << driver.outline();
    EXPECT_TRUE(outlineShows("  button \"下一项\"\n")) << driver.outline();
    EXPECT_TRUE(outlineShows("  button \"完成\"\n")) << driver.outline();
    EXPECT_FALSE(driver.tap("上一项"));

    // Past the hidden, disabled and read-only fields and the box, to the text area.
    ASSERT_TRUE(driver.tap("下一项")) << driver.outline();
    EXPECT_TRUE(outlineShows("text area memo \"\" (editing)")) << driver.outline();
    EXPECT_TRUE(outlineShows("field first \"甲\"\n")) << driver.outline();
    EXPECT_EQ(log(), "first:focus first:change first:blur memo:focus");
    EXPECT_TRUE(Keyboard::isVisible());
    EXPECT_TRUE(outlineShows("  button \"上一项\"\n")) << driver.outline();

    // Past the field no style shows and the select, to the last field: none after it.
    ASSERT_TRUE(driver.type("memo", "乙"));
    ASSERT_TRUE(driver.tap("下一项")) << driver.outline();
    EXPECT_TRUE(outlineShows("field last \"\" (editing)")) << driver.outline();
    EXPECT_TRUE(outlineShows("  button \"下一项\" (disabled)\n")) << driver.outline();
    EXPECT_FALSE(driver.tap("下一项"));
    EXPECT_TRUE(outlineShows("field last \"\" (editing)")) << driver.outline();

    // And back.
    ASSERT_TRUE(driver.tap("上一项")) << driver.outline();
    EXPECT_TRUE(outlineShows("text area memo \"乙\" (editing)")) << driver.outline();

    // Done keeps the value, tells the page, and puts the keyboard away.
    ASSERT_TRUE(driver.type("memo", "丙"));
    ASSERT_TRUE(driver.tap("完成")) << driver.outline();
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_FALSE(outlineShows("(editing)")) << driver.outline();
    EXPECT_FALSE(outlineShows("完成")) << driver.outline();
    EXPECT_EQ(value("first") + "," + value("memo") + "," + value("last"), "甲,乙丙,");
    EXPECT_EQ(log(),
              "first:focus first:change first:blur memo:focus memo:change memo:blur last:focus "
              "last:blur memo:focus memo:change memo:blur");
}

TEST_F(FormBarTest, TheFieldStandsAboveTheKeyboardAndItsBarAndThePageComesBackWithinItsEnd) {
    onPhone();
    open(serve("/forms/long.html", kLongPage));
    const ScrollView& scroller = *web()->scrollView();
    const double insetBefore = scroller.contentInset().bottom;
    // Drawn at the bottom of a page as long as this one, the page may scroll no further.
    const double end = scroller.contentSize().height - scroller.bounds().size.height;
    ASSERT_GT(end, 0);

    ASSERT_TRUE(driver.tap("name")) << driver.outline();
    const Rect keyboard = Keyboard::frame();
    EXPECT_EQ(keyboard.height(), Keyboard::kHeight + Keyboard::kFormBarHeight);
    EXPECT_EQ(keyboard.maxY(), 667);
    EXPECT_LE(onScreen("name").maxY(), keyboard.minY());
    EXPECT_GE(onScreen("name").minY(), 0);

    // The text area under it stands at the page's end: the page scrolls past its end while the
    // keyboard is up, so that the area shows above the bar.
    ASSERT_TRUE(driver.tap("下一项")) << driver.outline();
    EXPECT_TRUE(outlineShows("text area note \"\" (editing)")) << driver.outline();
    EXPECT_LE(onScreen("note").maxY(), keyboard.minY());
    EXPECT_GE(onScreen("note").minY(), 0);
    EXPECT_GT(scroller.contentOffset().y, end);

    // Once the keyboard goes, no blank shows past the page's end.
    ASSERT_TRUE(driver.tap("完成")) << driver.outline();
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_EQ(scroller.contentInset().bottom, insetBefore);
    EXPECT_LE(scroller.contentOffset().y, end + 0.5);
    EXPECT_GT(scroller.contentOffset().y, end - 0.5) << "the page stays at its end";
}

TEST_F(FormBarTest, ATapOnThePagesWordsOnBlankSpaceOrOnAReadOnlyFieldEndsTheEditing) {
    onPhone();
    open(serve("/forms/fields.html", kFieldsPage));
    const auto editAgain = [&](const std::string& text) {
        eval("log = []");
        ASSERT_TRUE(driver.type("first", text)) << driver.outline();
        ASSERT_TRUE(Keyboard::isVisible());
    };

    editAgain("一");
    ASSERT_TRUE(driver.tap("请填写以上各项")) << driver.outline();
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_FALSE(outlineShows("(editing)")) << driver.outline();
    EXPECT_EQ(log(), "first:focus first:change first:blur");

    // Blank space right of the field.
    editAgain("二");
    const Rect first = onScreen("first");
    ASSERT_TRUE(driver.dragFinger({340, first.midY()}, {340, first.midY()}));
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_EQ(log(), "first:focus first:change first:blur");

    editAgain("三");
    ASSERT_TRUE(driver.tap("code")) << driver.outline();
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_FALSE(outlineShows("(editing)")) << driver.outline();
    EXPECT_EQ(log(), "first:focus first:change first:blur");

    // A box takes no typing: ticking it ends the editing too.
    editAgain("四");
    ASSERT_TRUE(driver.tap("box")) << driver.outline();
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_FALSE(outlineShows("(editing)")) << driver.outline();
    EXPECT_EQ(log(), "first:focus first:change first:blur");

    // A tap inside the field being edited, or on another field, keeps the keyboard up.
    editAgain("五");
    const Rect field = onScreen("first");
    ASSERT_TRUE(
        driver.dragFinger({field.minX() + 4, field.midY()}, {field.minX() + 4, field.midY()}));
    EXPECT_TRUE(outlineShows("field first \"一二三四五\" (editing)")) << driver.outline();
    ASSERT_TRUE(driver.tap("memo")) << driver.outline();
    EXPECT_TRUE(outlineShows("text area memo \"\" (editing)")) << driver.outline();
    const Rect memo = onScreen("memo");
    ASSERT_TRUE(driver.dragFinger({memo.midX(), memo.midY()}, {memo.midX(), memo.midY()}));
    EXPECT_TRUE(outlineShows("text area memo \"\" (editing)")) << driver.outline();
    EXPECT_TRUE(Keyboard::isVisible());
    EXPECT_EQ(log(), "first:focus first:change first:blur memo:focus");
}

// What the bridge's endEditing does to the screen that holds the page: the field ends its
// editing as a tap elsewhere ends it.
TEST_F(FormBarTest, EndingTheEditingOfTheScreenThatHoldsThePageEndsTheFields) {
    onPhone();
    open(serve("/forms/long.html", kLongPage));
    ASSERT_TRUE(driver.type("note", "好"));
    ASSERT_TRUE(Keyboard::isVisible());
    eval(
        "var told = [], note = document.getElementById('note');"
        "note.onblur = function () { told.push('blur'); };"
        "note.onchange = function () { told.push('change'); }");
    screen->view()->endEditing(true);
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_FALSE(outlineShows("(editing)")) << driver.outline();
    EXPECT_EQ(eval("told.join()"), "change,blur");
    EXPECT_EQ(value("note"), "好");
}

// The telephone pad types every digit and "+" (the form bar being its way out), and the
// number keyboard has no empty row.
TEST_F(FormBarTest, ThePadsKeysTypeWhatTheyShow) {
    onPhone();
    open(serve("/forms/fields.html", kFieldsPage));
    ASSERT_TRUE(driver.tap("last")) << driver.outline();
    EXPECT_TRUE(outlineShows("keyboard (digits)")) << driver.outline();
    const auto press = [](const std::string& title) {
        for (const auto& key : Keyboard::keys()) {
            if (key.title == title) {
                Keyboard::press(key);
                return true;
            }
        }
        return false;
    };
    for (const char* title : {"+", "8", "6", "1", "2", "3", "4", "5", "7", "9", "0"}) {
        EXPECT_TRUE(press(title)) << "no key " << title;
    }
    EXPECT_TRUE(outlineShows("field last \"+8612345790\" (editing)")) << driver.outline();
    EXPECT_EQ(value("last"), "+8612345790");
    ASSERT_TRUE(press("⌫"));
    EXPECT_EQ(value("last"), "+861234579");
    ASSERT_TRUE(driver.tap("完成")) << driver.outline();
    EXPECT_FALSE(Keyboard::isVisible());
}

}  // namespace
