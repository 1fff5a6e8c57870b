// The message pump a long operation calls between its steps, so the window
// stays responsive while it works.
#pragma once

// Each port's (its message_pump.cpp):

// Handles every window message waiting in the queue once (input, painting,
// timers, posted work) and returns; never waits for a message. The caller
// guards against re-entry (a handler that runs from here may pump again).
void PumpWaitingMessages();
