#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "tests/support/InkTestSupport.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;
using testsupport::darkInk;

namespace {

// Distinct characters, four to a link: each link's text is its own.
const std::string kCharacters =
    "天地玄黄宇宙洪荒日月盈昃辰宿列张寒来暑往秋收冬藏闰余成岁律吕调阳云腾致雨露结为霜金生丽水"
    "玉出昆冈剑号巨阙珠称夜光果珍李柰菜重芥姜海咸河淡鳞潜羽翔龙师火帝鸟官人皇始制文字乃服衣裳"
    "推位让国有虞陶唐吊民伐罪周发殷汤坐朝问道";

// A link whose words run from the end of one line onto the next stands over the links beside
// it within its frame; taps there are theirs, as in a browser, and its own are those on its
// words. Read from where the taps go and where the links' ink is.
class WrappedLinkTest : public pagetest::PageEngineTest {
protected:
    WrappedLinkTest() {
        // Followed links stay on the page: what a tap asked for is what counts.
        delegate->refused = "/go/";
    }

    void show(const std::string& html) { open(serve("/pages/links.html", html)); }

    // The phone's or the tablet's width, the window as wide.
    void useWidth(double width) {
        window->setFrame(Rect{{0, 0}, {width, 1024}});
        web()->setFrame(Rect{{0, 0}, {width, 1024}});
        window->layoutIfNeeded();
        web()->layoutIfNeeded();
    }

    static std::string textOf(int link) {
        // Three bytes a character.
        return kCharacters.substr(std::size_t(link) * 12, 12);
    }

    // A paragraph of links of four Chinese characters with nothing between them: a line may
    // break between any two characters, so at most widths some link is cut by a line's end.
    static std::string linksPage() {
        std::string html = "<p>";
        for (int link = 0; link < kLinks; ++link) {
            html += "<a href=\"/go/" + std::to_string(link) + "\">" + textOf(link) + "</a>";
        }
        return html + "</p>";
    }

    Rect linkFrame(int link) { return frameOf("link \"" + textOf(link) + "\""); }

    // The link a tap asked to follow, or -1.
    int followed() const {
        if (delegate->asked.empty()) {
            return -1;
        }
        const std::string& url = delegate->asked.back();
        const std::size_t at = url.rfind("/go/");
        return at == std::string::npos ? -1 : std::stoi(url.substr(at + 4));
    }

    static constexpr int kLinks = 24;
};

TEST_F(WrappedLinkTest, AWrappedLinkTakesOnlyTheTapsOnItsWords) {
    for (const double width : {320.0, 375.0, 768.0}) {
        SCOPED_TRACE(width);
        useWidth(width);
        show(linksPage());
        ASSERT_EQ(web()->bounds().width(), width);
        const Image shot = renderToImage(*web());
        std::vector<Rect> frames;
        double lineHeight = 1e9;
        for (int link = 0; link < kLinks; ++link) {
            frames.push_back(linkFrame(link));
            ASSERT_FALSE(frames.back().isEmpty()) << driver.outline();
            lineHeight = std::min(lineHeight, frames.back().height());
        }
        int wrapped = 0;
        for (int link = 1; link + 1 < kLinks; ++link) {
            if (frames[std::size_t(link)].height() < lineHeight * 1.5) {
                continue;
            }
            ++wrapped;
            SCOPED_TRACE(textOf(link));
            // The link before it ends its first line, the one after it follows it on the
            // next: both lie within its frame, and a tap on their words follows them.
            for (const int beside : {link - 1, link + 1}) {
                const Rect words = darkInk(shot, frames[std::size_t(beside)]);
                ASSERT_FALSE(words.isEmpty());
                EXPECT_TRUE(frames[std::size_t(link)].contains(Point{words.midX(), words.midY()}));
                const auto tapped = driver.tap(textOf(beside));
                EXPECT_TRUE(tapped) << tapped.error;
                EXPECT_EQ(followed(), beside);
                delegate->asked.clear();
                window->tap(web()->convertPointTo(Point{words.midX(), words.midY()}, nullptr));
                EXPECT_EQ(followed(), beside);
                delegate->asked.clear();
            }
            // Its own words, on either line, follow it.
            const auto tapped = driver.tap(textOf(link));
            EXPECT_TRUE(tapped) << tapped.error;
            EXPECT_EQ(followed(), link);
        }
        EXPECT_GT(wrapped, 0) << "no link runs over two lines at this width";
    }
}

// Links and labels of boxes to tick, by turns; the boxes stand in a paragraph of their own.
class WrappedLabelTest : public WrappedLinkTest {
protected:
    static bool isLabel(int item) { return item % 2 == 1; }

    static std::string page() {
        std::string html = "<p>";
        for (int item = 0; item < kLinks; ++item) {
            if (isLabel(item)) {
                html += "<label for=\"c" + std::to_string(item) + "\">" + textOf(item) + "</label>";
            } else {
                html += "<a href=\"/go/" + std::to_string(item) + "\">" + textOf(item) + "</a>";
            }
        }
        html += "</p><p>";
        for (int item = 1; item < kLinks; item += 2) {
            html += "<input type=\"checkbox\" id=\"c" + std::to_string(item) + "\" name=\"box" +
                    std::to_string(item) + "\">";
        }
        return html + "</p>";
    }

    Rect itemFrame(int item) {
        return frameOf((isLabel(item) ? "label \"" : "link \"") + textOf(item) + "\"");
    }

    bool ticked(int item) {
        const std::string outline = driver.outline();
        const std::size_t at = outline.find("checkbox box" + std::to_string(item) + " ");
        return at != std::string::npos &&
               outline.substr(at, outline.find('\n', at) - at).find("(checked)") !=
                   std::string::npos;
    }
};

TEST_F(WrappedLabelTest, AWrappedLabelTakesOnlyTheTapsOnItsWords) {
    int wrappedLabels = 0;
    for (const double width : {320.0, 375.0, 768.0}) {
        SCOPED_TRACE(width);
        useWidth(width);
        show(page());
        std::vector<Rect> frames;
        double lineHeight = 1e9;
        for (int item = 0; item < kLinks; ++item) {
            frames.push_back(itemFrame(item));
            ASSERT_FALSE(frames.back().isEmpty()) << driver.outline();
            lineHeight = std::min(lineHeight, frames.back().height());
        }
        for (int item = 1; item + 1 < kLinks; ++item) {
            if (frames[std::size_t(item)].height() < lineHeight * 1.5) {
                continue;
            }
            wrappedLabels += isLabel(item) ? 1 : 0;
            SCOPED_TRACE(textOf(item));
            for (const int beside : {item - 1, item + 1, item}) {
                SCOPED_TRACE(textOf(beside));
                const bool wasTicked = ticked(item);
                const bool besideTicked = ticked(beside);
                const auto tapped = driver.tap(textOf(beside));
                EXPECT_TRUE(tapped) << tapped.error;
                // A link is followed; a label's box is ticked, or its tick taken away.
                if (isLabel(beside)) {
                    EXPECT_NE(ticked(beside), besideTicked) << driver.outline();
                } else {
                    EXPECT_EQ(followed(), beside);
                }
                if (beside != item && isLabel(item)) {
                    EXPECT_EQ(ticked(item), wasTicked);
                }
                delegate->asked.clear();
            }
        }
    }
    // Among the widths some label runs over two lines.
    EXPECT_GT(wrappedLabels, 0);
}

}  // namespace
