#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "platform/web/HtmlCutNotice.h"
#include "platform/web/HtmlEngineBudget.h"
#include "tests/support/InkTestSupport.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

// School pages as their sites lay them out: a timetable inside a column's table inside a frame
// table, and score tables and lists thousands of rows long. Each shows as a browser shows it,
// or says on the page where it stops.
class NestedTablesTest : public pagetest::PageEngineTest {
protected:
    // The engine's time stands still: a slow machine never shows these pages as plain text.
    NestedTablesTest() { HtmlEngineBudget::setClock(std::make_shared<ManualClock>()); }
    ~NestedTablesTest() override {
        HtmlEngineBudget::setClock(nullptr);
        HtmlEngineBudget::setLimits({});
    }

    void useWidth(double width) {
        web()->setFrame(Rect{{0, 0}, {width, 2400}});
        web()->layoutIfNeeded();
    }
    void show(const std::string& path, const std::string& html) { open(serve(path, html)); }
};

// --- Timetables in tables ---------------------------------------------------------------------

const std::vector<std::string> kDays = {"节次", "周一", "周二", "周三", "周四"};
const std::vector<std::vector<std::string>> kLessons = {
    {"一二节", "高数", "英语", "物理", "体育"},
    {"三四节", "化学", "线代", "政治", "历史"},
    {"五六节", "美术", "音乐", "编程", "自习"},
};
// The timetable's rules: a red no other ink on the page is.
constexpr std::uint32_t kRuleRed = 0xd0021b;

std::string cellId(std::size_t row, std::size_t column) {
    return "c" + std::to_string(row) + "-" + std::to_string(column);
}

// The timetable, each cell's words in a span of its own id; row 0 is the days.
std::string timetable() {
    std::string html = "<table style=\"border-collapse:collapse\">";
    for (std::size_t row = 0; row <= kLessons.size(); ++row) {
        const auto& texts = row == 0 ? kDays : kLessons[row - 1];
        html += "<tr>";
        for (std::size_t column = 0; column < texts.size(); ++column) {
            html +=
                "<td style=\"border:1px solid #d0021b;padding:3px;font-size:13px\"><span id=\"" +
                cellId(row, column) + "\">" + texts[column] + "</span></td>";
        }
        html += "</tr>";
    }
    return html + "</table>";
}

// The timetable within `depth - 1` tables around it: the outermost a frame table with a
// banner row, each inner one a column's table with a heading cell beside it.
std::string nestedTimetable(int depth) {
    std::string html = timetable();
    for (int level = depth - 1; level >= 1; --level) {
        const std::string name = level == 1 ? "学校首页" : "栏目" + std::to_string(level);
        html = "<table><tr><td>" + name + "</td></tr><tr><td>" + html + "</td></tr></table>";
    }
    return "<title>课表</title><p id=\"before\">本周课表</p>" + html +
           "<p id=\"after\">课表结束</p>";
}

TEST_F(NestedTablesTest, ATimetableDeepInTablesKeepsEveryCellInItsRowAndColumnWithItsRules) {
    for (const int depth : {3, 4, 8}) {
        for (const double width : {320.0, 375.0}) {
            SCOPED_TRACE("depth " + std::to_string(depth) + " width " + std::to_string(width));
            useWidth(width);
            show("/pages/timetable" + std::to_string(depth) + ".html", nestedTimetable(depth));
            const Image shot = renderToImage(*web());
            auto isRule = [](std::uint32_t argb) { return testsupport::isNear(argb, kRuleRed); };

            std::vector<std::vector<Rect>> cells;
            for (std::size_t row = 0; row <= kLessons.size(); ++row) {
                const auto& texts = row == 0 ? kDays : kLessons[row - 1];
                cells.emplace_back();
                for (std::size_t column = 0; column < texts.size(); ++column) {
                    const std::string line =
                        "#" + cellId(row, column) + " \"" + texts[column] + "\"";
                    const Rect cell = frameOf(line);
                    ASSERT_FALSE(cell.isEmpty()) << line << "\n" << driver.outline();
                    cells.back().push_back(cell);
                }
            }
            for (std::size_t row = 0; row < cells.size(); ++row) {
                for (std::size_t column = 0; column < cells[row].size(); ++column) {
                    SCOPED_TRACE(cellId(row, column));
                    const Rect cell = cells[row][column];
                    if (column > 0) {
                        // Beside the one before it in its row, a rule between them.
                        const Rect left = cells[row][column - 1];
                        EXPECT_LT(std::abs(cell.midY() - left.midY()), 2.0);
                        ASSERT_GT(cell.minX(), left.maxX());
                        const Rect between{{left.maxX(), cell.midY() - 1},
                                           {cell.minX() - left.maxX(), 2}};
                        const Rect rule = testsupport::inkBounds(shot, between, isRule);
                        EXPECT_FALSE(rule.isEmpty());
                        EXPECT_LE(rule.size.width, 2.0);
                    }
                    if (row > 0) {
                        // Under the one above it in its column, a rule between them.
                        const Rect above = cells[row - 1][column];
                        EXPECT_LT(std::abs(cell.minX() - above.minX()), 2.0);
                        ASSERT_GT(cell.minY(), above.maxY());
                        const Rect between{{cell.midX() - 1, above.maxY()},
                                           {2, cell.minY() - above.maxY()}};
                        const Rect rule = testsupport::inkBounds(shot, between, isRule);
                        EXPECT_FALSE(rule.isEmpty());
                        EXPECT_LE(rule.size.height, 2.0);
                    }
                }
            }
            // The table stands between the paragraphs around it.
            EXPECT_LT(frameOf("#before ").maxY(), cells.front().front().minY());
            EXPECT_GT(frameOf("#after ").minY(), cells.back().back().maxY());
            EXPECT_FALSE(outlineShows(web::kCutNotice));
        }
    }
}

