// What a page's form sends and shows after the user's taps: reset, the button pressed, a
// select set past its options, radio buttons in two forms, return beside a disabled button,
// a click the page cancels, and the change event of a field left as it was. Read from what
// the server received, the outline, the pixels and what the page's handlers heard.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fakes/RecordedRequest.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/TextField.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

constexpr const char* kTwoFormsPage = R"HTML(<title>Two forms</title>
<form id="a" method="post" action="/forms/sent">
<p><input type="radio" name="size" id="a1" value="大" checked><label for="a1">甲大</label>
<input type="radio" name="size" id="a2" value="小"><label for="a2">甲小</label></p>
<p><input type="checkbox" name="ice" id="ice" value="加冰"><label for="ice">加冰</label>
<input type="checkbox" name="hot" id="hot" value="加热" checked><label for="hot">加热</label>
<input type="checkbox" name="bag" id="bag" value="袋"><label for="bag">打包</label></p>
<p><select id="when" name="when"><option>现在</option><option value="later">稍后</option></select></p>
<p><input name="who" id="who" value="原值"></p>
<p id="log">-</p>
<p><input type="submit" name="act" value="保存"> <input type="submit" name="act" value="提交">
<input type="reset" value="重来"></p>
</form>
<form id="b" method="post" action="/forms/other">
<p><input type="radio" name="size" id="b1" value="中"><label for="b1">乙中</label></p>
<p><input name="q" id="q"></p>
<p><input type="submit" name="go" value="不可用" disabled> <input type="submit" name="go" value="可用"></p>
</form>
<script>
var log = [];
function note(text) { log.push(text); document.getElementById('log').innerText = log.join(' '); }
var who = document.getElementById('who');
['focus', 'change', 'blur'].forEach(function (type) {
  who.addEventListener(type, function () { note(type); });
});
['ice', 'a2'].forEach(function (id) {
  document.getElementById(id).addEventListener('change', function () { note('change:' + id); });
});
</script>)HTML";

class FormSendingTest : public pagetest::PageEngineTest {
protected:
    FormSendingTest() {
        for (const char* path : {"/forms/sent", "/forms/other"}) {
            server.setReply("POST", path,
                            fakes::Reply{200, "text/html;charset=UTF-8", "<title>Sent</title>"});
        }
        open(serve("/forms/two.html", kTwoFormsPage));
    }

    std::string js(const std::string& script) {
        return eval("function $(id) { return document.getElementById(id); }\n" + script);
    }

    Entries sentTo(const char* path) {
        auto requests = server.requestsTo(path);
        return requests.empty() ? Entries{} : fakes::decodeQuery("?" + requests.back().body);
    }

    // The pixels of the box's frame in the tick's blue.
    int blueIn(const std::string& line) {
        const Rect area = frameOf(line);
        const Image picture = renderToImage(*web());
        int blue = 0;
        for (int y = int(area.minY()) + 2; y < int(area.maxY()) - 2; ++y) {
            for (int x = int(area.minX()) + 2; x < int(area.maxX()) - 2; ++x) {
                const std::uint32_t argb = picture.pixelAt(x, y);
                blue += (argb & 0xff) > 180 && ((argb >> 16) & 0xff) < 80 ? 1 : 0;
            }
        }
        return blue;
    }
};

