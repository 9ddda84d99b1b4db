#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/ComposedCharacters.h"

using platform::composedCharacterCount;
using platform::substringOfCharacters;

TEST(ComposedCharacters, CutsCountWholeCharactersAndNeverReadPastTheText) {
    EXPECT_EQ(substringOfCharacters("2024-04-25 14:30:00", 0, 10), "2024-04-25");
    EXPECT_EQ(substringOfCharacters("2024-04-25 14:30:00", 11, 5), "14:30");
    EXPECT_EQ(substringOfCharacters("2024-04", 0, 10), "2024-04");
    EXPECT_EQ(substringOfCharacters("2024-04", 11, 5), "");
    EXPECT_EQ(substringOfCharacters("", 0, 10), "");

    // Three bytes each in UTF-8; an accented letter with its combining mark and a flag are
    // one character each.
    EXPECT_EQ(substringOfCharacters("二〇二四年四月", 2, 3), "二四年");
    EXPECT_EQ(composedCharacterCount("e\xCC\x81t\xC3\xA9"), 3u);
    EXPECT_EQ(substringOfCharacters("e\xCC\x81t\xC3\xA9", 0, 1), "e\xCC\x81");
    EXPECT_EQ(substringOfCharacters("\xF0\x9F\x87\xA8\xF0\x9F\x87\xB3x", 1, 1), "x");
    // Broken UTF-8 never ends a cut early or crashes it.
    EXPECT_EQ(composedCharacterCount("a\xFF"
                                     "b"),
              3u);
}
