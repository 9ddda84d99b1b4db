// What a form sends, byte for byte: the encoding a browser uses for a form's entries, and the
// request it makes of them.

#include <gtest/gtest.h>

#include <string>

#include "platform/web/WebFormData.h"

using namespace platform;

namespace {

TEST(FormData, EntriesAreEncodedSoThatNothingTypedCanSplitOrAlterThem) {
    // Chinese text as its UTF-8 bytes; "&", "=", "+" and "%" escaped; a space as "+".
    EXPECT_EQ(formURLEncoded({{"意见", "食堂 & 网络=好+快 100%"}}),
              "%E6%84%8F%E8%A7%81=%E9%A3%9F%E5%A0%82+%26+%E7%BD%91%E7%BB%9C%3D%E5%A5%BD%2B%E5%"
              "BF%AB+100%25");
    // Letters, digits and "*-._" stand as they are; every other mark is escaped.
    EXPECT_EQ(formURLEncoded({{"a", "Az09*-._~!'()/?#"}}), "a=Az09*-._%7E%21%27%28%29%2F%3F%23");
    // Pairs keep their order and repeat as given; empty names and values stay.
    EXPECT_EQ(formURLEncoded({{"k", "1"}, {"k", ""}, {"", "x"}}), "k=1&k=&=x");
}

TEST(FormData, EveryLineBreakIsSentAsCarriageReturnLineFeed) {
    EXPECT_EQ(formURLEncoded({{"t", "a\nb\r\nc\rd"}}), "t=a%0D%0Ab%0D%0Ac%0D%0Ad");
}

TEST(FormData, GetReplacesTheActionsQueryAndPostSendsABody) {
    FormSubmission get;
    get.action = "http://127.0.0.1:8080/mail/find.jsp?old=1#top";
    get.entries = {{"q", "张 三"}};
    URLRequest request = formRequest(get);
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.url, "http://127.0.0.1:8080/mail/find.jsp?q=%E5%BC%A0+%E4%B8%89");
    EXPECT_TRUE(request.body.empty());

    FormSubmission post = get;
    post.method = "POST";
    request = formRequest(post);
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.url, post.action);
    EXPECT_EQ(request.body, "q=%E5%BC%A0+%E4%B8%89");
    ASSERT_EQ(request.headers.size(), 1u);
    EXPECT_EQ(request.headers[0].first, "Content-Type");
    EXPECT_EQ(request.headers[0].second, "application/x-www-form-urlencoded");
}

}  // namespace
