#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "components/photopicker/PhotoPickerViewController.h"
#include "platform/devices/AudioPlayer.h"
#include "platform/devices/AudioSession.h"
#include "platform/devices/ImagePickerController.h"
#include "platform/devices/PhotoLibrary.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Paths.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/WebView.h"
#include "tests/shell/ShellTestSupport.h"
#include "webcontainer/WebDetailViewController.h"
#include "webcontainer/WebUpload.h"

using platform::Image;
using platform::ImageOrientation;

namespace {

constexpr const char* kUploadPath = "/vobels/services/fileUploadMportal";
constexpr const char* kPagePath = "/media-test.html";

// A page that keeps every reply its callback received.
constexpr const char* kPage =
    "<html><head><title>媒体</title><script>\n"
    "var replies = [];\n"
    "function callback(reply) {\n"
    "  replies.push(reply.localIds !== undefined ? reply.localIds\n"
    "      : reply.serverId !== undefined ? reply.serverId : reply.localId);\n"
    "  document.getElementById('reply').innerText = replies.join('|');\n"
    "}\n"
    "</script></head><body><pre id=\"reply\"></pre></body></html>";

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A picture of `width` x `height` pixels, every pixel its own colour.
Image numberedPicture(int width, int height, ImageOrientation orientation = ImageOrientation::Up) {
    std::vector<std::uint32_t> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.push_back(0xFF000000u | static_cast<std::uint32_t>((i + 1) * 0x0F0B07));
    return Image::fromARGB(width, height, std::move(pixels), 1, orientation);
}

class OpenerScreen : public platform::ViewController {};

class WebMediaTest : public shelltest::ShellTest {
protected:
    WebMediaTest() {
        server.setReply("GET", kPagePath, {200, "text/html;charset=UTF-8", kPage});
        navigation = std::make_shared<platform::NavigationController>(opener);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        page = std::make_shared<WebDetailViewController>();
        page->setTitleStr("媒体");
        page->setUrlStr(server.baseUrl() + kPagePath);
        navigation->pushViewController(page, false);
        EXPECT_TRUE(waitForWeb([&] {
            return page->webView()->hasPage() && !page->webView()->isBusy() &&
                   platform::HttpClient::shared().inFlight() == 0;
        }));
    }
    ~WebMediaTest() override {
        waitFor([] { return platform::dispatch::backgroundWorkInFlight() == 0; });
        setWebUploadBoundaryForTesting("");
    }

    std::string replies() {
        return page->webView()->stringByEvaluatingJavaScriptFromString("replies.join('|')");
    }
    int replyCount() {
        return std::stoi(page->webView()->stringByEvaluatingJavaScriptFromString("replies.length"));
    }
    // Lets every upload finish and its reply reach the page.
    void finishUploads() {
        EXPECT_TRUE(waitFor([] { return platform::dispatch::backgroundWorkInFlight() == 0; }));
        settle();
    }
    std::vector<std::string> alertTitles() const {
        std::vector<std::string> titles;
        for (const auto& alert : platform::AlertPresenter::shared().visibleAlerts())
            titles.push_back(alert->alertTitle());
        return titles;
    }
    std::filesystem::path photoFolder(int count) {
        auto folder = tempHome.path() / "相册";
        std::filesystem::create_directories(folder);
        for (int i = 0; i < count; ++i) {
            std::ofstream(folder / ("photo" + std::to_string(i) + ".png"), std::ios::binary)
                << numberedPicture(4 + i, 3).pngData();
        }
        EXPECT_TRUE(platform::PhotoLibrary::shared().setFolder(folder));
        return folder;
    }
    // Uploads wait at the server until the test lets each reply go, so the test sees what shows
    // meanwhile.
    void holdUploads() { server.holdReplies("POST", kUploadPath); }
    bool waitForHeldUploads(std::size_t count) {
        return server.waitForHeld(kUploadPath, count, std::chrono::seconds(10));
    }
    // The user picks every photo of the album through "chooseImage".
    void pickWholeAlbum() {
        page->chooseImage();
        ASSERT_TRUE(driver.pressAlertButton("从照片中提取").ok);
        settle();
        auto picker = std::dynamic_pointer_cast<platform::components::PhotoPickerViewController>(
            page->presentedViewController());
        ASSERT_TRUE(picker);
        for (size_t i = 0; i < picker->assets().size(); ++i) picker->toggleAsset(i);
        ASSERT_TRUE(driver.tap("完成").ok);
    }

