#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "UiTestSupport.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/testing/UIDriver.h"
#include "platform/ui/Caret.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

using namespace platform;

namespace {

// Inputs on a white page, read back as the screen's pixels: the caret is the only thing drawn
// in the tint's blue, the text is dark ink.
class CaretTest : public uitest::UiTest {
protected:
    void SetUp() override {
        m_screen = std::make_shared<ViewController>();
        m_window = showWindow(m_screen);
        m_screen->view()->setBackgroundColor(Color::white());
    }

    template <typename T>
    std::shared_ptr<T> add(Rect frame) {
        auto input = View::make<T>(frame);
        m_screen->view()->addSubview(input);
        return input;
    }

    Image screen() { return renderScreenToImage(*m_window); }

    static bool isCaret(std::uint32_t argb) {
        const int r = int((argb >> 16) & 0xFF), g = int((argb >> 8) & 0xFF), b = int(argb & 0xFF);
        return r < 60 && g > 90 && g < 160 && b > 220;
    }
    static bool isInk(std::uint32_t argb) {
        const int r = int((argb >> 16) & 0xFF), g = int((argb >> 8) & 0xFF), b = int(argb & 0xFF);
        return r < 120 && g < 120 && b < 120;
    }

    // The caret's bar within `area` (screen points): its left and right columns, top and
    // bottom rows; nothing when no caret pixel lies there.
    static std::optional<Rect> caretIn(const Image& image, const Rect& area) {
        double left = 1e9, right = -1, top = 1e9, bottom = -1;
        for (int y = int(area.minY()); y < int(area.maxY()); ++y) {
            for (int x = int(area.minX()); x < int(area.maxX()); ++x) {
                if (x < 0 || y < 0 || x >= image.pixelWidth() || y >= image.pixelHeight() ||
                    !isCaret(image.pixelAt(x, y)))
                    continue;
                left = std::min(left, double(x));
                right = std::max(right, double(x + 1));
                top = std::min(top, double(y));
                bottom = std::max(bottom, double(y + 1));
            }
        }
        if (right < 0)
            return std::nullopt;
        return Rect{{left, top}, {right - left, bottom - top}};
    }

    // The rightmost and leftmost columns with ink within `area`.
    static double inkRight(const Image& image, const Rect& area) {
        double right = -1;
        for (int y = int(area.minY()); y < int(area.maxY()); ++y)
            for (int x = int(area.minX()); x < int(area.maxX()); ++x)
                if (isInk(image.pixelAt(x, y)))
                    right = std::max(right, double(x + 1));
        return right;
    }
    static double inkLeft(const Image& image, const Rect& area) {
        double left = 1e9;
        for (int y = int(area.minY()); y < int(area.maxY()); ++y)
            for (int x = int(area.minX()); x < int(area.maxX()); ++x)
                if (isInk(image.pixelAt(x, y)))
                    left = std::min(left, double(x));
        return left;
    }

