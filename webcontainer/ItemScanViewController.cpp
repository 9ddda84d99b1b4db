#include "webcontainer/ItemScanViewController.h"

#include "platform/foundation/Json.h"
#include "platform/foundation/JsonParse.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"

namespace {

namespace Text {
constexpr const char* Title = "扫一扫";
constexpr const char* HintChinese = "将二维码放入框内,即可自动扫描";
constexpr const char* HintEnglish = "Put The Barcode In The Box";
constexpr const char* NoPermissionChinese = "相机权限未开启";
constexpr const char* NoPermissionEnglish = "Camera permissions not open";
constexpr const char* NoCameraChinese = "当前手机不支持扫描!";
constexpr const char* NoCameraEnglish = "The current mobile phone does not support scan!";
constexpr const char* InvalidCode = "无效二维码";
}  // namespace Text

namespace Picture {
constexpr const char* Background = "背景23";
constexpr const char* Back = "返回.png";
constexpr const char* ScanBox = "扫描框";
constexpr const char* ScanLine = "扫描条";
}  // namespace Picture

// Sizes of the screen's parts, in points.
constexpr double kBoxSide = 291;
constexpr double kLineWidth = 270;
constexpr double kLineHeight = 4;
constexpr double kLineTopInset = 20;
constexpr double kLineSweep = 260;
constexpr double kBannerWidth = 235;
constexpr double kPreviewInset = 3;
constexpr size_t kPreviewLayerIndex = 2;

double screenWidth() {
    return platform::Screen::main().size().width;
}

}  // namespace

ItemScanViewController::ItemScanViewController() = default;

ItemScanViewController::~ItemScanViewController() {
    if (m_timer)
        m_timer->invalidate();
    m_restart.cancel();
    if (m_session)
        m_session->stopRunning();
}

float ItemScanViewController::imageViewHForScreenHeight(double height) {
    if (height == 480)
        return 120;
    if (height == 568)
        return 130;
    return 180;
}

const char* ItemScanViewController::text(const char* chinese, const char* english) const {
    return m_LANG ? chinese : english;
}

void ItemScanViewController::viewDidLoad() {
    kCustomViewController::viewDidLoad();
    m_ItemArry.clear();
    creatUI();
}

void ItemScanViewController::creatUI() {
    using namespace platform;
    const Size screen = Screen::main().size();
    const double W = screen.width, H = screen.height;
    m_imageViewH = imageViewHForScreenHeight(H);

    auto background = View::make<ImageView>(Rect{{0, 0}, {W, H}});
    background->setImage(Image::named(Picture::Background));

    auto title = View::make<Label>(Rect{{0, 20}, {W, 44}});
    title->setFont(Font::systemFont(19));
    title->setTextColor(Color::white());
    title->setTextAlignment(TextAlignment::Center);
    title->setText(Text::Title);

    auto back = View::make<Button>(Rect{{18, 25}, {32, 25}});
    back->setCornerRadius(17);
    back->setImage(Image::named(Picture::Back));
    back->setHandle("back");
    // It shows only its picture; a screen reader names it by its role.
    back->setAccessibilityLabel("back");
    std::weak_ptr<ItemScanViewController> weakSelf =
        std::static_pointer_cast<ItemScanViewController>(shared_from_this());
    back->addTarget(
        [weakSelf](Control&) {
            if (auto self = weakSelf.lock())
                self->backBtnClicked();
        },
        ControlEvent::TouchUpInside);

    m_Number =
        View::make<Label>(Rect{{(W - kBannerWidth) / 2, m_imageViewH - 60}, {kBannerWidth, 48}});
    m_Number->setCornerRadius(10);
    m_Number->setClipsToBounds(true);
    m_Number->setBackgroundColor(Color::whiteAlpha(0, 0.8f));
    m_Number->setTextColor(Color::white());
    m_Number->setFont(Font::systemFont(16));
    m_Number->setTextAlignment(TextAlignment::Center);
    m_Number->setNumberOfLines(2);
    m_Number->setHidden(true);

    view()->addSubview(background);
    view()->addSubview(title);
    view()->addSubview(back);
    view()->addSubview(m_Number);

    const Rect boxFrame{{(W - kBoxSide) / 2, m_imageViewH}, {kBoxSide, kBoxSide}};
    auto box = View::make<ImageView>(boxFrame);
    box->setContentMode(ContentMode::ScaleAspectFit);
    box->setImage(Image::named(Picture::ScanBox));
    view()->addSubview(box);

    auto hint = View::make<Label>(Rect{{(W - kBoxSide) / 2, boxFrame.maxY() + 22}, {kBoxSide, 40}});
    hint->setBackgroundColor(Color::clear());
    hint->setOpaque(false);
    hint->setTextColor(Color::white());
    hint->setFont(Font::systemFont(16));
    hint->setTextAlignment(TextAlignment::Center);
    hint->setNumberOfLines(2);
    hint->setText(text(Text::HintChinese, Text::HintEnglish));
    view()->addSubview(hint);

    m_line = View::make<ImageView>(lineRestFrame());
    m_line->setImage(Image::named(Picture::ScanLine));
    view()->addSubview(m_line);

    // Last: hiding the bar lays the navigation out again, which may already make this screen
    // appear and start the camera, whose picture goes between the views above.
    if (auto navigation = navigationController())
        navigation->setNavigationBarHidden(true);
}

