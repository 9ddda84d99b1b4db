// The container's media functions: the photo source sheet, camera and album photos redrawn
// upright, compressed and uploaded one request each, and the one voice recording with its
// playback and upload. Uploads run on the background pool; alerts, progress bars and replies
// are handled on the main thread only.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "client/MyTool.h"
#include "client/NetRequest.h"
#include "components/photopicker/PhotoPickerViewController.h"
#include "platform/devices/AudioPlayer.h"
#include "platform/devices/AudioRecorder.h"
#include "platform/devices/AudioSession.h"
#include "platform/devices/ImagePickerController.h"
#include "platform/devices/PhotoLibrary.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ActionSheetDelegate.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/Application.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/ProgressView.h"
#include "webcontainer/WebDetailViewController.h"
#include "webcontainer/WebUpload.h"

namespace {

namespace text {
constexpr const char* kTakePhoto = "拍照";
constexpr const char* kFromAlbum = "从照片中提取";
constexpr const char* kCancel = "取消";
constexpr const char* kNoSourceTitle = "照片获取失败";
constexpr const char* kNoSourceMessage = "没有可用的照片来源";
constexpr const char* kOk = "确定";
constexpr const char* kProcessingTitle = "正在处理图片...";
constexpr const char* kProcessingMessage = "\n\n";
constexpr const char* kUploadingTitle = "正在上传图片...";
constexpr const char* kUploadingMessage = "Message";
constexpr const char* kUploadingButton = "OK";
}  // namespace text

constexpr const char* kRecordingFileName = "myRecord.caf";
constexpr double kCameraJpegQuality = 0.5;
constexpr double kAlbumJpegQuality = 0.3;
constexpr platform::Rect kProgressBarFrame{{10, 30}, {200, 20}};
constexpr platform::Point kSpinnerCenter{139.5, 75.5};

std::shared_ptr<platform::ActivityIndicatorView> spinner() {
    auto indicator = platform::View::make<platform::ActivityIndicatorView>(
        platform::ActivityIndicatorViewStyle::Gray);
    indicator->setCenter(kSpinnerCenter);
    indicator->startAnimating();
    return indicator;
}

// Dismisses on the main thread, whether or not its container is still there, and only if the
// user has not closed it already.
void dismissAlertOnMain(std::shared_ptr<platform::AlertView> alert) {
    platform::dispatch::mainAsync([alert = std::move(alert)] {
        if (alert->isVisible())
            alert->dismissWithClickedButtonIndex(0, true);
    });
}

// The server path out of the upload reply; nothing (and so no reply to the page) for a reply
// that is too short or not a JSON object (the user is told, as for every unreadable reply).
// An object without a text "path" answers with an empty path, which tells the page that the
// upload gave nothing rather than leaving it waiting. Main thread: the parse failure is an
// alert.
std::optional<std::string> uploadedPath(const std::string& responseText) {
    if (responseText.size() < 2)
        return std::nullopt;
    auto document = MyTool::dictionaryWithJsonString(responseText);
    if (!document || !document->is_object())
        return std::nullopt;
    auto path = document->find("path");
    if (path == document->end() || !path->is_string()) {
        platform::log("upload reply without a path: %@", responseText);
        return std::string();
    }
    return path->get<std::string>();
}

// One upload, start to reply. Runs on a background thread; its progress state is its own, so
// parallel uploads each move their own bar. The reply reaches the page that asked only while
// the container lives and that page is still shown.
void uploadAndReply(std::weak_ptr<WebDetailViewController> container,
                    WebDetailViewController::PageIdentity asking, const std::string& url,
                    WebUploadKind kind, const std::string& bytes,
                    std::weak_ptr<platform::ProgressView> bar) {
    const char* replyKey = kind == WebUploadKind::Image ? "localIds" : "serverId";
    platform::log("%ld", static_cast<long>(bytes.size()));
    if (kind == WebUploadKind::Voice)
        platform::log("%@", "multipart/form-data");
    platform::log("开始链接");
    WebUploadOutcome outcome =
        sendWebUpload(url, kind, bytes, [bar](std::int64_t sent, std::int64_t total) {
            // Steps of one thousandth, as the bar has always moved; no total gives 0.
            const double value =
                total > 0 ? static_cast<double>(sent * 1000 / total) / 1000.0 : 0.0;
            platform::log("%lf", value);
            if (auto progressView = bar.lock())
                progressView->setProgress(static_cast<float>(value));
        });
    platform::log("%ld", static_cast<long>(bytes.size()));
    if (!outcome.error.empty()) {
        platform::log("链接失败");
        platform::log("error %@", outcome.error);
        return;
    }
    platform::log("链接结束");
    platform::log(kind == WebUploadKind::Image ? "response  %@        " : "response  %@",
                  outcome.responseText);
    platform::dispatch::mainAsync([container, asking, replyKey,
                                   responseText = std::move(outcome.responseText)] {
        auto path = uploadedPath(responseText);
        auto page = container.lock();
        if (!path || !page)
            return;
        page->executeCallBack(userInfoCallbackScript(platform::Json{{replyKey, *path}}), asking);
    });
}

}  // namespace

