#pragma once

#include "platform/foundation/Json.h"

namespace platform {
class UserDefaults;
}

// The signed-in user's state lives in the standard user defaults under these keys; each screen
// reads the key it needs when it needs it.
namespace SignInKey {
inline constexpr const char* isLogin = "isLogin";
inline constexpr const char* UserId = "UserId";
inline constexpr const char* UserInfo = "UserInfo";
inline constexpr const char* WebViewUserInfo = "WebViewUserInfo";
inline constexpr const char* LoginTypeTeacher = "LoginTypeTeacher";
inline constexpr const char* LoginTypeStudent = "LoginTypeStudent";
inline constexpr const char* kTeacherSelectItemUp = "kTeacherSelectItemUp";
inline constexpr const char* kTeacherSelectItemDown = "kTeacherSelectItemDown";
inline constexpr const char* kStudentSelectItemUp = "kStudentSelectItemUp";
inline constexpr const char* kStudentSelectItemDown = "kStudentSelectItemDown";
inline constexpr const char* appCurVersion = "appCurVersion";
inline constexpr const char* firstLaunch = "firstLaunch";
inline constexpr const char* kDeviceToken = "kDeviceToken";
}  // namespace SignInKey

// Posted on the default centre with no object.
namespace SignInNotification {
inline constexpr const char* kRefreshLoginMenu = "kRefreshLoginMenu";
inline constexpr const char* kRefreshLogoutMenu = "kRefreshLogoutMenu";
inline constexpr const char* LoginSuccess = "LoginSuccess";
}  // namespace SignInNotification

// Removes the ten sign-in keys in order and synchronises. "appCurVersion", "firstLaunch" and
// "kDeviceToken" stay. Shared by sign-out and the change of app version.
void removeSignInState(platform::UserDefaults& defaults);

// A copy of a reply dictionary fit for storing: each top-level null becomes "". A value that
// is not a dictionary stores as an empty one.
platform::Json storableDictionary(const platform::Json& dict);
