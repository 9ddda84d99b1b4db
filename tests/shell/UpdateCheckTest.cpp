#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "client/ServiceConfig.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpResponse.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "shell/StoreVersionCheck.h"
#include "shell/UpdateView.h"
#include "tests/shell/HomeTestSupport.h"

using hometest::HomeTest;
using platform::Json;

namespace {

constexpr const char* kLookupPath = "/lookup";
constexpr const char* kStorePage = "https://store.lanxi-campus.example/app/campus";

Json record(const std::string& version) {
    return Json{{"version", version},
                {"fileSizeBytes", "31457280"},
                {"releaseNotes", "修复已知问题"},
                {"trackViewUrl", kStorePage}};
}

std::string offering(const std::string& version) {
    return Json{{"resultCount", 1}, {"results", Json::array({record(version)})}}.dump();
}

platform::HttpResponse reply(std::string body, int status = 200) {
    platform::HttpResponse response;
    response.status = status;
    response.body = std::move(body);
    return response;
}

// The version the decision announces, or "" for none.
std::string announced(const platform::HttpResponse& response, const std::string& installed) {
    auto results = StoreVersionCheck::offerFromReply(response, installed);
    return results ? (*results)[0]["version"].get<std::string>() : std::string();
}

TEST(StoreVersionDecision, AnnouncesOnlyAnotherVersionThanTheInstalledOneAndNever204) {
    EXPECT_EQ(announced(reply(offering("2.0.4")), "2.0.3"), "");
    EXPECT_EQ(announced(reply(offering("2.0.5")), "2.0.3"), "2.0.5");
    EXPECT_EQ(announced(reply(offering("2.0.5")), "2.0.5"), "");
    // An older version on offer is another version all the same.
    EXPECT_EQ(announced(reply(offering("2.0.3")), "2.0.5"), "2.0.3");

    Json none = Json::parse(offering("2.0.5"));
    none["resultCount"] = 0;
    EXPECT_EQ(announced(reply(none.dump()), "2.0.3"), "");
    Json empty = Json{{"resultCount", 1}, {"results", Json::array()}};
    EXPECT_EQ(announced(reply(empty.dump()), "2.0.3"), "");
    // The count read as an integer, text included.
    Json textCount = Json::parse(offering("2.0.5"));
    textCount["resultCount"] = "1";
    EXPECT_EQ(announced(reply(textCount.dump()), "2.0.3"), "2.0.5");
}

TEST(StoreVersionDecision, AReplyOfTheWrongShapeOrAFailedLookupAnnouncesNothing) {
    Json numberVersion = Json::parse(offering("2.0.5"));
    numberVersion["results"][0]["version"] = 2.05;
    Json noPage = Json::parse(offering("2.0.5"));
    noPage["results"][0].erase("trackViewUrl");
    Json resultsObject = Json{{"resultCount", 1}, {"results", record("2.0.5")}};
    Json recordNotObject = Json{{"resultCount", 1}, {"results", Json::array({"2.0.5"})}};
    Json countNotCount = Json::parse(offering("2.0.5"));
    countNotCount["resultCount"] = Json::array({1});
    const std::string whole = offering("2.0.5");

    for (const std::string& body :
         {std::string("\"2.0.5\""), std::string("42"), std::string("null"), "[" + whole + "]",
          whole.substr(0, whole.size() / 2), std::string(""),
          std::string("{\"resultCount\":1,\"results\":[{\"version\":\"2.0.\xff\"}]}"),
          numberVersion.dump(), noPage.dump(), resultsObject.dump(), recordNotObject.dump(),
          countNotCount.dump()}) {
        EXPECT_EQ(announced(reply(body), "2.0.3"), "") << body;
    }
    EXPECT_EQ(announced(reply(whole, 500), "2.0.3"), "");
    platform::HttpResponse timedOut;
    timedOut.error = "Timeout was reached";
    EXPECT_EQ(announced(timedOut, "2.0.3"), "");
}

// --- The overlay ------------------------------------------------------------------------------

class UpdateViewTest : public HomeTest {
protected:
    static std::shared_ptr<UpdateView> overlayFor(Json first) {
        const auto screen = platform::Screen::main().size();
        return platform::View::make<UpdateView>(platform::Rect{{0, 0}, screen},
                                                Json::array({std::move(first)}));
    }
};

TEST_F(UpdateViewTest, ShowsTheVersionAndTheSizeInWholeMebibytesPlusOne) {
    struct Case {
        Json size;
        std::string shown;
    };
    for (const auto& c :
         {Case{"10000000", "大小：10M"}, Case{1048576, "大小：2M"}, Case{Json(), "大小：1M"},
          Case{1048575, "大小：1M"}, Case{Json::array(), "大小：1M"}}) {
        Json first = record("2.0.5");
        if (c.size.is_null())
            first.erase("fileSizeBytes");
        else
            first["fileSizeBytes"] = c.size;
        auto overlay = overlayFor(first);
        EXPECT_EQ(overlay->sizeLabel()->text(), c.shown) << c.size.dump();
        EXPECT_EQ(overlay->versionLabel()->text(), "版本：2.0.5");
        EXPECT_EQ(overlay->urlStr(), kStorePage);
    }
    Json noNotes = record("2.0.5");
    noNotes.erase("releaseNotes");
    EXPECT_EQ(overlayFor(noNotes)->notesLabel()->text(), "");
}

TEST_F(UpdateViewTest, TheCardSitsMidScreenAndLongNotesScrollInsideIt) {
    for (const platform::Size screen :
         {platform::Size{320, 568}, platform::Size{375, 667}, platform::Size{414, 736}}) {
        platform::testing::useScreen(screen.width, screen.height);
        Json first = record("2.0.5");
        std::string notes;
        for (int i = 1; i <= 12; ++i)
            notes += std::to_string(i) + ". 优化新闻列表与通知公告的加载速度\n";
        first["releaseNotes"] = notes;
        auto overlay = overlayFor(first);

        const platform::Rect card{{screen.width / 2 - 128, screen.height / 2 - 167}, {257, 335}};
        EXPECT_EQ(overlay->card()->frame(), card);
        EXPECT_EQ(overlay->closeButton()->frame(),
                  (platform::Rect{{card.origin.x + 242, card.origin.y - 7}, {24, 24}}));
        EXPECT_EQ(overlay->closeButton()->superview(), overlay);
        EXPECT_EQ(overlay->downloadButton()->frame(), (platform::Rect{{31.5, 268}, {195, 40}}));
        EXPECT_EQ(overlay->downloadButton()->currentTitle(), "立即下载");
        EXPECT_EQ(overlay->notesScrollView()->frame(), (platform::Rect{{35, 153}, {187, 95}}));
        const double notesHeight = overlay->notesLabel()->frame().size.height;
        EXPECT_GT(notesHeight, 95);
        EXPECT_EQ(overlay->notesScrollView()->contentSize(), (platform::Size{187, notesHeight}));
        ASSERT_TRUE(overlay->notesScrollView()->dragBy({0, -60}));
        EXPECT_EQ(overlay->card()->frame(), card);
    }
    for (const char* picture : {"升级背景.png", "版本更新.png", "关闭.png"})
        EXPECT_FALSE(platform::Image::named(picture).isNull()) << picture;
}

// --- At launch --------------------------------------------------------------------------------

class UpdateCheckTest : public HomeTest {
protected:
    std::shared_ptr<platform::View> rootView() const {
        return delegate->window()->rootViewController()->view();
    }
    std::shared_ptr<UpdateView> overlay() const {
        for (const auto& view : rootView()->subviews()) {
            if (auto found = std::dynamic_pointer_cast<UpdateView>(view))
                return found;
        }
        return nullptr;
    }
    const std::vector<std::string>& opened() const {
        return platform::Application::shared().openedURLs();
    }
};

TEST_F(UpdateCheckTest, TheStoreOfferingTheInstalledVersionShowsNothing) {
    launch();
    const auto lookups = server.requestsTo(kLookupPath);
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0].method, "POST");
    EXPECT_EQ(lookups[0].queryValue("id"), ServiceConfig::shared().storeAppId);
    EXPECT_EQ(overlay(), nullptr);
}

