// The fixture of every test that starts the saver.
#pragma once

#include <gtest/gtest.h>

#include "wine/testbed/saver_process.h"

namespace testbed {

// Runs ClearSaverLeftovers before and after each test, however the test ends.
class SaverTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearSaverLeftovers(); }
  void TearDown() override { ClearSaverLeftovers(); }
};

}  // namespace testbed
