#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"
#include "platform/web/HtmlEngineBudget.h"
#include "platform/web/HtmlLayout.h"
#include "platform/web/WebPage.h"

using namespace platform;
using namespace std::chrono_literals;

namespace {

// The engine's CPU time, moving `step` at every reading (or only at the readings after the
// `from`th up to the `to`th), and the readings counted.
class CountingClock : public Clock {
public:
    TimePoint now() const override {
        ++readings;
        if (readings > from && readings <= to) {
            m_now += step;
        }
        return m_now;
    }

    std::chrono::nanoseconds step{0};
    long from = 0;
    long to = std::numeric_limits<long>::max();
    mutable long readings = 0;

private:
    mutable TimePoint m_now{std::chrono::hours(1)};
};

// What a page shows on the phone's first screen.
struct Shown {
    int red = 0;
    int dark = 0;
    std::size_t engineBytes = 0;
};

// One run of the engine over pages of many styled elements: a page that fits its budget
// shows its words red, one past it shows them as plain text, dark.
class EngineBudgetTest : public ::testing::Test {
protected:
    static constexpr Size kScreen{375, 667};

    EngineBudgetTest() { HtmlEngineBudget::setClock(clock); }
    ~EngineBudgetTest() override {
        HtmlEngineBudget::setClock(nullptr);
        HtmlEngineBudget::setLimits({});
    }

    static std::string styledPage(int words) {
        std::string html =
            "<html><body><style>b{color:#dc0000} i b{color:#0000dc} p b.x{border:1px solid}"
            "</style><p>";
        for (int i = 0; i < words; ++i) {
            html += "<b>word</b> ";
        }
        return html + "</p></body></html>";
    }

    static std::unique_ptr<HtmlLayout> layOut(const std::string& html) {
        auto layout = std::make_unique<HtmlLayout>(
            html,
            std::make_shared<HtmlPictures>([](std::string_view src) { return std::string(src); }));
        layout->layOut(kScreen.width, kScreen.height);
        return layout;
    }

    // Read, laid out and painted as the web view does, up to the first screen.
    static Shown show(const std::string& html) { return paint(*layOut(html)); }

    static Shown paint(HtmlLayout& layout) {
        const Size screen = kScreen;
        Shown shown;
        shown.engineBytes = layout.engineBytes();
        BitmapContext context(screen, 1);
        context.fillRect(Rect{{0, 0}, screen}, Color::rgba(1, 1, 1, 1));
        layout.paint(context, Rect{{0, 0}, screen});
        const Image picture = context.makeImage();
        for (int y = 0; y < picture.pixelHeight(); ++y) {
            for (int x = 0; x < picture.pixelWidth(); ++x) {
                const std::uint32_t argb = picture.pixelAt(x, y);
                const int r = (argb >> 16) & 0xff, g = (argb >> 8) & 0xff, b = argb & 0xff;
                shown.red += r > 150 && g < 90 && b < 90 ? 1 : 0;
                shown.dark += (r + g + b) / 3 < 100 ? 1 : 0;
            }
        }
        return shown;
    }

    // Styled words, then `count` empty elements.
    static std::string empties(int count) {
        std::string html = styledPage(200);
        for (int i = 0; i < count; ++i) {
            html += "<i></i>";
        }
        return html;
    }

    // How many times the engine reads its clock for the page (its caches warm, as for the
    // readings that follow).
    long readingsFor(const std::string& html) {
        clock->step = 0ns;
        show(html);
        const long before = clock->readings;
        show(html);
        return clock->readings - before;
    }

