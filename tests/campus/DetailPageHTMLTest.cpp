#include <gtest/gtest.h>

#include <string>

#include "campus/DetailPageHTML.h"

namespace {

constexpr const char* kRoot = "http://www.lanxi-campus.example/";

std::string rewrite(const std::string& body) {
    return handleImgString(body, kRoot);
}

TEST(DetailPageHead, ImagesInParagraphsTakeTheScreenWidthScaledFrom375) {
    const std::string expected =
        "<meta charset=\"utf-8\" />\n"
        "<meta content=\"width=device-width, initial-scale=1.0,minimum-scale=1.0,"
        "maximum-scale=1.0,user-scalable=no\" name=\"viewport\" />\n"
        "<style type=\"text/css\">\n"
        "table { border-collapse: collapse; border-spacing: 0; width: 100% !important;}\n"
        "td, th { word-wrap: break-word; word-break: break-all; padding: 5px 10px; border: 1px "
        "solid #DDD;}\n"
        "p img{ height: inherit; width: 360.000000; display: table;}\n"
        "</style>";
    EXPECT_EQ(detailPageHead(375), expected);
    EXPECT_NE(detailPageHead(320).find("width: 307.200000;"), std::string::npos);
    EXPECT_NE(detailPageHead(414).find("width: 397.440000;"), std::string::npos);
}

TEST(DetailPageHead, TheBodyFollowsTheHeadAsItIsPercentSignsAndAll) {
    const std::string body = "<p>100% %s %@ %f</p>";
    EXPECT_EQ(detailPageDocument(375, body), detailPageHead(375) + body);
    EXPECT_EQ(detailPageDocument(375, ""), detailPageHead(375));
}

TEST(ImagePathRewriting, PutsTheSiteRootRightBeforeEachRelativePath) {
    struct Case {
        const char* what;
        std::string body;
        std::string expected;
    };
    const std::string root = kRoot;
    const Case cases[] = {
        {"no tag", "<p>校园新闻</p>", "<p>校园新闻</p>"},
        {"relative path", "<p><img src=\"uploads/a.jpg\" alt=\"\" /></p>",
         "<p><img src=\"" + root + "uploads/a.jpg\" alt=\"\" /></p>"},
        {"leading slash, as the school's pages write it", "<img src=\"/uploads/a.jpg\">",
         "<img src=\"" + root + "/uploads/a.jpg\">"},
        {"single quotes", "<img alt='x' src='uploads/b.png'>",
         "<img alt='x' src='" + root + "uploads/b.png'>"},
        {"spacing around the equals sign", "<img src = \"uploads/c.jpg\">",
         "<img src = \"" + root + "uploads/c.jpg\">"},
        {"the same tag twice", "<img src=\"a.jpg\"><p>x</p><img src=\"a.jpg\">",
         "<img src=\"" + root + "a.jpg\"><p>x</p><img src=\"" + root + "a.jpg\">"},
        {"empty src", "<img src=\"\" alt=\"none\">", "<img src=\"\" alt=\"none\">"},
        {"absolute address", "<img src=\"https://cdn.lanxi-campus.example/a.jpg\">",
         "<img src=\"https://cdn.lanxi-campus.example/a.jpg\">"},
        {"scheme-relative address", "<img src=\"//cdn.lanxi-campus.example/a.jpg\">",
         "<img src=\"//cdn.lanxi-campus.example/a.jpg\">"},
        {"inline data", "<img src=\"data:image/png;base64,AAAA\">",
         "<img src=\"data:image/png;base64,AAAA\">"},
        {"CJK before the tag", "<p>　　学校召开会议。</p><img src=\"图片/会议.jpg\"><p>完</p>",
         "<p>　　学校召开会议。</p><img src=\"" + root + "图片/会议.jpg\"><p>完</p>"},
        {"a data-src before the src", "<img data-src=\"lazy/a.jpg\" src=\"real/a.jpg\">",
         "<img data-src=\"lazy/a.jpg\" src=\"" + root + "real/a.jpg\">"},
        {"only a data-src", "<img data-src=\"lazy/a.jpg\">", "<img data-src=\"lazy/a.jpg\">"},
        {"an unclosed tag before a closed one", "<img src=\"a.jpg\" <p><img src=\"b.jpg\">",
         "<img src=\"a.jpg\" <p><img src=\"" + root + "b.jpg\">"},
    };
    for (const auto& c : cases) EXPECT_EQ(rewrite(c.body), c.expected) << c.what;
}

}  // namespace
