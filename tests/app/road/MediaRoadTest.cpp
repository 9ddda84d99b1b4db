// Scanning, photos and upload, and the image preview through the real client: runs the campus
// program on tests/app/media_road.campus with a fresh data directory and checks the screens it
// printed.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class MediaRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        // The script names its camera frame and photos from the repository's root.
        run = campusrun::runCampus(CAMPUS_SOURCE_DIR, CAMPUS_SCRIPTS_DIR "/media_road.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(MediaRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path()));
}

TEST_F(MediaRoad, TheScannedCodeReachesThePage) {
    Transcript road(run.output);
    EXPECT_TRUE(shows(road.after("tap 扫码"), "label \"扫一扫\"")) << road.after("tap 扫码");
    std::string page = road.after("device scan resources/sample/qr-demo.png");
    EXPECT_TRUE(shows(
        page, R"(#reply "{"message":"http://portal.lanxi-campus.example/checkin?room=A204"}")"))
        << page;
}

TEST_F(MediaRoad, TwoAlbumPhotosAreUploadedAndEachAnswered) {
    Transcript road(run.output);
    std::string sheet = road.after("tap 选择照片");
    EXPECT_TRUE(shows(sheet, "action sheet [拍照] [从照片中提取] [取消]")) << sheet;
    std::string album = road.after("alert 从照片中提取");
    EXPECT_TRUE(shows(album, "photo \"campus-gate.png\"")) << album;
    EXPECT_TRUE(shows(album, "photo \"library.png\"")) << album;
    std::string page = road.after("drag 187 300 187 600");
    EXPECT_TRUE(shows(page, "#reply \"{\"localIds\":\"/upload/")) << page;
    EXPECT_TRUE(shows(page, "#count \"3\"")) << page;
}

TEST_F(MediaRoad, ThePreviewPagerTurnsToTheSecondPicture) {
    Transcript road(run.output);
    EXPECT_TRUE(shows(road.after("tap 预览图片"), "navigation bar \"第1页\""))
        << road.after("tap 预览图片");
    std::string second = road.after("swipe s1 1");
    EXPECT_TRUE(shows(second, "navigation bar \"第2页\"")) << second;
    EXPECT_TRUE(shows(second, "page control 2/2")) << second;
}

}  // namespace
