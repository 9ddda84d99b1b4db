#include "app/Options.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace frontend {

namespace {

constexpr double kLargestSide = 10000;

std::optional<double> parseSide(const std::string& text) {
    // strtod would also take signs, spaces, "inf" and hex: a side starts with a digit.
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    char* end = nullptr;
    double side = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(side) || side < 1 ||
        side > kLargestSide) {
        return std::nullopt;
    }
    return side;
}

}  // namespace

std::optional<platform::Size> parseScreenSize(const std::string& text) {
    size_t cross = text.find('x');
    if (cross == std::string::npos) {
        return std::nullopt;
    }
    auto width = parseSide(text.substr(0, cross));
    auto height = parseSide(text.substr(cross + 1));
    if (!width || !height) {
        return std::nullopt;
    }
    return platform::Size{*width, *height};
}

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    Options& options = parsed.options;
    bool screenGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool takesValue = argument == "--script" || argument == "--screen" ||
                          argument == "--data-dir" || argument == "--device";
        if (takesValue && i + 1 >= arguments.size()) {
            parsed.error = argument + " needs a value";
            return parsed;
        }
        if (argument == "--script") {
            options.scriptFile = arguments[++i];
        } else if (argument == "--screen") {
            auto size = parseScreenSize(arguments[++i]);
            if (!size) {
                parsed.error = "not a screen size: \"" + arguments[i] + "\" (write it as 375x667)";
                return parsed;
            }
            options.screen = *size;
            screenGiven = true;
        } else if (argument == "--data-dir") {
            if (arguments[++i].empty()) {
                parsed.error = "--data-dir needs a directory";
                return parsed;
            }
            options.dataDir = arguments[i];
        } else if (argument == "--device") {
            const std::string& device = arguments[++i];
            if (device != "phone" && device != "pad") {
                parsed.error = "not a device: \"" + device + "\" (phone or pad)";
                return parsed;
            }
            options.pad = device == "pad";
        } else if (argument == "--window") {
            options.window = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else {
            parsed.error = "unknown argument: \"" + argument + "\"";
            return parsed;
        }
    }
    if (options.pad && !screenGiven) {
        options.screen = platform::Size{768, 1024};
    }
    if (options.window && options.scriptFile) {
        // The window is for a person; a script's screens are checked in the terminal.
        parsed.error = "--window and --script do not go together";
        return parsed;
    }
    return parsed;
}

std::string scriptFileProblem(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return "the script " + path + " is a directory; give a file of commands";
    }
    if (!std::ifstream(path)) {
        return "cannot read the script " + path;
    }
    return "";
}

std::string usage() {
    return "usage: campus [--script FILE | --window] [--device phone|pad] [--screen WxH]\n"
           "              [--data-dir DIR] [--help]\n"
           "  Runs the campus client and shows its screen as text; type commands (help lists\n"
           "  them) or give them in a script file.\n"
           "  --script FILE   run the commands of FILE, printing each one and the screen after\n"
           "                  it; the exit status is 1 when a command failed\n"
           "  --window        show the screen in a window (at the screen's scale, 2x): the mouse\n"
           "                  is the finger (click taps, drag pans, the wheel scrolls), the\n"
           "                  keyboard types into the field being edited; commands still work\n"
           "                  in the terminal (device commands among them)\n"
           "  --device pad    a tablet (its screens, popovers and sheets) of 768x1024 points;\n"
           "                  phone (the default) is the phone\n"
           "  --screen WxH    the screen held upright, in points (default 375x667, 768x1024\n"
           "                  for the tablet)\n"
           "  --data-dir DIR  where the client keeps its state (sets CAMPUS_HOME)\n"
           "  Without CAMPUS_SERVICES=http://HOST:PORT the demo school services start on a free\n"
           "  loopback port; CAMPUS_DEMO_STORE_VERSION=V makes their store offer version V.\n";
}

}  // namespace frontend
