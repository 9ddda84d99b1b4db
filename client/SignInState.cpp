#include "client/SignInState.h"

#include "platform/foundation/UserDefaults.h"

void removeSignInState(platform::UserDefaults& defaults) {
    for (const char* key :
         {SignInKey::isLogin, SignInKey::UserId, SignInKey::UserInfo, SignInKey::WebViewUserInfo,
          SignInKey::LoginTypeTeacher, SignInKey::LoginTypeStudent, SignInKey::kTeacherSelectItemUp,
          SignInKey::kTeacherSelectItemDown, SignInKey::kStudentSelectItemUp,
          SignInKey::kStudentSelectItemDown})
        defaults.removeObjectForKey(key);
    defaults.synchronize();
}

platform::Json storableDictionary(const platform::Json& dict) {
    platform::Json copy = platform::Json::object();
    if (!dict.is_object())
        return copy;
    for (const auto& [key, value] : dict.items())
        copy[key] = value.is_null() ? platform::Json("") : value;
    return copy;
}
