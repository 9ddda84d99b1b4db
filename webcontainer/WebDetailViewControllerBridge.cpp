// The command bridge of the web container: the dispatcher in the web view's delegate, the
// argument and reply formats, and the simple commands (bars, page store, network type, device
// identifier, user information, contacts, location). The feature commands call members that
// other parts of the container define.

#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#include "client/DictionaryUtility.h"
#include "client/MyTool.h"
#include "client/NetTool.h"
#include "client/ServiceConfig.h"
#include "client/SignInSession.h"
#include "client/SignInState.h"
#include "platform/devices/AddressBook.h"
#include "platform/devices/Geocoder.h"
#include "platform/devices/LocationManager.h"
#include "platform/devices/MessageComposeViewController.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/JsonParse.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/URLEscaping.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/WebView.h"
#include "webcontainer/BridgeScript.h"
#include "webcontainer/WebDetailViewController.h"

using platform::Json;

namespace {

enum class Command {
    StatusBarStyleDefault,
    StatusBarStyleLightContent,
    NavigationBarHidden,
    NavigationBarShow,
    ScanSingle,
    ScanBatch,
    ScanPlain,
    PortalBack,
    EndEditing,
    SetStorage,
    GetStorage,
    ChooseImage,
    PreviewImage,
    NetworkType,
    OnMenuShare,
    GetOrgInfo,
    GetUserInfo,
    ReadContact,
    AddContact,
    Location,
    OpenLocation,
    GetDeviceId,
    StartRecord,
    StopRecord,
    PlayVoice,
    PauseVoice,
    StopVoice,
    UploadVoice,
};

struct Word {
    const char* text;
    Command command;
};

// Searched in this order; the first word found anywhere in the address decides. The order
// matters: "scanQRCode1" and "scanQRCodeBatch" both contain "scanQRCode".
constexpr std::array<Word, 29> kWords{{
    {"StatusBarStyleDefault", Command::StatusBarStyleDefault},
    {"StatusBarStyleLightContent", Command::StatusBarStyleLightContent},
    {"navigationBarHidden", Command::NavigationBarHidden},
    {"navigationBarShow", Command::NavigationBarShow},
    {"scanQRCode1", Command::ScanSingle},
    {"scanQRCodeBatch", Command::ScanBatch},
    {"scanQRCode", Command::ScanPlain},
    {"portalBack", Command::PortalBack},
    {"undefined", Command::PortalBack},
    {"endEditing", Command::EndEditing},
    {"setStorage", Command::SetStorage},
    {"getStorage", Command::GetStorage},
    {"chooseImage", Command::ChooseImage},
    {"previewImage", Command::PreviewImage},
    {"networkType", Command::NetworkType},
    {"onMenuShare", Command::OnMenuShare},
    {"getOrgInfo", Command::GetOrgInfo},
    {"getUserInfo", Command::GetUserInfo},
    {"readContact", Command::ReadContact},
    {"addContact", Command::AddContact},
    {"location", Command::Location},
    {"openLocation", Command::OpenLocation},
    {"getDeviceId", Command::GetDeviceId},
    {"startRecord", Command::StartRecord},
    {"stopRecord", Command::StopRecord},
    {"playVoice", Command::PlayVoice},
    {"pauseVoice", Command::PauseVoice},
    {"stopVoice", Command::StopVoice},
    {"uploadVoice", Command::UploadVoice},
}};

constexpr const char* kWiFiReply = "callback({\"NetworkType\":\"目前网络状态为：WiFi\"})";
constexpr const char* k3GReply = "callback({\"NetworkType\":\"目前网络状态为：3G\"})";
constexpr const char* kContactPhoneLabel = "手机";
constexpr const char* kRefusedCommandLog =
    "bridge: %@ refused: %@ is not one of the school's pages";
constexpr const char* kRefusedReplyLog =
    "bridge: reply withheld: %@ is not one of the school's pages";
constexpr const char* kLeftPageLog = "bridge: reply withheld: %@ is not the page that asked";

// A value of the page store or of an argument as the page reads it in a reply: text as it
// is, anything else as its JSON text.
std::string textForm(const Json& value) {
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_boolean())
        return value.get<bool>() ? "1" : "0";
    return jsonText(value);
}

std::string messageReply(const std::string& message) {
    return "callback( {\"message\":" + jsonQuoted(message) + "} )";
}

