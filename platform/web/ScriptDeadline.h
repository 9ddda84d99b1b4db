#pragma once

#include <chrono>
#include <memory>

namespace platform {

class Clock;
class ScriptTimeBudget;

// How long one run of a page's scripts may take: the page's inline scripts as it loads, one
// handler, or one script evaluated in the page. A run that passes its deadline is ended by
// the script engine ("RangeError: execution timeout"), and every check from then until the
// run finishes answers that time is up, so that no catch block can go on with the work.
//
// A run may be given less than kLimit when the scripts' budget over time (ScriptTimeBudget,
// shared by the pages of one web view) has little left, and nothing at all while that budget
// is paying back time it lent; what each run takes is drawn from it. A run given nothing is
// not to be started (hasTime()): the engine would only see its deadline at its first check.
//
// Time is read on the steady clock, or on the clock set with setClock (tests set one that
// moves as they say, so that a runaway script ends after a known number of readings; the run
// loop's manual clock would never move inside a script). Main thread only.
class ScriptDeadline {
public:
    static constexpr std::chrono::milliseconds kLimit{1000};

    // nullptr: back to the steady clock.
    static void setClock(std::shared_ptr<const Clock> clock);

    // What the runs draw on; none: every run may take kLimit.
    void setBudget(std::shared_ptr<ScriptTimeBudget> budget);

    // Starts a run; a run started inside another keeps the outer run's deadline.
    void start();
    void finish();
    // Whether the run has used up its time (always true outside a run: no script may run
    // then). Reads the clock until the answer is yes, then answers yes until finish().
    bool passed();
    // Whether passed() has answered yes in this run.
    bool hasPassed() const { return m_passed; }
    // Whether a run is going on.
    bool running() const { return m_depth > 0; }
    // Whether the current run was given any time at all.
    bool hasTime() const { return m_deadline > m_started; }
    // What the current (or last) run may take.
    std::chrono::milliseconds limit() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - m_started);
    }

private:
    std::shared_ptr<ScriptTimeBudget> m_budget;
    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::time_point m_deadline;
    int m_depth = 0;
    bool m_passed = false;
};

// Starts a run for the lifetime of the object.
class ScriptRun {
public:
    explicit ScriptRun(ScriptDeadline& deadline) : m_deadline(deadline) { m_deadline.start(); }
    ~ScriptRun() { m_deadline.finish(); }
    ScriptRun(const ScriptRun&) = delete;
    ScriptRun& operator=(const ScriptRun&) = delete;

private:
    ScriptDeadline& m_deadline;
};

}  // namespace platform