TEST_F(UpdateCheckTest, DownloadOpensTheStorePageOnceAndRemovesTheOverlay) {
    server.offerStoreVersion("2.0.5");
    launch();
    auto shown = overlay();
    ASSERT_TRUE(shown) << driver.outline();
    EXPECT_EQ(rootView()->subviews().back(), shown);
    EXPECT_EQ(shown->frame(), rootView()->bounds());
    EXPECT_EQ(shown->versionLabel()->text(), "版本：2.0.5");
    const std::string page = shown->urlStr();
    EXPECT_FALSE(page.empty());

    ASSERT_TRUE(driver.tap("立即下载"));
    EXPECT_EQ(opened(), std::vector<std::string>{page});
    EXPECT_EQ(overlay(), nullptr);
    EXPECT_FALSE(driver.tap("立即下载"));
    EXPECT_EQ(opened().size(), 1u);
}

TEST_F(UpdateCheckTest, CloseRemovesOnlyTheOverlay) {
    server.offerStoreVersion("2.0.5");
    launch();
    auto shown = overlay();
    ASSERT_TRUE(shown);
    auto others = rootView()->subviews();
    std::erase(others, std::static_pointer_cast<platform::View>(shown));

    ASSERT_TRUE(driver.tap(UpdateView::kCloseHandle));
    EXPECT_EQ(rootView()->subviews(), others);
    EXPECT_TRUE(opened().empty());
    EXPECT_EQ(server.requestsTo(kLookupPath).size(), 1u);
    EXPECT_TRUE(driver.find("岚溪资讯")) << driver.outline();
}

TEST_F(UpdateCheckTest, AFragmentFromTheStoreShowsNothing) {
    server.setReply("POST", kLookupPath, fakes::Reply{200, "application/json", "\"2.0.5\"", {}});
    launch();
    EXPECT_EQ(server.requestsTo(kLookupPath).size(), 1u);
    EXPECT_EQ(overlay(), nullptr);
}

TEST_F(UpdateCheckTest, ASlowStoreDoesNotHoldBackTheFirstNewsPage) {
    std::promise<void> release;
    auto released = release.get_future().share();
    server.setHandler("POST", kLookupPath, [released](const fakes::RecordedRequest&) {
        released.wait_for(std::chrono::seconds(5));
        return fakes::Reply{200, "application/json", offering("2.0.5"), {}};
    });
    delegate = AppDelegate::launchApplication();
    settle();
    ASSERT_TRUE(waitFor([this] { return home() && !home()->allNewsArr().empty(); }))
        << driver.outline();
    EXPECT_EQ(overlay(), nullptr);

    release.set_value();
    EXPECT_TRUE(waitFor([this] { return overlay() != nullptr; }));
}

}  // namespace