platform::Rect ItemScanViewController::lineRestFrame() const {
    return {{(screenWidth() - kLineWidth) / 2, m_imageViewH + kLineTopInset},
            {kLineWidth, kLineHeight}};
}

void ItemScanViewController::viewWillAppear(bool animated) {
    if (auto navigation = navigationController())
        navigation->setNavigationBarHidden(true);
    setcam();
    kCustomViewController::viewWillAppear(animated);
}

void ItemScanViewController::viewWillDisappear(bool animated) {
    if (auto navigation = navigationController())
        navigation->setNavigationBarHidden(false);
    kCustomViewController::viewWillDisappear(animated);
}

void ItemScanViewController::setcam() {
    setupCamera();
}

void ItemScanViewController::setupCamera() {
    if (m_closed)
        return;
    // Appearing again (after a screen above it went) must not leave a second timer sweeping.
    if (m_timer)
        m_timer->invalidate();
    std::weak_ptr<ItemScanViewController> weakSelf =
        std::static_pointer_cast<ItemScanViewController>(shared_from_this());
    m_timer = platform::RunLoop::main().scheduleTimer(platform::seconds(kScanLineInterval), true,
                                                      [weakSelf](platform::Timer& timer) {
                                                          if (auto self = weakSelf.lock())
                                                              self->animation();
                                                          else
                                                              timer.invalidate();
                                                      });

    const auto status = platform::CaptureDevice::authorizationStatus();
    if (status == platform::CaptureAuthorization::Restricted ||
        status == platform::CaptureAuthorization::Denied) {
        showHUDWithStr(text(Text::NoPermissionChinese, Text::NoPermissionEnglish));
        return;
    }
    start();
}

void ItemScanViewController::animation() {
    using namespace platform;
    if (!m_line)
        return;
    std::weak_ptr<ImageView> weakLine = m_line;
    const Rect rest = lineRestFrame();
    const Rect end{{rest.origin.x, m_imageViewH + kLineSweep}, rest.size};
    View::animateWithDuration(
        kSweepSeconds, 0, AnimationOptions::CurveLinear,
        [weakLine, end] {
            if (auto line = weakLine.lock())
                line->setFrame(end);
        },
        [weakLine, rest](bool) {
            if (auto line = weakLine.lock())
                line->setFrame(rest);
        });
}

