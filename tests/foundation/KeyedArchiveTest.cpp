#include <gtest/gtest.h>

#include "platform/foundation/KeyedArchive.h"

using namespace platform;

namespace {

Json tileList() {
    return Json::array({
        Json{{"title", "通知公告"}, {"image", "tz"}, {"operation", "notice"}, {"tag", 3}},
        Json{{"title", "一卡通"}, {"image", "card"}, {"operation", "card"}, {"badge", nullptr}},
        Json{{"$data", "looks like ours"}, {"$$x", 1}, {"icon", Json::binary({0, 1, 2, 255})}},
    });
}

TEST(KeyedArchive, RoundTripKeepsRecordsExactly) {
    auto archived = archiveRootObject(tileList());
    EXPECT_EQ(unarchiveObject(archived), tileList());
    EXPECT_EQ(unarchiveObject(archiveRootObject(Json::array())), Json::array());
    EXPECT_EQ(unarchiveObject(archiveRootObject("just text")), Json("just text"));

    // A large archive of plain records (nothing to escape) comes back in its order.
    Json accounts = Json::object();
    for (int i = 999; i >= 0; --i)
        accounts["p" + std::to_string(i)] = {{"usid", "u" + std::to_string(i)}, {"n", i}};
    accounts["p500"]["icon"] = Json::binary({7});
    auto loaded = unarchiveObject(archiveRootObject(accounts));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, accounts);
    EXPECT_EQ(loaded->begin().key(), "p999");
    accounts["p500"].erase("icon");
    loaded = unarchiveObject(archiveRootObject(accounts));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, accounts);
    EXPECT_EQ(loaded->at("p3").at("usid"), "u3");
}

TEST(KeyedArchive, DamagedOrForeignDataIsRejected) {
    Bytes good = archiveRootObject(tileList());

    Bytes flipped = good;
    flipped[flipped.size() / 2 + 20] ^= 0x01;
    EXPECT_FALSE(unarchiveObject(flipped));

    Bytes truncated(good.begin(), good.end() - 1);
    EXPECT_FALSE(unarchiveObject(truncated));

    Bytes longer = good;
    longer.push_back(' ');
    EXPECT_FALSE(unarchiveObject(longer));

    Bytes otherVersion = good;
    otherVersion[11] = 2;
    EXPECT_FALSE(unarchiveObject(otherVersion));

    EXPECT_FALSE(unarchiveObject({}));
    EXPECT_FALSE(unarchiveObject(toBytes("[{\"title\":\"plain json\"}]")));
    EXPECT_FALSE(unarchiveObject(toBytes("bplist00")));
    Bytes headerOnly(good.begin(), good.begin() + 36);
    EXPECT_FALSE(unarchiveObject(headerOnly));
}

}  // namespace