    std::shared_ptr<ViewController> m_screen;
    std::shared_ptr<Window> m_window;
};

// --- One line -------------------------------------------------------------------------------

TEST_F(CaretTest, AnEditedFieldShowsItsCaretJustAfterTheTypedTextAndOnlyWhileEdited) {
    auto field = add<TextField>(Rect{{20, 100}, {250, 40}});
    field->setText("Hello");
    const Rect frame = field->frame();
    EXPECT_FALSE(caretIn(screen(), frame)) << "no caret before editing";

    field->typeText(" there");
    Image shown = screen();
    auto caret = caretIn(shown, frame);
    ASSERT_TRUE(caret) << "a caret while editing";
    // A thin upright bar, on the text's line, right after its last letter.
    EXPECT_LE(caret->size.width, 3);
    EXPECT_GT(caret->size.height, 12);
    EXPECT_LT(caret->minY(), frame.midY());
    EXPECT_GT(caret->maxY(), frame.midY());
    EXPECT_NEAR(caret->minX(), inkRight(shown, frame), 3);

    field->resignFirstResponder();
    EXPECT_FALSE(caretIn(screen(), frame)) << "the caret goes with the editing";
}

TEST_F(CaretTest, AnEmptyFieldShowsTheCaretWhereTheFirstCharacterWillGo) {
    for (auto alignment : {TextAlignment::Left, TextAlignment::Center}) {
        auto field = add<TextField>(Rect{{20, 100}, {250, 40}});
        field->setPlaceholder("Search");
        field->setTextAlignment(alignment);
        field->becomeFirstResponder();
        auto caret = caretIn(screen(), field->frame());
        ASSERT_TRUE(caret);
        const double expected = alignment == TextAlignment::Left ? 20 : 145;
        EXPECT_NEAR(caret->minX(), expected, 2);
        field->removeFromSuperview();
    }
}

TEST_F(CaretTest, TypingGoesWhereTheCaretStandsAndDeleteTakesTheCharacterBeforeIt) {
    auto field = add<TextField>(Rect{{20, 100}, {250, 40}});
    field->typeText("ac");
    field->setInsertionPoint(1);
    field->typeText("b");
    EXPECT_EQ(field->text(), "abc");
    EXPECT_EQ(field->insertionPoint(), 2u);
    field->deleteBackward();
    EXPECT_EQ(field->text(), "ac");
    EXPECT_EQ(field->insertionPoint(), 1u);
    // A character outside the basic plane is one key press and two units.
    field->typeText("😀");
    EXPECT_EQ(field->text(), "a😀c");
    EXPECT_EQ(field->insertionPoint(), 3u);
    field->deleteBackward();
    EXPECT_EQ(field->text(), "ac");
    field->setInsertionPoint(0);
    EXPECT_FALSE(field->deleteBackward()) << "nothing before the caret";
    EXPECT_EQ(field->text(), "ac");
    // Setting the text puts the caret after it.
    field->setText("xyz");
    field->typeText("!");
    EXPECT_EQ(field->text(), "xyz!");
}

TEST_F(CaretTest, ATapOnTheEditedFieldPutsTheCaretBetweenTheLettersUnderTheFinger) {
    auto field = add<TextField>(Rect{{20, 100}, {250, 40}});
    field->setText("WWWWWWWWWW");
    const Rect frame = field->frame();
    // The first tap begins editing with the caret at the end, as on the phone.
    m_window->tap(Point{30, 120});
    ASSERT_TRUE(field->isEditing());
    Image shown = screen();
    const double end = inkRight(shown, frame);
    EXPECT_NEAR(caretIn(shown, frame)->minX(), end, 3);

    const double middle = (20 + end) / 2;
    m_window->tap(Point{middle, 120});
    auto caret = caretIn(screen(), frame);
    ASSERT_TRUE(caret);
    EXPECT_NEAR(caret->minX(), middle, 10) << "within a letter of the tap";
    field->typeText("i");
    EXPECT_EQ(field->text(), "WWWWWiWWWWW");
}

TEST_F(CaretTest, ALongLineScrollsSoTheCaretStaysInsideTheField) {
    for (bool secure : {false, true}) {
        SCOPED_TRACE(secure ? "secure" : "plain");
        auto field = add<TextField>(Rect{{40, 100}, {120, 40}});
        field->setSecureTextEntry(secure);
        field->typeText("the quick brown fox jumps over the lazy dog");
        const Rect frame = field->frame();
        Image shown = screen();
        auto caret = caretIn(shown, Rect{{0, 100}, {375, 40}});
        ASSERT_TRUE(caret);
        // At the field's right end, inside it; the text reaches up to the caret and is cut at
        // the field's left edge (its start has scrolled out), never drawn beside the field.
        EXPECT_LE(caret->maxX(), frame.maxX());
        EXPECT_GT(caret->minX(), frame.maxX() - 12);
        EXPECT_NEAR(inkRight(shown, frame), caret->minX(), 3);
        EXPECT_LT(inkLeft(shown, frame), frame.minX() + 10);
        EXPECT_EQ(inkRight(shown, Rect{{0, 100}, {40, 40}}), -1);

        // Back at the start: the text scrolls back and the caret stands at the left edge.
        field->setInsertionPoint(0);
        caret = caretIn(screen(), Rect{{0, 100}, {375, 40}});
        ASSERT_TRUE(caret);
        EXPECT_NEAR(caret->minX(), frame.minX(), 2);
        field->resignFirstResponder();
        field->removeFromSuperview();
    }
}

// --- Several lines --------------------------------------------------------------------------

TEST_F(CaretTest, ATextViewFollowsTheCaretDownItsLinesAndScrollsToIt) {
    auto textView = add<TextView>(Rect{{20, 100}, {200, 80}});
    const Rect frame = textView->frame();
    std::string lines;
    for (int i = 1; i <= 12; ++i) lines += (i > 1 ? "\nline " : "line ") + std::to_string(i);
    textView->typeText(lines);
    ASSERT_GT(textView->contentSize().height, 2 * frame.size.height) << "taller than its frame";

    // Scrolled to the last line: the caret shows inside the frame, in its lower half, after
    // the last line's ink.
    Image shown = screen();
    auto caret = caretIn(shown, frame);
    ASSERT_TRUE(caret) << "the caret is scrolled into view";
    EXPECT_GT(caret->minY(), frame.midY() - 10);
    EXPECT_LE(caret->maxY(), frame.maxY());
    EXPECT_NEAR(caret->minX(),
                inkRight(shown, Rect{{frame.minX(), caret->minY()},
                                     {frame.size.width, caret->size.height}}),
                3);
    EXPECT_GT(textView->contentOffset().y, 0);

    // A line feed takes the caret to the start of a new line below, the view following it.
    const double offset = textView->contentOffset().y;
    textView->typeText("\n");
    auto below = caretIn(screen(), frame);
    ASSERT_TRUE(below);
    EXPECT_GT(textView->contentOffset().y, offset + 5);
    EXPECT_LE(below->maxY(), frame.maxY());
    EXPECT_LT(below->minX(), frame.minX() + 10);

    // The start of the text scrolls back into view with the caret.
    textView->setInsertionPoint(0);
    auto top = caretIn(screen(), frame);
    ASSERT_TRUE(top);
    EXPECT_LT(top->minY(), frame.minY() + 12);
    EXPECT_EQ(textView->contentOffset().y, 0);
}

TEST_F(CaretTest, ATapInATextViewPutsTheCaretOnTheTappedLine) {
    auto textView = add<TextView>(Rect{{20, 100}, {300, 150}});
    textView->setText("first line\nsecond line\nthird line\nfourth line");
    platform::testing::UIDriver driver;
    // Before the start of the second line.
    const double lineTop = 100 + TextView::kInset;
    m_window->tap(Point{20 + 2, lineTop + 22});
    ASSERT_TRUE(textView->isEditing());
    EXPECT_EQ(textView->insertionPoint(), std::string("first line\n").size());
    auto caret = caretIn(screen(), textView->frame());
    ASSERT_TRUE(caret);
    EXPECT_LT(caret->minX(), 20 + 10);
    EXPECT_GT(caret->minY(), lineTop + 10);
    textView->typeText(">");
    EXPECT_EQ(textView->text(), "first line\n>second line\nthird line\nfourth line");

    // Typing by the input's name still adds to the end.
    textView->resignFirstResponder();
    ASSERT_TRUE(driver.type(driver.handleOf(*textView), "!").ok);
    EXPECT_EQ(textView->text().back(), '!');
}

// --- The window's blink ---------------------------------------------------------------------

TEST_F(CaretTest, AFrameInTheBlinksDarkHalfLeavesTheCaretOutAndSaysOneStood) {
    auto field = add<TextField>(Rect{{20, 100}, {250, 40}});
    field->typeText("abc");
    {
        CaretFrame frame(false);
        EXPECT_FALSE(caretIn(screen(), field->frame()));
        EXPECT_TRUE(frame.caretStood());
    }
    EXPECT_TRUE(caretIn(screen(), field->frame())) << "screenshots show it steady";
    field->resignFirstResponder();
    CaretFrame frame(true);
    screen();
    EXPECT_FALSE(frame.caretStood());
}

}  // namespace
