#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "client/NetTool.h"
#include "client/News.h"
#include "components/refresh/ScrollViewRefresh.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "widgets/PagedList.h"

using platform::Json;
using platform::components::isFooterRefreshing;
using platform::components::isHeaderRefreshing;

namespace {

constexpr const char* kNewsPath = "/vobels/services/api/news/getNews.do";

// Holds every reply of one route of the fake services until the test releases it, so that the
// test orders replies itself. Held handlers block a server thread each; all are let go when
// the holder goes, which must be before the server stops.
class HeldReplies {
public:
    HeldReplies(fakes::FakeSchoolServices& server, const std::string& path) {
        server.setHandler("GET", path, [this](const fakes::RecordedRequest& request) {
            std::unique_lock lock(m_mutex);
            const std::size_t index = m_held.size();
            m_held.push_back({request.queryValue("pageNo").value_or("?"), std::nullopt});
            m_changed.notify_all();
            m_changed.wait(lock, [&] { return m_held[index].reply.has_value() || m_closing; });
            return m_held[index].reply.value_or(fakes::Reply{503, "text/plain", "closed"});
        });
    }
    ~HeldReplies() {
        std::lock_guard lock(m_mutex);
        m_closing = true;
        m_changed.notify_all();
    }

    // The page asked for by each request held so far, in arrival order.
    std::vector<std::string> pages() const {
        std::lock_guard lock(m_mutex);
        std::vector<std::string> pages;
        for (const auto& held : m_held) pages.push_back(held.page);
        return pages;
    }
    std::size_t count() const { return pages().size(); }
    // Blocks until `count` requests have been held (or ten seconds have passed). The client
    // sends from its own network thread, so the main thread may wait here.
    bool waitForHeld(std::size_t count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10),
                                  [&] { return m_held.size() >= count; });
    }
    void release(std::size_t index, fakes::Reply reply) {
        std::lock_guard lock(m_mutex);
        m_held.at(index).reply = std::move(reply);
        m_changed.notify_all();
    }

private:
    struct Held {
        std::string page;
        std::optional<fakes::Reply> reply;
    };
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Held> m_held;
    bool m_closing{false};
};

fakes::Reply headlines(const std::vector<std::string>& titles) {
    Json list = Json::array();
    for (const auto& title : titles) list.push_back(Json{{"xwbt", title}});
    return {200, "application/json", Json{{"News", list}}.dump()};
}

// The table's rows are the list's records, one plain cell each.
class RecordsSource : public platform::TableViewDataSource {
public:
    explicit RecordsSource(const PagedList<News>& list) : m_list(list) {}
    int numberOfRowsInSection(platform::TableView&, int) override {
        return static_cast<int>(m_list.size());
    }
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView&, const platform::IndexPath& indexPath) override {
        auto cell = platform::View::make<platform::TableViewCell>(
            platform::TableViewCellStyle::Default, "cell");
        if (const News* news = m_list.recordAt(static_cast<std::size_t>(indexPath.row)))
            cell->textLabel()->setText(news->xwbt);
        return cell;
    }

private:
    const PagedList<News>& m_list;
};

// A table on screen showing the school news through a paged list, against the fake services.
class PagedListTest : public ::testing::Test {
protected:
    PagedListTest() {
        server.start();
        list = PagedList<News>::create(
            "News", [base = server.baseUrl()](long page, auto success, auto failure) {
                NetTool::shareInstance().getWithURL(
                    base + kNewsPath + "?pageNo=" + std::to_string(page) +
                        "&pageSize=" + std::to_string(PagedList<News>::kPageSize),
                    std::move(success), std::move(failure));
            });
        list->didLoad = [this] { ++loads; };
        list->didFail = [this](const NetError& error) { failures.push_back(error.status); };
        source = std::make_shared<RecordsSource>(*list);
        table->setDataSource(source);
        root->view()->addSubview(table);
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        list->attachTo(table);
    }

