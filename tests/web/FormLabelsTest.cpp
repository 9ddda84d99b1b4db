// Labels, limits and read-only fields of a page's forms, on the small phone, the phone and the
// tablet: what a tap on a label's words does, what typing and pasting put into a field with
// maxlength, what a read-only or disabled field shows and sends, how a select's list marks
// the choice made, and which keyboard a field's type raises. Read from the outline, the
// pixels and what the server received.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/RecordedRequest.h"
#include "platform/graphics/Image.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "tests/support/ScreenCheck.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

constexpr const char* kLabelsPage = R"HTML(<title>Labels</title>
<form method="post" action="/forms/sent">
<p><label><input type="checkbox" name="agree" value="yes">同意条款</label></p>
<p><label><input type="radio" name="grade" value="1">一年级</label>
<label><input type="radio" name="grade" value="2">二年级</label></p>
<p><label>姓名 <input name="who" id="who"></label></p>
<p><label for="notes">说明</label></p>
<p id="notes">填写须知</p>
<p><input type="submit" value="提交"></p>
</form>)HTML";

constexpr const char* kLimitsPage = R"HTML(<title>Limits</title>
<form method="post" action="/forms/sent">
<p><input name="short" id="short" maxlength="4"></p>
<p><input name="wide" id="wide" maxlength=" 5"></p>
<p><textarea name="memo" id="memo" maxlength="6"></textarea></p>
<p><input name="free" id="free" maxlength="x"></p>
</form>)HTML";

constexpr const char* kReadOnlyPage = R"HTML(<title>Read only</title>
<form method="post" action="/forms/sent">
<p><input name="code" id="code" value="A100" readonly></p>
<p><textarea name="memo" id="memo" readonly>只读说明</textarea></p>
<p><input name="live" id="live" value="A100"></p>
<p><input name="off" id="off" value="A100" disabled></p>
<p><input type="checkbox" name="c1" id="c1" checked disabled>
<input type="checkbox" name="c2" id="c2" checked></p>
<p><input type="submit" id="go" value="提交"></p>
</form>)HTML";

constexpr const char* kChoicePage = R"HTML(<title>Choice</title>
<form><select id="when" name="when"><option>现在</option><option value="later">稍后</option>
<option>明天</option></select></form>)HTML";

constexpr const char* kKeyboardsPage = R"HTML(<title>Keyboards</title>
<form><p><input type="tel" id="phone" name="phone"></p>
<p><input type="number" id="count" name="count"></p>
<p><input type="email" id="mail" name="mail"></p>
<p><input id="plain" name="plain"></p></form>)HTML";

class FormLabelsTest : public pagetest::PageEngineTest {
protected:
    FormLabelsTest() {
        server.setReply("POST", "/forms/sent",
                        fakes::Reply{200, "text/html;charset=UTF-8", "<title>Sent</title>"});
    }

    // Opens the page on each of the three screens in turn (the tablet as a tablet) and runs
    // the check there.
    template <typename Check>
    void onEachScreen(const std::string& url, Check check) {
        for (const Size size : testsupport::kPhoneAndTabletScreens) {
            SCOPED_TRACE(std::to_string(int(size.width)) + "x" + std::to_string(int(size.height)));
            Application::shared().setUserInterfaceIdiom(
                size.width >= 768 ? UserInterfaceIdiom::Pad : UserInterfaceIdiom::Phone);
            platform::testing::useScreen(size.width, size.height);
            window->layoutIfNeeded();
            web()->setFrame(screen->view()->bounds());
            open(url);
            web()->layoutIfNeeded();
            check(size);
        }
    }

    Entries sentForm() {
        auto requests = server.requestsTo("/forms/sent");
        return requests.empty() ? Entries{} : fakes::decodeQuery("?" + requests.back().body);
    }

    // The view's frame on the screen; empty when none shows.
    Rect onScreenFrame(const std::string& line) {
        auto view = viewOf(line);
        return view ? testsupport::onScreen(*view) : Rect{};
    }

    // The frame on the screen of the view anywhere in the window (a popover's row) whose
    // outline line is `line`; empty when none shows.
    Rect onScreenInWindow(const std::string& line) {
        std::function<Rect(const View&)> find = [&](const View& view) -> Rect {
            if (view.isHidden()) {
                return Rect{};
            }
            if (view.describe() == line) {
                return testsupport::onScreen(view);
            }
            for (const auto& child : view.subviews()) {
                if (const Rect found = find(*child); !found.isEmpty()) {
                    return found;
                }
            }
            return Rect{};
        };
        return find(*window);
    }

