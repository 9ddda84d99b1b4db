// A page's forms as a user fills them in and its scripts see them: typing, ticking, choosing
// and sending, read from the outline, the page's scripts, the picture and what the server got.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "fakes/RecordedRequest.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScrollView.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

constexpr const char* kOrderPage = R"HTML(<title>Order</title>
<form id="f" method="post" action="/forms/sent">
<input type="hidden" name="token" value="t&amp;1">
<p><label for="who">姓名</label> <input type="text" id="who" name="who" placeholder="请输入姓名"></p>
<p><input type="password" id="pw" name="pw"></p>
<p><input type="radio" name="size" id="big" value="大"><label for="big">大杯</label>
<input type="radio" name="size" id="small" value="小" checked><label for="small">小杯</label></p>
<p><input type="checkbox" id="ice" name="ice" value="加冰"><label for="ice">加冰</label></p>
<p><select id="when" name="when"><option>现在</option><option value="later">稍后</option></select></p>
<p><textarea id="note" name="note" placeholder="备注"></textarea></p>
<p><input type="text" id="off" name="off" value="不发送" disabled></p>
<p id="log">-</p>
<input type="submit" id="go" name="action" value="下单">
</form>
<script>
var log = [];
function note(text) { log.push(text); document.getElementById('log').innerText = log.join(' '); }
var who = document.getElementById('who');
who.onfocus = function () { note('focus'); };
who.addEventListener('input', function () { note('input:' + who.value); });
who.onchange = function () { note('change'); };
who.onblur = function () { note('blur'); };
document.getElementById('ice').addEventListener('change', function (e) {
  note('ice:' + e.target.checked);
});
document.getElementById('when').onchange = function () {
  note('when:' + this.selectedIndex + ':' + this.value);
};
document.getElementById('f').onsubmit = function () { note('submit'); };
</script>)HTML";

// A field low on a tall page, whose focus, change and blur the page writes down.
constexpr const char* kLowFieldPage = R"HTML(<title>Low</title>
<button type="button" onclick="act()">去留言</button>
<div style="height:2250px">top</div>
<form><input id="low" name="low" placeholder="留言"><input id="off" name="off" disabled>
<input id="more" name="more"><input type="checkbox" id="box" name="box"><p id="words">-</p></form>
<script>
var log = [];
var act = function () {};
var low = document.getElementById('low');
['focus', 'change', 'blur'].forEach(function (type) {
  low.addEventListener(type, function () { log.push(type); });
});
</script>)HTML";

class PageFormsTest : public pagetest::PageEngineTest {
protected:
    PageFormsTest() {
        server.setReply("POST", "/forms/sent",
                        fakes::Reply{200, "text/html;charset=UTF-8", "<title>Sent</title>"});
    }

    std::string logShown() { return eval("document.getElementById('log').innerText"); }

    // Runs the script with $(id) for the page's elements.
    std::string js(const std::string& script) {
        return eval("function $(id) { return document.getElementById(id); }\n" + script);
    }

    // The form the server got, decoded.
    std::vector<std::pair<std::string, std::string>> sentForm() {
        auto requests = server.requestsTo("/forms/sent");
        if (requests.empty()) {
            return {};
        }
        return fakes::decodeQuery("?" + requests.back().body);
    }

    // How many pixels of the area are not white, and how many are the caret's blue.
    static std::pair<int, int> paintIn(const Image& picture, const Rect& area) {
        int painted = 0;
        int blue = 0;
        for (int y = int(area.minY()) + 2; y < int(area.maxY()) - 2; ++y) {
            for (int x = int(area.minX()) + 2; x < int(area.maxX()) - 2; ++x) {
                const std::uint32_t argb = picture.pixelAt(x, y);
                const int r = (argb >> 16) & 0xff;
                const int g = (argb >> 8) & 0xff;
                const int b = argb & 0xff;
                painted += r + g + b < 3 * 245 ? 1 : 0;
                blue += b > 200 && r < 80 ? 1 : 0;
            }
        }
        return {painted, blue};
    }
};

