#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/Command.h"

namespace frontend {

// A line of input read as a command: a command, nothing (a blank line or a "#" comment), or
// the one-line reason it is not a command.
struct ParsedLine {
    std::optional<Command> command;
    std::string error;

    bool isBlank() const { return !command && error.empty(); }
};

// Splits a line into words at spaces and tabs. Double quotes keep spaces inside one word
// ("a b"), and inside quotes a backslash keeps a following quote or backslash. Gives nothing
// (and the reason in `error`) for an unterminated quote.
std::optional<std::vector<std::string>> splitWords(const std::string& line, std::string& error);

// Reads one line: tap TARGET, type TARGET TEXT..., return, back, pull down|up [TARGET],
// swipe TARGET PAGE, drag TARGET to TARGET, drag TARGET X Y, drag X Y TO_X TO_Y, alert BUTTON,
// wait SECONDS, settle, screenshot FILE.png, device ..., help, quit.
ParsedLine parseCommandLine(const std::string& line);

// What `help` prints: the steps that take a newcomer in, then one line per command. While the
// introduction shows, the first step swipes to `introLastPage`, its page past the pictures;
// without it the first step is signing in.
std::string commandHelp(std::optional<int> introLastPage = std::nullopt);

}  // namespace frontend
