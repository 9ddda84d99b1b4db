#include <gtest/gtest.h>

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSocialCryptor.h"
#include "SocialSDK/service/SHSocialJob.h"
#include "fakes/ShareRoutes.h"
#include "platform/foundation/Crypto.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

namespace sharetest {
namespace {

// Known answers from the OpenSSL command line, key "9BC45246E2EEB1BD" (the first 16 of the
// upper-case MD5 of "lanxi-demo-appkey"), IV "qtlaw.k4/Ry+H961", over the zero-padded text:
//   printf '<text><zero bytes>' | openssl enc -aes-128-cbc -nopad
//     -K 39424334353234364532454542314244 -iv 71746c61772e6b342f52792b48393631 | base64 -w0
struct KnownAnswer {
    std::string plain;
    std::string sealed;
};
const KnownAnswer kKnownAnswers[] = {
    {R"({"st":200,"msg":"ok"})", "ZVl5lPoLnQtuDapvatFgSVE7cAYZWPDIpDN9rc7AThg="},
    // A whole block gains a whole block of zeros.
    {"0123456789abcdef", "QcUT1pbsc+nv7Wd0rBqM+2/r6M06ojyO25llAJSZxLI="},
    // Even nothing is one block.
    {"", "Cp5jUhdJPxemWvAs8Q8dAA=="},
};

using EnvelopeTest = ShareSdkTest;

TEST_F(EnvelopeTest, CipherMatchesIndependentKnownAnswers) {
    for (const auto& [plain, sealed] : kKnownAnswers) {
        EXPECT_EQ(SHSocialCryptor::AES128Encrypt(plain), sealed) << plain;
        auto opened = SHSocialCryptor::AES128Decrypt(sealed);
        ASSERT_TRUE(opened);
        // The zero padding stays; the JSON reader drops it.
        EXPECT_EQ(opened->substr(0, plain.size()), plain);
        EXPECT_EQ(opened->find_first_not_of('\0', plain.size()), std::string::npos);
    }
    const auto opened = SHSocialCryptor::AES128Decrypt(kKnownAnswers[0].sealed);
    EXPECT_EQ(SHSocialUtils::JSONValue(*opened), (platform::Json{{"st", 200}, {"msg", "ok"}}));
}

TEST_F(EnvelopeTest, CipherLengthsAndRefusals) {
    EXPECT_EQ(platform::base64Decode(*SHSocialCryptor::AES128Encrypt(std::string(16, 'x')))->size(),
              32u);
    EXPECT_EQ(platform::base64Decode(*SHSocialCryptor::AES128Encrypt(std::string(17, 'x')))->size(),
              32u);
    EXPECT_FALSE(SHSocialCryptor::AES128Decrypt("not*base64!"));
    EXPECT_FALSE(SHSocialCryptor::AES128Decrypt(platform::base64Encode("ten bytes!")));
    // Another application key opens nothing sensible.
    SHSocialCryptor other("another-key");
    EXPECT_NE(other.decrypt(kKnownAnswers[0].sealed)->substr(0, 21), kKnownAnswers[0].plain);
}

TEST_F(EnvelopeTest, QueryIsReplacedByItsSealedForm) {
    SHSocialJob job;
    const auto sealed = job.encryPathString(std::string("bar/get/k/?mac=01&dt=2"));
    ASSERT_TRUE(sealed);
    EXPECT_EQ(*sealed, "bar/get/k/?ud_get=" + *SHSocialCryptor::AES128Encrypt("mac=01&dt=2"));
    EXPECT_EQ(sealed->find("mac"), std::string::npos);
    EXPECT_EQ(job.encryPathString(std::string("share/token/k/")), "share/token/k/");
    EXPECT_EQ(job.encryPathString(std::string("share/auth/k/-1?")), "share/auth/k/-1?");
    EXPECT_FALSE(job.encryPathString(std::nullopt));
    job.isEncry = false;
    EXPECT_EQ(job.encryPathString(std::string("a/?b=c")), "a/?b=c");
}

TEST_F(EnvelopeTest, TheFakeServiceAndTheSdkShareOneEnvelope) {
    const std::string text = "{\"ct\":\"分享 & 评论\"}";
    EXPECT_EQ(fakes::ShareRoutes::seal(kAppKey, text), SHSocialCryptor::AES128Encrypt(text));
    EXPECT_EQ(fakes::ShareRoutes::open(kAppKey, *SHSocialCryptor::AES128Encrypt(text)), text);
}

}  // namespace
}  // namespace sharetest