    // A finger put down and lifted at the point, as on the words of a label.
    bool tapAt(Point point) { return bool(driver.dragFinger(point, point)); }

    // The screen as the user sees it, the keyboard and any sheet included.
    Image shown() { return testsupport::screenImage(*window); }

    // Pixels of the area (inset by 2) that are dark ink, mid-grey ink, and the check's blue.
    struct Ink {
        int dark = 0;
        int grey = 0;
        int blue = 0;
    };
    static Ink inkIn(const Image& picture, const Rect& area) {
        Ink ink;
        for (int y = int(area.minY()) + 2; y < int(area.maxY()) - 2; ++y) {
            for (int x = int(area.minX()) + 2; x < int(area.maxX()) - 2; ++x) {
                const std::uint32_t argb = picture.pixelAt(x, y);
                const int r = (argb >> 16) & 0xff;
                const int g = (argb >> 8) & 0xff;
                const int b = argb & 0xff;
                ink.dark += r + g + b < 3 * 100 ? 1 : 0;
                ink.grey +=
                    r + g + b >= 3 * 100 && r + g + b < 3 * 215 && std::abs(r - b) < 20 ? 1 : 0;
                ink.blue += b > 180 && r < 80 ? 1 : 0;
            }
        }
        return ink;
    }

    // How many keys the keyboard shows across the row at height y: runs of key colour
    // parted by the tray's blue-grey (two pixels of it at least, so that no pixel of a key's
    // title passes for the tray).
    static int keysAcross(const Image& picture, double y) {
        int keys = 0;
        int trayRun = 2;
        for (int x = 0; x < picture.pixelWidth(); ++x) {
            const std::uint32_t argb = picture.pixelAt(x, int(y));
            const int r = (argb >> 16) & 0xff;
            const int g = (argb >> 8) & 0xff;
            const int b = argb & 0xff;
            const bool tray =
                std::abs(r - 209) <= 2 && std::abs(g - 214) <= 2 && std::abs(b - 219) <= 2;
            if (!tray && trayRun >= 2) {
                ++keys;
            }
            trayRun = tray ? trayRun + 1 : 0;
        }
        return keys;
    }
};

TEST_F(FormLabelsTest, ATapOnTheWordsOfALabelAroundAControlActsOnTheControl) {
    onEachScreen(serve("/forms/labels.html", kLabelsPage), [&](Size) {
        // The label's words: right of the box it holds, left of the field it holds.
        const Rect agree = onScreenFrame("label \"同意条款\"");
        ASSERT_FALSE(agree.isEmpty()) << driver.outline();
        const Rect box = onScreenFrame("checkbox agree");
        ASSERT_FALSE(box.isEmpty()) << driver.outline();
        EXPECT_EQ(inkIn(shown(), box).blue, 0);
        ASSERT_TRUE(tapAt({agree.maxX() - 4, agree.midY()}));
        EXPECT_TRUE(outlineShows("checkbox agree \"yes\" (checked)")) << driver.outline();
        EXPECT_GT(inkIn(shown(), box).blue, 20) << "the box is drawn ticked";

        const Rect second = onScreenFrame("label \"二年级\"");
        ASSERT_FALSE(second.isEmpty()) << driver.outline();
        ASSERT_TRUE(tapAt({second.maxX() - 4, second.midY()}));
        EXPECT_TRUE(outlineShows("radio grade \"2\" (checked)")) << driver.outline();
        EXPECT_FALSE(outlineShows("radio grade \"1\" (checked)")) << driver.outline();

        const Rect name = onScreenFrame("label \"姓名\"");
        ASSERT_FALSE(name.isEmpty()) << driver.outline();
        ASSERT_TRUE(tapAt({name.minX() + 4, name.midY()}));
        EXPECT_TRUE(outlineShows("field who \"\" (editing)")) << driver.outline();
        EXPECT_TRUE(Keyboard::isVisible());

        // A label naming what is no control is only words: a tap there changes nothing.
        EXPECT_FALSE(outlineShows("label \"说明\"")) << driver.outline();
        EXPECT_TRUE(outlineShows("说明")) << driver.outline();

        ASSERT_TRUE(driver.type("who", "王五"));
        ASSERT_TRUE(driver.pressReturn());
        ASSERT_TRUE(settle());
        EXPECT_EQ(sentForm(), (Entries{{"agree", "yes"}, {"grade", "2"}, {"who", "王五"}}));
    });
}

