#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

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

// A record with counts beside its texts, as the statistics rows are.
struct Tally {
    std::string name;
    long count = -1;
    static const RecordFields<Tally>& fields() {
        static const RecordFields<Tally> table = {{"name", &Tally::name}};
        return table;
    }
    static const RecordCountFields<Tally>& countFields() {
        static const RecordCountFields<Tally> table = {{"count", &Tally::count}};
        return table;
    }
};

TEST(RecordTest, CountsTakeNumbersAndNumericTextAndAnythingElseCountsZero) {
    const std::vector<std::pair<const char*, long>> cases = {
        {R"({"count":42})", 42},     {R"({"count":" 17 "})", 17},
        {R"({"count":"-3"})", -3},   {R"({"count":41.9})", 41},
        {R"({"count":"12.0"})", 12}, {R"({"count":null})", 0},
        {R"({"count":"很多"})", 0},  {R"({"count":"12abc"})", 0},
        {R"({"count":""})", 0},      {R"({"count":true})", 0},
        {R"({"count":[1]})", 0},     {R"({"count":1e300})", std::numeric_limits<long>::max()},
        {R"({"name":"无计数"})", -1}};
    for (const auto& [reply, expected] : cases) {
        Tally tally;
        fillRecord(tally, Json::parse(reply));
        EXPECT_EQ(tally.count, expected) << reply;
    }
}

}  // namespace