std::string withoutCharacters(std::string text, std::string_view characters) {
    std::erase_if(text, [&](char c) { return characters.find(c) != std::string_view::npos; });
    return text;
}

std::string coordinateText(double degrees) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", degrees);
    return text;
}

}  // namespace

std::string userInfoCallbackScript(const Json& document) {
    return "callback(" + jsonText(document) + ")";
}

const Json& WebDetailViewController::pageStore() const {
    static const Json empty = Json::object();
    return m_cache ? *m_cache : empty;
}

std::optional<Json> WebDetailViewController::DictFromStrCut(const std::string& commandURL,
                                                            const std::string& word) {
    const std::string marker = word + "=";
    const size_t at = commandURL.find(marker);
    if (at == std::string::npos)
        return std::nullopt;
    auto decoded =
        platform::removingPercentEncoding(std::string_view(commandURL).substr(at + marker.size()));
    if (!decoded)
        return std::nullopt;
    return platform::parseJson(*decoded);
}

bool WebDetailViewController::shouldStartLoadWithRequest(platform::WebView& /*webView*/,
                                                         const platform::URLRequest& request,
                                                         platform::WebViewNavigationType) {
    auto commandURL = platform::removingPercentEncoding(request.url);
    if (!commandURL)
        return true;
    platform::log("urlString:%@", *commandURL);
    for (size_t row = 0; row < kWords.size(); ++row) {
        if (commandURL->find(kWords[row].text) != std::string::npos) {
            // The user's data is lent only to the school's own pages, and only when all that
            // led to the command is the school's: the page that started the navigation and
            // every address that redirected on the way (a school address that redirects
            // where a foreign page sent it speaks for the foreign page). An address the
            // container opens itself speaks for itself. The command address does not count:
            // any page can name any host there. A refused command is not loaded either.
            const std::vector<std::string> itself{request.url};
            const auto& chain = request.sourceChain.empty() ? itself : request.sourceChain;
            for (const std::string& asking : chain) {
                if (!ServiceConfig::shared().isSchoolAddress(asking)) {
                    platform::log(kRefusedCommandLog, kWords[row].text, asking);
                    return false;
                }
            }
            performCommand(row, *commandURL);
            return false;
        }
    }
    return true;
}

WebDetailViewController::PageIdentity WebDetailViewController::askingPage() const {
    return m_webView ? m_webView->pageIdentity() : 0;
}

bool WebDetailViewController::mayAnswerPage(PageIdentity page) const {
    if (!m_webView)
        return false;
    // A reply that comes later (a sign-in, a fix, an upload, a scan) may find another page
    // shown by then, even one on the same address: only the page that asked hears it.
    if (page == 0 || m_webView->pageIdentity() != page) {
        platform::log(kLeftPageLog, m_webView->pageURL());
        return false;
    }
    // The page's right never changes while it is shown; asked again here so that no answer
    // reaches a page that never had it (one the app opened on a command address, say).
    for (const std::string& address : m_webView->pageSourceChain()) {
        if (!ServiceConfig::shared().isSchoolAddress(address)) {
            platform::log(kRefusedReplyLog, address);
            return false;
        }
    }
    if (ServiceConfig::shared().isSchoolAddress(m_webView->pageURL()))
        return true;
    platform::log(kRefusedReplyLog, m_webView->pageURL());
    return false;
}

