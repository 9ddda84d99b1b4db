// A page's text fields as a user sees them while typing: the box keeps its size and place, the
// text moves inside it, and the caret stands where the next character goes. The caret is
// found by its pixels (the tint's blue), the text by its ink, on a phone's small and usual
// screens and on the tablet.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "platform/foundation/TextRange.h"
#include "platform/graphics/Image.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/Application.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "tests/support/InkTestSupport.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

// The school mailbox's sign-in, as its page lays it out.
constexpr const char* kSignInPage = R"HTML(<title>Mail</title>
<form method="post" action="/mail/login">
<p><label for="account">账号</label> <input type="text" id="account" name="account"></p>
<p><label for="password">密码</label> <input type="password" id="password" name="password"></p>
<p id="below">登录后可查看邮件</p>
</form>)HTML";

constexpr const char* kFieldsPage = R"HTML(<title>Fields</title>
<p><input type="text" id="name" name="name" placeholder="姓名"></p>
<p><input type="text" id="narrow" name="narrow" size="8"></p>
<p><textarea id="advice" name="advice" rows="3" placeholder="意见"></textarea></p>
<p><textarea id="wide" name="wide" cols="30" rows="5"></textarea></p>
<p id="below">完</p>)HTML";

constexpr const char* kPasswordsPage = R"HTML(<title>Passwords</title>
<p><input type="password" id="thin" name="thin" value="iiiiii"></p>
<p><input type="password" id="broad" name="broad" value="WWWWWW"></p>
<p><input type="text" id="clear" name="clear" value="WWWWWW"></p>)HTML";

constexpr const char* kLongAddress = "zhangsan.teacher.informationengineering@lanxi.test";

struct Screen {
    const char* name;
    Size size;
    bool tablet;
};

void PrintTo(const Screen& screen, std::ostream* out) {
    *out << screen.name;
}

// The caret, and a field's text, by their pixels.
Rect caretIn(const Image& picture, const Rect& area) {
    return testsupport::inkBounds(picture, area, testsupport::isCaretBlue);
}

Rect textIn(const Image& picture, const Rect& area) {
    return testsupport::inkBounds(picture, area, testsupport::isFieldText);
}

class FieldCaretTest : public pagetest::PageEngineTest,
                       public ::testing::WithParamInterface<Screen> {
protected:
    FieldCaretTest() {
        Application::shared().setUserInterfaceIdiom(GetParam().tablet ? UserInterfaceIdiom::Pad
                                                                      : UserInterfaceIdiom::Phone);
        platform::testing::useScreen(GetParam().size.width, GetParam().size.height);
        window->layoutIfNeeded();
        web()->setFrame(window->bounds());
    }
    ~FieldCaretTest() override {
        Application::shared().setUserInterfaceIdiom(UserInterfaceIdiom::Phone);
    }

    Image picture() { return renderToImage(*window); }

    // The field's view's frame on the screen (its text's box, inside its border and padding).
    Rect fieldBox(const std::string& line) {
        auto view = viewOf(line);
        return view ? view->convertRectTo(view->bounds(), nullptr) : Rect{};
    }

    // The caret near a field: within its box and the border around it, and a little beyond.
    Rect caretNear(const Rect& box) { return caretIn(picture(), box.insetBy(-12, -12)); }

    // A tap of a finger at a point of the screen.
    void tapAt(Point point) { ASSERT_TRUE(driver.dragFinger(point, point)) << driver.outline(); }
};

// Where the caret stands must be upright on the text's line, inside the field's box.
void expectCaretInBox(const Rect& caret, const Rect& box) {
    ASSERT_FALSE(caret.isEmpty()) << "no caret shows";
    EXPECT_LE(caret.width(), 3);
    EXPECT_GE(caret.height(), 14);
    EXPECT_GE(caret.minY(), box.minY() - 1) << "the caret stands above the field's text";
    EXPECT_LE(caret.maxY(), box.maxY() + 1) << "the caret runs down onto the field's border";
    EXPECT_GE(caret.minX(), box.minX() - 1);
    EXPECT_LE(caret.maxX(), box.maxX() + 1) << "the caret stands past the field's right edge";
}

