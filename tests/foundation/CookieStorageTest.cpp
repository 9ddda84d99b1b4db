#include <gtest/gtest.h>

#include <chrono>

#include "platform/foundation/CookieStorage.h"

// The jar as a browser keeps it: what a reply sets, and what a request to an address sends.

using platform::CookieStorage;

namespace {

const auto kNow = std::chrono::system_clock::time_point{std::chrono::hours(24 * 365 * 56)};

TEST(CookieStorageTest, AHostsCookieGoesBackToThatHostAndPathAlone) {
    CookieStorage jar;
    ASSERT_TRUE(
        jar.setFromHeader("sid=abc; Path=/app; HttpOnly", "http://school.example/app/login", kNow));
    EXPECT_EQ(jar.headerFor("http://school.example/app/page", kNow), "sid=abc");
    EXPECT_EQ(jar.headerFor("http://school.example/other", kNow), "");
    EXPECT_EQ(jar.headerFor("http://www.school.example/app/page", kNow), "");
    EXPECT_TRUE(jar.cookies()[0].httpOnly);
}

TEST(CookieStorageTest, ADomainCookieReachesItsSubdomainsAndAForeignDomainIsRefused) {
    CookieStorage jar;
    ASSERT_TRUE(jar.setFromHeader("lang=zh; Domain=.school.example; Path=/",
                                  "http://www.school.example/", kNow));
    EXPECT_EQ(jar.headerFor("http://mail.school.example/", kNow), "lang=zh");
    EXPECT_EQ(jar.headerFor("http://school.example/", kNow), "lang=zh");
    EXPECT_FALSE(
        jar.setFromHeader("evil=1; Domain=elsewhere.example", "http://www.school.example/", kNow));
    EXPECT_EQ(jar.cookies().size(), 1u);
}

TEST(CookieStorageTest, AnExpiryInThePastDeletesAndASecureCookieGoesOnlyOverHttps) {
    CookieStorage jar;
    jar.setFromHeader("a=1; Path=/", "https://school.example/", kNow);
    jar.setFromHeader("s=2; Secure; Path=/", "https://school.example/", kNow);
    EXPECT_EQ(jar.headerFor("http://school.example/", kNow), "a=1");
    EXPECT_EQ(jar.headerFor("https://school.example/", kNow), "a=1; s=2");
    jar.setFromHeader("a=gone; Max-Age=0; Path=/", "https://school.example/", kNow);
    jar.setFromHeader("s=; Expires=Thu, 01 Jan 1970 00:00:00 GMT; Path=/",
                      "https://school.example/", kNow);
    EXPECT_TRUE(jar.cookies().empty());
}

TEST(CookieStorageTest, ObserversHearEverySetAndDelete) {
    CookieStorage jar;
    int sets = 0;
    int deletes = 0;
    jar.addObserver([&](const platform::Cookie&, bool deleted) { deleted ? ++deletes : ++sets; });
    jar.setFromHeader("a=1", "http://school.example/", kNow);
    jar.setFromHeader("a=2", "http://school.example/", kNow);
    jar.deleteCookie(jar.cookies()[0]);
    EXPECT_EQ(sets, 2);
    EXPECT_EQ(deletes, 1);
}

}  // namespace
