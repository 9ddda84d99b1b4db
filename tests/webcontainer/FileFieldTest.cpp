// A school page's file field in the web container, through the real engine: the field opens
// the client's photo picker (with the camera offered where the phone has one), the picture
// reaches the page as a JPEG file its change handler reads and its form sends, and a
// cancelled, abandoned or withdrawn choice leaves the page working.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "client/ServiceConfig.h"
#include "components/photopicker/PhotoPickerViewController.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/devices/Devices.h"
#include "platform/devices/ImagePickerController.h"
#include "platform/devices/PhotoLibrary.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/support/TempHome.h"
#include "tests/webcontainer/ContainerStage.h"
#include "tests/webcontainer/PageSettle.h"
#include "webcontainer/WebDetailViewController.h"

namespace {

using platform::components::PhotoPickerViewController;

constexpr const char* kLeavePath = "/CM/leave.html";
constexpr const char* kNothingChosen = "未选择照片";

using containerstage::OpenerScreen;

class FileFieldTest : public ::testing::Test, protected containerstage::ContainerStage {
protected:
    FileFieldTest() {
        server.start();
        ServiceConfig::shared().pointAllAt(server.baseUrl());
        platform::UserDefaults::resetStandard();
        platform::resetDevices();
        navigation = std::make_shared<platform::NavigationController>(opener);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        // The album: two photos the user can tell apart.
        const auto album = home.path() / "相册";
        std::filesystem::create_directories(album);
        writePhoto(album / "a-gate.png", 0xFF336699u);
        writePhoto(album / "b-library.png", 0xFF996633u);
        EXPECT_TRUE(platform::PhotoLibrary::shared().setFolder(album));
    }
    ~FileFieldTest() override {
        driver.runUntil([] { return platform::dispatch::backgroundWorkInFlight() == 0; }, 10);
        driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }, 10);
        page.reset();
        server.stop();
        platform::resetDevices();
        ServiceConfig::shared().reload();
        platform::UserDefaults::resetStandard();
    }

    static void writePhoto(const std::filesystem::path& file, std::uint32_t colour) {
        std::ofstream(file, std::ios::binary)
            << platform::Image::fromARGB(40, 30, std::vector<std::uint32_t>(1200, colour))
                   .pngData();
    }

    void open(const std::string& path = kLeavePath) {
        page = std::make_shared<WebDetailViewController>();
        page->setTitleStr("请假申请");
        page->setUrlStr(server.baseUrl() + path);
        navigation->pushViewController(page, false);
        ASSERT_TRUE(driver.runUntil(
            [&] {
                return page->webView() && page->webView()->hasPage() && !page->webView()->isBusy();
            },
            pagesettle::kBound.count()));
        settle();
    }
    void settle(double seconds = 1) {
        EXPECT_TRUE(pagesettle::settleWeb());
        scope.advance(seconds);
        EXPECT_TRUE(pagesettle::settleWeb());
    }
    // What the page shows in the element with the id, as a user reads it.
    std::string shown(const std::string& id) {
        settle(0.1);
        return textOf(id);
    }
    std::string textOf(const std::string& id) const {
        for (const auto& item : page->webView()->pageItems()) {
            if (item.id == id)
                return item.text;
        }
        return "(no element " + id + ")";
    }
    // Until the page shows text starting so in the element, or the bound.
    bool pageShows(const std::string& id, const std::string& start) {
        return platform::RunLoop::main().runUntil([&] { return textOf(id).rfind(start, 0) == 0; },
                                                  pagesettle::kBound);
    }
    void tapField() {
        ASSERT_TRUE(driver.runUntil([&] { return driver.findByHandle("proof") != nullptr; }))
            << driver.outline();
        auto tapped = driver.tap("proof");
        ASSERT_TRUE(tapped) << tapped.error;
        settle();
    }
    std::shared_ptr<PhotoPickerViewController> album() const {
        return std::dynamic_pointer_cast<PhotoPickerViewController>(
            navigation->presentedViewController());
    }
    std::shared_ptr<platform::ImagePickerController> camera() const {
        return std::dynamic_pointer_cast<platform::ImagePickerController>(
            navigation->presentedViewController());
    }
    // The album's photo, ticked and handed to the page, until its file reaches the page.
    void pickFromAlbum(std::size_t index) {
        auto picker = album();
        ASSERT_TRUE(picker) << driver.outline();
        ASSERT_TRUE(picker->toggleAsset(index));
        picker.reset();
        ASSERT_TRUE(driver.tap("完成"));
        ASSERT_TRUE(pageShows("chosen", "已选择：image/jpeg，")) << shown("chosen");
        // The picker's closing comes to its end.
        settle();
    }
    std::size_t chosenSize() {
        const std::string text = shown("chosen");
        const auto comma = text.find("，");
        return comma == std::string::npos ? 0 : std::stoul(text.substr(comma + 3));
    }
    std::vector<std::filesystem::path> temporaryFiles() const {
        std::vector<std::filesystem::path> files;
        for (const auto& entry :
             std::filesystem::directory_iterator(platform::paths::temporaryDirectory()))
            files.push_back(entry.path());
        return files;
    }
};