TEST_P(FieldCaretTest, ALongAddressScrollsInsideItsFieldWhichKeepsItsSizeAndItsLabel) {
    open(serve("/mail/signin.html", kSignInPage));
    const Rect account = fieldBox("field account");
    const Rect password = fieldBox("secure field password");
    const Rect label = frameOf("label \"账号\"");
    const Rect below = frameOf("登录后可查看邮件");
    ASSERT_FALSE(account.isEmpty()) << driver.outline();
    ASSERT_FALSE(below.isEmpty()) << driver.outline();
    // About twenty characters wide, beside its label, and within the screen.
    EXPECT_GE(account.width(), 120);
    EXPECT_LE(account.width(), 180);
    EXPECT_LT(label.maxX(), account.minX());
    EXPECT_NEAR(label.midY(), account.midY(), 4);

    ASSERT_TRUE(driver.type("account", kLongAddress)) << driver.outline();
    EXPECT_TRUE(outlineShows(std::string("field account \"") + kLongAddress + "\" (editing)"))
        << driver.outline();
    // Nothing moved: not the field, its label, the next field or the text below.
    EXPECT_EQ(fieldBox("field account"), account);
    EXPECT_EQ(frameOf("label \"账号\""), label);
    EXPECT_EQ(fieldBox("secure field password"), password);
    EXPECT_EQ(frameOf("登录后可查看邮件"), below);

    const Image shot = picture();
    // The address's end shows at the field's right end, the caret just after it, and none of
    // it runs out of the field's border.
    const Rect caret = caretIn(shot, account.insetBy(-12, -12));
    expectCaretInBox(caret, account);
    EXPECT_GE(caret.minX(), account.maxX() - 6) << "the caret does not stand at the text's end";
    const Rect text = textIn(shot, account);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.maxX(), caret.minX() - 4);
    EXPECT_LE(text.minX(), account.minX() + 2) << "the scrolled text does not fill the field";
    const Rect outside{{account.maxX() + 6, account.minY()},
                       {GetParam().size.width - account.maxX() - 6, account.height()}};
    EXPECT_TRUE(textIn(shot, outside).isEmpty()) << "the address runs out of its field";

    // A long password stays in its field too; the address, left, shows from its start, cut
    // at the field's edge.
    ASSERT_TRUE(driver.type("password", "a-long-passphrase-of-many-words-1234567890"));
    EXPECT_EQ(fieldBox("secure field password"), password);
    EXPECT_EQ(frameOf("登录后可查看邮件"), below);
    expectCaretInBox(caretNear(password), password);
    const Image left = picture();
    EXPECT_TRUE(caretIn(left, account.insetBy(-12, -12)).isEmpty());
    const Rect start = textIn(left, account);
    EXPECT_LE(start.minX(), account.minX() + 2);
    EXPECT_GE(start.maxX(), account.maxX() - 3);
    EXPECT_TRUE(textIn(left, outside).isEmpty()) << "the address runs out of its field";
}

TEST_P(FieldCaretTest, TheCaretStandsWhereTheNextCharacterGoes) {
    open(serve("/forms/fields.html", kFieldsPage));
    const Rect box = fieldBox("field name");
    ASSERT_FALSE(box.isEmpty()) << driver.outline();

    // An empty field: at the start, over the placeholder's first character.
    ASSERT_TRUE(driver.tap("name")) << driver.outline();
    Rect caret = caretNear(box);
    expectCaretInBox(caret, box);
    EXPECT_LE(caret.minX(), box.minX() + 2) << "the caret of an empty field is not at its start";

    // After the last character typed.
    ASSERT_TRUE(driver.type("name", "abcdefgh"));
    Image shot = picture();
    caret = caretIn(shot, box.insetBy(-12, -12));
    Rect text = textIn(shot, box);
    expectCaretInBox(caret, box);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(caret.minX(), text.maxX() - 1) << "the caret stands inside the text";
    EXPECT_LE(caret.minX(), text.maxX() + 4) << "the caret stands away from the text's end";

    // A tap in the text's middle puts it there, and typing goes there.
    tapAt(Point{text.midX(), box.midY()});
    shot = picture();
    caret = caretIn(shot, box.insetBy(-12, -12));
    expectCaretInBox(caret, box);
    EXPECT_GT(caret.minX(), text.minX() + 8);
    EXPECT_LT(caret.maxX(), text.maxX() - 8);
    ASSERT_TRUE(driver.type("name", "-"));
    EXPECT_TRUE(outlineShows("field name \"abcd-efgh\" (editing)")) << driver.outline();
}

