#pragma once

namespace testsupport {

// The tests' servers are fakes on 127.0.0.1: a request for any other host fails at once,
// before the system resolver is asked, and fails the test that made it. Every test program
// starts this way (see TestMain); a test of the guard itself calls it again to put it back.
void keepTestsToLoopback();

}  // namespace testsupport
