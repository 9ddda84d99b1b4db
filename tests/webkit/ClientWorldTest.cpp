#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/JsonParse.h"
#include "platform/foundation/RunLoop.h"
#include "platform/webkit/ClientWorld.h"
#include "platform/webkit/EngineLoader.h"
#include "platform/webkit/PageOutline.h"
#include "tests/webkit/PageServing.h"

// The client world's script on real pages: the items it reads from the live page, the outlines
// it posts by itself, and the actions the web view takes through it.

namespace {

using namespace platform::webkit;
using platform::PageItem;
using platform::PageOutline;
using Kind = PageItem::Kind;

class WorldClient : public ViewClient {
public:
    std::vector<std::string> messages;
    std::string title;
    EngineView* view{nullptr};
    int finished = 0;

    void navigationAsked(const NavigationAsk& ask) override { view->decide(ask.id, true); }
    void loadChanged(LoadStage stage, const std::string&, int) override {
        finished += stage == LoadStage::Finished;
    }
    void loadFailed(const LoadFailure&) override {}
    void titleChanged(const std::string& text) override { title = text; }
    void worldMessage(const std::string& json) override { messages.push_back(json); }
    void dialogAsked(const DialogAsk& ask) override { view->answerDialog(ask.id, true, ""); }
    void choicesAsked(const ChoicesAsk& ask) override { view->answerChoices(ask.id, -1); }
    void filesAsked(const FilesAsk& ask) override { view->answerFiles(ask.id, {}); }

    // The outlines posted so far, oldest first.
    std::vector<PageOutline> outlines() const {
        std::vector<PageOutline> found;
        for (const auto& message : messages) {
            if (auto outline = platform::parseOutline(message))
                found.push_back(std::move(*outline));
        }
        return found;
    }
    std::optional<PageOutline> latest() const {
        for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
            if (auto outline = platform::parseOutline(*it))
                return outline;
        }
        return std::nullopt;
    }
};

class ClientWorldTest : public ::testing::Test {
protected:
    // One server for the suite: WebKit keeps its connections open, and a server stopped under
    // them waits out their keep-alive.
    static void SetUpTestSuite() {
        s_server = new fakes::FakeSchoolServices();
        s_server->start();
    }

    void SetUp() override {
        ASSERT_NE(engine(), nullptr) << loadError();
        server.clearOverrides();
        client = std::make_shared<WorldClient>();
        ViewOptions options;
        options.clientScript = clientWorldScript();
        view = engine()->makeView(client, options);
        client->view = view.get();
        view->setGeometry(375, 600, 1);
    }

    void page(const std::string& path, const std::string& html) {
        webkittest::servePage(server, path, html);
    }

    bool waitFor(const std::function<bool()>& condition) { return webkittest::waitFor(condition); }

    // Opens the page and waits for the outline it posts once loaded.
    PageOutline open(const std::string& path) {
        const int before = client->finished;
        view->load({server.baseUrl() + path});
        EXPECT_TRUE(waitFor([&] { return client->finished > before; }));
        return waitForOutline(
            [&](const PageOutline& outline) { return outline.url == server.baseUrl() + path; });
    }

    PageOutline waitForOutline(const std::function<bool(const PageOutline&)>& holds) {
        std::optional<PageOutline> found;
        EXPECT_TRUE(waitFor([&] {
            found = client->latest();
            return found && holds(*found);
        })) << "last message: "
            << (client->messages.empty() ? "" : client->messages.back());
        return found.value_or(PageOutline{});
    }

    std::string eval(const std::string& script, World world = World::Page) {
        return view->evaluateWithin(script, world, std::chrono::seconds(5)).value_or("(none)");
    }

    // The outline as the client world reads it now.
    PageOutline outlineNow() {
        auto outline = platform::parseOutline(eval("campus.outline()", World::Client));
        EXPECT_TRUE(outline.has_value());
        return outline.value_or(PageOutline{});
    }