// --- Long pages --------------------------------------------------------------------------------

constexpr const char* kClosing = "表格结束，如有疑问请联系人：教务处王老师";

std::string scoreTable(int rows) {
    std::string html = "<title>成绩</title><table><tr><th>学号</th><th>姓名</th><th>成绩</th></tr>";
    for (int row = 1; row <= rows; ++row) {
        const std::string n = std::to_string(row);
        html += "<tr><td>2024" + n + "</td><td>学生" + n + "</td><td>" +
                std::to_string(60 + row % 40) + "</td></tr>";
    }
    return html + "</table><p id=\"closing\">" + kClosing + "</p>";
}

TEST_F(NestedTablesTest, AScoreTableOfThreeThousandRowsAndAListOfTenThousandShowWhole) {
    useWidth(375);
    show("/pages/scores.html", scoreTable(3000));
    const Rect last = frameOf("text \"20243000 学生3000 60\"");
    const Rect closing = frameOf(std::string("#closing \"") + kClosing + "\"");
    ASSERT_FALSE(last.isEmpty()) << driver.outline().substr(0, 600);
    ASSERT_FALSE(closing.isEmpty()) << logText();
    EXPECT_GT(closing.minY(), last.maxY());
    // Drawn where it stands, at the foot of the page.
    web()->scrollView()->setContentOffset(Point{0, closing.minY() - 100});
    const Image foot = renderToImage(*web());
    EXPECT_FALSE(testsupport::inkBounds(foot, Rect{{0, 90}, {375, closing.size.height + 20}},
                                        testsupport::isDark)
                     .isEmpty());
    EXPECT_FALSE(outlineShows(web::kCutNotice));
    EXPECT_FALSE(logged("is not shown")) << logText();

    std::string list = "<title>通知</title><ul>";
    for (int item = 1; item <= 10'000; ++item) {
        list += "<li>第" + std::to_string(item) + "条通知</li>";
    }
    show("/pages/notices.html", list + "</ul><p id=\"closing\">" + kClosing + "</p>");
    const Rect lastItem = frameOf("text \"第10000条通知\"");
    ASSERT_FALSE(lastItem.isEmpty()) << logText();
    EXPECT_GT(frameOf(std::string("#closing \"") + kClosing + "\"").minY(), lastItem.maxY());
    EXPECT_FALSE(outlineShows(web::kCutNotice));
}

TEST_F(NestedTablesTest, APageCutAtItsBudgetSaysSoWhereItStops) {
    // An article longer than a page may lay out, held whole in the engine's memory so that it
    // is cut by the layout's own budget: it stops within a paragraph, and says so under it.
    HtmlEngineBudget::setLimits({HtmlEngineBudget::kCpuLimit, std::size_t(1) << 30});
    useWidth(375);
    const std::string sentence = "学校召开全体教师会议，布置本学期的教学工作。";
    std::string article = "<title>全文</title><h3>会议纪要</h3>";
    int paragraphs = 0;
    while (article.size() < (5u << 19)) {
        article += "<p>第" + std::to_string(++paragraphs) + "段";
        for (int n = 0; n < 40; ++n) {
            article += sentence;
        }
        article += "</p>";
    }
    show("/pages/article.html", article + "<p id=\"closing\">" + kClosing + "</p>");

    EXPECT_TRUE(logged("article.html is shown up to its budget")) << logText();
    const std::string notice = std::string("text \"") + web::kCutNotice + "\"";
    const Rect cut = frameOf(notice);
    ASSERT_FALSE(cut.isEmpty()) << logText();
    // Nothing after the cut shows, the closing words included; the notice is the last thing
    // on the page, right under the last paragraph shown.
    EXPECT_TRUE(frameOf("#closing").isEmpty());
    EXPECT_TRUE(frameOf("第" + std::to_string(paragraphs) + "段").isEmpty());
    EXPECT_GT(cut.maxY(), web()->scrollView()->contentSize().height - 60);
    Rect lastShown;
    for (int paragraph = paragraphs; paragraph > 0 && lastShown.isEmpty(); --paragraph) {
        lastShown = frameOf("text \"第" + std::to_string(paragraph) + "段");
    }
    ASSERT_FALSE(lastShown.isEmpty());
    EXPECT_GE(cut.minY(), lastShown.maxY());
    EXPECT_LT(cut.minY(), lastShown.maxY() + 40);

    // And the words are drawn there, not only listed.
    web()->scrollView()->setContentOffset(Point{0, cut.minY() - 100});
    const Image foot = renderToImage(*web());
    const Rect ink = testsupport::inkBounds(
        foot, Rect{{0, 100}, {375, cut.size.height}},
        [](std::uint32_t argb) { return testsupport::isNear(argb, 0x666666); });
    EXPECT_GT(ink.size.width, 100);
}

}  // namespace
