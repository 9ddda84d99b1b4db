// The phone's own parts through the real client: runs the campus program on
// tests/app/standins_road.campus in a folder holding a long album and a camera picture, and
// checks the screens it printed and the screenshots it took.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Image.h"
#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

constexpr int kPhotos = 40;
constexpr std::uint32_t kSky = 0xFF5A9FE6u;
constexpr std::uint32_t kGrass = 0xFF288C3Cu;

std::uint32_t photoColour(int i) {
    return 0xFF000000u | std::uint32_t(30 + i * 5) << 16 | std::uint32_t(220 - i * 4) << 8 | 0x60u;
}

void writePicture(const std::filesystem::path& path, int width, int height,
                  const std::vector<std::uint32_t>& pixels) {
    std::ofstream(path, std::ios::binary)
        << platform::Image::fromARGB(width, height, pixels).pngData();
}

class StandInsRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        folder = home->path() / "run";
        std::filesystem::create_directories(folder / "album");
        for (int i = 0; i < kPhotos; ++i)
            writePicture(folder / "album" / ("photo" + std::to_string(1000 + i) + ".png"), 48, 36,
                         std::vector<std::uint32_t>(48 * 36, photoColour(i)));
        std::vector<std::uint32_t> view(90 * 120, kSky);
        std::fill(view.begin() + 90 * 80, view.end(), kGrass);
        writePicture(folder / "camera.png", 90, 120, view);
        run = campusrun::runCampus(folder, CAMPUS_SCRIPTS_DIR "/standins_road.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static platform::Image picture(const char* name) {
        return platform::Image::fromFile(folder / name);
    }

    // The caret's pixels (the tint's blue) in the rows from `top` to `bottom`, left of "发送"
    // (drawn in the same blue).
    static int caretPixels(const platform::Image& shot, int top, int bottom) {
        constexpr int kSendButtonLeft = 375 - 7 - 56;
        int found = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < kSendButtonLeft; ++x) {
                const auto argb = shot.pixelAt(x, y);
                const int r = int((argb >> 16) & 0xFF), g = int((argb >> 8) & 0xFF),
                          b = int(argb & 0xFF);
                found += r < 60 && g > 90 && g < 160 && b > 220;
            }
        return found;
    }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline std::filesystem::path folder;
    static inline campusrun::ProgramRun run;
};

TEST_F(StandInsRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(
        campusrun::ranToTheEnd(run, folder,
                               {"signin-keyboard.png", "picker-top.png", "picker-end.png",
                                "camera-screen.png", "file-picker.png", "file-chosen.png",
                                "composer.png", "composer-typed.png", "composer-long.png"}));
}

TEST_F(StandInsRoad, TheKeyboardIsDrawnWhereItTakesTheTaps) {
    Transcript road(run.output);
    EXPECT_TRUE(shows(road.after("screenshot signin-keyboard.png"), "keyboard"));
    // The sign-in button lies under the keyboard: neither the outline nor the picture shows
    // it, and the bottom of the picture is the keyboard's grey tray with its white keys.
    const auto shot = picture("signin-keyboard.png");
    ASSERT_EQ(shot.pixelHeight(), 667);
    const std::uint32_t tray = shot.pixelAt(1, 667 - 216 + 2);
    EXPECT_GT((tray >> 16) & 0xFF, 180u);
    EXPECT_LT((tray >> 16) & 0xFF, 235u);
    int white = 0;
    for (int x = 0; x < 375; ++x) white += shot.pixelAt(x, 667 - 216 + 25) == 0xFFFFFFFFu;
    EXPECT_GT(white, 375 / 2) << "the row of digit keys";
    EXPECT_FALSE(shows(road.after("screenshot signin-keyboard.png"), "\"登录\""));
}

TEST_F(StandInsRoad, TheLongAlbumScrollsAndItsEndIsPickedAndUploaded) {
    Transcript road(run.output);
    const std::string top = road.after("alert 从照片中提取");
    EXPECT_TRUE(shows(top, "navigation bar \"相机胶卷\"")) << top;
    EXPECT_TRUE(shows(top, "photo \"photo1000.png\"")) << top;
    EXPECT_TRUE(shows(top, "button \"完成\"")) << top;
    EXPECT_FALSE(shows(top, "photo1039.png")) << "the album's end lies below the screen";
    const std::string end = road.after("tap photo1039.png");
    EXPECT_TRUE(shows(end, "photo \"photo1039.png\" (selected)")) << end;
    EXPECT_TRUE(shows(end, "button \"完成\"")) << end;

    // The first picture shows the first photos as thumbnails, and the bars.
    const auto shot = picture("picker-top.png");
    EXPECT_EQ(shot.pixelAt(40, 110), photoColour(0));
    EXPECT_EQ(shot.pixelAt(375 - 40, 110), photoColour(3));
    EXPECT_EQ(shot.pixelAt(140, 110 + 94), photoColour(5));
    const auto scrolled = picture("picker-end.png");
    EXPECT_EQ(scrolled.pixelAt(40, 600), photoColour(36));

    const std::string page = road.after("drag 187 300 187 600");
    EXPECT_TRUE(shows(page, "#reply \"{\"localIds\":\"/upload/")) << page;
}

