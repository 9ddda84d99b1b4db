#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace frontend {

// The campus program's command line.
struct Options {
    std::optional<std::string> scriptFile;  // --script FILE
    platform::Size screen{375, 667};        // --screen WxH, in points
    bool pad = false;                       // --device pad: a tablet (768x1024 unless --screen)
    std::optional<std::string> dataDir;     // --data-dir DIR (becomes CAMPUS_HOME)
    bool window = false;                    // --window: the screen in a desktop window
    bool help = false;                      // --help
};

struct ParsedOptions {
    Options options;
    std::string error;  // empty when the arguments were usable
};

// The arguments after the program name.
ParsedOptions parseOptions(const std::vector<std::string>& arguments);

// "375x667" (whole or decimal points, each side 1 to 10000); nothing for anything else.
std::optional<platform::Size> parseScreenSize(const std::string& text);

// Why the script at `path` cannot be run, or "" when it can be read. A directory opens like a
// file but reads as nothing, so it is refused by name rather than run as an empty script.
std::string scriptFileProblem(const std::string& path);

std::string usage();

}  // namespace frontend