void ItemScanViewController::start() {
    using namespace platform;
    std::string error;
    auto input = CaptureDeviceInput::make(&error);
    if (!input) {
        log("%@", error);
        showHUDWithStr(text(Text::NoCameraChinese, Text::NoCameraEnglish));
        return;
    }
    // A new appearance starts a new session; the old one must not keep the camera.
    if (m_session)
        m_session->stopRunning();
    if (m_preview)
        m_preview->removeFromSuperview();

    m_input = input;
    m_output = std::make_shared<CaptureMetadataOutput>();
    m_output->setMetadataObjectsDelegate(std::weak_ptr<CaptureMetadataOutputObjectsDelegate>(
        std::static_pointer_cast<ItemScanViewController>(shared_from_this())));
    m_session = std::make_shared<CaptureSession>();
    m_session->setSessionPreset(kCaptureSessionPresetHigh);
    if (m_session->canAddInput(m_input))
        m_session->addInput(m_input);
    if (m_session->canAddOutput(m_output))
        m_session->addOutput(m_output);
    m_output->setMetadataObjectTypes({kMetadataObjectTypeQRCode, kMetadataObjectTypeEAN13Code,
                                      kMetadataObjectTypeEAN8Code, kMetadataObjectTypeCode128Code});
    m_output->setRectOfInterest(Rect{{0, 0}, {kBoxSide, kBoxSide}});

    const double W = screenWidth();
    const double side = kBoxSide - 2 * kPreviewInset;
    m_preview = View::make<View>(
        Rect{{(W - kBoxSide) / 2 + kPreviewInset, m_imageViewH + kPreviewInset}, {side, side}});
    m_preview->setBackgroundColor(Color::black());
    m_preview->setHandle("camera");
    view()->insertSubview(m_preview, kPreviewLayerIndex);

    m_session->startRunning();
}

void ItemScanViewController::captureOutputDidOutputMetadataObjects(
    platform::CaptureMetadataOutput& /*output*/,
    const std::vector<platform::MetadataObject>& objects) {
    // A code decoded while (or after) closing must not answer the page a second time.
    if (m_closed || objects.empty() || !objects.front().stringValue)
        return;
    const std::string code = *objects.front().stringValue;
    if (m_session)
        m_session->stopRunning();
    platform::log("stringValue: %@", code);
    platform::SystemSounds::play(platform::kSystemSoundID_Vibrate);
    platform::SystemSounds::play(kScanSound);

    if (m_Add) {
        m_Number->setText(code);
        m_Number->setHidden(false);
        AddItemNumber(code);
        std::weak_ptr<ItemScanViewController> weakSelf =
            std::static_pointer_cast<ItemScanViewController>(shared_from_this());
        m_restart.cancel();
        m_restart =
            platform::RunLoop::main().postDelayed(platform::seconds(kRestartDelay), [weakSelf] {
                if (auto self = weakSelf.lock())
                    self->reStart();
            });
        return;
    }

    m_ItemNumber = code;
    auto keepAlive = shared_from_this();
    if (!close())
        return;
    popSelf();
    if (m_delegate)
        m_delegate->ItemScanStr(m_ItemNumber);
}

void ItemScanViewController::AddItemNumber(const std::string& code) {
    std::erase(m_ItemArry, code);
    m_ItemArry.push_back(code);
    std::string list;
    for (const auto& item : m_ItemArry) list += (list.empty() ? "" : ", ") + item;
    platform::log("%@", "(" + list + ")");
}

void ItemScanViewController::reStart() {
    if (m_closed)
        return;
    m_Number->setHidden(true);
    if (m_session)
        m_session->startRunning();
}

void ItemScanViewController::backBtnClicked() {
    auto keepAlive = shared_from_this();
    if (!close())
        return;
    popSelf();
    if (!m_delegate)
        return;
    if (m_Add)
        m_delegate->ItemScanArry(m_ItemArry);
    else
        m_delegate->ItemScanStr("");
}

std::optional<platform::Json> ItemScanViewController::dictionaryWithJsonString(
    const std::string& text) {
    std::string error;
    auto parsed = platform::parseJson(text, &error);
    if (!parsed) {
        platform::log("解析失败 %@", error);
        showHUDWithStr(Text::InvalidCode);
    }
    return parsed;
}

bool ItemScanViewController::close() {
    if (m_closed)
        return false;
    m_closed = true;
    if (m_timer)
        m_timer->invalidate();
    m_restart.cancel();
    if (m_session)
        m_session->stopRunning();
    return true;
}

void ItemScanViewController::popSelf() {
    auto navigation = navigationController();
    if (navigation && navigation->topViewController().get() == this)
        navigation->popViewController(false);
}
