#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "components/hud/ProgressHUD.h"
#include "platform/devices/CaptureDevice.h"
#include "platform/devices/SystemSounds.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "webcontainer/ItemScanViewController.h"
#include "webcontainer/WebDetailViewController.h"

using namespace platform;

namespace {

using Codes = std::vector<std::string>;

// Writes down what the scanner answers, as the container's bridge would hear it.
class RecordingScanDelegate : public ItemScanDelegate {
public:
    void ItemScanStr(const std::string& code) override { strings.push_back(code); }
    void ItemScanArry(const std::vector<std::string>& codes) override { lists.push_back(codes); }
    std::vector<std::string> strings;
    std::vector<Codes> lists;
};

class ItemScanViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CaptureDevice::setAuthorizationStatus(CaptureAuthorization::Authorized);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
    }

    void open(bool batch, bool chinese = true) {
        scanner->setLANG(chinese);
        scanner->setTittle("扫码");
        scanner->setDelegate(delegate);
        scanner->setAdd(batch);
        navigation->pushViewController(scanner, false);
        RunLoop::main().runPending();
    }

    // The camera recognises a QR code, delivered as the phone delivers it: on the main loop.
    void scan(const std::string& code) {
        CaptureDevice::injectCode({kMetadataObjectTypeQRCode, code});
        RunLoop::main().runPending();
    }

    bool scannerShows() const { return navigation->topViewController() == scanner; }

    std::string overlayText() const {
        auto hud = components::ProgressHUD::HUDForView(*window);
        return hud ? hud->labelText() : "";
    }

    platform::testing::UiTestScope scope;
    std::shared_ptr<Window> window = View::make<Window>();
    std::shared_ptr<NavigationController> navigation =
        std::make_shared<NavigationController>(std::make_shared<ViewController>());
    std::shared_ptr<ItemScanViewController> scanner = std::make_shared<ItemScanViewController>();
    std::shared_ptr<RecordingScanDelegate> delegate = std::make_shared<RecordingScanDelegate>();
};

// --- Batch mode ----------------------------------------------------------------------------

TEST_F(ItemScanViewControllerTest, BatchScanningABAKeepsEachCodeOnceInTheOrderLastScanned) {
    open(true);
    for (const char* code : {"A", "B", "A"}) {
        scan(code);
        EXPECT_FALSE(scanner->numberBanner()->isHidden());
        EXPECT_EQ(scanner->numberBanner()->text(), code);
        scope.advance(ItemScanViewController::kRestartDelay);
        EXPECT_TRUE(scanner->numberBanner()->isHidden());
    }
    ASSERT_TRUE(scannerShows());

    platform::testing::UIDriver driver;
    ASSERT_TRUE(driver.tap("back").ok);
    EXPECT_EQ(delegate->lists, (std::vector<Codes>{{"B", "A"}}));
    EXPECT_TRUE(delegate->strings.empty());
    EXPECT_FALSE(scannerShows());
}

TEST_F(ItemScanViewControllerTest, LeavingBatchModeWithoutACodeAnswersAnEmptyList) {
    open(true);
    scanner->backBtnClicked();
    EXPECT_EQ(delegate->lists, (std::vector<Codes>{Codes{}}));
    EXPECT_TRUE(delegate->strings.empty());
}

TEST_F(ItemScanViewControllerTest, WhileTheBannerShowsTheCameraIsStoppedAndSeesNothing) {
    open(true);
    scan("A");
    scan("B");
    EXPECT_EQ(scanner->itemArry(), (Codes{"A"}));
    scope.advance(ItemScanViewController::kRestartDelay);
    scan("B");
    EXPECT_EQ(scanner->itemArry(), (Codes{"A", "B"}));
}

TEST_F(ItemScanViewControllerTest, LeavingDuringTheBannerCancelsTheRestartAndStopsTheCamera) {
    open(true);
    scan("A");
    scanner->backBtnClicked();
    scope.advance(1);
    EXPECT_FALSE(scanner->session()->isRunning());
    EXPECT_EQ(CaptureSession::runningCount(), 0);
    EXPECT_FALSE(scanner->numberBanner()->isHidden());
    EXPECT_EQ(delegate->lists, (std::vector<Codes>{{"A"}}));
}