// Receives what the sheet, the pickers and the alerts report, on the container's behalf,
// so that the container's own interface stays the page's.
class WebDetailViewController::MediaDelegate
    : public platform::ActionSheetDelegate,
      public platform::AlertViewDelegate,
      public platform::ImagePickerControllerDelegate,
      public platform::components::PhotoPickerViewControllerDelegate {
public:
    explicit MediaDelegate(std::weak_ptr<WebDetailViewController> container)
        : m_container(std::move(container)) {}

    void clickedButtonAtIndex(platform::ActionSheet& sheet, int index) override {
        if (auto container = m_container.lock())
            container->actionSheetClickedButtonAtIndex(sheet, index);
    }
    void imagePickerControllerDidFinishPickingMediaWithInfo(
        platform::ImagePickerController& picker,
        const platform::ImagePickerMediaInfo& info) override {
        if (auto container = m_container.lock())
            container->imagePickerControllerDidFinishPickingMediaWithInfo(picker, info);
        else
            picker.dismissViewController(true);
    }
    void imagePickerControllerDidCancel(platform::ImagePickerController& picker) override {
        if (auto container = m_container.lock())
            container->dismissPicker(picker);
        else
            picker.dismissViewController(true);
    }
    void pickerViewControllerDoneAsstes(const std::vector<platform::PhotoAsset>& assets) override {
        if (auto container = m_container.lock())
            container->pickerViewControllerDoneAsstes(assets);
    }

private:
    std::weak_ptr<WebDetailViewController> m_container;
};

std::shared_ptr<WebDetailViewController::MediaDelegate> WebDetailViewController::mediaDelegate() {
    if (!m_mediaDelegate)
        m_mediaDelegate = std::make_shared<MediaDelegate>(
            std::static_pointer_cast<WebDetailViewController>(shared_from_this()));
    return m_mediaDelegate;
}

// --- Photos ------------------------------------------------------------------------------

void WebDetailViewController::chooseImage() {
    // The photos chosen next go to this page, if the user is still on it when they are up.
    m_photoAsker = askingPage();
    auto sheet = platform::View::make<platform::ActionSheet>(
        "", mediaDelegate(), text::kCancel, "",
        std::vector<std::string>{text::kTakePhoto, text::kFromAlbum});
    sheet->showInView(view());
}

void WebDetailViewController::actionSheetClickedButtonAtIndex(platform::ActionSheet& sheet,
                                                              int buttonIndex) {
    if (buttonIndex == sheet.cancelButtonIndex())
        return;
    if (buttonIndex == 0) {
        doAction(platform::ImagePickerSourceType::Camera);
    } else if (buttonIndex == 1) {
        auto picker = std::make_shared<platform::components::PhotoPickerViewController>();
        picker->setStatus(platform::components::PickerViewShowStatus::CameraRoll);
        picker->setDelegate(mediaDelegate());
        picker->showPickerVc(*this);
    }
}

