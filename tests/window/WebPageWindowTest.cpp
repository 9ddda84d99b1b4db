#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/ui/Keyboard.h"
#include "platform/ui/View.h"
#include "tests/window/WindowTestSupport.h"

using namespace windowtest;
using shelltest::kTeacher;

namespace {

// The school's web pages in the desktop window: a page's form filled in with the mouse and
// the desktop keyboard, and a notice's picture where the page puts it.
class WebPageWindowTest : public WindowTest {
protected:
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

    // The drawn form bar's 完成 puts the keyboard away, the answer kept.
    const auto keys = platform::Keyboard::keys();
    const auto done =
        std::find_if(keys.begin(), keys.end(), [](const auto& key) { return key.title == "完成"; });
    ASSERT_NE(done, keys.end());
    click(Point{done->frame.midX(), done->frame.midY()});
    EXPECT_FALSE(platform::Keyboard::isVisible());
    EXPECT_TRUE(outlineShows("text area advice \"食堂饭菜可口 & 价格=合理+实惠\"\n"))
        << driver.outline();
    window->pump(kNoWait);
    EXPECT_EQ(differingPixels(window->pixels(), rendererPng()), 0);
}

TEST_F(WebPageWindowTest, TheQuestionnairesFormStandsAsFarBelowTheAnswererAsTheFirstPage) {
    // The first page's question is a paragraph alone under the answerer's, the second's
    // account row the first paragraph of a form: the window shows them the same step down.
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    open();
    click(centreOf(*driver.find("问卷调查")));
    auto step = [&](const std::string& question) {
        auto answerer = awaitShown("20050031");
        auto below = awaitShown(question);
        EXPECT_TRUE(answerer && below) << driver.outline();
        if (!answerer || !below) {
            return 0.0;
        }
        return below->convertRectTo(below->bounds(), nullptr).minY() -
               answerer->convertRectTo(answerer->bounds(), nullptr).minY();
    };
    const double first = step("1. 您对学校食堂的整体满意度：");
    click(centreOf(*driver.find("下一页")));
    ASSERT_TRUE(awaitShown("advice")) << driver.outline();
    const double second = step("答卷账号：");
    EXPECT_GT(first, 30);
    // The account row's field is taller than its words, which stand a few points lower in
    // their line; a margin left uncollapsed would add a whole 16.
    EXPECT_GE(second, first);
    EXPECT_LT(second, first + 8);
    window->pump(kNoWait);
    EXPECT_EQ(differingPixels(window->pixels(), rendererPng()), 0);
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
    // The picture is decoded on the background pool and laid out when it is in: the text
    // shows before it, and what is checked is waited for, the paragraph pushed down.
    std::shared_ptr<platform::View> below;
    platform::Rect top;
    platform::Rect bottom;
    const bool pictureIn = waitFor([&] {
        window->pump(kNoWait);
        above = driver.find("各学院、各部门：");
        below = driver.find("关于2024年清明节放假安排的通知现予发布");
        if (!above || !below) {
            return false;
        }
        top = above->convertRectTo(above->bounds(), nullptr);
        bottom = below->convertRectTo(below->bounds(), nullptr);
        return bottom.minY() - top.maxY() > 100;
    });
    ASSERT_TRUE(below) << driver.outline();
    ASSERT_TRUE(pictureIn) << bottom.minY() - top.maxY() << "\n" << driver.outline();
    pump();

    window->pump(kNoWait);
    const platform::Image shown = window->pixels();
    EXPECT_EQ(differingPixels(shown, rendererPng()), 0);
    // Between the greeting and the paragraph under it the page holds the picture: ink down
    // the band at the picture's left, middle and right, and no white row across it.
    top = above->convertRectTo(above->bounds(), nullptr);
    bottom = below->convertRectTo(below->bounds(), nullptr);
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

TEST_F(WebPageWindowTest, AClickBesideAWrappedLinkFollowsTheLinkShownThere) {
    // The questionnaire's address answers with a paragraph of short links: at the window's
    // width some link runs from the end of one line onto the next, its frame over its
    // neighbours.
    const std::string characters =
        "天地玄黄宇宙洪荒日月盈昃辰宿列张寒来暑往秋收冬藏闰余成岁律吕调阳云腾致雨露结为霜";
    auto textOf = [&](int link) { return characters.substr(std::size_t(link) * 12, 12); };
    const int links = int(characters.size() / 12);
    std::string page = "<html><body><p>";
    for (int link = 0; link < links; ++link) {
        page += "<a href=\"/go/" + std::to_string(link) + "\">" + textOf(link) + "</a>";
    }
    page += "</p></body></html>";
    server.setReply("GET", "/function/interaction/questionnaire_add.jsp",
                    fakes::Reply{200, "text/html;charset=UTF-8", page});
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    open();
    click(centreOf(*driver.find("问卷调查")));
    ASSERT_TRUE(awaitShown(textOf(0))) << driver.outline();

    int wrapped = -1;
    double lineHeight = 1e9;
    for (int link = 0; link < links; ++link) {
        auto view = driver.find(textOf(link));
        ASSERT_TRUE(view) << driver.outline();
        lineHeight = std::min(lineHeight, view->bounds().height());
    }
    for (int link = 1; link + 1 < links && wrapped < 0; ++link) {
        if (driver.find(textOf(link))->bounds().height() > lineHeight * 1.5) {
            wrapped = link;
        }
    }
    ASSERT_GT(wrapped, 0) << driver.outline();
    // A click on the words of the link before it, on the first line, follows that link.
    const platform::Rect wrappedFrame = [&] {
        auto view = driver.find(textOf(wrapped));
        return view->convertRectTo(view->bounds(), nullptr);
    }();
    const platform::Point before = centreOf(*driver.find(textOf(wrapped - 1)));
    ASSERT_TRUE(wrappedFrame.contains(before));
    click(before);
    auto followed = [&](int link) {
        return server.requestsTo("/go/" + std::to_string(link)).size();
    };
    EXPECT_TRUE(waitFor([&] { return followed(wrapped - 1) + followed(wrapped) > 0; }));
    EXPECT_EQ(followed(wrapped - 1), 1u);
    EXPECT_EQ(followed(wrapped), 0u);
}

}  // namespace