// --- Single mode ---------------------------------------------------------------------------

TEST_F(ItemScanViewControllerTest, SingleModeAnswersTheFirstCodeOnceAndCloses) {
    open(false);
    scan("http://lab.lanxi-campus.example/asset/77");
    EXPECT_EQ(delegate->strings, (Codes{"http://lab.lanxi-campus.example/asset/77"}));
    EXPECT_EQ(scanner->itemNumber(), "http://lab.lanxi-campus.example/asset/77");
    EXPECT_FALSE(scannerShows());
    EXPECT_FALSE(scanner->session()->isRunning());
    EXPECT_EQ(
        SystemSounds::played(),
        (std::vector<SystemSoundID>{kSystemSoundID_Vibrate, ItemScanViewController::kScanSound}));
}

TEST_F(ItemScanViewControllerTest, ASecondCodeWhileClosingOrATapOnBackAfterwardsIsIgnored) {
    open(false);
    // Two codes in one frame burst: both are delivered before the first reply has gone.
    CaptureDevice::injectCode({kMetadataObjectTypeQRCode, "first"});
    CaptureDevice::injectCode({kMetadataObjectTypeQRCode, "second"});
    RunLoop::main().runPending();
    scanner->captureOutputDidOutputMetadataObjects(*std::make_shared<CaptureMetadataOutput>(),
                                                   {{kMetadataObjectTypeQRCode, "late"}});
    scanner->backBtnClicked();
    EXPECT_EQ(delegate->strings, (Codes{"first"}));
    EXPECT_TRUE(delegate->lists.empty());
}

TEST_F(ItemScanViewControllerTest, LeavingSingleModeWithTheBackButtonAnswersTheEmptyString) {
    open(false);
    scanner->backBtnClicked();
    EXPECT_EQ(delegate->strings, (Codes{""}));
    EXPECT_TRUE(delegate->lists.empty());
    EXPECT_FALSE(scannerShows());
}

TEST_F(ItemScanViewControllerTest, ACodeWithoutATextValueIsIgnored) {
    open(false);
    CaptureDevice::injectCode({kMetadataObjectTypeQRCode, std::nullopt});
    RunLoop::main().runPending();
    EXPECT_TRUE(delegate->strings.empty());
    EXPECT_TRUE(scannerShows());
    EXPECT_TRUE(scanner->session()->isRunning());
}

TEST_F(ItemScanViewControllerTest, ARealQRImageShownToTheCameraIsAnswered) {
    open(false);
    ASSERT_TRUE(
        CaptureDevice::showFrameFile(Bundle::main().resourcePath() / "sample" / "qr-demo.png"));
    RunLoop::main().runPending();
    EXPECT_EQ(delegate->strings, (Codes{"http://portal.lanxi-campus.example/checkin?room=A204"}));
}

// --- Scan line -----------------------------------------------------------------------------

TEST_F(ItemScanViewControllerTest, TheScanLineSweepsEveryTwoSecondsAndJumpsBack) {
    open(false);
    const Rect rest = scanner->line()->frame();
    EXPECT_EQ(rest.origin.y, 180 + 20);
    scope.advance(ItemScanViewController::kScanLineInterval);
    EXPECT_EQ(scanner->line()->frame().origin.y, 180 + 260);
    scope.advance(ItemScanViewController::kSweepSeconds);
    EXPECT_EQ(scanner->line()->frame(), rest);
}

TEST_F(ItemScanViewControllerTest, TheScanLineTimerStopsWhenTheBackButtonCloses) {
    open(true);
    auto timer = scanner->timer();
    ASSERT_TRUE(timer && timer->isValid());
    scanner->backBtnClicked();
    EXPECT_FALSE(timer->isValid());
    const Rect rest = scanner->line()->frame();
    scope.advance(10);
    EXPECT_EQ(scanner->line()->frame(), rest);
}

TEST_F(ItemScanViewControllerTest, TheScanLineTimerStopsWhenACodeCloses) {
    open(false);
    auto timer = scanner->timer();
    ASSERT_TRUE(timer && timer->isValid());
    scan("A");
    EXPECT_FALSE(timer->isValid());
    const Rect rest = scanner->line()->frame();
    scope.advance(10);
    EXPECT_EQ(scanner->line()->frame(), rest);
}

