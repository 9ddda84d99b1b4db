#include <gtest/gtest.h>

#include "platform/foundation/RunLoop.h"
#include "tests/support/LoopbackOnly.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    platform::RunLoop::main().bindToCurrentThread();
    testsupport::keepTestsToLoopback();
    return RUN_ALL_TESTS();
}
