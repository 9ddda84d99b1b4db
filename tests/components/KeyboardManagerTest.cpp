#include <gtest/gtest.h>

#include <cmath>

#include "components/keyboard/KeyboardManager.h"

using platform::components::KeyboardManager;

namespace {

class KeyboardManagerTest : public ::testing::Test {
protected:
    void TearDown() override { KeyboardManager::shared().reset(); }
};

TEST_F(KeyboardManagerTest, NegativeOrMissingDistanceCountsAsZero) {
    KeyboardManager& keyboard = KeyboardManager::shared();
    keyboard.setKeyboardDistanceFromTextField(-5);
    EXPECT_EQ(keyboard.keyboardDistanceFromTextField(), 0);
    keyboard.setKeyboardDistanceFromTextField(std::nan(""));
    EXPECT_EQ(keyboard.keyboardDistanceFromTextField(), 0);
}

}  // namespace