    static const PageItem* find(const PageOutline& outline, Kind kind, const std::string& text) {
        for (const auto& item : outline.items) {
            if (item.kind == kind && item.text == text)
                return &item;
        }
        return nullptr;
    }
    static const PageItem* withId(const PageOutline& outline, const std::string& id) {
        for (const auto& item : outline.items) {
            if (item.id == id)
                return &item;
        }
        return nullptr;
    }
    static std::vector<std::string> texts(const PageOutline& outline) {
        std::vector<std::string> found;
        for (const auto& item : outline.items) found.push_back(item.text);
        return found;
    }

    static inline fakes::FakeSchoolServices* s_server = nullptr;
    fakes::FakeSchoolServices& server = *s_server;
    std::shared_ptr<WorldClient> client;
    std::unique_ptr<EngineView> view;
};

TEST_F(ClientWorldTest, APagesItemsAreListedInOrderWhereTheyStand) {
    page("/items.html", R"HTML(<html><head><title>通知</title>
<meta name="viewport" content="width=device-width"></head>
<body style="margin:0;font:16px/20px sans-serif">
<h1 style="margin:0;height:40px;font:16px/20px sans-serif">Notice   board</h1>
<p style="margin:0">Read the <a href="detail.html?id=3">full notice</a> before <b>Friday</b><br>or ask.</p>
<button style="display:block;width:200px;height:50px;margin:0">Sign up</button>
<div onclick="go()" style="height:30px">Tap here</div>
<label for="who">Name</label><input id="who" name="who" placeholder="your name">
<div id="status" style="height:20px">ready <span>now</span></div>
<div id="box"><span>Outer</span> <a href="/x">inner</a></div>
</body></html>)HTML");
    const PageOutline outline = open("/items.html");

    EXPECT_EQ(outline.title, "通知");
    EXPECT_EQ(outline.viewport, "width=device-width");
    EXPECT_EQ(outline.viewWidth, 375);
    EXPECT_EQ(outline.viewHeight, 600);
    EXPECT_GT(outline.sequence, 0u);
    const std::vector<std::string> expected = {"Notice board",  "Read the", "full notice",
                                               "before Friday", "or ask.",  "Sign up",
                                               "Tap here",      "Name",     "",
                                               "ready now",     "Outer",    "inner"};
    EXPECT_EQ(texts(outline), expected);
    const std::vector<Kind> kinds = {Kind::Text,  Kind::Text,    Kind::Link,   Kind::Text,
                                     Kind::Text,  Kind::Button,  Kind::Button, Kind::Label,
                                     Kind::Field, Kind::Element, Kind::Text,   Kind::Link};
    ASSERT_EQ(outline.items.size(), kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(outline.items[i].kind, kinds[i]) << i;

    const PageItem& heading = outline.items[0];
    EXPECT_EQ(heading.node, -1);
    // Its line's text, not its 40 px box.
    EXPECT_NEAR(heading.y, 0, 4);
    EXPECT_NEAR(heading.height, 20, 4);
    EXPECT_GT(heading.width, 50);
    const PageItem& link = outline.items[2];
    EXPECT_EQ(link.href, server.baseUrl() + "/detail.html?id=3");
    EXPECT_GT(link.x, 0);
    EXPECT_NEAR(link.y, 40, 4);
    const PageItem& button = outline.items[5];
    EXPECT_EQ(button.x, 0);
    EXPECT_EQ(button.y, 80);  // below the heading's 40 px and the paragraph's two lines
    EXPECT_EQ(button.width, 200);
    EXPECT_EQ(button.height, 50);
    const PageItem& label = outline.items[7];
    EXPECT_EQ(label.control, "text");
    const PageItem& field = outline.items[8];
    EXPECT_EQ(field.id, "who");
    EXPECT_EQ(field.name, "who");
    EXPECT_EQ(field.placeholder, "your name");
    EXPECT_EQ(field.control, "text");
    EXPECT_EQ(outline.items[9].id, "status");
    // Each element keeps a number of its own.
    std::vector<int> nodes;
    for (const auto& item : outline.items) {
        if (item.kind != Kind::Text)
            nodes.push_back(item.node);
    }
    std::sort(nodes.begin(), nodes.end());
    EXPECT_EQ(std::adjacent_find(nodes.begin(), nodes.end()), nodes.end());
    EXPECT_GE(nodes.front(), 0);
}

TEST_F(ClientWorldTest, WhatThePageDoesNotShowIsLeftOut) {
    page("/hidden.html", R"HTML(<html><head><style>.gone{display:none}</style></head><body>
<p>shown</p>
<p class="gone">display none <a href="a">hidden link</a></p>
<p style="visibility:hidden">invisible <button>hidden button</button></p>
<div style="visibility:hidden"><span style="visibility:visible">visible again</span></div>
<div style="height:0;overflow:hidden">folded away</div>
<a href="b" style="display:inline-block;width:0;height:0;overflow:hidden"></a>
<div id="empty"></div>
<details><summary>More</summary>inside details</details>
<details open><summary>Open</summary>open details</details>
<script>var s = 'script text';</script><noscript>no script</noscript>
<template><p>template text</p></template>
<input type="hidden" name="token" value="t">
</body></html>)HTML");
    const PageOutline outline = open("/hidden.html");
    const std::vector<std::string> expected = {"shown", "visible again", "More", "Open",
                                               "open details"};
    EXPECT_EQ(texts(outline), expected);
}

TEST_F(ClientWorldTest, AnElementsTextIsPostedAgainWhenThePageChangesIt) {
    page("/live.html", R"HTML(<html><body><div id="count">0 unread</div>
<button onclick="document.getElementById('count').textContent = '5 unread'">load</button>
</body></html>)HTML");
    const PageOutline first = open("/live.html");
    const PageItem* count = withId(first, "count");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->kind, Kind::Element);
    EXPECT_EQ(count->text, "0 unread");

    eval("document.querySelector('button').click()");
    const PageOutline later = waitForOutline([](const PageOutline& outline) {
        const PageItem* item = withId(outline, "count");
        return item && item->text == "5 unread";
    });
    EXPECT_GT(later.sequence, first.sequence);
    EXPECT_EQ(withId(later, "count")->node, count->node);
}

