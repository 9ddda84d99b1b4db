#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "platform/web/ScriptDeadline.h"
#include "platform/web/WebPage.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;
using namespace std::chrono_literals;

namespace {

// Pages and scripts that try to take the client with them: each ends within its budget, the
// page stays on screen and usable, and the user can go back.
class HostilePagesTest : public pagetest::PageEngineTest {
protected:
    // Opens a harmless page and then the hostile one from it, as a user would reach it.
    void openAfterHome(const std::string& path, const std::string& html) {
        open(serve("/pages/home.html", "<title>Home</title><p>Start here.</p>"));
        open(serve(path, html));
    }

    void goBackHome() {
        ASSERT_TRUE(web()->canGoBack());
        web()->goBack();
        ASSERT_TRUE(settle());
        EXPECT_EQ(web()->pageTitle(), "Home");
        EXPECT_TRUE(outlineShows("text \"Start here.\"")) << driver.outline();
    }

    void stepScriptTime() {
        m_stepping = std::make_shared<testsupport::SteppingClock>(m_step);
        ScriptDeadline::setClock(m_stepping);
    }

    // Script time in fine steps from now on, so that what a step of the test takes can be told
    // against a run's limit to within a few steps.
    void stepScriptTimeFinely() {
        m_step = 10ms;
        stepScriptTime();
    }

    // The script time `step` takes on the stepping clock.
    template <typename Step>
    Duration steppedTime(const Step& step) {
        const TimePoint before = m_stepping->last();
        step();
        return m_stepping->last() - before;
    }

    // A run that ends at its deadline (or sooner) takes no more than its limit and a little.
    static void expectWithinARun(Duration taken, const std::string& what) {
        EXPECT_LE(taken, ScriptDeadline::kLimit + 100ms)
            << what << ": " << std::chrono::duration_cast<std::chrono::milliseconds>(taken).count()
            << " ms";
    }

    // Evaluated while script time stands still at the stepping clock's start, so that the web
    // view's store of script time over time neither fills nor drains: once runaways have used
    // it, a run gets only the shortest time, which the stepping clock's first reading ends.
    std::string evalWithTimeStill(const std::string& script) {
        auto still = std::make_shared<ManualClock>();
        still->set(TimePoint(std::chrono::hours(1)));
        ScriptDeadline::setClock(still);
        std::string result = eval(script);
        stepScriptTime();
        return result;
    }

    // Script time moves on a day with no script running: the web view's store fills again.
    void restScriptTime() {
        ScriptDeadline::setClock(std::make_shared<ManualClock>());
        eval("");
        stepScriptTime();
    }

    // `work` run by a page's script with a full store of script time ends at the deadline:
    // neither it nor a catch around it gets to say how it ended.
    void expectEndsAtTheDeadline(const std::string& work, bool caught) {
        restScriptTime();
        const std::string script =
            caught
                ? "var outcome = 'not run'; try { " + work +
                      "; outcome = 'finished' } catch (e) { outcome = String(e) }"
                : "var outcome = 'not run'; (function () { " + work + " })(); outcome = 'finished'";
        EXPECT_EQ(eval(script), "") << work;
        EXPECT_EQ(evalWithTimeStill("outcome"), "not run") << work;
    }

    // From a home page, the user taps into the chain served under /pages/chain/, and scripts
    // load page after page until the web view cuts the chain.
    void enterChainUntilCut() {
        open(serve("/pages/home.html",
                   "<title>Home</title><p>Start here.</p>"
                   "<a href=\"chain/1.html\">Into the chain</a>"));
        ASSERT_TRUE(driver.tap("Into the chain"));
        ASSERT_TRUE(RunLoop::main().runUntil([this] { return logged("the chain is cut"); }, 5s))
            << logText();
        ASSERT_TRUE(settle());
    }

    // Pages 1 to 20 of a chain: each page's script does `work` and then loads the next page.
    void serveChain(const std::string& work) {
        for (int n = 1; n <= 20; ++n) {
            serve("/pages/chain/" + std::to_string(n) + ".html",
                  "<title>Chain " + std::to_string(n) + "</title><script>" + work +
                      "location.href = '" + std::to_string(n + 1) + ".html';</script>");
        }
    }

