#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/foundation/Dates.h"

using namespace platform;
using std::chrono::system_clock;

namespace {

// 2015-01-01T00:00:00Z
const system_clock::time_point kNewYear2015{std::chrono::seconds(1420070400)};

// Switches the device zone for one test, as moving the phone to another zone would.
class DeviceZone {
public:
    explicit DeviceZone(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        setenv("TZ", zone, 1);
        refreshDeviceTimeZone();
    }
    ~DeviceZone() {
        m_old ? setenv("TZ", m_old->c_str(), 1) : unsetenv("TZ");
        refreshDeviceTimeZone();
    }

private:
    std::optional<std::string> m_old;
};

TEST(Weekday, NewYear2015IsAThursdayInEveryZone) {
    for (const char* zone : {"America/Los_Angeles", "Asia/Shanghai", "Pacific/Kiritimati"}) {
        DeviceZone device(zone);
        EXPECT_EQ(deviceTimeZoneId(), zone);
        EXPECT_EQ(weekdayOfCivilDate(2015, 1, 1), 5) << zone;
    }
}

TEST(Weekday, CoversTheWholeWeekAndCarriesPartsOutOfRange) {
    EXPECT_EQ(weekdayOfCivilDate(2015, 1, 4), 1);   // Sunday
    EXPECT_EQ(weekdayOfCivilDate(2015, 1, 10), 7);  // Saturday
    EXPECT_EQ(weekdayOfCivilDate(2016, 2, 29), 2);  // leap day, Monday
    EXPECT_EQ(weekdayOfCivilDate(2015, 2, 29), 1);  // carried to 1 March, Sunday
    EXPECT_EQ(weekdayOfCivilDate(2015, 13, 1), 6);  // 1 January 2016, Friday
    EXPECT_EQ(weekdayOfCivilDate(2015, 0, 1), 2);   // 1 December 2014, Monday
    EXPECT_EQ(weekdayOfCivilDate(2015, 4, 31), 6);  // 1 May 2015, Friday
    EXPECT_EQ(weekdayOfCivilDate(100000, 1, 1), 0);
}

TEST(FormatDate, UsesTheGivenZoneAndLocaleOrTheDevicesZone) {
    EXPECT_EQ(formatDate(kNewYear2015, "yyyyMMddHHmmss", "Asia/Shanghai"), "20150101080000");
    EXPECT_EQ(formatDate(kNewYear2015, "yyyy-MM-dd HH:mm", "America/Los_Angeles"),
              "2014-12-31 16:00");
    EXPECT_EQ(formatDate(kNewYear2015, "EEEE", "UTC"), "Thursday");
    EXPECT_EQ(formatDate(kNewYear2015, "EEEE", "UTC", "zh_CN"), "星期四");
    DeviceZone device("Asia/Shanghai");
    EXPECT_EQ(formatDate(kNewYear2015, "yyyyMMddHHmmss"), "20150101080000");
}

TEST(ParseDate, ReadsWhatFormatWroteAndRejectsAnythingElse) {
    auto parsed = parseDate("20150101080000", "yyyyMMddHHmmss", "Asia/Shanghai");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, kNewYear2015);
    EXPECT_FALSE(parseDate("2015-01-01", "yyyyMMddHHmmss", "UTC"));
    EXPECT_FALSE(parseDate("2015-01-01 extra", "yyyy-MM-dd", "UTC"));
    EXPECT_FALSE(parseDate("2015-02-30", "yyyy-MM-dd", "UTC"));
    EXPECT_FALSE(parseDate("", "yyyy-MM-dd", "UTC"));
}

}  // namespace
