#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/LineReader.h"
#include "platform/foundation/RunLoop.h"

namespace frontend {
namespace {

// The companion terminal's input, through a pipe the test writes to.
class LineReaderTest : public ::testing::Test {
protected:
    LineReaderTest() { EXPECT_EQ(::pipe(fds), 0); }
    ~LineReaderTest() override {
        for (int fd : fds) {
            if (fd >= 0)
                ::close(fd);
        }
        platform::RunLoop::main().reset();
    }

    void write(const std::string& text) {
        ASSERT_EQ(::write(fds[1], text.data(), text.size()), ssize_t(text.size()));
    }
    void closeInput() {
        ::close(fds[1]);
        fds[1] = -1;
    }

    LineReader::Handlers recording() {
        return {[this](const std::string& line) { lines.push_back(line); }, [this] { ++ends; }};
    }

    int fds[2]{-1, -1};
    std::vector<std::string> lines;
    int ends = 0;
};

TEST_F(LineReaderTest, LinesRunOnTheMainLoopInOrderAndTheEndIsReportedOnce) {
    LineReader reader(fds[0], recording());
    write("device location 31.2 121.4\ntap 通");
    write("知公告\n\nback");
    closeInput();
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return ends > 0; }));
    platform::RunLoop::main().runPending();
    // A line split between reads is one line; the last line needs no newline.
    EXPECT_EQ(lines,
              (std::vector<std::string>{"device location 31.2 121.4", "tap 通知公告", "", "back"}));
    EXPECT_EQ(ends, 1);
}

TEST_F(LineReaderTest, StoppingWhileWaitingForInputEndsAtOnceAndRunsNothingMore) {
    {
        LineReader reader(fds[0], recording());
        write("tap b1\n");
        ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return !lines.empty(); }));
        write("tap b2\n");
        reader.stop();
    }
    platform::RunLoop::main().runPending();
    // Whatever the reader had read when it stopped finds no one to run it.
    EXPECT_EQ(lines, std::vector<std::string>{"tap b1"});
    EXPECT_EQ(ends, 0);
}

}  // namespace
}  // namespace frontend