TEST_F(ItemScanViewControllerTest, AppearingAgainLeavesOneTimerAndOneRunningCamera) {
    open(true);
    auto first = scanner->timer();
    navigation->pushViewController(std::make_shared<ViewController>(), false);
    navigation->popViewController(false);
    RunLoop::main().runPending();
    ASSERT_TRUE(scannerShows());
    EXPECT_FALSE(first->isValid());
    EXPECT_TRUE(scanner->timer()->isValid());
    EXPECT_EQ(CaptureSession::runningCount(), 1);
}

// --- Camera problems and layout ------------------------------------------------------------

TEST_F(ItemScanViewControllerTest, ADeniedCameraShowsTheOverlayKeepsTheLineAndBackAnswersEmpty) {
    CaptureDevice::setAuthorizationStatus(CaptureAuthorization::Denied);
    open(false);
    EXPECT_EQ(overlayText(), "相机权限未开启");
    EXPECT_EQ(scanner->session(), nullptr);
    EXPECT_TRUE(scanner->timer()->isValid());
    scanner->backBtnClicked();
    EXPECT_EQ(delegate->strings, (Codes{""}));
}

TEST_F(ItemScanViewControllerTest, EnglishTextsWhenLANGIsNo) {
    CaptureDevice::setAuthorizationStatus(CaptureAuthorization::Restricted);
    open(false, false);
    EXPECT_EQ(overlayText(), "Camera permissions not open");
    platform::testing::UIDriver driver;
    EXPECT_NE(driver.find("Put The Barcode In The Box"), nullptr);
    EXPECT_NE(driver.find("扫一扫"), nullptr);
}

TEST_F(ItemScanViewControllerTest, APhoneWithoutACameraSaysSoAndScansNothing) {
    CaptureDevice::setAvailable(false);
    open(false);
    EXPECT_EQ(overlayText(), "当前手机不支持扫描!");
    EXPECT_EQ(scanner->session(), nullptr);
    EXPECT_EQ(scanner->preview(), nullptr);
}

TEST_F(ItemScanViewControllerTest, TheCameraPictureSitsInsideTheBoxBelowTheBackButton) {
    open(false);
    auto preview = scanner->preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->frame(), (Rect{{(375 - 291) / 2.0 + 3, 183}, {285, 285}}));
    const auto& subviews = scanner->view()->subviews();
    EXPECT_EQ(subviews.at(2), preview);
    EXPECT_TRUE(navigation->isNavigationBarHidden());
}

TEST(ItemScanViewControllerGeometry, TheScanBoxTopFollowsTheScreenHeight) {
    EXPECT_EQ(ItemScanViewController::imageViewHForScreenHeight(480), 120);
    EXPECT_EQ(ItemScanViewController::imageViewHForScreenHeight(568), 130);
    EXPECT_EQ(ItemScanViewController::imageViewHForScreenHeight(667), 180);
    EXPECT_EQ(ItemScanViewController::imageViewHForScreenHeight(736), 180);
}

// --- Opened by the container ---------------------------------------------------------------

TEST_F(ItemScanViewControllerTest, TheContainerOpensTheScannerInChineseWithItselfAsDelegate) {
    auto container = std::make_shared<WebDetailViewController>();
    container->setUrlStr("about:blank");
    navigation->pushViewController(container, false);
    for (bool batch : {false, true}) {
        container->openScanner(batch);
        RunLoop::main().runPending();
        auto opened =
            std::dynamic_pointer_cast<ItemScanViewController>(navigation->topViewController());
        ASSERT_NE(opened, nullptr);
        EXPECT_TRUE(opened->LANG());
        EXPECT_EQ(opened->tittle(), "扫码");
        EXPECT_EQ(opened->Add(), batch);
        EXPECT_EQ(opened->delegate().get(), static_cast<ItemScanDelegate*>(container.get()));
        opened->backBtnClicked();
        EXPECT_EQ(navigation->topViewController(), container);
    }
}

}  // namespace
