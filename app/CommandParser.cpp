#include "app/CommandParser.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace frontend {

namespace {

// Longer waits are surely typing mistakes; the front end would look hung.
constexpr double kLongestWait = 600;
constexpr int kLastPage = 1000;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

ParsedLine failure(std::string error) {
    ParsedLine parsed;
    parsed.error = std::move(error);
    return parsed;
}

ParsedLine success(Command command) {
    ParsedLine parsed;
    parsed.command = std::move(command);
    return parsed;
}

std::optional<int> parsePage(const std::string& word) {
    int page = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), page);
    if (error != std::errc() || end != word.data() + word.size() || page < 0 || page > kLastPage) {
        return std::nullopt;
    }
    return page;
}

std::optional<double> parseSeconds(const std::string& word) {
    if (word.empty()) {
        return std::nullopt;
    }
    // strtod rather than from_chars: the seconds may be written "1.5" or ".5" alike, and the
    // "C" locale is the program's locale.
    char* end = nullptr;
    double seconds = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || !std::isfinite(seconds) || seconds < 0 ||
        seconds > kLongestWait) {
        return std::nullopt;
    }
    return seconds;
}

// A coordinate on the screen, in points: a plain finite number that is not negative.
std::optional<double> parseCoordinate(const std::string& word) {
    if (word.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    double value = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || !std::isfinite(value) || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::string joined(const std::vector<std::string>& words, size_t from) {
    std::string text;
    for (size_t i = from; i < words.size(); ++i) {
        if (i > from) {
            text += ' ';
        }
        text += words[i];
    }
    return text;
}

}  // namespace

std::optional<std::vector<std::string>> splitWords(const std::string& line, std::string& error) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        if (isSpace(line[i])) {
            ++i;
            continue;
        }
        std::string word;
        while (i < line.size() && !isSpace(line[i])) {
            if (line[i] != '"') {
                word += line[i++];
                continue;
            }
            // A quoted stretch, which may sit inside a word: name="a b" is one word.
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
                    c = line[i++];
                }
                word += c;
            }
            if (!closed) {
                error = "unterminated quote";
                return std::nullopt;
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

ParsedLine parseCommandLine(const std::string& line) {
    size_t first = 0;
    while (first < line.size() && isSpace(line[first])) {
        ++first;
    }
    if (first == line.size() || line[first] == '#') {
        return {};
    }
    std::string error;
    auto split = splitWords(line, error);
    if (!split) {
        return failure(error);
    }
    const std::vector<std::string>& words = *split;
    const std::string& name = words[0];
    size_t arguments = words.size() - 1;
    auto expect = [&](size_t least, size_t most, const char* usage) -> std::optional<ParsedLine> {
        if (arguments < least) {
            return failure(std::string("missing argument: ") + usage);
        }
        if (arguments > most) {
            return failure(std::string("too many arguments: ") + usage +
                           " (quote a text with spaces)");
        }
        return std::nullopt;
    };

    Command command;
    if (name == "tap") {
        if (auto bad = expect(1, 1, "tap HANDLE|TEXT")) {
            return *bad;
        }
        command.kind = CommandKind::Tap;
        command.target = words[1];
    } else if (name == "type") {
        if (auto bad = expect(2, words.size(), "type HANDLE|TEXT TEXT")) {
            return *bad;
        }
        command.kind = CommandKind::Type;
        command.target = words[1];
        command.text = joined(words, 2);
    } else if (name == "return") {
        if (auto bad = expect(0, 0, "return")) {
            return *bad;
        }
        command.kind = CommandKind::Return;
    } else if (name == "back") {
        if (auto bad = expect(0, 0, "back")) {
            return *bad;
        }
        command.kind = CommandKind::Back;
    } else if (name == "pull") {
        if (auto bad = expect(1, 2, "pull down|up [HANDLE|TEXT]")) {
            return *bad;
        }
        if (words[1] == "down") {
            command.kind = CommandKind::PullDown;
        } else if (words[1] == "up") {
            command.kind = CommandKind::PullUp;
        } else {
            return failure("pull which way: pull down or pull up, not \"" + words[1] + "\"");
        }
        command.target = arguments == 2 ? words[2] : std::string();
    } else if (name == "swipe") {
        if (auto bad = expect(2, 2, "swipe HANDLE|TEXT PAGE")) {
            return *bad;
        }
        auto page = parsePage(words[2]);
        if (!page) {
            return failure("not a page number: \"" + words[2] + "\" (pages count from 0)");
        }
        command.kind = CommandKind::Swipe;
        command.target = words[1];
        command.page = *page;
    } else if (name == "drag") {
        if (words.size() == 5) {
            double* coordinates[] = {&command.x, &command.y, &command.toX, &command.toY};
            for (size_t i = 0; i < 4; ++i) {
                auto value = parseCoordinate(words[i + 1]);
                if (!value) {
                    return failure("not a coordinate: \"" + words[i + 1] + "\" (points, e.g. 370)");
                }
                *coordinates[i] = *value;
            }
            command.kind = CommandKind::Drag;
        } else {
            if (auto bad = expect(3, 3,
                                  "drag HANDLE|TEXT to HANDLE|TEXT, drag HANDLE|TEXT X Y, or drag "
                                  "X Y TO_X TO_Y")) {
                return *bad;
            }
            command.kind = CommandKind::Drag;
            command.target = words[1];
            if (words[2] == "to") {
                command.onto = words[3];
            } else {
                auto x = parseCoordinate(words[2]);
                auto y = parseCoordinate(words[3]);
                if (!x || !y) {
                    return failure(
                        "drag where: drag HANDLE to HANDLE, or drag HANDLE X Y in points, "
                        "not \"" +
                        words[2] + " " + words[3] + "\"");
                }
                command.x = *x;
                command.y = *y;
            }
        }
    } else if (name == "alert") {
        if (auto bad = expect(1, 1, "alert BUTTON")) {
            return *bad;
        }
        command.kind = CommandKind::Alert;
        command.target = words[1];
    } else if (name == "wait") {
        if (auto bad = expect(1, 1, "wait SECONDS")) {
            return *bad;
        }
        auto seconds = parseSeconds(words[1]);
        if (!seconds) {
            return failure("not a number of seconds from 0 to 600: \"" + words[1] + "\"");
        }
        command.kind = CommandKind::Wait;
        command.seconds = *seconds;
    } else if (name == "settle") {
        if (auto bad = expect(0, 0, "settle")) {
            return *bad;
        }
        command.kind = CommandKind::Settle;
    } else if (name == "zoom") {
        if (auto bad = expect(1, 1, "zoom FACTOR")) {
            return *bad;
        }
        char* end = nullptr;
        const double factor = std::strtod(words[1].c_str(), &end);
        if (end == words[1].c_str() || *end != '\0' || !(factor >= 0.1 && factor <= 10)) {
            return failure("not a zoom factor from 0.1 to 10: \"" + words[1] + "\"");
        }
        command.kind = CommandKind::Zoom;
        command.factor = factor;
    } else if (name == "screenshot") {
        if (auto bad = expect(1, 1, "screenshot FILE.png")) {
            return *bad;
        }
        command.kind = CommandKind::Screenshot;
        command.text = words[1];
    } else if (name == "device") {
        auto device =
            parseDeviceCommand(std::vector<std::string>(words.begin() + 1, words.end()), error);
        if (!device) {
            return failure(error);
        }
        command.kind = CommandKind::Device;
        command.device = std::move(*device);
    } else if (name == "open") {
        // The map demonstration takes no argument; the indexed list its organisation.
        if (arguments >= 1 && words[1] == "locationdemo") {
            if (auto bad = expect(1, 1, "open locationdemo")) {
                return *bad;
            }
        } else {
            // Without its organisation the indexed list fails with the ids it takes: the
            // screens show none.
            if (auto bad = expect(1, 2, "open index ORGID, or open locationdemo")) {
                return *bad;
            }
            if (words[1] != "index") {
                return failure("open what: open index ORGID or open locationdemo, not \"" +
                               words[1] + "\"");
            }
            command.text = arguments == 2 ? words[2] : std::string();
        }
        command.kind = CommandKind::Open;
        command.target = words[1];
    } else if (name == "share") {
        // Each operation takes its own words: the list none, a screen its platform, the
        // follow offer a platform and the account to offer.
        const std::string what = arguments >= 1 ? words[1] : "";
        const char* usage = what == "list"           ? "share list"
                            : what == "follow"       ? "share follow PLATFORM ACCOUNT"
                            : what == "theme"        ? "share theme 0|1"
                            : what == "orientations" ? "share orientations MASK"
                                                     : "share list|edit|signin PLATFORM";
        const size_t wants = what == "list" ? 1 : what == "follow" ? 3 : 2;
        if (auto bad = expect(wants, wants, usage)) {
            return *bad;
        }
        if (what != "list" && what != "edit" && what != "signin" && what != "follow" &&
            what != "theme" && what != "orientations") {
            return failure(
                "share what: share list, share edit PLATFORM, share signin PLATFORM, share "
                "follow PLATFORM ACCOUNT, share theme 0|1 or share orientations MASK, not \"" +
                what + "\"");
        }
        if (what == "theme" && words[2] != "0" && words[2] != "1") {
            return failure("share theme takes 0 or 1, not \"" + words[2] + "\"");
        }
        if (what == "orientations") {
            const std::string& mask = words[2];
            if (mask.empty() || mask.size() > 2 ||
                mask.find_first_not_of("0123456789") != std::string::npos || std::stoi(mask) > 30) {
                return failure("not an orientation mask: \"" + mask +
                               "\" (2 portrait, 30 all four; bit n for orientation n)");
            }
        }
        command.kind = CommandKind::Share;
        command.target = what;
        command.text = arguments >= 2 ? words[2] : "";
        if (arguments == 3) {
            command.account = words[3];
        }
    } else if (name == "display") {
        if (auto bad = expect(0, 0, "display")) {
            return *bad;
        }
        command.kind = CommandKind::Display;
    } else if (name == "help") {
        if (auto bad = expect(0, 0, "help")) {
            return *bad;
        }
        command.kind = CommandKind::Help;
    } else if (name == "quit") {
        if (auto bad = expect(0, 0, "quit")) {
            return *bad;
        }
        command.kind = CommandKind::Quit;
    } else {
        return failure("unknown command: \"" + name + "\" (help lists the commands)");
    }
    return success(std::move(command));
}

std::string commandHelp(std::optional<int> introLastPage) {
    // A newcomer's way in first, from the screen shown (a tablet shows no introduction, nor
    // does a phone once it has been swiped through), with the demo services' sample teacher
    // (the README names the student too).
    std::string wayIn;
    if (introLastPage) {
        wayIn = "To go in: swipe intro " + std::to_string(*introLastPage) +
                " (through the introduction; past its last picture is the client).\n";
    }
    return wayIn +
           "To sign in: tap 会议, then type account 20050031, type password teacher123, "
           "return, tap login.\n"
           "Then open a screen: tap a tab, tile or row by its text (tap 通讯录) or its handle.\n"
           "commands:\n"
           "  tap HANDLE|TEXT          tap what the handle names or what shows the text\n"
           "  type HANDLE|TEXT TEXT    type into a field (quote text with spaces: \"a b\")\n"
           "  return                   the keyboard's return key\n"
           "  back                     the navigation bar's back button\n"
           "  pull down [HANDLE]       pull a list down to refresh it\n"
           "  pull up [HANDLE]         pull a list up to load more\n"
           "  swipe HANDLE PAGE        swipe a pager or grid to a page (from 0)\n"
           "  drag HANDLE to HANDLE    press the first, move the finger onto the second, lift\n"
           "  drag HANDLE X Y          press it, move the finger to the point X Y, lift\n"
           "  drag X Y TO_X TO_Y       drag a bare finger across the screen (e.g. drag 370 300\n"
           "                           60 300 swipes the side menu open)\n"
           "  alert BUTTON             press a button of the alert on screen\n"
           "  wait SECONDS             let the client run that long\n"
           "  settle                   let what the client has under way come to pass (replies,\n"
           "                           transitions, a toast's hiding, a next screen shown after\n"
           "                           a moment) without sitting out its idle time\n"
           "  screenshot FILE.png      save the screen as a picture\n"
           "  zoom FACTOR              zoom the web page on screen by the factor (zoom 2 spreads\n"
           "                           the fingers to twice the size, zoom 0.5 pinches back),\n"
           "                           within the page's bounds\n"
           "  open index ORGID         push the organisation's members indexed by pinyin\n"
           "                           initial (no screen of the client opens that list;\n"
           "                           open index alone lists the organisations' ids)\n"
           "  open locationdemo        push the location SDK's demonstration map screen\n"
           "  share list               present the share SDK's list of share platforms\n"
           "  share follow PLATFORM ACCOUNT  have the share SDK's edit screen offer following\n"
           "                           the platform's official ACCOUNT\n"
           "  share edit PLATFORM      present the share SDK's edit screen for the platform\n"
           "  share signin PLATFORM    present the share SDK's sign-in page for the platform\n"
           "  share theme 0|1          give the share SDK's screens the look of theme 0 or 1\n"
           "  share orientations MASK  the orientations the share SDK's screens take (2\n"
           "                           portrait, 30 all four: bit n for orientation n)\n" +
           deviceCommandHelp() +
           "  display                  how many changes the screen has shown so far (a\n"
           "                           window draws again only when it moves)\n"
           "  help                     this list\n"
           "  quit                     leave (so does the end of the input)\n"
           "Handles are the short names before each line of the screen (b1, f2, r3, t0.4, "
           "tab1).\n";
}

}  // namespace frontend
