#include <gtest/gtest.h>

#include "platform/foundation/TextSearch.h"

using platform::containsIgnoringCase;

TEST(TextSearch, FindsPartsWhateverTheirCaseAndNothingForAnEmptyPart) {
    EXPECT_TRUE(containsIgnoringCase("ANNIE Liu", "an"));
    EXPECT_TRUE(containsIgnoringCase("anna", "ANN"));
    EXPECT_TRUE(containsIgnoringCase("朱小安", "小安"));
    EXPECT_FALSE(containsIgnoringCase("朱小安", "小an"));
    // Case folding beyond ASCII: the sharp s folds to "ss", Greek and Cyrillic letters too.
    EXPECT_TRUE(containsIgnoringCase("Straße", "STRASSE"));
    EXPECT_TRUE(containsIgnoringCase("ΣΟΦΙΑ", "σοφ"));
    EXPECT_TRUE(containsIgnoringCase("Мария", "МАР"));
    EXPECT_FALSE(containsIgnoringCase("anna", ""));
    EXPECT_FALSE(containsIgnoringCase("", "a"));
    // Broken UTF-8 is searched, never read past.
    EXPECT_TRUE(
        containsIgnoringCase("a\xFF"
                             "B",
                             "b"));
}