TEST_F(FormSendingTest, ResetBringsBackWhatThePageWroteAndNoMore) {
    ASSERT_TRUE(driver.tap("加冰"));
    ASSERT_TRUE(driver.tap("加热"));
    ASSERT_TRUE(driver.tap("甲小"));
    ASSERT_TRUE(driver.tap("when"));
    ASSERT_TRUE(driver.pressAlertButton("稍后"));
    ASSERT_TRUE(driver.type("who", "新"));
    EXPECT_TRUE(outlineShows("checkbox ice \"加冰\" (checked)")) << driver.outline();

    ASSERT_TRUE(driver.tap("重来"));
    for (const char* line :
         {"checkbox ice \"加冰\"\n", "checkbox hot \"加热\" (checked)", "checkbox bag \"袋\"\n",
          "radio size \"大\" (checked)", "select when \"现在\"", "field who \"原值\""}) {
        EXPECT_TRUE(outlineShows(line)) << line << "\n" << driver.outline();
    }
    EXPECT_EQ(blueIn("checkbox ice"), 0);
    EXPECT_GT(blueIn("checkbox hot"), 20);
    EXPECT_EQ(blueIn("checkbox bag"), 0);

    ASSERT_TRUE(driver.tap("提交"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(
        sentTo("/forms/sent"),
        (Entries{
            {"size", "大"}, {"hot", "加热"}, {"when", "现在"}, {"who", "原值"}, {"act", "提交"}}));
}

TEST_F(FormSendingTest, OnlyTheSubmitButtonPressedIsSent) {
    ASSERT_TRUE(driver.tap("保存"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(
        sentTo("/forms/sent"),
        (Entries{
            {"size", "大"}, {"hot", "加热"}, {"when", "现在"}, {"who", "原值"}, {"act", "保存"}}));
}

TEST_F(FormSendingTest, ASelectedIndexPastTheOptionsShowsAndSendsNoChoice) {
    // The last option is still one; one past it is none, and not the first.
    EXPECT_EQ(js("$('when').selectedIndex = 1; $('when').value"), "later");
    web()->layoutIfNeeded();
    EXPECT_TRUE(outlineShows("select when \"稍后\"")) << driver.outline();
    EXPECT_EQ(js("$('when').selectedIndex = $('when').options.length; $('when').selectedIndex"),
              "-1");
    web()->layoutIfNeeded();
    EXPECT_TRUE(outlineShows("select when \"\"")) << driver.outline();
    EXPECT_FALSE(outlineShows("select when \"现在\"")) << driver.outline();
    ASSERT_TRUE(driver.tap("提交"));
    ASSERT_TRUE(settle());
    const auto sent = sentTo("/forms/sent");
    ASSERT_FALSE(sent.empty());
    EXPECT_TRUE(std::none_of(sent.begin(), sent.end(),
                             [](const auto& entry) { return entry.first == "when"; }));
}

TEST_F(FormSendingTest, RadioButtonsOfOneNameInTwoFormsAreTwoGroups) {
    ASSERT_TRUE(driver.tap("乙中"));
    EXPECT_TRUE(outlineShows("radio size \"中\" (checked)")) << driver.outline();
    EXPECT_TRUE(outlineShows("radio size \"大\" (checked)")) << driver.outline();
    EXPECT_EQ(js("[$('a1').checked, $('b1').checked].join()"), "true,true");
    ASSERT_TRUE(driver.tap("提交"));
    ASSERT_TRUE(settle());
    const auto sent = sentTo("/forms/sent");
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), (std::pair<std::string, std::string>{"size", "大"}));
}

TEST_F(FormSendingTest, ReturnSendsNothingWhenTheFormsFirstButtonIsDisabled) {
    ASSERT_TRUE(driver.type("q", "查找"));
    ASSERT_TRUE(driver.pressReturn());
    ASSERT_TRUE(settle());
    EXPECT_TRUE(server.requestsTo("/forms/other").empty());
    EXPECT_EQ(web()->pageTitle(), "Two forms");
    // The enabled button sends it, itself among what is sent.
    ASSERT_TRUE(driver.tap("可用"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(sentTo("/forms/other"), (Entries{{"q", "查找"}, {"go", "可用"}}));
}

TEST_F(FormSendingTest, AClickThePageCancelsLeavesTheBoxAsItWas) {
    js("$('ice').onclick = function () { return false; };"
       "$('a2').addEventListener('click', function (e) { e.preventDefault(); }); ''");
    ASSERT_TRUE(driver.tap("加冰"));
    ASSERT_TRUE(driver.tap("甲小"));
    EXPECT_TRUE(outlineShows("checkbox ice \"加冰\"\n")) << driver.outline();
    EXPECT_TRUE(outlineShows("radio size \"大\" (checked)")) << driver.outline();
    EXPECT_FALSE(outlineShows("radio size \"小\" (checked)")) << driver.outline();
    EXPECT_EQ(blueIn("checkbox ice"), 0);
    EXPECT_EQ(js("[$('ice').checked, $('a1').checked, $('a2').checked, log.join()].join()"),
              "false,true,false,");
    ASSERT_TRUE(driver.tap("提交"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(
        sentTo("/forms/sent"),
        (Entries{
            {"size", "大"}, {"hot", "加热"}, {"when", "现在"}, {"who", "原值"}, {"act", "提交"}}));
}

TEST_F(FormSendingTest, AFieldLeftAsItWasAtItsFocusSendsNoChange) {
    // Focused and left untouched.
    ASSERT_TRUE(driver.tap("who"));
    ASSERT_TRUE(driver.tap("q"));
    EXPECT_EQ(js("log.join()"), "focus,blur");
    // Typed into, then put back as it was.
    ASSERT_TRUE(driver.type("who", "新"));
    auto field = std::dynamic_pointer_cast<TextField>(driver.findByHandle("who"));
    ASSERT_TRUE(field);
    ASSERT_TRUE(field->deleteBackward());
    ASSERT_TRUE(driver.tap("q"));
    EXPECT_EQ(js("log.join()"), "focus,blur,focus,blur");
    // Changed.
    ASSERT_TRUE(driver.type("who", "新"));
    ASSERT_TRUE(driver.tap("q"));
    EXPECT_EQ(js("log.join()"), "focus,blur,focus,blur,focus,change,blur");
}

}  // namespace
