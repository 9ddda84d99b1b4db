// Text is laid out only as far as its box could show it, whatever length it is handed: a
// generous bound from the font's size, the rest cut with an ellipsis. These sit at the bound of
// a 10-point font in a box 100 points wide with no height limit: 410 lines (four screens of
// 1024 points, a line of at least an em) of at most 41 characters (a glyph of at least a
// quarter em), 16,810 characters in all.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/PangoTextMeasurer.h"
#include "platform/graphics/TextCut.h"
#include "platform/graphics/TextPositions.h"

namespace platform {
namespace {

const Font kSmall = Font::systemFont(10);
constexpr double kWidth = 100;
constexpr std::size_t kLines = 410;
constexpr std::size_t kCharacters = 16810;
const std::string kEllipsis = "\u2026";

// `count` lines of "x".
std::string lines(std::size_t count) {
    std::string text = "x";
    for (std::size_t i = 1; i < count; ++i) text += "\nx";
    return text;
}

std::string repeated(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
}

// The rightmost column any ink reaches, -1 for none.
int rightmostInk(const Image& image) {
    int right = -1;
    for (int y = 0; y < image.pixelHeight(); ++y)
        for (int x = image.pixelWidth() - 1; x > right; --x)
            if ((image.pixelAt(x, y) >> 24) >= 0x40)
                right = x;
    return right;
}

TEST(TextCutTest, TheBoundGrowsWithTheBoxAndShrinksWithTheFont) {
    const TextCutBound grown = textCutBound(kSmall, TextBox{kWidth, 0, 0});
    EXPECT_EQ(grown.lines, kLines);
    EXPECT_EQ(grown.characters, kCharacters);
    // A box of set height: 41 characters on each of 21 lines; a line limit holds it further.
    const TextCutBound box = textCutBound(kSmall, TextBox{kWidth, 200, 0});
    EXPECT_EQ(box.lines, 21u);
    EXPECT_EQ(box.characters, 41u * 21);
    EXPECT_EQ(textCutBound(kSmall, TextBox{kWidth, 200, 2}).characters, 41u * 2);
    // Twice the font, half the characters a line and half the lines.
    const TextCutBound large = textCutBound(Font::systemFont(20), TextBox{kWidth, 200, 0});
    EXPECT_EQ(large.lines, 11u);
    EXPECT_EQ(large.characters, 21u * 11);
    // With no limit either way, four screens of text at most: 410 x 103 characters a screen.
    EXPECT_EQ(textCutBound(kSmall, TextBox{}).characters, 4u * 410 * 103);
    // A line never broken may be scrolled along: all of that may stand on it.
    EXPECT_EQ(textCutBound(kSmall, TextBox{0, 12, 1}).characters, 4u * 410 * 103);
}

TEST(TextCutTest, ATextIsWholeUpToTheBoundAndCutWithAnEllipsisPastIt) {
    const TextBox box{kWidth, 0, 0};
    const std::string whole(kCharacters, 'x');
    EXPECT_EQ(cutToBox(whole, kSmall, box), whole);
    EXPECT_EQ(cutToBox(whole + "y", kSmall, box), whole + kEllipsis);
    // Characters, not bytes: ideographs of three bytes each.
    const std::string ideographs = repeated("校", kCharacters);
    EXPECT_EQ(cutToBox(ideographs, kSmall, box), ideographs);
    EXPECT_EQ(cutToBox(ideographs + "校", kSmall, box), ideographs + kEllipsis);
    // A composed character the bound falls inside is kept whole.
    const std::string accented = std::string(kCharacters - 1, 'x') + "e\u0301\u0302";
    EXPECT_EQ(cutToBox(accented + "z", kSmall, box), accented + kEllipsis);
    // Bytes that are not UTF-8 count one each.
    const std::string broken(kCharacters, '\xFF');
    EXPECT_EQ(cutToBox(broken, kSmall, box), broken);
    EXPECT_EQ(cutToBox(broken + "\xFF", kSmall, box), broken + kEllipsis);
}

TEST(TextCutTest, LinesPastTheLastTheBoxCouldHoldAreCutAtTheirBreak) {
    const TextBox box{kWidth, 0, 0};
    EXPECT_EQ(cutToBox(lines(kLines), kSmall, box), lines(kLines));
    EXPECT_EQ(cutToBox(lines(kLines + 1), kSmall, box), lines(kLines) + kEllipsis);
    // "\r\n" is one break, and so are a lone "\r" and the Unicode separators.
    const std::string crlf = repeated("x\r\n", kLines - 1) + "x";
    EXPECT_EQ(cutToBox(crlf, kSmall, box), crlf);
    EXPECT_EQ(cutToBox(crlf + "\u2029x", kSmall, box), crlf + kEllipsis);
}

TEST(TextCutTest, MeasurementLaysOutOnlyWhatTheBoxCouldShow) {
    PangoTextMeasurer pango;
    const Size whole = pango.boundingSize(lines(kLines), kSmall, Size{kWidth, 0});
    EXPECT_NEAR(whole.height, kLines * pango.lineHeight(kSmall), 0.5);
    const double x = pango.boundingSize("x", kSmall, Size{}).width;
    EXPECT_NEAR(whole.width, x, 0.01);
    // One line more: as many lines, the last of them ends in the ellipsis.
    const Size cut = pango.boundingSize(lines(kLines + 1), kSmall, Size{kWidth, 0});
    EXPECT_NEAR(cut.height, whole.height, 0.01);
    EXPECT_NEAR(cut.width, pango.boundingSize("x" + kEllipsis, kSmall, Size{}).width, 0.01);

    // Four million characters of a hostile headline measure as the part that could show.
    const std::string hostile = repeated("\u202e\u05d0a\u200f", 1000000);
    const Size huge = pango.boundingSize(hostile, kSmall, Size{kWidth, 0});
    EXPECT_EQ(huge, pango.boundingSize(cutToBox(hostile, kSmall, TextBox{kWidth, 0, 0}), kSmall,
                                       Size{kWidth, 0}));
    // However wide its glyphs (an em at most), no more than twenty screens of it.
    EXPECT_GT(huge.height, 0);
    EXPECT_LE(huge.height, 20 * 1024);
}

TEST(TextCutTest, DrawingAndCaretPlacesCutWhereMeasurementDoes) {
    // Drawn with no height limit, the line past the last ends the text as "x…".
    const double height = kLines * PangoTextMeasurer().lineHeight(kSmall) + 40;
    auto drawn = [&](const std::string& text) {
        BitmapContext context(Size{kWidth, height});
        context.drawText(text, kSmall, Color::black(), Rect{{0, 0}, {kWidth, 0}},
                         TextAlignment::Left, 0);
        return rightmostInk(context.makeImage());
    };
    const int wholeRight = drawn(lines(kLines));
    ASSERT_GT(wholeRight, 0);
    EXPECT_LT(wholeRight, 8);
    EXPECT_GT(drawn(lines(kLines + 1)), wholeRight + 4);

    // A caret past the cut stands at the end of what is shown.
    const std::string text = lines(kLines + 1);
    const Rect end = textInsertionRect(text, kSmall, kWidth, TextAlignment::Left, text.size());
    const Rect shownEnd = textInsertionRect(lines(kLines) + kEllipsis, kSmall, kWidth,
                                            TextAlignment::Left, 2 * kLines);
    EXPECT_EQ(end, shownEnd);
}

TEST(TextCutTest, DrawingLaysOutOnlyWhatItsRectAndLineLimitCouldShow) {
    // A headline of eight million characters, drawn where a label would: its pixels are the
    // same however much of it is laid out, so only what was laid out tells the cost.
    const std::string headline(8u << 20, 'x');
    const Font font = Font::systemFont(17);
    auto laidOut = [&](const Rect& rect, int maxLines) {
        BitmapContext context(Size{320, 120});
        context.drawText(headline, font, Color::black(), rect, TextAlignment::Left, maxLines);
        return context.charactersLaidOut();
    };
    // Two lines at most, however high the rect: the bound of two lines and its ellipsis.
    const std::size_t twoLines = textCutBound(font, TextBox{300, 0, 2}).characters + 1;
    EXPECT_GT(laidOut(Rect{{0, 0}, {300, 0}}, 2), 0u);
    EXPECT_LE(laidOut(Rect{{0, 0}, {300, 0}}, 2), twoLines);
    // As many lines as 40 points hold.
    const std::size_t fortyPoints = textCutBound(font, TextBox{300, 40, 0}).characters + 1;
    EXPECT_LE(laidOut(Rect{{0, 0}, {300, 40}}, 0), fortyPoints);
    // Only a rect that grows with its text has the screens' bound, far more.
    EXPECT_GT(laidOut(Rect{{0, 0}, {300, 0}}, 0), 20 * fortyPoints);
}

}  // namespace
}  // namespace platform
