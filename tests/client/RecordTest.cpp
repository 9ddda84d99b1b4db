#include <gtest/gtest.h>

#include "client/News.h"
#include "client/Record.h"

using platform::Json;

namespace {

TEST(RecordTest, FillsKnownKeysAndIgnoresTheRest) {
    auto rows = recordsFromList<News>(Json::parse(R"({"News":[
        {"id":7,"xwbt":"校运会","fbsj":"2026-11-30","imgUrl":null,"unknown":"x"},
        "not an object",
        {"xwbt":true,"fbsj":3.0,"id":0.5}
    ]})"),
                                      "News");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].id, "7");
    EXPECT_EQ(rows[0].xwbt, "校运会");
    EXPECT_EQ(rows[0].imgUrl, "");  // null never shows as "(null)"
    EXPECT_EQ(rows[1].xwbt, "1");
    EXPECT_EQ(rows[1].fbsj, "3");  // a whole number written with a point
    EXPECT_EQ(rows[1].id, "0.5");
}

TEST(RecordTest, WrongShapesGiveNoRows) {
    for (const char* reply : {R"([])", R"({"News":{}})", R"({"News":null})", R"({})", "null"})
        EXPECT_TRUE(recordsFromList<News>(Json::parse(reply), "News").empty()) << reply;
}

}  // namespace
