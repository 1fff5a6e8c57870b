// What the window driver's shared step runner (window_driver_steps.cpp) asks
// of the window system's driver; each driver file defines these.
#pragma once

#include <functional>

#include "framework/window/dialog.h"

// The dialog's own loop is the one taking messages: no copy is pumping and no
// modal window is open over the dialog.
bool OwnLoopIsTaking(const CDialog& dlg);

// Queues `action` to run again once the busy loop has taken what waits (and,
// where the system needs it, once the queue has been empty for a moment).
void PostWhenIdle(std::function<void()> action);

// Delivers what is still queued, inside the test that queued it.
void DeliverQueuedInput();