TEST_F(ClientWorldTest, OrderedListsReadWithTheirNumbers) {
    page("/lists.html", R"HTML(<html><body>
<ol><li>first</li><li>second</li></ol>
<ol start="5"><li>five</li><li value="9">nine</li><li>ten</li></ol>
<ol reversed><li>three</li><li>two</li><li>one</li></ol>
<ol type="a"><li><a href="x">alpha</a></li></ol>
<ol style="list-style:none"><li>plain</li></ol>
<ul><li>bullet</li></ul>
</body></html>)HTML");
    const PageOutline outline = open("/lists.html");
    const std::vector<std::string> expected = {"1. first", "2. second", "5. five", "9. nine",
                                               "10. ten",  "3. three",  "2. two",  "1. one",
                                               "a.",       "alpha",     "plain",   "bullet"};
    EXPECT_EQ(texts(outline), expected);
}

TEST_F(ClientWorldTest, AFieldsStateIsReadButNeverAPassword) {
    page("/form.html", R"HTML(<html><body><form>
<input id="user" name="user" value="li.ming" maxlength="20">
<input id="pass" type="password" name="pass" value="s3cret-pw">
<input id="agree" type="checkbox" value="yes" checked>
<label><input id="news" type="radio" name="n" value="weekly">Weekly</label>
<select id="term" name="term"><option>Spring</option><option selected>Autumn</option></select>
<textarea id="note" readonly>line one
line two</textarea>
<input id="off" disabled value="x">
<input type="submit" value="Send">
</form></body></html>)HTML");
    open("/form.html");
    eval("document.getElementById('user').focus()");
    const PageOutline outline = waitForOutline([](const PageOutline& outline) {
        const PageItem* user = withId(outline, "user");
        return user && user->editing;
    });
    for (const auto& message : client->messages)
        EXPECT_EQ(message.find("s3cret-pw"), std::string::npos);

    const PageItem* user = withId(outline, "user");
    EXPECT_EQ(user->text, "li.ming");
    EXPECT_EQ(user->maxLength, 20);
    EXPECT_EQ(outline.focus, user->node);
    const PageItem* pass = withId(outline, "pass");
    ASSERT_NE(pass, nullptr);
    EXPECT_EQ(pass->control, "password");
    EXPECT_EQ(pass->text, "");
    EXPECT_EQ(pass->maxLength, -1);
    const PageItem* agree = withId(outline, "agree");
    EXPECT_EQ(agree->control, "checkbox");
    EXPECT_TRUE(agree->checked);
    EXPECT_EQ(agree->text, "yes");
    const PageItem* news = withId(outline, "news");
    EXPECT_FALSE(news->checked);
    const PageItem* label = find(outline, Kind::Label, "Weekly");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->control, "radio");
    EXPECT_LT(label - outline.items.data(), news - outline.items.data());
    const PageItem* term = withId(outline, "term");
    EXPECT_EQ(term->control, "select");
    EXPECT_EQ(term->options, (std::vector<std::string>{"Spring", "Autumn"}));
    EXPECT_EQ(term->selected, 1);
    EXPECT_EQ(term->text, "Autumn");
    const PageItem* note = withId(outline, "note");
    EXPECT_EQ(note->control, "textarea");
    EXPECT_EQ(note->text, "line one\nline two");
    EXPECT_TRUE(note->readOnly);
    EXPECT_TRUE(withId(outline, "off")->disabled);
    const PageItem* send = find(outline, Kind::Button, "Send");
    ASSERT_NE(send, nullptr);

    eval("document.getElementById('agree').click()");
    const PageOutline unticked = waitForOutline([](const PageOutline& outline) {
        const PageItem* agree = withId(outline, "agree");
        return agree && !agree->checked;
    });
    EXPECT_FALSE(withId(unticked, "agree")->checked);
}