void WebDetailViewController::doAction(platform::ImagePickerSourceType sourceType) {
    auto picker = std::make_shared<platform::ImagePickerController>();
    picker->setDelegate(mediaDelegate());
    if (!platform::ImagePickerController::isSourceTypeAvailable(sourceType)) {
        auto alert = platform::View::make<platform::AlertView>(
            text::kNoSourceTitle, text::kNoSourceMessage,
            std::weak_ptr<platform::AlertViewDelegate>(), text::kOk, std::vector<std::string>{});
        alert->show();
        return;
    }
    picker->setSourceType(sourceType);
    if (platform::Application::shared().userInterfaceIdiom() == platform::UserInterfaceIdiom::Pad) {
        // A tablet shows the picker in a popover pointing at a small rectangle in the page.
        const platform::Size size = view()->bounds().size;
        m_photoPopover = std::make_shared<platform::PopoverController>(picker);
        m_photoPopover->presentFromRect(platform::Rect{{size.width / 2, size.height / 3}, {10, 10}},
                                        *view(), platform::PopoverArrowDirection::Any, true);
        return;
    }
    presentViewController(picker, true);
}

void WebDetailViewController::dismissPicker(platform::ImagePickerController& picker) {
    // A picker in the tablet's popover is not presented: dismissing it as a presented one would
    // leave the popover standing over the page, so the popover goes instead.
    if (m_photoPopover && m_photoPopover->contentViewController().get() == &picker) {
        auto popover = std::move(m_photoPopover);
        popover->dismissPopover(true);
        return;
    }
    picker.dismissViewController(true);
}

void WebDetailViewController::imagePickerControllerDidFinishPickingMediaWithInfo(
    platform::ImagePickerController& picker, const platform::ImagePickerMediaInfo& info) {
    if (info.mediaType == platform::ImagePickerController::kMediaTypeImage &&
        !info.originalImage.isNull()) {
        platform::Image upright = fixOrientation(info.originalImage);
        auto alert = platform::View::make<platform::AlertView>(
            text::kProcessingTitle, text::kProcessingMessage,
            std::weak_ptr<platform::AlertViewDelegate>(), "", std::vector<std::string>{});
        alert->addSubview(spinner());
        alert->show();
        // The upload runs in the background block too, not on the main thread: the screen
        // must not freeze for as long as the network takes.
        std::weak_ptr<WebDetailViewController> weakSelf =
            std::static_pointer_cast<WebDetailViewController>(shared_from_this());
        // The address is read here: the service settings belong to the main thread.
        platform::dispatch::async([weakSelf, asking = m_photoAsker,
                                   url = NetRequest::WebViewUpLoadUrl().url, upright, alert] {
            const std::string jpeg = upright.jpegData(kCameraJpegQuality);
            uploadAndReply(weakSelf, asking, url, WebUploadKind::Image, jpeg, {});
            dismissAlertOnMain(alert);
        });
    }
    dismissPicker(picker);
}

void WebDetailViewController::pickerViewControllerDoneAsstes(
    const std::vector<platform::PhotoAsset>& assets) {
    std::weak_ptr<WebDetailViewController> weakSelf =
        std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    for (const auto& asset : assets) {
        platform::Image image = asset.originImage();
        if (image.isNull()) {
            platform::log("not a picture: %@", asset.file.string());
            continue;
        }
        platform::Image upright = fixOrientation(image);
        auto alert = platform::View::make<platform::AlertView>(
            text::kUploadingTitle, text::kUploadingMessage, mediaDelegate(), text::kUploadingButton,
            std::vector<std::string>{});
        auto bar = platform::View::make<platform::ProgressView>(kProgressBarFrame);
        alert->addSubview(bar);
        alert->addSubview(spinner());
        alert->show();
        platform::dispatch::async([weakSelf, asking = m_photoAsker,
                                   url = NetRequest::WebViewUpLoadUrl().url, upright, alert,
                                   weakBar = std::weak_ptr(bar)] {
            const std::string jpeg = upright.jpegData(kAlbumJpegQuality);
            uploadAndReply(weakSelf, asking, url, WebUploadKind::Image, jpeg, weakBar);
            dismissAlertOnMain(alert);
        });
    }
}

platform::Image WebDetailViewController::fixOrientation(const platform::Image& image) {
    return MyTool::fixOrientation(image);
}