TEST_F(PageFormsTest, AFilledFormIsSentWithEveryAnswerAndTheScriptsHearEachStep) {
    open(serve("/forms/order.html", kOrderPage));
    EXPECT_TRUE(outlineShows("who  field who placeholder \"请输入姓名\"")) << driver.outline();
    EXPECT_TRUE(outlineShows("radio size \"小\" (checked)")) << driver.outline();
    EXPECT_TRUE(outlineShows("select when \"现在\"")) << driver.outline();

    ASSERT_TRUE(driver.type("who", "王五")) << driver.outline();
    EXPECT_TRUE(outlineShows("field who \"王五\" (editing)")) << driver.outline();
    EXPECT_TRUE(Keyboard::isVisible());
    ASSERT_TRUE(driver.type("pw", "a&b")) << driver.outline();
    EXPECT_TRUE(outlineShows("secure field pw \"•••\" (editing)")) << driver.outline();
    // A tap on a label ticks its box; the field being edited loses the focus first.
    const auto ticked = driver.tap("加冰");
    ASSERT_TRUE(ticked) << ticked << "\n" << driver.outline();
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_EQ(logShown(), "focus input:王 input:王五 change blur ice:true");
    EXPECT_TRUE(outlineShows("checkbox ice \"加冰\" (checked)")) << driver.outline();

    // Radio buttons of one name exclude each other.
    ASSERT_TRUE(driver.tap("大杯")) << driver.outline();
    EXPECT_EQ(js("[$('big').checked, $('small').checked].join()"), "true,false");
    EXPECT_TRUE(outlineShows("radio size \"大\" (checked)")) << driver.outline();

    // A select offers its choices on a sheet.
    ASSERT_TRUE(driver.tap("when")) << driver.outline();
    ASSERT_TRUE(driver.pressAlertButton("稍后"));
    EXPECT_TRUE(outlineShows("select when \"稍后\"")) << driver.outline();
    EXPECT_EQ(eval("log[log.length - 1]"), "when:1:later");

    ASSERT_TRUE(driver.type("note", "第一行\n第二行 & =+")) << driver.outline();
    ASSERT_TRUE(driver.tap("下单")) << driver.outline();
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate->types.back(), WebViewNavigationType::FormSubmitted);
    EXPECT_EQ(web()->pageTitle(), "Sent");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"token", "t&1"},
        {"who", "王五"},
        {"pw", "a&b"},
        {"size", "大"},
        {"ice", "加冰"},
        {"when", "later"},
        {"note", "第一行\r\n第二行 & =+"},
        {"action", "下单"}};
    EXPECT_EQ(sentForm(), expected);
    const auto requests = server.requestsTo("/forms/sent");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].header("Content-Type").value_or(""), "application/x-www-form-urlencoded");
}

TEST_F(PageFormsTest, AFieldBeingEditedStaysEditedWhileTheMarkupAroundItIsMadeAnew) {
    open(serve("/forms/live.html",
               "<title>Live</title><div id=\"news\"><p>旧消息</p></div>"
               "<form><input name=\"q\" id=\"q\"></form>"));
    ASSERT_TRUE(driver.type("q", "北")) << driver.outline();
    EXPECT_TRUE(outlineShows("field q \"北\" (editing)")) << driver.outline();
    // New markup above the field: the page is laid out anew, the field keeps its view.
    js("$('news').innerHTML = '<p>新消息</p><p>又一条</p>'; ''");
    web()->layoutIfNeeded();
    EXPECT_TRUE(outlineShows("又一条")) << driver.outline();
    EXPECT_TRUE(outlineShows("field q \"北\" (editing)")) << driver.outline();
    EXPECT_TRUE(Keyboard::isVisible());
    ASSERT_TRUE(driver.type("q", "京")) << driver.outline();
    EXPECT_EQ(js("$('q').value"), "北京");
}

