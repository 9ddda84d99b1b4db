// One cold start of the client, for the startup benchmark: launch the application against the
// services named by CAMPUS_SERVICES, run the main loop until the home page shows page 1 of the
// news, then print the elapsed time since the process started and the peak resident memory.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>

#include "bench/HomePage.h"
#include "platform/foundation/RunLoop.h"
#include "shell/AppDelegate.h"

namespace {

// Seconds since this process was created, read from the kernel so static initialisation and
// loading count too.
double secondsSinceProcessStart() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::FILE* stat = std::fopen("/proc/self/stat", "r");
    if (!stat)
        return -1;
    unsigned long long startTicks = 0;
    // Field 22 is the start time in clock ticks since boot.
    int scanned = std::fscanf(stat,
                              "%*d %*s %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d "
                              "%*d %*d %*d %*d %*d %llu",
                              &startTicks);
    std::fclose(stat);
    if (scanned != 1)
        return -1;
    double started = static_cast<double>(startTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 - started;
}

}  // namespace

int main() {
    platform::RunLoop::main().bindToCurrentThread();
    auto app = AppDelegate::launchApplication();
    auto home = bench::homePage(*app);
    bool shown =
        home && platform::RunLoop::main().runUntil([&] { return home->allNewsArr().size() >= 10; },
                                                   std::chrono::seconds(10));
    double elapsed = secondsSinceProcessStart();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %.6f %ld\n", shown ? "ok" : "failed", elapsed, usage.ru_maxrss);
    return shown ? 0 : 1;
}
