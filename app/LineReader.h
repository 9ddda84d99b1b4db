#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace frontend {

// Reads lines from a file descriptor (the companion terminal's standard input) on a thread
// of its own and hands each to the main run loop, so a window can keep drawing and taking
// clicks while nobody types. Lines are run in the order read, on the main thread; the end of
// the input is reported there once. Stopping (or destroying the reader) ends the thread at
// once, even while it waits for input.
class LineReader {
public:
    struct Handlers {
        std::function<void(const std::string&)> line;
        std::function<void()> end;
    };

    LineReader(int fd, Handlers handlers);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    void stop();

private:
    void read(int fd);

    // Shared with the posted tasks, which may run after the reader is gone.
    std::shared_ptr<Handlers> m_handlers;
    int m_stopPipe[2]{-1, -1};
    std::thread m_thread;
};

}  // namespace frontend
