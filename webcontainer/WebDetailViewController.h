#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/webprogress/WebViewProgressDelegate.h"
#include "platform/devices/LocationManagerDelegate.h"
#include "platform/devices/MessageComposeViewControllerDelegate.h"
#include "platform/foundation/JsonFwd.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebViewDelegate.h"
#include "signin/loginPopViewDelegeta.h"
#include "webcontainer/CommandPictures.h"
#include "webcontainer/ItemScanDelegate.h"

namespace platform {
struct Notification;
struct URLRequest;
class View;
class WebView;
class LocationManager;
class Geocoder;
// Media (photos, uploads, voice recording)
class ActionSheet;
class AudioPlayer;
class AudioRecorder;
struct AudioSettings;
class Image;
class ImagePickerController;
class PopoverController;
struct ImagePickerMediaInfo;
enum class ImagePickerSourceType : int;
struct PhotoAsset;
class ProgressView;
namespace components {
class ProgressHUD;
class WebViewProgress;
class WebViewProgressView;
}  // namespace components
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
                                public platform::components::WebViewProgressDelegate,
                                public loginPopViewDelegeta,
                                public platform::LocationManagerDelegate,
                                public platform::MessageComposeViewControllerDelegate,
                                public ItemScanDelegate {
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
    // sets it when a page asks while nobody is signed in; set, it stands for the page shown
    // now, which alone hears the answer.
    void setUserInfoRequestPending(bool pending);
    bool isUserInfoRequestPending() const { return m_userInfoRequestPending; }
    // Presents the sign-in page in web-sign-in mode, reporting back to this container.
    void presentWebSignIn();

    // loginPopViewDelegeta: the user backed out of the web sign-in; leave the page too.
    void popViewController() override;

    // --- Container page: the screen around the web page ----------------------------------
    // The web view takes the view's width and its height less 64 points, fixed when the view
    // loads. A load progress line lies along the bottom of the navigation bar while this
    // page is on screen. The overlay "加载中" shows once, from the view's load until the
    // first load ends, the back button is tapped or kOverlaySeconds pass; it shows again
    // while a command's pictures load (awaitCommandPictures). A failed load
    // covers the web view with the fail view (one, reused) whose reload button loads
    // `urlStr` again; a load cancelled because another replaced it shows nothing.
    static constexpr double kOverlaySeconds = 20;

    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    // Sets the left bar button: back through the page's history, then off the screen.
    void backButton();
    void backButtonAction();
    // Builds the web view, the progress proxy and line, and starts the first load.
    void createWebView();
    // Shows the fail view, made on the first call; hides it and loads `urlStr` again.
    void addFailView();
    void hiddenFailView();

    // Null until the view has loaded.
    const std::shared_ptr<platform::components::WebViewProgressView>& progressView() const {
        return m_progressView;
    }
    // Null until the first failure that shows it.
    const std::shared_ptr<platform::View>& failView() const { return m_failView; }
    bool isFailViewShowing() const;

    // platform::WebViewDelegate, reached through the progress proxy (the bridge answers
    // shouldStartLoadWithRequest).
    void webViewDidFinishLoad(platform::WebView& webView) override;
    void didFailLoadWithError(platform::WebView& webView, const platform::WebError& error) override;
    // platform::components::WebViewProgressDelegate
    void webViewProgress(platform::components::WebViewProgress& progress, float value) override;

    // ---- Command bridge (WebDetailViewControllerBridge.cpp) -------------------------------
    // A page calls a native function by navigating to any address that contains a command
    // word, optionally followed by "=" and a JSON argument; the container cancels that
    // navigation, acts, and answers most commands by running "callback(...)" in the page.
    // Every value put into a reply is JSON-escaped, so no stored value, code or address can
    // leave its string. Only the school's own pages (ServiceConfig::isSchoolAddress) are
    // served: a command from any other page, one reached through a redirect included, and one
    // that a school address redirected to when another host's page led there, is refused with
    // a log line. What decides is all that led to the page (WebView::pageSourceChain), which
    // back, forward and reload keep.
    //
    // Every answer (a reply, a fix, a photo's or recording's upload, a scan, the contacts, the
    // user's information) goes to the page that asked, known by its identity
    // (WebView::pageIdentity) taken when the command came, and is run only while that very
    // page is shown and may perform commands; otherwise it is dropped with a log line.
    using PageIdentity = std::uint64_t;

    // The dispatcher: false (navigation cancelled) when the address holds a command word.
    bool shouldStartLoadWithRequest(platform::WebView& webView, const platform::URLRequest& request,
                                    platform::WebViewNavigationType type) override;
    // The JSON after the first "word=" of the command address, decoded once more; nothing
    // when the marker is missing, the decoding fails or the text is not JSON.
    static std::optional<platform::Json> DictFromStrCut(const std::string& commandURL,
                                                        const std::string& word);
    // Logs the reply and runs it in the page that asked, if it may still hear it.
    void executeCallBack(const std::string& script, PageIdentity page);
    // Answers the page's waiting user-information request; also the "LoginSuccess" observer.
    void CalkBackUserMessage(const platform::Notification& notification);
    // The device's contacts, one entry {"userName","mobileNo"} per person with a legal mobile
    // number (the first one, separators removed); empty when access is refused. The address
    // book answers its access request on a later turn of the run loop, so the list comes to
    // `done` then.
    static void ReadAllPeoples(std::function<void(platform::Json list)> done);
    // Adds one person to the device's contacts and tells the user the outcome in an alert.
    void addAddBook(const std::string& lastName, const std::vector<std::string>& phones,
                    const std::vector<std::string>& labels);
    // The scanner's results: one code ("" when the user backed out), or a batch.
    void ItemScanStr(const std::string& code) override;
    void ItemScanArry(const std::vector<std::string>& codes) override;
    // Presents the message composer when the device can send texts.
    void sendSMS(const std::string& body, const std::vector<std::string>& recipientList);
    // The page store: what the page put with "setStorage", for this page's life.
    const platform::Json& pageStore() const;

    // platform::LocationManagerDelegate
    void didUpdateLocations(platform::LocationManager& manager,
                            const std::vector<platform::Location>& locations) override;
    void didFailWithError(platform::LocationManager& manager,
                          const platform::DeviceError& error) override;
    // platform::MessageComposeViewControllerDelegate
    void didFinishWithResult(platform::MessageComposeViewController& controller,
                             platform::MessageComposeResult result) override;

    // Native functions of other parts of the container, which the bridge calls (the scanner,
    // the image preview and the media functions are declared with their own parts below).
    // The map page (WebDetailViewControllerMap.cpp): pushes the map, which centres on the user.
    void openLocation();
    void presentShareSheet(const platform::Json& argument);

private:
    void performCommand(std::size_t row, const std::string& commandURL);
    void requestUserInformation(const std::string& commandURL, bool mayDecline);
    void startLocating();
    void evaluateDirectly(const std::string& script, PageIdentity page);
    // The page shown now, which is the one asking while a command is dispatched; 0 without one.
    PageIdentity askingPage() const;
    // The page that asked is still the one shown, and all that led to it is the school's;
    // logs why not otherwise.
    bool mayAnswerPage(PageIdentity page) const;
    void sendLocationReply(const platform::Location& fix, const std::string& address,
                           PageIdentity page);

    // Made on first use; shared pointers so the container's own file needs none of these
    // types to be complete.
    std::shared_ptr<platform::Json> m_cache;
    std::shared_ptr<platform::LocationManager> m_locationManager;
    std::shared_ptr<platform::Geocoder> m_geocoder;
    // The current location request has had its fix; later fixes are not answered.
    bool m_locationAnswered{false};
    // The pages waiting for an answer that comes later: the user's information (after a
    // sign-in), a fix, a scan, a chosen photo's upload.
    PageIdentity m_userInfoAsker{0};
    PageIdentity m_locationAsker{0};
    PageIdentity m_scanAsker{0};
    PageIdentity m_photoAsker{0};
    // ---- End of the command bridge ---------------------------------------------------------

public:
    // --- Code scanner and image preview (WebDetailViewControllerScan.cpp) -------------------
    // Pushes the code scanner (Chinese texts, titled "扫码") with this container as its
    // delegate: single mode, or batch mode when `batch`. Its answer comes back through
    // ItemScanStr / ItemScanArry (ItemScanDelegate), which the command bridge turns into a
    // reply to the page shown when the scanner opened.
    void openScanner(bool batch);
    // Downloads the first two images (see awaitCommandPictures) and pushes the preview of
    // each one that loaded, in URL order; pushes nothing when none did.
    void previewImage(const std::vector<std::string>& urls);
    // --- end of code scanner and image preview ------------------------------------------

    // --- Pictures a command asks for (WebDetailViewController.cpp) --------------------------
    // The preview's and the share's pictures may be on any host, so the page waits for them
    // under the loading overlay while the main thread goes on (the taps, the timers, the
    // back button). `ready` gets one image per address (null where it failed) once each is in
    // or has failed, and only while the page that asked is shown with this container on top.
    // Back, leaving the page, the container going and a newer picture command cancel the
    // downloads, and `ready` never runs then. Addresses that are all empty need no wait:
    // `ready` runs at once.
    void awaitCommandPictures(std::vector<std::string> urls, platform::Size shown,
                              CommandPictures::Limits limits,
                              std::function<void(std::vector<platform::Image>)> ready);
    void cancelCommandPictures();
    bool isWaitingForPictures() const { return m_pictures != nullptr; }

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
    // Closes the image picker: its popover on a tablet, its presentation on a phone.
    void dismissPicker(platform::ImagePickerController& picker);
    static platform::Image fixOrientation(const platform::Image& image);
    // Uploads one photo and answers the page shown at the call with its server path, if it is
    // still shown then. Blocks the calling thread until the server answered (the container's
    // own uploads run it in the background); progress moves `progressView` (if any) on the
    // main loop.
    void uploadImage(const std::string& jpegData,
                     std::weak_ptr<platform::ProgressView> progressView = {});
    // The recording file, "myRecord.caf" in the documents directory.
    std::string getSavePath() const;
    void setAudioSession();
    static platform::AudioSettings getAudioSetting();
    // Made on first use; null (logged) when the device cannot give one.
    std::shared_ptr<platform::AudioRecorder> audioRecorder();
    std::shared_ptr<platform::AudioPlayer> audioPlayer();

private:
    class MediaDelegate;
    std::shared_ptr<MediaDelegate> mediaDelegate();
    std::shared_ptr<MediaDelegate> m_mediaDelegate;
    // The tablet's popover holding the image picker, while it shows.
    std::shared_ptr<platform::PopoverController> m_photoPopover;
    std::shared_ptr<platform::AudioRecorder> m_audioRecorder;
    std::shared_ptr<platform::AudioPlayer> m_audioPlayer;
    // ---- end of media ----

private:
    void presentSignIn(bool isWebLogin, bool animated);
    void showLoadingOverlay();
    void hideLoadingOverlay();
    platform::URLRequest pageRequest() const;
    void buildFailView();

    std::string m_titleStr;
    std::string m_urlStr;
    std::shared_ptr<platform::WebView> m_webView;
    std::weak_ptr<platform::components::ProgressHUD> m_loadingOverlay;
    std::shared_ptr<platform::components::WebViewProgressView> m_progressView;
    // The web view's delegate; hands every call on to this controller.
    std::shared_ptr<platform::components::WebViewProgress> m_progressProxy;
    std::shared_ptr<platform::View> m_failView;
    // The pictures a command waits for, and the page that asked for them.
    std::unique_ptr<CommandPictures> m_pictures;
    PageIdentity m_picturesAsker{0};
    // --- end of the container page ------------------------------------------------------
    bool m_userInfoRequestPending{false};
};

// The text of a "callback(...)" script answering a page with the document: valid JSON whatever
// the stored values hold, with the two line separators that end a script line escaped too.
std::string userInfoCallbackScript(const platform::Json& document);