    std::shared_ptr<CountingClock> clock = std::make_shared<CountingClock>();
};

TEST_F(EngineBudgetTest, APageLaysOutWholeJustUnderItsCpuTimeAndAsPlainTextJustOver) {
    const std::string html = styledPage(3000);
    const long readings = readingsFor(html);
    // Enough readings that the runs' own first readings (one each) are lost in them.
    ASSERT_GT(readings, 300);
    // The engine's half of the second a page may take.
    const auto perReading = std::chrono::duration_cast<std::chrono::nanoseconds>(500ms) / readings;

    clock->step = perReading * 97 / 100;
    const Shown under = show(html);
    EXPECT_GT(under.red, 100);

    clock->step = perReading * 103 / 100;
    const Shown over = show(html);
    EXPECT_EQ(over.red, 0);
    EXPECT_GT(over.dark, 100);
}

TEST_F(EngineBudgetTest, WhatReadingThePageCostIsChargedToItsFirstShowing) {
    // Reading the markup costs a quarter of a second on the engine's clock, and nothing after.
    clock->step = 250ms;
    clock->from = clock->readings;
    clock->to = clock->readings + 2;
    WebPage page(styledPage(50), "http://pages.campus.invalid/read.html", "",
                 [](const std::string&) {});
    const auto reading = page.takeReadingTime();
    EXPECT_EQ(reading, 250ms);
    EXPECT_EQ(page.takeReadingTime(), 0ns);

    // With the engine's clock standing still, the showing is whole just under its half second
    // and plain text just over it, however little the engine itself takes.
    clock->step = 0ns;
    auto show = [&](std::chrono::nanoseconds readingTime) {
        auto layout = std::make_unique<HtmlLayout>(
            page.layoutHTML(),
            std::make_shared<HtmlPictures>([](std::string_view src) { return std::string(src); }),
            readingTime);
        layout->layOut(kScreen.width, kScreen.height);
        return paint(*layout);
    };
    EXPECT_GT(show(reading).red, 100);
    EXPECT_GT(show(499ms).red, 100);
    const Shown over = show(501ms);
    EXPECT_EQ(over.red, 0);
    EXPECT_GT(over.dark, 100);
}

TEST_F(EngineBudgetTest, APageLaysOutWholeJustUnderItsMemoryAndAsPlainTextJustOver) {
    const std::string html = styledPage(2000);
    show(html);
    const std::size_t bytes = show(html).engineBytes;
    ASSERT_GT(bytes, std::size_t(1) << 20);

    // Under the standard bounds a page of some 45 MB is one like any other.
    ASSERT_GT(show(empties(20000)).red, 100);

    HtmlEngineBudget::setLimits({1s, bytes + bytes / 50});
    const Shown under = show(html);
    EXPECT_GT(under.red, 100);
    EXPECT_LE(under.engineBytes, bytes + bytes / 50);

    HtmlEngineBudget::setLimits({1s, bytes - bytes / 50});
    const Shown over = show(html);
    EXPECT_EQ(over.red, 0);
    EXPECT_GT(over.dark, 100);
}

TEST_F(EngineBudgetTest, PagesThatCallBackOrAllocateWithoutEndAreCutAndShowAsPlainText) {
    // Every selector tested at every element: a million tests of one long rule.
    std::string selectors;
    for (int i = 0; i < 2000; ++i) {
        selectors += (i ? ",b.k" : "b.k") + std::to_string(i);
    }
    std::string rule =
        "<html><body><style>b{color:#dc0000}" + selectors + "{color:#0000dc}</style><p>";
    for (int i = 0; i < 500; ++i) {
        rule += "<b>word</b> ";
    }
    rule += "</p></body></html>";
    // The engine's clock moves a hundredth of a second at every reading: the page's tests are
    // cut after some fifty thousand, its plain text fits.
    clock->step = 10ms;
    Shown cut = show(rule);
    EXPECT_EQ(cut.red, 0);
    EXPECT_GT(cut.dark, 100);

    // Memory: the engine's elements for a page of twenty thousand empty ones (some 45 MB),
    // past a bound of 8 MB; its plain text is a few words.
    clock->step = 0ns;
    HtmlEngineBudget::setLimits({1s, std::size_t(8) << 20});
    cut = show(empties(20000));
    EXPECT_EQ(cut.red, 0);
    EXPECT_GT(cut.dark, 100);
}

TEST_F(EngineBudgetTest, ALayoutOrAPaintPastTheBudgetShowsThePageAsPlainTextInstead) {
    // Five thousand words over one another at the top of the screen: every one is painted.
    std::string html =
        "<html><body><style>b{color:#dc0000;position:absolute;left:20px;top:20px}"
        "</style><p>plain</p>";
    for (int i = 0; i < 5000; ++i) {
        html += "<b>word</b>";
    }
    html += "</body></html>";
    // Laying the page out reads the clock at its start and at least twice as it goes: past
    // the half second at the third reading, it is laid out as plain text.
    auto pictures = std::make_shared<HtmlPictures>(nullptr);
    auto read = std::make_unique<HtmlLayout>(html, pictures);
    long readings = clock->readings;
    clock->step = 300ms;
    clock->from = readings;
    clock->to = readings + 3;
    read->layOut(kScreen.width, kScreen.height);
    const Shown plain = paint(*read);
    EXPECT_EQ(plain.red, 0);
    EXPECT_GT(plain.dark, 20);

    clock->step = 0ns;
    auto layout = layOut(html);
    readings = clock->readings;
    EXPECT_GT(paint(*layout).red, 20);
    // The paint reads the clock at its start and at least twice as it goes.
    ASSERT_GE(clock->readings - readings, 3);

    // A paint is a run of its own, cut the same way at its third reading; the plain text's
    // runs take no time.
    layout = layOut(html);
    readings = clock->readings;
    clock->step = 300ms;
    clock->from = readings;
    clock->to = readings + 3;
    const Shown cut = paint(*layout);
    EXPECT_EQ(cut.red, 0);
    EXPECT_GT(cut.dark, 20);
}

TEST_F(EngineBudgetTest, AKeptPagesChangeIsChargedToTheEngineAndPastItThePageIsPlainText) {
    auto layout = layOut(
        "<html><body><style>b{color:#dc0000}</style><p>before</p>"
        "<p data-campus-item=\"0\"><b>word</b></p></body></html>");
    EXPECT_GT(paint(*layout).red, 20);
    // Each change after a paint is a run of its own, within 8 MB.
    HtmlEngineBudget::setLimits({1s, std::size_t(8) << 20});

    ASSERT_TRUE(
        layout->replaceItem(0, "<p data-campus-item=\"0\" style=\"color:#dc0000\">words more</p>"));
    layout->layOut(kScreen.width, kScreen.height);
    const Shown changed = paint(*layout);
    EXPECT_GT(changed.red, 40);

    std::string heavy = "<p data-campus-item=\"0\" style=\"color:#dc0000\">word";
    for (int i = 0; i < 20000; ++i) {
        heavy += "<i></i>";
    }
    ASSERT_TRUE(layout->replaceItem(0, heavy + "</p>"));
    layout->layOut(kScreen.width, kScreen.height);
    const Shown cut = paint(*layout);
    EXPECT_EQ(cut.red, 0);
    EXPECT_GT(cut.dark, 20);
}

}  // namespace
