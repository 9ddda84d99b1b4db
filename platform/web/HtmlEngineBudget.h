#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace platform {

class Clock;

// What one run of the layout engine over a page thrown out of its budget: the run's work is
// dropped, and the page shows as plain text (HtmlLayoutRun.cpp). An allocation failed, as far
// as the engine can tell: it is thrown from allocations as well.
class HtmlBudgetSpent : public std::bad_alloc {
public:
    enum class Kind { Time, Memory };
    explicit HtmlBudgetSpent(Kind kind) : m_kind(kind) {}
    Kind kind() const { return m_kind; }
    const char* what() const noexcept override;

private:
    Kind m_kind;
};

// The CPU time and memory one showing of a page may cost the layout engine, as scripts have
// their deadline: reading the page and laying it out up to its first paint, and after that
// each later layout, each paint, and each change of a kept page with the layout it needs.
//
// Bounding each of the engine's paths that grow faster than the page (selectors of many
// steps, spans, nested shrinking boxes...) leaves the next one open; this bounds them all.
// The engine is checked wherever it calls the layout (making an element, testing a selector
// at an element, measuring and drawing text, painting a box) and at every allocation made on
// this thread while a run is going on (a replacement of the global operator new), so that no
// loop of the engine that calls back or allocates can outrun it. Past either bound every
// further check throws HtmlBudgetSpent until the run ends, so that nothing of the engine's
// can go on with the work.
//
// CPU time is this thread's, read on every kReadEvery-th check (a reading costs a system call,
// as much as some hundred checks; 2048 checks take the engine well under a millisecond);
// tests set a clock that moves as they say. Memory is what the runs of one budget allocated
// and did not free, counted exactly at every allocation of this thread as malloc counts it;
// and, at every reading of the clock, how much the process's resident
// memory grew since the run began: the C libraries (cairo, pixman, FreeType, Pango) allocate
// with malloc on the page's behalf and are seen only there. The larger of the two is charged.
// Resident memory is the process's, so another thread's allocations in a run count against it
// too: the runs are short, and the other threads (the network's, the pictures' decoding) hold
// little at a time. Memory reused from what was freed before does not raise it, nor the
// process's peak. The parser's allocations are counted exactly (HtmlParse).
class HtmlEngineBudget {
public:
    // A page is to be shown within a second of CPU, whatever it holds: reading its markup
    // (WebPage, charged to its first showing) and the engine share half of it, and its plain
    // text should they be cut, and the view's own work, have the rest (a page of 50,000
    // elements takes them some 0.3 s).
    static constexpr std::chrono::milliseconds kCpuLimit{500};
    // The client has some 500 MB to live in on the phone, shared with the pictures, the
    // page's own document and the other screens. An element costs the engine some 2 KB: an
    // ordinary page takes it a few MB, and one of 50,000 elements, far past any the school
    // publishes, some 110 MB. An eighth of a GB holds that, and what a page takes to reach it
    // (some 0.1 s) still leaves room in the second for its plain text.
    static constexpr std::size_t kMemoryLimit = std::size_t(128) << 20;
    static constexpr unsigned kReadEvery = 2048;

    struct Limits {
        std::chrono::nanoseconds cpu = kCpuLimit;
        std::size_t memory = kMemoryLimit;
    };
    // For tests (and probes): other bounds than the standard ones, for every budget from now
    // on; Limits{} is the standard again.
    static void setLimits(Limits limits);
    static Limits limits();
    // For tests: where CPU time is read; nullptr: the thread's CPU clock.
    static void setClock(std::shared_ptr<const Clock> clock);

    HtmlEngineBudget() = default;
    // An account with bounds of its own, for this one.
    explicit HtmlEngineBudget(Limits limits) : m_limits(limits) {}

    // A new account: what earlier runs cost counts no more.
    void reset();
    // Time the page cost before the engine got it (reading its markup), charged to this
    // account: a page is shown within one budget however its cost falls between the two.
    void charge(std::chrono::nanoseconds spent) { m_used += spent; }
    // The CPU time the budgets read (the thread's, or the clock tests set).
    static std::chrono::nanoseconds cpuTime();
    // Whether a run of this account went past a bound.
    bool spent() const { return m_spent; }
    // The most memory the account has held at once.
    std::size_t peakBytes() const { return m_peak > 0 ? std::size_t(m_peak) : 0; }

    // One run of the engine on this thread, charged to `budget`. A run inside a run of the
    // same budget is part of it.
    class Run {
    public:
        explicit Run(HtmlEngineBudget& budget);
        ~Run();
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;

    private:
        HtmlEngineBudget* m_budget;
        HtmlEngineBudget* m_outer;
    };

    // Where the engine calls the layout: throws HtmlBudgetSpent past a bound. Nothing outside
    // a run.
    static void check() {
        if (HtmlEngineBudget* budget = current()) {
            budget->tick();
        }
    }

    // Kept by the allocation functions (HtmlEngineBudget.cpp).
    static HtmlEngineBudget* current();
    void allocating(std::size_t bytes);
    void allocated(std::size_t bytes) {
        m_bytes += std::int64_t(bytes);
        m_peak = std::max(m_peak, m_bytes);
    }
    void freed(std::size_t bytes) { m_bytes -= std::int64_t(bytes); }
    // allocating() for an allocator called from C, which no exception may cross: false
    // where allocating() would throw (the account is spent).
    bool admits(std::size_t bytes) noexcept;

private:
    void tick();
    void readClock();
    void readMemory();
    void spend(HtmlBudgetSpent::Kind kind);
    void throwIfSpent() const;

    Limits m_limits = limits();
    std::chrono::nanoseconds m_used{0};
    std::chrono::nanoseconds m_runStart{0};
    std::int64_t m_bytes = 0;
    std::int64_t m_peak = 0;
    // At the start of the run going on: the process's resident memory, and m_bytes.
    std::int64_t m_residentAtStart = 0;
    std::int64_t m_bytesAtStart = 0;
    unsigned m_ticks = 0;
    bool m_spent = false;
    HtmlBudgetSpent::Kind m_kind = HtmlBudgetSpent::Kind::Time;
};

}  // namespace platform
