#include <gtest/gtest.h>

#include <set>

#include "platform/foundation/Crypto.h"
#include "platform/foundation/UUID.h"

using namespace platform;

namespace {

std::string hex(const std::optional<std::string>& bytes) {
    return bytes ? hexEncode(*bytes) : "(none)";
}

TEST(MD5, MatchesTheReferenceVectors) {
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    // Bytes after an embedded NUL count.
    EXPECT_EQ(md5Hex(std::string("a\0b", 3)), "70350f6027bce3713f6b76473084309b");
}

TEST(Base64AndHex, RoundTripEveryByteValueAndRejectGarbage) {
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    for (size_t length : {0u, 1u, 2u, 3u, 4u, 255u, 256u}) {
        std::string bytes = all.substr(0, length);
        EXPECT_EQ(base64Decode(base64Encode(bytes)), bytes) << length;
    }
    EXPECT_EQ(base64Encode("hello world"), "aGVsbG8gd29ybGQ=");
    EXPECT_EQ(base64Decode("aGVsbG8g\nd29y bGQ="), "hello world");
    EXPECT_FALSE(base64Decode("!!!!"));
    EXPECT_FALSE(base64Decode("YWJj-garbage"));
    EXPECT_FALSE(base64Decode("aGVsbG8"));   // cut short
    EXPECT_FALSE(base64Decode("aGVs=G8="));  // text after padding
    EXPECT_FALSE(base64Decode("aGV==="));    // too much padding
    EXPECT_EQ(base64Decode(""), "");
    EXPECT_EQ(hexEncode(std::string("\x00\xab\xff", 3)), "00abff");
    EXPECT_EQ(hexEncode(std::string("\x00\xab\xff", 3), true), "00ABFF");
}

TEST(DES, MatchesOpenSSLCommandLineAndDecryptsWhatItEncrypted) {
    // openssl enc -des-ecb -provider legacy -provider default -K <key hex> -nosalt
    EXPECT_EQ(hex(desEcbEncrypt("12345678", "campus")), "c165ac7541ee7666");
    EXPECT_EQ(hex(desEcbEncrypt("12345678", "")), "feb959b7d4642fcb");
    // A short key is padded with zero bytes; a full block gains a whole padding block.
    EXPECT_EQ(hex(desEcbEncrypt("abc", "hello world, 16b")),
              "39527391032c282fed0a43d3db8d1e50990406540a2e5c5d");
    // Only the first eight bytes of a long key count.
    EXPECT_EQ(hex(desEcbEncrypt("campus-key-long", "中文测试")),
              "f6c530cb60cf6deb047dde7cc392af34");
    EXPECT_EQ(hex(desEcbEncrypt("campus-k", "中文测试")), "f6c530cb60cf6deb047dde7cc392af34");

    auto cipher = desEcbEncrypt("key", "账号=20150101&time=1");
    ASSERT_TRUE(cipher);
    EXPECT_EQ(desEcbDecrypt("key", *cipher), "账号=20150101&time=1");
    EXPECT_FALSE(desEcbDecrypt("key", "short"));
}

TEST(AES, MatchesOpenSSLCommandLineAndRoundTrips) {
    const std::string key = "0123456789abcdef";
    const std::string iv = "fedcba9876543210";
    EXPECT_EQ(hex(aes128CbcEncrypt(key, iv, "plain text for aes")),
              "a4577718f018401aa4b37bcf957ac4b74e394d1efe569e45fa5bfd88186438b2");
    auto cipher = aes128CbcEncrypt(key, iv, "plain text for aes");
    ASSERT_TRUE(cipher);
    EXPECT_EQ(aes128CbcDecrypt(key, iv, *cipher), "plain text for aes");
    EXPECT_FALSE(aes128CbcEncrypt("short", iv, "x"));
    EXPECT_FALSE(aes128CbcDecrypt(key, "short", *cipher));
    EXPECT_FALSE(aes128CbcDecrypt(key, iv, cipher->substr(1)));
}

TEST(AES, WholeBlocksWithoutPaddingMatchOpenSSLCommandLine) {
    const std::string key = "0123456789abcdef";
    const std::string iv = "fedcba9876543210";
    // openssl enc -aes-128-cbc -K <key hex> -iv <iv hex> -nopad over the zero-padded text.
    std::string padded = "plain text for aes";
    padded.resize(32, '\0');
    EXPECT_EQ(hex(aes128CbcEncryptBlocks(key, iv, padded)),
              "a4577718f018401aa4b37bcf957ac4b7a06d941ec6d00064bc7ba7454e6b3102");
    auto cipher = aes128CbcEncryptBlocks(key, iv, padded);
    ASSERT_TRUE(cipher);
    EXPECT_EQ(aes128CbcDecryptBlocks(key, iv, *cipher), padded);
    // Nothing is padded for the caller: a partial block is refused either way.
    EXPECT_FALSE(aes128CbcEncryptBlocks(key, iv, "seventeen bytes!!"));
    EXPECT_FALSE(aes128CbcDecryptBlocks(key, iv, cipher->substr(0, 20)));
    EXPECT_EQ(aes128CbcEncryptBlocks(key, iv, ""), std::string());
}

TEST(RandomBytes, GivesTheRequestedLengthAndVaries) {
    EXPECT_EQ(randomBytes(0).size(), 0u);
    EXPECT_EQ(randomBytes(33).size(), 33u);
    EXPECT_NE(randomBytes(16), randomBytes(16));
}

TEST(UUID, HasThePhonesTextFormAndIsUnique) {
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        std::string uuid = makeUUIDString();
        // Upper-case hex digits in 8-4-4-4-12, version 4, variant 8 to B.
        std::string shape = uuid;
        for (char& c : shape)
            c = std::string("0123456789ABCDEF").find(c) != std::string::npos ? 'x' : c;
        ASSERT_EQ(shape, "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx") << uuid;
        EXPECT_EQ(uuid[14], '4') << uuid;
        EXPECT_NE(std::string("89AB").find(uuid[19]), std::string::npos) << uuid;
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

}  // namespace
