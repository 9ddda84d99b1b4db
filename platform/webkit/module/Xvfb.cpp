#include "platform/webkit/module/Xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform::webkit {

namespace {

// Xvfb writes the display number it took to the descriptor once it accepts connections
// (-displayfd), so no number is guessed and none is waited for by the clock.
std::string readDisplayNumber(int fd, std::string* error) {
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            *error = "Xvfb did not start within 10 s";
            return {};
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, int(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        char buffer[32];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *error = "Xvfb ended before it took a display (is the xvfb package installed?)";
            return {};
        }
        number.append(buffer, size_t(n));
        if (number.find('\n') != std::string::npos) {
            number.erase(number.find('\n'));
            return number;
        }
    }
}

}  // namespace

namespace {
bool g_owned = false;
}  // namespace

bool ownsDisplay() {
    return g_owned;
}

std::string ensureDisplay(std::string* error) {
    if (const char* display = std::getenv("DISPLAY"); display && *display)
        return display;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        *error = std::string("no pipe for Xvfb: ") + std::strerror(errno);
        return {};
    }
    const pid_t parent = getpid();
    // Made before the fork: the child of a process with other threads may not allocate (one
    // of them may hold the allocator's lock, which the child would wait on for ever).
    const std::string fdText = std::to_string(pipeFds[1]);
    const pid_t child = fork();
    if (child < 0) {
        *error = std::string("cannot start Xvfb: ") + std::strerror(errno);
        close(pipeFds[0]);
        close(pipeFds[1]);
        return {};
    }
    if (child == 0) {
        // Ends with the thread that starts it (GTK's, which lives as long as the process),
        // however the client ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        const int quiet = open("/dev/null", O_RDWR);
        dup2(quiet, STDIN_FILENO);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        // The pipe's end stays open across the exec, for Xvfb to write to.
        fcntl(pipeFds[1], F_SETFD, 0);
        execlp("Xvfb", "Xvfb", "-displayfd", fdText.c_str(), "-screen", "0", "1920x1200x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::string number = readDisplayNumber(pipeFds[0], error);
    close(pipeFds[0]);
    if (number.empty()) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
        if (error->empty())
            *error = "Xvfb gave no display";
        return {};
    }
    // Not ended at exit by us: GTK's thread still talks to it then, and a display gone under
    // it ends the process with a failure. The kernel ends it when that thread goes, which is
    // when the process does.
    g_owned = true;
    const std::string display = ":" + number;
    setenv("DISPLAY", display.c_str(), 1);
    return display;
}

}  // namespace platform::webkit
