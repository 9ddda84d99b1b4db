#include "platform/web/HtmlEngineBudget.h"

#include <fcntl.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <utility>

#include "platform/foundation/RunLoop.h"

namespace platform {

namespace {

// The budget whose run is going on on this thread.
thread_local HtmlEngineBudget* t_current = nullptr;

HtmlEngineBudget::Limits& limitsSet() {
    static HtmlEngineBudget::Limits limits;
    return limits;
}

std::shared_ptr<const Clock>& clockSet() {
    static std::shared_ptr<const Clock> clock;
    return clock;
}

std::chrono::nanoseconds cpuNow() {
    if (const auto& clock = clockSet()) {
        return clock->now().time_since_epoch();
    }
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    const std::chrono::nanoseconds spent =
        std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
#if defined(__SANITIZE_ADDRESS__)
    // The address checker makes the same work take some four times as long: the budget
    // bounds the work, not the checker's.
    return spent / 4;
#else
    return spent;
#endif
}

// The process's resident memory, in bytes: it grows with every block malloc hands out into
// memory not used before, whoever asked (the C libraries too), and it is what a page's peak
// is measured in. Read from /proc on a file kept open: one system call, a couple of
// microseconds however the heap stands (glibc's own report of what is in use walks every free
// chunk: a third of a millisecond with fifty thousand, a tenth of a second with half a
// million, too much for every reading of the clock). Opened again in a forked child, whose
// /proc/self is its own.
std::int64_t residentBytes() {
#if defined(__SANITIZE_ADDRESS__)
    // Under the address checker, resident memory is mostly its shadow and the freed blocks it
    // holds back from reuse: the exact count alone stands.
    return 0;
#else
    static int file = -1;
    static pid_t owner = 0;
    static const long pageSize = sysconf(_SC_PAGESIZE);
    const pid_t self = getpid();
    if (owner != self) {
        if (file >= 0) {
            close(file);
        }
        file = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
        owner = self;
    }
    char text[128];
    const ssize_t read = file >= 0 ? pread(file, text, sizeof text - 1, 0) : -1;
    if (read <= 0) {
        return 0;
    }
    text[read] = '\0';
    // "size resident shared text lib data dirty", in pages.
    const char* resident = std::strchr(text, ' ');
    return resident ? std::int64_t(std::strtoll(resident + 1, nullptr, 10)) * pageSize : 0;
#endif
}

}  // namespace

std::chrono::nanoseconds HtmlEngineBudget::cpuTime() {
    return cpuNow();
}

const char* HtmlBudgetSpent::what() const noexcept {
    return m_kind == Kind::Time ? "past the layout's CPU time" : "past the layout's memory";
}

void HtmlEngineBudget::setLimits(Limits limits) {
    limitsSet() = limits;
}

HtmlEngineBudget::Limits HtmlEngineBudget::limits() {
    return limitsSet();
}

void HtmlEngineBudget::setClock(std::shared_ptr<const Clock> clock) {
    clockSet() = std::move(clock);
}

HtmlEngineBudget* HtmlEngineBudget::current() {
    return t_current;
}

void HtmlEngineBudget::reset() {
    m_limits = limits();
    m_used = std::chrono::nanoseconds(0);
    m_bytes = 0;
    m_peak = 0;
    m_ticks = 0;
    m_spent = false;
}

HtmlEngineBudget::Run::Run(HtmlEngineBudget& budget) : m_budget(&budget), m_outer(t_current) {
    if (m_outer == &budget) {
        m_budget = nullptr;
        return;
    }
    // A run of a spent account does nothing: what it would go on with is the dropped work.
    budget.throwIfSpent();
    budget.m_runStart = cpuNow();
    budget.m_residentAtStart = residentBytes();
    budget.m_bytesAtStart = budget.m_bytes;
    t_current = &budget;
}

HtmlEngineBudget::Run::~Run() {
    if (!m_budget) {
        return;
    }
    t_current = m_outer;
    m_budget->m_used += cpuNow() - m_budget->m_runStart;
}

void HtmlEngineBudget::throwIfSpent() const {
    // Never while the stack unwinds from the first throw: a destructor that allocates would
    // end the program.
    if (m_spent && std::uncaught_exceptions() == 0) {
        throw HtmlBudgetSpent(m_kind);
    }
}

void HtmlEngineBudget::spend(HtmlBudgetSpent::Kind kind) {
    if (!m_spent) {
        m_spent = true;
        m_kind = kind;
    }
    throwIfSpent();
}

void HtmlEngineBudget::tick() {
    throwIfSpent();
    if (++m_ticks % kReadEvery == 0) {
        readClock();
    }
}

void HtmlEngineBudget::readClock() {
    if (m_used + (cpuNow() - m_runStart) > m_limits.cpu) {
        spend(HtmlBudgetSpent::Kind::Time);
    }
    readMemory();
}

void HtmlEngineBudget::readMemory() {
    // What the run made and what earlier runs of the account still hold; the exact count
    // stands when it is the larger (a run that frees what an earlier one made, or makes its
    // blocks in memory freed before).
    const std::int64_t held = m_bytesAtStart + (residentBytes() - m_residentAtStart);
    m_peak = std::max(m_peak, held);
    if (held > std::int64_t(m_limits.memory)) {
        spend(HtmlBudgetSpent::Kind::Memory);
    }
}

bool HtmlEngineBudget::admits(std::size_t bytes) noexcept {
    try {
        allocating(bytes);
        return !m_spent;
    } catch (const HtmlBudgetSpent&) {
        return false;
    }
}

void HtmlEngineBudget::allocating(std::size_t bytes) {
    if (m_bytes + std::int64_t(bytes) > std::int64_t(m_limits.memory)) {
        spend(HtmlBudgetSpent::Kind::Memory);
    }
    tick();
}

}  // namespace platform

// --- Allocations, counted while a run is going on --------------------------------------------
// The replaceable global allocation functions (those without an alignment; the aligned ones
// stay the library's, and so do their matching deallocations). malloc and free underneath,
// as the standard library's own.

namespace {

void* allocate(std::size_t size) {
    platform::HtmlEngineBudget* budget = platform::t_current;
    if (budget) {
        budget->allocating(size);
    }
    void* made = std::malloc(size == 0 ? 1 : size);
    if (!made) {
        throw std::bad_alloc();
    }
    if (budget) {
        budget->allocated(malloc_usable_size(made));
    }
    return made;
}

void* allocateOrNull(std::size_t size) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void release(void* block) noexcept {
    if (!block) {
        return;
    }
    if (platform::HtmlEngineBudget* budget = platform::t_current) {
        budget->freed(malloc_usable_size(block));
    }
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrNull(size);
}
void operator delete(void* block) noexcept {
    release(block);
}
void operator delete[](void* block) noexcept {
    release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    release(block);
}