TEST_F(ClientWorldTest, APointOfAnItemIsWhereARealClickReachesIt) {
    page("/far.html", R"HTML(<html><body style="margin:0">
<div style="height:1500px">tall</div>
<button id="far" style="width:120px;height:40px"
  onclick="document.title = event.isTrusted ? 'clicked' : 'synthetic'">far away</button>
<div style="height:1500px"></div>
<button id="gone" style="display:none">gone</button>
</body></html>)HTML");
    const PageOutline outline = open("/far.html");
    const PageItem* far = withId(outline, "far");
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->y, 1500);

    const std::string point =
        eval("campus.pointOf(" + std::to_string(far->node) + ")", World::Client);
    const auto parsed = platform::parseJson(point);
    ASSERT_TRUE(parsed && parsed->is_object() && parsed->contains("x")) << point;
    const double x = (*parsed)["x"].get<double>();
    const double y = (*parsed)["y"].get<double>();
    EXPECT_EQ(x, 60);
    EXPECT_GT(y, 0);
    EXPECT_LT(y, 600);
    view->click(x, y);
    ASSERT_TRUE(waitFor([&] { return !client->title.empty(); }));
    EXPECT_EQ(client->title, "clicked");
    // Scrolls are said, lighter than an outline, as they move no item within the document.
    waitForOutline([](const PageOutline& outline) { return outline.title == "clicked"; });
    const size_t before = client->messages.size();
    eval("campus.scrollTo(0, 0)", World::Client);
    EXPECT_TRUE(waitFor([&] {
        return std::find(client->messages.begin() + before, client->messages.end(),
                         R"({"type":"scroll","x":0,"y":0})") != client->messages.end();
    }));

    EXPECT_EQ(eval("campus.pointOf(123456)", World::Client), "null");
    eval("document.getElementById('far').style.visibility = 'hidden'");
    EXPECT_EQ(eval("campus.pointOf(" + std::to_string(far->node) + ")", World::Client), "null");
    eval("document.getElementById('far').remove()");
    EXPECT_EQ(eval("campus.pointOf(" + std::to_string(far->node) + ")", World::Client), "null");
}

