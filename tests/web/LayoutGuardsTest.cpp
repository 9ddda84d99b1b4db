#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScrollView.h"
#include "platform/web/HtmlLayout.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

// What the layout's guards against costly pages must leave alone: ordinary pages that merely
// hold many tables, or words too long to measure whole, still look as a browser shows them.
class LayoutGuardsTest : public pagetest::PageEngineTest {
protected:
    void show(const std::string& html) { open(serve("/pages/guarded.html", html)); }
};

// --- Tables ---------------------------------------------------------------------------------

TEST_F(LayoutGuardsTest, EveryTableOfALongPageLaysOutInRowsAndColumns) {
    // Tables side by side, not nested: only nesting costs, so the fifth is a table like the first.
    std::string html = "<title>Timetable</title>";
    for (int n = 1; n <= 5; ++n) {
        const std::string id = std::to_string(n);
        html += "<table><tr><td id=\"a" + id + "\">周一" + id + "</td><td id=\"b" + id + "\">周二" +
                id + "</td></tr><tr><td id=\"c" + id + "\">周三" + id +
                "</td><td>周四</td></tr></table>";
    }
    show(html);
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(n);
        const std::string id = std::to_string(n);
        const Rect first = frameOf("#a" + id + " ");
        const Rect beside = frameOf("#b" + id + " ");
        const Rect below = frameOf("#c" + id + " ");
        ASSERT_FALSE(first.isEmpty()) << driver.outline();
        ASSERT_FALSE(beside.isEmpty()) << driver.outline();
        ASSERT_FALSE(below.isEmpty()) << driver.outline();
        // A cell's neighbour in its row stands to its right on its line; the next row's cell
        // stands under it, in its column.
        EXPECT_LT(std::abs(beside.midY() - first.midY()), 2.0);
        EXPECT_GT(beside.minX(), first.maxX());
        EXPECT_GE(below.minY(), first.maxY());
        EXPECT_LT(std::abs(below.minX() - first.minX()), 2.0);
    }
}

// --- Long words -----------------------------------------------------------------------------

std::string repeated(const std::string& character, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += character;
    }
    return text;
}

// The widths of the given words laid out alone, each on a line of its own, on a page wide
// enough for any of them.
std::vector<double> laidOutWidths(const std::vector<std::string>& words) {
    std::string html = "<html><body>";
    for (std::size_t i = 0; i < words.size(); ++i) {
        html +=
            "<p><span data-campus-item=\"" + std::to_string(i) + "\">" + words[i] + "</span></p>";
    }
    html += "</body></html>";
    HtmlLayout layout(html, std::make_shared<HtmlPictures>(
                                [](std::string_view src) { return std::string(src); }));
    layout.layOut(2000, 600);
    std::vector<double> widths;
    for (const Rect& frame : layout.itemFrames(words.size())) {
        widths.push_back(frame.width());
    }
    return widths;
}

TEST(LongWordTest, AWordTooLongToMeasureWholeIsCutBetweenCharactersNotInsideOne) {
    // A word past the longest the layout measures whole is cut into pieces. After one Latin
    // letter, the two-byte letters stand at odd bytes: a cut at a byte count would fall inside
    // one, and each half would show as a replacement mark. Cut between characters, the word is
    // as wide as its two halves laid out apart.
    for (const char* letter : {"é", "Ж"}) {
        SCOPED_TRACE(letter);
        const std::string word = "a" + repeated(letter, 70);
        const auto widths = laidOutWidths({word, "a" + repeated(letter, 40), repeated(letter, 30)});
        ASSERT_EQ(widths.size(), 3u);
        ASSERT_GT(widths[1], 0);
        ASSERT_GT(widths[2], 0);
        EXPECT_NEAR(widths[0], widths[1] + widths[2], 3);
    }
}

}  // namespace
