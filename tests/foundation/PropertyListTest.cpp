#include <gtest/gtest.h>

#include "platform/foundation/Bytes.h"
#include "platform/foundation/PropertyList.h"
#include "tests/support/TempHome.h"

using namespace platform;

namespace {

Json sampleDocument() {
    Json doc = Json::object();
    doc["name"] = "校园通 <&> \"quoted\"";
    doc["count"] = 42;
    doc["negative"] = -7;
    doc["big"] = 9007199254740993LL;
    doc["ratio"] = 0.1;
    doc["whole"] = 2.0;
    doc["on"] = true;
    doc["off"] = false;
    doc["blob"] = Json::binary(toBytes(std::string("\x00\x01\xff binary", 10)));
    doc["empty"] = "";
    doc["spaces"] = "  padded  ";
    doc["lines"] = "one\ntwo\tthree\r\nfour\r";
    doc["list"] = Json::array({1, "two", Json::array({3.5}), Json{{"k", "v"}}});
    doc["nested"] = Json{{"inner", Json{{"deep", Json::array()}}}, {"z", Json::object()}};
    return doc;
}

TEST(PropertyList, RoundTripThroughTextOrFileKeepsEveryTypeAndTheMemberOrder) {
    Json doc = sampleDocument();
    std::string xml = serializePropertyList(doc);
    std::string error;
    auto parsed = parsePropertyList(xml, &error);
    ASSERT_TRUE(parsed) << error << "\n" << xml;
    EXPECT_EQ(*parsed, doc) << xml;
    // Our own format names no vendor's document type.
    EXPECT_EQ(xml.find("<!DOCTYPE"), std::string::npos) << xml;
    EXPECT_TRUE((*parsed)["whole"].is_number_float());
    EXPECT_TRUE((*parsed)["count"].is_number_integer());

    testsupport::TempHome home;
    auto file = home.path() / "Library" / "doc.plist";
    ASSERT_TRUE(writePropertyList(file, doc));
    EXPECT_EQ(readPropertyList(file), doc);
}

TEST(PropertyList, ReadsAHandWrittenFile) {
    const char* xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Lanxi Campus//DTD PLIST 1.0//EN" "http://dtd.lanxi-campus.example/plist-1.0.dtd">
<plist version="1.0">
<dict>
    <!-- share service settings -->
    <key>AppKey</key>
    <string>abc&amp;123</string>
    <key>Platforms</key>
    <array>
        <string>campuschat</string>
        <string><![CDATA[<talk>]]></string>
    </array>
    <key>Retries</key>
    <integer> -3 </integer>
    <key>Scale</key>
    <real>2.5e1</real>
    <key>Enabled</key>
    <true/>
    <key>Icon</key>
    <data>
        aGVsbG8g
        d29ybGQ=
    </data>
    <key>Updated</key>
    <date>2015-01-01T08:00:00Z</date>
    <key>Blank</key>
    <string/>
    <key>Space</key>
    <string> </string>
</dict>
</plist>)";
    std::string error;
    auto parsed = parsePropertyList(xml, &error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ((*parsed)["AppKey"], "abc&123");
    EXPECT_EQ((*parsed)["Platforms"], Json::array({"campuschat", "<talk>"}));
    EXPECT_EQ((*parsed)["Retries"], -3);
    EXPECT_DOUBLE_EQ((*parsed)["Scale"].get<double>(), 25.0);
    EXPECT_EQ((*parsed)["Enabled"], true);
    EXPECT_EQ((*parsed)["Icon"], Json::binary(toBytes("hello world")));
    EXPECT_EQ((*parsed)["Updated"], "2015-01-01T08:00:00Z");
    EXPECT_EQ((*parsed)["Blank"], "");
    EXPECT_EQ((*parsed)["Space"], " ");
    EXPECT_EQ(parsed->begin().key(), "AppKey");
}

TEST(PropertyList, LeavesOutNullsWhenWriting) {
    Json doc = {{"keep", 1}, {"drop", nullptr}, {"list", Json::array({1, nullptr, 2})}};
    auto parsed = parsePropertyList(serializePropertyList(doc));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, (Json{{"keep", 1}, {"list", Json::array({1, 2})}}));
    EXPECT_EQ(parsePropertyList(serializePropertyList(nullptr)), Json(nullptr));
}

TEST(PropertyList, RejectsDamagedTextOrAMissingFileWithAReasonInsteadOfThrowing) {
    const char* bad[] = {
        "",
        "not xml at all",
        "<plist><dict><key>a</key><string>x</string>",     // truncated
        "<plist><dict><key>a</key></dict></plist>",        // key without value
        "<plist><dict><string>x</string></dict></plist>",  // value without key
        "<plist><integer>12abc</integer></plist>",
        "<plist><integer>99999999999999999999999</integer></plist>",
        "<plist><real>fast</real></plist>",
        "<plist><data>!!!notbase64</data></plist>",
        "<plist><object/></plist>",
    };
    for (const char* xml : bad) {
        std::string error;
        EXPECT_FALSE(parsePropertyList(xml, &error)) << xml;
        EXPECT_FALSE(error.empty()) << xml;
    }
    testsupport::TempHome home;
    std::string error;
    EXPECT_FALSE(readPropertyList(home.path() / "none.plist", &error)) << "a missing file";
    EXPECT_FALSE(error.empty());
}

}  // namespace