TEST_F(FormLabelsTest, ALinkInsideALabelIsFollowedAndTheWordsBesideItTickTheBox) {
    serve("/forms/terms.html", "<title>Terms</title><p>条款全文</p>");
    onEachScreen(
        serve("/forms/consent.html",
              "<title>Consent</title><form><p><label><input type=\"checkbox\" "
              "name=\"read\" id=\"read\">我已阅读<a href=\"/forms/terms.html\">用户协议</a>"
              "</label></p></form>"),
        [&](Size) {
            const Rect label = onScreenFrame("label \"我已阅读用户协议\"");
            ASSERT_FALSE(label.isEmpty()) << driver.outline();
            const Rect link = onScreenFrame("link \"用户协议\"");
            ASSERT_FALSE(link.isEmpty()) << driver.outline();
            // The words before the link tick the box; the link is followed.
            ASSERT_TRUE(tapAt({link.minX() - 10, link.midY()}));
            EXPECT_TRUE(outlineShows("checkbox read \"on\" (checked)")) << driver.outline();
            ASSERT_TRUE(tapAt({link.midX(), link.midY()}));
            ASSERT_TRUE(settle());
            EXPECT_EQ(web()->pageTitle(), "Terms");
        });
}

TEST_F(FormLabelsTest, MaxlengthLimitsWhatTypingAndPastingPutInAsABrowserCounts) {
    onEachScreen(serve("/forms/limits.html", kLimitsPage), [&](Size) {
        // At the limit the text is whole; past it, the rest is not taken.
        ASSERT_TRUE(driver.type("short", "abcd"));
        EXPECT_TRUE(outlineShows("field short \"abcd\" (editing)")) << driver.outline();
        driver.type("short", "efgh");
        EXPECT_TRUE(outlineShows("field short \"abcd\" (editing)")) << driver.outline();
        // A paste over the text keeps what fits.
        auto field = std::dynamic_pointer_cast<TextField>(driver.findByHandle("short"));
        ASSERT_TRUE(field);
        field->replaceCharacters(TextRange{0, 4}, "123456");
        EXPECT_EQ(field->text(), "1234");

        // Counted in UTF-16 units: an emoji is two, and is not cut in half.
        driver.type("wide", "ab😀😀");
        EXPECT_TRUE(outlineShows("field wide \"ab😀\" (editing)")) << driver.outline();
        driver.type("memo", "第一行\n第二行");
        EXPECT_TRUE(outlineShows("text area memo \"第一行\\n第二\" (editing)")) << driver.outline();
        // A maxlength that is no number sets no limit.
        ASSERT_TRUE(driver.type("free", "一二三四五六七八九十"));

        // Return sends the form, which has no button.
        ASSERT_TRUE(driver.pressReturn());
        ASSERT_TRUE(settle());
        EXPECT_EQ(sentForm(), (Entries{{"short", "1234"},
                                       {"wide", "ab😀"},
                                       {"memo", "第一行\r\n第二"},
                                       {"free", "一二三四五六七八九十"}}));
    });
}

