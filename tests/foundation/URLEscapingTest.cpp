#include <gtest/gtest.h>

#include "platform/foundation/URLEscaping.h"

using namespace platform;

namespace {

TEST(EscapeWholeURL, KeepsReservedAndUnreservedCharacters) {
    const std::string url =
        "http://host:8080/vobels/services/api/user/login.do?userName=a-b_c.d!~*'()&password=x+y;"
        "$,@";
    EXPECT_EQ(escapeWholeURL(url), url);
}

TEST(EscapeWholeURL, EscapesEverythingElseInUpperCaseHex) {
    EXPECT_EQ(escapeWholeURL("param=中文"), "param=%E4%B8%AD%E6%96%87");
    EXPECT_EQ(escapeWholeURL("a b"), "a%20b");
    EXPECT_EQ(escapeWholeURL("50%"), "50%25");
    EXPECT_EQ(escapeWholeURL("%41"), "%2541");  // an escaped value arrives escaped twice
    EXPECT_EQ(escapeWholeURL("#top"), "%23top");
    EXPECT_EQ(escapeWholeURL("\"<>[]{}|\\^`"), "%22%3C%3E%5B%5D%7B%7D%7C%5C%5E%60");
    EXPECT_EQ(escapeWholeURL(std::string("\n\t\x7f\0", 4)), "%0A%09%7F%00");
}

TEST(EscapeWholeURL, EscapesPieceByPieceTheSameAsAWhole) {
    std::string a = "http://h/api?param=";
    std::string b = "张 三#1";
    EXPECT_EQ(escapeWholeURL(a + b), escapeWholeURL(a) + escapeWholeURL(b));
}

TEST(EscapeQueryComponent, KeepsAValueOneValueAndEscapesTheRestAsTheWholeURLDoes) {
    EXPECT_EQ(escapeQueryComponent("a&b=c+d"), "a%26b%3Dc%2Bd");
    EXPECT_EQ(escapeQueryComponent("x#y%z"), "x%23y%25z");
    for (std::string value : {"teacher", "张三 李四", "a/b?c:d@e", "it's (ok) !~*", "2015-01-01",
                              "\"quoted\" <tag>", "a;b$c,d", ""}) {
        EXPECT_EQ(escapeQueryComponent(value), escapeWholeURL(value)) << value;
    }
}

TEST(URLEncodedString, EscapesReservedCharactersAndTheIdeographicComma) {
    EXPECT_EQ(urlEncodedString("、"), "%E3%80%81");
    EXPECT_EQ(urlEncodedString("!*'();:@&=+$,/?%#[]"),
              "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D");
    EXPECT_EQ(urlEncodedString("AZaz09-_.~"), "AZaz09-_.~");
    EXPECT_EQ(urlEncodedString("a b中"), "a%20b%E4%B8%AD");
}

TEST(URLDecodedString, ReplacesValidEscapesAndLeavesTheRest) {
    EXPECT_EQ(urlDecodedString("%E4%B8%AD"), "中");
    EXPECT_EQ(urlDecodedString("%e4%b8%ad%20x"), "中 x");
    EXPECT_EQ(urlDecodedString("a+b"), "a+b");
    EXPECT_EQ(urlDecodedString("100%"), "100%");
    EXPECT_EQ(urlDecodedString("%"), "%");
    EXPECT_EQ(urlDecodedString("%zz%4"), "%zz%4");
    EXPECT_EQ(urlDecodedString("%41%2"), "A%2");
    // Bytes that are not UTF-8 stay escaped.
    EXPECT_EQ(urlDecodedString("%E4%B8"), "%E4%B8");  // a character cut short
    EXPECT_EQ(urlDecodedString("%FFok%41"), "%FFokA");
    EXPECT_EQ(urlDecodedString("%E4%B8%AD%FF"), "中%FF");
}

TEST(URLDecodedString, UndoesURLEncodedString) {
    std::string text = "姓名=张三&备注=a、b/c?d#e f+g%";
    EXPECT_EQ(urlDecodedString(urlEncodedString(text)), text);
    EXPECT_EQ(urlDecodedString(escapeWholeURL(text)), text);
}

TEST(RemovingPercentEncoding, DecodesEitherCaseAndRefusesBrokenEscapesOrText) {
    EXPECT_EQ(removingPercentEncoding("%e4%b8%ad%7b%22a%22%7d"), "中{\"a\"}");
    EXPECT_EQ(removingPercentEncoding("%E4%B8%AD"), "中");
    EXPECT_EQ(removingPercentEncoding("a+b c"), "a+b c");
    EXPECT_EQ(removingPercentEncoding(""), "");
    for (const char* broken : {"%", "100%", "%4", "%zz", "x%G1", "%E4%B8", "%FF", "%C0%AF"})
        EXPECT_EQ(removingPercentEncoding(broken), std::nullopt) << broken;
}

TEST(HasURLScheme, AbsoluteOnlyWithALetterThenSchemeCharactersBeforeTheColon) {
    for (const char* absolute : {"http://a.example/", "HTTPS://a.example", "sms:12345",
                                 "data:text/plain,x", "x-campus+v1.2:go", "a:"})
        EXPECT_TRUE(hasURLScheme(absolute)) << absolute;
    for (const char* relative :
         {"", ":", "/a:b", "//a.example/x", "1http://a.example", "a b:c", "page.html",
          "?next=http://a.example", "#x:y", "\xe6\xa0\xa1:x", "h\xc3\xa9:x", "_a:b"})
        EXPECT_FALSE(hasURLScheme(relative)) << relative;
}

}  // namespace
