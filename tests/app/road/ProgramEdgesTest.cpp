// The campus program at its edges, run as a user runs it: against a server that sends text
// meant to drive the user's terminal, and with a script that is not a file.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "fakes/FakeSchoolServices.h"
#include "tests/support/TempHome.h"

namespace {

struct ProgramRun {
    std::string output;  // standard output and standard error together
    int status = -1;
};

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

ProgramRun runCampus(const std::string& services, const std::filesystem::path& script,
                     const std::filesystem::path& dataDir) {
    std::string command = "CAMPUS_SERVICES=" + shellQuoted(services) + " " +
                          shellQuoted(CAMPUS_PROGRAM) + " --script " +
                          shellQuoted(script.string()) + " --data-dir " +
                          shellQuoted(dataDir.string()) + " 2>&1";
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return run;
    }
    std::array<char, 4096> buffer{};
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.output.append(buffer.data(), got);
    }
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

bool shows(const std::string& output, const std::string& text) {
    return output.find(text) != std::string::npos;
}

// The length of the UTF-8 sequence a byte starts, or 0 when it starts none.
size_t sequenceLength(unsigned char byte) {
    if (byte < 0x80) {
        return 1;
    }
    if (byte >= 0xC2 && byte < 0xE0) {
        return 2;
    }
    if (byte >= 0xE0 && byte < 0xF0) {
        return 3;
    }
    return byte >= 0xF0 && byte < 0xF5 ? 4 : 0;
}

// What a terminal would act on or split a line at: a C0 control but the line feed, DEL, a C1
// control, U+2028 or U+2029, or bytes that are not UTF-8. "" when there is none.
std::string firstTerminalHazard(const std::string& output) {
    for (size_t i = 0; i < output.size();) {
        auto byte = static_cast<unsigned char>(output[i]);
        std::string at = " at " + std::to_string(i);
        if ((byte < 0x20 && byte != '\n') || byte == 0x7F) {
            return "control byte " + std::to_string(byte) + at;
        }
        size_t length = sequenceLength(byte);
        if (length == 0 || i + length > output.size()) {
            return "invalid UTF-8" + at;
        }
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(output[i + k]) & 0xC0) != 0x80) {
                return "invalid UTF-8" + at;
            }
        }
        if (byte == 0xC2 && static_cast<unsigned char>(output[i + 1]) < 0xA0) {
            return "C1 control" + at;
        }
        if (output.compare(i, 3, "\u2028") == 0 || output.compare(i, 3, "\u2029") == 0) {
            return "line separator" + at;
        }
        i += length;
    }
    return "";
}

TEST(CampusProgram, ServerTextCannotDriveTheTerminalOrForgeALine) {
    fakes::FakeSchoolServices server;
    server.start();
    // A news title that clears the screen, sets the terminal's title, rings, and fakes a row
    // of its own after CR LF, NUL, NEL and a line separator.
    const std::string title =
        R"(Hi\u001b[2J\u001b]0;pwned\u0007\r\nr9  cell \"forged\"\u0000\u0085\u2028end)";
    server.setReply("GET", "/vobels/services/api/news/getNews.do",
                    {200, "application/json;charset=UTF-8",
                     R"({"News":[{"id":"1","xwbt":")" + title + R"(","fbsj":"2024-04-16"}]})"});
    // A page title with the same, and bytes that are not UTF-8.
    server.setReply("GET", "/CM/login.html",
                    {200, "text/html;charset=UTF-8",
                     "<html><head><title>Page\x1b]0;owned\x07\xff\xfe\x9b"
                     "31m\r\nfake line</title></head><body><p>x</p></body></html>"});

    testsupport::TempHome home;
    std::filesystem::path script = home.path() / "hostile.campus";
    // The attendance page asks for a sign-in first.
    std::ofstream(script) << "swipe intro 3\ntap 移动考勤\ntype account 20050031\n"
                             "type password teacher123\nreturn\ntap login\nsettle\ntap 移动考勤\n";
    ProgramRun run = runCampus(server.baseUrl(), script, home.path() / "state");

    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(firstTerminalHazard(run.output), "") << run.output;
    // The news row, escaped on one line.
    EXPECT_TRUE(shows(
        run.output, R"(cell "Hi\x1b[2J\x1b]0;pwned\x07\r\nr9  cell "forged"\x00\u0085\u2028end")"))
        << run.output;
    // The page title arrives with its control and broken bytes made harmless (the HTML parser
    // already replaces what a title may not hold), on the page's one line.
    EXPECT_TRUE(shows(run.output, "web \"Page")) << run.output;
    EXPECT_TRUE(shows(run.output, "]0;owned")) << run.output;
    EXPECT_TRUE(shows(run.output, "\uFFFD")) << run.output;
    EXPECT_FALSE(shows(run.output, "\nfake line")) << run.output;
}

TEST(CampusProgram, AScriptThatIsADirectoryIsRefusedWithAReason) {
    testsupport::TempHome home;
    ProgramRun run = runCampus("http://127.0.0.1:9", home.path(), home.path() / "state");
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_EQ(run.output, "campus: the script " + home.path().string() +
                              " is a directory; give a file of commands\n");
}

}  // namespace