    std::shared_ptr<platform::Window> window = platform::View::make<platform::Window>();
    std::shared_ptr<OpenerScreen> opener = std::make_shared<OpenerScreen>();
    std::shared_ptr<platform::NavigationController> navigation;
    std::shared_ptr<WebDetailViewController> page;
};

TEST_F(WebMediaTest, UploadBodyIsTheServicesLayoutByteForByte) {
    const std::string boundary = "----------20261207093000123-0F1E2D3C";
    setWebUploadBoundaryForTesting(boundary);
    constexpr char kPhoto[] = "\xff\xd8\xff\xe0JFIF golden photo\x00\x01\r\n--\xff\xd9";
    const std::string photo(kPhoto, sizeof kPhoto - 1);

    page->uploadImage(photo);
    finishUploads();

    auto uploads = server.requestsTo(kUploadPath);
    ASSERT_EQ(uploads.size(), 1u);
    const auto golden = std::filesystem::path(SHELL_TEST_GOLDEN) / "web_upload_image.bin";
    EXPECT_EQ(uploads[0].body, fileBytes(golden));
    EXPECT_EQ(uploads[0].header("Content-Type"), "multipart/form-data; boundary=" + boundary);
    EXPECT_EQ(uploads[0].header("Connection"), "Keep-Alive");
    EXPECT_EQ(uploads[0].header("Charset"), "UTF-8");
    ASSERT_EQ(uploads[0].parts.size(), 1u);
    EXPECT_EQ(uploads[0].parts[0].data, photo);
    EXPECT_EQ(replies(), "/upload/mportal/1/123.jpg");
}

TEST_F(WebMediaTest, EveryUploadHasItsOwnBoundaryWithoutBlanks) {
    const std::string first = webUploadBoundary();
    const std::string second = webUploadBoundary();
    EXPECT_TRUE(first.starts_with("----------"));
    EXPECT_EQ(first.find_first_of(" \t\r\n\""), std::string::npos) << first;
    EXPECT_LE(first.size(), 70u) << "the longest boundary multipart allows";
    EXPECT_NE(first, second);
}

TEST_F(WebMediaTest, EachOfTheEightOrientationsIsRedrawnUpright) {
    const int w = 3;
    const int h = 2;
    const Image stored = numberedPicture(w, h);
    auto at = [&](int x, int y) { return stored.pixelAt(x, y); };
    struct Case {
        ImageOrientation orientation;
        int width;
        std::function<std::uint32_t(int, int)> expected;  // upright (x, y) -> stored pixel
    };
    const std::vector<Case> cases = {
        {ImageOrientation::Up, w, [&](int x, int y) { return at(x, y); }},
        {ImageOrientation::Down, w, [&](int x, int y) { return at(w - 1 - x, h - 1 - y); }},
        {ImageOrientation::Left, h, [&](int x, int y) { return at(w - 1 - y, x); }},
        {ImageOrientation::Right, h, [&](int x, int y) { return at(y, h - 1 - x); }},
        {ImageOrientation::UpMirrored, w, [&](int x, int y) { return at(w - 1 - x, y); }},
        {ImageOrientation::DownMirrored, w, [&](int x, int y) { return at(x, h - 1 - y); }},
        {ImageOrientation::LeftMirrored, h, [&](int x, int y) { return at(y, x); }},
        {ImageOrientation::RightMirrored, h,
         [&](int x, int y) { return at(w - 1 - y, h - 1 - x); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.orientation));
        const Image upright =
            WebDetailViewController::fixOrientation(stored.withOrientation(c.orientation));
        EXPECT_EQ(upright.orientation(), ImageOrientation::Up);
        ASSERT_EQ(upright.pixelWidth(), c.width);
        ASSERT_EQ(upright.pixelHeight(), w * h / c.width);
        for (int y = 0; y < upright.pixelHeight(); ++y)
            for (int x = 0; x < upright.pixelWidth(); ++x)
                EXPECT_EQ(upright.pixelAt(x, y), c.expected(x, y)) << x << "," << y;
    }
}

TEST_F(WebMediaTest, ThreeAlbumPhotosGiveThreeUploadsAndThreeRepliesToThePage) {
    photoFolder(3);
    holdUploads();
    pickWholeAlbum();
    ASSERT_TRUE(waitForHeldUploads(3));
    settle();
    EXPECT_EQ(alertTitles(),
              (std::vector<std::string>{"正在上传图片...", "正在上传图片...", "正在上传图片..."}));
    std::vector<std::shared_ptr<platform::ProgressView>> bars;
    for (const auto& alert : platform::AlertPresenter::shared().visibleAlerts()) {
        for (const auto& view : std::dynamic_pointer_cast<platform::AlertView>(alert)->subviews()) {
            if (auto bar = std::dynamic_pointer_cast<platform::ProgressView>(view))
                bars.push_back(bar);
        }
    }
    ASSERT_EQ(bars.size(), 3u);
    // Answered one at a time, last request first: each answer reaches the page as it comes.
    for (int answered = 1; answered <= 3; ++answered) {
        ASSERT_TRUE(server.releaseHeld(kUploadPath, static_cast<std::size_t>(3 - answered)));
        ASSERT_TRUE(waitFor([&] { return replyCount() == answered; }));
    }
    finishUploads();
    for (const auto& bar : bars)
        EXPECT_EQ(bar->progress(), 1.0f) << "each alert's bar follows its own upload";

    auto uploads = server.requestsTo(kUploadPath);
    ASSERT_EQ(uploads.size(), 3u);
    std::vector<int> widths;
    for (const auto& upload : uploads) {
        ASSERT_EQ(upload.parts.size(), 1u);
        EXPECT_EQ(upload.parts[0].filename, "123.jpg");
        widths.push_back(Image::decode(upload.parts[0].data).pixelWidth());
    }
    std::sort(widths.begin(), widths.end());
    EXPECT_EQ(widths, (std::vector<int>{4, 5, 6})) << "each photo once, as JPEG";
    EXPECT_EQ(replyCount(), 3);
    const std::string all = replies();
    for (int i = 1; i <= 3; ++i)
        EXPECT_NE(all.find("/upload/mportal/" + std::to_string(i) + "/123.jpg"), std::string::npos)
            << all;
    EXPECT_TRUE(alertTitles().empty()) << "every upload's alert is dismissed";
}

TEST_F(WebMediaTest, ShortNonJsonOrFailedRepliesGiveNoReply) {
    const std::string photo = numberedPicture(2, 2).jpegData(0.3);
    const std::vector<fakes::Reply> replies = {
        {200, "application/json", "x"},
        {200, "text/html", "<html>busy</html>"},
        {500, "application/json", "{\"path\":\"/upload/mportal/9/123.jpg\"}"},
    };
    for (const auto& reply : replies) {
        SCOPED_TRACE(reply.body);
        server.setReply("POST", kUploadPath, reply);
        page->uploadImage(photo);
        finishUploads();
        EXPECT_EQ(replyCount(), 0);
        // The unreadable reply tells the user; nothing else shows.
        if (reply.body.starts_with("<html>")) {
            EXPECT_EQ(alertTitles(), std::vector<std::string>{"提示"});
            driver.pressAlertButton("确定");
        }
        EXPECT_TRUE(alertTitles().empty());
    }
}

TEST_F(WebMediaTest, AnObjectReplyWithoutATextPathAnswersWithAnEmptyPath) {
    const std::string photo = numberedPicture(2, 2).jpegData(0.3);
    // The shortest object the service can send, "{}", is a reply like any other.
    for (const char* body : {"{}", "{\"res\":\"true\"}", "{\"path\":12}", "{\"path\":null}"}) {
        SCOPED_TRACE(body);
        server.setReply("POST", kUploadPath, {200, "application/json", body});
        page->webView()->stringByEvaluatingJavaScriptFromString("replies = []");
        page->uploadImage(photo);
        finishUploads();
        // The page hears that the upload gave nothing instead of waiting for a path.
        ASSERT_EQ(replyCount(), 1);
        EXPECT_EQ(replies(), "");
        EXPECT_TRUE(alertTitles().empty());
    }
}

TEST_F(WebMediaTest, FailedAlbumUploadStillDismissesItsAlert) {
    photoFolder(1);
    server.setReply("POST", kUploadPath, {503, "text/plain", "down"});
    holdUploads();
    pickWholeAlbum();
    ASSERT_TRUE(waitForHeldUploads(1));
    settle();
    EXPECT_EQ(alertTitles(), std::vector<std::string>{"正在上传图片..."});
    ASSERT_TRUE(server.releaseHeld(kUploadPath));
    finishUploads();
    EXPECT_EQ(server.requestsTo(kUploadPath).size(), 1u);
    EXPECT_TRUE(alertTitles().empty());
    EXPECT_EQ(replyCount(), 0);
}

TEST_F(WebMediaTest, CameraIsOfferedOnlyWhenThePhoneHasOne) {
    page->chooseImage();
    ASSERT_TRUE(driver.pressAlertButton("拍照").ok);
    EXPECT_EQ(alertTitles(), std::vector<std::string>{"照片获取失败"});
    driver.pressAlertButton("确定");

    // A portrait photo (stored turned) is uploaded upright, at the size it shows.
    ASSERT_TRUE(platform::ImagePickerController::setCamera(true));
    page->chooseImage();
    ASSERT_TRUE(driver.pressAlertButton("拍照").ok);
    settle();
    auto picker =
        std::dynamic_pointer_cast<platform::ImagePickerController>(page->presentedViewController());
    ASSERT_TRUE(picker);
    holdUploads();
    ASSERT_TRUE(driver.tap("拍照").ok);
    ASSERT_TRUE(waitForHeldUploads(1));
    settle();
    EXPECT_EQ(alertTitles(), std::vector<std::string>{"正在处理图片..."});
    ASSERT_TRUE(server.releaseHeld(kUploadPath));
    finishUploads();
    EXPECT_FALSE(page->presentedViewController());
    EXPECT_TRUE(alertTitles().empty());
    auto uploads = server.requestsTo(kUploadPath);
    ASSERT_EQ(uploads.size(), 1u);
    const Image sent = Image::decode(uploads[0].parts[0].data);
    EXPECT_EQ(sent.orientation(), ImageOrientation::Up);
    EXPECT_EQ(sent.pixelWidth(), 48);
    EXPECT_EQ(sent.pixelHeight(), 64);
    EXPECT_EQ(replyCount(), 1);
}

TEST_F(WebMediaTest, CancellingTheSheetOrTheAlbumSendsNothing) {
    photoFolder(2);
    page->chooseImage();
    ASSERT_TRUE(driver.pressAlertButton("取消").ok);
    page->chooseImage();
    ASSERT_TRUE(driver.pressAlertButton("从照片中提取").ok);
    settle();
    ASSERT_TRUE(driver.tap("取消").ok);
    settle();
    finishUploads();
    EXPECT_TRUE(server.requestsTo(kUploadPath).empty());
    EXPECT_EQ(replyCount(), 0);
}

TEST_F(WebMediaTest, RecordingIsEightKilohertzMono16BitCafPlayedAndUploaded) {
    page->startRecord();
    EXPECT_EQ(platform::AudioSession::sharedInstance().category(),
              platform::AudioSessionCategory::PlayAndRecord);
    scope.advance(1);
    page->stopRecord();
    const std::string path = (platform::paths::documentsDirectory() / "myRecord.caf").string();
    EXPECT_EQ(replies(), "file://" + path);

    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    sf_close(file);
    EXPECT_EQ(info.format, SF_FORMAT_CAF | SF_FORMAT_PCM_16);
    EXPECT_EQ(info.samplerate, 8000);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.frames, 8000);

