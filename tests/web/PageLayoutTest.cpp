#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "fakes/WebPages.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScrollView.h"
#include "tests/support/InkTestSupport.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;
using testsupport::darkInk;

namespace {

// The pages the school sends, laid out as a browser lays them out: read from where the ink
// lands in the web view's picture and where the page's items stand.
class PageLayoutTest : public pagetest::PageEngineTest {
protected:
    void show(const std::string& html) { open(serve("/pages/shown.html", html)); }

    // How many bands of rows with ink the area holds: its lines of text.
    static int inkLines(const Image& picture, const Rect& area) {
        int lines = 0;
        bool inLine = false;
        for (int y = std::max(0, int(area.minY())); y < int(area.maxY()); ++y) {
            const bool ink =
                !darkInk(picture, Rect{{area.minX(), double(y)}, {area.width(), 1}}).isEmpty();
            lines += ink && !inLine ? 1 : 0;
            inLine = ink;
        }
        return lines;
    }

    Image picture() { return renderToImage(*web()); }

    static bool sameLine(const Rect& a, const Rect& b) {
        return std::abs(a.midY() - b.midY()) < 4 && !a.isEmpty() && !b.isEmpty();
    }
};

TEST_F(PageLayoutTest, TheMailboxShowsTheAccountAndItsTypeOnOneLine) {
    show(fakes::mailboxPage("6AC5D33F60", "teacher"));
    const Image shot = picture();
    const Rect label = frameOf("text \"账号：\"");
    const Rect user = frameOf("#user \"6AC5D33F60\"");
    const Rect type = frameOf("#type \"teacher\"");
    ASSERT_FALSE(label.isEmpty()) << driver.outline();
    EXPECT_TRUE(sameLine(label, user));
    EXPECT_TRUE(sameLine(user, type));
    EXPECT_LT(label.maxX(), user.minX() + 1);
    EXPECT_LT(user.maxX(), type.minX());
    // Each run is painted where it stands, and the line's ink runs from the label to the type.
    for (const Rect& run : {label, user, type}) {
        EXPECT_FALSE(darkInk(shot, run).isEmpty());
    }
    const Rect line = darkInk(shot, Rect{{0, label.minY()}, {375, label.height()}});
    EXPECT_LT(line.minX(), label.minX() + 4);
    EXPECT_GT(line.maxX(), type.maxX());

    // The inbox is a table: each row's cells side by side, so its ink lies in four lines
    // (the heading and three letters), not twelve.
    EXPECT_EQ(inkLines(shot, frameOf("#inbox")), 4) << driver.outline();
}

TEST_F(PageLayoutTest, TheAttendancePageShowsItsStatusBesideItsLabelUnderALargeHeading) {
    show(fakes::attendancePage());
    const Image shot = picture();
    const Rect label = frameOf("text \"今日状态：\"");
    const Rect status = frameOf("#status \"未签到\"");
    EXPECT_TRUE(sameLine(label, status)) << driver.outline();
    EXPECT_GT(status.minX(), label.maxX() - 1);
    const Rect heading = darkInk(shot, frameOf("text \"移动考勤\""));
    const Rect body = darkInk(shot, status);
    EXPECT_GT(heading.height(), body.height() * 1.5);

    // A script's change is laid out again: the status grows, on the same line.
    eval("document.getElementById('status').innerText = '已签到（08:02，校园网内）'");
    web()->layoutIfNeeded();
    const Rect changed = frameOf("#status \"已签到（08:02，校园网内）\"");
    EXPECT_TRUE(sameLine(label, changed));
    EXPECT_GT(changed.width(), status.width() * 2);
    EXPECT_FALSE(darkInk(picture(), changed).isEmpty());
}

TEST_F(PageLayoutTest, TheQuestionnairesChoicesStandSideBySideAndATapThereChooses) {
    show(fakes::questionnairePage("20050031", "1"));
    const Image shot = picture();
    EXPECT_TRUE(sameLine(frameOf("text \"答卷人：\""), frameOf("#account \"20050031\"")));
    const Rect first = frameOf("button \"满意\"");
    const Rect second = frameOf("button \"一般\"");
    const Rect third = frameOf("button \"不满意\"");
    EXPECT_TRUE(sameLine(first, second));
    EXPECT_TRUE(sameLine(second, third));
    EXPECT_LT(first.maxX(), second.minX());
    EXPECT_LT(second.maxX(), third.minX());
    EXPECT_LT(third.maxX(), 375 / 2.0);
    for (const Rect& button : {first, second, third}) {
        EXPECT_FALSE(darkInk(shot, button).isEmpty());
    }
    ASSERT_TRUE(driver.tap("一般"));
    EXPECT_EQ(eval("document.getElementById('answer').innerText"), "一般");
}

TEST_F(PageLayoutTest, ANoticesSignatureStandsOnTheRightAndItsListsHaveMarkers) {
    show(
        "<html><body><p>各学院、各部门：</p>"
        "<p>　　关于2024年清明节放假安排的通知现予发布，请各单位认真组织学习，结合实际抓好贯彻"
        "落实。具体事项如下：</p><ul><li>高度重视，明确责任分工。</li></ul>"
        "<p style=\"text-align:right\">教务处<br/>2024年04月14日</p></body></html>");
    const Image shot = picture();
    const Rect signature = frameOf("text \"教务处\n2024年04月14日\"");
    ASSERT_FALSE(signature.isEmpty()) << driver.outline();
    const Rect ink = darkInk(shot, Rect{{0, signature.minY()}, {375, signature.height()}});
    EXPECT_GT(ink.minX(), 375 / 2.0);
    EXPECT_GT(ink.maxX(), 375 - 16);
    // The two lines of the signature, each ending at the right.
    const Rect office = darkInk(shot, Rect{{0, signature.minY()}, {375, signature.height() / 2}});
    EXPECT_GT(office.minX(), 375 - 80);

    // The long paragraph breaks between characters and fills its lines.
    const Rect paragraph = frameOf("关于2024年清明节放假安排的通知");
    EXPECT_GT(paragraph.height(), 40);
    EXPECT_GT(darkInk(shot, paragraph).maxX(), 375 - 40);

    // The list item's marker sits left of its text.
    const Rect item = frameOf("高度重视");
    EXPECT_GT(item.minX(), 30);
    EXPECT_FALSE(
        darkInk(shot, Rect{{8, item.minY()}, {item.minX() - 10, item.height()}}).isEmpty());
}

TEST_F(PageLayoutTest, HiddenElementsAreNeitherDrawnNorListedAndTheScrollerCoversThePage) {
    std::string html = "<p>shown</p><p style=\"display:none\" id=\"secret\">secret text</p>";
    for (int n = 0; n < 150; ++n) {
        html += "<p>段落 " + std::to_string(n) + "</p>";
    }
    html += "<p id=\"last\">the end</p>";
    show(html);
    EXPECT_FALSE(outlineShows("secret text")) << driver.outline();
    EXPECT_TRUE(frameOf("secret").isEmpty());
    const Rect last = web()->scrollView()->convertRectFrom(frameOf("#last"), web().get());
    EXPECT_GT(last.maxY(), 2400);
    EXPECT_GE(web()->scrollView()->contentSize().height, last.maxY());
}

}  // namespace

