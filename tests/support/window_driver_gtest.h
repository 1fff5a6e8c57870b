// The window driver's failures as GoogleTest's: each one a non-fatal failure
// of the test that is running, in the driver's words. The window tests' mains
// bind it before any test runs.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/window_driver.h"

inline void ReportDriverFailuresThroughGoogleTest() {
    SetDriverFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
}
