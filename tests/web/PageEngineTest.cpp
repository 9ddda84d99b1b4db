#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Json.h"
#include "platform/foundation/RunLoop.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;
using pagetest::PageEngineTest;

namespace {

constexpr const char* kLinksPage =
    "<html><head><title>First</title></head><body><h1>Welcome</h1>"
    "<p>Pick a page.</p><p><a href=\"second.html\">Next page</a></p>"
    "<p><a href=\"/refused.html\">Forbidden page</a></p></body></html>";

TEST_F(PageEngineTest, ATappedLinkAsksTheDelegateAndARefusedOneStays) {
    std::string first = serve("/pages/first.html", kLinksPage);
    serve("/pages/second.html", "<title>Second</title><p>You made it.</p>");
    open(first);

    // The outline shows the page: title, text and links as entries that can be tapped.
    std::string outline = driver.outline();
    EXPECT_NE(outline.find("web \"First\""), std::string::npos) << outline;
    EXPECT_NE(outline.find("text \"Welcome\""), std::string::npos) << outline;
    EXPECT_NE(outline.find("link \"Next page\" -> second.html"), std::string::npos) << outline;

    ASSERT_TRUE(driver.tap("Next page"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate->asked.back(), server.baseUrl() + "/pages/second.html");
    EXPECT_EQ(delegate->types.back(), WebViewNavigationType::LinkClicked);
    EXPECT_EQ(web()->pageTitle(), "Second");
    EXPECT_TRUE(outlineShows("text \"You made it.\"")) << driver.outline();

    web()->goBack();
    ASSERT_TRUE(settle());
    delegate->refused = "/refused.html";
    ASSERT_TRUE(driver.tap("Forbidden page"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate->asked.back(), server.baseUrl() + "/refused.html");
    EXPECT_EQ(web()->pageTitle(), "First");
    EXPECT_TRUE(server.requestsTo("/refused.html").empty());
    EXPECT_TRUE(outlineShows("link \"Forbidden page\"")) << driver.outline();
}

TEST_F(PageEngineTest, AScriptAssigningLocationNavigatesOnlyAfterItReturns) {
    std::string page = serve("/pages/script.html",
                             "<title>Script</title>"
                             "<button onclick=\"location.href = 'target.html'\">Go on</button>"
                             "<p id=\"where\">here</p>");
    serve("/pages/target.html", "<title>Target</title>");
    serve("/pages/last.html", "<title>Last</title>");
    open(page);
    size_t asked = delegate->asked.size();

    // Inside the script nothing is asked yet; the last address asked for goes.
    EXPECT_EQ(eval("window.location.href = 'nowhere.html'; location.href = 'last.html'; "
                   "document.getElementById('where').innerText = location.href"),
              server.baseUrl() + "/pages/script.html");
    EXPECT_EQ(delegate->asked.size(), asked);
    RunLoop::main().runPending();
    ASSERT_EQ(delegate->asked.size(), asked + 1);
    EXPECT_EQ(delegate->asked.back(), server.baseUrl() + "/pages/last.html");
    EXPECT_EQ(delegate->types.back(), WebViewNavigationType::Other);
    ASSERT_TRUE(settle());
    EXPECT_EQ(web()->pageTitle(), "Last");
    EXPECT_TRUE(server.requestsTo("/pages/nowhere.html").empty());

    // An onclick that assigns location.href navigates the same way. (Back would pass over the
    // page that navigated by script on its own: the page is opened again.)
    open(page);
    ASSERT_TRUE(driver.tap("Go on"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate->asked.back(), server.baseUrl() + "/pages/target.html");
    EXPECT_EQ(web()->pageTitle(), "Target");

    // A refused script navigation leaves the page as it is.
    web()->goBack();
    ASSERT_TRUE(settle());
    delegate->refused = "campus-cmd://";
    eval("location.href = 'campus-cmd://getStorage=%7B%22key%22%3A%22a%22%7D'");
    RunLoop::main().runPending();
    EXPECT_EQ(delegate->asked.back(), "campus-cmd://getStorage=%7B%22key%22%3A%22a%22%7D");
    EXPECT_FALSE(web()->isLoading());
    EXPECT_EQ(web()->pageTitle(), "Script");
}

TEST_F(PageEngineTest, AScriptErrorIsLoggedAndThePageKeepsWorking) {
    std::string page = serve("/pages/errors.html",
                             "<title>Errors</title><p id=\"status\">not run</p>"
                             "<script>missingFunction();</script>"
                             "<script>document.getElementById('status').innerText = 'ran';"
                             "console.log('second script', 2);</script>"
                             "<button onclick=\"throw new Error('tap failed')\">Fail</button>"
                             "<script src=\"external.js\"></script>");
    open(page);

    EXPECT_TRUE(logged("ReferenceError")) << "the broken script is logged";
    EXPECT_TRUE(logged("second script 2")) << "console.log reaches the log";
    EXPECT_TRUE(outlineShows("#status \"ran\"")) << driver.outline();
    EXPECT_TRUE(server.requestsTo("/pages/external.js").empty());

    ASSERT_TRUE(driver.tap("Fail"));
    EXPECT_TRUE(logged("tap failed"));
    EXPECT_EQ(eval("this is not a script"), "");
    EXPECT_TRUE(logged("SyntaxError"));
    EXPECT_EQ(eval("6 * 7"), "42");
    EXPECT_EQ(eval("document.title"), "Errors");
    EXPECT_EQ(eval("undefined"), "");
    EXPECT_EQ(eval("null"), "");
}

TEST_F(PageEngineTest, BrokenHtmlStillParses) {
    std::string page = serve("/pages/broken.html",
                             "<title>Broken &amp; fixed</title><p>one<p>two <b>bold"
                             "<a href=x.html>a link</p></div></span><table><td>cell"
                             "<div id=tail>unclosed <i>to the end");
    open(page);

    EXPECT_EQ(web()->pageTitle(), "Broken & fixed");
    auto items = web()->pageItems();
    std::vector<std::string> texts;
    for (const auto& item : items) {
        texts.push_back(item.text);
    }
    EXPECT_NE(std::find(texts.begin(), texts.end(), "one"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "two bold"), texts.end());
    auto link = std::find_if(items.begin(), items.end(), [](const WebPage::Item& item) {
        return item.kind == WebPage::Item::Kind::Link;
    });
    ASSERT_NE(link, items.end());
    EXPECT_EQ(link->text, "a link");
    EXPECT_EQ(eval("document.getElementById('tail').innerText"), "unclosed to the end");
    EXPECT_TRUE(outlineShows("#tail \"unclosed to the end\"")) << driver.outline();
}

TEST_F(PageEngineTest, ElementsChangedByScriptsShowInTheOutline) {
    std::string page = serve("/pages/elements.html",
                             "<title>Elements</title><pre id=\"reply\"></pre>"
                             "<div id=\"box\">old</div><input id=\"field\" value=\"typed\" />");
    open(page);

    eval("document.getElementById('reply').innerText = 'first line\\nsecond line'");
    EXPECT_TRUE(outlineShows("#reply \"first line\\nsecond line\"")) << driver.outline();
    ASSERT_TRUE(driver.find("second line"));

    eval("document.getElementById('box').innerHTML = '<b>bold</b> &amp; plain'");
    EXPECT_EQ(eval("document.getElementById('box').innerText"), "bold & plain");
    EXPECT_EQ(eval("document.getElementById('box').innerHTML"), "<b>bold</b> &amp; plain");
    EXPECT_TRUE(outlineShows("#box \"bold & plain\"")) << driver.outline();

    EXPECT_EQ(eval("document.getElementById('field').value"), "typed");
    eval("document.getElementById('field').value = 'changed'");
    EXPECT_TRUE(outlineShows("#field \"changed\"")) << driver.outline();

    EXPECT_EQ(eval("document.getElementById('nothing') === null"), "true");
    eval("document.title = 'Renamed'");
    EXPECT_EQ(web()->pageTitle(), "Renamed");
    EXPECT_TRUE(outlineShows("web \"Renamed\"")) << driver.outline();
}

TEST_F(PageEngineTest, AJsonEscapedReplyReachesTheCallbackIntact) {
    std::string page = serve("/pages/callback.html",
                             "<title>Callback</title><pre id=\"reply\"></pre><script>"
                             "var received = [];"
                             "function callback(reply) { received.push(reply);"
                             "  document.getElementById('reply').innerText = reply.message; }"
                             "</script>");
    open(page);
    const std::string hostile = "\"}); document.title=\"x\"; ({\"a\":\"";

    eval("callback( " + Json{{"message", hostile}}.dump() + " )");

    EXPECT_EQ(eval("received.length"), "1");
    EXPECT_EQ(eval("received[0].message"), hostile);
    EXPECT_EQ(web()->pageTitle(), "Callback");
    EXPECT_TRUE(outlineShows("#reply \"" + hostile + "\"")) << driver.outline();

    // The same value pasted in unescaped breaks out of its string and renames the page:
    // the check above would catch a reply that skipped the escaping.
    eval("callback( {\"message\":\"" + hostile + "\"} )");
    EXPECT_EQ(web()->pageTitle(), "x");
}

TEST_F(PageEngineTest, AScriptThatKeepsAllocatingIsStopped) {
    // Script time stands still here (see the fixture): only the memory limit stops it.
    std::string page = serve("/pages/runaway.html", "<title>Runaway</title>");
    open(page);

    EXPECT_EQ(eval("var hoard = []; for (;;) { hoard.push('some text ' + hoard.length); }"), "");
    EXPECT_TRUE(logged("alloc")) << logText();
    EXPECT_EQ(eval("hoard = null; 1 + 2"), "3");
}

TEST_F(PageEngineTest, TheFakeServicesPagesWork) {
    open(server.baseUrl() + "/CM/login.html");
    EXPECT_TRUE(outlineShows("#status \"未签到\"")) << driver.outline();
    ASSERT_TRUE(driver.tap("签到"));
    EXPECT_TRUE(outlineShows("#status \"已签到\"")) << driver.outline();
    EXPECT_TRUE(outlineShows("link \"签到记录\"")) << driver.outline();

    open(server.baseUrl() +
         "/function/interaction/questionnaire_add.jsp?confferenceId=&userAccount=2005%2B31");
    ASSERT_TRUE(driver.tap("一般"));
    EXPECT_TRUE(outlineShows("#answer \"一般\"")) << driver.outline();
    ASSERT_TRUE(driver.tap("下一页"));
    ASSERT_TRUE(settle());
    ASSERT_EQ(server.requestsTo("/function/interaction/questionnaire_add.jsp").back().target,
              "/function/interaction/questionnaire_add.jsp?page=2&userAccount=2005%2B31");
    EXPECT_TRUE(outlineShows("#account \"2005+31\"")) << driver.outline();
    EXPECT_TRUE(outlineShows("button \"提交问卷\"")) << driver.outline();
}

TEST_F(PageEngineTest, TheBridgeDemoPageOffersEveryCommandAndShowsReplies) {
    open(server.baseUrl() + "/bridge-demo.html");
    delegate->refused = "lanxi-bridge://";

    // Every command word, in the order the client looks for them.
    const std::vector<std::string> words = {"StatusBarStyleDefault",
                                            "StatusBarStyleLightContent",
                                            "navigationBarHidden",
                                            "navigationBarShow",
                                            "scanQRCode1",
                                            "scanQRCodeBatch",
                                            "scanQRCode",
                                            "portalBack",
                                            "undefined",
                                            "endEditing",
                                            "setStorage",
                                            "getStorage",
                                            "chooseImage",
                                            "previewImage",
                                            "networkType",
                                            "onMenuShare",
                                            "getOrgInfo",
                                            "getUserInfo",
                                            "readContact",
                                            "addContact",
                                            "location",
                                            "openLocation",
                                            "getDeviceId",
                                            "startRecord",
                                            "stopRecord",
                                            "playVoice",
                                            "pauseVoice",
                                            "stopVoice",
                                            "uploadVoice"};
    std::vector<std::string> commands;
    for (const auto& item : web()->pageItems()) {
        if (item.kind == WebPage::Item::Kind::Link || item.kind == WebPage::Item::Kind::Button) {
            ASSERT_TRUE(driver.tap(item.text)) << item.text;
            RunLoop::main().runPending();
            commands.push_back(delegate->asked.back());
        }
    }
    size_t at = 0;
    for (const auto& word : words) {
        auto found =
            std::find_if(commands.begin() + long(at), commands.end(), [&](const std::string& url) {
                return url == "lanxi-bridge://" + word ||
                       url.starts_with("lanxi-bridge://" + word + "=");
            });
        ASSERT_NE(found, commands.end()) << word;
        at = size_t(found - commands.begin());
    }
    EXPECT_NE(std::find(commands.begin(), commands.end(),
                        "lanxi-bridge://getStorage=%7B%22key%22%3A%22name%22%7D"),
              commands.end());
    EXPECT_NE(std::find(commands.begin(), commands.end(),
                        "lanxi-bridge://previewImage=%7B%22urls%22%3A%5B%22" + urlEncodedBase() +
                            "%2Fupload%2Fdemo%2F1.jpg%22%2C%22" + urlEncodedBase() +
                            "%2Fupload%2Fdemo%2F2.jpg%22%5D%7D"),
              commands.end());
    EXPECT_EQ(web()->pageTitle(), "网页接口演示");

    eval("callback( {\"message\":\"岚溪学院\"} )");
    EXPECT_TRUE(outlineShows("#reply \"{\"message\":\"岚溪学院\"}\"")) << driver.outline();
    eval("callback(null)");
    EXPECT_TRUE(outlineShows("#reply \"null\"")) << driver.outline();
    EXPECT_TRUE(outlineShows("#count \"2\"")) << driver.outline();
}

}  // namespace
