// The page guard: a web process extension that WebKit loads into every web process of the
// client's views (KitContext names its directory). A thread of its own watches what the
// process costs, and asks the view to end it when it passes its bounds:
//  - CPU: a page that keeps a CPU busy while it still yields (work in slices between timers, a
//    document grown without end) answers the view's pings between its slices, so only the
//    process itself sees how busy it is;
//  - memory: WebKit's own limit lets a page that allocates fast go far past it before the
//    process is ended (a page filling typed arrays passed a 512 MB limit by 1.4 GB).
// The ask is a message sent from the process's main thread, when that thread gets a turn; a
// page that never yields is ended by the view's ping watchdog instead. A page that grows well
// past its memory limit before its view has ended it is ended here.
// Kept to plain C calls and GLib: it runs inside every page's process, and nothing it does may
// throw (it is built without exceptions) or take much of what it guards.

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>
#include <webkit2/webkit-web-extension.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/webkit/module/guard/GuardProtocol.h"

namespace {

using namespace platform::webkit::guard;

// How often the guard looks at the process's memory: before a page filling it as fast as a
// page can (typed arrays filled in a loop take about 3 GB/s) could pass the limit, and at
// least every kLongestLookMs. Each look wakes the process, which costs more than the look.
constexpr long kShortestLookMs = 20;
constexpr long kLongestLookMs = 100;
constexpr std::uint64_t kFastestGrowthPerMs = 4ull << 20;
// How often it looks at the process's CPU.
constexpr std::int64_t kCpuLookUs = 100'000;
// A process told that it passed its memory and still past it is told again after this long
// (a view that was busy, or had no page yet, when the first word came).
constexpr std::int64_t kMemoryWordAgainUs = 1'000'000;
// Past the memory limit by this share, the guard ends the process itself.
constexpr double kMemoryMargin = 1.25;
// "Keeps a CPU busy": over the latest stretch of time, at least the bound long, in which the
// process has used kBusyCpuShare of the bound in CPU time, it wanted a CPU (ran, or waited for
// one) kBusyWantedShare of the time or more. What counts is the time a CPU was wanted, not had,
// so that a loaded machine, which gives a busy page less, does not hide it; and that much CPU
// time must have been used, so that an ordinary second's parse or script (with the process's
// own start, about 0.3 s), which a loaded machine may stretch past the bound, is never taken
// for one. A page working in slices between timers wants a CPU about 95% of the time.
constexpr double kBusyCpuShare = 0.9;
constexpr double kBusyWantedShare = 0.8;
// The looks at the CPU remembered: at one every 100 ms, about 25 s; a page that has had less
// CPU time than that share of the bound in all that while is let be.
constexpr int kCpuLooks = 256;

struct Settings {
    std::uint64_t memoryLimitBytes = 512ull << 20;
    std::int64_t busyBoundUs = 2'000'000;
};
Settings g_settings;

std::int64_t microseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return std::int64_t(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

// Reads a small /proc file whole into `text` (NUL-terminated); false when it cannot.
bool readSmallFile(const char* path, char* text, std::size_t size) {
    const int file = open(path, O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    const ssize_t length = read(file, text, size - 1);
    close(file);
    if (length <= 0)
        return false;
    text[length] = '\0';
    return true;
}

// The process's own memory: its resident pages less those of files and shared memory, that is
// what the page made (its scripts' objects, its documents, its pictures), not the libraries
// every web process maps. Pages swapped out are not counted. `statm`: /proc/self/statm, kept
// open (read again from its start, it tells the counts of the moment).
std::uint64_t ownMemoryBytes(int statm) {
    char text[128];
    const ssize_t length = pread(statm, text, sizeof text - 1, 0);
    if (length <= 0)
        return 0;
    text[length] = '\0';
    char* at = text;
    std::strtoull(at, &at, 10);  // size
    const unsigned long long resident = std::strtoull(at, &at, 10);
    const unsigned long long shared = std::strtoull(at, &at, 10);
    return resident > shared ? (resident - shared) * std::uint64_t(sysconf(_SC_PAGESIZE)) : 0;
}

// The time the process's threads have waited for a CPU, as the scheduler counts it
// (/proc/.../schedstat: time run, time waited, both in ns). 0 where it is not counted.
std::int64_t waitedForCpuUs() {
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks)
        return 0;
    std::int64_t waited = 0;
    char path[64];
    char text[96];
    while (dirent* entry = readdir(tasks)) {
        char* end = nullptr;
        const unsigned long thread = std::strtoul(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0')
            continue;
        snprintf(path, sizeof path, "/proc/self/task/%lu/schedstat", thread);
        if (!readSmallFile(path, text, sizeof text))
            continue;
        char* at = text;
        std::strtoull(at, &at, 10);
        waited += std::int64_t(std::strtoull(at, &at, 10) / 1000);
    }
    closedir(tasks);
    return waited;
}

// Whether the process keeps a CPU busy, from a look every tenth of a second or so.
class BusyWatch {
public:
    // Whether the time the threads waited is worth reading for this look: an idle process has
    // nothing worth counting waiting, and reading it costs more than the rest of the guard.
    bool needsWaits(std::int64_t now, std::int64_t cpu) const {
        return !m_started || cpu - m_cpu >= (now - m_now) / 4;
    }
    // True when the process has kept a CPU busy past the bound; the looks before are then
    // forgotten, so that it takes another whole stretch to say so again. `waited`: -1 when not
    // read (what was waited meanwhile counts at the next look that reads it).
    bool look(std::int64_t now, std::int64_t cpu, std::int64_t waited) {
        if (!m_started) {
            m_started = true;
            remember(now, cpu, waited);
            return false;
        }
        Look& latest = m_looks[m_next];
        latest.wall = std::max<std::int64_t>(0, now - m_now);
        // Several threads at work count as one CPU: the bound is on a CPU's worth.
        const std::int64_t used = std::max<std::int64_t>(0, cpu - m_cpu);
        latest.cpu = std::min(latest.wall, used);
        const std::int64_t waits = waited < 0 ? 0 : std::max<std::int64_t>(0, waited - m_waited);
        latest.wanted = std::min(latest.wall, used + waits);
        m_next = (m_next + 1) % kCpuLooks;
        m_count = std::min(m_count + 1, kCpuLooks);
        remember(now, cpu, waited);

        const std::int64_t bound = g_settings.busyBoundUs;
        std::int64_t wall = 0, cpuTime = 0, wanted = 0;
        for (int back = 1; back <= m_count; ++back) {
            const Look& at = m_looks[(m_next - back + kCpuLooks) % kCpuLooks];
            wall += at.wall;
            cpuTime += at.cpu;
            wanted += at.wanted;
            if (wall >= bound && double(cpuTime) >= kBusyCpuShare * double(bound)) {
                if (double(wanted) < kBusyWantedShare * double(wall))
                    return false;
                m_count = 0;
                m_lastBusyCpu = cpuTime;
                return true;
            }
        }
        return false;
    }
    std::int64_t lastBusyCpuUs() const { return m_lastBusyCpu; }

private:
    struct Look {
        std::int64_t wall = 0;
        std::int64_t cpu = 0;
        std::int64_t wanted = 0;
    };
    void remember(std::int64_t now, std::int64_t cpu, std::int64_t waited) {
        m_now = now;
        m_cpu = cpu;
        if (waited >= 0)
            m_waited = waited;
    }

    Look m_looks[kCpuLooks];
    int m_next = 0;
    int m_count = 0;
    bool m_started = false;
    std::int64_t m_now = 0, m_cpu = 0, m_waited = 0;
    std::int64_t m_lastBusyCpu = 0;
};

// --- The process's main thread ----------------------------------------------------------

// The pages of this process (one, for the client's views); main thread only.
GSList* g_pages = nullptr;

void pageGone(gpointer, GObject* page) {
    g_pages = g_slist_remove(g_pages, page);
}

void pageCreated(WebKitWebExtension*, WebKitWebPage* page, gpointer) {
    g_pages = g_slist_prepend(g_pages, page);
    g_object_weak_ref(G_OBJECT(page), pageGone, nullptr);
}

struct Word {
    const char* name;
    std::uint64_t value;
};

gboolean tellViews(gpointer data) {
    const auto* word = static_cast<const Word*>(data);
    for (GSList* at = g_pages; at; at = at->next) {
        webkit_web_page_send_message_to_view(
            WEBKIT_WEB_PAGE(at->data),
            webkit_user_message_new(word->name, g_variant_new("t", guint64(word->value))), nullptr,
            nullptr, nullptr);
    }
    return G_SOURCE_REMOVE;
}

// --- The guard's thread -------------------------------------------------------------------

// Hands the word to the main thread, ahead of the page's own work (its timers, its loads),
// for when the thread next gets a turn. Not g_main_context_invoke: from this thread it would
// run the call here whenever the main thread is between turns.
void tellFromGuard(const char* name, std::uint64_t value) {
    GSource* source = g_idle_source_new();
    g_source_set_priority(source, G_PRIORITY_HIGH);
    g_source_set_callback(source, tellViews, new Word{name, value},
                          [](gpointer data) { delete static_cast<Word*>(data); });
    g_source_attach(source, g_main_context_default());
    g_source_unref(source);
}

void* guard(void*) {
    BusyWatch busy;
    const std::uint64_t limit = g_settings.memoryLimitBytes;
    const auto hardLimit = std::uint64_t(double(limit) * kMemoryMargin);
    const int statm = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    std::int64_t lastCpuLook = microseconds(CLOCK_MONOTONIC);
    std::int64_t memoryWordAt = -1;
    long pauseMs = kShortestLookMs;
    for (;;) {
        const timespec pause{0, pauseMs * 1'000'000};
        nanosleep(&pause, nullptr);
        const std::int64_t now = microseconds(CLOCK_MONOTONIC);
        const std::uint64_t memory = statm < 0 ? 0 : ownMemoryBytes(statm);
        pauseMs = memory >= limit ? kShortestLookMs
                                  : std::clamp(long((limit - memory) / kFastestGrowthPerMs),
                                               kShortestLookMs, kLongestLookMs);
        if (memory > hardLimit) {
            // The view has not ended it in time, and it goes on growing: ended here, before it
            // takes the machine's memory. The view has heard why, if the page ever yielded.
            kill(getpid(), SIGKILL);
            _exit(137);
        }
        if (memory > limit) {
            if (memoryWordAt < 0 || now - memoryWordAt >= kMemoryWordAgainUs) {
                tellFromGuard(kMemoryMessage, memory >> 20);
                memoryWordAt = now;
            }
        } else {
            memoryWordAt = -1;
        }
        // A little early rather than a whole look late.
        if (now - lastCpuLook < kCpuLookUs - kShortestLookMs * 1000 / 2)
            continue;
        lastCpuLook = now;
        const std::int64_t cpu = microseconds(CLOCK_PROCESS_CPUTIME_ID);
        if (busy.look(now, cpu, busy.needsWaits(now, cpu) ? waitedForCpuUs() : -1))
            tellFromGuard(kBusyMessage, std::uint64_t(busy.lastBusyCpuUs() / 1000));
    }
    return nullptr;
}

}  // namespace

extern "C" G_MODULE_EXPORT void webkit_web_extension_initialize_with_user_data(
    WebKitWebExtension* extension, const GVariant* data) {
    auto* settings = const_cast<GVariant*>(data);
    if (settings && g_variant_is_of_type(settings, G_VARIANT_TYPE(kInitType))) {
        guint64 megabytes = 0;
        guint64 boundMs = 0;
        g_variant_get(settings, kInitType, &megabytes, &boundMs);
        if (megabytes > 0)
            g_settings.memoryLimitBytes = megabytes << 20;
        if (boundMs > 0)
            g_settings.busyBoundUs = std::int64_t(boundMs) * 1000;
    }
    g_signal_connect(extension, "page-created", G_CALLBACK(pageCreated), nullptr);
    pthread_t thread;
    if (pthread_create(&thread, nullptr, guard, nullptr) == 0) {
        pthread_setname_np(thread, "campus-guard");
        pthread_detach(thread);
    }
}