TEST_F(PageFormsTest, ReturnInAFieldSendsAFormWithoutActionToThePagesOwnAddress) {
    const std::string page = serve("/forms/find.html",
                                   "<title>Find</title><form><input name=\"q\" id=\"q\">"
                                   "<input type=\"checkbox\" name=\"all\" checked></form>");
    open(page + "?q=old");
    ASSERT_TRUE(driver.type("q", "a b&c")) << driver.outline();
    ASSERT_TRUE(driver.pressReturn());
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate->types.back(), WebViewNavigationType::FormSubmitted);
    EXPECT_EQ(server.requestsTo("/forms/find.html").back().target,
              "/forms/find.html?q=a+b%26c&all=on");
    EXPECT_EQ(web()->pageURL(), page + "?q=a+b%26c&all=on");
}

TEST_F(PageFormsTest, AScriptCanKeepAFormFromGoingAndSendOrResetItItself) {
    open(serve("/forms/kept.html",
               "<title>Kept</title><form id=\"f\" action=\"/forms/sent\" method=\"post\" "
               "onsubmit=\"return false\"><input id=\"t\" name=\"t\" value=\"原值\">"
               "<input type=\"submit\" value=\"发送\"></form>"));
    ASSERT_TRUE(driver.type("t", "新")) << driver.outline();
    ASSERT_TRUE(driver.pressReturn());
    ASSERT_TRUE(driver.tap("发送")) << driver.outline();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(server.requestsTo("/forms/sent").empty());
    EXPECT_EQ(web()->pageTitle(), "Kept");

    // A listener's preventDefault keeps it too.
    js("$('f').onsubmit = null;"
       "$('f').addEventListener('submit', function (e) { e.preventDefault(); })");
    ASSERT_TRUE(driver.tap("发送")) << driver.outline();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(server.requestsTo("/forms/sent").empty());

    // reset() brings back what the page wrote; submit() sends without asking the handlers.
    EXPECT_EQ(js("$('f').reset(); $('t').value"), "原值");
    EXPECT_TRUE(outlineShows("field t \"原值\"")) << driver.outline();
    js("$('t').value = '脚本 +1'; $('f').submit()");
    ASSERT_TRUE(settle());
    EXPECT_EQ(web()->pageTitle(), "Sent");
    EXPECT_EQ(sentForm(), (std::vector<std::pair<std::string, std::string>>{{"t", "脚本 +1"}}));
}

TEST_F(PageFormsTest, ScriptsSeeAndSetTheControlsAndTheOutlineFollows) {
    open(serve("/forms/order.html", kOrderPage));
    EXPECT_EQ(js("[$('who').form.id, $('ice').checked, $('when').selectedIndex, $('when').value,"
                 " $('off').disabled, $('when').options.length, $('when').options[1].text,"
                 " $('small').value].join()"),
              "f,false,0,现在,true,2,稍后,小");
    js("$('who').value = '赵六'; $('ice').checked = true; $('big').checked = true;"
       "$('when').selectedIndex = 1; $('off').disabled = false; $('who').disabled = true");
    web()->layoutIfNeeded();
    EXPECT_EQ(js("$('small').checked"), "false");
    for (const char* line :
         {"field who \"赵六\" (disabled)", "checkbox ice \"加冰\" (checked)",
          "radio size \"大\" (checked)", "select when \"稍后\"", "field off \"不发送\""}) {
        EXPECT_TRUE(outlineShows(line)) << line << "\n" << driver.outline();
    }
    // A disabled field takes no typing and is not sent.
    EXPECT_FALSE(driver.type("who", "x"));
    js("$('f').submit()");
    ASSERT_TRUE(settle());
    const auto sent = sentForm();
    EXPECT_TRUE(std::none_of(sent.begin(), sent.end(),
                             [](const auto& entry) { return entry.first == "who"; }));
    EXPECT_TRUE(std::any_of(sent.begin(), sent.end(),
                            [](const auto& entry) { return entry.first == "off"; }));
}

