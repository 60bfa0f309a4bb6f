#pragma once
#include <gtest/gtest.h>

#include <QTest>

#include "app/main_window.h"

namespace didod::testing {

// A test on the real window, shown and active, as a user finds it at start.
class ShownWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Activate();
  }
  // Keys reach the window's shortcuts only while it is the active window.
  void Activate() {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  Tfpoly window;
};

}  // namespace didod::testing
