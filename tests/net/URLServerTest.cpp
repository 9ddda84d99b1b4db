#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "platform/net/URLServer.h"

using platform::URLServer;
using platform::urlServer;

namespace {

TEST(URLServerTest, NamesTheHostAndAPortOtherThanTheSchemesOwn) {
    EXPECT_EQ(urlServer("http://KQ.Lanxi-Campus.example./CM/login.html"),
              (URLServer{"kq.lanxi-campus.example", 0}));
    EXPECT_EQ(urlServer("https://pay.lanxi-campus.example:8082/x?y=1#z"),
              (URLServer{"pay.lanxi-campus.example", 8082}));
    EXPECT_EQ(urlServer("http://127.0.0.1:80/"), (URLServer{"127.0.0.1", 0}));
    EXPECT_EQ(urlServer("https://127.0.0.1:443"), (URLServer{"127.0.0.1", 0}));
    EXPECT_EQ(urlServer("http://[::1]:8080/"), (URLServer{"[::1]", 8080}));
    // User information before "@" is never the host.
    EXPECT_EQ(urlServer("http://kq.lanxi-campus.example@elsewhere.example/"),
              (URLServer{"elsewhere.example", 0}));
    EXPECT_EQ(urlServer("http://kq.lanxi-campus.example:80@elsewhere.example:81/"),
              (URLServer{"elsewhere.example", 81}));

    for (const char* other :
         {"about:blank", "file:///etc/hostname", "campus-cmd://scan", "ftp://127.0.0.1/",
          "kq.lanxi-campus.example/CM", "/CM/login.html", "", "http://"})
        EXPECT_EQ(urlServer(other), std::nullopt) << other;
}

TEST(URLServerTest, OneServerWhateverTheSchemeButNotAnotherPortOrAHostAround) {
    // The scheme does not count, so a service that moves to TLS stays itself.
    for (const auto& [a, b] : std::initializer_list<std::pair<const char*, const char*>>{
             {"http://kq.lanxi-campus.example", "HTTPS://kq.lanxi-campus.example/a"},
             {"http://kq.lanxi-campus.example:80/", "http://kq.lanxi-campus.example"},
             {"http://127.0.0.1:40001/a", "http://127.0.0.1:40001//manage/b?c=%@"}}) {
        EXPECT_NE(urlServer(a), std::nullopt) << a;
        EXPECT_EQ(urlServer(a), urlServer(b)) << a << " and " << b;
    }

    EXPECT_NE(urlServer("http://127.0.0.1:40001/"), urlServer("http://127.0.0.1:40002/"));
    EXPECT_NE(urlServer("http://pay.lanxi-campus.example:8082"),
              urlServer("http://pay.lanxi-campus.example"));
    EXPECT_NE(urlServer("http://kq.lanxi-campus.example"),
              urlServer("http://kq.lanxi-campus.example.elsewhere.example"));
    EXPECT_NE(urlServer("http://kq.lanxi-campus.example"),
              urlServer("http://elsewhere.example/kq.lanxi-campus.example"));
    EXPECT_FALSE(urlServer("about:blank"));
}

}  // namespace