TEST_F(PageFormsTest, AFormSentIsALoadTheDelegateMayRefuse) {
    open(serve("/forms/order.html", kOrderPage));
    delegate->refused = "/forms/sent";
    ASSERT_TRUE(driver.tap("下单")) << driver.outline();
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate->asked.back(), server.baseUrl() + "/forms/sent");
    EXPECT_EQ(delegate->types.back(), WebViewNavigationType::FormSubmitted);
    EXPECT_TRUE(server.requestsTo("/forms/sent").empty());
    EXPECT_EQ(web()->pageTitle(), "Order");
}

TEST_F(PageFormsTest, FieldsAreDrawnWithTheirPlaceholderDotsAndCaret) {
    open(serve("/forms/order.html", kOrderPage));
    // An empty field keeps a field's width and shows its placeholder.
    const Rect empty = frameOf("field who placeholder");
    EXPECT_GE(empty.width(), 150) << driver.outline();
    EXPECT_GE(empty.height(), 18);
    EXPECT_GT(paintIn(renderToImage(*web()), empty).first, 20);
    // A text area without rows shows two lines, as a browser's does.
    const Rect area = frameOf("text area note placeholder \"备注\"");
    EXPECT_GE(area.height(), 36) << driver.outline();

    const Rect password = frameOf("secure field pw");
    const int before = paintIn(renderToImage(*web()), password).first;
    ASSERT_TRUE(driver.type("pw", "secret")) << driver.outline();
    const auto typed = paintIn(renderToImage(*web()), frameOf("secure field pw"));
    EXPECT_GT(typed.first, before + 20);
    // While edited, the field shows the caret in the tint; once left, it does not.
    EXPECT_GT(typed.second, 10);
    ASSERT_TRUE(driver.tap("加冰")) << driver.outline();
    EXPECT_EQ(paintIn(renderToImage(*web()), frameOf("secure field pw")).second, 0);
}

TEST_F(PageFormsTest, AFieldLowOnThePageIsRaisedAboveTheKeyboard) {
    open(serve("/forms/low.html",
               "<title>Low</title><div style=\"height:2250px\">top</div>"
               "<form><input id=\"low\" name=\"low\"></form>"));
    ASSERT_TRUE(driver.tap("low")) << driver.outline();
    ASSERT_TRUE(Keyboard::isVisible());
    auto field = driver.findByHandle("low");
    ASSERT_TRUE(field);
    const Rect shown = field->convertRectTo(field->bounds(), nullptr);
    EXPECT_LE(shown.maxY(), Keyboard::frame().minY());
    EXPECT_GT(shown.minY(), 0);
    EXPECT_TRUE(outlineShows("field low \"\" (editing)")) << driver.outline();
}

TEST_F(PageFormsTest, AFocusAskedForInATapsHandlerEditsTheFieldAsATapOnItDoes) {
    open(serve("/forms/low.html", kLowFieldPage));
    // Nothing to edit in a disabled field, a box or a paragraph.
    js("act = function () { $('off').focus(); $('box').focus(); $('words').focus(); }");
    ASSERT_TRUE(driver.tap("去留言"));
    ASSERT_FALSE(Keyboard::isVisible());
    js("act = function () { $('low').focus(); }");
    ASSERT_TRUE(driver.tap("去留言"));
    EXPECT_TRUE(Keyboard::isVisible());
    EXPECT_TRUE(outlineShows("field low placeholder \"留言\" (editing)")) << driver.outline();
    auto field = driver.findByHandle("low");
    ASSERT_TRUE(field);
    const Rect shown = field->convertRectTo(field->bounds(), nullptr);
    EXPECT_LE(shown.maxY(), Keyboard::frame().minY());
    EXPECT_GT(shown.minY(), 0);
    // The caret stands at the empty field's very start: the area counted takes in the padding.
    EXPECT_GT(paintIn(renderToImage(*web()), frameOf("field low").insetBy(-3, -3)).second, 0)
        << "no caret";

    // The field being edited takes no second focus, and typing goes straight into it.
    js("$('low').focus()");
    ASSERT_TRUE(driver.type("low", "好"));
    EXPECT_EQ(js("log.join(' ') + ':' + $('low').value"), "focus:好");
}