TEST_F(StandInsRoad, TheCameraShowsWhatItSeesWithItsControls) {
    Transcript road(run.output);
    const std::string camera = road.after("alert 拍照");
    EXPECT_TRUE(shows(camera, "button \"拍照\"")) << camera;
    EXPECT_TRUE(shows(camera, "button \"取消\"")) << camera;
    const auto shot = picture("camera-screen.png");
    EXPECT_EQ(shot.pixelAt(187, 150), kSky);
    EXPECT_EQ(shot.pixelAt(187, 520), kGrass);
    EXPECT_EQ(shot.pixelAt(187, 667 - 50), 0xFFFFFFFFu) << "the shutter";
}

TEST_F(StandInsRoad, APagesFileFieldTakesAnAlbumPhotoThatThePageShowsAndSends) {
    Transcript road(run.output);
    const std::string sheet = road.after("tap proof");
    EXPECT_TRUE(shows(sheet, "action sheet [拍照] [从照片中提取] [取消]")) << sheet;
    const std::string album = road.after("alert 从照片中提取", 2);
    EXPECT_TRUE(shows(album, "navigation bar \"相机胶卷\"")) << album;
    EXPECT_TRUE(shows(road.after("tap photo1002.png"), "photo \"photo1002.png\" (selected)"));

    // The page's change handler read a JPEG file, and the field holds it.
    const std::string chosen = road.after("tap 完成", 2);
    EXPECT_TRUE(shows(chosen, "#chosen \"已选择：image/jpeg，")) << chosen;
    EXPECT_TRUE(shows(chosen, "file proof \"photo-")) << chosen;
    EXPECT_FALSE(shows(chosen, "相机胶卷")) << "the picker closed";
    // Sent with the form, the school received the picture.
    const std::string sent = road.after("tap 提交申请");
    EXPECT_TRUE(shows(sent, "请假申请已提交")) << sent;
    EXPECT_TRUE(shows(sent, " 字节，image/jpeg\"")) << sent;

    // The picker is drawn with the photo ticked, and the page with the picture it was given.
    const auto picker = picture("file-picker.png");
    EXPECT_EQ(picker.pixelAt(210, 100), photoColour(2));
    const auto page = picture("file-chosen.png");
    const std::uint32_t shown = page.pixelAt(88, 317);
    for (int shift : {16, 8, 0})
        EXPECT_NEAR(int((shown >> shift) & 0xFF), int((photoColour(2) >> shift) & 0xFF), 8)
            << "the picture on the page";
}

TEST_F(StandInsRoad, TheComposerShowsItsMessageAndItsButtonsAnswer) {
    Transcript road(run.output);
    const std::string composer = road.after("tap sms.cmcc");
    EXPECT_TRUE(shows(composer, "navigation bar \"新信息\"")) << composer;
    EXPECT_TRUE(shows(composer, "收件人：13850094100")) << composer;
    EXPECT_TRUE(shows(composer, "button \"发送\"")) << composer;
    EXPECT_TRUE(shows(composer, "button \"取消\"")) << composer;
    EXPECT_TRUE(shows(road.after("tap 发送"), "发送成功")) << road.after("tap 发送");
    const std::string cancelled = road.after("tap 取消", 1);
    EXPECT_FALSE(shows(cancelled, "新信息")) << cancelled;
}

TEST_F(StandInsRoad, TheComposersBodyTakesTypingWithACaretAndGrowsBelowTheRecipients) {
    Transcript road(run.output);
    const std::string typed = road.after("type body 明天上午九点在会议室");
    EXPECT_TRUE(shows(typed, "text view \"明天上午九点在会议室\" (editing)")) << typed;
    EXPECT_TRUE(shows(typed, "keyboard")) << typed;
    EXPECT_TRUE(shows(typed, "button \"发送\"")) << typed;

    // The body sits on the keyboard with the caret after its text.
    const auto shot = picture("composer-typed.png");
    ASSERT_EQ(shot.pixelHeight(), 667);
    EXPECT_GT(caretPixels(shot, 667 - 216 - 60, 667 - 216), 10);
    EXPECT_EQ(caretPixels(shot, 64, 667 - 216 - 60), 0) << "nowhere above the body";

    // A long message: the field grows to its share of the screen and no further, the
    // recipients' row above it drawn as before, the caret still in view.
    const auto before = picture("composer.png");
    const auto grown = picture("composer-long.png");
    ASSERT_EQ(grown.pixelHeight(), 667);
    int differing = 0;
    for (int y = 64; y < 64 + 44; ++y)
        for (int x = 0; x < 375; ++x) differing += before.pixelAt(x, y) != grown.pixelAt(x, y);
    EXPECT_EQ(differing, 0) << "the recipients' row";
    EXPECT_GT(caretPixels(grown, 667 - 216 - int(0.4 * 667), 667 - 216), 10);
}

}  // namespace
