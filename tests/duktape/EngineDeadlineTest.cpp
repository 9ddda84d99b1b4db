// The script engine as built here, with its own object still on the global (the web page
// removes it): what runs while an error is being made, the collections a script asks for and
// the finalizers left at the end each keep to the deadline the host's check gives.
#include <duktape.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

// Script time counted in the host's readings: the deadline passes at a given reading, and the
// answer stays yes until the host starts another run.
struct ScriptTime {
    int readings = 0;
    int deadline = INT_MAX;
    bool passed = false;
    int finalized = 0;
};

}  // namespace

extern "C" duk_bool_t campus_script_timed_out(void* udata) {
    auto* time = static_cast<ScriptTime*>(udata);
    if (!time->passed && ++time->readings >= time->deadline) {
        time->passed = true;
    }
    return time->passed ? 1 : 0;
}

extern "C" duk_bool_t campus_script_cut(void* udata) {
    return static_cast<ScriptTime*>(udata)->passed ? 1 : 0;
}

namespace {

class EngineDeadlineTest : public ::testing::Test {
protected:
    EngineDeadlineTest() {
        ctx = duk_create_heap(nullptr, nullptr, nullptr, &time, nullptr);
        duk_push_c_function(ctx, note, 0);
        duk_put_global_string(ctx, "note");
    }
    ~EngineDeadlineTest() override {
        if (ctx) {
            duk_destroy_heap(ctx);
        }
    }

    // A run with all the time it wants; its completion value as text.
    std::string run(const char* script) {
        time.passed = false;
        time.deadline = INT_MAX;
        return completion(script);
    }

    // A run whose deadline passes at the host's fourth reading.
    std::string runToTheDeadline(const char* script) {
        time.passed = false;
        time.deadline = time.readings + 4;
        return completion(script);
    }

    std::string completion(const char* script) {
        duk_peval_string(ctx, script);
        std::string text = duk_safe_to_string(ctx, -1);
        duk_pop(ctx);
        return text;
    }

    static duk_ret_t note(duk_context* ctx) {
        duk_memory_functions functions;
        duk_get_memory_functions(ctx, &functions);
        static_cast<ScriptTime*>(functions.udata)->finalized++;
        return 0;
    }

    ScriptTime time;
    duk_context* ctx = nullptr;
};

TEST_F(EngineDeadlineTest, AScriptRunWhileAnErrorIsMadeMeetsTheDeadline) {
    // A hook that scans 200 MB for every error the engine makes, in few instructions.
    run("var hooked = 0, s = 'a'.repeat(1 << 16), i = s.indexOf;"
        "function hook(e) { for (var n = 0; n < 3000; n++) { i.call(s, 'b'); }"
        "  hooked++; return e; }");
    for (const char* hook : {"Duktape.errCreate = hook", "Duktape.errThrow = hook"}) {
        run(hook);
        // Given the time, it runs whole...
        EXPECT_EQ(run("try { null.x } catch (e) { e.name + ' ' + hooked }"), "TypeError 1") << hook;
        // ...and given little, it is cut, and what it was making is still thrown.
        runToTheDeadline("try { null.x } catch (e) {}");
        EXPECT_EQ(run("hooked"), "1") << hook;
        run("delete Duktape.errCreate; delete Duktape.errThrow; hooked = 0");
    }
}

TEST_F(EngineDeadlineTest, CollectionsAScriptAsksForCountInItsTime) {
    run("var kept = [], collected = 0;"
        "for (var n = 0; n < 100000; n++) { kept.push({n: n}); }");
    EXPECT_EQ(run("for (var n = 0; n < 10; n++) { Duktape.gc(); collected++; } collected"), "10");
    // One collection over 100,000 objects is more than the deadline allows.
    run("collected = 0");
    runToTheDeadline("for (var n = 0; n < 10; n++) { Duktape.gc(); collected++; }");
    EXPECT_EQ(run("collected"), "0");
}

TEST_F(EngineDeadlineTest, SmallCollectionsAddUpToTheDeadline) {
    // Each collection of a bare heap is too short to ask the time by itself, and the loop
    // around them runs too few instructions for the executor to ask: only their work added up
    // brings the deadline, after a few collections (about ten) rather than hundreds.
    run("var collected = 0");
    runToTheDeadline("for (var n = 0; n < 20000; n++) { Duktape.gc(); collected++; }");
    EXPECT_LT(std::stoi(run("collected")), 100);
}

TEST_F(EngineDeadlineTest, ADestroyedHeapRunsNoFinalizer) {
    // While the heap lives, an object let go is finalized...
    run("Duktape.fin({}, note)");
    EXPECT_EQ(time.finalized, 1);
    // ...but one still held when the heap goes is not: the host has left it.
    run("var kept = []; for (var n = 0; n < 1000; n++) { var o = {}; Duktape.fin(o, note);"
        "  kept.push(o); }");
    duk_destroy_heap(ctx);
    ctx = nullptr;
    EXPECT_EQ(time.finalized, 1);
}

}  // namespace