namespace {

TEST_F(PageLayoutTest, ATextStandsWhereItsWordsAreWhateverHoldsIt) {
    // Alone in its paragraph, beside a link, and in a list item: each text's frame is its
    // words' own, not its block's.
    show(
        "<p>短句</p><p>前面的话<a href=\"/x\">链接</a></p><ul><li>条目</li></ul>"
        "<p style=\"text-align:right\">落款</p>");
    const Image shot = renderToImage(*web());
    for (const char* text : {"短句", "前面的话", "条目", "落款"}) {
        SCOPED_TRACE(text);
        const Rect frame = frameOf(std::string("text \"") + text + "\"");
        ASSERT_FALSE(frame.isEmpty()) << driver.outline();
        EXPECT_LT(frame.width(), 100);
        // The words' ink fills the frame from side to side.
        const Rect ink = darkInk(shot, frame.insetBy(0, -2));
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_NEAR(ink.minX(), frame.minX(), 3);
        EXPECT_NEAR(ink.maxX(), frame.maxX(), 3);
    }
    EXPECT_GT(frameOf("text \"落款\"").minX(), 250);
}

TEST_F(PageLayoutTest, APageStyleSheetReachesTheTagsItNamesInAnyCaseAndNoOthers) {
    show(
        "<style>P.gone { display: none } *.also-gone { display: none }"
        " SPAN.kept { display: none } div > em.inner { display: none }</style>"
        "<p class=\"gone\">gone paragraph</p>"
        "<div class=\"also-gone\">gone block</div>"
        "<p class=\"kept\">kept paragraph</p>"
        "<div><em class=\"inner\">gone emphasis</em></div>"
        "<p><em class=\"inner\">kept emphasis</em></p>");
    EXPECT_FALSE(outlineShows("gone paragraph")) << driver.outline();
    EXPECT_FALSE(outlineShows("gone block")) << driver.outline();
    EXPECT_FALSE(outlineShows("gone emphasis")) << driver.outline();
    EXPECT_TRUE(outlineShows("kept paragraph")) << driver.outline();
    EXPECT_TRUE(outlineShows("kept emphasis")) << driver.outline();
}

}  // namespace