TEST_F(FileFieldTest, AnAlbumPhotoReachesThePageAsAJpegAndGoesWithItsForm) {
    open();
    EXPECT_EQ(shown("chosen"), kNothingChosen);
    // No camera on this phone: the album opens at once, for one photo.
    tapField();
    EXPECT_FALSE(platform::AlertPresenter::shared().isModalBlocking()) << driver.outline();
    ASSERT_TRUE(album()) << driver.outline();
    EXPECT_FALSE(album()->allowsMultipleSelection());
    pickFromAlbum(1);
    EXPECT_GT(chosenSize(), 0u);
    EXPECT_FALSE(navigation->presentedViewController());

    // The file is a JPEG of the photo, in the app's temporary folder.
    const auto files = temporaryFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].extension(), ".jpg");
    EXPECT_EQ(std::filesystem::file_size(files[0]), chosenSize());
    const auto picture = platform::Image::fromFile(files[0]);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixelWidth(), 40);

    // Sent with the form, the school receives the picture.
    ASSERT_TRUE(driver.tap("提交申请"));
    ASSERT_TRUE(pageShows("proof", files[0].filename().string() + "，")) << shown("proof");
    EXPECT_EQ(shown("proof"), files[0].filename().string() + "，" +
                                  std::to_string(std::filesystem::file_size(files[0])) +
                                  " 字节，image/jpeg");
    EXPECT_EQ(shown("reason"), "病假");
    const auto sent = server.requestsTo("/CM/leave.jsp");
    ASSERT_EQ(sent.size(), 1u);
    bool jpegSent = false;
    for (const auto& part : sent[0].parts) {
        if (part.name == "proof")
            jpegSent = part.data.size() > 2 && part.data.substr(0, 2) == "\xFF\xD8";
    }
    EXPECT_TRUE(jpegSent);
}

TEST_F(FileFieldTest, WithACameraTheSheetOffersItAndItsPictureReachesThePage) {
    ASSERT_TRUE(platform::ImagePickerController::setCamera(true));
    open();
    tapField();
    EXPECT_NE(driver.outline().find("action sheet [拍照] [从照片中提取] [取消]"), std::string::npos)
        << driver.outline();
    ASSERT_TRUE(driver.pressAlertButton("拍照").ok);
    settle();
    auto shutter = camera();
    ASSERT_TRUE(shutter) << driver.outline();
    ASSERT_TRUE(shutter->takePicture());
    shutter.reset();
    ASSERT_TRUE(pageShows("chosen", "已选择：image/jpeg，")) << shown("chosen");
    EXPECT_GT(chosenSize(), 0u);
    settle();
    EXPECT_FALSE(navigation->presentedViewController());
}

TEST_F(FileFieldTest, CancellingLeavesTheFieldEmptyAndThePageWorkingOn) {
    ASSERT_TRUE(platform::ImagePickerController::setCamera(true));
    open();
    // The sheet's 取消.
    tapField();
    ASSERT_TRUE(driver.pressAlertButton("取消").ok);
    settle();
    EXPECT_EQ(shown("chosen"), kNothingChosen);
    EXPECT_EQ(page->webView()->stringByEvaluatingJavaScriptFromString(
                  "String(document.getElementById('proof').files.length)"),
              "0");

    // The album's 取消, and its 完成 with nothing ticked.
    tapField();
    ASSERT_TRUE(driver.pressAlertButton("从照片中提取").ok);
    settle();
    ASSERT_TRUE(album());
    ASSERT_TRUE(driver.tap("取消"));
    settle();
    EXPECT_FALSE(navigation->presentedViewController());
    tapField();
    ASSERT_TRUE(driver.pressAlertButton("从照片中提取").ok);
    settle();
    ASSERT_TRUE(driver.tap("完成"));
    settle();
    EXPECT_EQ(shown("chosen"), kNothingChosen);

    // The camera's 取消.
    tapField();
    ASSERT_TRUE(driver.pressAlertButton("拍照").ok);
    settle();
    ASSERT_TRUE(camera());
    camera()->cancel();
    settle();
    EXPECT_EQ(shown("chosen"), kNothingChosen);
    EXPECT_TRUE(temporaryFiles().empty());

    // The field was answered every time: it opens again, and a photo reaches the page.
    tapField();
    ASSERT_TRUE(driver.pressAlertButton("从照片中提取").ok);
    settle();
    pickFromAlbum(0);
}

