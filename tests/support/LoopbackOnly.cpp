#include "tests/support/LoopbackOnly.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/net/HttpClient.h"

namespace testsupport {

void keepTestsToLoopback() {
    platform::HttpClient::keepToLoopback([](const std::string& url) {
        ADD_FAILURE() << "a test asked for a host beyond 127.0.0.1: " << url;
    });
}

}  // namespace testsupport
