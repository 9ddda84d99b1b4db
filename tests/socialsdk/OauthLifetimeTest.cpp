#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "SocialSDK/screens/SHSOauthViewController.h"
#include "SocialSDK/screens/SHSocialScreens.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

using sharetest::ShareServiceTest;

namespace {

// Lifetimes and stored dates are numbers from outside: past the clock's reach they give no
// date, never an overflowed one (undefined behaviour that UBSan stops on).
class OauthLifetimeTest : public ShareServiceTest {
protected:
    // The account the sign-in callback with this lifetime stores.
    std::shared_ptr<SHSocialAccountEntity> signInExpiringIn(const std::string& expiresIn) {
        SHSUserManager::shareInstance().setSnsAccountDictionary({});
        auto page = std::make_shared<SHSOauthViewController>(service);
        EXPECT_FALSE(
            page->shouldStartLoad("http://127.0.0.1:1/qzone/main?access_key=t&uid=7"
                                  "&expires_in=" +
                                  expiresIn));
        return SHSUserManager::shareInstance().snsAccountDictionary()["qzone"];
    }
};

TEST_F(OauthLifetimeTest, ALifetimePastTheClocksReachGivesNoExpiryAndTheSignInHolds) {
    for (const std::string huge : {"300000000000000000", "9223372036854775807",
                                   "99999999999999999999", "-300000000000000000", "4000000000"}) {
        SCOPED_TRACE(huge);
        auto account = signInExpiringIn(huge);
        ASSERT_TRUE(account);
        EXPECT_EQ(account->usid, "7");
        EXPECT_FALSE(account->expirationDate);
    }
    // A lifetime of years is still a date.
    auto account = signInExpiringIn("315360000");
    ASSERT_TRUE(account && account->expirationDate);
    EXPECT_EQ(*account->expirationDate,
              std::chrono::floor<std::chrono::seconds>(now) + std::chrono::seconds(315360000));
}

TEST_F(OauthLifetimeTest, StoredDatesPastTheClocksReachAreDroppedOthersKept) {
    for (double seconds : {1e11, -1e11, 9.3e9, 1e300}) {
        SCOPED_TRACE(seconds);
        platform::Json archive = SHSocialAccountEntity("qzone").toArchive();
        archive["expirationDate"] = seconds;
        archive["refreshDate"] = 1.7e9;
        auto account = SHSocialAccountEntity::fromArchive(archive);
        ASSERT_TRUE(account);
        EXPECT_FALSE(account->expirationDate);
        ASSERT_TRUE(account->refreshDate);
        EXPECT_EQ(std::chrono::duration_cast<std::chrono::seconds>(
                      account->refreshDate->time_since_epoch())
                      .count(),
                  1'700'000'000);
    }
}

}  // namespace