    std::size_t count(WebPage::Item::Kind kind) {
        std::size_t n = 0;
        for (const auto& item : web()->pageItems()) {
            n += item.kind == kind ? 1 : 0;
        }
        return n;
    }

private:
    Duration m_step = 250ms;
    std::shared_ptr<testsupport::SteppingClock> m_stepping;
};

TEST_F(HostilePagesTest, ARunawayInlineScriptEndsAndThePageStaysOnScreen) {
    stepScriptTime();
    openAfterHome("/pages/loop.html",
                  "<title>Attendance</title><p id=\"status\">not run</p>"
                  "<script>for (;;) {}</script>"
                  "<script>document.getElementById('status').innerText = 'second';</script>"
                  "<a href=\"home.html\">Home page</a>");

    EXPECT_TRUE(logged("RangeError: execution timeout")) << logText();
    EXPECT_TRUE(logged("ran past its 1000 ms")) << logText();
    // The load's scripts share one deadline: the one after the runaway is not run.
    EXPECT_TRUE(logged("1 scripts of")) << logText();
    EXPECT_EQ(web()->pageTitle(), "Attendance");
    EXPECT_TRUE(outlineShows("#status \"not run\"")) << driver.outline();
    EXPECT_TRUE(outlineShows("link \"Home page\"")) << driver.outline();
    EXPECT_EQ(eval("6 * 7"), "42");
    goBackHome();
}

TEST_F(HostilePagesTest, RunawayHandlersAndReplyScriptsEndAndThePageKeepsWorking) {
    openAfterHome("/pages/handlers.html",
                  "<title>Handlers</title><p id=\"count\">0</p>"
                  "<button onclick=\"for (;;) {}\">Spin</button>"
                  "<button onclick=\"for (;;) { document.title = 'spinning'; }\">Rename</button>"
                  "<a href=\"javascript:while (true) {}\">Script link</a>"
                  "<script>var replies = 0;"
                  "function callback(reply) { replies++;"
                  "  if (reply.loop) { while (true) {} }"
                  "  document.getElementById('count').innerText = String(replies); }</script>");
    stepScriptTime();

    ASSERT_TRUE(driver.tap("Spin"));
    ASSERT_TRUE(driver.tap("Rename"));  // every call into the page checks the deadline too
    ASSERT_TRUE(driver.tap("Script link"));
    EXPECT_EQ(eval("callback({\"loop\": true})"), "");
    // Catching the time-out does not buy more time.
    EXPECT_EQ(eval("try { for (;;) {} } catch (e) { for (;;) {} } 'finished'"), "");
    EXPECT_EQ(eval("try { for (;;) {} } catch (e) { 'caught' }"), "");
    EXPECT_EQ(eval("for (;;) { try { for (;;) {} } catch (e) {} }"), "");
    // A regular expression made to backtrack for good runs outside the instruction count.
    EXPECT_EQ(eval("/(a+)+b/.test('" + std::string(40, 'a') + "')"), "");
    EXPECT_EQ(
        eval("for (;;) { try { /(a+)+b/.test('" + std::string(40, 'a') + "') } catch (e) {} }"),
        "");

    EXPECT_TRUE(logged("onclick (")) << logText();
    EXPECT_TRUE(logged("link (")) << logText();
    EXPECT_TRUE(logged("evaluated script (")) << logText();
    EXPECT_TRUE(logged("RangeError: execution timeout")) << logText();
    EXPECT_FALSE(web()->isLoading());
    EXPECT_TRUE(delegate->failures.empty());

    // The runaways have used the web view's script time over time; a reply after them all still
    // reaches the page, in the shortest run.
    EXPECT_TRUE(logged("what the scripts' time over time left it")) << logText();
    const int replies = std::stoi(evalWithTimeStill("replies"));
    evalWithTimeStill("callback({})");
    const std::string count = std::to_string(replies + 1);
    EXPECT_EQ(evalWithTimeStill("replies"), count);
    EXPECT_TRUE(outlineShows("#count \"" + count + "\"")) << driver.outline();
    goBackHome();
}

TEST_F(HostilePagesTest, BuiltInCallsEndAtTheDeadlineHoweverLongTheyWouldRun) {
    stepScriptTime();
    // One call of a built-in over an array-like of 2^31 - 1 missing elements: no instruction
    // runs inside it, so only the built-in itself can notice the deadline.
    openAfterHome("/pages/indexof.html",
                  "<title>News</title><p id=\"status\">not run</p>"
                  "<script>Array.prototype.indexOf.call({length: 2147483647}, 1);"
                  "document.getElementById('status').innerText = 'finished';</script>"
                  "<button onclick=\"new Array(2e8).join('');"
                  " document.title = 'joined'\">Join</button>");
    EXPECT_TRUE(logged("page script (")) << logText();
    EXPECT_TRUE(logged("RangeError: execution timeout")) << logText();
    EXPECT_TRUE(outlineShows("#status \"not run\"")) << driver.outline();

    restScriptTime();
    ASSERT_TRUE(driver.tap("Join"));
    EXPECT_TRUE(logged("onclick (")) << logText();
    EXPECT_EQ(web()->pageTitle(), "News");

    // Catching the time-out does not buy another call.
    restScriptTime();
    EXPECT_EQ(eval("var calls = 0;"
                   "for (;;) { try { calls++; Array.prototype.indexOf.call({length: 3e6}, 1) }"
                   "  catch (e) {} }"),
              "");
    EXPECT_EQ(evalWithTimeStill("calls"), "1");

    // Every long loop of the built-ins ends the same way, neither finishing nor caught.
    const std::string huge = "{length: 2147483647}";
    const std::string loops[] = {
        "Array.prototype.lastIndexOf.call(" + huge + ", 1)",
        "Array.prototype.join.call(" + huge + ", ',')",
        "Array.prototype.sort.call(" + huge + ")",
        "Array.prototype.forEach.call(" + huge + ", function () {})",
        "Array.prototype.map.call(" + huge + ", function (x) { return x; })",
        "Array.prototype.filter.call(" + huge + ", function () { return true; })",
        "Array.prototype.reduce.call(" + huge + ", function (a) { return a; }, 0)",
        "Array.prototype.every.call(" + huge + ", function () { return true; })",
        "Array.prototype.some.call(" + huge + ", function () { return false; })",
        "Array.prototype.splice.call(" + huge + ", 0, 1)",
        "Array.prototype.reverse.call(" + huge + ")",
        "Array.prototype.slice.call(" + huge + ")",
        "Array.prototype.unshift.call({length: 2147483640}, 1)",
        "var a = []; a.length = 4294967295; [].concat(a)",
        "var a = []; a.length = 4294967295; JSON.stringify(a)",
        "JSON.parse('[' + '0,'.repeat(3e6) + '0]')",
        "var s = 'a'.repeat(1 << 22); s.indexOf(s.slice(1 << 21) + 'b')",
        "var s = 'a'.repeat(1 << 22); s.split(s.slice(1 << 21) + 'b')",
        "var s = '字'.repeat(1 << 21); for (;;) { s.charCodeAt((1 << 20) + (Math.random() * 9)) }",
        "'a'.repeat(1 << 22).replace(/a/g, 'b')",
    };
    for (const auto& loop : loops) {
        expectEndsAtTheDeadline(loop, true);
    }
    EXPECT_EQ(evalWithTimeStill("[3, 1, 2].sort().join(',') + JSON.stringify({a: [1]}).length"),
              "1,2,39");
    goBackHome();
}

TEST_F(HostilePagesTest, AStringSearchIsWeighedByTheLengthOfWhatItLooksFor) {
    openAfterHome("/pages/search.html", "<title>Search</title><p>Searching</p>");
    // A megabyte looked for at each of 2,000 places of the text: every comparison reads the
    // whole of it, so a few thousand of them are gigabytes read, not a few thousand steps.
    evalWithTimeStill(
        "var text = 'a'.repeat((1 << 20) + 2000);"
        "var sought = 'a'.repeat((1 << 20) - 1) + 'b';");
    // What the searches find is as before.
    EXPECT_EQ(evalWithTimeStill("text.indexOf('ab') + ',' + text.lastIndexOf('a', 5) + ',' +"
                                "text.split('aaaa').length + ',' + text.includes(sought)"),
              "-1,5,262645,false");
    const std::string searches[] = {
        "text.indexOf(sought)", "text.lastIndexOf(sought)",  "text.includes(sought)",
        "text.split(sought)",   "text.replace(sought, 'b')",
    };
    for (const auto& search : searches) {
        expectEndsAtTheDeadline(search, true);
    }
    goBackHome();
}

TEST_F(HostilePagesTest, LoopsWhoseEveryTurnCopiesOrScansALotEndAtTheDeadline) {
    openAfterHome("/pages/copies.html", "<title>Copies</title><p>Copying</p>");
    // Each loop runs few instructions (no property is looked up on its variables), but every
    // turn copies, builds or scans 64 KB: 3,000 turns are too few for the executor to look at
    // the time even once, and a couple of hundred megabytes of work. Counted by their bytes,
    // they meet the deadline.
    const std::string loops[] = {
        "var E = encodeURIComponent, s = 'a'.repeat(1 << 16); for (;;) E(s)",
        "var D = decodeURIComponent, s = '%41'.repeat(1 << 14); for (;;) D(s)",
        "var s = 'a'.repeat(1 << 16), t; for (;;) t = s + s",
        "var r = String.prototype.repeat; for (;;) r.call('ab', 1 << 15)",
        "var s = 'a'.repeat(1 << 16), l = s.slice; for (;;) l.call(s, 1)",
        "var s = 'a'.repeat(1 << 16), i = s.indexOf; for (;;) i.call(s, 'b')",
        "var s = 'a'.repeat(1 << 16), u = s.slice(1) + 'b'; for (;;) s < u",
        "var w = ' '.repeat(1 << 16) + 'x', t = w.trim; for (;;) t.call(w)",
        "var s = 'a'.repeat(1 << 16), p = s.split; for (;;) p.call(s, 'b')",
        "var a = ['a'.repeat(1 << 15), 'b'.repeat(1 << 15)], j = a.join; for (;;) j.call(a, '')",
        "var s = 'a'.repeat(1 << 16), f = JSON.stringify; for (;;) f(s)",
        "var j = JSON.stringify('a'.repeat(1 << 16)), f = JSON.parse; for (;;) f(j)",
        "var s = 'a'.repeat(1 << 16), u = s.toUpperCase; for (;;) u.call(s)",
        "var a = new Uint8Array(1 << 16), b = new Uint8Array(1 << 16), t = a.set;"
        " for (;;) t.call(a, b)",
        // Nothing copied or scanned, only a buffer made at each turn.
        "var B = ArrayBuffer; for (;;) new B(1 << 16)",
    };
    for (const auto& loop : loops) {
        // Bounded, so that a loop the deadline misses finishes and says so instead of hanging.
        std::string bounded = loop;
        bounded.replace(bounded.find("for (;;)"), 8, "for (var n = 0; n < 3000; n++)");
        expectEndsAtTheDeadline(bounded, false);
    }
    goBackHome();
}

TEST_F(HostilePagesTest, APageSeesTheGlobalsOfABrowsersPageAndNoneOfTheEngine) {
    openAfterHome("/pages/globals.html",
                  "<title>Globals</title><p id=\"seen\">not run</p><script>"
                  "document.getElementById('seen').innerText = [typeof Duktape, typeof CBOR,"
                  "  typeof Buffer, 'Duktape' in window, Object.getOwnPropertyNames(window)"
                  "    .filter(function (n) { return /^(Duktape|CBOR|Buffer)$/.test(n); })"
                  "    .length].join(',');</script>");
    EXPECT_TRUE(outlineShows("#seen \"undefined,undefined,undefined,false,0\""))
        << driver.outline();
    EXPECT_EQ(eval("typeof Duktape"), "undefined");
    // What a browser's page has is there.
    EXPECT_EQ(eval("[typeof TextEncoder, typeof TextDecoder, typeof performance.now].join()"),
              "function,function,function");
    EXPECT_EQ(eval("new TextDecoder().decode(new TextEncoder().encode('字'))"), "字");
    goBackHome();
}

TEST_F(HostilePagesTest, APageSetsNoHookOnTheErrorsTheEngineMakes) {
    stepScriptTimeFinely();
    // Hooks that would scan 200 MB for each error made, then errors made without end.
    const Duration taken = steppedTime([this] {
        openAfterHome(
            "/pages/hooks.html",
            "<title>Hooks</title><script>"
            "var hooked = 0, refused = [], errors = 0, s = 'a'.repeat(1 << 16), i = s.indexOf;"
            "function hook(e) { for (var n = 0; n < 3000; n++) { i.call(s, 'b'); }"
            "  hooked++; return e; }"
            "try { Duktape.errCreate = hook; } catch (e) { refused.push(e.name); }"
            "try { Duktape.errThrow = hook; } catch (e) { refused.push(e.name); }"
            "for (;;) { try { null.x; } catch (e) { errors++; } }</script>");
    });
    expectWithinARun(taken, "errors made until the deadline");
    EXPECT_TRUE(logged("page script (")) << logText();
    EXPECT_EQ(evalWithTimeStill("hooked + ',' + refused.join() + ',' + (errors > 1000)"),
              "0,ReferenceError,ReferenceError,true");

    restScriptTime();
    expectWithinARun(
        steppedTime([this] { eval("for (;;) { try { null.x; } catch (e) { errors++; } }"); }),
        "errors made by an evaluated script");
    EXPECT_EQ(evalWithTimeStill("hooked"), "0");
    goBackHome();
}

TEST_F(HostilePagesTest, APageSetsNoFinalizerAndTakingItDownRunsNoneOfItsScript) {
    stepScriptTimeFinely();
    const Duration taken = steppedTime([this] {
        openAfterHome(
            "/pages/finalizers.html",
            "<title>Finalizers</title><script>"
            "var kept = [], made = 0, refused = '', f = function () { for (;;) {} };"
            "try { for (var n = 0; n < 200000; n++) {"
            "  var o = {}; Duktape.fin(o, f); kept.push(o); made++; } }"
            "catch (e) { refused = e.name; }"
            "try { Duktape.fin(window, function () { null.x; }); } catch (e) {}</script>");
    });
    expectWithinARun(taken, "the page's script");
    EXPECT_EQ(evalWithTimeStill("made + ',' + refused"), "0,ReferenceError");

    // Back takes the page down, and with it its heap: no script of it runs.
    const Duration back = steppedTime([this] {
        goBackHome();
        RunLoop::main().runPending();
    });
    EXPECT_LE(back, 200ms) << std::chrono::duration_cast<std::chrono::milliseconds>(back).count();
}

TEST_F(HostilePagesTest, CollectingGarbageCountsInTheScriptsTime) {
    openAfterHome("/pages/garbage.html", "<title>Garbage</title><p>Collecting</p>");
    // A run with its time collects what it leaves: a hundred megabytes that only the
    // collector can free (each string held in a cycle) go by within the scripts' 32 MB.
    EXPECT_EQ(evalWithTimeStill("var made = 0; try { for (var n = 0; n < 1000; n++) {"
                                "  var a = {s: 'x'.repeat(100000) + n}; a.a = a; made++; } }"
                                "catch (e) {} made"),
              "1000");
    stepScriptTimeFinely();
    evalWithTimeStill("var kept = []; for (var n = 0; n < 100000; n++) { kept.push({n: n}); }");
    // Each turn leaves an object only the collector can free, and each collection goes over
    // the 100,000 objects alive.
    restScriptTime();
    expectWithinARun(steppedTime([this] { eval("for (;;) { var a = {}; a.a = a; }"); }),
                     "churn over 100,000 objects alive");

    // A heap filled to its limit: each allocation that fails collects ten times over before it
    // gives up, and each collection goes over the whole heap. A few are counted as the work
    // they are, and once the time is up no more are made.
    evalWithTimeStill(
        "kept = null; var full = []; try { for (;;) { full.push({n: full.length}); } }"
        "catch (e) {}");
    restScriptTime();
    expectWithinARun(steppedTime([this] {
                         eval(
                             "var outcome = 'not run', failed = 0; (function () {"
                             "  for (var n = 0; n < 5; n++) {"
                             "    try { full.push([n]); } catch (e) { failed++; } } })();"
                             "outcome = 'finished'");
                     }),
                     "churn in a full heap");
    EXPECT_EQ(evalWithTimeStill("full = null; outcome"), "not run");
    EXPECT_EQ(evalWithTimeStill("6 * 7"), "42");
    goBackHome();
}

TEST_F(HostilePagesTest, AnElementOfAHundredThousandAttributesKeepsTheFirstOnes) {
    // A page of 1.5 MB, nearly all of it one tag's attributes.
    std::string tag = "<p id=\"many\"";
    for (int i = 0; i < 100'000; ++i) {
        tag += " a" + std::to_string(i) + "=\"1\"";
    }
    openAfterHome("/pages/attributes.html",
                  "<title>Attributes</title>" + tag + ">many</p><p id=\"after\">after</p>");
    EXPECT_TRUE(outlineShows("#after \"after\"")) << driver.outline();
    EXPECT_EQ(eval("var p = document.getElementById('many');"
                   "p.getAttribute('id') + p.getAttribute('a0') + p.getAttribute('a62') + ','"
                   " + p.getAttribute('a63') + ',' + p.getAttribute('a99999')"),
              "many11,null,null");

    // And written by a script.
    eval(
        "var a = []; for (var i = 0; i < 100000; i++) { a.push('b' + i + '=1'); }"
        "document.getElementById('after').innerHTML = '<i id=\"written\" ' + a.join(' ') +"
        "  '>x</i>';");
    EXPECT_EQ(eval("var w = document.getElementById('written');"
                   "w.getAttribute('b0') + w.getAttribute('b62') + ',' + w.getAttribute('b63')"),
              "11,null");
    goBackHome();
}

TEST_F(HostilePagesTest, WhatTheHostBuildsForAScriptCountsInTheScriptsTime) {
    openAfterHome("/pages/rows.html", "<title>Rows</title><div id=\"list\"></div>");
    evalWithTimeStill("var rows = '<p>row</p>'.repeat(100000);");
    // One assignment, and the host builds 200,000 nodes for it: the run ends at its deadline
    // inside the building, and says so, instead of building on and returning as if in time.
    restScriptTime();
    EXPECT_EQ(eval("document.getElementById('list').innerHTML = rows; 'built'"), "");
    EXPECT_TRUE(logged("ran past its 1000 ms and was stopped: RangeError: execution timeout"))
        << logText();
    const int built = std::stoi(
        evalWithTimeStill("document.getElementById('list').innerHTML.split('<p>').length - 1"));
    EXPECT_LT(built, 10'000);
    EXPECT_EQ(web()->pageTitle(), "Rows");
    goBackHome();
}

TEST_F(HostilePagesTest, AChainOfPagesThatLoadTheNextIsCutAndBackLeavesIt) {
    serveChain("");
    ASSERT_NO_FATAL_FAILURE(enterChainUntilCut());

    // The page the user opened, then as many as scripts may load in a row on their own.
    const int last = 1 + WebView::kMaxScriptedLoads;
    EXPECT_EQ(web()->pageTitle(), "Chain " + std::to_string(last));
    EXPECT_TRUE(logged(std::to_string(WebView::kMaxScriptedLoads) + " loads in a row"))
        << logText();
    EXPECT_TRUE(server.requestsTo("/pages/chain/" + std::to_string(last + 1) + ".html").empty());

    // Back returns to the page before the chain, which stays.
    ASSERT_TRUE(web()->canGoBack());
    web()->goBack();
    ASSERT_TRUE(settle());
    RunLoop::main().runPending();
    EXPECT_FALSE(web()->isLoading());
    EXPECT_EQ(web()->pageTitle(), "Home");
    EXPECT_EQ(server.requestsTo("/pages/chain/2.html").size(), 1u);
    EXPECT_FALSE(web()->canGoBack());

    // A tap starts the row again.
    ASSERT_TRUE(driver.tap("Into the chain"));
    ASSERT_TRUE(RunLoop::main().runUntil(
        [this] { return server.requestsTo("/pages/chain/2.html").size() == 2; }, 5s));
}

TEST_F(HostilePagesTest, TheCutPageStillMovesWithinItselfAndBackStaysOnIt) {
    for (int n = 1; n <= 20; ++n) {
        serve("/pages/chain/" + std::to_string(n) + ".html",
              "<title>Chain " + std::to_string(n) +
                  "</title><a href=\"#foot\">To the foot</a><p id=\"foot\">Foot</p>"
                  "<script>location.href = '" +
                  std::to_string(n + 1) + ".html';</script>");
    }
    ASSERT_NO_FATAL_FAILURE(enterChainUntilCut());
    const std::string last = "Chain " + std::to_string(1 + WebView::kMaxScriptedLoads);
    const std::string lastPath =
        "/pages/chain/" + std::to_string(1 + WebView::kMaxScriptedLoads) + ".html";
    ASSERT_EQ(web()->pageTitle(), last);

    // A move within the cut page loads nothing, so back from it only moves back within it;
    // leaving the page still passes over the chain.
    ASSERT_TRUE(driver.tap("To the foot"));
    EXPECT_EQ(web()->pageURL(), server.baseUrl() + lastPath + "#foot");
    ASSERT_TRUE(web()->canGoBack());
    web()->goBack();
    ASSERT_TRUE(settle());
    RunLoop::main().runPending();
    EXPECT_EQ(web()->pageTitle(), last);
    EXPECT_EQ(web()->pageURL(), server.baseUrl() + lastPath);
    EXPECT_EQ(server.requestsTo(lastPath).size(), 1u);
    web()->goBack();
    ASSERT_TRUE(settle());
    RunLoop::main().runPending();
    ASSERT_TRUE(settle());
    EXPECT_EQ(web()->pageTitle(), "Home");
}

TEST_F(HostilePagesTest, BackFromAPageTappedOnAfterTheCutPassesOverTheCutPage) {
    // A chain whose pages also offer a link out of it.
    for (int n = 1; n <= 20; ++n) {
        serve("/pages/chain/" + std::to_string(n) + ".html",
              "<title>Chain " + std::to_string(n) +
                  "</title><a href=\"../out.html\">Out of the chain</a><script>location.href = '" +
                  std::to_string(n + 1) + ".html';</script>");
    }
    serve("/pages/out.html", "<title>Out</title><p>Outside.</p>");
    ASSERT_NO_FATAL_FAILURE(enterChainUntilCut());
    const int last = 1 + WebView::kMaxScriptedLoads;
    ASSERT_EQ(web()->pageTitle(), "Chain " + std::to_string(last));

    // The user leaves the cut page by its link, then comes back: not to the cut page, whose
    // script would start the chain again, but to the page before the chain.
    ASSERT_TRUE(driver.tap("Out of the chain"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(web()->pageTitle(), "Out");
    ASSERT_TRUE(web()->canGoBack());
    web()->goBack();
    ASSERT_TRUE(settle());
    RunLoop::main().runPending();
    ASSERT_TRUE(settle());
    EXPECT_EQ(web()->pageTitle(), "Home");
    EXPECT_TRUE(server.requestsTo("/pages/chain/" + std::to_string(last + 1) + ".html").empty());
    EXPECT_EQ(server.requestsTo("/pages/chain/" + std::to_string(last) + ".html").size(), 1u);
}

TEST_F(HostilePagesTest, PagesThatRunLongBeforeLoadingTheNextRunOutOfScriptTime) {
    // Each page's script is busy for 950 ms of script time (inside one run's limit), then
    // loads the next page: script time moves whenever a page logs that it worked.
    auto scriptTime = std::make_shared<ManualClock>();
    ScriptDeadline::setClock(scriptTime);
    onLog = [scriptTime](const std::string& line) {
        if (line == "worked") {
            scriptTime->set(scriptTime->now() + 950ms);
        }
    };
    serveChain("console.log('worked');");
    open(serve("/pages/home.html",
               "<title>Home</title><p>Start here.</p><a href=\"chain/1.html\">Into the chain</a>"));
    ASSERT_TRUE(driver.tap("Into the chain"));
    ASSERT_TRUE(RunLoop::main().runUntil(
        [this] { return logged("what the scripts' time over time left it"); }, 5s))
        << logText();
    ASSERT_TRUE(settle());
    RunLoop::main().runPending();

    // The web view's store of script time (2 s, filling by a tenth of the time that passes)
    // gives the first two pages their 950 ms; the third is stopped before it loads the next.
    EXPECT_FALSE(logged("the chain is cut")) << logText();
    EXPECT_EQ(web()->pageTitle(), "Chain 3");
    EXPECT_TRUE(server.requestsTo("/pages/chain/4.html").empty());
    // A page whose script ran out of time is part of the chain too: back leaves it.
    web()->goBack();
    ASSERT_TRUE(settle());
    EXPECT_EQ(web()->pageTitle(), "Home");

    // Time with no script running fills the store again: a tap into the chain goes as far.
    scriptTime->set(scriptTime->now() + 30s);
    ASSERT_TRUE(driver.tap("Into the chain"));
    ASSERT_TRUE(RunLoop::main().runUntil(
        [this] { return server.requestsTo("/pages/chain/3.html").size() == 2; }, 5s));
    ASSERT_TRUE(settle());
    RunLoop::main().runPending();
    EXPECT_EQ(web()->pageTitle(), "Chain 3");
    EXPECT_EQ(server.requestsTo("/pages/chain/4.html").size(), 0u);
}

TEST_F(HostilePagesTest, DeepNestingIsFlattenedBeforeParsingAndKeepsItsText) {
    std::string tables = "<title>Tables</title><p>Before the tables</p>";
    std::string divs;
    for (int i = 0; i < 10'000; ++i) {
        tables += "<table><tr><td>";
        divs += "<div>";
    }
    tables += "cell";
    for (int i = 0; i < 10'000; ++i) {
        tables += "</td></tr></table>";
    }
    tables += "<p>After the tables</p>";
    openAfterHome("/pages/tables.html", tables);

    EXPECT_TRUE(logged("the deeper ones are flattened")) << logText();
    EXPECT_TRUE(outlineShows("text \"Before the tables\"")) << driver.outline();
    // The end tags of what was left out go with it: what follows stays outside the tables.
    EXPECT_TRUE(outlineShows("text \"After the tables\"")) << driver.outline();

    // Deep divs keep even their deepest text, one level up.
    open(serve("/pages/divs.html",
               "<title>Divs</title>" + divs + "deep text<a href=\"home.html\">Home page</a>"));
    EXPECT_TRUE(outlineShows("text \"deep text\"")) << driver.outline();
    EXPECT_EQ(count(WebPage::Item::Kind::Link), 1u);
    EXPECT_EQ(eval("document.body.innerHTML.split('<div>').length - 1"), "240");
    // And so does what a script writes.
    eval("document.body.innerHTML = '" + divs + "written'");
    EXPECT_EQ(eval("document.body.innerText"), "written");
    EXPECT_EQ(eval("document.body.innerHTML.split('<div>').length - 1"), "238");
    web()->goBack();
    ASSERT_TRUE(settle());
    goBackHome();
}

TEST_F(HostilePagesTest, AScriptThatKeepsAddingElementsStopsAtTheBudget) {
    openAfterHome("/pages/growing.html",
                  "<title>Growing</title><div id=\"n0\"></div><script>"
                  "var rounds = 0, failure = '';"
                  "var chunk = '<p>row</p>'.repeat(10000);"
                  "try {"
                  "  for (;;) {"
                  "    document.getElementById('n' + rounds).innerHTML ="
                  "        chunk + '<div id=\"n' + (rounds + 1) + '\"></div>';"
                  "    rounds++;"
                  "  }"
                  "} catch (e) { failure = String(e); }</script>");

    EXPECT_TRUE(logged("reached its budget of 200000 nodes")) << logText();
    EXPECT_EQ(eval("failure"), "RangeError: the page is past its budget");
    int rounds = std::stoi(eval("rounds"));
    EXPECT_GE(rounds, 5);
    EXPECT_LE(rounds, 10);
    EXPECT_EQ(web()->pageTitle(), "Growing");
    EXPECT_LE(web()->pageItems().size(), WebPage::kMaxShownItems + 1);

    // Text is bounded too: the second 10 MB does not fit beside the first.
    eval("document.getElementById('n0').innerHTML = '<p id=\"a\"></p><p id=\"b\"></p>'");
    EXPECT_EQ(eval("try { document.getElementById('a').textContent = 'x'.repeat(10000000);"
                   "  document.getElementById('b').textContent = 'y'.repeat(10000000); 'grew' }"
                   "catch (e) { String(e) }"),
              "RangeError: the page is past its budget");
    EXPECT_EQ(eval("document.getElementById('a').textContent.length"), "10000000");
    EXPECT_EQ(eval("document.getElementById('b').textContent.length"), "0");
    EXPECT_EQ(eval("6 * 7"), "42");
    goBackHome();
}

TEST_F(HostilePagesTest, LinesAScriptWritesAreNodesWithinTheBudget) {
    openAfterHome("/pages/lines.html",
                  "<title>Lines</title><div id=\"a\"></div><div id=\"b\"></div>"
                  "<p id=\"after\">after</p>");

    // Each line written as text becomes a text node and a <br>: 300,000 short lines are
    // 600,000 nodes in a few hundred kilobytes of text.
    EXPECT_EQ(eval("try { document.getElementById('a').innerText = 'line\\n'.repeat(300000);"
                   "  'written' } catch (e) { String(e) }"),
              "RangeError: the page is past its budget");
    EXPECT_TRUE(logged("reached its budget of 200000 nodes")) << logText();
    auto breaks = [this](const char* id) {
        return std::stoul(eval(std::string("document.getElementById('") + id +
                               "').innerHTML.split('<br>').length - 1"));
    };
    const std::size_t written = breaks("a");
    EXPECT_GT(written, 1000u);
    EXPECT_LE(2 * written, WebPage::kMaxNodes);
    // Another element gets nothing more while the first holds the budget...
    EXPECT_EQ(eval("try { document.getElementById('b').innerText = 'x\\n'.repeat(1000); 'w' }"
                   "catch (e) { String(e) }"),
              "RangeError: the page is past its budget");
    EXPECT_LE(2 * (written + breaks("b")), WebPage::kMaxNodes);
    // ...and gets it once the first gives it back.
    eval("document.getElementById('a').innerText = ''");
    EXPECT_EQ(eval("document.getElementById('b').innerText = 'x\\n'.repeat(1000); 'written'"),
              "written");
    EXPECT_EQ(breaks("b"), 1000u);
    auto items = web()->pageItems();
    EXPECT_TRUE(std::any_of(items.begin(), items.end(),
                            [](const WebPage::Item& item) { return item.id == "after"; }));
    goBackHome();
}

// Sent as it is ("identity"), so the fake server does not spend seconds compressing it.
std::string serveLarge(fakes::FakeSchoolServices& server, const std::string& path,
                       std::string html) {
    fakes::Reply reply{200, "text/html", std::move(html)};
    reply.contentEncoding = "identity";
    server.setReply("GET", path, std::move(reply));
    return server.baseUrl() + path;
}

TEST_F(HostilePagesTest, AFourMegabytePageShowsWithinItsBudget) {
    std::string links = "<title>Links</title>";
    for (int n = 0; links.size() < (4u << 20); ++n) {
        std::string id = std::to_string(n);
        links += "<a href=\"/news/" + id + ".html\">新闻 " + id + "</a><br>\n";
    }
    open(serve("/pages/home.html", "<title>Home</title><p>Start here.</p>"));
    open(serveLarge(server, "/pages/links.html", std::move(links)));
    serve("/news/1.html", "<title>News one</title>");

    // The page's document stops at its budget of nodes, and what it shows at its own: more
    // than the engine lays out within its budget here, so that it may show as plain text, or
    // laid out up to where it is cut; either way the client goes on from it.
    auto items = web()->pageItems();
    EXPECT_LE(items.size(), WebPage::kMaxShownItems + 1);
    EXPECT_LE(4 * count(WebPage::Item::Kind::Link), WebPage::kMaxNodes);
    EXPECT_GT(count(WebPage::Item::Kind::Link), 10'000u);
    open(server.baseUrl() + "/news/1.html");
    EXPECT_EQ(web()->pageTitle(), "News one");
    web()->goBack();
    ASSERT_TRUE(settle());
    EXPECT_EQ(web()->pageTitle(), "Links");

    // One paragraph of 4 MB shows as one item of bounded length.
    std::string text = "<title>Text</title><p>";
    while (text.size() < (4u << 20)) {
        text += "说明文字 some words of the page. ";
    }
    open(serveLarge(server, "/pages/text.html", text + "</p><p id=\"tail\">the end</p>"));
    items = web()->pageItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_LE(items[0].text.size(), WebPage::kMaxItemText + std::string("…").size());
    EXPECT_TRUE(items[0].text.ends_with("…"));
    EXPECT_EQ(items[1].id, "tail");
    // Scripts still see the whole of it.
    EXPECT_GT(std::stoul(eval("document.body.innerText.length")), 3'000'000u);
    web()->goBack();
    ASSERT_TRUE(settle());
    EXPECT_EQ(web()->pageTitle(), "Links");
    goBackHome();
}

}  // namespace
