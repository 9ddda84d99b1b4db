#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/TerminalText.h"

namespace platform {
namespace {

TEST(TerminalText, OrdinaryTextReadsUnchanged) {
    for (const char* text : {"", "岚溪资讯", "r0  cell \"校运会\" (selected)", "C:\\path \\n",
                             "emoji 😀 and U+00A0\u00a0and U+2027\u2027"}) {
        EXPECT_EQ(terminalSafeText(text), text);
    }
}

TEST(TerminalText, ControlCharactersShowAsEscapesSoNoneReachesTheTerminal) {
    EXPECT_EQ(terminalSafeText("a\nb\r\nc\td"), "a\\nb\\r\\nc\\td");
    EXPECT_EQ(terminalSafeText("\x1b[2J\x1b]0;title\x07"), "\\x1b[2J\\x1b]0;title\\x07");
    EXPECT_EQ(terminalSafeText(std::string("nul\0end", 7)), "nul\\x00end");
    EXPECT_EQ(terminalSafeText("del\x7f"), "del\\x7f");
    // C1 codes (NEL, CSI) and the line and paragraph separators.
    EXPECT_EQ(terminalSafeText("a\u0085b\u009b31m"), "a\\u0085b\\u009B31m");
    EXPECT_EQ(terminalSafeText("line\u2028para\u2029"), "line\\u2028para\\u2029");
}

TEST(TerminalText, BytesThatAreNotUTF8BecomeReplacementCharacters) {
    const std::string fffd = "\uFFFD";
    EXPECT_EQ(terminalSafeText("a\xff"
                               "b"),
              "a" + fffd + "b");
    // A lone C1 byte, a truncated sequence at the end, an overlong form, a surrogate.
    EXPECT_EQ(terminalSafeText("\x9b"
                               "31m"),
              fffd + "31m");
    EXPECT_EQ(terminalSafeText("end\xe5\xb2"), "end" + fffd);
    EXPECT_EQ(terminalSafeText("\xc0\xaf"), fffd + fffd);
    EXPECT_EQ(terminalSafeText("\xed\xa0\x80"), fffd + fffd + fffd);
    // Valid text around the damage is kept.
    EXPECT_EQ(terminalSafeText("岚\xfe溪"), "岚" + fffd + "溪");
}

}  // namespace
}  // namespace platform