void WebDetailViewController::performCommand(std::size_t row, const std::string& commandURL) {
    // A command may close the page; it stays alive until the command is done.
    auto self = std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    const std::string word = kWords[row].text;
    // The page shown is the one asking: its own navigation, or a redirect of it, is what the
    // web view asks about.
    const PageIdentity asking = askingPage();
    auto navigation = navigationController();
    switch (kWords[row].command) {
        case Command::StatusBarStyleDefault:
            platform::Application::shared().setStatusBarStyle(platform::StatusBarStyle::Default);
            break;
        case Command::StatusBarStyleLightContent:
            platform::Application::shared().setStatusBarStyle(
                platform::StatusBarStyle::LightContent);
            break;
        case Command::NavigationBarHidden:
            if (navigation)
                navigation->setNavigationBarHidden(true, false);
            break;
        case Command::NavigationBarShow:
            if (navigation)
                navigation->setNavigationBarHidden(false, false);
            break;
        case Command::ScanSingle:
        case Command::ScanPlain:
            openScanner(false);
            break;
        case Command::ScanBatch:
            openScanner(true);
            break;
        case Command::PortalBack:
            if (navigation)
                navigation->popViewController(true);
            break;
        case Command::EndEditing:
            if (isViewLoaded())
                view()->endEditing(true);
            break;
        case Command::SetStorage: {
            auto argument = DictFromStrCut(commandURL, word);
            platform::log("%@", argument ? *argument : Json());
            if (!argument || !argument->is_object())
                break;
            if (!m_cache)
                m_cache = std::make_shared<Json>(Json::object());
            for (const auto& [key, value] : argument->items())
                (*m_cache)[key] = objectForKeyNotBackNull(*argument, key);
            break;
        }
        case Command::GetStorage: {
            auto argument = DictFromStrCut(commandURL, word);
            Json key = argument ? objectForKeyNotBackNull(*argument, "key") : Json("");
            std::string value;
            if (key.is_string())
                value = textForm(objectForKeyNotBackNull(pageStore(), key.get<std::string>()));
            evaluateDirectly(messageReply(value), asking);
            break;
        }
        case Command::ChooseImage:
            chooseImage();
            break;
        case Command::PreviewImage: {
            auto argument = DictFromStrCut(commandURL, word);
            std::vector<std::string> urls;
            if (argument && argument->is_object()) {
                auto list = argument->find("urls");
                if (list != argument->end() && list->is_array()) {
                    for (const auto& url : *list) {
                        if (url.is_string())
                            urls.push_back(url.get<std::string>());
                    }
                }
            }
            previewImage(urls);
            break;
        }
        case Command::NetworkType:
            if (NetTool::shareInstance().IsEnableWiFi())
                executeCallBack(kWiFiReply, asking);
            else if (NetTool::shareInstance().IsEnable3G())
                executeCallBack(k3GReply, asking);
            break;
        case Command::OnMenuShare: {
            auto argument = DictFromStrCut(commandURL, word);
            Json share = Json::object();
            for (const char* key : {"targetUrl", "title", "shareContent", "shareImage"}) {
                share[key] = textForm(argument ? objectForKeyNotBackNull(*argument, key)
                                               : Json(std::string()));
            }
            platform::log("dictdictdictdictdict%@", argument ? *argument : Json());
            presentShareSheet(share);
            break;
        }
        case Command::GetOrgInfo:
            requestUserInformation(commandURL, false);
            break;
        case Command::GetUserInfo: {
            const size_t after = commandURL.find(word) + word.size();
            requestUserInformation(commandURL.substr(after), true);
            break;
        }
        case Command::ReadContact: {
            platform::log("获取手机联系人");
            std::weak_ptr<WebDetailViewController> weakSelf = self;
            ReadAllPeoples([weakSelf, asking](Json list) {
                auto page = weakSelf.lock();
                if (!page)
                    return;
                platform::log("Successfully serialized the dictionary into data.");
                const std::string json = jsonText(list, true);
                platform::log("JSON String = %@", json);
                page->executeCallBack("callback({\"list\":" + json + "})", asking);
            });
            break;
        }
        case Command::AddContact: {
            platform::log("新增联系人  %@", commandURL);
            auto argument = DictFromStrCut(commandURL, word);
            const Json none = Json::object();
            const Json& fields = argument && argument->is_object() ? *argument : none;
            const std::string name = textForm(objectForKeyNotBackNull(fields, "userName"));
            const std::string mobile = textForm(objectForKeyNotBackNull(fields, "mobileNo"));
            std::vector<std::string> phones;
            if (!mobile.empty())
                phones.push_back(mobile);
            addAddBook(name, phones, {kContactPhoneLabel});
            break;
        }
        case Command::Location:
            startLocating();
            break;
        case Command::OpenLocation:
            openLocation();
            break;
        case Command::GetDeviceId: {
            platform::log("获取设备id");
            const std::string identifier = MyTool::GetIOSUUID().value_or("");
            platform::log("uuidStr     %@", identifier);
            executeCallBack("callback({\"deviceId\":" + jsonQuoted(identifier) + "})", asking);
            break;
        }
        case Command::StartRecord:
            startRecord();
            break;
        case Command::StopRecord:
            stopRecord();
            break;
        case Command::PlayVoice:
            playVoice();
            break;
        case Command::PauseVoice:
            pauseVoice();
            break;
        case Command::StopVoice:
            stopVoice();
            break;
        case Command::UploadVoice:
            uploadVoice();
            break;
    }
}

