#pragma once

// What the processes this one started cost: WebKit's web and network processes (through
// bubblewrap) and the display the client starts for them. Read from /proc while they live; a
// process that ended keeps what it had at the last look, so the probes look often.

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace bench {

struct ProcessStat {
    pid_t parent = 0;
    std::string name;
    double cpuSeconds = 0;
    // Resident now and at its peak, in kB (0 when it cannot be read).
    long residentKb = 0;
    long peakResidentKb = 0;
};

// /proc/<pid>/stat: the name sits in parentheses and may hold spaces; the fields after it are
// state, parent, ..., user time (14th field) and system time (15th), in clock ticks.
inline bool readStat(pid_t pid, ProcessStat& stat) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line))
        return false;
    const auto open = line.find('(');
    const auto close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return false;
    stat.name = line.substr(open + 1, close - open - 1);
    std::istringstream rest(line.substr(close + 2));
    std::string state;
    long long skip = 0;
    unsigned long long user = 0;
    unsigned long long system = 0;
    rest >> state >> stat.parent;
    for (int field = 5; field <= 13; ++field) rest >> skip;
    rest >> user >> system;
    if (!rest)
        return false;
    stat.cpuSeconds = double(user + system) / double(sysconf(_SC_CLK_TCK));
    return true;
}

// VmRSS and VmHWM of /proc/<pid>/status.
inline void readMemory(pid_t pid, ProcessStat& stat) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            stat.residentKb = std::strtol(line.c_str() + 6, nullptr, 10);
        else if (line.rfind("VmHWM:", 0) == 0)
            stat.peakResidentKb = std::strtol(line.c_str() + 6, nullptr, 10);
    }
}

// Every process this one started, directly or through its children, as last seen. Processes
// named as this one (a server it forked) are left out.
class Descendants {
public:
    // Looks at every process; returns the resident memory of the descendants alive now, in kB.
    long look() {
        std::map<pid_t, ProcessStat> all;
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            const std::string name = entry.path().filename().string();
            if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
                continue;
            ProcessStat stat;
            if (readStat(pid_t(std::stoi(name)), stat))
                all[pid_t(std::stoi(name))] = stat;
        }
        const pid_t self = getpid();
        const std::string selfName = all.count(self) ? all[self].name : "";
        long resident = 0;
        for (auto& [pid, stat] : all) {
            if (pid == self || stat.name == selfName)
                continue;
            for (pid_t up = stat.parent; up > 1 && all.count(up); up = all[up].parent) {
                if (up == self) {
                    readMemory(pid, stat);
                    resident += stat.residentKb;
                    auto& seen = m_seen[pid];
                    const long peak = std::max(seen.peakResidentKb, stat.peakResidentKb);
                    seen = stat;
                    seen.peakResidentKb = peak;
                    break;
                }
            }
        }
        return resident;
    }

    // Seconds of CPU, all their life, by process name.
    std::map<std::string, double> cpuByName() const {
        std::map<std::string, double> names;
        for (const auto& [pid, stat] : m_seen) names[stat.name] += stat.cpuSeconds;
        return names;
    }
    // Peak resident memory, in kB, by process name (the peaks of processes of one name added).
    std::map<std::string, long> peakResidentKbByName() const {
        std::map<std::string, long> names;
        for (const auto& [pid, stat] : m_seen) names[stat.name] += stat.peakResidentKb;
        return names;
    }
    double cpuSeconds() const {
        double total = 0;
        for (const auto& [pid, stat] : m_seen) total += stat.cpuSeconds;
        return total;
    }
    // The peaks of every process seen, added up: no moment had more than this.
    long peakResidentKbSum() const {
        long total = 0;
        for (const auto& [pid, stat] : m_seen) total += stat.peakResidentKb;
        return total;
    }
    const std::map<pid_t, ProcessStat>& seen() const { return m_seen; }

private:
    std::map<pid_t, ProcessStat> m_seen;
};

// CPU seconds of the calling thread: what a probe's own looks at /proc cost, left out of what
// it measures.
inline double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

}  // namespace bench
