#pragma once

// CPU time of the probe's own process, the measure of the probes that watch a page work.

#include <sys/resource.h>
#include <sys/time.h>

namespace bench {

// User and system CPU seconds this process has used so far.
inline double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace bench
