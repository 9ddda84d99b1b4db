#pragma once

// Internal to this library (it brings in the parser's header): the sources that parse.

#include <gumbo.h>

#include <string_view>

namespace platform {

class HtmlEngineBudget;

// One parse of markup, whose every allocation is drawn from a budget of the layout engine
// (HtmlEngineBudget): checked against its memory at each one, and its CPU time read as the
// engine's checks read it. The parser's work grows faster than the markup in places no bound
// on the markup can foresee whole (it makes the open formatting elements again in each new
// block), so it is held where it allocates.
//
// Everything the parse makes is kept on a list of its own: past the budget the parse is
// abandoned where it stands (the parser is left by a jump out of its allocator, since no
// exception may cross its C) and the list freed at once, and the tree is freed the same way
// when the parse is done with. gumbo_destroy_output is this library's own (HtmlParse.cpp):
// given any tree made here, by whatever options, it frees the tree's list, never the nodes one
// by one, so that no block is freed twice; and gumbo_parse is too, for the layout engine,
// which parses and frees through those two.
class HtmlParse {
public:
    // Parses within a run of `budget` (the run going on, if it is one of that budget). Throws
    // HtmlBudgetSpent when the budget is spent, having freed all the parse made. The options'
    // allocator is replaced.
    HtmlParse(HtmlEngineBudget& budget, GumboOptions options, std::string_view markup);
    ~HtmlParse();
    HtmlParse(const HtmlParse&) = delete;
    HtmlParse& operator=(const HtmlParse&) = delete;

    const GumboOutput& output() const { return *m_output; }

    // Parses within the run going on (or, outside any run, within a budget of its own with
    // the standard bounds), for a caller that frees the tree with gumbo_destroy_output.
    static GumboOutput* parseToFree(GumboOptions options, std::string_view markup);

private:
    GumboOutput* m_output = nullptr;
};

}  // namespace platform
