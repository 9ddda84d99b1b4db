#pragma once

// Runs the campus program on a script and reads the screens it printed.

#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <array>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace campusrun {

struct ProgramRun {
    std::string output;
    int status = -1;
};

inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The program's standard output and exit status. It runs in `directory` (where a script's
// screenshots land), without CAMPUS_SERVICES so that it starts its own demo services, with
// the extra environment assignments ("NAME=value") and program arguments (such as "--device",
// "pad") given; its log lines (standard error) are left out of the screens.
inline ProgramRun runCampus(const std::filesystem::path& directory,
                            const std::filesystem::path& script,
                            const std::filesystem::path& dataDir,
                            const std::vector<std::string>& environment = {},
                            const std::vector<std::string>& arguments = {}) {
    std::string command = "cd " + shellQuoted(directory.string()) + " && env -u CAMPUS_SERVICES";
    for (const auto& assignment : environment) command += " " + shellQuoted(assignment);
    command += " " + shellQuoted(CAMPUS_PROGRAM);
    for (const auto& argument : arguments) command += " " + shellQuoted(argument);
    command += " --script " + shellQuoted(script.string()) + " --data-dir " +
               shellQuoted(dataDir.string()) + " 2>/dev/null";
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer{};
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The printed screens: the first one after the launch, then one per command, each headed by
// the command's "> " line.
class Transcript {
public:
    explicit Transcript(const std::string& output) {
        std::istringstream lines(output);
        std::string line;
        m_screens.push_back({"(launch)", ""});
        while (std::getline(lines, line)) {
            if (line.rfind("> ", 0) == 0)
                m_screens.push_back({line.substr(2), ""});
            else
                m_screens.back().text += line + "\n";
        }
    }

    std::string launch() const { return m_screens.front().text; }

    // What the n-th run of the command printed (n from 1), or a note that it did not run.
    std::string after(const std::string& command, int n = 1) const {
        for (const auto& screen : m_screens) {
            if (screen.command == command && --n == 0)
                return screen.text;
        }
        return "(the command \"" + command + "\" did not run)";
    }

private:
    struct Screen {
        std::string command;
        std::string text;
    };
    std::vector<Screen> m_screens;
};

inline bool shows(const std::string& screen, const std::string& text) {
    return screen.find(text) != std::string::npos;
}

// Whether the run came to the end of its script well: the program exited with 0, no command
// failed, and every listed screenshot was written in `directory`.
inline ::testing::AssertionResult ranToTheEnd(const ProgramRun& run,
                                              const std::filesystem::path& directory,
                                              std::initializer_list<const char*> pictures = {}) {
    std::string faults;
    if (run.status != 0)
        faults += "exit status " + std::to_string(run.status) + "\n";
    if (shows(run.output, "error: "))
        faults += "a command failed\n";
    for (const char* picture : pictures)
        if (!std::filesystem::exists(directory / picture))
            faults += std::string("no ") + picture + "\n";
    if (faults.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << faults << run.output;
}

}  // namespace campusrun
