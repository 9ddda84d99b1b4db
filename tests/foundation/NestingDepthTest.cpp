#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/JsonParse.h"
#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/PropertyList.h"

using namespace platform;

namespace {

std::string nestedJson(int depth) {
    return std::string(static_cast<size_t>(depth), '[') +
           std::string(static_cast<size_t>(depth), ']');
}

std::string nestedArrays(int depth) {
    std::string xml;
    for (int i = 0; i < depth; ++i) xml += "<array>";
    for (int i = 0; i < depth; ++i) xml += "</array>";
    return xml;
}

std::string nestedPlist(int depth) {
    return "<plist version=\"1.0\">" + nestedArrays(depth) + "</plist>";
}

// A value nested to the depth, built without recursion.
Json nestedValue(int depth) {
    Json value = Json::array();
    for (int i = 1; i < depth; ++i) value = Json::array({std::move(value)});
    return value;
}

TEST(NestingDepth, EveryReaderRefusesDocumentsNestedTooDeeply) {
    std::string error;
    EXPECT_FALSE(parseJson(nestedJson(100000), &error));
    EXPECT_EQ(error, "nested too deeply");
    EXPECT_FALSE(parseJson("{\"a\":" + nestedJson(kMaxNestingDepth) + "}"));
    EXPECT_TRUE(parseJson(nestedJson(kMaxNestingDepth)));
    // Brackets inside text are not nesting, escaped quotes included.
    const std::string text = "\\\"" + nestedJson(100000);
    auto inString = parseJson("{\"title\":\"" + text + "\"}");
    ASSERT_TRUE(inString);
    EXPECT_EQ((*inString)["title"], "\"" + nestedJson(100000));
    // An escaped backslash does not escape the quote after it.
    EXPECT_FALSE(parseJson("[\"\\\\\"," + nestedJson(100000) + "]"));
    EXPECT_FALSE(parseJson("[\"unterminated"));
    EXPECT_FALSE(parseJson("]]]["));

    EXPECT_FALSE(parsePropertyList(nestedPlist(30000), &error));
    EXPECT_NE(error.find("nested deeper"), std::string::npos) << error;
    EXPECT_TRUE(parsePropertyList(nestedPlist(kMaxNestingDepth)));
    EXPECT_FALSE(parsePropertyList(
        "<plist><dict><key>k</key>" + nestedArrays(kMaxNestingDepth) + "</dict></plist>", &error));
    EXPECT_NE(error.find("nested deeper"), std::string::npos) << error;

    // An archive is checked like any other document, though its checksum is right.
    EXPECT_TRUE(unarchiveObject(archiveRootObject(nestedValue(kMaxNestingDepth))));
    EXPECT_FALSE(unarchiveObject(archiveRootObject(nestedValue(kMaxNestingDepth + 1))));
}

}  // namespace
