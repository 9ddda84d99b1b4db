// The web container's page commands through the real client: runs the campus program on
// tests/app/bridge_road.campus with a fresh data directory and checks each reply the
// demonstration page showed.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

// Scrolling back to the top of the page takes two drags; the second shows the reply.
constexpr const char* kBackToTop = "drag 187 100 187 600";

class BridgeRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/bridge_road.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    // What the page showed as its reply once scrolled back up after its n-th command down
    // the page.
    static std::string replyAfterCommand(int n) {
        return Transcript(run.output).after(kBackToTop, 2 * n);
    }
    static std::string reply(const std::string& json) { return "#reply \"" + json + "\""; }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(BridgeRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path()));
}

TEST_F(BridgeRoad, TheAttendancePageLeadsToTheDemonstration) {
    Transcript road(run.output);
    EXPECT_TRUE(shows(road.after("tap 移动考勤"), "link \"功能演示\""));
    std::string demo = road.after("tap 功能演示");
    EXPECT_TRUE(shows(demo, "web \"网页接口演示\"")) << demo;
    EXPECT_TRUE(shows(demo, reply("（尚无回复）"))) << demo;
}

TEST_F(BridgeRoad, ThePageStoreAnswersItsValuesANullAsABlankAndAMissingKeyEmpty) {
    Transcript road(run.output);
    EXPECT_TRUE(shows(road.after("tap \"存入 name 与 empty\""), "#count \"0\""));
    std::string name = road.after("tap \"读取 name\"");
    EXPECT_TRUE(shows(name, reply(R"({"message":"岚溪学院"})"))) << name;
    std::string empty = road.after("tap \"读取 empty\"");
    EXPECT_TRUE(shows(empty, reply(R"({"message":" "})"))) << empty;
    std::string missing = road.after("tap 读取未存的键");
    EXPECT_TRUE(shows(missing, reply(R"({"message":""})"))) << missing;
}

TEST_F(BridgeRoad, TheDeviceNetworkAndUserAnswerTheirForms) {
    std::string device = replyAfterCommand(1);
    EXPECT_TRUE(shows(device, "#reply \"{\"deviceId\":\"")) << device;
    std::string network = replyAfterCommand(2);
    EXPECT_TRUE(shows(network, "#reply \"{\"NetworkType\":\"目前网络状态为：")) << network;
    std::string user = replyAfterCommand(3);
    EXPECT_TRUE(shows(user, "#reply \"{\"userId\":\"20050031\",\"userName\":\"王建国\"")) << user;
}

TEST_F(BridgeRoad, ContactsListTheFirstLegalMobileWithoutSeparators) {
    std::string contacts = replyAfterCommand(4);
    EXPECT_TRUE(
        shows(contacts, reply(R"({"list":[{"userName":"林晓岚","mobileNo":"13900004567"}]})")))
        << contacts;
}

TEST_F(BridgeRoad, LocationAnswersTheFixWithItsPlace) {
    std::string location = replyAfterCommand(5);
    EXPECT_TRUE(shows(
        location,
        reply(R"({"latitude":"30.300100","longitude":"120.080100","address":"兰溪校区图书馆"})")))
        << location;
    EXPECT_TRUE(shows(location, "#count \"8\"")) << location;
}

TEST_F(BridgeRoad, ShareShowsTheSheetWithQzoneWhoseTapOpensNothing) {
    Transcript road(run.output);
    std::string sheet = road.after("tap 分享");
    EXPECT_TRUE(shows(sheet, "share sheet [qzone]")) << sheet;
    EXPECT_TRUE(shows(sheet, "label \"QQ空间\"")) << sheet;
    std::string tapped = road.after("tap share-qzone");
    EXPECT_FALSE(shows(tapped, "share sheet")) << tapped;
    EXPECT_TRUE(shows(tapped, "web \"网页接口演示\"")) << tapped;
}

// The pictures load without holding the client; the pager opens once both are in, and back
// leads to the page again with no overlay left over it.
TEST_F(BridgeRoad, PreviewOpensThePagerOnBothPicturesAndBackReturnsToThePage) {
    Transcript road(run.output);
    std::string pager = road.after("tap 预览图片");
    EXPECT_TRUE(shows(pager, "navigation bar \"第1页\"")) << pager;
    EXPECT_TRUE(shows(pager, "page control 1/2")) << pager;
    std::string back = road.after("back");
    EXPECT_TRUE(shows(back, "web \"网页接口演示\"")) << back;
    EXPECT_FALSE(shows(back, "加载中")) << back;
}

}  // namespace