TEST_F(FileFieldTest, ThePickerClosedFromElsewhereLeavesTheFieldFreeToAskAgain) {
    open();
    tapField();
    ASSERT_TRUE(album());
    // Closed without a word to its delegate, as another part of the client might close it.
    navigation->dismissViewController(false);
    settle();
    EXPECT_EQ(shown("chosen"), kNothingChosen);
    tapField();
    pickFromAlbum(0);
}

TEST_F(FileFieldTest, ThePageGoingAwayWhileThePickerIsUpClosesIt) {
    open();
    tapField();
    ASSERT_TRUE(album());
    // The page moves on by itself, behind the picker.
    page->webView()->stringByEvaluatingJavaScriptFromString("location.href = 'records.html'");
    ASSERT_TRUE(driver.runUntil([&] { return page->webView()->pageTitle() == "签到记录"; },
                                pagesettle::kBound.count()));
    settle();
    EXPECT_FALSE(navigation->presentedViewController()) << driver.outline();
    EXPECT_TRUE(temporaryFiles().empty());

    // Back on the form, its field works.
    page->webView()->goBack();
    ASSERT_TRUE(driver.runUntil([&] { return page->webView()->pageTitle() == "请假申请"; },
                                pagesettle::kBound.count()));
    settle();
    tapField();
    pickFromAlbum(0);
}

TEST_F(FileFieldTest, TheScreenGoingAwayWhileThePickerIsUpClosesItAndTakesItsFilesAlong) {
    open();
    tapField();
    pickFromAlbum(0);
    ASSERT_EQ(temporaryFiles().size(), 1u);
    tapField();
    ASSERT_TRUE(album());

    // The screen with its web view goes while the picker is up.
    std::weak_ptr<platform::WebView> webView = page->webView();
    navigation->popViewController(false);
    page.reset();
    settle();
    EXPECT_TRUE(webView.expired());
    EXPECT_FALSE(navigation->presentedViewController()) << driver.outline();
    // What was written for the page went with it.
    EXPECT_TRUE(temporaryFiles().empty());

    // The client goes on: the page opened again takes a photo.
    open();
    tapField();
    pickFromAlbum(1);
}

TEST_F(FileFieldTest, AFieldThatTakesNoPicturesIsOfferedNothing) {
    fakes::Reply documents;
    documents.contentType = "text/html; charset=utf-8";
    documents.body =
        "<html><head><meta name='viewport' content='width=device-width'></head><body>"
        "<input type=file id=proof accept='application/pdf' style='width:300px;height:40px'>"
        "</body></html>";
    server.setReply("GET", "/documents.html", documents);
    open("/documents.html");
    tapField();
    EXPECT_FALSE(platform::AlertPresenter::shared().isModalBlocking()) << driver.outline();
    EXPECT_FALSE(navigation->presentedViewController()) << driver.outline();
    EXPECT_EQ(page->webView()->stringByEvaluatingJavaScriptFromString(
                  "String(document.getElementById('proof').files.length)"),
              "0");
}

TEST_F(FileFieldTest, AFieldForManyPhotosTakesEveryOneTicked) {
    fakes::Reply many;
    many.contentType = "text/html; charset=utf-8";
    many.body =
        "<html><head><meta name='viewport' content='width=device-width'></head><body>"
        "<input type=file id=proof multiple accept='image/*' style='width:300px;height:40px'>"
        "<p id=chosen>none</p><script>document.getElementById('proof').onchange = function () {"
        "document.getElementById('chosen').innerText = this.files.length + ' ' + "
        "this.files[0].type + ' ' + this.files[1].type; };</script></body></html>";
    server.setReply("GET", "/many.html", many);
    open("/many.html");
    tapField();
    auto picker = album();
    ASSERT_TRUE(picker);
    EXPECT_TRUE(picker->allowsMultipleSelection());
    picker->toggleAsset(0);
    picker->toggleAsset(1);
    picker.reset();
    ASSERT_TRUE(driver.tap("完成"));
    ASSERT_TRUE(pageShows("chosen", "2 image/jpeg image/jpeg")) << shown("chosen");
    EXPECT_EQ(temporaryFiles().size(), 2u);
}

}  // namespace
