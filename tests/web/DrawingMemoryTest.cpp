#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/graphics/BitmapContext.h"
#include "platform/web/HtmlEngineBudget.h"
#include "platform/web/HtmlLayout.h"
#include "tests/support/LayoutBombs.h"
#include "tests/support/SteppingClock.h"

using namespace platform;

namespace {

// What the drawing of a page keeps, held on its own: no budget of the engine's stops the
// pages below early.

// The first screen on the phone at its scale of 2, the page then left.
void showAndLeave(const std::string& html) {
    const Size screen{375, 667};
    HtmlLayout layout(html, nullptr);
    layout.layOut(screen.width, screen.height);
    BitmapContext context(screen, 2);
    layout.paint(context, Rect{{0, 0}, screen});
}

// The process's memory in MB: "VmRSS" (resident now) or "VmHWM" (the most resident).
double statusMB(const char* field) {
    double kB = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            if (std::strncmp(line, field, std::strlen(field)) == 0) {
                kB = std::atof(line + std::strlen(field) + 1);
            }
        }
        std::fclose(status);
    }
    return kB / 1024;
}

struct Measured {
    double start = 0;
    double afterFirst = 0;
    double afterLast = 0;
    double peak = 0;
};

TEST(DrawingMemoryTest, GlyphsHalfAScreenHighAreNotKeptAndPagesLeaveNoneBehind) {
    int results[2];
    ASSERT_EQ(::pipe(results), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A child of its own, so that its peak is this run's; the engine's CPU time stands
        // still and its memory is not bounded, so that every glyph is drawn.
        HtmlEngineBudget::setClock(std::make_shared<testsupport::SteppingClock>(Duration{0}));
        HtmlEngineBudget::setLimits({std::chrono::hours(1), std::size_t(1) << 40});
        showAndLeave("<p>字</p>");
        Measured measured;
        measured.start = statusMB("VmRSS:");
        for (int page = 0; page < 3; ++page) {
            showAndLeave(testsupport::glyphPage(page, 120));
            (page == 0 ? measured.afterFirst : measured.afterLast) = statusMB("VmRSS:");
        }
        measured.peak = statusMB("VmHWM:");
        const bool written = ::write(results[1], &measured, sizeof measured) == sizeof measured;
        ::_exit(written ? 0 : 2);
    }
    ::close(results[1]);
    Measured measured;
    const auto got = ::read(results[0], &measured, sizeof measured);
    ::close(results[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(got, ssize_t(sizeof measured));
    // Drawn as pictures, each page's 120 glyphs keep some 200 MB; drawn as outlines, a few.
    EXPECT_LT(measured.peak - measured.start, 100) << measured.peak << " MB at most";
    EXPECT_LT(measured.afterLast - measured.afterFirst, 30)
        << measured.afterFirst << " MB after the first page, " << measured.afterLast
        << " MB after the last";
}

}  // namespace
