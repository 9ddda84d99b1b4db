// Every character the screens show is drawn: what the system face lacks, or maps to an empty
// outline, falls back to a face that has it, without changing how the system face measures.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"

namespace platform {
namespace {

// Pixels of ink (alpha past a threshold) in the columns [fromX, toX) of the image.
int inkBetween(const Image& image, double fromX, double toX) {
    int ink = 0;
    int from = std::max(0, static_cast<int>(std::ceil(fromX)));
    int to = std::min(image.pixelWidth(), static_cast<int>(std::floor(toX)));
    for (int y = 0; y < image.pixelHeight(); ++y) {
        for (int x = from; x < to; ++x) {
            if ((image.pixelAt(x, y) >> 24) >= 0x60) {
                ++ink;
            }
        }
    }
    return ink;
}

double widthOf(const std::string& text, const Font& font) {
    return TextMeasurer::current().boundingSize(text, font, Size{0, 0}).width;
}

// The text drawn on one line from the left edge of a clear bitmap as wide as it measures.
Image drawLine(const std::string& text, const Font& font) {
    Size size = TextMeasurer::current().boundingSize(text, font, Size{0, 0});
    BitmapContext context(static_cast<int>(std::ceil(size.width)) + 2,
                          static_cast<int>(std::ceil(size.height)) + 2);
    context.drawText(text, font, Color::black(), Rect{{0, 0}, {size.width + 2, size.height + 2}},
                     TextAlignment::Left, 1);
    return context.makeImage();
}

// Ink in the part of `line` where `part` stands, after `before`.
int inkOfPart(const std::string& before, const std::string& part, const std::string& line,
              const Font& font) {
    double from = widthOf(before, font);
    double to = widthOf(before + part, font);
    EXPECT_GT(to - from, 2) << "\"" << part << "\" takes no room";
    // Keep off the neighbours' edges.
    return inkBetween(drawLine(line, font), from + 1, to - 1);
}

TEST(FallbackGlyphTest, TheWeatherLineHasInkWhereEachCelsiusSignStands) {
    const std::string line = "8℃~15℃ 多云";
    for (const Font& font :
         {Font::systemFont(13), Font::systemFont(30), Font::boldSystemFont(30)}) {
        SCOPED_TRACE(font.pointSize);
        EXPECT_GT(inkOfPart("8", "℃", line, font), 0);
        EXPECT_GT(inkOfPart("8℃~15", "℃", line, font), 0);
        EXPECT_GT(inkOfPart("8℃~", "15", line, font), 0) << "the digits around it stay drawn";
    }
}

TEST(FallbackGlyphTest, ANameOutsideTheBasicCjkBlockHasInkWhereItsFirstCharacterStands) {
    Font font = Font::systemFont(30);
    EXPECT_GT(inkOfPart("", "𠀀", "𠀀宝", font), 0);
    EXPECT_GT(inkOfPart("𠀀", "宝", "𠀀宝", font), 0);
}

TEST(FallbackGlyphTest, EveryCharacterOfTheRarerBlocksAndSymbolsDrawsInk) {
    // Symbols the system face leaves blank, CJK punctuation, and one ideograph of each rarer
    // block (extension A, compatibility, extensions B to F).
    const char* const characters[] = {"℃",  "℉",  "Å",  "Ⅴ",  "Ⅹ",  "∼",  "‾",  "ˊ",    "ˋ",
                                      "ǎ",  "ǐ",  "ǒ",  "ǔ",  "ǘ",  "ǚ",  "ǜ",  "、",   "。",
                                      "，", "：", "；", "！", "？", "「", "」", "『",   "』",
                                      "《", "》", "【", "】", "（", "）", "…",  "—",    "·",
                                      "〇", "㐀", "䶵", "豈", "𠀀", "𪜀", "𫝀", "𫠠", "𬺰"};
    Font font = Font::systemFont(24);
    for (const char* character : characters) {
        Image drawn = drawLine(character, font);
        EXPECT_GT(inkBetween(drawn, 0, drawn.pixelWidth()), 0) << character << " drew nothing";
    }
}

TEST(FallbackGlyphTest, ALineWithFallbackCharactersIsAsTallAsOneWithout) {
    // Layouts compare against measured heights: a fallback face must not make a line taller.
    for (double size : {13.0, 17.0, 24.0}) {
        Font font = Font::systemFont(size);
        double plain = TextMeasurer::current().boundingSize("8~15 多云 宝", font, Size{}).height;
        EXPECT_DOUBLE_EQ(
            TextMeasurer::current().boundingSize("8℃~15℃ 多云 𠀀宝", font, Size{}).height, plain)
            << size;
        EXPECT_DOUBLE_EQ(TextMeasurer::current().lineHeight(font), plain) << size;
    }
}

}  // namespace
}  // namespace platform