    page->playVoice();
    EXPECT_EQ(platform::AudioSession::sharedInstance().category(),
              platform::AudioSessionCategory::Playback);
    EXPECT_TRUE(page->audioPlayer()->isPlaying());
    page->pauseVoice();
    EXPECT_FALSE(page->audioPlayer()->isPlaying());

    // Without "stopVoice" the old player keeps the old recording; after it, the new one plays.
    page->startRecord();
    scope.advance(2);
    page->stopRecord();
    EXPECT_DOUBLE_EQ(page->audioPlayer()->duration(), 1.0);
    page->stopVoice();
    page->playVoice();
    EXPECT_DOUBLE_EQ(page->audioPlayer()->duration(), 2.0);

    page->uploadVoice();
    finishUploads();
    auto uploads = server.requestsTo(kUploadPath);
    ASSERT_EQ(uploads.size(), 1u);
    ASSERT_EQ(uploads[0].parts.size(), 1u);
    EXPECT_EQ(uploads[0].parts[0].filename, "123.caf");
    EXPECT_EQ(uploads[0].parts[0].data, fileBytes(path));
    EXPECT_EQ(replies(), "file://" + path + "|file://" + path + "|/upload/mportal/1/123.caf");
}

TEST_F(WebMediaTest, NothingRecordedGivesNoPlayerAndNoVoiceUpload) {
    page->playVoice();
    EXPECT_FALSE(page->audioPlayer());
    page->uploadVoice();
    finishUploads();
    EXPECT_TRUE(server.requestsTo(kUploadPath).empty());
    EXPECT_EQ(replyCount(), 0);
}

}  // namespace
