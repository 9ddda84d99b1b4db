#pragma once

// What the memory probes and the upload benchmark share: a loopback server of their own in a
// forked child, so that the server's memory and time never count in the measured process, and
// the measured process's peak resident memory.

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

namespace bench {

// A memory field of this process's status ("VmHWM:", "VmRSS:"), in kB; -1 when it cannot be
// read.
inline long statusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::strtol(line.c_str() + field.size(), nullptr, 10);
    }
    return -1;
}

// Peak resident set of this process so far, in kB.
inline long peakResidentKb() {
    return statusKb("VmHWM:");
}

// Starts `serve` in a forked child; make it before this process starts any thread. `serve`
// starts its server on 127.0.0.1, tells its port (and one number of its own, such as the size
// of what it serves) through `announce`, then serves until it is killed. The child is ended
// when this object goes.
class ForkedServer {
public:
    using Announce = std::function<void(int port, std::size_t value)>;

    explicit ForkedServer(const std::function<void(const Announce&)>& serve) {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        m_child = fork();
        if (m_child == 0) {
            close(fds[0]);
            serve([out = fds[1]](int port, std::size_t value) {
                if (write(out, &port, sizeof port) != sizeof port ||
                    write(out, &value, sizeof value) != sizeof value)
                    _exit(1);
                close(out);
            });
            _exit(0);
        }
        close(fds[1]);
        if (m_child < 0 || read(fds[0], &m_port, sizeof m_port) != sizeof m_port ||
            read(fds[0], &m_value, sizeof m_value) != sizeof m_value)
            m_port = 0;
        close(fds[0]);
    }
    ~ForkedServer() { stop(); }
    // Ends the child now (also before this process leaves with _exit).
    void stop() {
        if (m_child > 0) {
            kill(m_child, SIGTERM);
            waitpid(m_child, nullptr, 0);
            m_child = -1;
        }
    }
    ForkedServer(const ForkedServer&) = delete;
    ForkedServer& operator=(const ForkedServer&) = delete;

    // 0 when the server did not start.
    int port() const { return m_port; }
    std::size_t value() const { return m_value; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(m_port); }

private:
    pid_t m_child = -1;
    int m_port = 0;
    std::size_t m_value = 0;
};

}  // namespace bench