TEST_F(FormLabelsTest, AReadOnlyFieldShowsItsValueTakesNoTypingAndIsSent) {
    onEachScreen(serve("/forms/readonly.html", kReadOnlyPage), [&](Size) {
        EXPECT_TRUE(outlineShows("field code \"A100\" (read-only)")) << driver.outline();
        driver.tap("code");
        EXPECT_FALSE(Keyboard::isVisible());
        EXPECT_FALSE(driver.type("code", "9"));
        driver.tap("memo");
        EXPECT_FALSE(Keyboard::isVisible());
        EXPECT_FALSE(driver.type("memo", "改"));
        EXPECT_TRUE(outlineShows("text area memo \"只读说明\" (read-only)")) << driver.outline();

        // Its text is drawn as an editable field's is; a disabled field's is greyed.
        const Image picture = shown();
        const Ink readOnly = inkIn(picture, onScreenFrame("field code"));
        const Ink live = inkIn(picture, onScreenFrame("field live"));
        const Ink off = inkIn(picture, onScreenFrame("field off"));
        EXPECT_GT(live.dark, 10);
        EXPECT_GT(readOnly.dark, 10);
        EXPECT_EQ(off.dark, 0) << "a disabled field's text is grey";
        EXPECT_GT(off.grey, 10);
        // A disabled ticked box is grey, not the tick's blue.
        EXPECT_GT(inkIn(picture, onScreenFrame("checkbox c2")).blue, 20);
        EXPECT_EQ(inkIn(picture, onScreenFrame("checkbox c1")).blue, 0);

        ASSERT_TRUE(driver.tap("提交")) << driver.outline();
        ASSERT_TRUE(settle());
        EXPECT_EQ(
            sentForm(),
            (Entries{{"code", "A100"}, {"memo", "只读说明"}, {"live", "A100"}, {"c2", "on"}}));
    });
}

TEST_F(FormLabelsTest, TheListOfASelectMarksTheChoiceMade) {
    onEachScreen(serve("/forms/choice.html", kChoicePage), [&](Size size) {
        const bool tablet = size.width >= 768;
        const Rect select = onScreenFrame("select when");
        ASSERT_TRUE(driver.tap("when")) << driver.outline();
        if (!tablet) {
            EXPECT_TRUE(outlineShows("[现在 ✓] [稍后] [明天]")) << driver.outline();
        } else {
            EXPECT_TRUE(outlineShows("button \"现在 ✓\"\n")) << driver.outline();
            EXPECT_TRUE(outlineShows("button \"稍后\"\n")) << driver.outline();
            // The popover's arrow points at the select without covering its text: under the
            // dimmed screen nothing of the select is drawn in the panel's white.
            const Image open = shown();
            int white = 0;
            for (int y = int(select.minY()); y < int(select.maxY()); ++y) {
                for (int x = int(select.minX()); x < int(select.maxX()); ++x) {
                    white += (open.pixelAt(x, y) & 0xffffff) == 0xffffff ? 1 : 0;
                }
            }
            EXPECT_EQ(white, 0);
        }
        const Image before = shown();
        ASSERT_TRUE(tablet ? driver.tap("稍后") : driver.pressAlertButton("稍后"));
        EXPECT_TRUE(outlineShows("select when \"稍后\"")) << driver.outline();
        ASSERT_TRUE(driver.tap("when")) << driver.outline();
        if (!tablet) {
            EXPECT_TRUE(outlineShows("[现在] [稍后 ✓] [明天]")) << driver.outline();
        } else {
            EXPECT_TRUE(outlineShows("button \"稍后 ✓\"\n")) << driver.outline();
            EXPECT_TRUE(outlineShows("button \"现在\"\n")) << driver.outline();
            // The mark is drawn in the tint at the chosen row's right end.
            const Rect row = onScreenInWindow("button \"稍后 ✓\"");
            ASSERT_FALSE(row.isEmpty()) << driver.outline();
            const Rect end{{row.maxX() - 40, row.minY()}, {40, row.height()}};
            EXPECT_GT(inkIn(shown(), end).blue, 10);
            const Rect other = onScreenInWindow("button \"现在\"");
            ASSERT_FALSE(other.isEmpty()) << driver.outline();
            EXPECT_EQ(
                inkIn(shown(), Rect{{other.maxX() - 40, other.minY()}, {40, other.height()}}).blue,
                0);
        }
        // The mark moved: the list is drawn otherwise than when 现在 was the choice.
        const Image after = shown();
        int changed = 0;
        for (int y = 0; y < after.pixelHeight(); ++y) {
            for (int x = 0; x < after.pixelWidth(); ++x) {
                changed += after.pixelAt(x, y) != before.pixelAt(x, y) ? 1 : 0;
            }
        }
        EXPECT_GT(changed, 30);
        ASSERT_TRUE(tablet ? driver.tap("明天") : driver.pressAlertButton("明天"));
    });
}