void WebDetailViewController::executeCallBack(const std::string& script, PageIdentity page) {
    if (!mayAnswerPage(page))
        return;
    platform::log("回调:%@", script);
    m_webView->stringByEvaluatingJavaScriptFromString(script);
}

void WebDetailViewController::evaluateDirectly(const std::string& script, PageIdentity page) {
    if (!mayAnswerPage(page))
        return;
    platform::log("stringByEvaluatingJavaScriptFromString %@", script);
    m_webView->stringByEvaluatingJavaScriptFromString(script);
}

// --- User information -------------------------------------------------------------------

void WebDetailViewController::setUserInfoRequestPending(bool pending) {
    m_userInfoRequestPending = pending;
    m_userInfoAsker = pending ? askingPage() : 0;
}

void WebDetailViewController::requestUserInformation(const std::string& rest, bool mayDecline) {
    setUserInfoRequestPending(true);
    const SignInSession session;
    if (session.isSignedIn()) {
        CalkBackUserMessage(platform::Notification{});
        return;
    }
    if (mayDecline && rest.find('0') != std::string::npos) {
        // The page asked not to be taken to the sign-in page: it hears at once that nobody is
        // signed in, and nothing is left waiting for a later sign-in.
        m_userInfoRequestPending = false;
        executeCallBack("callback(null)", m_userInfoAsker);
        return;
    }
    presentWebSignIn();
}

void WebDetailViewController::CalkBackUserMessage(const platform::Notification& /*notification*/) {
    if (!m_userInfoRequestPending)
        return;
    const SignInSession session;
    if (!session.isSignedIn()) {
        presentSignIn(false, false);
        return;
    }
    m_userInfoRequestPending = false;
    const auto stored = platform::UserDefaults::standard().objectForKey(SignInKey::WebViewUserInfo);
    if (!stored || stored->is_null()) {
        platform::log("No data was returned after serialization.");
        executeCallBack("callback(null)", m_userInfoAsker);
        return;
    }
    const std::string script = userInfoCallbackScript(session.webViewUserInfo());
    platform::log("Successfully serialized the dictionary into data.%@", script);
    executeCallBack(script, m_userInfoAsker);
}

// --- Contacts -----------------------------------------------------------------------------

void WebDetailViewController::ReadAllPeoples(std::function<void(Json list)> done) {
    auto book = std::make_shared<platform::AddressBook>();
    book->requestAccess([book, done = std::move(done)](bool granted) {
        Json list = Json::array();
        if (granted) {
            for (const auto& person : book->allContacts()) {
                const std::string name = person.lastName + person.firstName;
                for (const auto& phone : person.phones) {
                    const std::string number = withoutCharacters(phone.value, " -*");
                    if (MyTool::phoneNumberIsLegal(number)) {
                        list.push_back(Json{{"userName", name}, {"mobileNo", number}});
                        break;
                    }
                }
            }
        }
        done(std::move(list));
    });
}

void WebDetailViewController::addAddBook(const std::string& lastName,
                                         const std::vector<std::string>& phones,
                                         const std::vector<std::string>& labels) {
    platform::Contact person;
    person.firstName = "";
    person.lastName = lastName;
    for (size_t i = 0; i < phones.size(); ++i)
        person.phones.push_back({i < labels.size() ? labels[i] : std::string(), phones[i]});
    auto book = std::make_shared<platform::AddressBook>();
    std::weak_ptr<WebDetailViewController> weakSelf =
        std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    book->requestAccess([book, person, weakSelf](bool granted) mutable {
        const bool added = granted && book->addContact(person);
        const std::string message = added ? "添加成功" : "添加失败";
        platform::log("%@", message);
        if (!weakSelf.lock())
            return;
        auto alert = platform::View::make<platform::AlertView>(
            "提示", message, std::weak_ptr<platform::AlertViewDelegate>(), "确定",
            std::vector<std::string>{});
        alert->show();
    });
}

// --- Location -----------------------------------------------------------------------------