TEST_F(PageFormsTest, AFocusThePageAsksForByItselfRaisesNoKeyboard) {
    // Neither while it loads nor from a script the client runs in it, as on the phone.
    open(serve("/forms/ask.html",
               "<title>Ask</title><form><input id=\"q\" name=\"q\"></form>"
               "<script>document.getElementById('q').focus()</script>"));
    EXPECT_FALSE(Keyboard::isVisible());
    js("$('q').focus()");
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_FALSE(outlineShows("(editing)")) << driver.outline();
    // Nor is what it asked for followed at the user's next action.
    ASSERT_TRUE(driver.tap("q"));
    ASSERT_TRUE(driver.type("q", "问"));
    EXPECT_TRUE(outlineShows("field q \"问\" (editing)")) << driver.outline();
}

TEST_F(PageFormsTest, AScriptsBlurSendsChangeThenBlurAndLowersTheKeyboard) {
    open(serve("/forms/low.html", kLowFieldPage));
    const double insetBefore = web()->scrollView()->contentInset().bottom;
    ASSERT_TRUE(driver.type("low", "明天见"));
    ASSERT_TRUE(Keyboard::isVisible());
    js("$('low').blur()");
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_FALSE(outlineShows("(editing)")) << driver.outline();
    EXPECT_EQ(web()->scrollView()->contentInset().bottom, insetBefore);
    EXPECT_EQ(js("log.join(' ')"), "focus change blur");
    // Not being edited, it has nothing more to tell.
    js("$('low').blur()");
    EXPECT_EQ(js("log.join(' ')"), "focus change blur");
}

TEST_F(PageFormsTest, FocusMovedToAnotherFieldEndsTheFirstOnesEditingFirst) {
    open(serve("/forms/low.html", kLowFieldPage));
    ASSERT_TRUE(driver.type("low", "甲"));
    js("$('more').onfocus = function () { log.push('more'); };"
       "act = function () { $('more').focus(); }");
    // Scrolled back to the button at the page's top, the keyboard still up.
    web()->scrollView()->setContentOffset(Point{0, 0});
    ASSERT_TRUE(driver.tap("去留言")) << driver.outline();
    EXPECT_EQ(js("log.join(' ')"), "focus change blur more");
    EXPECT_TRUE(outlineShows("field more \"\" (editing)")) << driver.outline();
    EXPECT_TRUE(Keyboard::isVisible());

    // Handlers that hand the focus back and forth for good are stopped, the page usable.
    js("low.onfocus = function () { $('more').focus(); };"
       "$('more').onfocus = function () { low.focus(); }");
    ASSERT_TRUE(driver.tap("low")) << driver.outline();
    EXPECT_TRUE(outlineShows("(editing)")) << driver.outline();
    EXPECT_TRUE(Keyboard::isVisible());
}

TEST_F(PageFormsTest, ASelectSetToAValueNoOptionHasShowsAndSendsNoChoice) {
    open(serve("/forms/order.html", kOrderPage));
    const int drawn = paintIn(renderToImage(*web()), frameOf("select when")).first;
    EXPECT_EQ(js("$('when').value = '明年'; [$('when').selectedIndex, $('when').value].join()"),
              "-1,");
    web()->layoutIfNeeded();
    EXPECT_TRUE(outlineShows("select when \"\"")) << driver.outline();
    EXPECT_LT(paintIn(renderToImage(*web()), frameOf("select when")).first, drawn);
    js("$('f').submit()");
    ASSERT_TRUE(settle());
    const auto sent = sentForm();
    ASSERT_FALSE(sent.empty());
    EXPECT_TRUE(std::none_of(sent.begin(), sent.end(),
                             [](const auto& entry) { return entry.first == "when"; }));
}

}  // namespace
