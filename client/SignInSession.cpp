#include "client/SignInSession.h"

#include "client/CollectionViewCellModel.h"
#include "client/SignInState.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"

namespace {

constexpr TileListKeys kTeacherKeys{SignInKey::kTeacherSelectItemUp,
                                    SignInKey::kTeacherSelectItemDown};
constexpr TileListKeys kStudentKeys{SignInKey::kStudentSelectItemUp,
                                    SignInKey::kStudentSelectItemDown};

platform::Json storedDictionary(const platform::UserDefaults& defaults, const char* key) {
    auto value = defaults.dictionaryForKey(key);
    return value && value->is_object() ? *value : platform::Json::object();
}

}  // namespace

SignInSession::SignInSession() = default;

SignInSession::SignInSession(platform::UserDefaults& defaults, platform::NotificationCenter& center)
    : m_defaults(&defaults), m_center(&center) {}

platform::UserDefaults& SignInSession::defaults() const {
    return m_defaults ? *m_defaults : platform::UserDefaults::standard();
}

platform::NotificationCenter& SignInSession::center() const {
    return m_center ? *m_center : platform::NotificationCenter::defaultCenter();
}

bool SignInSession::isSignedIn() const {
    return defaults().boolForKey(SignInKey::isLogin);
}

UserKind SignInSession::kind() const {
    const auto& store = defaults();
    if (store.boolForKey(SignInKey::LoginTypeTeacher))
        return UserKind::Teacher;
    if (store.boolForKey(SignInKey::LoginTypeStudent))
        return UserKind::Student;
    return UserKind::None;
}

TileListKeys SignInSession::tileListKeys() const {
    switch (kind()) {
        case UserKind::Teacher:
            return kTeacherKeys;
        case UserKind::Student:
            return kStudentKeys;
        case UserKind::None:
            break;
    }
    return {nullptr, nullptr};
}

TileListKeys SignInSession::arrangementKeys() const {
    return kind() == UserKind::Student ? kStudentKeys : kTeacherKeys;
}

std::string SignInSession::userId() const {
    return defaults().stringForKey(SignInKey::UserId).value_or("");
}

platform::Json SignInSession::userInfo() const {
    return storedDictionary(defaults(), SignInKey::UserInfo);
}

platform::Json SignInSession::webViewUserInfo() const {
    return storedDictionary(defaults(), SignInKey::WebViewUserInfo);
}

void SignInSession::applySignIn(const std::string& account, const platform::Json& msg) {
    auto& store = defaults();
    store.setObject(storableDictionary(msg), SignInKey::UserInfo);
    store.setString(account, SignInKey::UserId);
    store.synchronize();

    store.setBool(true, SignInKey::isLogin);
    store.synchronize();

    if (msg.is_object()) {
        if (auto type = msg.find("userType"); type != msg.end() && type->is_string()) {
            if (*type == "teacher")
                store.setBool(true, SignInKey::LoginTypeTeacher);
            else if (*type == "student")
                store.setBool(true, SignInKey::LoginTypeStudent);
        }
    }
    store.synchronize();

    // Only an arrangement the editor stored replaces the grid; without one the grid keeps
    // the default tiles.
    const TileListKeys keys = tileListKeys();
    if (keys.shown && storedTileListHasTiles(store, keys.shown) &&
        storedTileListHasTiles(store, keys.hidden))
        center().post(SignInNotification::kRefreshLoginMenu);
}

void SignInSession::storeUserInformation(const platform::Json& document) {
    auto& store = defaults();
    store.setObject(storableDictionary(document), SignInKey::WebViewUserInfo);
    store.synchronize();
    center().post(SignInNotification::LoginSuccess);
}

void SignInSession::signOut() {
    center().post(SignInNotification::kRefreshLogoutMenu);
    removeSignInState(defaults());
}

bool SignInSession::noteAppVersion(const std::string& currentVersion) {
    auto& store = defaults();
    const auto recorded = store.stringForKey(SignInKey::appCurVersion);
    const bool updated = recorded && *recorded != currentVersion;
    if (updated)
        removeSignInState(store);
    store.setString(currentVersion, SignInKey::appCurVersion);
    store.synchronize();
    return updated;
}