TEST_P(FieldCaretTest, AFieldsSizeAttributeSetsItsWidth) {
    open(serve("/forms/fields.html", kFieldsPage));
    const Rect usual = fieldBox("field name");
    const Rect narrow = fieldBox("field narrow");
    // size="8" against the usual twenty characters.
    EXPECT_NEAR(narrow.width() / usual.width(), 8.0 / 20.0, 0.05);
    const Rect advice = fieldBox("text area advice");
    const Rect wide = fieldBox("text area wide");
    EXPECT_NEAR(wide.width() / advice.width(), 30.0 / 20.0, 0.05);
    EXPECT_NEAR(wide.height() / advice.height(), 5.0 / 3.0, 0.05);
}

TEST_P(FieldCaretTest, DeletingFromALongTextKeepsItsEndAtTheFieldsEnd) {
    open(serve("/forms/fields.html", kFieldsPage));
    const Rect box = fieldBox("field name");
    ASSERT_TRUE(driver.type("name", "0123456789 0123456789 0123456789 0123456789"));
    // The screen is drawn after every key, as the phone's is.
    expectCaretInBox(caretNear(box), box);
    auto field = std::dynamic_pointer_cast<TextField>(viewOf("field name"));
    ASSERT_TRUE(field);
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(field->deleteBackward());
        picture();
    }
    // Still longer than the field: its end stays at the field's end, with no gap after it.
    const Image shot = picture();
    const Rect caret = caretIn(shot, box.insetBy(-12, -12));
    expectCaretInBox(caret, box);
    EXPECT_GE(caret.minX(), box.maxX() - 6) << "the text scrolled past its end";
    EXPECT_GE(textIn(shot, box).maxX(), caret.minX() - 4);
    EXPECT_LE(textIn(shot, box).minX(), box.minX() + 2);
}

TEST_P(FieldCaretTest, ATextAreaWrapsItsTextAndItsCaretFollowsEveryLine) {
    open(serve("/forms/fields.html", kFieldsPage));
    const Rect box = fieldBox("text area advice");
    const Rect below = frameOf("完");
    ASSERT_FALSE(box.isEmpty()) << driver.outline();

    ASSERT_TRUE(driver.tap("advice")) << driver.outline();
    Rect caret = caretNear(box);
    expectCaretInBox(caret, box);
    EXPECT_LE(caret.minX(), box.minX() + 2);
    EXPECT_LE(caret.minY(), box.minY() + 4) << "the caret of an empty text area is not on its top";
    const double line = caret.height();

    // A line longer than the box wraps: the caret follows on the second line, after its end.
    ASSERT_TRUE(driver.type("advice", "食堂饭菜可口价格合理实惠服务周到环境整洁明亮"));
    Image shot = picture();
    caret = caretIn(shot, box.insetBy(-12, -12));
    expectCaretInBox(caret, box);
    EXPECT_GT(caret.minY(), box.minY() + line * 0.6) << "the caret stayed on the first line";
    Rect row = textIn(shot, Rect{{box.minX(), caret.minY()}, {box.width(), caret.height()}});
    ASSERT_FALSE(row.isEmpty()) << "no text on the caret's line";
    EXPECT_GE(caret.minX(), row.maxX() - 1);
    EXPECT_LE(caret.minX(), row.maxX() + 4) << "the caret stands away from the wrapped line's end";
    EXPECT_LE(textIn(shot, Rect{{box.maxX() + 6, box.minY()}, {40, box.height()}}).width(), 0)
        << "the text runs out of its box";
    const double second = caret.minY();

    // Return, then a character: the caret on the next line, after that character.
    ASSERT_TRUE(driver.type("advice", "\n"));
    caret = caretNear(box);
    expectCaretInBox(caret, box);
    EXPECT_GT(caret.minY(), second + line * 0.6) << "the caret stayed on the line above";
    EXPECT_LE(caret.minX(), box.minX() + 2);
    ASSERT_TRUE(driver.type("advice", "好"));
    shot = picture();
    caret = caretIn(shot, box.insetBy(-12, -12));
    expectCaretInBox(caret, box);
    EXPECT_GT(caret.minY(), second + line * 0.6);
    row = textIn(shot, Rect{{box.minX(), caret.minY()}, {box.width(), caret.height()}});
    EXPECT_GE(caret.minX(), row.maxX() - 1);
    EXPECT_LE(caret.minX(), row.maxX() + 4);

    // A tap in the middle of the first line puts the caret there, and typing goes there.
    const Rect first = textIn(shot, Rect{{box.minX(), box.minY()}, {box.width(), line}});
    tapAt(Point{first.minX() + 3 * (first.width() / 12), first.midY()});
    caret = caretNear(box);
    expectCaretInBox(caret, box);
    EXPECT_LT(caret.minY(), box.minY() + line * 0.6) << "the caret is not on the line tapped";
    EXPECT_NEAR(caret.midX(), first.minX() + 3 * (first.width() / 12), first.width() / 12);
    ASSERT_TRUE(driver.type("advice", "很"));
    EXPECT_TRUE(outlineShows("text area advice \"食堂饭很菜可口")) << driver.outline();
    auto area = std::dynamic_pointer_cast<TextView>(viewOf("text area advice"));
    ASSERT_TRUE(area);
    area->setInsertionPoint(utf16Length(area->text()));

    // More lines than the box holds: it scrolls down to the caret and keeps its size.
    ASSERT_TRUE(driver.type("advice", "\n三\n四\n五"));
    caret = caretNear(box);
    expectCaretInBox(caret, box);
    EXPECT_GE(caret.maxY(), box.maxY() - line) << "the caret is not on the last line shown";
    EXPECT_EQ(fieldBox("text area advice"), box);
    EXPECT_EQ(frameOf("完"), below);
}