TEST_F(FormLabelsTest, AFieldsTypeChoosesTheKeyboard) {
    onEachScreen(serve("/forms/keyboards.html", kKeyboardsPage), [&](Size) {
        ASSERT_TRUE(driver.tap("plain"));
        ASSERT_TRUE(Keyboard::isVisible());
        EXPECT_TRUE(outlineShows("keyboard")) << driver.outline();
        EXPECT_FALSE(outlineShows("keyboard (")) << driver.outline();
        const auto keysOf = [&](double rowFromBottom) {
            // The keys that type, under the form bar's.
            auto keys = Keyboard::keys();
            std::erase_if(keys, [](const KeyboardKey& key) {
                return key.kind == KeyboardKey::Kind::Previous ||
                       key.kind == KeyboardKey::Kind::Next || key.kind == KeyboardKey::Kind::Done;
            });
            const double y =
                rowFromBottom == 0 ? keys.front().frame.minY() + 10 : keys.back().frame.minY() + 10;
            return keysAcross(shown(), y);
        };
        EXPECT_EQ(keysOf(0), 10) << "a row of ten digits over the letters";
        EXPECT_EQ(keysOf(1), 3) << "@, space and return";

        // The phone's digit pad for a telephone number: three keys across.
        ASSERT_TRUE(driver.tap("phone"));
        EXPECT_TRUE(outlineShows("keyboard (digits)")) << driver.outline();
        EXPECT_EQ(keysOf(0), 3);
        for (const auto& key : Keyboard::keys()) {
            EXPECT_TRUE(key.title.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos)
                << key.title;
        }
        ASSERT_TRUE(driver.type("phone", "13900004567"));
        EXPECT_TRUE(outlineShows("field phone \"13900004567\"")) << driver.outline();

        // Digits and the punctuation of numbers, no letters, for a number.
        ASSERT_TRUE(driver.tap("count"));
        EXPECT_TRUE(outlineShows("keyboard (numbers)")) << driver.outline();
        EXPECT_EQ(keysOf(0), 10);
        for (const auto& key : Keyboard::keys()) {
            EXPECT_TRUE(key.title.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos)
                << key.title;
        }

        // "@" and "." beside the space bar for an address.
        ASSERT_TRUE(driver.tap("mail"));
        EXPECT_TRUE(outlineShows("keyboard (email)")) << driver.outline();
        EXPECT_EQ(keysOf(1), 4);
        std::vector<std::string> bottom;
        for (const auto& key : Keyboard::keys()) {
            if (key.frame.minY() == Keyboard::keys().back().frame.minY()) {
                bottom.push_back(key.title);
            }
        }
        EXPECT_EQ(bottom, (std::vector<std::string>{"@", "空格", ".", "前往"}));
    });
}

TEST_F(FormLabelsTest, APasteOfEmojiIsCutAtAWholeEmojiCountedInUtf16Units) {
    open(serve("/forms/emoji.html",
               "<title>Emoji</title><form><input id=\"mood\" name=\"mood\" maxlength=\"5\">"
               "<textarea id=\"why\" name=\"why\" maxlength=\"5\"></textarea></form>"));
    ASSERT_TRUE(driver.tap("mood")) << driver.outline();
    auto field = std::dynamic_pointer_cast<TextField>(driver.findByHandle("mood"));
    ASSERT_TRUE(field);
    // Three emoji are six units: two fit in five, the third is not split.
    field->replaceCharacters(TextRange{0, 0}, "😀😀😀");
    EXPECT_EQ(field->text(), "😀😀");
    EXPECT_EQ(eval("document.getElementById('mood').value"), "😀😀");

    ASSERT_TRUE(driver.tap("why")) << driver.outline();
    auto area = std::dynamic_pointer_cast<TextView>(driver.findByHandle("why"));
    ASSERT_TRUE(area);
    area->replaceText(TextRange{0, 0}, "a😀😀😀");
    EXPECT_EQ(area->text(), "a😀😀");
    EXPECT_EQ(eval("document.getElementById('why').value"), "a😀😀");
}

