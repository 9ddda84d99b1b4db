#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "platform/web/HtmlCutNotice.h"
#include "platform/web/HtmlEngineBudget.h"
#include "platform/web/HtmlLayout.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

int darkPixelsIn(const Image& picture, const Rect& area) {
    int count = 0;
    for (int y = std::max(0, int(area.minY()));
         y < std::min(picture.pixelHeight(), int(area.maxY())); ++y) {
        for (int x = std::max(0, int(area.minX()));
             x < std::min(picture.pixelWidth(), int(area.maxX())); ++x) {
            const std::uint32_t argb = picture.pixelAt(x, y);
            count += (((argb >> 16) & 0xff) + ((argb >> 8) & 0xff) + (argb & 0xff)) / 3 < 100;
        }
    }
    return count;
}

std::string chinese(int characters) {
    static const char* const kCharacters[] = {"课", "程", "安", "排"};
    std::string text;
    for (int i = 0; i < characters; ++i) {
        text += kCharacters[i % 4];
    }
    return text;
}

// Pages the layout engine cannot lay out whose text is long past what it could lay out as
// plain text: each is shown as plain text, whose beginning shows under the client's line that
// says so, and which ends where the client's line says the rest is not shown.
class PlainTextCutTest : public pagetest::PageEngineTest {
protected:
    struct Case {
        std::string name;
        std::string body;
        // Whether its plain text is cut (white space shows as one short run, never cut; the
        // layout still cuts the page past the bytes it lays out).
        bool cut = true;
    };

    static std::vector<Case> cases() {
        return {
            {"a word of a megabyte", "<p>" + std::string(1 << 20, 'w') + "</p>"},
            {"a preformatted line of 4 MB", "<pre>" + std::string(4 << 20, 'x') + "</pre>"},
            {"2 MB of spaces", "<p style=\"white-space:pre\">" + std::string(2 << 20, ' ') + "</p>",
             false},
            {"an uppercase run of 1.4 MB",
             "<p style=\"text-transform:uppercase\">" + std::string(1400 << 10, 'u') + "</p>"},
        };
    }

    // Each page is past the engine's memory by a run of white space the engine keeps (half
    // a megabyte of it takes the engine some 170 MB), which its plain text does not.
    static std::string page(const std::string& body) {
        return "<html><body><p>通知开头的几句话</p><p style=\"white-space:pre-wrap\">" +
               std::string(512 << 10, ' ') + "</p>" + body + "<p>联系人：教务处</p></body></html>";
    }

    // The outline, its lines cut short.
    std::string outline() {
        const std::string all = driver.outline();
        std::string shown;
        for (std::size_t at = 0; at < all.size();) {
            const std::size_t end = std::min(all.find('\n', at), all.size());
            shown += all.substr(at, std::min<std::size_t>(end - at, 120)) + "\n";
            at = end + 1;
        }
        return shown;
    }
};

TEST_F(PlainTextCutTest, APageWhosePlainTextIsPastTheBudgetShowsItsBeginningAndSaysSo) {
    for (const Case& shown : cases()) {
        SCOPED_TRACE(shown.name);
        open(serve("/pages/long.html", page(shown.body)));
        EXPECT_TRUE(logged("shown as plain text")) << logText();
        const Rect first = frameOf("通知开头的几句话");
        ASSERT_FALSE(first.isEmpty()) << outline();
        EXPECT_GT(darkPixelsIn(renderToImage(*web()), first), 20);
        // Above the first words, the line that says the page is plain text; at the cut, the
        // line that says the rest is not shown, and nothing of the rest.
        const Rect plain = frameOf(web::kPlainTextNotice);
        ASSERT_FALSE(plain.isEmpty()) << outline();
        EXPECT_LE(plain.maxY(), first.minY());
        EXPECT_TRUE(frameOf("联系人").isEmpty());
        const Rect cut = frameOf(web::kCutNotice);
        if (shown.cut) {
            ASSERT_FALSE(cut.isEmpty()) << outline();
            // Screens of its text before it, in lines of the screen's width however long a
            // word runs.
            EXPECT_GT(cut.minY(), 2 * web()->bounds().height());
            EXPECT_TRUE(logged("cut there")) << logText();
        } else {
            // Its plain text is whole, but the page is longer than the layout takes: the line
            // at the layout's cut still says the rest is not shown.
            ASSERT_FALSE(cut.isEmpty()) << outline();
            EXPECT_GT(cut.minY(), first.maxY());
        }
    }
}

TEST(PlainTextFirstScreensTest, APlainTextPastTheBudgetIsShownAsItsFirstScreens) {
    struct StandardLimits {
        ~StandardLimits() { HtmlEngineBudget::setLimits({}); }
    } restore;
    // Within 16 MB, a quarter of a megabyte of Chinese is past the engine's memory (some
    // 26 MB) as plain text, as the page itself is; its first screens are not.
    HtmlEngineBudget::setLimits({HtmlEngineBudget::kCpuLimit, std::size_t(16) << 20});
    HtmlLayout layout("<html><body><p data-campus-text=\"0\">开学通知</p><p>" + chinese(300000) +
                          "</p><p data-campus-text=\"1\">联系人</p></body></html>",
                      nullptr);
    const Size screen{375, 667};
    layout.layOut(screen.width, screen.height);
    const std::vector<Rect> frames = layout.itemFrames(2);
    ASSERT_FALSE(frames[0].isEmpty());
    EXPECT_TRUE(frames[1].isEmpty());
    BitmapContext context(screen, 1);
    context.fillRect(Rect{{0, 0}, screen}, Color::white());
    layout.paint(context, Rect{{0, 0}, screen});
    EXPECT_GT(darkPixelsIn(context.makeImage(), frames[0]), 20);
    EXPECT_LE(layout.engineBytes(), std::size_t(16) << 20);

    const auto notices = layout.notices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].text, web::kPlainTextNotice);
    EXPECT_LE(notices[0].frame.maxY(), frames[0].minY());
    EXPECT_EQ(notices[1].text, web::kCutNotice);
    // The first screens, not the page's length.
    EXPECT_GT(notices[1].frame.minY(), 2 * screen.height);
    EXPECT_LT(layout.size().height, 20 * screen.height);
}

}  // namespace
