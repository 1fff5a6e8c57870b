// Runs a dialog modally with a test's steps inside its modal loop, on the
// system's own dialog manager.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/window/dialog.h"

// What DoModal returns when the steps did not end the dialog themselves.
inline constexpr int kNotEndedByTest = -99;

// Runs `steps` once the modal loop of `dlg` is running (a thread timer fires
// there), then DoModal's result. When the steps leave the dialog open, it is
// ended with kNotEndedByTest.
std::intptr_t RunModal(CDialog& dlg, std::function<void()> steps);