TEST_F(ClientWorldTest, ReplacedTextReachesThePageAsTyping) {
    page("/type.html", R"HTML(<html><body>
<input id="code" maxlength="6" value="old"
  oninput="document.title = event.inputType + ':' + this.value">
<input id="frozen" readonly value="fixed">
</body></html>)HTML");
    const PageOutline outline = open("/type.html");
    const PageItem* code = withId(outline, "code");
    ASSERT_NE(code, nullptr);
    const std::string call = "campus.replaceText(" + std::to_string(code->node) + ", ";

    EXPECT_EQ(eval(call + "'123'" + ")", World::Client), "123");
    ASSERT_TRUE(waitFor([&] { return client->title == "insertText:123"; })) << client->title;
    // The field's maxlength holds as with typing.
    EXPECT_EQ(eval(call + "'12345678'" + ")", World::Client), "123456");
    EXPECT_EQ(eval("document.getElementById('code').value"), "123456");
    // The outline follows, the field being the one with the focus.
    waitForOutline([](const PageOutline& outline) {
        const PageItem* code = withId(outline, "code");
        return code && code->text == "123456" && code->editing && outline.focus == code->node;
    });
    EXPECT_EQ(eval(call + "''" + ")", World::Client), "");
    EXPECT_EQ(eval("document.getElementById('code').value"), "");

    const PageItem* frozen = withId(outline, "frozen");
    EXPECT_EQ(
        eval("campus.replaceText(" + std::to_string(frozen->node) + ", 'new')", World::Client),
        "fixed");
    eval("campus.blur()", World::Client);
    EXPECT_EQ(eval("document.activeElement === document.body"), "true");
}

TEST_F(ClientWorldTest, ThePageCanNeitherSeeNorBreakTheClientWorld) {
    page("/hostile.html", R"HTML(<html><body>
<script>
window.campus = {outline: function () { return 'forged'; }};
JSON.stringify = function () { throw new Error('no'); };
Element.prototype.getClientRects = function () { throw new Error('no'); };
Node.prototype.contains = function () { return false; };
document.createRange = function () { return null; };
window.getComputedStyle = function () { return {display: 'none'}; };
WeakMap.prototype.get = function () { return 1; };
</script>
<p id="kept">still read</p>
<script>document.title = typeof window.webkit;</script>
</body></html>)HTML");
    const PageOutline outline = open("/hostile.html");
    const PageItem* kept = withId(outline, "kept");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->text, "still read");
    EXPECT_EQ(client->title, "undefined");
    EXPECT_EQ(eval("campus.outline()"), "forged");
    EXPECT_EQ(eval("typeof window.webkit"), "undefined");
    EXPECT_NE(eval("campus.outline()", World::Client), "forged");
}

TEST_F(ClientWorldTest, AFloodOfChangesIsPostedAsFewOutlines) {
    page("/flood.html", R"HTML(<html><body><div id="n">0</div><script>
var n = document.getElementById('n');
function burst() {
  for (var i = 1; i <= 1000; i++) n.textContent = String(i);
}
function trickle() {
  var left = 300, start = performance.now();
  (function step() {
    n.textContent = String(1300 - left + 1);
    if (--left > 0) setTimeout(step, 0);
    else document.title = String(performance.now() - start);
  })();
}
</script></body></html>)HTML");
    open("/flood.html");
    auto shows = [](const std::string& text) {
        return [text](const PageOutline& outline) {
            const PageItem* n = withId(outline, "n");
            return n && n->text == text;
        };
    };

    // A thousand changes in one task: one outline.
    size_t before = client->messages.size();
    eval("burst()");
    waitForOutline(shows("1000"));
    EXPECT_LE(client->messages.size() - before, 2u);

    // Three hundred tasks of one change each: an outline every 50 ms at most, however long the
    // page took (it says so in its title).
    before = client->messages.size();
    eval("trickle()");
    waitForOutline(shows("1300"));
    ASSERT_TRUE(waitFor([&] { return !client->title.empty(); }));
    const double took = std::stod(client->title);
    const size_t posted = client->messages.size() - before;
    EXPECT_LE(posted, static_cast<size_t>(took / 50) + 3) << "in " << took << " ms";
    EXPECT_LE(posted, 150u);
}

