#pragma once

#include <functional>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "platform/ui/ViewController.h"
#include "platform/ui/WebViewDelegate.h"
#include "signin/loginPopViewDelegeta.h"

namespace platform {
struct Notification;
class WebView;
// Media (photos, uploads, voice recording)
class ActionSheet;
class AudioPlayer;
class AudioRecorder;
struct AudioSettings;
class Image;
class ImagePickerController;
struct ImagePickerMediaInfo;
enum class ImagePickerSourceType : int;
struct PhotoAsset;
class ProgressView;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// The web page container: shows one school web page, titled by its opener. The opener sets
// the title and the already escaped address before pushing it; the page loads when the view
// does, ignoring cached data, and gives up after 10 seconds.
//
// A page may ask for the signed-in user's information. While such a request is pending the
// container answers it as soon as a sign-in completes ("LoginSuccess"), with the stored user
// information as a "callback(...)" script.
class WebDetailViewController : public platform::ViewController,
                                public platform::WebViewDelegate,
                                public loginPopViewDelegeta {
public:
    static constexpr double kTimeoutSeconds = 10;
    static constexpr const char* kLoadingText = "加载中";

    WebDetailViewController();
    ~WebDetailViewController() override;

    const std::string& titleStr() const { return m_titleStr; }
    void setTitleStr(std::string title) { m_titleStr = std::move(title); }
    const std::string& urlStr() const { return m_urlStr; }
    // Used as it is: the opener escapes it.
    void setUrlStr(std::string url) { m_urlStr = std::move(url); }

    void viewDidLoad() override;

    // Null until the view has loaded.
    const std::shared_ptr<platform::WebView>& webView() const { return m_webView; }
    // The loading overlay while it shows, else null.
    std::shared_ptr<platform::components::ProgressHUD> loadingOverlay() const;

    // A page's request for the user's information, waiting for a sign-in. The command bridge
    // sets it when a page asks while nobody is signed in.
    void setUserInfoRequestPending(bool pending) { m_userInfoRequestPending = pending; }
    bool isUserInfoRequestPending() const { return m_userInfoRequestPending; }
    // Presents the sign-in page in web-sign-in mode, reporting back to this container.
    void presentWebSignIn();

    // Observer of "LoginSuccess": answers the pending request, if any.
    void CalkBackUserMessage(const platform::Notification& notification);

    // loginPopViewDelegeta: the user backed out of the web sign-in; leave the page too.
    void popViewController() override;

    // platform::WebViewDelegate
    void webViewDidStartLoad(platform::WebView& webView) override;
    void webViewDidFinishLoad(platform::WebView& webView) override;
    void didFailLoadWithError(platform::WebView& webView, const platform::WebError& error) override;

    // ---- Media: photos, uploads and the voice recording (WebDetailViewControllerMedia.cpp) ----
    // The bridge commands. Main thread.
    void chooseImage();
    void startRecord();
    void stopRecord();
    void playVoice();
    void pauseVoice();
    void stopVoice();
    void uploadVoice();
    // The photo source sheet's choice: 0 camera, 1 album, the last one cancels.
    void actionSheetClickedButtonAtIndex(platform::ActionSheet& sheet, int buttonIndex);
    // Opens the image picker on the source, or says that there is none.
    void doAction(platform::ImagePickerSourceType sourceType);
    void imagePickerControllerDidFinishPickingMediaWithInfo(
        platform::ImagePickerController& picker, const platform::ImagePickerMediaInfo& info);
    void pickerViewControllerDoneAsstes(const std::vector<platform::PhotoAsset>& assets);
    static platform::Image fixOrientation(const platform::Image& image);
    // Uploads one photo and answers the page with its server path. Blocks the calling thread
    // until the server answered (the container's own uploads run it in the background);
    // progress moves `progressView` (if any) on the main loop.
    void uploadImage(const std::string& jpegData,
                     std::weak_ptr<platform::ProgressView> progressView = {});
    // The recording file, "myRecord.caf" in the documents directory.
    std::string getSavePath() const;
    void setAudioSession();
    static platform::AudioSettings getAudioSetting();
    // Made on first use; null (logged) when the device cannot give one.
    std::shared_ptr<platform::AudioRecorder> audioRecorder();
    std::shared_ptr<platform::AudioPlayer> audioPlayer();
    // Answers the page: runs the script in it. Main thread.
    void executeCallBack(const std::string& script);

private:
    class MediaDelegate;
    std::shared_ptr<MediaDelegate> mediaDelegate();
    std::shared_ptr<MediaDelegate> m_mediaDelegate;
    std::shared_ptr<platform::AudioRecorder> m_audioRecorder;
    std::shared_ptr<platform::AudioPlayer> m_audioPlayer;
    // ---- end of media ----

private:
    void presentSignIn(bool isWebLogin, bool animated);
    void showLoadingOverlay();
    void hideLoadingOverlay();

    std::string m_titleStr;
    std::string m_urlStr;
    std::shared_ptr<platform::WebView> m_webView;
    std::weak_ptr<platform::components::ProgressHUD> m_loadingOverlay;
    bool m_userInfoRequestPending{false};
};

// The text of a "callback(...)" script answering a page with the document: valid JSON whatever
// the stored values hold, with the two line separators that end a script line escaped too.
std::string userInfoCallbackScript(const nlohmann::ordered_json& document);
