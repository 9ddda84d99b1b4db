#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/NotificationCenter.h"

using namespace platform;

namespace {

struct Screen {
    int refreshes{0};
};

TEST(NotificationCenter, DeliversToObserversOfTheNameInTheOrderAdded) {
    NotificationCenter center;
    std::vector<std::string> calls;
    center.addObserver("kRefreshLoginMenu", [&](const Notification& n) {
        calls.push_back("first:" + n.name + ":" + n.userInfo.dump());
    });
    center.addObserver("kRefreshLogoutMenu",
                       [&](const Notification&) { calls.push_back("other"); });
    center.addObserver("kRefreshLoginMenu",
                       [&](const Notification&) { calls.push_back("second"); });
    center.post("kRefreshLoginMenu", Json{{"k", 1}});
    EXPECT_EQ(calls, (std::vector<std::string>{"first:kRefreshLoginMenu:{\"k\":1}", "second"}));
    calls.clear();
    center.post("kRefreshLoginMenu");
    EXPECT_EQ(calls, (std::vector<std::string>{"first:kRefreshLoginMenu:null", "second"}));
}

TEST(NotificationCenter, ObserverWhoseOwnerIsGoneIsNotCalled) {
    NotificationCenter center;
    auto screen = std::make_shared<Screen>();
    std::weak_ptr<Screen> weak = screen;
    int called = 0;
    center.addObserver(screen, "LoginSuccess", [weak, &called](const Notification&) {
        ++called;
        if (auto s = weak.lock())
            ++s->refreshes;
    });
    center.post("LoginSuccess");
    EXPECT_EQ(screen->refreshes, 1);
    screen.reset();
    center.post("LoginSuccess");
    EXPECT_EQ(called, 1);
    EXPECT_EQ(center.observerCount(), 0u);
}

TEST(NotificationCenter, RemovedObserverIsNotCalledEvenWhenRemovedDuringDelivery) {
    NotificationCenter center;
    std::vector<std::string> calls;
    NotificationCenter::ObserverId second = 0;
    auto first = center.addObserver("n", [&](const Notification&) {
        calls.push_back("first");
        center.removeObserver(second);
    });
    second = center.addObserver("n", [&](const Notification&) { calls.push_back("second"); });
    center.post("n");
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));
    center.removeObserver(first);
    center.removeObserver(first);  // twice is harmless
    center.post("n");
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));
}

TEST(NotificationCenter, HandlerMayRemoveItselfAddObserversAndPost) {
    NotificationCenter center;
    std::vector<std::string> calls;
    NotificationCenter::ObserverId self = 0;
    self = center.addObserver("once", [&](const Notification&) {
        calls.push_back("once");
        center.removeObserver(self);
        center.addObserver("once", [&](const Notification&) { calls.push_back("added"); });
        center.post("nested");
    });
    center.addObserver("nested", [&](const Notification&) { calls.push_back("nested"); });
    center.post("once");
    EXPECT_EQ(calls, (std::vector<std::string>{"once", "nested"}));
    center.post("once");
    EXPECT_EQ(calls, (std::vector<std::string>{"once", "nested", "added"}));
}

TEST(NotificationCenter, DeliversOnThePostingThread) {
    NotificationCenter center;
    std::thread::id deliveredOn;
    center.addObserver("n", [&](const Notification&) { deliveredOn = std::this_thread::get_id(); });
    std::thread::id poster;
    std::thread thread([&] {
        poster = std::this_thread::get_id();
        center.post("n");
    });
    thread.join();
    EXPECT_EQ(deliveredOn, poster);
}

}  // namespace