void WebDetailViewController::uploadImage(const std::string& jpegData,
                                          std::weak_ptr<platform::ProgressView> progressView) {
    uploadAndReply(std::static_pointer_cast<WebDetailViewController>(shared_from_this()),
                   askingPage(), NetRequest::WebViewUpLoadUrl().url, WebUploadKind::Image, jpegData,
                   std::move(progressView));
}

// --- Voice -------------------------------------------------------------------------------

std::string WebDetailViewController::getSavePath() const {
    std::string path = (platform::paths::documentsDirectory() / kRecordingFileName).string();
    platform::log("录音文件路径:%@", path);
    return path;
}

void WebDetailViewController::setAudioSession() {
    auto& session = platform::AudioSession::sharedInstance();
    session.setCategory(platform::AudioSessionCategory::PlayAndRecord);
    session.setActive(true);
}

platform::AudioSettings WebDetailViewController::getAudioSetting() {
    // 16-bit integer samples: linear PCM at 8 bits has no float form, and 16 bits is what
    // every player of the recording reads.
    platform::AudioSettings settings;
    settings.formatID = "lpcm";
    settings.sampleRate = 8000;
    settings.numberOfChannels = 1;
    settings.linearPCMBitDepth = 16;
    settings.linearPCMIsFloat = false;
    return settings;
}

std::shared_ptr<platform::AudioRecorder> WebDetailViewController::audioRecorder() {
    if (!m_audioRecorder) {
        std::error_code ec;
        std::filesystem::create_directories(platform::paths::documentsDirectory(), ec);
        platform::DeviceError error;
        m_audioRecorder = platform::AudioRecorder::make(getSavePath(), getAudioSetting(), &error);
        if (!m_audioRecorder) {
            platform::log("创建录音机对象时发生错误，错误信息：%@", error.description);
            return nullptr;
        }
        m_audioRecorder->setMeteringEnabled(true);
    }
    return m_audioRecorder;
}

std::shared_ptr<platform::AudioPlayer> WebDetailViewController::audioPlayer() {
    if (!m_audioPlayer) {
        platform::DeviceError error;
        m_audioPlayer = platform::AudioPlayer::make(getSavePath(), &error);
        if (!m_audioPlayer) {
            platform::log("创建播放器过程中发生错误，错误信息：%@", error.description);
            return nullptr;
        }
        m_audioPlayer->setNumberOfLoops(0);
        m_audioPlayer->prepareToPlay();
    }
    return m_audioPlayer;
}

void WebDetailViewController::startRecord() {
    platform::log("开始录音");
    setAudioSession();
    auto recorder = audioRecorder();
    if (!recorder || recorder->isRecording())
        return;
    recorder->record();
}

void WebDetailViewController::stopRecord() {
    platform::log("停止录音");
    if (auto recorder = audioRecorder()) {
        recorder->stop();
        if (!recorder->lastError().empty())
            platform::log("%@", recorder->lastError());
    }
    executeCallBack(userInfoCallbackScript(platform::Json{{"localId", "file://" + getSavePath()}}),
                    askingPage());
}

void WebDetailViewController::playVoice() {
    platform::log("播放语音");
    if (auto player = audioPlayer(); player && !player->isPlaying())
        player->play();
    platform::AudioSession::sharedInstance().setCategory(platform::AudioSessionCategory::Playback);
}

void WebDetailViewController::pauseVoice() {
    platform::log("暂停播放");
    if (auto player = audioPlayer())
        player->pause();
}

void WebDetailViewController::stopVoice() {
    platform::log("停止播放");
    if (m_audioPlayer)
        m_audioPlayer->stop();
    m_audioPlayer.reset();
}

void WebDetailViewController::uploadVoice() {
    std::weak_ptr<WebDetailViewController> weakSelf =
        std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    const std::string path = getSavePath();
    platform::dispatch::async([weakSelf, asking = askingPage(),
                               url = NetRequest::WebViewUpLoadUrl().url, path] {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            // Nothing recorded yet: nothing to upload, and so no reply.
            platform::log("error %@", "no recording at " + path);
            return;
        }
        const std::string bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
        uploadAndReply(weakSelf, asking, url, WebUploadKind::Voice, bytes, {});
    });
}
