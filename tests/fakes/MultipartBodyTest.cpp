#include <gtest/gtest.h>

#include "fakes/MultipartBody.h"

namespace {

using fakes::multipartBoundary;
using fakes::splitMultipart;

TEST(MultipartBodyTest, BoundaryMayBeQuotedOrFollowedByParameters) {
    EXPECT_EQ(multipartBoundary("multipart/form-data; boundary=\"a b;c\""), "a b;c");
    EXPECT_EQ(multipartBoundary("multipart/form-data; boundary=xyz; charset=UTF-8"), "xyz");
    EXPECT_EQ(multipartBoundary("Multipart/Form-Data; BOUNDARY=xyz"), "xyz");
    EXPECT_EQ(multipartBoundary("application/json"), "");
}

TEST(MultipartBodyTest, FileNameWithSemicolonInQuotesStaysWhole) {
    const std::string body =
        "--b\r\nContent-Disposition: form-data; name=\"f\"; "
        "filename=\"a;b.txt\"\r\n\r\nx\r\n--b--\r\n";
    const auto parts = splitMultipart("multipart/form-data; boundary=b", body);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].name, "f");
    EXPECT_EQ(parts[0].filename, "a;b.txt");
    EXPECT_EQ(parts[0].data, "x");
}

TEST(MultipartBodyTest, TruncatedOrForeignBodyGivesNoParts) {
    EXPECT_TRUE(splitMultipart("multipart/form-data; boundary=b",
                               "--b\r\nContent-Disposition: form-data; name=\"f\"\r\n\r\nx")
                    .empty());
    EXPECT_TRUE(splitMultipart("multipart/form-data; boundary=b", "no boundary here").empty());
    EXPECT_TRUE(splitMultipart("text/plain", "--b\r\n\r\nx\r\n--b--\r\n").empty());
}

}  // namespace
