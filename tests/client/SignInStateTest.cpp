#include <gtest/gtest.h>

#include "client/SignInState.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/support/TempHome.h"

using platform::Json;
using platform::UserDefaults;

namespace {

TEST(SignInStateTest, RemovalTakesExactlyTheTenSignInKeys) {
    testsupport::TempHome home;
    {
        auto& d = UserDefaults::standard();
        d.setBool(true, "isLogin");
        d.setString("t001", "UserId");
        d.setObject(Json{{"userName", "王"}}, "UserInfo");
        d.setObject(Json{{"userId", "1"}}, "WebViewUserInfo");
        d.setBool(true, "LoginTypeTeacher");
        d.setBool(false, "LoginTypeStudent");
        for (const char* key : {"kTeacherSelectItemUp", "kTeacherSelectItemDown",
                                "kStudentSelectItemUp", "kStudentSelectItemDown"})
            d.setData({1, 2, 3}, key);
        d.setString("2.0.4", "appCurVersion");
        d.setBool(true, "firstLaunch");
        d.setString("tok", "kDeviceToken");
        d.synchronize();
        removeSignInState(d);
    }
    UserDefaults::resetStandard();  // what a restart reads back
    Json left = UserDefaults::standard().dictionaryRepresentation();
    EXPECT_EQ(left.size(), 3u) << left.dump();
    EXPECT_TRUE(left.contains("appCurVersion"));
    EXPECT_TRUE(left.contains("firstLaunch"));
    EXPECT_TRUE(left.contains("kDeviceToken"));
    EXPECT_FALSE(UserDefaults::standard().boolForKey("isLogin"));
    UserDefaults::resetStandard();
}

}  // namespace