TEST_F(FormLabelsTest, ALabelAroundAHiddenControlActsOnNoOtherControl) {
    open(serve("/forms/hidden-label.html",
               "<title>Hidden</title><form><p><label><input type=\"checkbox\" id=\"gone\" "
               "name=\"gone\" hidden>隐藏项 <input type=\"checkbox\" id=\"next\" "
               "name=\"next\"></label></p><p><label><input type=\"hidden\" name=\"t\" "
               "value=\"1\">记住我 <input type=\"checkbox\" id=\"keep\" name=\"keep\">"
               "</label></p></form>"));
    // The label's control is the hidden box: its words are only words on the screen, and a tap
    // on them does not tick the box after it.
    EXPECT_FALSE(outlineShows("label \"隐藏项\"")) << driver.outline();
    ASSERT_TRUE(driver.tap("隐藏项")) << driver.outline();
    EXPECT_EQ(eval("document.getElementById('next').checked"), "false");
    EXPECT_TRUE(outlineShows("checkbox next \"on\"\n")) << driver.outline();
    // A hidden input is no control a label could name: the box after it is the label's.
    ASSERT_TRUE(driver.tap("记住我")) << driver.outline();
    EXPECT_TRUE(outlineShows("checkbox keep \"on\" (checked)")) << driver.outline();
}

// A size, cols or rows no screen could show is held to what one could: the page is still laid
// out, with what follows the fields.
TEST_F(FormLabelsTest, AFieldsSizeColsAndRowsAreHeldToWhatAScreenCouldShow) {
    open(serve("/forms/huge.html",
               "<title>Huge</title><form><p><input id=\"wide\" name=\"wide\" "
               "size=\"99999999\"></p><p><textarea id=\"big\" name=\"big\" cols=\"99999999\" "
               "rows=\"99999999\"></textarea></p></form><p id=\"after\">表单之后</p>"));
    const Rect wide = frameOf("field wide");
    const Rect big = frameOf("text area big");
    ASSERT_FALSE(wide.isEmpty()) << driver.outline();
    ASSERT_FALSE(big.isEmpty()) << driver.outline();
    // Wider than the screen, as a browser draws a large size, but within bounds.
    EXPECT_GT(wide.width(), 375);
    EXPECT_LT(wide.width(), 20000);
    EXPECT_GT(big.width(), 375);
    EXPECT_LT(big.width(), 20000);
    EXPECT_GT(big.height(), 2400);
    EXPECT_LT(big.height(), 40000);
    const Rect after = frameOf("表单之后");
    EXPECT_GT(after.minY(), big.maxY() - 1);
    EXPECT_LT(web()->scrollView()->contentSize().height, 50000);
}

}  // namespace

namespace {

// The page itself holds the limits, whoever edits its fields: an edit past maxlength that
// grows the value, or any edit of a read-only or disabled field, leaves the value as it was.
TEST(FormLimitsInThePage, EditsPastTheLimitOrOfAFieldNotToBeChangedAreRefused) {
    WebPage page(
        "<title>Limits</title><form><input id=\"short\" maxlength=\"4\" value=\"abcdef\">"
        "<input id=\"code\" value=\"A100\" readonly><input id=\"off\" value=\"A100\" disabled>"
        "<textarea id=\"memo\" maxlength=\"2\"></textarea></form>",
        "http://campus.invalid/limits.html", "", [](const std::string&) {});
    std::vector<WebPage::Item> shown;
    page.layoutHTML(&shown);
    const auto item = [&](const std::string& id) {
        const auto found = std::find_if(shown.begin(), shown.end(),
                                        [&](const WebPage::Item& it) { return it.id == id; });
        return found == shown.end() ? std::optional<WebPage::Item>{} : page.itemOf(found->node);
    };
    const auto node = [&](const std::string& id) { return item(id) ? item(id)->node : -1; };
    EXPECT_EQ(item("short")->maxLength, 4);
    EXPECT_TRUE(item("code")->readOnly);

    // A value the page wrote past the limit may still be shortened, not lengthened.
    page.editField(node("short"), "abcde");
    EXPECT_EQ(item("short")->text, "abcde");
    page.editField(node("short"), "abcdeX");
    EXPECT_EQ(item("short")->text, "abcde");
    page.editField(node("short"), "ab");
    page.editField(node("short"), "abcd");
    EXPECT_EQ(item("short")->text, "abcd");
    page.editField(node("short"), "abcdX");
    EXPECT_EQ(item("short")->text, "abcd");
    page.editField(node("memo"), "😀");
    EXPECT_EQ(item("memo")->text, "😀");
    page.editField(node("memo"), "😀a");
    EXPECT_EQ(item("memo")->text, "😀");

    page.editField(node("code"), "B200");
    page.editField(node("off"), "B200");
    EXPECT_EQ(item("code")->text, "A100");
    EXPECT_EQ(item("off")->text, "A100");
}

}  // namespace