void WebDetailViewController::startLocating() {
    m_locationAnswered = false;
    m_locationAsker = askingPage();
    if (m_geocoder)
        m_geocoder->cancelGeocode();
    m_locationManager = std::make_shared<platform::LocationManager>();
    switch (platform::LocationManager::authorizationStatus()) {
        case platform::LocationAuthorizationStatus::NotDetermined:
            // The page asks again once the user has answered.
            m_locationManager->requestWhenInUseAuthorization();
            return;
        case platform::LocationAuthorizationStatus::AuthorizedWhenInUse:
        case platform::LocationAuthorizationStatus::AuthorizedAlways:
            // Access granted always includes the use while the page is on screen.
            m_locationManager->setDelegate(
                std::static_pointer_cast<WebDetailViewController>(shared_from_this()));
            m_locationManager->setDesiredAccuracy(platform::kLocationAccuracyBest);
            m_locationManager->setDistanceFilter(10);
            m_locationManager->startUpdatingLocation();
            return;
        case platform::LocationAuthorizationStatus::Restricted:
        case platform::LocationAuthorizationStatus::Denied:
            return;
    }
}

void WebDetailViewController::didUpdateLocations(platform::LocationManager& manager,
                                                 const std::vector<platform::Location>& locations) {
    if (&manager != m_locationManager.get() || m_locationAnswered || locations.empty())
        return;
    m_locationAnswered = true;
    manager.stopUpdatingLocation();
    const platform::Location fix = locations.back();
    platform::log("纬度：%@, 精度：%@", coordinateText(fix.coordinate.latitude),
                  coordinateText(fix.coordinate.longitude));
    // The reply carries the place name, so it waits for the geocoder; without a place the
    // address is empty text.
    m_geocoder = std::make_shared<platform::Geocoder>();
    std::weak_ptr<WebDetailViewController> weakSelf =
        std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    const PageIdentity asking = m_locationAsker;
    m_geocoder->reverseGeocodeLocation(
        fix, [weakSelf, fix, asking](const std::vector<platform::Placemark>& places,
                                     const std::optional<platform::DeviceError>& error) {
            auto page = weakSelf.lock();
            if (!page)
                return;
            std::string address;
            if (!places.empty()) {
                address = places.front().name;
                platform::log("地址：%@", address);
            } else if (error) {
                platform::log("error : %@", error->description);
            }
            page->sendLocationReply(fix, address, asking);
        });
}

void WebDetailViewController::sendLocationReply(const platform::Location& fix,
                                                const std::string& address, PageIdentity page) {
    executeCallBack(
        "callback({\"latitude\":" + jsonQuoted(coordinateText(fix.coordinate.latitude)) +
            ",\"longitude\":" + jsonQuoted(coordinateText(fix.coordinate.longitude)) +
            ",\"address\":" + jsonQuoted(address) + "})",
        page);
}

void WebDetailViewController::didFailWithError(platform::LocationManager& /*manager*/,
                                               const platform::DeviceError& error) {
    platform::log("error : %@", error.description);
}

// --- Scan replies -------------------------------------------------------------------------

void WebDetailViewController::ItemScanStr(const std::string& code) {
    const std::string script = messageReply(withoutCharacters(code, "\""));
    platform::log("%@", script);
    evaluateDirectly(script, m_scanAsker);
}

void WebDetailViewController::ItemScanArry(const std::vector<std::string>& codes) {
    platform::log("arry,arry %@", Json(codes));
    std::string joined;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i > 0)
            joined += ",";
        joined += codes[i];
    }
    // An empty batch is an empty message, not the text "(null)".
    evaluateDirectly(messageReply(joined), m_scanAsker);
}

// --- Text messages ------------------------------------------------------------------------

void WebDetailViewController::sendSMS(const std::string& body,
                                      const std::vector<std::string>& recipientList) {
    if (!platform::MessageComposeViewController::canSendText())
        return;
    auto composer = std::make_shared<platform::MessageComposeViewController>();
    composer->setBody(body);
    composer->setRecipients(recipientList);
    composer->setMessageComposeDelegate(
        std::static_pointer_cast<WebDetailViewController>(shared_from_this()));
    presentViewController(composer, true);
}

void WebDetailViewController::didFinishWithResult(
    platform::MessageComposeViewController& controller, platform::MessageComposeResult result) {
    switch (result) {
        case platform::MessageComposeResult::Cancelled:
            platform::log("Message cancelled");
            break;
        case platform::MessageComposeResult::Sent:
            platform::log("Message sent");
            break;
        case platform::MessageComposeResult::Failed:
            platform::log("Message failed");
            break;
    }
    controller.dismissViewController(true);
}
