#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "client/DictionaryUtility.h"
#include "client/MyTool.h"
#include "platform/foundation/Dates.h"
#include "platform/foundation/Keychain.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/FixedMetricsMeasurer.h"
#include "platform/graphics/TextMeasurer.h"
#include "tests/support/TempHome.h"

using platform::Json;

namespace {

TEST(ColorWithStringTest, ReadsThreeHexPairs) {
    auto c = MyTool::colorWithString("d04b50");
    EXPECT_FLOAT_EQ(c.red, 208.0f / 255.0f);
    EXPECT_FLOAT_EQ(c.green, 75.0f / 255.0f);
    EXPECT_FLOAT_EQ(c.blue, 80.0f / 255.0f);
    EXPECT_FLOAT_EQ(c.alpha, 1.0f);
    EXPECT_EQ(MyTool::colorWithString("D04B50ff"), c);
    EXPECT_EQ(MyTool::colorWithString("d04"),
              platform::Color::rgba(208 / 255.0f, 4 / 255.0f, 0, 1));
}

TEST(ValidatorsTest, PhoneNumbers) {
    EXPECT_TRUE(MyTool::phoneNumberIsLegal("13812345678"));
    EXPECT_TRUE(MyTool::phoneNumberIsLegal("18812345678"));
    EXPECT_FALSE(MyTool::phoneNumberIsLegal("12812345678"));
    EXPECT_FALSE(MyTool::phoneNumberIsLegal("19812345678"));
    EXPECT_FALSE(MyTool::phoneNumberIsLegal("1381234567"));
    EXPECT_FALSE(MyTool::phoneNumberIsLegal("+8613812345678"));
    EXPECT_FALSE(MyTool::phoneNumberIsLegal("13812345678\n"));
}

TEST(ValidatorsTest, IdentityCardsPasswordsNamesAndMail) {
    EXPECT_TRUE(MyTool::validateIdentityCard("110105491231002"));
    EXPECT_TRUE(MyTool::validateIdentityCard("11010519491231002x"));
    EXPECT_TRUE(MyTool::validateIdentityCard("110105194912310021"));
    EXPECT_FALSE(MyTool::validateIdentityCard("1101051949123100"));
    EXPECT_FALSE(MyTool::validateIdentityCard(""));
    EXPECT_TRUE(MyTool::passwordIsLegal("abc_123"));
    EXPECT_FALSE(MyTool::passwordIsLegal("abc12"));
    EXPECT_TRUE(MyTool::UserNameIsLegal("t001"));
    EXPECT_FALSE(MyTool::UserNameIsLegal("t0"));
    EXPECT_TRUE(MyTool::emailIsLegal("li.ming@lanxi-campus.test"));
    EXPECT_FALSE(MyTool::emailIsLegal("li.ming@lanxi"));
}

TEST(BlankTextTest, SpacesAndTabsAreBlankButLineBreaksAreNot) {
    EXPECT_TRUE(MyTool::strIsEmpty(std::string("   ")));
    EXPECT_TRUE(MyTool::strIsEmpty(std::string(" \t\u3000")));  // the ideographic space too
    EXPECT_TRUE(MyTool::strIsEmpty(std::nullopt));
    EXPECT_FALSE(MyTool::strIsEmpty(std::string("\n")));
    EXPECT_FALSE(MyTool::strIsEmpty(std::string(" a ")));
    EXPECT_FALSE(MyTool::strExistence(Json(nullptr)));
    EXPECT_FALSE(MyTool::strExistence(std::nullopt));
    EXPECT_FALSE(MyTool::strExistence(Json("  ")));
    EXPECT_TRUE(MyTool::strExistence(Json("x")));
}

TEST(EmojiTest, FindsEmojiByTheirSequences) {
    EXPECT_TRUE(MyTool::isContainsEmoji("好😀"));
    EXPECT_TRUE(MyTool::isContainsEmoji("1\u20E3"));
    EXPECT_TRUE(MyTool::isContainsEmoji("\u2600"));
    EXPECT_FALSE(MyTool::isContainsEmoji("\u263B"));
    EXPECT_FALSE(MyTool::isContainsEmoji("普通文字 abc"));
}

TEST(WeekdayTest, IsTheWeekdayOfTheCalendarDateInAnyZone) {
    const char* saved = std::getenv("TZ");
    for (const char* zone : {"Asia/Shanghai", "America/Los_Angeles", "Pacific/Kiritimati"}) {
        setenv("TZ", zone, 1);
        tzset();
        EXPECT_EQ(MyTool::getWeekFromDateWithYear("2015", "1", "1"), "星期四") << zone;
        EXPECT_EQ(MyTool::getWeekFromDateWithYear("2016", "12", "25"), "星期日") << zone;
    }
    if (saved)
        setenv("TZ", saved, 1);
    else
        unsetenv("TZ");
    tzset();
    // Out-of-range parts carry over as a calendar does: 2015-2-30 is 2015-3-2, a Monday;
    // month 13 is January of the next year.
    EXPECT_EQ(MyTool::getWeekFromDateWithYear("2015", "2", "30"), "星期一");
    EXPECT_EQ(MyTool::getWeekFromDateWithYear("2014", "13", "1"), "星期四");
    EXPECT_EQ(MyTool::getWeekFromDateWithYear("2015", "1", "0"), "星期三");
    EXPECT_EQ(MyTool::getWeekFromDateWithYear("99999999999999999999", "1", "1"), std::nullopt);
}

TEST(CurrentTimeTest, IsTheLocalTimeNowToTheSecond) {
    using std::chrono::system_clock;
    const auto before = std::chrono::floor<std::chrono::seconds>(system_clock::now());
    const std::string now = MyTool::getCurrentTime();
    const auto after = system_clock::now();
    // Year, month, day, hour (24-hour), minute and second, digits only.
    const auto read = platform::parseDate(now, "yyyyMMddHHmmss");
    ASSERT_TRUE(read) << now;
    EXPECT_EQ(now.size(), 14u);
    EXPECT_GE(*read, before) << now;
    EXPECT_LE(*read, after) << now;
}

TEST(DictionaryUtilityTest, NullsReadAsOneSpace) {
    Json d = Json::parse(R"({"a":null,"b":"x","c":{"d":null}})");
    EXPECT_EQ(objectForKeyNotNull(d, "a"), Json(" "));
    EXPECT_EQ(objectForKeyNotNull(d, "missing"), std::nullopt);
    EXPECT_EQ(objectForKeyNotBackNull(d, "missing"), Json(""));
    EXPECT_EQ(objectForKeyNotBackNull(d, "a"), Json(" "));
    Json cleaned = deleteNull(d);
    EXPECT_EQ(cleaned["a"], " ");
    EXPECT_EQ(cleaned["b"], "x");
    EXPECT_TRUE(cleaned["c"]["d"].is_null());  // nested containers are left alone
    EXPECT_EQ(objectForKeyNotBackNull(Json("not a dictionary"), "a"), Json(""));
}

TEST(LabelMeasureTest, HeightFollowsTheMeasurer) {
    platform::TextMeasurer::setCurrent(std::make_shared<platform::FixedMetricsMeasurer>(1.0, 1.2));
    auto font = platform::Font::systemFont(10);
    EXPECT_DOUBLE_EQ(MyTool::heightOfLabel(std::string("一二三四五"), font, 20), 36.0);
    EXPECT_DOUBLE_EQ(MyTool::widthOfLabel(std::string("一二三四五"), font, 12), 50.0);
    EXPECT_DOUBLE_EQ(MyTool::heightOfLabel(std::nullopt, font, 20), 0.0);
    platform::TextMeasurer::setCurrent(nullptr);
    EXPECT_GT(MyTool::heightOfLabel(std::string("一二三四五六七八九十"), font, 30),
              MyTool::heightOfLabel(std::string("一二三四五六七八九十"), font, 300));
}

TEST(HtmlTextTest, SplitsAtTagsAndLineBreaks) {
    EXPECT_EQ(MyTool::regularExpretionWithHtmlStr("<p>a</p>\n<p>b</p>"),
              (std::vector<std::string>{"", "a", "b", ""}));
    auto styled = MyTool::changeWithHtmlStr("<p>通知&amp;公告</p><p>第二段</p>");
    EXPECT_EQ(styled.text, "通知&公告\n第二段");
    EXPECT_DOUBLE_EQ(styled.font.pointSize, 13);
    EXPECT_DOUBLE_EQ(styled.maximumLineHeight, 20);
}

class DeviceIdentityTest : public ::testing::Test {
protected:
    testsupport::TempHome home;
    void TearDown() override { platform::UserDefaults::resetStandard(); }
};

TEST_F(DeviceIdentityTest, KeychainIdentifierIsStableUntilTheItemIsDeleted) {
    auto first = MyTool::GetIOSUUID();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size(), 32u);
    EXPECT_EQ(first->find('-'), std::string::npos);
    EXPECT_EQ(MyTool::GetIOSUUID(), first);
    // The item lives in the data directory, so a second process on it sees the same value.
    auto stored = platform::Keychain::password("UUID", "com.china.TestKeyChain");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), 36u);
    ASSERT_TRUE(platform::Keychain::deleteItem("UUID", "com.china.TestKeyChain"));
    auto second = MyTool::GetIOSUUID();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(MyTool::GetIOSUUID(), second);
    EXPECT_EQ(MyTool::getUUIDString().size(), 32u);
    EXPECT_EQ(MyTool::getUUIDString(), MyTool::getUUIDString());
}

TEST_F(DeviceIdentityTest, RecordRemovalLeavesNothingStored) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString("abc", "kDeviceToken");
    defaults.setBool(true, "firstLaunch");
    MyTool::removeUserDefaultsRecords();
    platform::UserDefaults::resetStandard();
    EXPECT_TRUE(platform::UserDefaults::standard().dictionaryRepresentation().empty());
}

}  // namespace