    std::vector<std::string> shown() const {
        std::vector<std::string> titles;
        for (const auto& news : list->records()) titles.push_back(news.xwbt);
        return titles;
    }
    std::vector<std::string> requestedPages() const {
        std::vector<std::string> pages;
        for (const auto& request : server.requestsTo(kNewsPath))
            pages.push_back(request.queryValue("pageNo").value_or("?"));
        return pages;
    }
    // Every reply sent so far has been handled on the main loop.
    bool quiet() {
        return driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }).ok;
    }
    bool controlsEnded() const {
        return !isHeaderRefreshing(*table) && !isFooterRefreshing(*table);
    }
    void pullDown() {
        ASSERT_TRUE(driver.pullDown(table));
        ASSERT_TRUE(quiet());
    }
    void pullUp() {
        ASSERT_TRUE(driver.pullUp(table));
        ASSERT_TRUE(quiet());
    }

    fakes::FakeSchoolServices server;
    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    std::shared_ptr<platform::Window> window = platform::View::make<platform::Window>();
    std::shared_ptr<platform::ViewController> root = std::make_shared<platform::ViewController>();
    std::shared_ptr<platform::TableView> table = platform::View::make<platform::TableView>(
        platform::Rect{{0, 0}, {375, 500}}, platform::TableViewStyle::Plain);
    std::shared_ptr<PagedList<News>> list;
    std::shared_ptr<RecordsSource> source;
    int loads{0};
    std::vector<int> failures;
};

// Declared after the server so that held handlers are let go before it stops.
class PagedListHeldTest : public PagedListTest {
protected:
    HeldReplies held{server, kNewsPath};

    bool heldCount(std::size_t count) { return held.waitForHeld(count); }
};