TEST_F(ClientWorldTest, AnOutlineStaysWithinItsBounds) {
    page("/big.html", R"HTML(<html><body><p id="long"></p><div id="links"></div><script>
var word = 'abcdefghij';
document.getElementById('long').textContent = new Array(5001).join(word + ' ');
var html = '';
for (var i = 0; i < 6000; i++) html += '<a href="#' + i + '">link ' + i + '</a> ';
document.getElementById('links').innerHTML = html;
</script></body></html>)HTML");
    const PageOutline outline = open("/big.html");
    ASSERT_EQ(outline.items.size(), 5000u);
    const PageItem* text = withId(outline, "long");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text.size(), 32767u + 3u);  // 32,767 characters and the three bytes of "…"
    EXPECT_EQ(text->text.substr(text->text.size() - 3), "…");
    EXPECT_EQ(outline.items.back().text, "link 4998");
}

TEST(ClientWorldOutlineParse, ReadsAnOutlineAndDefaultsWhatIsMissingOrMisshapen) {
    auto outline = platform::parseOutline(R"({"type":"outline","sequence":1700000000123,
        "url":"http://school.test/","title":"T","viewport":null,"scrollY":12.5,
        "viewWidth":375,"focus":4,"items":[
        {"kind":"link","node":3,"text":"go","href":"http://school.test/a","x":1,"y":2,
         "width":30,"height":"tall"},
        {"kind":"teleport","node":9},
        7,
        {"kind":"field","node":4,"control":"select","options":["a",2,"c"],"selected":1.5,
         "maxLength":1e30,"checked":"yes","editing":true},
        {"text":"plain"}]})");
    ASSERT_TRUE(outline);
    EXPECT_EQ(outline->sequence, 1700000000123u);
    EXPECT_FALSE(outline->viewport.has_value());
    EXPECT_EQ(outline->scrollY, 12.5);
    EXPECT_EQ(outline->scrollX, 0);
    EXPECT_EQ(outline->focus, 4);
    ASSERT_EQ(outline->items.size(), 3u);
    const PageItem& link = outline->items[0];
    EXPECT_EQ(link.kind, Kind::Link);
    EXPECT_EQ(link.href, "http://school.test/a");
    EXPECT_EQ(link.width, 30);
    EXPECT_EQ(link.height, 0);
    const PageItem& field = outline->items[1];
    EXPECT_EQ(field.options, (std::vector<std::string>{"a", "", "c"}));
    EXPECT_EQ(field.selected, -1);
    EXPECT_EQ(field.maxLength, -1);
    EXPECT_FALSE(field.checked);
    EXPECT_TRUE(field.editing);
    const PageItem& text = outline->items[2];
    EXPECT_EQ(text.kind, Kind::Text);
    EXPECT_EQ(text.node, -1);
    EXPECT_EQ(text.text, "plain");
}

TEST(ClientWorldOutlineParse, RejectsWhatIsNotAnOutline) {
    for (const char* text :
         {"", "not json", "[]", "42", R"("items")", R"({})", R"({"type":"scroll","x":0,"y":10})",
          R"({"type":"outline","items":{}})", R"({"type":7,"items":[]})", R"({"items":null})",
          R"({"type":"outline","items":[)"}) {
        EXPECT_FALSE(platform::parseOutline(text)) << text;
    }
    EXPECT_TRUE(platform::parseOutline(R"({"items":[]})"));
}

}  // namespace
