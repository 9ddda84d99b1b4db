#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/RunLoop.h"
#include "platform/webkit/EngineLoader.h"

// School pages as schools write them, for a real browser: jQuery 1 and 3, Zepto, and a page of
// plain script, each loading its library from a file, fetching JSON, running timers and
// answering real clicks. The pages and their data are files under tests/data/web; the
// libraries are the published builds (tests/data/web/vendor/README.md).

namespace {

using namespace platform::webkit;

// Where the pages are served, so that their relative addresses ("vendor/...", "notices.json")
// resolve as they would on a school's site.
const std::string kRoot = "/library/";

class PageClient : public ViewClient {
public:
    std::string title;
    std::vector<LoadFailure> failures;
    std::vector<DialogAsk> dialogs;
    EngineView* view{nullptr};

    void navigationAsked(const NavigationAsk& ask) override { view->decide(ask.id, true); }
    void loadChanged(LoadStage, const std::string&, int) override {}
    void loadFailed(const LoadFailure& failure) override { failures.push_back(failure); }
    void titleChanged(const std::string& text) override { title = text; }
    // None of these pages asks; one that did would wait for ever, so it is let go at once.
    void dialogAsked(const DialogAsk& ask) override {
        dialogs.push_back(ask);
        view->answerDialog(ask.id, false, "");
    }
    void choicesAsked(const ChoicesAsk& ask) override { view->answerChoices(ask.id, -1); }
    void filesAsked(const FilesAsk& ask) override { view->answerFiles(ask.id, {}); }
};

std::string contentTypeOf(const std::filesystem::path& file) {
    const std::string extension = file.extension().string();
    if (extension == ".html")
        return "text/html; charset=utf-8";
    if (extension == ".js")
        return "application/javascript; charset=utf-8";
    if (extension == ".json")
        return "application/json; charset=utf-8";
    return "text/plain; charset=utf-8";
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class LibraryPagesTest : public ::testing::Test {
protected:
    // One server for the suite: WebKit keeps its connections open, and a server stopped under
    // them waits out their keep-alive. The files are read once; the routes are set again for
    // each test, since a test may have replaced one.
    static void SetUpTestSuite() {
        s_server = new fakes::FakeSchoolServices();
        s_server->start();
        s_files = new std::vector<std::pair<std::string, fakes::Reply>>();
        const std::filesystem::path web = std::filesystem::path(CAMPUS_TEST_DATA) / "web";
        for (const auto& entry : std::filesystem::recursive_directory_iterator(web)) {
            if (!entry.is_regular_file())
                continue;
            fakes::Reply reply;
            reply.contentType = contentTypeOf(entry.path());
            reply.body = readFile(entry.path());
            s_files->emplace_back(
                kRoot + std::filesystem::relative(entry.path(), web).generic_string(),
                std::move(reply));
        }
    }

    void SetUp() override {
        ASSERT_NE(engine(), nullptr) << loadError();
        ASSERT_FALSE(s_files->empty()) << "no pages under " << CAMPUS_TEST_DATA;
        server.clearOverrides();
        server.clearRequests();
        for (const auto& [path, reply] : *s_files) server.setReply("GET", path, reply);
        client = std::make_shared<PageClient>();
        view = engine()->makeView(client, ViewOptions{});
        client->view = view.get();
        view->setGeometry(375, 600, 1);
    }

    bool waitForTitle(const std::string& title) {
        return platform::RunLoop::main().runUntil([&] { return client->title == title; },
                                                  std::chrono::seconds(20));
    }

    // Loads the page and waits until it says it has settled.
    void open(const std::string& page) {
        view->load({server.baseUrl() + kRoot + page});
        ASSERT_TRUE(waitForTitle("ready"))
            << page << " did not settle; title \"" << client->title << "\", status \""
            << eval("document.getElementById('status').textContent") << "\", "
            << client->failures.size() << " failed loads";
    }

    // Clicks for real at the point and waits for the page's handler to have run `count` times
    // (each handler counts its runs in the title).
    void clickAndWait(double x, double y, int count) {
        view->click(x, y);
        ASSERT_TRUE(waitForTitle("clicked " + std::to_string(count)))
            << "no handler ran for the click at (" << x << ", " << y << "); title \""
            << client->title << "\"";
    }

    std::string eval(const std::string& script) {
        return view->evaluateWithin(script, World::Page, std::chrono::seconds(5))
            .value_or("(none)");
    }

    static inline fakes::FakeSchoolServices* s_server = nullptr;
    static inline std::vector<std::pair<std::string, fakes::Reply>>* s_files = nullptr;
    fakes::FakeSchoolServices& server = *s_server;
    std::shared_ptr<PageClient> client;
    std::unique_ptr<EngineView> view;
};

TEST_F(LibraryPagesTest, AJquery1PageBuildsItsListFromAjaxAndItsButtonShowsTheRest) {
    open("jquery1.html");
    EXPECT_EQ(eval("jQuery.fn.jquery"), "1.12.4");
    EXPECT_EQ(eval("$('#status').text()"), "共 5 条通知");
    EXPECT_EQ(eval("$('#notices li').length"), "5");
    EXPECT_EQ(eval("$('#notices li .title').first().text()"), "关于期中考试安排的通知");
    EXPECT_EQ(eval("$('#notices li').last().find('.meta').text()"), "校办 2024-04-02");
    EXPECT_EQ(eval("$('#notices li:visible').length"), "3");

    // The button sits at (20, 20), 160 x 40.
    clickAndWait(100, 40, 1);
    EXPECT_EQ(eval("$('#more').text()"), "收起");
    EXPECT_EQ(eval("$('#notices li:visible').length"), "5");

    clickAndWait(100, 40, 2);
    EXPECT_EQ(eval("$('#more').text()"), "展开全部");
    EXPECT_EQ(eval("$('#notices li:visible').length"), "3");
}

TEST_F(LibraryPagesTest, AJquery3PageAnswersClicksOnRowsDrawnAfterItsHandlerWasBound) {
    open("jquery3.html");
    EXPECT_EQ(eval("jQuery.fn.jquery"), "3.7.1");
    EXPECT_EQ(eval("$('#heading').text()"), "高一（3）班 2024 学年第二学期");
    EXPECT_EQ(eval("$('#status').text()"), "每周 5 天");
    EXPECT_EQ(eval("$('#days li').length"), "5");
    EXPECT_EQ(eval("$('#days').hasClass('loaded')"), "true");

    // Rows are 40 high from y = 100: the third (星期三) spans 180..220.
    clickAndWait(100, 200, 1);
    EXPECT_EQ(eval("$('#days li.chosen').length"), "1");
    EXPECT_EQ(eval("$('#days li.chosen').attr('data-index')"), "2");
    EXPECT_EQ(eval("$('#detail').text()"), "星期三：英语、语文、生物、音乐");

    // The same row again: toggled off.
    clickAndWait(100, 200, 2);
    EXPECT_EQ(eval("$('#days li.chosen').length"), "0");
    EXPECT_EQ(eval("$('#detail').text()"), "");

    clickAndWait(100, 120, 3);
    EXPECT_EQ(eval("$('#days li.chosen').attr('data-index')"), "0");
    EXPECT_EQ(eval("$('#detail').text()"), "星期一：语文、数学、英语、物理");
}

TEST_F(LibraryPagesTest, AZeptoFormChecksItsFieldAndStylesTheResult) {
    open("zepto.html");
    EXPECT_EQ(eval("typeof Zepto === 'function' && $ === Zepto"), "true");
    EXPECT_EQ(eval("$('#status').text()"), "报名截止：2024-05-10");
    EXPECT_EQ(eval("$('#club option').length"), "3");
    EXPECT_EQ(eval("document.querySelectorAll('#club option[disabled]').length"), "1");
    EXPECT_EQ(eval("$('#submit').prop('disabled')"), "false");

    // The button sits at (20, 120), 160 x 40. With no name the form refuses, in red.
    clickAndWait(100, 140, 1);
    EXPECT_EQ(eval("$('#result').text()"), "请填写姓名");
    EXPECT_EQ(eval("getComputedStyle(document.getElementById('result')).color"), "rgb(204, 0, 0)");

    eval("document.getElementById('name').value = ' 林同学 '");
    clickAndWait(100, 140, 2);
    EXPECT_EQ(eval("$('#result').text()"), "报名成功：林同学 · 书法社");
    EXPECT_EQ(eval("getComputedStyle(document.getElementById('result')).color"), "rgb(0, 128, 0)");
    EXPECT_EQ(eval("$('#submit').prop('disabled')"), "true");
}

TEST_F(LibraryPagesTest, APlainScriptPageFetchesBuildsItsListAndStopsItsTimer) {
    open("plain.html");
    EXPECT_EQ(eval("typeof jQuery"), "undefined");
    EXPECT_EQ(eval("document.querySelector('#status').textContent"),
              "今日共 6 个时段，其中 4 节课");
    EXPECT_EQ(eval("document.querySelectorAll('#periods li.period').length"), "6");
    EXPECT_EQ(eval("document.querySelectorAll('#periods li.lesson').length"), "4");
    EXPECT_EQ(eval("document.querySelector('#periods li').textContent"), "早读 07:30–07:55");
    // The page settles several intervals after the third refresh: a timer still running
    // would have moved the count on.
    EXPECT_EQ(eval("document.querySelector('#clock').textContent"), "已刷新 3 次");
}

TEST_F(LibraryPagesTest, AServerErrorTakesThePagesErrorPath) {
    fakes::Reply broken;
    broken.status = 500;
    broken.body = R"({"error":"维护中"})";
    server.setReply("GET", kRoot + "bells.json", broken);
    open("plain.html");
    EXPECT_EQ(server.requestsTo(kRoot + "bells.json").size(), 1u);
    EXPECT_EQ(eval("document.querySelector('#status').textContent"), "作息表加载失败（500）");
    EXPECT_EQ(eval("document.querySelector('#status').classList.contains('error')"), "true");
    EXPECT_EQ(eval("document.querySelectorAll('#periods li').length"), "0");
    EXPECT_EQ(eval("document.querySelector('#clock').textContent"), "");
}

}  // namespace