TEST_F(PagedListTest, PagesAppendInOrderAndAPullDownStartsOverAtPageOne) {
    list->beginRefreshing();
    EXPECT_TRUE(isHeaderRefreshing(*table));
    ASSERT_TRUE(quiet());
    ASSERT_EQ(list->size(), 10u);
    const auto firstPage = shown();
    EXPECT_EQ(table->numberOfRowsInSection(0), 10);
    EXPECT_TRUE(controlsEnded());
    EXPECT_EQ(loads, 1);

    pullUp();
    pullUp();
    EXPECT_EQ(list->size(), 25u);  // the sample holds 25 items
    const auto all = shown();
    EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + 10), firstPage);
    EXPECT_EQ(table->numberOfRowsInSection(0), 25);
    // Page 4 is empty: nothing is added, and the next pull asks for the page after it.
    pullUp();
    EXPECT_EQ(list->size(), 25u);
    pullUp();
    EXPECT_EQ(requestedPages(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(controlsEnded());

    pullDown();
    EXPECT_EQ(shown(), firstPage);
    EXPECT_EQ(list->nextPage(), 1);
    EXPECT_FALSE(list->isUpLoading());
    pullUp();
    EXPECT_EQ(requestedPages().back(), "2");
    EXPECT_EQ(list->size(), 20u);
    EXPECT_TRUE(failures.empty());
}

TEST_F(PagedListTest, AReloadWithoutTheListEmptiesItAndALoadMoreWithoutItAddsNothing) {
    list->reload();
    ASSERT_TRUE(quiet());
    ASSERT_EQ(list->size(), 10u);

    server.setReply("GET", kNewsPath, {200, "application/json", Json{{"res", "true"}}.dump()});
    pullUp();
    EXPECT_EQ(list->size(), 10u);
    pullDown();
    EXPECT_EQ(list->size(), 0u);
    EXPECT_EQ(table->numberOfRowsInSection(0), 0);

    // Elements that are not objects are skipped.
    server.setReply("GET", kNewsPath,
                    {200, "application/json",
                     Json{{"News", Json::array({7, Json{{"xwbt", "唯一"}}, nullptr})}}.dump()});
    pullDown();
    EXPECT_EQ(shown(), std::vector<std::string>{"唯一"});
    EXPECT_TRUE(failures.empty());
}

TEST_F(PagedListTest, AReplyThatIsNotAnObjectFailsLikeAFailedRequestAndKeepsTheRows) {
    list->reload();
    ASSERT_TRUE(quiet());
    const auto before = shown();
    ASSERT_EQ(before.size(), 10u);

    for (const char* body : {"[1,2]", "\"News\"", "null", "42"}) {
        SCOPED_TRACE(body);
        failures.clear();
        server.setReply("GET", kNewsPath, {200, "application/json", body});
        pullDown();
        EXPECT_EQ(failures.size(), 1u);
        EXPECT_EQ(shown(), before);
        EXPECT_TRUE(controlsEnded());
        pullUp();
        EXPECT_EQ(failures.size(), 2u);
        EXPECT_EQ(shown(), before);
        EXPECT_EQ(list->nextPage(), 1);  // the page is given back, as for any failed pull-up
        EXPECT_TRUE(controlsEnded());
    }
    EXPECT_EQ(loads, 1);
}

TEST_F(PagedListTest, AFailedLoadMoreGivesItsPageBackAndEndsBothControls) {
    list->reload();
    ASSERT_TRUE(quiet());

    server.setReply("GET", kNewsPath, {503, "text/plain", "busy"});
    pullUp();
    EXPECT_EQ(failures, std::vector<int>{503});
    EXPECT_TRUE(controlsEnded());
    EXPECT_EQ(list->nextPage(), 1);
    EXPECT_EQ(list->size(), 10u);

    server.clearOverrides();
    pullUp();
    EXPECT_EQ(requestedPages(), (std::vector<std::string>{"1", "2", "2"}));
    EXPECT_EQ(list->size(), 20u);
}

TEST_F(PagedListTest, AFailedReloadKeepsTheRowsAndEndsTheControls) {
    list->reload();
    ASSERT_TRUE(quiet());
    const auto before = shown();

    server.setReply("GET", kNewsPath, {500, "text/plain", "down"});
    pullDown();
    EXPECT_EQ(failures, std::vector<int>{500});
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(table->numberOfRowsInSection(0), 10);
    EXPECT_TRUE(controlsEnded());
    EXPECT_EQ(loads, 1);
}

TEST_F(PagedListHeldTest, ALoadMoreOvertakenByAReloadIsDroppedWhenItsReplyComesLate) {
    list->reload();
    ASSERT_TRUE(heldCount(1));
    held.release(0, headlines({"第一页"}));
    ASSERT_TRUE(quiet());

    ASSERT_TRUE(driver.pullUp(table));
    ASSERT_TRUE(heldCount(2));
    ASSERT_TRUE(driver.pullDown(table));
    ASSERT_TRUE(heldCount(3));
    EXPECT_EQ(held.pages(), (std::vector<std::string>{"1", "2", "1"}));

    held.release(2, headlines({"刷新后的第一页"}));
    ASSERT_TRUE(driver.runUntil([&] { return loads == 2; }).ok);
    held.release(1, headlines({"过期的第二页"}));
    ASSERT_TRUE(quiet());

    EXPECT_EQ(shown(), std::vector<std::string>{"刷新后的第一页"});
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(list->nextPage(), 1);
    EXPECT_TRUE(controlsEnded());
}

TEST_F(PagedListHeldTest, AnOlderReloadAnsweredAfterANewerOneIsDropped) {
    list->reload();
    ASSERT_TRUE(heldCount(1));
    list->reload();
    ASSERT_TRUE(heldCount(2));

    held.release(1, headlines({"新的刷新"}));
    ASSERT_TRUE(driver.runUntil([&] { return loads == 1; }).ok);
    held.release(0, headlines({"旧的刷新"}));
    ASSERT_TRUE(quiet());

    EXPECT_EQ(shown(), std::vector<std::string>{"新的刷新"});
    EXPECT_EQ(loads, 1);
    EXPECT_TRUE(controlsEnded());
}

TEST_F(PagedListHeldTest, RepliesArrivingAfterTheListHasGoneDoNothing) {
    list->beginRefreshing();
    scope.advance(1);
    ASSERT_TRUE(heldCount(1));

    std::weak_ptr<PagedList<News>> gone = list;
    table->removeFromSuperview();
    list.reset();
    ASSERT_TRUE(gone.expired());
    held.release(0, headlines({"无人接收"}));
    ASSERT_TRUE(quiet());
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(table->numberOfRowsInSection(0), 0);
}

}  // namespace
