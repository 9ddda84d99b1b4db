// The update overlay through the real client: runs the campus program on
// tests/app/update_overlay.campus against demo services whose store offers 2.0.5, and once
// more against the plain demo services, whose store offers the installed version.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class UpdateOverlayRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        offered =
            campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/update_overlay.campus",
                                 home->path() / "offered", {"CAMPUS_DEMO_STORE_VERSION=2.0.5"});
        std::filesystem::path enter = home->path() / "enter.campus";
        std::ofstream(enter) << "swipe intro 3\n";
        plain = campusrun::runCampus(home->path(), enter, home->path() / "plain");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun offered;
    static inline campusrun::ProgramRun plain;
};

TEST_F(UpdateOverlayRoad, TheOverlayShowsOverTheHomePageWhenTheStoreOffersAnotherVersion) {
    ASSERT_EQ(offered.status, 0) << offered.output;
    Transcript road(offered.output);
    std::string home = road.after("swipe intro 3");
    EXPECT_TRUE(shows(home, "label \"版本：2.0.5\"")) << home;
    EXPECT_TRUE(shows(home, "button \"立即下载\"")) << home;

    EXPECT_TRUE(shows(road.after("screenshot update_overlay.png"), "saved update_overlay.png"));
    std::ifstream picture(UpdateOverlayRoad::home->path() / "update_overlay.png", std::ios::binary);
    std::string signature(8, '\0');
    picture.read(signature.data(), 8);
    EXPECT_EQ(signature, "\x89PNG\r\n\x1a\n");
}

TEST_F(UpdateOverlayRoad, DownloadHandsTheStorePageOverAndTheHomePageShowsAgain) {
    Transcript road(offered.output);
    std::string after = road.after("tap 立即下载");
    EXPECT_EQ(after.rfind("opened ", 0), 0u) << after;
    EXPECT_FALSE(shows(after, "立即下载")) << after;
    EXPECT_TRUE(shows(after, "navigation bar \"岚溪资讯\"")) << after;
}

TEST_F(UpdateOverlayRoad, ThePlainDemoStoreOffersTheInstalledVersionSoNothingShows) {
    ASSERT_EQ(plain.status, 0) << plain.output;
    Transcript road(plain.output);
    std::string home = road.after("swipe intro 3");
    EXPECT_TRUE(shows(home, "navigation bar \"岚溪资讯\"")) << home;
    EXPECT_FALSE(shows(home, "立即下载")) << home;
}

}  // namespace