TEST_P(FieldCaretTest, AFieldsTextTakesThePagesFontAndColour) {
    open(serve("/forms/styled.html",
               "<p><input style=\"font-size: 24px; color: #c00000\" id=\"big\" "
               "name=\"big\"></p><p><input id=\"usual\" name=\"usual\" "
               "style=\"font-size: 15px; color: black\"></p>"
               "<p><textarea style=\"font-size: 24px; color: #c00000\" id=\"note\" "
               "name=\"note\"></textarea></p>"));
    ASSERT_TRUE(driver.type("big", "HHHH"));
    ASSERT_TRUE(driver.type("usual", "HHHH"));
    ASSERT_TRUE(driver.type("note", "HHHH"));
    const Image shot = picture();
    auto red = [](std::uint32_t argb) {
        return int((argb >> 16) & 0xff) > 150 && int((argb >> 8) & 0xff) < 80 &&
               int(argb & 0xff) < 80;
    };
    const Rect big = testsupport::inkBounds(shot, fieldBox("field big"), red);
    const Rect usual = textIn(shot, fieldBox("field usual"));
    const Rect note = testsupport::inkBounds(shot, fieldBox("text area note"), red);
    ASSERT_FALSE(big.isEmpty()) << "the field's text is not in the page's colour";
    ASSERT_FALSE(note.isEmpty()) << "the text area's text is not in the page's colour";
    ASSERT_FALSE(usual.isEmpty());
    EXPECT_NEAR(big.height() / usual.height(), 24.0 / 15.0, 0.2);
    EXPECT_NEAR(note.height() / usual.height(), 24.0 / 15.0, 0.2);
}

TEST_P(FieldCaretTest, APasswordShowsTheSameDotsWhateverItHolds) {
    open(serve("/forms/passwords.html", kPasswordsPage));
    const Rect thin = fieldBox("secure field thin");
    const Rect broad = fieldBox("secure field broad");
    const Rect clear = fieldBox("field clear");
    ASSERT_EQ(thin.size, broad.size) << driver.outline();
    const Image shot = picture();
    // "iiiiii" and "WWWWWW" look alike as dots, and unlike the letters a text field shows.
    const Rect dots = textIn(shot, thin);
    ASSERT_FALSE(dots.isEmpty());
    bool same = true;
    bool likeClear = true;
    for (int y = 0; y < int(thin.height()); ++y) {
        for (int x = 0; x < int(thin.width()); ++x) {
            const int tx = int(thin.minX()) + x, ty = int(thin.minY()) + y;
            same = same && shot.pixelAt(tx, ty) ==
                               shot.pixelAt(int(broad.minX()) + x, int(broad.minY()) + y);
            likeClear = likeClear && shot.pixelAt(int(broad.minX()) + x, int(broad.minY()) + y) ==
                                         shot.pixelAt(int(clear.minX()) + x, int(clear.minY()) + y);
        }
    }
    EXPECT_TRUE(same) << "a password's letters show through its dots";
    EXPECT_FALSE(likeClear) << "a password shows as its letters";
}

INSTANTIATE_TEST_SUITE_P(Screens, FieldCaretTest,
                         ::testing::Values(Screen{"small", Size{320, 568}, false},
                                           Screen{"usual", Size{375, 667}, false},
                                           Screen{"tablet", Size{768, 1024}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
