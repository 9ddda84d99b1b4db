#include "app/LineReader.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/foundation/RunLoop.h"

namespace frontend {

LineReader::LineReader(int fd, Handlers handlers)
    : m_handlers(std::make_shared<Handlers>(std::move(handlers))) {
    if (::pipe2(m_stopPipe, O_CLOEXEC) != 0) {
        m_stopPipe[0] = m_stopPipe[1] = -1;
    }
    m_thread = std::thread([this, fd] { read(fd); });
}

LineReader::~LineReader() {
    stop();
    for (int& end : m_stopPipe) {
        if (end >= 0) {
            ::close(end);
            end = -1;
        }
    }
}

void LineReader::stop() {
    if (m_stopPipe[1] >= 0) {
        char byte = 0;
        [[maybe_unused]] ssize_t written = ::write(m_stopPipe[1], &byte, 1);
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    // Lines already posted find no one to run them.
    *m_handlers = Handlers{};
}

void LineReader::read(int fd) {
    // The handlers are reached through a weak pointer: a task posted just before the reader
    // went away does nothing.
    std::weak_ptr<Handlers> handlers = m_handlers;
    auto post = [handlers](std::function<void(Handlers&)> call) {
        platform::RunLoop::main().post([handlers, call = std::move(call)] {
            if (auto alive = handlers.lock()) {
                call(*alive);
            }
        });
    };
    std::string pending;
    char buffer[4096];
    while (true) {
        pollfd watched[2] = {{fd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        int count = m_stopPipe[0] >= 0 ? 2 : 1;
        if (::poll(watched, nfds_t(count), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (count == 2 && watched[1].revents != 0) {
            return;  // stopped: no end is reported
        }
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        pending.append(buffer, size_t(got));
        size_t newline;
        while ((newline = pending.find('\n')) != std::string::npos) {
            std::string line = pending.substr(0, newline);
            pending.erase(0, newline + 1);
            post([line](Handlers& h) {
                if (h.line) {
                    h.line(line);
                }
            });
        }
    }
    // A last line without its newline is still a line.
    if (!pending.empty()) {
        post([line = pending](Handlers& h) {
            if (h.line) {
                h.line(line);
            }
        });
    }
    post([](Handlers& h) {
        if (h.end) {
            h.end();
        }
    });
}

}  // namespace frontend
